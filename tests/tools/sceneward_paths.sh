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
script > Sceneward.DAT

# edit_and_clear LIBRARY ROOT LIBRARY_FILE SCENERY_FILE WHAT: visedit replaces
# the entry of LIBRARY, which is LIBRARY_FILE; areakill then clears the area
# below ROOT, whose scenery file is SCENERY_FILE. Temporary files never stay.
edit_and_clear() {
  library '=:\=\Area\*.BGL' > "$3" && town > "$4"
  "$tool" visedit "$1" Sceneward.DAT 'D:\A' > out.txt 2> err.txt || fail "$5: visedit: status $?: $(cat err.txt)"
  "$tool" show "$3" | grep -q 'D:\\A\\\*\.BGL *Test$' || fail "$5: visedit left the library as it was"
  library '=:\=\Area\*.BGL' > "$3"
  "$tool" areakill "$1" Sceneward.DAT "$2" > out.txt 2> err.txt || fail "$5: areakill: status $?: $(cat err.txt)"
  "$tool" show-index "$4" | grep -q '^@[0-9]* list of 1 entries' || fail "$5: areakill left the scenery file as it was"
  [ -z "$(find . -name '*.$$$')" ] || fail "$5: a temporary file was left: $(find . -name '*.$$$')"
}

# A folder about 3000 characters deep, well short of the system's 4096.
deep=$PWD
for _ in $(seq 15); do deep=$deep/$(printf 'd%.0s' $(seq 200)); done
mkdir -p "$deep/Area/Scenery" || fail "cannot make the deep folder"
edit_and_clear "$deep/WORLD.VIS" "$deep" "$deep/WORLD.VIS" "$deep/Area/Scenery/Town.Bgl" "a deep folder"

# sim/WORLD.VIS leads through the relative link sim/hop to store/WORLD.VIS,
# sim/Area/Scenery/Town.Bgl to store/Town.Bgl: the links stay.
mkdir -p store sim/Area/Scenery
ln -s hop sim/WORLD.VIS && ln -s ../store/WORLD.VIS sim/hop
ln -s ../../../store/Town.Bgl sim/Area/Scenery/Town.Bgl
edit_and_clear sim/WORLD.VIS sim store/WORLD.VIS store/Town.Bgl "links"
[ "$(readlink sim/WORLD.VIS)" = hop ] && [ "$(readlink sim/hop)" = ../store/WORLD.VIS ] \
  && [ "$(readlink sim/Area/Scenery/Town.Bgl)" = ../../../store/Town.Bgl ] || fail "the links were not kept"

# Links to files that are gone: the library cannot be opened (status 1), the
# scenery file is told (status 3); nothing is written through them.
ln -s ../store/GONE.VIS sim/GONE.VIS
"$tool" visedit sim/GONE.VIS Sceneward.DAT 'D:\A' > out.txt 2> err.txt
[ $? -eq 1 ] && [ "$(cat err.txt)" = 'sceneward: sim/GONE.VIS: cannot open the scenery library for reading and writing (status 1)' ] \
  || fail "a link to no library: $(cat err.txt)"
ln -s ../../../store/Gone.Bgl sim/Area/Scenery/Gone.BGL
"$tool" areakill sim/WORLD.VIS Sceneward.DAT sim > out.txt 2> err.txt
[ $? -eq 3 ] && grep -q 'Scenery.Gone.BGL: the scenery file cannot be read (status 3)$' err.txt \
  || fail "a link to no scenery file: $(cat err.txt)"
[ ! -e store/GONE.VIS ] && [ ! -e store/Gone.Bgl ] && [ -z "$(find . -name '*.$$$')" ] \
  || fail "a link to no file was written through"
echo "sceneward paths: all checks passed"
