#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc)
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DPVX_SANITIZE=ON -DPVX_TESTS=ON > build-asan-configure.log 2>&1 \
  || { cat build-asan-configure.log; exit 1; }
rm -f build-asan-configure.log
cmake --build build/asan -j "$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build/asan --output-on-failure -j "$jobs" --timeout 600
