#!/bin/bash
# aerilon-sim given what is no plain file. A course or score file that
# cannot be read leaves the module inert, or its scores at their defaults,
# and the run goes on (status 0), the course named; a flight script that
# cannot be read stops it (status 2), named. Nothing blocks on a pipe. Then
# runs interrupted and terminated: their temporary folder goes with them.
#   aerilon_sim_hostile.sh SIM_TOOL COURSE_FILE WORK_FOLDER
set -u
sim=$1
course=$2
work=$3
rm -rf "$work" && mkdir -p "$work/tmp" && cd "$work" || exit 1
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p folder/ADV/RALLY/Rally.DAT pipe/ADV/RALLY scores/ADV/RALLY flights
mkfifo pipe/ADV/RALLY/Rally.DAT scores/ADV/RALLY/Rally.SCO flights/pipe
cp "$course" scores/ADV/RALLY/Rally.DAT

# ARGUMENTS | status | what standard error must hold (grep -E; nothing when empty)
while IFS='|' read -r args expected_status expected; do
  timeout 60 "$sim" $args > out.txt 2> err.txt
  status=$?
  [ $status -eq "$expected_status" ] || fail "$args: status $status, not $expected_status: $(cat err.txt)"
  if [ -n "$expected" ]; then grep -qE "$expected" err.txt; else [ ! -s err.txt ]; fi ||
    fail "$args: $(cat err.txt)"
  [ $status -ne 0 ] || tail -1 out.txt | grep -q '"summary"' || fail "$args: the run did not go on"
done <<'CASES'
--root folder --ticks 40|0|^aerilon-sim: folder/ADV/RALLY/Rally.DAT: cannot be read: it is a folder, not a file; the module stays inert$
--root pipe --ticks 40|0|^aerilon-sim: pipe/ADV/RALLY/Rally.DAT: cannot be read: it is a named pipe \(FIFO\), not a file; the module stays inert$
--root scores --ticks 40|0|
--flight flights|2|^aerilon-sim: flights: cannot be read: it is a folder, not a file$
--flight flights/pipe|2|^aerilon-sim: flights/pipe: cannot be read: it is a named pipe \(FIFO\), not a file$
--flight /dev/null|2|^aerilon-sim: /dev/null: cannot be read: it is a device, not a file$
--flight flights/gone|2|^aerilon-sim: flights/gone: cannot be opened: No such file or directory$
CASES

# A signal once the temporary folder exists (its handlers are set by then,
# or the signal waits for them) ends the run with the signal's status and
# removes the folder. Job control lets a background job take SIGINT.
set -m
for signal in INT TERM; do
  TMPDIR=$work/tmp "$sim" --ticks 2147483646 > /dev/null 2>&1 &
  run=$!
  until [ -n "$(ls tmp)" ] || ! kill -0 $run 2> /dev/null; do sleep 0.1; done
  kill -s $signal $run
  wait $run
  status=$?
  [ $status -eq $((128 + $(kill -l $signal))) ] || fail "SIG$signal: status $status"
  [ -z "$(ls tmp)" ] || fail "SIG$signal left $(ls -R tmp)"
done
# A run whose reader has gone (aerilon-sim | head) ends by SIGPIPE, the same.
status=$(TMPDIR=$work/tmp python3 -c 'import os, subprocess, sys
reader, writer = os.pipe(); os.close(reader)
print(subprocess.run(sys.argv[1:], stdout=writer, stderr=subprocess.DEVNULL).returncode)' "$sim")
[ "$status" = -13 ] && [ -z "$(ls tmp)" ] || fail "SIGPIPE: status $status, left $(ls tmp)"
exit 0
