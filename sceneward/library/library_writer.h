#pragma once

#include <cstdint>

#include "sceneward/base/byte_sink.h"
#include "sceneward/library/library_file.h"
#include "sceneward/script/edit_parameters.h"

// Appends the old bytes from `offset` to the end of the section holding it.
void CopySection(ByteSink& sink, const LibraryImage& image, uint32_t offset);

// Appends the add-on's new area entry: mark 1, type code, active flag, the
// scenery folder followed by "\*.BGL", the title.
void WriteAreaEntry(ByteSink& sink, const EditParameters& edit);

// Builds the new library from the old image and the edit: the sections in
// the order 1, 2, 3, 6, area list, 5, and in the area list the entry titled
// `edit.title` replaced in place, added first, or (remove flag) left out.
// The edit must hold a title. False when the new library would be longer than
// kLibraryMaxLength or than the sink.
bool WriteLibraryFile(const LibraryImage& image, const EditParameters& edit, ByteSink& sink);
