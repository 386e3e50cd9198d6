#!/bin/bash
# The package build judges the add-on's edit script before it packs
# anything: a script with an AREA that wraps around is refused with its
# file, line and problem, and no package is made; the shipped script passes
# the check (the build then stops only for the Windows build it lacks here).
#   package_edit_script.sh PYTHON MAKE_PACKAGE NATIVE_BUILD WORK_FOLDER
set -u
python=$1
make_package=$2
native=$3
work=$4
fail() { echo "FAIL: $*" >&2; exit 1; }
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1

printf 'TITLE "Aerilon by Vesk"\r\n\r\nAREA 170G25ME, 206G40MN, 170G47ME, 26G18MN\r\n' > Wrapped.DAT
"$python" "$make_package" "$native" no-win32-build out --edit-script Wrapped.DAT > out.txt 2> err.txt \
  && fail "a wrapping AREA was packed"
grep -q '^make_package: the edit script Wrapped.DAT is refused:$' err.txt || fail "$(cat err.txt)"
grep -q '^sceneward: Wrapped.DAT:3: error: AREA 1: the north edge 206.666667 N .* wraps around to 26.666667 N$' err.txt \
  || fail "the refusal names no line and problem: $(cat err.txt)"
[ ! -e out ] || fail "the refused build made $(ls out)"

"$python" "$make_package" "$native" no-win32-build out > out.txt 2> err.txt && fail "packed without a Windows build"
grep -q '^make_package: no-win32-build/.* is missing; build both presets first$' err.txt \
  || fail "the shipped edit script: $(cat err.txt)"
echo "package edit script check: all checks passed"
