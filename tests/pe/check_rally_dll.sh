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
#     constructor list the linker places at the end of .text;
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
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
if ! command -v "$objdump" >/dev/null 2>&1; then
  echo "FAIL: $objdump not found; set OBJDUMP to the i686 MinGW objdump" >&2
  exit 2
fi

if ! headers=$("$objdump" -p "$dll" 2>&1) || ! sections=$("$objdump" -h "$dll" 2>&1); then
  echo "FAIL: $objdump cannot read $dll: $headers" >&2
  exit 1
fi

violations=0
ok() { echo "ok:   $*"; }
fail() {
  echo "FAIL: $*"
  violations=$((violations + 1))
}

# The value of a "Name<tab>value" line of the optional header.
header_value() { awk -v name="$1" '$1 == name { print $2; exit }' <<<"$headers"; }
# Size of data directory entry $1 (hex digit), 0 when absent.
directory_size() { awk -v e="$1" '$1 == "Entry" && $2 == e { print $4; exit }' <<<"$headers"; }
section_names() { awk '$1 ~ /^[0-9]+$/ && NF >= 7 { print $2 }' <<<"$sections"; }

check_format() {
  if grep -q 'file format pei-i386' <<<"$headers" && grep -qw 'DLL' <<<"$headers"; then
    ok "a 32-bit x86 PE DLL"
  else
    fail "not a 32-bit x86 PE DLL: $(grep -m1 'file format' <<<"$headers")"
  fi
}

check_exports() {
  local names count
  names=$(awk '/^\[Ordinal\/Name Pointer\] Table/ { on = 1; next }
               on && NF == 0 { exit }
               on && /^[[:space:]]*\[ *[0-9]+\]/ { print $NF }' <<<"$headers" | sort | tr '\n' ' ')
  count=$(grep -c '+base\[' <<<"$headers")
  if [ "$names" = "ImportTable Linkage " ] && [ "$count" -eq 2 ]; then
    ok "exports exactly Linkage and ImportTable"
  else
    fail "exports must be exactly Linkage and ImportTable; found ${count} export(s), named: ${names:-none}"
  fi
}

check_imports() {
  local dlls name bad=0
  dlls=$(awk '/DLL Name:/ { print $3 }' <<<"$headers")
  for name in $dlls; do
    case "${name,,}" in
      kernel32.dll | user32.dll | advapi32.dll | msvcrt.dll) ;;
      *)
        fail "imports from $name (only KERNEL32, USER32, ADVAPI32 and msvcrt are allowed)"
        bad=1
        ;;
    esac
  done
  [ "$bad" -eq 0 ] && ok "imports only from: $(tr '\n' ' ' <<<"$dlls")"
  local delay
  delay=$(directory_size d)
  if [ -n "$delay" ] && [ "$((16#$delay))" -ne 0 ]; then
    fail "has a delay-load import directory (size 0x$delay)"
  else
    ok "no delay-load imports"
  fi
}

check_versions() {
  local kind major minor
  for kind in Subsystem OSystem; do
    major=$(header_value "Major${kind}Version")
    minor=$(header_value "Minor${kind}Version")
    local label=${kind/OSystem/OS}
    if [ "$major" = "4" ] && [ "$minor" = "0" ]; then
      ok "$label version 4.0"
    else
      fail "$label version is ${major:-?}.${minor:-?}, must be 4.0"
    fi
  done
}

check_tls() {
  local tls
  tls=$(directory_size 9)
  if [ -z "$tls" ]; then
    fail "no Thread Storage Directory entry in the headers"
  elif [ "$((16#$tls))" -ne 0 ]; then
    fail "has a TLS directory (entry 9, size 0x$tls)"
  else
    ok "no TLS directory"
  fi
  if section_names | grep -qx '\.tls.*'; then
    fail "has a .tls section"
  else
    ok "no .tls section"
  fi
}

