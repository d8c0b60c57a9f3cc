# Cross-compiles for 64-bit Windows with Debian's mingw-w64 compilers (POSIX thread model):
#   cmake -S . -B build-win --toolchain cmake/mingw-w64.cmake -DVH_BUILD_BENCH=OFF \
#     -DVH_QT_WINDOWS="$(scripts/build-qt-windows | tail -n 1)"
# VH_QT_WINDOWS is the Qt that scripts/build-qt-windows cross-builds; without it only the Qt-free
# part can be built (-DVH_BUILD_GUI=OFF). The programs are linked statically (libstdc++, libgcc,
# winpthread), so vhtool.exe runs on Windows or under Wine without any DLL beside it, and the
# editor needs only Qt's DLLs. GoogleTest is built for the target from VH_GTEST_SOURCE_DIR
# (Debian's sources by default).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VH_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VH_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VH_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VH_MINGW_TRIPLET}-windres)

# Appended to, so that a root given on the command line is searched as well.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${VH_MINGW_TRIPLET})
if(VH_QT_WINDOWS)
  # Qt's packages live below their own root; moc, rcc and uic are the host's, of the same version.
  list(APPEND CMAKE_FIND_ROOT_PATH ${VH_QT_WINDOWS})
  list(APPEND CMAKE_PREFIX_PATH ${VH_QT_WINDOWS})
  set(QT_HOST_PATH /usr CACHE PATH "The host's Qt, whose tools the cross-build runs")
  set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "")
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VH_QT_WINDOWS)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

set(VH_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources, built for the target")

# ctest runs the test programs through Wine when it is installed.
find_program(VH_WINE NAMES wine wine64)
if(VH_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VH_WINE})
endif()
