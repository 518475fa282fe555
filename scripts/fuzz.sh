#!/usr/bin/env bash
# Builds the libFuzzer targets under fuzz/ with clang (AddressSanitizer and UBSan) and runs each
# for a while (not part of CI). Usage: scripts/fuzz.sh [SECONDS per target, default 60] [TARGET ...]
# (TARGET: archive_reader, db_loader). Corpora grow in build/fuzz/corpus/<target>; findings land
# in build/fuzz/findings/<target>. Exits 1 when a target found something.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

# clang and its fuzzer runtime are needed here only, not by the regular build.
missing=()
for p in clang libclang-rt-14-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "fuzz: installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(archive_reader db_loader)

build=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPVX_SANITIZE=ON -DPVX_FUZZ=ON \
  -DPVX_TESTS=OFF > "$build.configure.log" 2>&1 || { cat "$build.configure.log"; exit 1; }
rm -f "$build.configure.log"
cmake --build "$build" -j "$(( $(nproc) < 4 ? $(nproc) : 4 ))" --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  findings="$build/findings/$t"
  mkdir -p "$corpus" "$findings"
  echo "fuzz: $t for ${seconds}s"
  log="$build/$t.log"
  if ! PVX_FUZZ_SEED_DIR="$corpus" "$build/bin/fuzz_$t" "$corpus" -max_total_time="$seconds" -timeout=10 \
      -rss_limit_mb=4096 -artifact_prefix="$findings/" -print_final_stats=1 > "$log" 2>&1; then
    status=1
    tail -n 60 "$log"
    echo "fuzz: $t found a problem; see $findings and $log"
  fi
  # Executions per second over the whole run, from libFuzzer's final statistics.
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  echo "fuzz: $t ran ${runs:-?} inputs, ${rate:-?} executions per second, corpus $(ls "$corpus" | wc -l) files"
done
exit $status
