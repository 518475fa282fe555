#!/usr/bin/env bash
# Renders the plain model and every display mode of a project with pvxhost into a folder, or
# compares such a folder with another byte for byte (a drawing change must keep every picture).
#   scripts/render_modes.sh render PVXHOST PROJECT.pvxdb OUTDIR [WxH]
#   scripts/render_modes.sh compare DIR_A DIR_B
set -uo pipefail
modes="plain 0 1 2 3 4 5 6 7 8 9 10 11 16 17 18 19 20 21 22 63 69 70"
case "${1:-}" in
render)
  host=$2 db=$3 out=$4 size=${5:-1024x768}
  mkdir -p "$out"
  for m in $modes; do
    args=()
    [ "$m" != plain ] && args=(--mode "$m")
    if ! "$host" --quiet --db "$db" render --size "$size" --out "$out/mode-$m.bmp" "${args[@]}" \
        > "$out/mode-$m.txt" 2> "$out/mode-$m.err"; then
      echo "mode $m: failed (see $out/mode-$m.err)"
    fi
  done
  # Every result the bars offer, shown as a person would (the pictures of `show`).
  for r in $("$host" --quiet --db "$db" show --list 2>/dev/null | awk 'NR > 1 {print $1}' | sort -u); do
    "$host" --quiet --db "$db" show "$r" --size "$size" --out "$out/show-$r.bmp" \
      > "$out/show-$r.txt" 2> "$out/show-$r.err" || echo "show $r: failed (see $out/show-$r.err)"
  done
  for m in 2 6 10 16 70; do
    "$host" --quiet --db "$db" export --size "$size" --out "$out/export-$m.emf" --mode "$m" \
      > "$out/export-$m.txt" 2> "$out/export-$m.err" || echo "export mode $m: failed"
  done
  ;;
compare)
  a=$2 b=$3 bad=0
  for f in "$a"/*.bmp "$a"/*.emf "$a"/*.txt; do
    n=$(basename "$f")
    if [[ $n == *.txt ]]; then
      # The "Wrote FILE" line names the folder: compare the rest.
      diff -q <(grep -v '^Wrote ' "$f") <(grep -v '^Wrote ' "$b/$n") > /dev/null || { echo "differs: $n"; bad=1; }
    elif ! cmp -s "$f" "$b/$n"; then echo "differs: $n"; bad=1; fi
  done
  [ $bad = 0 ] && echo "identical: $(ls "$a"/*.bmp | wc -l) pictures, $(ls "$a"/*.emf | wc -l) metafiles and their printed extremes"
  exit $bad
  ;;
*)
  sed -n 2,5p "$0"; exit 2 ;;
esac
