#!/usr/bin/env bash
# The main job: installs what is missing, builds an optimised tree (which also generates the
# sample project) and runs the host program on the sample project. Extra arguments go to
# pvxhost, e.g. `scripts/run.sh --help`; with none it prints the project summary.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DPVX_TESTS=OFF > /dev/null
cmake --build build/release -j "$(nproc)"
if [ $# -eq 0 ]; then
  set -- info
fi
exec build/release/bin/pvxhost "$@"
