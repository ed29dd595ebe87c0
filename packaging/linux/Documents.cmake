# The documents a Debian package carries beside the program: the manual pages (English and
# Japanese), the release history as a Debian changelog and the copyright file. All are
# compressed as Debian ships them, with gzip -n so that the bytes depend on the text alone.
set(docs ${CMAKE_CURRENT_BINARY_DIR}/docs)
set(package_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/quelvar-edit)

configure_file(man/quelvar-edit.1.in ${docs}/en/quelvar-edit.1 @ONLY)
configure_file(man/quelvar-edit.ja.1.in ${docs}/ja/quelvar-edit.1 @ONLY)
quelvar_write_debian_changelog(changelog quelvar-edit "${QUELVAR_MAINTAINER}")
file(CONFIGURE OUTPUT ${docs}/changelog CONTENT "${changelog}")
configure_file(copyright.in ${docs}/copyright @ONLY)

set(compressed "")
foreach(file en/quelvar-edit.1 ja/quelvar-edit.1 changelog)
    add_custom_command(OUTPUT ${docs}/${file}.gz
                       COMMAND gzip -9 -n -k -f ${docs}/${file}
                       DEPENDS ${docs}/${file} VERBATIM)
    list(APPEND compressed ${docs}/${file}.gz)
endforeach()
add_custom_target(quelvar_documents ALL DEPENDS ${compressed})

install(FILES ${docs}/en/quelvar-edit.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${docs}/ja/quelvar-edit.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1)
install(FILES ${docs}/changelog.gz ${docs}/copyright DESTINATION ${package_doc_dir})

# A stripped install (cpack, cmake --install --strip) also drops the compiler's notes, as
# Debian's own packages do.
install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment
                                --remove-section=.note
                                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/quelvar-edit\"
                        COMMAND_ERROR_IS_FATAL ANY)
    endif()")
