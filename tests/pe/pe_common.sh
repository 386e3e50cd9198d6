# The checks that every DLL of the add-on must pass, for the PE check
# scripts to source. The sourcing script sets `dll` to the DLL's path and
# then calls pe_read_headers; each check prints "ok:   ..." or one
# "FAIL: ..." line per violation and counts the violations.
#   - a 32-bit x86 PE DLL, exporting exactly the names given;
#   - imports only from KERNEL32, USER32, ADVAPI32 and msvcrt, none of
#     them delay-loaded;
#   - subsystem version and OS version are 4.0;
#   - no TLS directory and no .tls section (a DLL loaded at run time
#     cannot get TLS on Windows 9x);
#   - nothing needs a constructor: the DLLs run without C runtime start-up
#     code, so a global needing one would silently never be built. Such
#     constructors would sit in .ctors or .init_array sections, or in the
#     constructor list the linker places at the end of .text;
#   - no exit functions registered with msvcrt.dll (atexit, _onexit).

# Reads the DLL's headers into `headers` and `sections`; exits 2 or 1 when
# objdump is missing or cannot read the file.
pe_read_headers() {
  objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
  if ! command -v "$objdump" >/dev/null 2>&1; then
    echo "FAIL: $objdump not found; set OBJDUMP to the i686 MinGW objdump" >&2
    exit 2
  fi
  if ! headers=$("$objdump" -p "$dll" 2>&1) || ! sections=$("$objdump" -h "$dll" 2>&1); then
    echo "FAIL: $objdump cannot read $dll: $headers" >&2
    exit 1
  fi
}

violations=0
ok() { echo "ok:   $*"; }
fail() {
  echo "FAIL: $*"
  violations=$((violations + 1))
}

# Ends the check: a summary line, and exit 1 when anything failed.
pe_finish() {
  if [ "$violations" -gt 0 ]; then
    echo "PE check: $violations violation(s)"
    exit 1
  fi
  echo "PE check: all passed"
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

# The exported names, sorted, each followed by a space.
export_names() {
  awk '/^\[Ordinal\/Name Pointer\] Table/ { on = 1; next }
       on && NF == 0 { exit }
       on && /^[[:space:]]*\[ *[0-9]+\]/ { print $NF }' <<<"$headers" | sort | tr '\n' ' '
}

# Passes when the DLL exports exactly the names given, by name, and nothing else.
check_exports() {
  local expected names count wanted
  expected=$(printf '%s\n' "$@" | sort | tr '\n' ' ')
  wanted=$(printf '%s, ' "$@")
  wanted=${wanted%, }
  [ $# -gt 1 ] && wanted="${wanted%, *} and ${wanted##*, }"
  names=$(export_names)
  count=$(grep -c '+base\[' <<<"$headers")
  if [ "$names" = "$expected" ] && [ "$count" -eq $# ]; then
    ok "exports exactly $wanted"
  else
    fail "exports must be exactly $wanted; found ${count} export(s), named: ${names:-none}"
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


# The functions a DLL imports from $1 (matched without regard to case), one a line.
imported_functions() {
  awk -v want="${1,,}" '/DLL Name:/ { on = (tolower($3) == want); next }
       on && NF == 0 { on = 0 }
       on && $1 ~ /^[0-9a-f]+$/ && NF >= 3 { print $3 }' <<<"$headers"
}

# A DLL without C runtime start-up code has no exit list of its own, so
# atexit would reach the process's list in msvcrt.dll: once the DLL is
# unloaded, the process would call into freed code when it ends.
check_no_process_exit_list() {
  local found
  found=$(imported_functions msvcrt.dll | grep -xE 'atexit|_onexit|__dllonexit' | tr '\n' ' ')
  if [ -n "$found" ]; then
    fail "imports ${found% } from msvcrt.dll: exit functions registered there outlive the DLL"
  else
    ok "registers no exit functions with msvcrt.dll"
  fi
}