# The words of .text as 8-digit hex values, in address order.
text_words() {
  local vma size
  read -r vma size < <(awk '$2 == ".text" { print $4, $3; exit }' <<<"$sections")
  [ -n "$vma" ] || return 0
  local end=$((16#$vma + 16#$size))
  "$objdump" -s -j .text "$dll" | while read -r address g1 g2 g3 g4 _; do
    [[ $address =~ ^[0-9a-f]{8}$ ]] || continue
    local left=$(((end - 16#$address) / 4)) g
    for g in "$g1" "$g2" "$g3" "$g4"; do
      [ "$left" -gt 0 ] || break
      left=$((left - 1))
      echo "${g:6:2}${g:4:2}${g:2:2}${g:0:2}"
    done
  done
}

# The linker lays out -1, the constructors, 0, then -1, the destructors, 0.
# The entries are addresses inside the image, which tells the list from code.
check_constructors() {
  local found
  found=$(section_names | grep -E '^\.(ctors|dtors|init_array|fini_array)' | tr '\n' ' ')
  if [ -n "$found" ]; then
    fail "has constructor sections: $found"
  else
    ok "no .ctors or .init_array section"
  fi

  local base image_size
  base=$((16#$(header_value ImageBase)))
  image_size=$((16#$(header_value SizeOfImage)))
  local -a w
  mapfile -t w < <(text_words)
  local n=${#w[@]} i j k ctors=-1 dtors=-1
  in_image() { local v=$((16#$1)); [ "$v" -ge "$base" ] && [ "$v" -lt $((base + image_size)) ]; }
  # Index of the first word from $1 on that is not an address in the image.
  list_end() {
    local at=$1
    while [ "$at" -lt "$n" ] && [ "${w[at]}" != 00000000 ] && in_image "${w[at]}"; do
      at=$((at + 1))
    done
    echo "$at"
  }
  for ((i = 0; i < n; i++)); do
    [ "${w[i]}" = ffffffff ] || continue
    j=$(list_end $((i + 1)))
    [ "$j" -lt $((n - 1)) ] && [ "${w[j]}" = 00000000 ] && [ "${w[j + 1]}" = ffffffff ] || continue
    k=$(list_end $((j + 2)))
    [ "$k" -lt "$n" ] && [ "${w[k]}" = 00000000 ] || continue
    ctors=$((j - i - 1))
    dtors=$((k - j - 2))
  done
  if [ "$ctors" -lt 0 ]; then
    fail "cannot find the constructor list in .text, so cannot tell that it is empty"
  elif [ "$ctors" -gt 0 ] || [ "$dtors" -gt 0 ]; then
    fail "the constructor list holds $ctors constructor(s) and $dtors destructor(s); without C runtime start-up code they never run"
  else
    ok "the constructor and destructor lists in .text are empty"
  fi
}

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
  local header width height bits colours
  header=$(image_bytes "$rva" 40)
  width=$(le_value 4 4 "$header")
  height=$(le_value 8 4 "$header")
  bits=$(le_value 14 2 "$header")
  colours=$(le_value 32 4 "$header")
  [ "$colours" -eq 0 ] && [ "$bits" -le 8 ] && colours=$((1 << bits))
  if [ "$width" -eq 120 ] && [ "$height" -eq 256 ] && [ "$bits" -eq 8 ] && [ "$colours" -eq 256 ] &&
    [ "$size" -ge $((40 + 4 * 256 + 120 * 256)) ]; then
    ok "bitmap 104 is 120 x 256 in 256 colours"
  else
    fail "bitmap 104 is $width x $height at $bits bits with $colours colours in $size bytes, must be 120 x 256 at 8 bits with 256 colours"
  fi
}

echo "PE check of $dll"
check_format
check_exports
check_imports
check_versions
check_tls
check_constructors
check_resources
if [ "$violations" -gt 0 ]; then
  echo "PE check: $violations violation(s)"
  exit 1
fi
echo "PE check: all passed"
