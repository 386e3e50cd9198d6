#!/bin/bash
# Runs `sceneward visedit` and `areakill` where the paths are unusual for a
# Windows program: folders thousands of characters deep.
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

echo "sceneward paths: all checks passed"
