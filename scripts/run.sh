#!/usr/bin/env bash
# The main job: installs what is missing, builds an optimised tree (which also generates the
# sample project), prints the sample project's summary and renders it through the results module
# to build/release/sample.bmp. Extra arguments go to pvxhost instead, e.g. `scripts/run.sh --help`:
# the build is then quiet unless it has something to do or fails, and pvxhost runs in the caller's
# folder, so relative paths (--db mine.pvxdb, --out p.bmp) are the caller's. When nothing changed
# since the last build that finished, pvxhost starts at once, without the setup check or CMake.
set -euo pipefail
here=$PWD
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# Prints its input on stderr from its first line that tells of work done (a package installed, a
# file compiled, an error); a run that had nothing to do prints nothing.
quiet_unless_work() {
  awk '
    /^setup: all [0-9]+ packages present$/ || /Built target / || /no work to do/ ||
    /Consolidate compiler generated dependencies/ { if (!shown) { held = held $0 "\n"; next } }
    { if (!shown) { printf "%s", held; shown = 1 } print; fflush() }
  ' >&2
}

build() {
  bash scripts/setup.sh
  cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DPVX_TESTS=OFF > /dev/null
  cmake --build build/release -j "$(nproc)"
}

# The last build that finished: a source, script or CMake file newer than it asks for another.
# The stamp is taken before the build starts, so that an edit made while it builds is newer than
# it, and put in place only when the build has finished: a failed build leaves the stamp as it
# was, and the next call builds again.
stamp=build/release/.built
up_to_date() {
  [ -x build/release/bin/pvxhost ] && [ -f build/release/examples/sample.pvxdb ] && [ -f "$stamp" ] &&
    [ -z "$(find platform host module scripts/setup.sh CMakeLists.txt -newer "$stamp" -print -quit 2>/dev/null)" ]
}
start_build() {
  mkdir -p build/release
  touch "$stamp.new"
  trap 'rm -f "$root/$stamp.new"' EXIT
}
finish_build() {
  mv "$stamp.new" "$stamp"
  trap - EXIT
}

if [ $# -gt 0 ]; then
  if ! up_to_date; then
    start_build
    build 2>&1 | quiet_unless_work
    finish_build
  fi
  cd "$here"
  exec "$root/build/release/bin/pvxhost" "$@"
fi
start_build
build
finish_build
build/release/bin/pvxhost info
build/release/bin/pvxhost render --view iso --size 1280x800 --out build/release/sample.bmp
