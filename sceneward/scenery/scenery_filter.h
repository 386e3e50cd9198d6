#pragma once

#include "sceneward/base/byte_buffer.h"
#include "sceneward/scenery/keep_object.h"
#include "sceneward/scenery/scenery_error.h"
#include "sceneward/script/kill_area.h"

enum class FilterOutcome {
  kUntouched,   // the file's box does not overlap the bounds: leave the file alone
  kNotIndexed,  // no object index: leave the file alone
  kRewritten,   // `rewritten` holds the complete new file
  kFailed,      // `error` says why; leave the file alone
};

struct FilterResult {
  FilterOutcome outcome;
  ByteBuffer rewritten;  // the caller frees it with ByteBufferFree
  SceneryError error;
  uint32_t objects_dropped;  // of a rewritten file
};

// Decides one scenery file, given whole, against the areas of an edit
// script and their union box. Only a file whose box overlaps the bounds
// and that carries the index mark is rewritten: its header unchanged, then
// the rebuilt index with the objects inside the areas left out.
FilterResult FilterSceneryBytes(const ByteSpan& source, const KillAreaList& areas,
                                const KillArea& bounds);
