# Builders of the files the sceneward tool tests run on, made byte by byte;
# sourced by those tests.

fail() { echo "FAIL: $*" >&2; exit 1; }
byte() { printf "\\x$(printf %02x "$1")"; }
le16() { byte $(($1 & 255)); byte $((($1 >> 8) & 255)); }
le32() { le16 $(($1 & 65535)); le16 $((($1 >> 16) & 65535)); }
zeros() { head -c "$1" /dev/zero; }

# library PATTERN...: a scenery library, every section at 36, whose list
# holds one entry for each folder pattern, titled Test, Test2, ...
library() {
  local entries='' n=0 title pattern
  for pattern in "$@"; do
    n=$((n + 1)); title=Test; [ $n -gt 1 ] && title=Test$n
    entries+=$(printf '%s|%s\n' "$pattern" "$title")$'\n'
  done
  local length=$((36 + 1))
  while IFS='|' read -r pattern title; do
    [ -n "$pattern" ] && length=$((length + 3 + ${#pattern} + 1 + ${#title} + 1))
  done <<< "$entries"
  le16 "$length"; byte 0x4D; byte 0x52; for _ in 1 2 3 4 5 6; do le16 36; done; zeros 16; le32 118
  while IFS='|' read -r pattern title; do
    [ -n "$pattern" ] && { byte 1; byte 30; byte 1; printf '%s\0%s\0' "$pattern" "$title"; }
  done <<< "$entries"
  byte 0
}

# The script: 0 to 1 degree east, 0 to 1 degree north.
script() { printf 'TITLE "Test"\r\nAREA 0G0ME, 1G0MN, 1G0ME, 0G0MN\r\n'; }

# object LATITUDE LONGITUDE: a 24-byte block holding only its position.
object() { le16 2; le16 0; le32 16; le32 0; le32 "$1"; le32 0; le32 "$2"; }
# entry BLOCK_OFFSET TAG: a class-0 object entry with 4 bytes of data.
entry() { le16 2; le16 0; le32 12; le16 0; le16 5; le32 "$1"; le32 "$2"; }
# town [INSIDE OUTSIDE LONGITUDE NORTH SOUTH EAST WEST]: an indexed scenery
# file of 288 bytes whose box is NORTH, SOUTH, EAST, WEST, with one object
# at latitude INSIDE and one at OUTSIDE, both at LONGITUDE; by default over
# the script's area, one inside it (latitude 50000) and one outside
# (latitude 150000).
town() {
  local inside=${1:-50000} outside=${2:-150000} longitude=${3:-5000000}
  local north=${4:-200000} south=${5:--100000} east=${6:-20000000} west=${7:--100000}
  zeros 2; le32 "$north"; le32 "$south"; le32 "$east"; le32 "$west"; zeros 100; le32 2271560481
  zeros 6                                        # header, 128 bytes
  zeros 28; le32 216; zeros 8                    # extension block: the index at 216
  object "$inside" "$longitude"; object "$outside" "$longitude"  # blocks at 168 and 192
  le16 1; le16 0; le32 56; zeros 12; le32 2      # list head
  entry 168 1; entry 192 2; le16 0; le16 0; le32 0
}
