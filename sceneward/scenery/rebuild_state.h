#pragma once

#include <cstdint>

#include "sceneward/scenery/work_file.h"

// What the index rebuild knows about the groups standing at the end of the
// new list. Levels are 1 to 4; slot 0 of the arrays is unused so that a
// level is its own index.
struct RebuildState {
  // Headers of each level standing in the new list since that level was
  // last reset by a header of a higher level.
  uint32_t headers[5];
  // Work-file position at which the latest header of each level was written.
  uint32_t header_position[5];
  // Work-file position just behind that header. A header is taken out only
  // while nothing stands behind it, so a rewind never takes kept objects or
  // entries of other kinds with it.
  uint32_t header_end[5];
  uint32_t kept_class1;  // objects of class 1 kept since the latest level-4 header
  uint32_t kept_other;   // objects of other classes kept since the latest level-1, 2 or 3 header
  uint32_t entry_count;  // entries in the new list
  uint32_t list_position;
  bool has_list;
};

constexpr RebuildState kFreshRebuildState{};

// A level is empty when its latest header has nothing kept that it owns: a
// level-4 header owns objects of class 1; a level-3 header owns level-4
// headers and objects of other classes; a level-2 header owns level-3 and
// level-4 headers and objects of other classes before its first level-3
// header; a level-1 header owns level-2 headers.
bool LevelIsEmpty(const RebuildState& state, int level);

// An empty level whose header is the last thing in the new list.
bool LevelCanBeRemoved(const RebuildState& state, const WorkFile& work, int level);

// Takes an empty header of level 2, 3 or 4 out of the new list.
void DropLevel(RebuildState& state, WorkFile& work, int level);

// Makes room for a new header of `level`: an empty one of that level is
// written over, otherwise the new one is counted. The caller then writes
// the header and calls NoteHeaderWritten.
void PlaceHeader(RebuildState& state, WorkFile& work, int level);

// After a header of `level` is written: the groups below it start afresh.
void NoteHeaderWritten(RebuildState& state, const WorkFile& work, int level);

// Notes a kept object of `object_class` written to the new list.
void NoteObjectKept(RebuildState& state, uint16_t object_class);

// At the end of the index: every empty group still standing is taken out,
// from level 4 up to level 1.
void ClosingPass(RebuildState& state, WorkFile& work);
