#!/bin/bash
# AREA statements that read otherwise than they look, through every command
# that reads an edit script: show-script, visedit and areakill warn on
# standard error with the script's line and the AREA's number, and keep
# their status and their result; show-script --strict refuses them. The
# scripts the add-on ships must not warn.
#   sceneward_area_warnings.sh TOOL WORK_FOLDER SHIPPED_SCRIPT...
set -u
tool=$1
work=$2
shift 2
. "$(dirname "$0")/sceneward_files.sh"
rm -rf "$work" && mkdir -p "$work/Area/Scenery" && cd "$work" || exit 1
library '=:\=\Area\*.BGL' > WORLD.VIS

# name | the AREA on line 4 | objects areakill removes from the town | what each warning says
cases=$(cat <<'TABLE'
north 90|0G0ME, 90G0MN, 1G0ME, 0G0MN|0|the north edge 90.000000 N is outside the range of latitudes, 90 S up to but not including 90 N, and wraps around to 90.000000 S|the north edge 90.000000 S is not north of the south edge 0.000000 N: the area clears nothing
north 181|0G0ME, 181G0MN, 1G0ME, 0G0MN|1|the north edge 181.000000 N is outside the range of latitudes, 90 S up to but not including 90 N, and wraps around to 1.000000 N
north 999|0G0ME, 999G0MN, 1G0ME, 0G0MN|0|the north edge 999.000000 N is outside the range of latitudes, 90 S up to but not including 90 N, and wraps around to 81.000000 S|the north edge 81.000000 S is not north of the south edge 0.000000 N
empty|0G0ME, 1G0MN, 0G0ME, 0G0MN|0|the east and west edges are both 0.000000 E: the area holds no point and clears nothing
inverted|1G0ME, 0G0MN, 0G0ME, 1G0MN|0|the north edge 0.000000 N is not north of the south edge 1.000000 N: the area clears nothing|the east edge 0.000000 E is not east of the west edge 1.000000 E: the area clears nothing
across 180|179G0ME, 1G0MN, 179G0MW, 0G0MN|0|the east edge 179.000000 W is not east of the west edge 179.000000 E: the area clears nothing (an area cannot cross the 180th meridian: write one AREA on each side of it)
east 180|179G0ME, 1G0MN, 180G0ME, 0G0MN|0|the east edge 180.000000 E is outside the range of longitudes, 180 W up to but not including 180 E, and wraps around to 180.000000 W|the east edge 180.000000 W is not east of the west edge 179.000000 E
valid|0G0ME, 1G0MN, 1G0ME, 0G0MN|1
TABLE
)

# expect_warnings WHAT EXPECTED...: err.txt holds one line for each
# expected text, in order, every one at line 4 and AREA 2.
expect_warnings() {
  local what=$1 n=0 text line
  shift
  [ "$(wc -l < err.txt)" -eq $# ] || fail "$what: $# warnings expected: $(cat err.txt)"
  for text in "$@"; do
    n=$((n + 1)); line=$(sed -n "${n}p" err.txt)
    [[ "$line" == "sceneward: Sceneward.DAT:4: warning: AREA 2: "*"$text"* ]] || fail "$what: warning $n: $line"
  done
}

while IFS='|' read -r name area removed warnings; do
  IFS='|' read -r -a expected <<< "$warnings"
  # Line 3 holds an area far from the town that never warns.
  printf '; %s\r\nTITLE "Test"\r\nAREA 10G0ME, 11G0MN, 11G0ME, 10G0MN\r\nAREA %s\r\n' "$name" "$area" > Sceneward.DAT
  "$tool" show-script Sceneward.DAT > out.txt 2> err.txt || fail "$name: show-script: status $?: $(cat err.txt)"
  grep -q '^AREA    2$' out.txt || fail "$name: show-script: $(cat out.txt)"
  expect_warnings "$name: show-script" "${expected[@]}"
  "$tool" show-script --strict Sceneward.DAT > out.txt 2> err.txt
  status=$?
  if [ ${#expected[@]} -eq 0 ]; then
    [ "$status" -eq 0 ] && [ ! -s err.txt ] || fail "$name: --strict: status $status: $(cat err.txt)"
  else
    [ "$status" -eq 5 ] || fail "$name: --strict: status $status, not 5"
    tail -n 1 err.txt | grep -q "^sceneward: Sceneward.DAT: refused: ${#expected[@]} AREA problems* (--strict) (status 5)$" \
      || fail "$name: --strict: $(cat err.txt)"
  fi
  "$tool" visedit WORLD.VIS Sceneward.DAT 'D:\A' > out.txt 2> err.txt || fail "$name: visedit: status $?: $(cat err.txt)"
  grep -q 'rewritten, 1 area entries' out.txt || fail "$name: visedit: $(cat out.txt)"
  expect_warnings "$name: visedit" "${expected[@]}"
  library '=:\=\Area\*.BGL' > WORLD.VIS && town > Area/Scenery/Town.Bgl
  "$tool" areakill WORLD.VIS Sceneward.DAT . > out.txt 2> err.txt || fail "$name: areakill: status $?: $(cat err.txt)"
  grep -q ", objects removed $removed\$" out.txt || fail "$name: areakill: $(cat out.txt)"
  expect_warnings "$name: areakill" "${expected[@]}"
done <<< "$cases"

for shipped in "$@"; do
  "$tool" show-script --strict "$shipped" > out.txt 2> err.txt || fail "$shipped: status $?: $(cat err.txt)"
  [ ! -s err.txt ] || fail "$shipped: $(cat err.txt)"
done
echo "sceneward area warnings: all checks passed"
