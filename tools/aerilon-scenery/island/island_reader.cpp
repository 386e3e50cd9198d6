#include "tools/aerilon-scenery/island/island_reader.h"

#include <toml++/toml.h>
#include <filesystem>

#include "tools/aerilon-course/source/nearest_name.h"
#include "tools/aerilon-course/source/source_fields.h"
#include "tools/aerilon-course/source/source_positions.h"
#include "tools/common/input_file.h"

namespace {

constexpr int32_t kLowestGround = -500, kHighestGround = 9000;  // metres

const std::vector<std::string> kSurfaces = {"asphalt", "concrete", "grass", "dirt"};
const std::vector<std::string> kLandmarks = {"lighthouse", "building", "hangar", "tower"};

class IslandReader {
 public:
  IslandReader(SourceErrors& errors, const toml::table& root, const toml::table& places,
               Island* island)
      : errors_(errors), root_(errors, root, ""), places_(errors, &places), island_(island) {}

  void Read() {
    root_.Take("places");
    root_.Take("courses");
    island_->title = root_.Windows1252("title");
    ForEach("land", "land area", [&](Fields& f, SourceSpot spot) { ReadLand(f, spot); });
    ForEach("airfield", "airfield", [&](Fields& f, SourceSpot spot) { ReadAirfield(f, spot); });
    ForEach("landmark", "landmark", [&](Fields& f, SourceSpot spot) { ReadLandmark(f, spot); });
    root_.Finish();
    island_->places = places_.All();
    if (island_->land.empty()) errors_.Add(SpotOf(root_.Raw()), "the island has no [[land]]");
  }

 private:
  template <typename Read>
  void ForEach(const char* key, const std::string& what, Read read) {
    const toml::array* items = root_.Array(key);
    if (items == nullptr) return;
    for (size_t i = 0; i < items->size(); ++i)
      ReadItem(*items->get(i), key, what + " " + std::to_string(i + 1), read);
  }

  template <typename Read>
  void ReadItem(const toml::node& item, const char* key, const std::string& name, Read read) {
    if (!item.is_table()) {
      errors_.Add(item.source(), name + ": expected a table ([[" + std::string(key) + "]])");
      return;
    }
    Fields fields(errors_, *item.as_table(), name);
    read(fields, SpotOf(item));
    fields.Finish();
  }

  IslandPoint Point(Fields& f) {
    std::optional<SourcePoint> p = places_.Point(f);
    return p ? IslandPoint{p->lat, p->lon} : IslandPoint{};
  }

  int32_t Ground(Fields& f, const char* key) {
    std::optional<int32_t> metres = f.Quantity(key, Dimension::kAltitude, true);
    if (metres && (*metres < kLowestGround || *metres > kHighestGround)) {
      f.Error(*f.Raw().get(key),
              std::string(key) + ": " + std::to_string(*metres) + " m is no ground's elevation (" +
                  std::to_string(kLowestGround) + " to " + std::to_string(kHighestGround) + " m)");
    }
    return metres.value_or(0);
  }

  double Size(Fields& f, const char* key, double low, double high, bool required, double fallback) {
    std::optional<double> metres = f.Distance(key, required);
    if (!metres) return fallback;
    if (*metres < low || *metres > high) {
      f.Error(*f.Raw().get(key), std::string(key) + ": " +
                                     std::to_string(static_cast<int>(*metres)) + " m; a " +
                                     f.What().substr(0, f.What().find(' ')) + " here is " +
                                     std::to_string(static_cast<int>(low)) + " to " +
                                     std::to_string(static_cast<int>(high)) + " m");
    }
    return *metres;
  }

  // One of `names`, with "did you mean" for a near miss.
  size_t Choice(Fields& f, const char* key, const std::vector<std::string>& names,
                size_t fallback) {
    std::optional<std::string> word = f.String(key, false);
    if (!word) return fallback;
    for (size_t i = 0; i < names.size(); ++i) {
      if (*word == names[i]) return i;
    }
    std::string known;
    for (const std::string& n : names) known += (known.empty() ? "" : ", ") + n;
    std::optional<std::string> near = NearestName(*word, names);
    f.Error(*f.Raw().get(key), std::string(key) + ": \"" + *word + "\" is none of " + known +
                                   (near ? "; did you mean \"" + *near + "\"?" : ""));
    return fallback;
  }

  void ReadLand(Fields& f, SourceSpot spot) {
    LandArea area;
    area.spot = spot;
    area.name = f.String("name", false).value_or(f.What());
    area.elevation = Ground(f, "elevation");
    const toml::array* corners = f.Array("outline");
    if (corners == nullptr) {
      f.Missing("outline", "an array of at least three corners, each { lat, lon } or { at = ... }");
    } else {
      for (size_t i = 0; i < corners->size(); ++i) {
        ReadItem(*corners->get(i), "outline", f.What() + ", corner " + std::to_string(i + 1),
                 [&](Fields& c, SourceSpot) { area.outline.push_back(Point(c)); });
      }
      if (corners->size() < 3)
        f.Error(*corners, "outline: " + std::to_string(corners->size()) +
                              " corners; an area needs at least three");
    }
    island_->land.push_back(area);
  }

