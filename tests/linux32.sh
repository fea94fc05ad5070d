#!/usr/bin/env bash
# Builds and runs the whole test suite as a 32-bit Linux program (g++ -m32),
# where long is 32 bits. GoogleTest is built for it from the sources that
# Debian's googletest package installs in /usr/src/googletest.
#
# Where the kernel runs 32-bit programs they run natively; where it does not
# ("Exec format error"), every test runs under qemu-i386 from Debian's
# qemu-user. SPANLET_LINUX32=qemu forces the emulator, SPANLET_LINUX32=native
# forbids it.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${SPANLET_LINUX32:-auto}
probe_dir=$(mktemp -d)
trap 'rm -rf "$probe_dir"' EXIT
printf 'int main() { return 0; }\n' >"$probe_dir/probe.cpp"
g++ -m32 "$probe_dir/probe.cpp" -o "$probe_dir/probe"
if [ "$mode" = auto ]; then
  if "$probe_dir/probe" 2>/dev/null; then mode=native; else mode=qemu; fi
fi
case "$mode" in
  native) echo "32-bit programs run natively on this kernel"; emulator= ;;
  qemu)
    emulator=$(command -v qemu-i386) || { echo "qemu-i386 is missing (Debian package qemu-user)" >&2; exit 1; }
    "$emulator" "$probe_dir/probe" || { echo "qemu-i386 cannot run a 32-bit program" >&2; exit 1; }
    echo "32-bit programs run under $emulator" ;;
  *) echo "SPANLET_LINUX32 must be auto, native or qemu, not '$mode'" >&2; exit 1 ;;
esac

gtest_prefix=build/linux32-gtest
if [ ! -f "$gtest_prefix/lib/cmake/GTest/GTestConfig.cmake" ]; then
  cmake -S /usr/src/googletest -B build/linux32-gtest-build \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/linux-i686.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_GMOCK=OFF -DCMAKE_INSTALL_PREFIX="$PWD/$gtest_prefix" >/dev/null
  cmake --build build/linux32-gtest-build -j "$(nproc)"
  cmake --install build/linux32-gtest-build >/dev/null
fi

cmake --preset linux32 -DCMAKE_CROSSCOMPILING_EMULATOR="$emulator" >/dev/null
cmake --build --preset linux32 -j "$(nproc)"
ctest --preset linux32
