#!/usr/bin/env bash
# scripts/setup against a package mirror in the middle of a sync, played by
# stand-ins for apt-get, dpkg and dpkg-query on the PATH: an index of the
# wrong size for some updates, packages that cannot be installed. Nothing
# on the machine is installed or changed.
#   setup_mirror_sync.sh SETUP_SCRIPT WORK_FOLDER
set -u
setup=$(realpath "$1")
work=$2
rm -rf "$work" && mkdir -p "$work" && work=$(realpath "$work") || exit 1
failures=0
fail() { echo "FAIL: $case_name: $*" >&2; failures=$((failures + 1)); }

mkdir -p "$work/bin"
cat >"$work/bin/apt-get" <<'EOF'
#!/usr/bin/env bash
case $1 in
  update)
    echo x >>"$FAKE/updates"
    if [ "$(wc -l <"$FAKE/updates")" -le "$FAKE_BAD_UPDATES" ]; then
      echo "E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 203.0.113.80 80]" >&2
      echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
      exit 100
    fi ;;
  install)
    shift
    packages=()
    for a in "$@"; do [[ $a == -* ]] || packages+=("$a"); done
    for p in "${packages[@]}"; do
      if grep -qxF "$p" "$FAKE/uninstallable"; then
        echo " libglib2.0-0:i386 : Depends: libpcre2-8-0:i386 (>= 10.22) but it is not installable"
        echo "E: Unable to correct problems, you have held broken packages." >&2
        exit 100
      fi
    done
    printf '%s\n' "${packages[@]}" >>"$FAKE/installed" ;;
esac
EOF
cat >"$work/bin/dpkg-query" <<'EOF'
#!/usr/bin/env bash
grep -qxF "${!#}" "$FAKE/installed" && echo "install ok installed"
EOF
cat >"$work/bin/dpkg" <<'EOF'
#!/usr/bin/env bash
case $1 in
  --print-foreign-architectures) cat "$FAKE/architectures" ;;
  --add-architecture) echo "$2" >>"$FAKE/architectures" ;;
esac
EOF
printf '#!/bin/sh\nexec "$@"\n' >"$work/bin/sudo"
chmod +x "$work/bin/"*

# run_setup NAME BAD_UPDATES UNINSTALLABLE... : a fresh machine, a fresh
# checkout; sets status, out (what setup printed) and reason (the file
# scripts/test reads), and updates (how often apt-get update ran).
run_setup() {
  case_name=$1 bad=$2
  shift 2
  export FAKE=$work/$case_name
  mkdir -p "$FAKE/repo/scripts" "$FAKE/binfmt"
  touch "$FAKE/installed" "$FAKE/architectures" "$FAKE/binfmt/register" "$FAKE/binfmt/qemu-i386"
  printf '%s\n' "$@" >"$FAKE/uninstallable"
  cp "$setup" "$FAKE/repo/scripts/setup"
  out=$(PATH="$work/bin:$PATH" FAKE_BAD_UPDATES=$bad AERILON_APT_RETRY_SECONDS=0 \
    AERILON_BINFMT_DIR="$FAKE/binfmt" bash "$FAKE/repo/scripts/setup" 2>&1)
  status=$?
  reason=$(cat "$FAKE/repo/build/wine-unavailable.txt" 2>/dev/null)
  updates=$(wc -l <"$FAKE/updates" 2>/dev/null || echo 0)
}
installed() { grep -qxF "$1" "$FAKE/installed"; }
expect() {  # what, expected, actual
  [ "$2" = "$3" ] || fail "$1: expected [$2], got [$3]"$'\n'"$out"
}

# The mirror recovers at the third update: setup waits for it.
run_setup recovers 2
expect "exit status" 0 "$status"
expect "updates" 4 "$updates"
expect "retries said" 2 "$(grep -c 'apt-get update failed (attempt [12] of 4): Failed to fetch .*unexpected size' <<<"$out")"
installed wine32:i386 && installed libcairo2-dev || fail "not everything was installed"
expect "Wine's reason" "" "$reason"

# The i386 index stays broken: everything else installs, Wine's 32-bit part
# does not, and the reason names the package, the dependency and the index.
run_setup i386_index_broken 99 wine32:i386
expect "exit status" 0 "$status"
expect "updates" 8 "$updates"
installed libcairo2-dev && installed wine && installed xvfb || fail "what could be installed was not"
installed wine32:i386 && fail "wine32:i386 shows as installed"
expect "Wine's reason" "wine32:i386 (libglib2.0-0:i386 : Depends: libpcre2-8-0:i386 (>= 10.22) but it is not installable); the package index is incomplete: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 203.0.113.80 80]" "$reason"
grep -q '^setup: WARNING: Wine could not be installed: wine32:i386 ' <<<"$out" || fail "no warning"$'\n'"$out"

# A package the build needs cannot be installed: setup stops and names it.
run_setup build_package_missing 0 libcairo2-dev
expect "exit status" 1 "$status"
grep -qxF 'setup: error: these packages the build needs could not be installed: libcairo2-dev (libglib2.0-0:i386 : Depends: libpcre2-8-0:i386 (>= 10.22) but it is not installable)' <<<"$out" ||
  fail "no error naming libcairo2-dev"$'\n'"$out"
installed wine && fail "setup went on to Wine"

# Everything is there: setup asks apt for nothing, and an old reason goes.
run_setup nothing_missing 0
mkdir -p "$FAKE/repo/build" && echo "old reason" >"$FAKE/repo/build/wine-unavailable.txt"
rm -f "$FAKE/updates"
out=$(PATH="$work/bin:$PATH" FAKE_BAD_UPDATES=0 AERILON_BINFMT_DIR="$FAKE/binfmt" \
  bash "$FAKE/repo/scripts/setup" 2>&1)
expect "exit status" 0 $?
[ ! -e "$FAKE/updates" ] || fail "apt-get update ran with nothing to install"
[ ! -e "$FAKE/repo/build/wine-unavailable.txt" ] || fail "the old reason stayed"

[ "$failures" -eq 0 ] && echo "setup: all cases passed"
exit $((failures > 0))
