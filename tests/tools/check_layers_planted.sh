#!/usr/bin/env bash
# scripts/check-layers over a small tree made here, one planted include at
# a time: downward includes pass; an upward include, one between folders of
# one layer, a library including a tool, a library including a library
# above it, a Windows header outside win32/ and a bare header name each
# fail, naming the file and line.
#   check_layers_planted.sh CHECK_LAYERS WORK_FOLDER
set -u
script=$(realpath "$1")
work=$2
failures=0

# FILE|INCLUDE|what the one line of the refusal says ("" when it passes)
cases=(
  'rally/race/gate.cpp|"rally/host/host_interface.h"|'
  'course_model/course.cpp|"rally/course/scramble.h"|'
  'sim/sim_host.cpp|"course_model/course.h"|'
  'rally/race/targets/gate.cpp|"rally/race/race_texts.h"|'
  'rally/ui/menu_merge.cpp|"rally/race/targets/gate.h"|lies in a higher layer than rally/ui/'
  'rally/host/read_all.cpp|"rally/race/gate.h"|lies in a higher layer than rally/host/'
  'rally/ui/menu_merge.cpp|"rally/resources/resource_ids.h"|lies in the same layer as rally/ui/'
  'rally/race/gate.cpp|"tools/aerilon-course/commands.h"|a library includes no tools/ file'
  'rally/course/score_table.cpp|"course_model/course.h"|rally/ does not build on course_model/'
  'rally/module/lifecycle.cpp|<windows.h>|is Windows-only; only win32/ folders may include it'
  'tools/aerilon-course/main.cpp|"commands.h"|name the header by its path from the repository root'
)
for entry in "${cases[@]}"; do
  IFS='|' read -r file include expected <<<"$entry"
  tree=$work/tree
  rm -rf "$tree" && mkdir -p "$tree/scripts" "$tree/$(dirname "$file")" || exit 1
  cp "$script" "$tree/scripts/check-layers"
  printf '#include %s\n' "$include" >"$tree/$file"
  git -C "$tree" init -q && git -C "$tree" add -A || exit 1
  out=$(python3 "$tree/scripts/check-layers" 2>&1)
  status=$?
  if [ -z "$expected" ]; then
    [ "$status" -eq 0 ] || { echo "FAIL: $file including $include was refused: $out"; failures=$((failures + 1)); }
  elif [ "$status" -ne 1 ] || ! grep -qF "$file:1: " <<<"$out" || ! grep -qF "$expected" <<<"$out"; then
    echo "FAIL: $file including $include: status $status, not a refusal saying [$expected]: $out"
    failures=$((failures + 1))
  fi
done
[ "$failures" -eq 0 ] && echo "check-layers: ${#cases[@]} planted includes judged right"
exit $((failures > 0))
