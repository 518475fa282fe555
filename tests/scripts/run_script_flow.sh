#!/usr/bin/env bash
# scripts/run.sh as a newcomer and a user meet it, on a copy of the script in a temporary tree
# whose setup script and CMake are stand-ins: a fresh checkout, a start with nothing changed, a
# source edit, a build that fails, and arguments from a folder of the user's.
#   tests/scripts/run_script_flow.sh SOURCE_DIR WORK_DIR
set -uo pipefail
src=$1
work=$(mktemp -d "$2/run_script_flow.XXXXXX")
fail=0
say() { echo "run_script_flow: $*"; }
check() {  # check LABEL COMMAND...: the command must succeed
  local label=$1
  shift
  if ! "$@"; then
    say "FAIL: $label"
    fail=1
  fi
}

repo=$work/repo
mkdir -p "$repo/scripts" "$repo/platform" "$repo/host" "$repo/module" "$work/bin" "$work/mine"
cp "$src/scripts/run.sh" "$repo/scripts/"
echo 'echo "setup: all 1 packages present"' > "$repo/scripts/setup.sh"
echo 'project(stand_in)' > "$repo/CMakeLists.txt"
echo 'int f() { return 1; }' > "$repo/module/part.cpp"

# CMake's stand-in: logs each call; a build makes a pvxhost that prints its folder and arguments
# and writes the file of --out, or fails as a compiler does while $work/broken exists.
cat > "$work/bin/cmake" <<EOF
#!/usr/bin/env bash
echo "cmake \$*" >> "$work/cmake.log"
[ "\$1" = --build ] || exit 0
if [ -e "$work/broken" ]; then
  echo "module/part.cpp:1:20: error: expected ';' before '}' token" >&2
  exit 2
fi
mkdir -p build/release/bin build/release/examples
touch build/release/examples/sample.pvxdb
cat > build/release/bin/pvxhost <<'HOST'
#!/usr/bin/env bash
echo "pvxhost in \$PWD: \$*"
while [ \$# -gt 0 ]; do
  [ "\$1" = --out ] && touch "\$2"
  shift
done
HOST
chmod +x build/release/bin/pvxhost
EOF
chmod +x "$work/bin/cmake"
export PATH=$work/bin:$PATH
builds() { grep -c -- '^cmake --build' "$work/cmake.log" 2>/dev/null || echo 0; }

# A fresh checkout: no build folder at all.
out=$(cd "$repo" && bash scripts/run.sh 2>&1)
check "the main job on a fresh checkout passes: $out" test $? -eq 0
check "the main job leaves build/release/sample.bmp" test -f "$repo/build/release/sample.bmp"
check "the main job prints the project's summary" grep -q "pvxhost in $repo: info" <<< "$out"
check "the main job builds once" test "$(builds)" -eq 1

# Nothing changed: pvxhost starts at once, in the caller's folder, with the caller's arguments.
out=$(cd "$work/mine" && bash "$repo/scripts/run.sh" render --out plan.bmp 2>&1)
check "an up-to-date start passes: $out" test $? -eq 0
check "an up-to-date start runs no CMake" test "$(builds)" -eq 1
check "an up-to-date start prints nothing of a build: $out" test "$out" = "pvxhost in $work/mine: render --out plan.bmp"
check "the output lands in the caller's folder" test -f "$work/mine/plan.bmp"

# A source edit: built again, then pvxhost runs.
sleep 0.05
touch "$repo/module/part.cpp"
out=$(cd "$work/mine" && bash "$repo/scripts/run.sh" --help 2>&1)
check "an edit is built: $out" test "$(builds)" -eq 2
check "after the build pvxhost runs: $out" grep -q "pvxhost in $work/mine: --help" <<< "$out"

# A failed build: non-zero, the compiler's error shown, the stamp kept as it was; the next call
# builds again.
stamp=$(stat -c %Y.%y "$repo/build/release/.built")
sleep 0.05
touch "$repo/module/part.cpp" "$work/broken"
out=$(cd "$work/mine" && bash "$repo/scripts/run.sh" info 2>&1)
check "a failed build fails" test $? -ne 0
check "a failed build shows the compiler's error: $out" grep -q "error: expected ';'" <<< "$out"
check "a failed build runs no pvxhost: $out" test -z "$(grep 'pvxhost in' <<< "$out")"
check "a failed build keeps the stamp" test "$(stat -c %Y.%y "$repo/build/release/.built")" = "$stamp"
check "a failed build leaves no new stamp" test ! -e "$repo/build/release/.built.new"
rm "$work/broken"
out=$(cd "$work/mine" && bash "$repo/scripts/run.sh" info 2>&1)
check "the call after a failed build builds again: $out" test "$(builds)" -eq 4
check "and then runs pvxhost: $out" grep -q "pvxhost in $work/mine: info" <<< "$out"

if [ $fail -eq 0 ]; then
  rm -rf "$work"
  say "passed"
fi
exit $fail
