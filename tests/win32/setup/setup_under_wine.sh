#!/bin/bash
# The setup program and its uninstaller as a pilot runs them, silently,
# under Wine: into a simulator folder made here (a scenery library whose
# island area holds a scenery file with one object inside the add-on's
# area and one outside it), then out again; and a setup into a folder
# without WORLD.VIS, which must stop and leave nothing behind. In between,
# the Windows test host runs the installed module from the folder.
#   setup_under_wine.sh SETUP_EXE SCENEWARD_TOOL RALLY_DLL_HOST WORK_FOLDER
set -u
setup=$(realpath "$1")
tool=$(realpath "$2")
host=$(realpath "$3")
work=$4
. "$(dirname "$0")/../../tools/sceneward_files.sh"
rm -rf "$work" && mkdir -p "$work/sim/Island/Scenery" "$work/empty" && work=$(realpath "$work") || exit 1
cd "$work" || exit 1

export WINEDEBUG=${WINEDEBUG:--all}
registry=${WINEPREFIX:-$HOME/.wine}/system.reg
windows() { printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"; }
# Runs a Windows program to its end, every process it started included.
run() { xvfb-run -a sh -c 'wine "$@"; status=$?; wineserver -w; exit $status' wine "$@"; }
key_present() { wineserver -w; grep -q 'Vesk\\\\Aerilon by Vesk\\\\1.00\]' "$registry"; }

# The island's area of the add-on's edit script, and a file over it.
library '=:\=\Island\*.BGL' '=:\=\World\*.BGL' > sim/WORLD.VIS
town 2940000 2990000 2035000000 3000000 2900000 2040000000 2030000000 > sim/Island/Scenery/Island.BGL
"$tool" show-index sim/Island/Scenery/Island.BGL | grep -q '^@[0-9]* list of 2 entries' ||
  fail "the island's scenery file: $("$tool" show-index sim/Island/Scenery/Island.BGL)"

# Install.
run "$setup" /S "/D=$(windows "$work/sim")" || fail "the setup ended with status $?"
for file in Modules/RALLY.DLL ADV/RALLY/Rally.DAT ADV/RALLY/Start.wav ADV/RALLY/Bonus.wav \
    Aerilon/Sceneward.dll Aerilon/Sceneward.DAT Aerilon/LEGGIMI.TXT Aerilon/Disinstalla.exe; do
  [ -f "sim/$file" ] || fail "the setup did not install $file"
done
[ -d sim/Aerilon/Scenery ] || fail "the setup made no Aerilon/Scenery folder"
key_present || fail "the setup wrote no registry key"
grep -A4 'Vesk\\\\Aerilon by Vesk\\\\1.00\]' "$registry" > key.txt
grep -qF "\"VIS_Path\"=\"$(windows "$work/sim" | sed 's/\\/\\\\/g')\"" key.txt || fail "VIS_Path: $(cat key.txt)"
grep -qF "\"Data_Path\"=\"$(windows "$work/sim/Aerilon" | sed 's/\\/\\\\/g')\"" key.txt ||
  fail "Data_Path: $(cat key.txt)"
"$tool" show sim/WORLD.VIS > show.txt || fail "show: status $?"
grep -q '^0 .*\\Aerilon\\Scenery\\\*.BGL *Aerilon by Vesk$' show.txt || fail "the entry is not first: $(cat show.txt)"
"$tool" show-index sim/Island/Scenery/Island.BGL > index.txt || fail "show-index: status $?"
grep -q '^@[0-9]* list of 1 entries' index.txt || fail "the object inside the area stayed: $(cat index.txt)"
grep -q 'latitude 2990000 ' index.txt || fail "the object outside the area is gone: $(cat index.txt)"

# The installed module starts from the folder, and a prompt of the race
# loads from its installed .wav file.
run "$host" --installed "$(windows "$work/sim")" > host.txt 2>&1 || fail "the installed module: $(cat host.txt)"
grep -q '^4 passed, 0 failed' host.txt || fail "the installed module: $(cat host.txt)"

# Uninstall: everything the setup put in goes, the pilot's scores stay.
printf 'scores' > sim/ADV/RALLY/Rally.SCO
# The uninstaller copies itself to the temporary folder and goes on from
# there while the first process ends; now and then Wine ends that first
# process with SIGKILL (status 137) rather than letting it exit. Its copy
# still does the work, so such a run is judged by what it did (below);
# any other failing status fails the test.
run sim/Aerilon/Disinstalla.exe /S
status=$?
if [ "$status" -eq 137 ]; then
  echo "the uninstaller's first process was killed by Wine (status 137); judging the uninstall by what it did"
elif [ "$status" -ne 0 ]; then
  fail "the uninstaller ended with status $status"
fi
"$tool" show sim/WORLD.VIS > show.txt || fail "show after the uninstall: status $?"
! grep -q 'Aerilon by Vesk' show.txt || fail "the entry is still there: $(cat show.txt)"
for file in Modules/RALLY.DLL ADV/RALLY/Rally.DAT ADV/RALLY/Start.wav Aerilon; do
  [ ! -e "sim/$file" ] || fail "the uninstaller left $file"
done
[ "$(cat sim/ADV/RALLY/Rally.SCO)" = scores ] || fail "the uninstaller removed the scores"
! key_present || fail "the uninstaller left the registry key"

# A folder that is not the simulator's: the setup stops, nothing is left.
run "$setup" /S "/D=$(windows "$work/empty")"
status=$?
[ "$status" -eq 10 ] || fail "the setup into a folder without WORLD.VIS ended with status $status, not 10"
[ -z "$(ls -A empty)" ] || fail "the refused setup left $(ls -A empty)"
! key_present || fail "the refused setup wrote the registry key"
echo "setup under Wine: all checks passed"
