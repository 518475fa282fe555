#!/usr/bin/env bash
# One project, many programs: twenty `show 7402 --add ... --save` at once, each adding one strip,
# while readers render and query it; then rounds of identical `figure 132 --move ... --save` at
# once; then saves killed with SIGKILL at random moments, each followed by `info`. Exit 0 when
# writers and moves saved (a run that saved nothing tests nothing), every strip of a save that
# said it saved is there, every saved move is counted in the stored offsets, every refusal is
# exit 1 with a message, SQLite finds the file sound, no reader called it damaged, every killed
# save left the old or the new strips, and a save the kill came too late for saved.
#   scripts/concurrent_saves.sh PVXHOST WORKDIR [WRITERS] [KILLS] [ROUNDS] [RACERS]
set -uo pipefail
host=$1
dir=$2/concurrent_saves_$$
writers=${3:-20}
kills=${4:-12}
rounds=${5:-10}
racers=${6:-2}
py=/usr/bin/python3
mkdir -p "$dir"
trap 'rm -rf "$dir"' EXIT
fail=0
say() { echo "concurrent_saves: $*"; }

sql() { "$py" -c 'import sqlite3,sys
c=sqlite3.connect(sys.argv[1])
for r in c.execute(sys.argv[2]): print("|".join(str(v) for v in r))' "$@"; }

db=$dir/p.pvxdb
"$host" --quiet make-sample --out "$db" > /dev/null || { say "make-sample failed"; exit 1; }
before=$(sql "$db" "SELECT count(*) FROM CTLN")

# Readers: render and info over and over until the writers are done.
stop=$dir/stop
reader() {
  local n=0 bad=0
  while [ ! -e "$stop" ]; do
    n=$((n + 1))
    if [ "$1" = render ]; then
      out=$("$host" --quiet --db "$db" render --size 320x240 --out "$dir/r$2.bmp" 2>&1)
    else
      out=$("$host" --quiet --db "$db" info 2>&1)
    fi
    rc=$?
    if [ $rc -ne 0 ] || grep -qiE "malformed|corrupt|truncated|damaged|locked|not a project" <<< "$out"; then
      bad=$((bad + 1))
      echo "$out" > "$dir/reader$2.bad$n"
    fi
  done
  echo "$n $bad" > "$dir/reader$2.count"
}
reader render 1 &
r1=$!
reader info 2 &
r2=$!

pids=()
for i in $(seq 1 "$writers"); do
  "$host" --quiet --db "$db" show 7402 --set name="W$i" --set point1=3,4 --set point2=9,4 \
    --set add=1 --save --size 320x240 --out "$dir/w$i.bmp" > "$dir/w$i.out" 2> "$dir/w$i.err" &
  pids+=($!)
done
saved=0 refused=0
for i in $(seq 1 "$writers"); do
  wait "${pids[$((i - 1))]}"
  rc=$?
  if [ $rc -eq 0 ]; then
    saved=$((saved + 1))
    [ "$(sql "$db" "SELECT count(*) FROM CTLN WHERE name = 'W$i'")" = 1 ] || { say "writer $i said it saved, but strip W$i is not there"; fail=1; }
  elif [ $rc -eq 1 ] && [ -s "$dir/w$i.err" ]; then
    refused=$((refused + 1))
    say "writer $i refused: $(tail -1 "$dir/w$i.err")"
  else
    say "writer $i: exit $rc: $(cat "$dir/w$i.err")"
    fail=1
  fi
done
touch "$stop"
wait $r1 $r2
after=$(sql "$db" "SELECT count(*) FROM CTLN")
check=$(sql "$db" "PRAGMA integrity_check")
read -r n1 bad1 < "$dir/reader1.count"
read -r n2 bad2 < "$dir/reader2.count"
say "$writers writers: $saved saved, $refused refused; strips $before -> $after; integrity_check $check;" \
    "readers: $((n1 + n2)) runs, $((bad1 + bad2)) reported a damaged or locked file"
[ "$after" -eq $((before + saved)) ] || { say "expected $((before + saved)) strips"; fail=1; }
[ "$saved" -gt 0 ] || { say "no writer saved: a run that saves nothing tests nothing"; fail=1; }
[ "$check" = ok ] || fail=1
if [ $((bad1 + bad2)) -ne 0 ]; then
  cat "$dir"/reader*.bad* | head -5
  fail=1
fi

# Identical moves at once: each adds 0.5 to the offset it read, so the moved texts' offsets
# (MEMB, GBPA, FVDTEXT) must have grown by 0.5 for every move that said it saved; a move that
# met another is refused and changes nothing.
offsets() { "$py" -c 'import sqlite3,struct,sys
c=sqlite3.connect(sys.argv[1])
t=0.0
for table in ("MEMB","GBPA","FVDTEXT"):
    if c.execute("SELECT count(*) FROM sqlite_master WHERE name=?",(table,)).fetchone()[0]:
        for (b,) in c.execute("SELECT text_x FROM "+table): t+=sum(struct.unpack("<%dd"%(len(b)//8),b))
print(repr(t))' "$1"; }
mdb=$dir/m.pvxdb
cp "$db" "$mdb"
moves=0
for round in $(seq 1 "$rounds"); do
  mpids=()
  for j in $(seq 1 "$racers"); do
    "$host" --quiet --db "$mdb" figure 132 --move "0=0.5,0" --save --out "$dir/m$j.bmp" --size 320x240 \
      > /dev/null 2> "$dir/m$j.err" &
    mpids+=($!)
  done
  for j in $(seq 1 "$racers"); do
    wait "${mpids[$((j - 1))]}"
    rc=$?
    if [ $rc -eq 0 ]; then moves=$((moves + 1))
    elif [ $rc -ne 1 ] || ! grep -q "nothing was saved" "$dir/m$j.err"; then
      say "move $round.$j: exit $rc: $(cat "$dir/m$j.err")"
      fail=1
    fi
  done
done
grown=$("$py" -c 'import sys; print(round(float(sys.argv[2]) - float(sys.argv[1]), 9))' "$(offsets "$db")" "$(offsets "$mdb")")
say "$rounds rounds of $racers identical moves: $moves saved, the offsets grew by $grown"
"$py" -c 'import sys; sys.exit(abs(float(sys.argv[1]) - 0.5 * int(sys.argv[2])) > 1e-9)' "$grown" "$moves" ||
  { say "expected the offsets to grow by $moves x 0.5"; fail=1; }
[ "$moves" -ge "$rounds" ] || { say "fewer moves saved than rounds: every round should save one"; fail=1; }

# kill -9 of a save at random moments of its life.
old=0 new=0
for k in $(seq 1 "$kills"); do
  cp "$db" "$dir/k.pvxdb"
  rm -f "$dir/k.pvxdb-journal"
  n0=$(sql "$dir/k.pvxdb" "SELECT count(*) FROM CTLN")
  "$host" --quiet --db "$dir/k.pvxdb" show 7402 --set name="K$k" --set point1=3,4 --set point2=9,4 --set add=1 --save \
    --size 320x240 --out "$dir/k.bmp" > /dev/null 2>&1 &
  pid=$!
  sleep "0.$(( (RANDOM % 9) + 1 ))$(( RANDOM % 10 ))"
  kill -9 $pid 2> /dev/null
  wait $pid 2> /dev/null
  rc=$?
  # A save the kill came too late for must have saved.
  if [ $rc -ne 0 ] && [ $rc -ne 137 ]; then
    say "save $k, not killed, exit $rc: nothing saved"
    fail=1
  fi
  if ! out=$("$host" --quiet --db "$dir/k.pvxdb" info 2>&1); then
    say "after kill $k, info failed: $out"
    fail=1
    continue
  fi
  n1=$(sql "$dir/k.pvxdb" "SELECT count(*) FROM CTLN")
  if [ "$n1" -eq "$n0" ]; then old=$((old + 1)); elif [ "$n1" -eq $((n0 + 1)) ]; then new=$((new + 1)); else
    say "after kill $k: $n0 strips became $n1"
    fail=1
  fi
  [ "$(sql "$dir/k.pvxdb" "PRAGMA integrity_check")" = ok ] || { say "after kill $k the file is not sound"; fail=1; }
done
say "$kills saves killed: info opened each; $old kept the old strips, $new the new ones"
exit $fail
