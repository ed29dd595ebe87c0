# 32-bit Windows programs, which also run on 64-bit Windows.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(QUELVAR_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
