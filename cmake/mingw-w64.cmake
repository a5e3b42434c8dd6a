# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiling for 64-bit Windows with Debian's MinGW-w64. Qt needs the posix thread model
# (std::thread, std::mutex), so the -posix compilers are named.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VORTANI_MINGW_TRIPLET x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${VORTANI_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VORTANI_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VORTANI_MINGW_TRIPLET}-windres)

# Headers and libraries come from the MinGW sysroot and the Qt built for it, never from Linux;
# programs (moc, rcc, uic) are the host's.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${VORTANI_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
