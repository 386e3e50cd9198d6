#!/usr/bin/env bash
# Runs the PE check on a DLL that is faulty on purpose and passes only when
# the check fails and names every expected fault (each PATTERN must match
# one of its FAIL lines, as an extended regular expression).
#
# Usage: expect_pe_check_rejects.sh CHECK_SCRIPT DLL PATTERN...
set -uo pipefail

if [ $# -lt 3 ]; then
  echo "usage: $0 CHECK_SCRIPT DLL PATTERN..." >&2
  exit 2
fi
check=$1
dll=$2
shift 2

output=$(bash "$check" "$dll")
status=$?
echo "$output"
echo "--"
missed=0
if [ "$status" -ne 1 ]; then
  echo "MISSED: the PE check exited with $status on a faulty DLL, expected 1"
  missed=1
fi
for pattern in "$@"; do
  if grep -E '^FAIL: ' <<<"$output" | grep -Eq -- "$pattern"; then
    echo "caught: $pattern"
  else
    echo "MISSED: no FAIL line matches: $pattern"
    missed=1
  fi
done
exit "$missed"
