#!/usr/bin/env bash
# Configures one build flavour: native (sanitized, build/), x86 (32-bit, build-x86/),
# tsan (ThreadSanitizer, build-tsan/), fuzz (clang + libFuzzer, build-fuzz/) or
# bench (optimised, build-bench/). Usage: tools/configure.sh native|x86|tsan|fuzz|bench
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-native}" in
  native)
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZUN_SANITIZE=ON -DZUN_WERROR=ON ;;
  x86)
    cmake -S . -B build-x86 -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE=cmake/x86-linux.cmake -DZUN_WERROR=ON -DZUN_BENCH=OFF ;;
  tsan)
    cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZUN_TSAN=ON -DZUN_WERROR=ON -DZUN_BENCH=OFF ;;
  fuzz)
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZUN_FUZZ=ON ;;
  bench)
    cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZUN_TESTS=OFF ;;
  *) echo "usage: tools/configure.sh native|x86|tsan|fuzz|bench" >&2; exit 2 ;;
esac
