#!/usr/bin/env bash
# Builds an optimised tree with the benchmarks and runs them (not part of CI).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# The peer of bench_frame_peer (VTK, with an X server for its render window); benchmarks only.
if ! dpkg -s libvtk9-dev xvfb > /dev/null 2>&1; then
  apt-get install -y --no-install-recommends libvtk9-dev xvfb xauth > /dev/null
fi
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DPVX_TESTS=OFF -DPVX_BENCH=ON > /dev/null
cmake --build build/bench -j "$(nproc)"
for b in build/bench/bin/bench_*; do
  [ -n "${1:-}" ] && [[ "$b" != *"$1"* ]] && continue
  if [[ "$b" == *frame_peer ]]; then
    xvfb-run -a -s "-screen 0 1920x1080x24" "$b"
  else
    "$b"
  fi
done
