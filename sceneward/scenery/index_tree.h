#pragma once

#include "sceneward/base/byte_buffer.h"
#include "sceneward/scenery/scenery_error.h"

// Receives one line of the tree at a time, without a line feed.
typedef void (*IndexTreeLineSink)(void* context, const char* line);

// Shows a scenery file's object index as an indented tree, one line per
// record: the file's box, the list head, group headers of levels 1 to 4
// with the entries they hold indented below them, objects with their class,
// block and position (in units and degrees, where the block has one),
// entries of other kinds and records of other types, each with its file
// offset. The index is checked as the removal reads it; on the first fault
// the lines so far have been given and `error` says what is wrong and where.
bool FormatIndexTree(const ByteSpan& file, IndexTreeLineSink sink, void* context,
                     SceneryError& error);
