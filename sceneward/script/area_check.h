#pragma once

#include <cstdint>

#include "sceneward/script/coordinates.h"
#include "sceneward/script/edit_parameters.h"

// The edges of an AREA in the order the script writes them.
enum AreaEdge { kWestEdge, kNorthEdge, kEastEdge, kSouthEdge, kAreaEdges };

// How the script wrote one AREA, beside the KillArea it reads as: the line of
// its keyword and the seconds of arc of each edge, as written and as read.
struct AreaWriting {
  int32_t line;
  CoordinateSeconds seconds[kAreaEdges];
};

// The writings of a script's areas, in the order of its KillArea table. The
// parser fills it for the command-line tool; the DLL keeps none.
struct AreaWritings {
  AreaWriting areas[kMaxKillAreas];
  int32_t count;
};

// How the two edges of one direction stand: the north edge above the south
// edge, the east edge east of the west edge; or both edges alike; or the
// wrong way round.
enum class EdgeOrder { kOpen, kEmpty, kInverted };

// What makes an area clear other objects than its text suggests.
// The areas are plain boxes: a point lies inside only strictly between the
// edges' values, so an area whose west edge lies east of its east edge (one
// meant to cross the 180th meridian) encloses nothing.
struct AreaFindings {
  bool wrapped[kAreaEdges];  // the edge as written is not the edge as read
  EdgeOrder latitudes;
  EdgeOrder longitudes;
};

AreaFindings CheckKillArea(const KillArea& area, const AreaWriting& writing);
