#!/usr/bin/env bash
# Builds both flavours and runs every test: the native build with address and
# undefined-behaviour sanitizers, the 32-bit x86 build under user-mode
# emulation, the concurrency tests under ThreadSanitizer, then each fuzz
# target for a short bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
tools/install-deps.sh
tools/check-layering.sh

tools/configure.sh native
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

tools/configure.sh x86
cmake --build build-x86 -j"$jobs"
ctest --test-dir build-x86 --output-on-failure -j"$jobs"

tools/check-exports.sh build/lib/zun-parties.so build-x86/lib/zun-parties.so

# ThreadSanitizer cannot share a build with AddressSanitizer: the tests that
# run threads against each other get a flavour of their own.
tools/configure.sh tsan
concurrency_suites=(zun_binding_tests zun_plugin_tests zun_diagnostics_tests zun_platform_tests)
cmake --build build-tsan -j"$jobs" --target "${concurrency_suites[@]}"
for suite in "${concurrency_suites[@]}"; do
  TSAN_OPTIONS=halt_on_error=1 build-tsan/bin/"$suite" \
    --gtest_filter='*Concurren*:*Stress*:*Thread*:*PagePool*:*Deadlock*:*LookupsRun*:*CriticalSection*'
done
tools/fuzz.sh "${ZUN_FUZZ_SECONDS:-30}"
