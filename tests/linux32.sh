#!/usr/bin/env bash
# Builds and runs the whole test suite as a 32-bit Linux program (g++ -m32),
# where long is 32 bits. GoogleTest is built for it from the sources that
# Debian's googletest package installs in /usr/src/googletest.
set -euo pipefail
cd "$(dirname "$0")/.."

gtest_prefix=build/linux32-gtest
if [ ! -f "$gtest_prefix/lib/cmake/GTest/GTestConfig.cmake" ]; then
  cmake -S /usr/src/googletest -B build/linux32-gtest-build \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/linux-i686.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_GMOCK=OFF -DCMAKE_INSTALL_PREFIX="$PWD/$gtest_prefix" >/dev/null
  cmake --build build/linux32-gtest-build -j "$(nproc)"
  cmake --install build/linux32-gtest-build >/dev/null
fi

cmake --preset linux32 >/dev/null
cmake --build --preset linux32 -j "$(nproc)"
ctest --preset linux32
