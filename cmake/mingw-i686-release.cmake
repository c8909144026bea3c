# The chronel.exe that ships: i686 like the tests' build, with the "win32" thread model (it has no threads,
# and so needs no winpthreads). GoogleTest does not build with this model; the release preset builds only the
# program and its installer.
set(CHRONEL_THREAD_MODEL win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
