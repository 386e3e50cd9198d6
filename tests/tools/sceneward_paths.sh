#!/bin/bash
# Runs `sceneward visedit` and `areakill` where the paths are unusual for a
# Windows program: a library and a scenery file reached through symbolic
# links, as in a Wine prefix, and folders thousands of characters deep.
#   sceneward_paths.sh TOOL WORK_FOLDER
set -u
tool=$1
work=$2
. "$(dirname "$0")/sceneward_files.sh"
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
trap 'cd / && rm -rf "$work"' EXIT

# A folder about 3000 characters deep, well short of the system's 4096.
deep=$PWD
for _ in $(seq 15); do deep=$deep/$(printf 'd%.0s' $(seq 200)); done
mkdir -p "$deep/Area/Scenery" || fail "cannot make the deep folder"
library '=:\=\Area\*.BGL' > "$deep/WORLD.VIS"
script > "$deep/Sceneward.DAT"
town > "$deep/Area/Scenery/Town.Bgl"

"$tool" visedit "$deep/WORLD.VIS" "$deep/Sceneward.DAT" 'D:\A' > out.txt 2> err.txt \
  || fail "visedit in a deep folder: status $?: $(cat err.txt)"
"$tool" show "$deep/WORLD.VIS" | grep -q 'D:\\A\\\*\.BGL *Test$' || fail "deep: the entry was not replaced"
library '=:\=\Area\*.BGL' > "$deep/WORLD.VIS"
"$tool" areakill "$deep/WORLD.VIS" "$deep/Sceneward.DAT" "$deep" > out.txt 2> err.txt \
  || fail "areakill in a deep folder: status $?: $(cat err.txt)"
grep -q 'files rewritten 1, objects removed 1' out.txt || fail "deep areakill: $(cat out.txt)"
[ -z "$(ls "$deep"/*.\$\$\$ "$deep"/Area/Scenery/*.\$\$\$ 2>/dev/null)" ] || fail "deep: a temporary file was left"

# sim/WORLD.VIS leads through the relative link sim/hop to store/WORLD.VIS:
# the links stay, the library they lead to is rewritten.
mkdir -p store sim/Area/Scenery
library '=:\=\Area\*.BGL' > store/WORLD.VIS
ln -s hop sim/WORLD.VIS && ln -s ../store/WORLD.VIS sim/hop
script > Sceneward.DAT
"$tool" visedit sim/WORLD.VIS Sceneward.DAT 'D:\A' > out.txt 2> err.txt \
  || fail "visedit through links: status $?: $(cat err.txt)"
[ "$(readlink sim/WORLD.VIS)" = hop ] && [ "$(readlink sim/hop)" = ../store/WORLD.VIS ] \
  || fail "the links to the library were not kept"
"$tool" show store/WORLD.VIS | grep -q 'D:\\A\\\*\.BGL *Test$' || fail "the library behind the links is unchanged"
# A link to a library that is gone cannot be opened; nothing is written.
ln -s ../store/GONE.VIS sim/GONE.VIS
"$tool" visedit sim/GONE.VIS Sceneward.DAT 'D:\A' > out.txt 2> err.txt
status=$?
[ "$status" -eq 1 ] || fail "a link to no library gave status $status"
[ "$(cat err.txt)" = 'sceneward: sim/GONE.VIS: cannot open the scenery library for reading and writing (status 1)' ] \
  || fail "a link to no library: $(cat err.txt)"
[ -L sim/GONE.VIS ] && [ ! -e store/GONE.VIS ] || fail "a link to no library was written through"

# The scenery file sim/Area/Scenery/Town.Bgl is a link to store/Town.Bgl.
library '=:\=\Area\*.BGL' > store/WORLD.VIS
town > store/Town.Bgl
ln -s ../../../store/Town.Bgl sim/Area/Scenery/Town.Bgl
"$tool" areakill sim/WORLD.VIS Sceneward.DAT sim > out.txt 2> err.txt \
  || fail "areakill through links: status $?: $(cat err.txt)"
grep -q 'files rewritten 1, objects removed 1' out.txt || fail "areakill through links: $(cat out.txt)"
[ "$(readlink sim/Area/Scenery/Town.Bgl)" = ../../../store/Town.Bgl ] || fail "the link to the scenery file was not kept"
"$tool" show-index store/Town.Bgl | grep -q '^@[0-9]* list of 1 entries' || fail "the scenery file behind the link is unchanged"
# A link to a scenery file that is gone is told, and the status is 3.
ln -s ../../../store/Gone.Bgl sim/Area/Scenery/Gone.BGL
"$tool" areakill sim/WORLD.VIS Sceneward.DAT sim > out.txt 2> err.txt
status=$?
[ "$status" -eq 3 ] || fail "a link to no scenery file gave status $status"
grep -q 'Scenery.Gone.BGL: the scenery file cannot be read (status 3)$' err.txt || fail "a link to no scenery file: $(cat err.txt)"
[ -z "$(ls sim sim/Area/Scenery store | grep '\$\$\$')" ] || fail "a temporary file was left"

echo "sceneward paths: all checks passed"
