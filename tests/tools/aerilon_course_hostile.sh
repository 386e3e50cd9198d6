#!/bin/bash
# aerilon-course given what is no plain file, or told to write where it
# must not: every refusal names the file, exits 1, neither blocks nor
# aborts, and leaves the inputs and what stood at the output as they were.
# Then the outputs it must write: into missing folders, and through links.
#   aerilon_course_hostile.sh COURSE_TOOL EXAMPLES WORK_FOLDER
set -u
tool=$1
examples=$2
work=$3
rm -rf "$work" && mkdir -p "$work/empty" && cd "$work" || exit 1
fail() { echo "FAIL: $*" >&2; exit 1; }

cp "$examples/sample_course.toml" s.toml && cp "$examples/sample_flight.jsonl" f.jsonl
"$tool" compile s.toml -o s.DAT || fail "the sample does not compile"
mkdir folder && mkfifo pipe && : > plain && : > empty/Rally.DAT && cp s.toml empty/tour.dat
ln s.toml hard.toml && ln -s s.DAT link.DAT && ln -s gone dangling.DAT
cp s.DAT ro.DAT && chmod a-w ro.DAT
printf '\1%.0s' $(seq 800) > odd.SCO   # no text, and its block unscrambles to nonsense
printf 'x\0' > short.SCO              # shorter than the block: read as no score file
# A device to write over: a tool that replaced it must not take the
# system's /dev/null with it when the test runs as root (CI does); without
# a device of its own, those cases are left out.
device=/dev/null
[ "$(id -u)" -ne 0 ] || { mknod device c 1 3 2> /dev/null && device=device || device=; }

# COMMAND LINE | what standard output and error must hold (grep -E)
while IFS='|' read -r args expected; do
  [[ $args != *DEVICE* ]] || [ -n "$device" ] || continue
  args=${args//DEVICE/$device} expected=${expected//DEVICE/$device}
  timeout 60 "$tool" $args > out.txt 2>&1
  status=$?
  [ $status -eq 1 ] || fail "$args: status $status, not 1: $(cat out.txt)"
  grep -qE "$expected" out.txt || fail "$args: $(cat out.txt)"
done <<'CASES'
compile folder|^folder: error: cannot be read: it is a folder, not a file$
compile pipe|^pipe: error: cannot be read: it is a named pipe \(FIFO\), not a file$
check /dev/null|^/dev/null: error: cannot be read: it is a device, not a file$
check folder|^folder: error: cannot be read: it is a folder
decompile pipe|^pipe: error: cannot be read: it is a named pipe
map folder -o m.png|^folder: error: cannot be read: it is a folder
map s.toml --flight folder -o m.png|^folder: error: cannot be read: it is a folder
map s.toml --flight pipe -o m.png|^pipe: error: cannot be read: it is a named pipe
scores folder|^folder: error: cannot be read: it is a folder
scores short.SCO --course pipe|^pipe: error: cannot be read: it is a named pipe
check empty/Rally.DAT|^empty/Rally.DAT: error: the module refuses this course file: the file is empty$
map empty/tour.dat -o m.png|^empty/tour.dat: error: the module refuses this course file: the file does not start with "VESK RALLY"
scores s.DAT|^s.DAT: error: not a score file: this is a course file
scores s.toml|^s.toml: error: not a score file: this is a text file
scores odd.SCO|^odd.SCO: error: not a score file the module wrote: 
compile s.toml -o s.toml|^s.toml: error: cannot be written: it is the same file as the input s.toml
compile s.toml -o hard.toml|^hard.toml: error: cannot be written: it is the same file as the input s.toml
compile hard.toml -o ./s.toml|^./s.toml: error: cannot be written: it is the same file as the input hard.toml
map link.DAT -o s.DAT|^s.DAT: error: cannot be written: it is the same file as the input link.DAT
map s.toml --flight f.jsonl -o f.jsonl|^f.jsonl: error: cannot be written: it is the same file as the input f.jsonl
compile s.toml -o folder|^folder: error: cannot be written: it is a folder, not a file$
compile s.toml -o pipe|^pipe: error: cannot be written: it is a named pipe
compile s.toml -o DEVICE|^DEVICE: error: cannot be written: it is a device, not a file$
map s.toml -o DEVICE|^DEVICE: error: cannot be written: it is a device
compile s.toml -o ro.DAT|^ro.DAT: error: cannot be written: it is read-only
compile s.toml -o dangling.DAT|^dangling.DAT: error: cannot be written: it is a symbolic link that leads to no file$
map s.toml -o plain/m.png|^plain/m.png: error: cannot be written: the folder plain cannot be made
CASES
cmp -s s.toml "$examples/sample_course.toml" && cmp -s f.jsonl "$examples/sample_flight.jsonl" &&
  cmp -s ro.DAT s.DAT && [ -d folder ] && [ -p pipe ] && { [ -z "$device" ] || [ -c $device ]; } &&
  [ ! -e gone ] || fail "a refused command changed a file"
[ -z "$(ls | grep -vxE 's.toml|f.jsonl|s.DAT|folder|pipe|device|plain|empty|hard.toml|link.DAT|dangling.DAT|ro.DAT|odd.SCO|short.SCO|out.txt')" ] ||
  fail "refused commands left files: $(ls)"

# The README's example into a fresh folder; a course and a map written
# through a chain of links, which stays, and keeping the file's permissions.
"$tool" compile s.toml -o sim/ADV/RALLY/Rally.DAT && cmp -s sim/ADV/RALLY/Rally.DAT s.DAT ||
  fail "compile into missing folders"
mkdir store && cp s.DAT store/Rally.DAT && : > store/map.png && chmod 640 store/Rally.DAT
ln -s hop sim/Rally.DAT && ln -s ../store/Rally.DAT sim/hop && ln -s ../store/map.png sim/map.png
"$tool" compile "$examples/island_tour.toml" -o sim/Rally.DAT && "$tool" map s.toml -o sim/map.png ||
  fail "writing through links: status $?"
[ "$(readlink sim/Rally.DAT)" = hop ] && [ -L sim/map.png ] && ! cmp -s store/Rally.DAT s.DAT &&
  [ "$(head -c 4 store/map.png | tail -c 3)" = PNG ] && [ "$(stat -c %a store/Rally.DAT)" = 640 ] &&
  [ "$(ls store | tr '\n' ' ')" = "Rally.DAT map.png " ] || fail "links, permissions: $(ls -l store sim)"
exit 0
