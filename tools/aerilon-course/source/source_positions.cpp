#include "tools/aerilon-course/source/source_positions.h"

#include <cmath>
#include <cstdio>

#include "tools/aerilon-course/source/designer_units.h"

using namespace designer_units;

PlaceBook::PlaceBook(SourceErrors& errors, const toml::table* places)
    : errors_(errors), table_(places) {}

std::vector<NamedPlace> PlaceBook::All() {
  std::vector<NamedPlace> all;
  if (table_ == nullptr) return all;
  for (const auto& [key, node] : *table_) {
    if (const NamedPlace* place = Resolve(std::string(key.str()), node)) all.push_back(*place);
  }
  return all;
}

const NamedPlace* PlaceBook::Find(const std::string& name, const toml::node& at) {
  if (table_ == nullptr || !table_->contains(name)) {
    errors_.Add(at.source(), "no place is named \"" + name + "\" in [places]");
    return nullptr;
  }
  return Resolve(name, at);
}

// A chain of places, each given from the next, is read from its far end
// with a list of its own rather than the call stack, however long it is.
const NamedPlace* PlaceBook::Resolve(const std::string& name, const toml::node& at) {
  auto done = resolved_.find(name);
  if (done != resolved_.end()) return &done->second;
  if (failed_.count(name) != 0) return nullptr;  // told once, where it was defined
  if (resolving_.count(name) != 0) {
    errors_.Add(at.source(), "place \"" + name + "\" is given relative to itself");
    return nullptr;
  }
  std::vector<std::string> chain{name};
  resolving_.insert(name);
  while (!chain.empty()) {
    if (std::optional<std::string> base = UnreadBase(chain.back())) {
      resolving_.insert(*base);
      chain.push_back(*base);
      continue;
    }
    ReadPlace(chain.back());
    resolving_.erase(chain.back());
    chain.pop_back();
  }
  done = resolved_.find(name);
  return done != resolved_.end() ? &done->second : nullptr;
}

// The place `at` names, when it has to be read before this one; a place
// being read already (a loop) is told when this one is read.
std::optional<std::string> PlaceBook::UnreadBase(const std::string& name) const {
  const toml::table* place = table_->get_as<toml::table>(name);
  const toml::node* at = place != nullptr ? place->get("at") : nullptr;
  if (at == nullptr || !at->is_string()) return std::nullopt;
  const std::string& base = at->as_string()->get();
  if (!table_->contains(base) || resolved_.count(base) != 0 || failed_.count(base) != 0 ||
      resolving_.count(base) != 0) {
    return std::nullopt;
  }
  return base;
}

void PlaceBook::ReadPlace(const std::string& name) {
  const toml::node& node = *table_->get(name);
  if (!node.is_table()) {
    errors_.Add(node.source(), "place \"" + name +
                                   "\": expected a table such as "
                                   "{ lat = \"N26 22.5\", lon = \"E170 32.4\" }");
    failed_.insert(name);
    return;
  }
  Fields fields(errors_, *node.as_table(), "place \"" + name + "\"");
  std::optional<SourcePoint> point = Point(fields);
  std::optional<int32_t> elevation = fields.Quantity("elevation", Dimension::kAltitude, false);
  fields.Finish();
  if (!point) {
    failed_.insert(name);
    return;
  }
  resolved_.emplace(name, NamedPlace{name, point->lat, point->lon, elevation, SpotOf(node)});
}

namespace {

// No two points are further apart than half way round the earth.
bool WithinHalfwayRound(Fields& fields, const char* key, std::optional<double> metres) {
  if (!metres || std::fabs(*metres) <= kHalfwayRoundMetres) return true;
  char shown[32];
  std::snprintf(shown, sizeof shown, "%g", *metres);
  fields.Error(*fields.Take(key), std::string(key) + ": " + shown +
                                      " m is more than half way round the earth (20015 km)");
  return false;
}

}  // namespace

std::optional<SourcePoint> PlaceBook::Point(Fields& fields) {
  const toml::node* at = fields.Take("at");
  std::optional<int32_t> lat = fields.Quantity("lat", Dimension::kLatitude, false);
  std::optional<int32_t> lon = fields.Quantity("lon", Dimension::kLongitude, false);
  std::optional<double> north = fields.Distance("north", false);
  std::optional<double> east = fields.Distance("east", false);
  std::optional<double> distance = fields.Distance("distance", false);
  std::optional<double> bearing = fields.Bearing("bearing", false);
  bool absolute = fields.Has("lat") || fields.Has("lon");
  bool by_offset = fields.Has("north") || fields.Has("east");
  bool by_bearing = fields.Has("distance") || fields.Has("bearing");
  if (at == nullptr) {
    if (!absolute) {
      fields.Missing("position", "at = \"PLACE\", or lat and lon");
      return std::nullopt;
    }
    if (by_offset || by_bearing) {
      fields.Missing("at", "north, east, distance and bearing are measured from a place");
    }
    if (!fields.Has("lat")) fields.Missing("lat", "a latitude such as \"N26 22.5\"");
    if (!fields.Has("lon")) fields.Missing("lon", "a longitude such as \"E170 32.4\"");
    if (!lat || !lon) return std::nullopt;
    return SourcePoint{*lat, *lon, nullptr};
  }
  if (!at->is_string()) {
    fields.Error(*at, "at: expected the name of a place, in double quotes");
    return std::nullopt;
  }
  if (absolute) fields.Error(*at, "give either at = \"PLACE\" or lat and lon, not both");
  if (by_offset && by_bearing) {
    fields.Error(*at, "give north and east, or distance and bearing, not both");
  }
  if (fields.Has("distance") != fields.Has("bearing")) {
    fields.Error(*at, "distance and bearing go together");
  }
  const NamedPlace* place = Find(at->as_string()->get(), *at);
  bool near_enough = true;  // each offset too far is told
  for (const auto& [key, metres] :
       {std::pair{"north", north}, std::pair{"east", east}, std::pair{"distance", distance}}) {
    if (!WithinHalfwayRound(fields, key, metres)) near_enough = false;
  }
  if (place == nullptr || absolute || !near_enough) return std::nullopt;
  SourcePoint point{place->lat, place->lon, place};
  if (by_bearing && distance && bearing) {
    OffsetDistanceBearing(place->lat, place->lon, *distance, *bearing, &point.lat, &point.lon);
    point.place = nullptr;
  } else if (by_offset && !by_bearing) {
    if (!OffsetNorthEast(place->lat, place->lon, north.value_or(0), east.value_or(0), &point.lat,
                         &point.lon)) {
      fields.Error(*fields.Take(north ? "north" : "east"),
                   std::string(north ? "north" : "east") + ": the point would lie beyond the pole");
      return std::nullopt;
    }
    point.place = nullptr;
  }
  return point;
}

