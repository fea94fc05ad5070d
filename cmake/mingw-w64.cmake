# Cross build for Windows with Debian's MinGW-w64 compilers. The including
# toolchain file sets SPANLET_MINGW_TRIPLET.
set(CMAKE_SYSTEM_NAME Windows)
# The POSIX thread model: the default (win32) compilers have no std::thread.
# The presets link statically, so that no libwinpthread DLL is needed.
set(CMAKE_CXX_COMPILER ${SPANLET_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${SPANLET_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${SPANLET_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
