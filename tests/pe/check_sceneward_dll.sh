#!/usr/bin/env bash
# Checks Sceneward.dll's PE headers for what the setup, the uninstaller and
# Windows 9x need: exactly the exports VISEdit, AreaKill, UninstInitialize
# and UninstUnInitialize by their undecorated names, and the rules every
# DLL of the add-on keeps (pe_common.sh: imports, versions 4.0, no TLS, no
# constructors, no exit functions in the process's list).
# Prints what it checked and one FAIL line per violation; exits 1 if any.
#
# Usage: check_sceneward_dll.sh Sceneward.dll      (OBJDUMP overrides the objdump used)
#        EXPORTS="A B" check_sceneward_dll.sh ...   (another set of expected exports)
set -uo pipefail

if [ $# -ne 1 ] || [ ! -f "$1" ]; then
  echo "usage: $0 Sceneward.dll" >&2
  exit 2
fi
dll=$1
. "$(dirname "$0")/pe_common.sh"
pe_read_headers

read -r -a expected_exports <<<"${EXPORTS:-VISEdit AreaKill UninstInitialize UninstUnInitialize}"

echo "PE check of $dll"
check_format
check_exports "${expected_exports[@]}"
check_imports
check_versions
check_tls
check_constructors
check_no_process_exit_list
pe_finish
