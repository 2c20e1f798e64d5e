#!/usr/bin/env bash
# Installs what both build flavours, the tests, the fuzzers and the benchmarks need.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive

native_packages=(
  build-essential cmake ninja-build pkg-config
  googletest libgtest-dev libbenchmark-dev
  rapidjson-dev libyaml-dev
  clang libclang-rt-14-dev
  libfmt-dev nlohmann-json3-dev libmsgpack-cxx-dev libyaml-cpp-dev libspdlog-dev
)
x86_packages=(g++-multilib qemu-user libyaml-dev:i386)

missing=()
for p in "${native_packages[@]}" "${x86_packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
