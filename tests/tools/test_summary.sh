#!/usr/bin/env bash
# scripts/test-summary over log folders made here: every step passed; Wine
# could not be installed (its steps are not run, said in a line of its own,
# and do not count); a step failed; a background step left no outcome.
#   test_summary.sh SUMMARY_SCRIPT WORK_FOLDER
set -u
summary=$(realpath "$1")
work=$2
rm -rf "$work" && mkdir -p "$work" || exit 1
failures=0
fail() { echo "FAIL: $case_name: $*"$'\n'"$out" >&2; failures=$((failures + 1)); }

# logs NAME STEP=STATUS... : a log folder where every step ran for 7 s and
# passed, but for those given.
logs() {
  case_name=$1
  shift
  folder=$work/$case_name
  mkdir -p "$folder"
  for name in setup build-course-compiler build-win32 build-native package package-prompts format build-native-asan \
      unit-native unit-native-asan fuzz-short win32 setup-wine; do
    echo "0 7" >"$folder/$name.status"
  done
  for name in unit-native unit-native-asan win32; do
    echo "100% tests passed, 0 tests failed out of 9" >"$folder/$name.log"
  done
  printf '1: 142 passed, 0 failed\n1: run_under_wine: rally_dll_host.exe exited with status 0 after 60 s\n' \
    >>"$folder/win32.log"
  echo "setup: all checks passed" >"$folder/setup-wine.log"
  printf 'target runs runs/s findings\ncourse_file 20000 700 0\nscore_file 20000 9000 0\n' \
    >"$folder/fuzz-short.log"
  local change
  for change in "$@"; do
    if [ "${change#*=}" = missing ]; then rm "$folder/${change%=*}.status"; else echo "${change#*=} 7" >"$folder/${change%=*}.status"; fi
  done
}
run() { out=$(bash "$summary" "$folder" 2>&1); status=$?; }
has() { grep -qxF -- "$1" <<<"$out" || fail "no line [$1]"; }

logs all_passed
run
[ "$status" = 0 ] || fail "exit status $status"
has "rally_dll_host.exe: 142 passed, 0 failed"
has "fuzz-short: 2 targets, 40000 runs, 0 findings"
has "setup-wine                 7 s  passed"
grep -q "NOT RUN" <<<"$out" && fail "NOT RUN said with Wine there"

logs wine_unavailable win32=missing setup-wine=missing
echo "wine32:i386 (libglib2.0-0:i386 : Depends: libpcre2-8-0:i386 but it is not installable)" \
  >"$folder/wine-unavailable.txt"
run
[ "$status" = 0 ] || fail "exit status $status"
has "win32, setup-wine: NOT RUN (Wine could not be installed: wine32:i386 (libglib2.0-0:i386 : Depends: libpcre2-8-0:i386 but it is not installable))"
grep -q -E "^(win32|setup-wine) +[0-9]" <<<"$out" && fail "the Windows steps are listed as run"

logs unit_test_failed_without_wine unit-native=8 win32=missing setup-wine=missing
echo "the index is broken" >"$folder/wine-unavailable.txt"
run
[ "$status" = 1 ] || fail "exit status $status"
has "unit-native                7 s  FAILED (exit status 8)"
has "FAILED: unit-native"

logs background_step_unfinished setup-wine=missing
run
[ "$status" = 1 ] || fail "exit status $status"
has "FAILED: setup-wine"

[ "$failures" -eq 0 ] && echo "test-summary: all cases passed"
exit $((failures > 0))
