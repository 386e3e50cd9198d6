#!/bin/bash
# Runs the sceneward tool on a small scenery library made here byte by byte:
# an entry added, then removed, each compared with the bytes the library
# must hold; a faulty script refused with its line and the library
# untouched; `show` listing the entries, and showing their texts safely.
#   sceneward_visedit.sh TOOL WORK_FOLDER
set -u
tool=$1
work=$2
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1

fail() { echo "FAIL: $*" >&2; exit 1; }
byte() { printf "\\x$(printf %02x "$1")"; }
le16() { byte $(($1 & 255)); byte $(($1 >> 8)); }
# header LENGTH OFFSET1 .. OFFSET6 RESERVED_BYTE
header() {
  le16 "$1"; byte 0x4D; byte 0x52
  for offset in "$2" "$3" "$4" "$5" "$6" "$7"; do le16 "$offset"; done
  for _ in $(seq 16); do byte "$8"; done
  byte 118; byte 0; byte 0; byte 0
}
earth() { byte 1; byte 10; byte 1; printf 'W\\*.BGL\0Earth\0'; }
aerilon() { byte 1; byte 20; byte 1; printf 'D:\\A\\*.BGL\0Aerilon\0'; }

# Sections 1 to 6 in their numbered order; reserved bytes not zero.
{ header 66 36 40 42 43 61 64 0x5A; printf '%s' AAAA BB C; earth; byte 0; printf '%s' EEE FF; } \
  > WORLD.VIS
# Rewritten: sections 1, 2, 3, 6, list, 5; reserved bytes zero.
{ header 88 36 40 42 45 85 43 0; printf '%s' AAAA BB C FF; aerilon; earth; byte 0; printf 'EEE'; } \
  > added.expected
{ header 66 36 40 42 45 63 43 0; printf '%s' AAAA BB C FF; earth; byte 0; printf 'EEE'; } \
  > removed.expected
printf '; test script\r\nTITLE "Aerilon"\r\nTYPE REGIONAL\r\n' > Sceneward.DAT
printf 'TITLE "Aerilon"\nTYPE SOMEWHERE\n' > faulty.DAT

"$tool" visedit WORLD.VIS Sceneward.DAT 'D:\A' > out.txt 2> err.txt || fail "visedit: status $?: $(cat err.txt)"
cmp WORLD.VIS added.expected || fail "the added entry: the library differs from added.expected"
"$tool" show WORLD.VIS > show.txt || fail "show: status $?"
grep -q '^0      20 REGIONAL  yes     D:\\A\\\*.BGL  *Aerilon$' show.txt || fail "show: $(cat show.txt)"
grep -q '^1      10 GLOBAL    yes     W\\\*.BGL  *Earth$' show.txt || fail "show: $(cat show.txt)"

cp WORLD.VIS before-faulty
"$tool" visedit WORLD.VIS faulty.DAT 'D:\A' > out.txt 2> err.txt
status=$?
[ "$status" -eq 5 ] || fail "a faulty script gave status $status, not 5"
[ "$(cat err.txt)" = 'sceneward: faulty.DAT:2: "SOMEWHERE" is not a value word (TYPE takes GLOBAL, REGIONAL, LOCAL, LOW or HIGH) (status 5)' ] \
  || fail "faulty script message: $(cat err.txt)"
cmp WORLD.VIS before-faulty || fail "a faulty script changed the library"

"$tool" visedit WORLD.VIS Sceneward.DAT 'D:\A' --remove > out.txt 2> err.txt || fail "remove: status $?: $(cat err.txt)"
cmp WORLD.VIS removed.expected || fail "the removed entry: the library differs from removed.expected"
[ -z "$(ls ./*.\$\$\$ 2>/dev/null)" ] || fail "a temporary file was left behind"

# The files' texts reach the terminal as text: code page 1252 as UTF-8, and
# control characters (here a title that would set the terminal's) as \xNN.
printf 'TITLE "\033]0;owned\007 l\222isola \200 \201"\r\nTYPE LOCAL\r\n' > hostile.DAT
shown='\x1B]0;owned\x07 l’isola € \x81'
"$tool" show-script hostile.DAT > script.txt || fail "show-script: status $?"
grep -qxF "TITLE   \"$shown\"" script.txt || fail "show-script: $(cat -v script.txt)"
"$tool" visedit WORLD.VIS hostile.DAT 'D:\A' > out.txt 2> err.txt || fail "visedit: $(cat err.txt)"
"$tool" show WORLD.VIS > show.txt || fail "show: status $?"
[ "$(sed -n 's/^0  *30 LOCAL .*BGL  *//p' show.txt)" = "$shown" ] || fail "show: $(cat -v show.txt)"
"$tool" show-script "$(printf 'no\033]0;such\007 script')" 2> err.txt
grep -qxF 'sceneward: no\x1B]0;such\x07 script: cannot open the edit script (status 4)' err.txt ||
  fail "a missing script: $(cat -v err.txt)"
echo "sceneward visedit: all checks passed"