std::optional<std::pair<int32_t, int32_t>> PlaceBook::HalfSizes(Fields& fields, const char* key,
                                                                int32_t latitude, bool required,
                                                                bool full_size) {
  const toml::node* node = fields.Take(key);
  if (node == nullptr) {
    if (required) fields.Missing(key, "a distance, or [north-south, east-west] distances");
    return std::nullopt;
  }
  const toml::array* both = node->as_array();
  if (both != nullptr && both->size() != 2) {
    fields.Error(*node,
                 std::string(key) + ": expected one distance or two, [north-south, east-west]");
    return std::nullopt;
  }
  std::optional<int32_t> halves[2];
  for (int axis = 0; axis < 2; ++axis) {
    const toml::node& part = both != nullptr ? *both->get(static_cast<size_t>(axis)) : *node;
    if (part.is_table() && !full_size) {  // { raw = N }: the half-size in the file's units
      halves[axis] = fields.QuantityOf(part, key, Dimension::kDistance);
      continue;
    }
    std::optional<double> metres = fields.DistanceOf(part, key);
    if (!metres) return std::nullopt;
    if (*metres < 0) {
      fields.Error(part, std::string(key) + ": a size cannot be negative");
      return std::nullopt;
    }
    double per_unit = axis == 0 ? MetresPerLatitudeUnit() : MetresPerLongitudeUnit(latitude);
    halves[axis] = MetresToUnits(full_size ? *metres / 2 : *metres, per_unit);
    if (!halves[axis]) fields.Error(part, std::string(key) + ": too large for the course file");
  }
  if (!halves[0] || !halves[1]) return std::nullopt;
  return std::make_pair(*halves[0], *halves[1]);
}

std::optional<course_model::Box> PlaceBook::Box(Fields& fields, SourcePoint* centre) {
  bool edges = fields.Has("lat_min") || fields.Has("lat_max") || fields.Has("lon_min") ||
               fields.Has("lon_max");
  if (edges) {
    std::optional<int32_t> lat_min = fields.Quantity("lat_min", Dimension::kLatitude, true);
    std::optional<int32_t> lat_max = fields.Quantity("lat_max", Dimension::kLatitude, true);
    std::optional<int32_t> lon_min = fields.Quantity("lon_min", Dimension::kLongitude, true);
    std::optional<int32_t> lon_max = fields.Quantity("lon_max", Dimension::kLongitude, true);
    for (const char* key : {"at", "lat", "lon", "size"}) {
      if (fields.Has(key)) {
        fields.Error(*fields.Take(key), std::string("give a box by its four edges or by its "
                                                    "centre and size, not both (") +
                                            key + ")");
      }
    }
    if (!lat_min || !lat_max || !lon_min || !lon_max) return std::nullopt;
    *centre = SourcePoint{static_cast<int32_t>((int64_t{*lat_min} + *lat_max) / 2),
                          static_cast<int32_t>((int64_t{*lon_min} + *lon_max) / 2), nullptr};
    return course_model::Box{*lat_min, *lat_max, *lon_min, *lon_max};
  }
  std::optional<SourcePoint> point = Point(fields);
  if (!point) {
    fields.Take("size");
    return std::nullopt;
  }
  *centre = *point;
  std::optional<std::pair<int32_t, int32_t>> half =
      HalfSizes(fields, "size", point->lat, true, true);
  if (!half) return std::nullopt;
  int64_t south = int64_t{point->lat} - half->first, north = int64_t{point->lat} + half->first;
  if (south < -kPoleLatitudeUnits || north > kPoleLatitudeUnits) {
    fields.Error(*fields.Take("size"),
                 "size: the box would reach beyond the pole; its edges lie within 90 degrees");
    return std::nullopt;
  }
  // Longitudes wrap at 180 degrees as the simulator's do.
  auto lon = [&](int64_t delta) {
    return static_cast<int32_t>(static_cast<uint32_t>(point->lon) + static_cast<uint32_t>(delta));
  };
  return course_model::Box{static_cast<int32_t>(south), static_cast<int32_t>(north),
                           lon(-half->second), lon(half->second)};
}
