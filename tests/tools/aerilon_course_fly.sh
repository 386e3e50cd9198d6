#!/bin/bash
# The autopilot from the command line: every example course flown to the
# end of every leg, its flight flown again by aerilon-sim to the same
# transcript, check --fly quiet on the examples and loud on a course made
# unflyable, and the mistakes of its options told.
#   aerilon_course_fly.sh COURSE_TOOL SIM_TOOL EXAMPLES WORK_FOLDER
set -u
tool=$1
sim=$2
examples=$3
work=$4
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1

fail() { echo "FAIL: $*" >&2; exit 1; }

for course in sample_course island_tour first_course; do
  "$tool" fly "$examples/$course.toml" -o $course.flight.jsonl --transcript json > $course.fly.txt 2> err.txt ||
    fail "fly $course: status $?: $(tail -3 $course.fly.txt) $(cat err.txt)"
  grep -q '"finished":false' $course.fly.txt && fail "fly $course: a leg was not finished"
  grep -v '^{"report"' $course.fly.txt > $course.transcript.txt
  "$sim" --course "$examples/$course.toml" --flight $course.flight.jsonl --seed 1 --time 946684800 \
    --trace targets > $course.replay.txt || fail "replay $course: status $?"
  cmp -s $course.transcript.txt $course.replay.txt ||
    fail "$course: the written flight flies to another transcript: $(diff $course.transcript.txt $course.replay.txt | head -5)"
  "$tool" check --fly "$examples/$course.toml" > check.txt 2> count.txt
  [ $? -ne 1 ] || fail "check --fly $course: $(cat check.txt)"
  grep -q 'the autopilot' check.txt && fail "check --fly $course: $(cat check.txt)"
done

# The map of a flown course, from fly and from map --flight alike.
"$tool" fly "$examples/island_tour.toml" -o tour.jsonl --map flown.png > /dev/null 2>&1 || fail "fly --map: status $?"
"$tool" map "$examples/island_tour.toml" --flight tour.jsonl -o mapped.png || fail "map --flight: status $?"
cmp -s flown.png mapped.png || fail "fly --map and map --flight drew different maps of one flight"
[ "$(head -c 8 flown.png | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] || fail "fly --map wrote no PNG"

# The human report names each leg's outcome and each target's margins.
"$tool" fly "$examples/sample_course.toml" > report.txt || fail "fly: status $?"
grep -q '^leg 2: finished, [0-9]* s of 1200 s allowed' report.txt || fail "report: $(cat report.txt)"
grep -q '^  gate 1.1 met at tick [0-9]* ([0-9]* s on): [0-9]* m inside, ' report.txt || fail "report: $(cat report.txt)"

# A gate no light aircraft can fly: told at the gate's line, exit 1 (check) and 3 (fly).
sed -e '0,/^speed_max = 180$/s//speed_max = 400/' -e '0,/^speed_min = 80$/s//speed_min = 300/' \
  "$examples/sample_course.toml" > fast.toml
"$tool" check --fly fast.toml > check.txt 2> /dev/null
[ $? -eq 1 ] || fail "check --fly of an unflyable gate: status not 1: $(cat check.txt)"
line=$(grep -n '^kind = "gate"' fast.toml | head -1 | cut -d: -f1)
grep -q "^fast.toml:$((line - 1)):1: error: leg 1: the autopilot (Light single-engine) cannot finish it: .*gate 1.1 .*speed 175 kn, wanted 300 to 400 kn" check.txt ||
  fail "check --fly: $(cat check.txt)"
"$tool" fly fast.toml > /dev/null
[ $? -eq 3 ] || fail "fly of an unflyable gate: status not 3"

# A course far from every start position of the menu: check warns, and the
# autopilot starts in the air before the first start box.
sed 's/lat = "N26 /lat = "N45 /' "$examples/sample_course.toml" > far.toml
"$tool" check far.toml > check.txt 2> /dev/null
grep -q "^far.toml:[0-9]*:1: warning: leg 1, start box: no start position of the module's menu lies within 50 km of it (the nearest, 3. AFB, is 2089 km away)" check.txt ||
  fail "far course: $(cat check.txt)"
"$tool" fly far.toml > report.txt || fail "fly of the far course: status $?: $(cat report.txt)"
grep -qx 'start: in the air 5 km before the first start box (no start position within 50 km)' report.txt ||
  fail "far course: $(cat report.txt)"

# Options and files it cannot use.
printf 'name = "Kite"\ncruise_speed_kt = 14O\n' > kite.toml
"$tool" fly "$examples/sample_course.toml" --aircraft kite.toml 2> err.txt && fail "a broken aircraft file was flown"
grep -q '^kite.toml:2:' err.txt || fail "aircraft file error: $(cat err.txt)"
"$tool" fly "$examples/sample_course.toml" --aircraft jumbo 2> err.txt && fail "an unknown aircraft was flown"
grep -q 'jumbo: error: no such aircraft; built in: light_single, aerobatic, business_jet' err.txt ||
  fail "unknown aircraft: $(cat err.txt)"
"$tool" fly "$examples/sample_course.toml" --legs 3 2> err.txt && fail "leg 3 of two was flown"
grep -q 'the course has no leg 3 (its legs are 1 to 2)' err.txt || fail "--legs: $(cat err.txt)"
"$tool" fly "$examples/first_course.toml" -o both.out --map both.out 2> err.txt && fail "the flight and its map were written to one file"
grep -q 'both.out: error: the map and the flight (-o) would be the same file' err.txt || fail "one file for two: $(cat err.txt)"
[ -e both.out ] && fail "a refused fly wrote both.out"
cp "$examples/sample_course.toml" own.toml
"$tool" fly own.toml -o own.toml 2> err.txt && fail "the flight was written over the course"
cmp -s own.toml "$examples/sample_course.toml" || fail "the course was changed"
echo "autopilot end to end: all passed"