  void ReadAirfield(Fields& f, SourceSpot spot) {
    Airfield field;
    field.spot = spot;
    field.name = f.String("name", true).value_or("");
    field.elevation = Ground(f, "elevation");
    const toml::array* runways = f.Array("runway");
    if (runways == nullptr || runways->empty())
      f.Missing("runway", "at least one [[airfield.runway]]");
    for (size_t i = 0; runways != nullptr && i < runways->size(); ++i) {
      ReadItem(*runways->get(i), "airfield.runway", f.What() + ", runway " + std::to_string(i + 1),
               [&](Fields& r, SourceSpot at) { field.runways.push_back(ReadRunway(r, at)); });
    }
    island_->airfields.push_back(field);
  }

  Runway ReadRunway(Fields& f, SourceSpot spot) {
    Runway r;
    r.spot = spot;
    r.centre = Point(f);
    r.heading = f.Bearing("heading", true).value_or(0);
    r.length = Size(f, "length", 100, 6000, true, 0);
    r.width = Size(f, "width", 10, 200, true, 0);
    r.surface = static_cast<RunwaySurface>(Choice(f, "surface", kSurfaces, 0));
    return r;
  }

  void ReadLandmark(Fields& f, SourceSpot spot) {
    Landmark l;
    l.spot = spot;
    l.name = f.String("name", true).value_or("");
    l.kind = static_cast<LandmarkKind>(Choice(f, "kind", kLandmarks, 1));
    l.at = Point(f);
    l.height = Size(f, "height", 1, 500, true, 0);
    l.size = Size(f, "size", 1, 500, false, 10);
    l.heading = f.Bearing("heading", false).value_or(0);
    island_->landmarks.push_back(l);
  }

  SourceErrors& errors_;
  Fields root_;
  PlaceBook places_;
  Island* island_;
};

// The island's own [places] and those of its course sources: one table.
toml::table MergedPlaces(const toml::table& root, const std::vector<toml::table>& courses) {
  toml::table places;
  if (const toml::table* own = root.get_as<toml::table>("places")) places = *own;
  for (const toml::table& course : courses) {
    const toml::table* theirs = course.get_as<toml::table>("places");
    if (theirs == nullptr) continue;
    for (const auto& [name, node] : *theirs) {
      if (!places.contains(name)) places.insert(name, node);
    }
  }
  return places;
}

bool Parse(const std::string& text, const std::string& file, toml::table* root,
           SourceErrors& errors) {
  try {
    *root = toml::parse(text, file);
    return true;
  } catch (const toml::parse_error& e) {
    errors.Add(SourceSpot{static_cast<int>(e.source().begin.line),
                          static_cast<int>(e.source().begin.column)},
               std::string(e.description()));
    return false;
  }
}

std::vector<std::string> CourseNames(const toml::table& root, SourceErrors& errors) {
  std::vector<std::string> names;
  const toml::node* courses = root.get("courses");
  if (courses == nullptr) return names;
  const toml::array* list = courses->as_array();
  for (size_t i = 0; list != nullptr && i < list->size(); ++i) {
    if (std::optional<std::string> name = list->get(i)->value<std::string>())
      names.push_back(*name);
  }
  if (list == nullptr || names.size() != list->size()) {
    errors.Add(courses->source(), "courses: expected an array of course source files (texts)");
  }
  return names;
}

bool ReadWithCourses(const std::string& text, const std::string& file,
                     const std::vector<toml::table>& courses, Island* island,
                     std::vector<Diagnostic>* diagnostics) {
  SourceErrors errors(file, diagnostics);
  toml::table root;
  if (!Parse(text, file, &root, errors)) return false;
  island->file = file;
  island->courses = CourseNames(root, errors);
  toml::table places = MergedPlaces(root, courses);
  IslandReader(errors, root, places, island).Read();
  return !errors.Any();
}

}  // namespace

bool ReadIslandSource(const std::string& text, const std::string& file, Island* island,
                      std::vector<Diagnostic>* diagnostics) {
  return ReadWithCourses(text, file, {}, island, diagnostics);
}

bool LoadIsland(const std::string& path, Island* island, std::vector<Diagnostic>* diagnostics) {
  std::string text, problem;
  if (!ReadInputText(path, &text, &problem)) {
    diagnostics->push_back(Diagnostic{Severity::kError, path, 0, 0, problem});
    return false;
  }
  SourceErrors errors(path, diagnostics);
  toml::table root;
  if (!Parse(text, path, &root, errors)) return false;
  std::vector<toml::table> courses;
  std::filesystem::path folder = std::filesystem::path(path).parent_path();
  for (const std::string& name : CourseNames(root, errors)) {
    std::string course_path = (folder / name).string(), course_text;
    toml::table course;
    if (!ReadInputText(course_path, &course_text, &problem)) {
      errors.Add(SpotOf(*root.get("courses")), "courses: " + course_path + ": " + problem);
    } else if (Parse(course_text, course_path, &course, errors)) {
      courses.push_back(course);
    }
  }
  if (errors.Any()) return false;
  return ReadWithCourses(text, path, courses, island, diagnostics);
}
