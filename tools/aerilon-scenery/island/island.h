#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/aerilon-course/course_document.h"

// The add-on's island as its source describes it, in the course file's
// units (latitude 90 degrees = 10,001,750, longitude 360 degrees = 2^32,
// metres), with where each part was written.

struct IslandPoint {
  int32_t lat = 0, lon = 0;
};

// A piece of ground: the area inside its outline stands at its elevation.
// A later area stands on an earlier one (a plateau on the island, an
// islet in the sea around it).
struct LandArea {
  std::string name;
  std::vector<IslandPoint> outline;  // at least three corners, in order
  int32_t elevation = 0;             // metres above the sea
  SourceSpot spot;
};

enum class RunwaySurface { kAsphalt, kConcrete, kGrass, kDirt };

// A runway by its centre, true heading, length and width.
struct Runway {
  IslandPoint centre;
  double heading = 0;            // degrees true, 0 to 360, one of its two directions
  double length = 0, width = 0;  // metres
  RunwaySurface surface = RunwaySurface::kAsphalt;
  SourceSpot spot;
};

// An airfield: its ground is flat at its elevation around its runways.
struct Airfield {
  std::string name;
  int32_t elevation = 0;  // metres
  std::vector<Runway> runways;
  SourceSpot spot;
};

enum class LandmarkKind { kLighthouse, kBuilding, kHangar, kTower };

struct Landmark {
  std::string name;
  LandmarkKind kind = LandmarkKind::kBuilding;
  IslandPoint at;
  double height = 0, size = 0;  // metres: how tall, and the side of its square base
  double heading = 0;           // degrees true, the way its front faces
  SourceSpot spot;
};

struct Island {
  std::string file;  // where it was read from, for messages
  std::string title;
  std::vector<LandArea> land;
  std::vector<Airfield> airfields;
  std::vector<Landmark> landmarks;
  std::vector<NamedPlace> places;
  // The course sources the island is made for (their places are the
  // island's too), as the source names them, relative to its folder.
  std::vector<std::string> courses;
};

const char* RunwaySurfaceName(RunwaySurface surface);
const char* LandmarkKindName(LandmarkKind kind);
