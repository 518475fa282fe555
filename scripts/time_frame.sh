#!/usr/bin/env bash
# Times `info` and a `render` of a project with one or more pvxhost builds, alternating the
# builds run by run so that the machine's noise falls on all of them alike; prints each build's
# median wall time, the frame (render minus info) and the peak memory.
#   scripts/time_frame.sh PROJECT.pvxdb RUNS "RENDER ARGS" BUILD_DIR...
# A build dir holds bin/pvxhost and lib/; its libraries are used even when copied elsewhere.
set -euo pipefail
db=$1 runs=$2 args=$3
shift 3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for ((r = 0; r < runs; ++r)); do
  for b in "$@"; do
    n=$(echo "$b" | tr / _)
    LD_LIBRARY_PATH="$b/lib" /usr/bin/time -f "%e %M" -a -o "$tmp/$n.info" \
      "$b/bin/pvxhost" --quiet --db "$db" info > /dev/null
    # shellcheck disable=SC2086
    LD_LIBRARY_PATH="$b/lib" /usr/bin/time -f "%e %M" -a -o "$tmp/$n.render" \
      "$b/bin/pvxhost" --quiet --db "$db" render --out "$tmp/out.bmp" $args > /dev/null
  done
done
median() { sort -n | awk '{a[NR] = $1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }
for b in "$@"; do
  n=$(echo "$b" | tr / _)
  i=$(cut -d' ' -f1 "$tmp/$n.info" | median)
  r=$(cut -d' ' -f1 "$tmp/$n.render" | median)
  mi=$(cut -d' ' -f2 "$tmp/$n.info" | median)
  mr=$(cut -d' ' -f2 "$tmp/$n.render" | median)
  printf '%-16s info %5.2f s %4d MB   render %5.2f s %4d MB   frame %5.2f s\n' "$b" "$i" $((mi / 1024)) "$r" \
    $((mr / 1024)) "$(echo "$r - $i" | bc -l)"
done
