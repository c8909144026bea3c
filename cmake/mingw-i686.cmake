# The product: a 32-bit Windows executable.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CHRONEL_MINGW_TRIPLET i686-w64-mingw32)
set(CHRONEL_WINE_ARCH win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
