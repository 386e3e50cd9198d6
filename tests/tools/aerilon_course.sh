#!/bin/bash
# The course designer's commands end to end, on the example courses:
# compile, decompile and compile again to the same bytes, check, a broken
# source refused with its lines and nothing written, a flight flown over
# the sample course, its score file told in words, and the maps drawn.
#   aerilon_course.sh COURSE_TOOL SIM_TOOL EXAMPLES WORK_FOLDER
set -u
tool=$1
sim=$2
examples=$3
work=$4
rm -rf "$work" && mkdir -p "$work/sim/ADV/RALLY" && cd "$work" || exit 1

fail() { echo "FAIL: $*" >&2; exit 1; }

for course in sample_course island_tour; do
  "$tool" compile "$examples/$course.toml" -o $course.DAT 2> err.txt || fail "compile $course: $(cat err.txt)"
  "$tool" decompile $course.DAT > $course.decompiled.toml || fail "decompile $course"
  "$tool" compile $course.decompiled.toml -o $course.again.DAT 2> err.txt || fail "recompile $course: $(cat err.txt)"
  cmp $course.DAT $course.again.DAT || fail "$course: decompiling and compiling changed the bytes"
done

"$tool" check "$examples/island_tour.toml" > check.txt 2> count.txt || fail "check island_tour: status $?: $(cat check.txt)"
grep -qx '0 errors, 0 warnings' count.txt || fail "check island_tour: $(cat count.txt)"
"$tool" check island_tour.DAT > /dev/null 2>&1 || fail "check of the compiled tour: status $?"

# Two mistakes, both told with their lines; the old file stays.
cp sample_course.DAT broken.DAT
sed -e 's/^radius = "500 m"$/radius = "5 parsec"/' -e 's/^heading = 56$/heading = 400/' \
  "$examples/sample_course.toml" > broken.toml
"$tool" compile broken.toml -o broken.DAT 2> err.txt && fail "a broken source was compiled"
grep -q '^broken.toml:[0-9]*:10: error: leg 1, record 3: radius: "5 parsec" is not a distance' err.txt ||
  fail "compile errors: $(cat err.txt)"
grep -q '^broken.toml:[0-9]*:11: error: leg 2, start box: heading: 400 is not a heading' err.txt ||
  fail "compile errors: $(cat err.txt)"
cmp broken.DAT sample_course.DAT || fail "a refused compile changed the course file"

# A gate of no size: compile warns and writes, --strict refuses and writes nothing.
sed -e 's/^size = "400 m"$/size = 0/' "$examples/sample_course.toml" > flat.toml
"$tool" compile flat.toml -o flat.DAT 2> err.txt || fail "compile of a flat gate: $(cat err.txt)"
grep -q '^flat.toml:[0-9]*:1: warning: leg 1, record 2 (gate): its box is 0 m' err.txt ||
  fail "compile of a flat gate: $(cat err.txt)"
"$tool" compile --strict flat.toml -o strict.DAT 2> err.txt && fail "--strict compiled a flat gate"
grep -q ': error: leg 1, record 2 (gate): its box is 0 m' err.txt && [ ! -e strict.DAT ] ||
  fail "compile --strict: $(cat err.txt)"

# A course file the module refuses is refused by decompile with its reason.
head -c 100 sample_course.DAT > short.DAT
"$tool" decompile short.DAT > /dev/null 2> err.txt && fail "a short course file was decompiled"
grep -q 'the module refuses this course file' err.txt || fail "decompile: $(cat err.txt)"

# The sample flight over the sample course leaves a score file to read.
cp sample_course.DAT sim/ADV/RALLY/Rally.DAT
"$sim" --root sim --flight "$examples/sample_flight.jsonl" --seed 1998 > /dev/null || fail "aerilon-sim"
"$tool" scores sim/ADV/RALLY/Rally.SCO --course sample_course.DAT > scores.txt || fail "scores: status $?"
grep -q '1132' scores.txt || fail "scores: the first leg's 1132 is missing: $(cat scores.txt)"

# Maps of both sources, the sample with its flight: PNG pictures.
"$tool" map "$examples/sample_course.toml" --flight "$examples/sample_flight.jsonl" -o sample.png ||
  fail "map of the sample: status $?"
"$tool" map "$examples/island_tour.toml" -o tour.png --size 800x600 || fail "map of the tour: status $?"
for picture in sample.png tour.png; do
  [ "$(head -c 8 $picture | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] || fail "$picture is not a PNG"
done
exit 0
