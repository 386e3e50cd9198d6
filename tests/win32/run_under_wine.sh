#!/usr/bin/env bash
# Runs a Windows test program under Wine inside a virtual X display (the
# program creates windows). Arguments that name existing files are handed
# over as Windows paths. Without wine or xvfb-run the test is skipped with
# exit code 77, except where CI=true: there the missing tools are a failure.
#
# Usage: run_under_wine.sh PROGRAM [ARGS...]
set -uo pipefail

if [ $# -lt 1 ]; then
  echo "usage: $0 PROGRAM [ARGS...]" >&2
  exit 2
fi
program=$1
shift

missing=()
for tool in wine xvfb-run; do
  command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "${CI:-}" = "true" ]; then
    echo "run_under_wine: ${missing[*]} not found, and CI=true requires the Wine tests to run" >&2
    exit 1
  fi
  echo "##########################################################################" >&2
  echo "## SKIPPED: ${missing[*]} not installed." >&2
  echo "## $(basename "$program") did NOT run: RALLY.DLL is untested on Windows." >&2
  echo "##########################################################################" >&2
  exit 77
fi

export WINEDEBUG=${WINEDEBUG:--all}
args=()
for arg in "$@"; do
  if [ -e "$arg" ]; then
    # Wine's drive Z: is the Linux root.
    args+=("Z:$(realpath "$arg" | tr / '\\')")
  else
    args+=("$arg")
  fi
done

# The program's output goes through a file: the wineserver that the first
# Wine program starts outlives it and keeps the descriptors it inherited,
# and a test runner reading a pipe would wait for the server to go away.
# Everything Wine runs, the prefix's set-up included, runs inside the one
# virtual display: a Wine desktop started without a display would refuse
# every window later.
# One Wine session at a time on this machine: the sessions share the prefix
# and its server, and each ends by stopping that server.
exec 9>"${TMPDIR:-/tmp}/aerilon-wine.lock"
flock 9

log=$(mktemp)
trap 'rm -f "$log"' EXIT
started=$(date +%s)
xvfb-run -a -s "-screen 0 1024x768x24" bash "$(dirname "$0")/wine_session.sh" "$program" "${args[@]}" \
  >"$log" 2>&1 </dev/null
status=$?
cat "$log"
wineserver -k >/dev/null 2>&1 || true
echo "run_under_wine: $(basename "$program") exited with status $status after $(($(date +%s) - started)) s"
# 77 means "skipped" to CTest; a program that ends with it has failed.
if [ "$status" -eq 77 ]; then
  exit 1
fi
exit "$status"
