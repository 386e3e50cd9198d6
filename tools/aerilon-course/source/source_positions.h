#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "course_model/course.h"
#include "tools/aerilon-course/course_document.h"
#include "tools/aerilon-course/source/source_fields.h"

// A point in the file's units, and the named place it was given by (for a
// landing's ground altitude).
struct SourcePoint {
  int32_t lat = 0, lon = 0;
  const NamedPlace* place = nullptr;  // when given by `at` without an offset
};

// The source's named places, read on first use so that one place may be
// given relative to another, in any order.
class PlaceBook {
 public:
  PlaceBook(SourceErrors& errors, const toml::table* places);
  // Every place, resolved, in the order of the source.
  std::vector<NamedPlace> All();
  // The place of that name; null (with an error at `at`) when unknown.
  const NamedPlace* Find(const std::string& name, const toml::node& at);

  // A point from the object's own keys: lat and lon; or at = "PLACE",
  // optionally with north and east, or distance and bearing, from it.
  std::optional<SourcePoint> Point(Fields& fields);
  // A box from its four edges (lat_min, lat_max, lon_min, lon_max), or
  // from a centre point and a size: one distance (a square) or
  // [north-south, east-west].
  std::optional<course_model::Box> Box(Fields& fields, SourcePoint* centre);
  // Half-sizes in the file's units (latitude, longitude) at a latitude,
  // from one distance or [north-south, east-west]: whole sizes, or
  // half-sizes that may also be { raw = N }.
  std::optional<std::pair<int32_t, int32_t>> HalfSizes(Fields& fields, const char* key,
                                                       int32_t latitude, bool required,
                                                       bool full_size);

 private:
  const NamedPlace* Resolve(const std::string& name, const toml::node& at);
  std::optional<std::string> UnreadBase(const std::string& name) const;
  void ReadPlace(const std::string& name);

  SourceErrors& errors_;
  const toml::table* table_;
  std::map<std::string, NamedPlace> resolved_;
  std::set<std::string> resolving_;
  std::set<std::string> failed_;
};
