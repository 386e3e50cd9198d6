#include "tools/sceneward/area_warnings.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace {

const char* const kEdgeNames[kAreaEdges] = {"west", "north", "east", "south"};

bool IsLatitude(int edge) {
  return edge == kNorthEdge || edge == kSouthEdge;
}

// "90.000000 S": degrees with the hemisphere, as show-script writes them; a
// value as written may have any size, and a huge one is written short.
std::string Degrees(double degrees, bool latitude) {
  char hemisphere = latitude ? (degrees < 0 ? 'S' : 'N') : (degrees < 0 ? 'W' : 'E');
  double size = degrees < 0 ? -degrees : degrees;
  char text[64];
  std::snprintf(text, sizeof text, size < 1e9 ? "%.6f %c" : "%.6g %c", size, hemisphere);
  return text;
}

std::string Written(const AreaWriting& writing, int edge) {
  return Degrees(writing.seconds[edge].written / 3600.0, IsLatitude(edge));
}

std::string Read(const AreaWriting& writing, int edge) {
  return Degrees(writing.seconds[edge].read / 3600.0, IsLatitude(edge));
}

std::string WrapText(const AreaWriting& writing, int edge) {
  const char* range = IsLatitude(edge) ? "latitudes, 90 S up to but not including 90 N"
                                       : "longitudes, 180 W up to but not including 180 E";
  return std::string("the ") + kEdgeNames[edge] + " edge " + Written(writing, edge) +
         " is outside the range of " + range + ", and wraps around to " + Read(writing, edge);
}

// The edges `low` (south, west) and `high` (north, east) of one direction.
std::string OrderText(const KillArea& area, const AreaWriting& writing, EdgeOrder order, int low,
                      int high) {
  if (order == EdgeOrder::kEmpty) {
    return std::string("the ") + kEdgeNames[high] + " and " + kEdgeNames[low] + " edges are both " +
           Read(writing, high) + ": the area holds no point and clears nothing";
  }
  std::string text = std::string("the ") + kEdgeNames[high] + " edge " + Read(writing, high) +
                     " is not " + (IsLatitude(high) ? "north" : "east") + " of the " +
                     kEdgeNames[low] + " edge " + Read(writing, low) + ": the area clears nothing";
  // Longitudes compare as plain numbers, so no area reaches across the 180th
  // meridian: an eastern west edge and a western east edge mean one that was meant to.
  if (!IsLatitude(high) && area.west >= 0 && area.east < 0) {
    text += " (an area cannot cross the 180th meridian: write one AREA on each side of it)";
  }
  return text;
}

}  // namespace

int WarnAboutAreas(const char* script_path, const EditParameters& edit,
                   const AreaWritings& writings, const char* label) {
  int printed = 0;
  for (int32_t i = 0; i < writings.count && i < edit.kill_area_count; ++i) {
    const KillArea& area = edit.kill_areas[i];
    const AreaWriting& writing = writings.areas[i];
    const AreaFindings findings = CheckKillArea(area, writing);
    std::string texts[kAreaEdges + 2];
    int count = 0;
    for (int edge = kWestEdge; edge < kAreaEdges; ++edge) {
      if (findings.wrapped[edge]) texts[count++] = WrapText(writing, edge);
    }
    if (findings.latitudes != EdgeOrder::kOpen) {
      texts[count++] = OrderText(area, writing, findings.latitudes, kSouthEdge, kNorthEdge);
    }
    if (findings.longitudes != EdgeOrder::kOpen) {
      texts[count++] = OrderText(area, writing, findings.longitudes, kWestEdge, kEastEdge);
    }
    for (int t = 0; t < count; ++t) {
      std::cerr << "sceneward: " << script_path << ":" << writing.line << ": " << label << ": AREA "
                << i + 1 << ": " << texts[t] << "\n";
    }
    printed += count;
  }
  return printed;
}
