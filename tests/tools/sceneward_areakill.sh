#!/bin/bash
# Runs `sceneward areakill` and `show-index` on a scenery library and an
# indexed scenery file made here byte by byte: one object inside the
# script's area, one outside. The inside one is removed; a damaged file is
# refused with its name and left as it was.
#   sceneward_areakill.sh TOOL WORK_FOLDER
set -u
tool=$1
work=$2
rm -rf "$work" && mkdir -p "$work/Area/Scenery" && cd "$work" || exit 1

fail() { echo "FAIL: $*" >&2; exit 1; }
byte() { printf "\\x$(printf %02x "$1")"; }
le16() { byte $(($1 & 255)); byte $((($1 >> 8) & 255)); }
le32() { le16 $(($1 & 65535)); le16 $((($1 >> 16) & 65535)); }
zeros() { head -c "$1" /dev/zero; }

# Library: every section at 36, the list holds one entry under the root folder.
{ le16 59; byte 0x4D; byte 0x52; for _ in 1 2 3 4 5 6; do le16 36; done; zeros 16; le32 118
  byte 1; byte 30; byte 1; printf '=:\\=\\Area\\*.BGL\0Test\0'; byte 0; } > WORLD.VIS
# The area: 0 to 1 degree east, 0 to 1 degree north.
printf 'TITLE "Test"\r\nAREA 0G0ME, 1G0MN, 1G0ME, 0G0MN\r\n' > Sceneward.DAT

# object LATITUDE LONGITUDE: a 24-byte block holding only its position.
object() { le16 2; le16 0; le32 16; le32 0; le32 "$1"; le32 0; le32 "$2"; }
# entry BLOCK_OFFSET TAG: a class-0 object entry with 4 bytes of data.
entry() { le16 2; le16 0; le32 12; le16 0; le16 5; le32 "$1"; le32 "$2"; }
{ zeros 2; le32 200000; le32 -100000; le32 20000000; le32 -100000; zeros 100; le32 2271560481
  zeros 6                                        # header, 128 bytes
  zeros 28; le32 216; zeros 8                    # extension block: the index at 216
  object 50000 5000000; object 150000 5000000    # inside, outside: blocks at 168 and 192
  le16 1; le16 0; le32 56; zeros 12; le32 2      # list head
  entry 168 1; entry 192 2; le16 0; le16 0; le32 0; } > Area/Scenery/Town.Bgl
[ "$(stat -c %s Area/Scenery/Town.Bgl)" -eq 288 ] || fail "the test file is $(stat -c %s Area/Scenery/Town.Bgl) bytes"

"$tool" show-index Area/Scenery/Town.Bgl > before.txt || fail "show-index: status $?"
[ "$(grep -c 'object of class 0' before.txt)" -eq 2 ] || fail "show-index before: $(cat before.txt)"

"$tool" areakill WORLD.VIS Sceneward.DAT . > out.txt 2> err.txt || fail "areakill: status $?: $(cat err.txt)"
[ "$(cat out.txt)" = 'WORLD.VIS: areas 1, scenery folders scanned 1, files rewritten 1, objects removed 1' ] \
  || fail "areakill report: $(cat out.txt)"
"$tool" show-index Area/Scenery/Town.Bgl > after.txt || fail "show-index after: status $?"
grep -q '^@[0-9]* list of 1 entries' after.txt || fail "after: $(cat after.txt)"
grep -q 'latitude 150000 ' after.txt || fail "the outside object is gone: $(cat after.txt)"
! grep -q 'latitude 50000 ' after.txt || fail "the inside object stayed: $(cat after.txt)"
[ -z "$(ls Area/Scenery/*.\$\$\$ 2>/dev/null)" ] || fail "a temporary file was left behind"
[ "$(pwd)" = "$(cd "$work" && pwd)" ] || fail "the tool's folder changed"

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
