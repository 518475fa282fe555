#!/usr/bin/env bash
# The main job: installs what is missing, builds an optimised tree (which also generates the
# sample project), prints the sample project's summary and renders it through the results module
# to build/release/sample.bmp. Extra arguments go to pvxhost instead, e.g. `scripts/run.sh --help`.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DPVX_TESTS=OFF > /dev/null
cmake --build build/release -j "$(nproc)"
if [ $# -gt 0 ]; then
  exec build/release/bin/pvxhost "$@"
fi
build/release/bin/pvxhost info
build/release/bin/pvxhost render --view iso --size 1280x800 --out build/release/sample.bmp
echo "wrote build/release/sample.bmp"
