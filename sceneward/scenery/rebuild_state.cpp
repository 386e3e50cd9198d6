#include "sceneward/scenery/rebuild_state.h"

#include "sceneward/scenery/scenery_file.h"

bool LevelIsEmpty(const RebuildState& s, int level) {
  switch (level) {
    case 4: return s.headers[4] > 0 && s.kept_class1 == 0;
    case 3: return s.headers[3] > 0 && s.headers[4] == 0 && s.kept_other == 0;
    case 2: return s.headers[2] > 0 && s.headers[3] == 0 && s.headers[4] == 0 && s.kept_other == 0;
    case 1: return s.headers[1] > 0 && s.headers[2] == 0;
  }
  return false;
}

bool LevelCanBeRemoved(const RebuildState& state, const WorkFile& work, int level) {
  return LevelIsEmpty(state, level) && work.position == state.header_end[level];
}

void DropLevel(RebuildState& state, WorkFile& work, int level) {
  if (!LevelCanBeRemoved(state, work, level)) return;
  WorkFileRewind(work, state.header_position[level]);
  state.headers[level] -= 1;
  state.entry_count -= 1;
}

void PlaceHeader(RebuildState& state, WorkFile& work, int level) {
  if (LevelCanBeRemoved(state, work, level)) {
    WorkFileRewind(work, state.header_position[level]);
    state.entry_count -= 1;
    return;
  }
  state.headers[level] += 1;
  state.header_position[level] = work.position;
}

void NoteHeaderWritten(RebuildState& state, const WorkFile& work, int level) {
  state.header_end[level] = work.position;
  if (level == 4) {
    state.kept_class1 = 0;
    return;
  }
  for (int lower = level + 1; lower <= 4; ++lower) state.headers[lower] = 0;
  state.kept_other = 0;
}

void NoteObjectKept(RebuildState& state, uint16_t object_class) {
  if (object_class == scenery::kClassUnderLevel4) {
    state.kept_class1 += 1;
  } else {
    state.kept_other += 1;
  }
}

void ClosingPass(RebuildState& state, WorkFile& work) {
  DropLevel(state, work, 4);
  DropLevel(state, work, 3);
  DropLevel(state, work, 2);
  if (LevelCanBeRemoved(state, work, 1)) {
    WorkFileRewind(work, state.header_position[1]);
    state.entry_count -= 1;
  }
}
