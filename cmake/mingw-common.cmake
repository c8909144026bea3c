# Shared by the two MinGW-w64 toolchain files; CHRONEL_MINGW_TRIPLET and CHRONEL_WINE_ARCH are set first.
set(CMAKE_SYSTEM_NAME Windows)

# The posix thread model: the default "win32" model has no std::mutex in GCC 12 and GoogleTest needs it. The
# release executable, which has no threads and no tests, takes the "win32" model and is spared winpthreads.
if(NOT CHRONEL_THREAD_MODEL)
    set(CHRONEL_THREAD_MODEL posix)
endif()
set(CMAKE_C_COMPILER ${CHRONEL_MINGW_TRIPLET}-gcc-${CHRONEL_THREAD_MODEL})
set(CMAKE_CXX_COMPILER ${CHRONEL_MINGW_TRIPLET}-g++-${CHRONEL_THREAD_MODEL})
set(CMAKE_RC_COMPILER ${CHRONEL_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${CHRONEL_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Packages too (GoogleTest's): the build machine's own, made for Linux, must not be taken for Windows ones.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Without -static the executables need libgcc_s_dw2-1.dll and silently fail to start under Wine.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test executables run under Wine, in the private prefix that scripts/wine-run prepares.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run;${CHRONEL_WINE_ARCH}")
