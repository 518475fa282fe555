#!/usr/bin/env bash
# Builds an optimised tree with the benchmarks and runs them (not part of CI).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DPVX_TESTS=OFF -DPVX_BENCH=ON > /dev/null
cmake --build build/bench -j "$(nproc)"
for b in build/bench/bin/bench_*; do
  [ -n "${1:-}" ] && [[ "$b" != *"$1"* ]] && continue
  "$b"
done
