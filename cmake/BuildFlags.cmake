# Flags that make the shipped programs what distributions expect: the same bytes from any
# folder, and on Linux the hardening of Debian's own packages.

# Paths compiled into the programs name the source tree as ".", wherever it was checked out.
if(NOT MSVC)
    add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.)
endif()

# What dpkg-buildflags gives with hardening=+all: stack protector, fortified functions and full
# RELRO with bind-now (position independence is the compiler's default). Fortification needs
# optimisation, and the fuzz build's sanitizers bring their own checks.
if(UNIX AND NOT WIN32 AND NOT QUELVAR_FUZZ)
    add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security -Wdate-time
                        $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
    add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()

# The Windows programs carry no build time: no time stamp in the PE header (the resources'
# own time stamp is always zero with windres).
if(WIN32 AND NOT MSVC)
    add_link_options(-Wl,--no-insert-timestamp)
endif()
