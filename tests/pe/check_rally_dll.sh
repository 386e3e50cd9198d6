#!/usr/bin/env bash
# Checks RALLY.DLL's PE headers for what the simulator and Windows 9x need:
#   - it exports exactly Linkage and ImportTable;
#   - it imports only from KERNEL32, USER32, ADVAPI32 and msvcrt, none of
#     them delay-loaded;
#   - subsystem version and OS version are 4.0;
#   - it has no TLS directory and no .tls section (a DLL loaded at run time
#     cannot get TLS on Windows 9x);
#   - nothing needs a constructor: the DLL runs without C runtime start-up
#     code, so a global needing one would silently never be built. Such
#     constructors would sit in .ctors or .init_array sections, or in the
#     constructor list the linker places at the end of .text, and none
#     registers an exit function with msvcrt.dll;
#   - it holds its resources, all in Italian (language 0x0410): menu 106,
#     dialogs 101, 102 and 107, and bitmap 104, a 120 x 256 picture in
#     256 colours.
# Prints what it checked and one FAIL line per violation; exits 1 if any.
#
# Usage: check_rally_dll.sh RALLY.DLL      (OBJDUMP overrides the objdump used)
set -uo pipefail

if [ $# -ne 1 ] || [ ! -f "$1" ]; then
  echo "usage: $0 RALLY.DLL" >&2
  exit 2
fi
dll=$1
. "$(dirname "$0")/pe_common.sh"
pe_read_headers

# The resources as "type name language rva size" lines (numbers in
# decimal), from the resource directory that objdump -p prints. The tree's
# level shows in where "Entry:" starts: type, then name, then language.
resource_list() {
  local type name language rva size
  awk '/^The \.rsrc Resource Directory section/ { on = 1; next }
       on && /Resources start at offset/ { exit }
       on {
         at = index($0, "Entry: ID: ")
         if (at > 0) {
           id = substr($0, at + 13, 6)
           if (at == 7) type = id
           else if (at == 9) name = id
           else if (at == 11) language = id
         }
         if ($2 == "Leaf:") {
           sub(/^0x/, "", $4); sub(",", "", $4); sub(/^0x/, "", $6); sub(",", "", $6)
           print type, name, language, $4, $6
         }
       }' <<<"$headers" |
    while read -r type name language rva size; do
      echo "$((16#$type)) $((16#$name)) $((16#$language)) $((16#$rva)) $((16#$size))"
    done
}

# The first $2 bytes at image address (rva) $1, as hex pairs, one a line.
image_bytes() {
  local base start
  base=$((16#$(header_value ImageBase)))
  start=$((base + $1))
  "$objdump" -s --start-address="$start" --stop-address=$((start + $2)) "$dll" |
    awk '$1 ~ /^[0-9a-f]+$/ && NF >= 2 { for (i = 2; i <= 5 && i <= NF; i++) print $i }' |
    tr -d '\n' | fold -w2
}

# Little-endian value of $2 bytes at offset $1 of the byte list in $3.
le_value() {
  local -a b
  mapfile -t b <<<"$3"
  local v=0 i
  for ((i = $2 - 1; i >= 0; i--)); do v=$((v * 256 + 16#${b[$1 + i]:-0})); done
  echo "$v"
}

check_resources() {
  local resources kind type id language rva size line missing=0
  resources=$(resource_list)
  for kind in "menu 4 106" "dialog 5 101" "dialog 5 102" "dialog 5 107" "bitmap 2 104"; do
    read -r kind type id <<<"$kind"
    line=$(awk -v t="$type" -v n="$id" '$1 == t && $2 == n' <<<"$resources")
    if [ -z "$line" ]; then
      fail "lacks $kind $id"
      missing=1
      continue
    fi
    while read -r _ _ language rva size; do
      if [ "$language" -ne $((16#0410)) ]; then
        fail "$kind $id is in language $(printf '0x%04x' "$language"), must be Italian (0x0410)"
        missing=1
      fi
    done <<<"$line"
  done
  [ "$missing" -eq 0 ] && ok "resources: menu 106, dialogs 101, 102 and 107, bitmap 104, in Italian"

  line=$(awk '$1 == 2 && $2 == 104 { print $4, $5; exit }' <<<"$resources")
  [ -n "$line" ] || return 0
  read -r rva size <<<"$line"
  local header width height bits colours compression image_size
  header=$(image_bytes "$rva" 40)
  width=$(le_value 4 4 "$header")
  height=$(le_value 8 4 "$header")
  bits=$(le_value 14 2 "$header")
  colours=$(le_value 32 4 "$header")
  compression=$(le_value 16 4 "$header")
  image_size=$(le_value 20 4 "$header")
  [ "$colours" -eq 0 ] && [ "$bits" -le 8 ] && colours=$((1 << bits))
  # Plain (0) with every pixel, or run-length encoded (BI_RLE8, 1) with the
  # encoded size its header gives.
  [ "$compression" -eq 0 ] && image_size=$((120 * 256))
  if [ "$width" -eq 120 ] && [ "$height" -eq 256 ] && [ "$bits" -eq 8 ] && [ "$colours" -eq 256 ] &&
    { [ "$compression" -eq 0 ] || [ "$compression" -eq 1 ]; } && [ "$image_size" -gt 0 ] &&
    [ "$size" -ge $((40 + 4 * 256 + image_size)) ]; then
    ok "bitmap 104 is 120 x 256 in 256 colours"
  else
    fail "bitmap 104 is $width x $height at $bits bits with $colours colours, compression $compression, in $size bytes, must be 120 x 256 at 8 bits with 256 colours, plain or BI_RLE8"
  fi
}

echo "PE check of $dll"
check_format
check_exports Linkage ImportTable
check_imports
check_versions
check_tls
check_constructors
check_no_process_exit_list
check_resources
pe_finish
