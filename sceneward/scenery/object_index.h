#pragma once

#include "sceneward/base/byte_buffer.h"
#include "sceneward/scenery/keep_object.h"
#include "sceneward/scenery/scenery_error.h"

enum class RebuildResult { kRebuilt, kNotIndexed, kFailed };

// Rewrites the object index of `source` (a whole scenery file) without the
// objects inside the areas, appending to `output`, whose positions are file
// offsets of the rewritten file (the caller has put the 128-byte header
// there). Appended: the extension block with the new index offset, the kept
// objects' blocks in index order (one copy per entry), the old end record,
// the new list head and the rest of the work file, eight zero bytes.
//
// `objects_dropped` counts the object entries left out.
// A file that is not indexed gets nothing appended. On failure `error` says
// what is wrong and where, and `output` holds a partial file to be thrown
// away.
RebuildResult RebuildObjectIndex(ByteBuffer& output, const ByteSpan& source,
                                 const KillAreaList& areas, SceneryError& error,
                                 uint32_t& objects_dropped);
