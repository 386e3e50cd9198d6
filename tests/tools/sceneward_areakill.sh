#!/bin/bash
# Runs `sceneward areakill` and `show-index` on a scenery library and an
# indexed scenery file made here byte by byte: one object inside the
# script's area, one outside. The inside one is removed; a damaged file is
# refused with its name and left as it was.
#   sceneward_areakill.sh TOOL WORK_FOLDER
set -u
tool=$1
work=$2
. "$(dirname "$0")/sceneward_files.sh"
rm -rf "$work" && mkdir -p "$work/Area/Scenery" && cd "$work" || exit 1

library '=:\=\Area\*.BGL' > WORLD.VIS
script > Sceneward.DAT
town > Area/Scenery/Town.Bgl
[ "$(stat -c %s Area/Scenery/Town.Bgl)" -eq 288 ] || fail "the test file is $(stat -c %s Area/Scenery/Town.Bgl) bytes"

"$tool" show-index Area/Scenery/Town.Bgl > before.txt || fail "show-index: status $?"
[ "$(grep -c 'object of class 0' before.txt)" -eq 2 ] || fail "show-index before: $(cat before.txt)"

"$tool" areakill WORLD.VIS Sceneward.DAT . > out.txt 2> err.txt || fail "areakill: status $?: $(cat err.txt)"
[ "$(cat out.txt)" = 'WORLD.VIS: areas 1, skipped 0, scenery folders scanned 1, files rewritten 1, objects removed 1' ] \
  || fail "areakill report: $(cat out.txt)"
"$tool" show-index Area/Scenery/Town.Bgl > after.txt || fail "show-index after: status $?"
grep -q '^@[0-9]* list of 1 entries' after.txt || fail "after: $(cat after.txt)"
grep -q 'latitude 150000 ' after.txt || fail "the outside object is gone: $(cat after.txt)"
! grep -q 'latitude 50000 ' after.txt || fail "the inside object stayed: $(cat after.txt)"
[ -z "$(ls Area/Scenery/*.\$\$\$ 2>/dev/null)" ] || fail "a temporary file was left behind"
[ "$(pwd)" = "$(cd "$work" && pwd)" ] || fail "the tool's folder changed"

# A drive-letter area names no folder on Linux, not even the folder "C:"
# here: first in the list or after another, it is skipped with a notice,
# counted, and the status stays 0.
mkdir -p 'C:/X/Scenery' && town > 'C:/X/Scenery/Town.Bgl'
for index in 0 1; do
  if [ "$index" -eq 0 ]; then library 'C:\X\*.BGL' '=:\=\Area\*.BGL'; else library '=:\=\Area\*.BGL' 'C:\X\*.BGL'; fi > Drive.VIS
  town > Area/Scenery/Town.Bgl
  "$tool" areakill Drive.VIS Sceneward.DAT . > out.txt 2> err.txt || fail "drive letter, area $index: status $?: $(cat err.txt)"
  [ "$(cat err.txt)" = "sceneward: Drive.VIS: area $index (C:\\X\\*.BGL): a drive-letter folder names no folder here; skipped" ] \
    || fail "drive letter, area $index: $(cat err.txt)"
  [ "$(cat out.txt)" = 'Drive.VIS: areas 2, skipped 1, scenery folders scanned 1, files rewritten 1, objects removed 1' ] \
    || fail "drive letter, area $index: $(cat out.txt)"
  town | cmp - 'C:/X/Scenery/Town.Bgl' || fail "drive letter, area $index: the folder C: was scanned"
done

# A file cut short inside its index: refused by both commands, left as it was.
head -c 250 Area/Scenery/Town.Bgl > Area/Scenery/Cut.BGL
cp Area/Scenery/Cut.BGL cut.before
"$tool" show-index Area/Scenery/Cut.BGL > cut.txt 2> err.txt && fail "show-index accepted a cut file"
[ "$(wc -l < err.txt)" -eq 1 ] && grep -q 'Cut.BGL: .*(offset [0-9]*)$' err.txt || fail "show-index: $(cat err.txt)"
"$tool" areakill WORLD.VIS Sceneward.DAT . > out.txt 2> err.txt
status=$?
[ "$status" -eq 3 ] || fail "a cut file gave status $status, not 3"
[ "$(wc -l < err.txt)" -eq 1 ] && grep -q 'Area.Scenery.Cut.BGL: .*unchanged (status 3)$' err.txt \
  || fail "areakill message: $(cat err.txt)"
cmp Area/Scenery/Cut.BGL cut.before || fail "the cut file was changed"
echo "sceneward areakill: all checks passed"
