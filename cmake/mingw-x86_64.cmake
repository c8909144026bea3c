# The same sources as a 64-bit Windows build, to run the Wine tests on hosts whose kernel cannot execute
# 32-bit code (and so cannot run 32-bit Wine).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CHRONEL_MINGW_TRIPLET x86_64-w64-mingw32)
set(CHRONEL_WINE_ARCH win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
