#include "tools/aerilon-course/source/source_reader.h"

#include <algorithm>
#include <set>
#include <stdexcept>
#include <utility>

#include "course_model/course_writer.h"
#include "rally/course/course_format.h"
#include "tools/aerilon-course/source/nearest_name.h"
#include "tools/aerilon-course/source/source_fields.h"
#include "tools/aerilon-course/source/source_positions.h"
#include "tools/aerilon-course/source/source_scan.h"
#include "tools/aerilon-course/source/source_syntax.h"

using namespace course_model;

namespace {

// Box condition bits and the flag bits of a bonus object.
constexpr int32_t kRefuseMoving = 1, kRefuseAirborne = 4, kRefuseOnGround = 8;
constexpr int32_t kPercentFlag = 16;
constexpr int kFirstConditionBit = 6;
constexpr int32_t kEveryCondition = static_cast<int32_t>(0xFFFFFFC0u);

const std::vector<std::string> kKinds = {"message",     "gate",      "waypoint",    "landing",
                                         "track_start", "track_end", "collectible", "quiz_timer"};

class CourseSourceReader {
 public:
  CourseSourceReader(SourceErrors& errors, const toml::table& root, CourseDocument* document,
                     const std::set<std::string>& told)
      : errors_(errors),
        root_(errors, root, ""),
        document_(document),
        places_(errors, root.get_as<toml::table>("places")) {
    for (const std::string& key : told) root_.Told(key);
  }

  void Read() {
    Course& course = document_->course;
    root_.Take("places");
    document_->header = SpotOf(root_.Raw());
    course.first_title = Title("title");
    course.second_title = Title("subtitle");
    course.leg_count = root_.Integer("leg_count", false, 0, course::kMaxLegs);
    ForEachTable("leg", "leg", [&](Fields& f, SourceSpot spot) { ReadLeg(f, spot); });
    ForEachTable("bonus", "bonus object", [&](Fields& f, SourceSpot spot) { ReadBonus(f, spot); });
    ForEachTable("question", "quiz question",
                 [&](Fields& f, SourceSpot spot) { ReadQuestion(f, spot); });
    ReadEntryOrder();
    root_.Finish();
    document_->places = places_.All();
    CheckCounts();
  }

 private:
  std::string Title(const char* key) {
    const toml::node* node = root_.Take(key);
    std::string title = root_.Windows1252(key);
    if (node != nullptr && title.size() >= course::kTitleBytes) {
      root_.Error(*node, std::string(key) + ": " + std::to_string(title.size()) +
                             " bytes long; at most " + std::to_string(course::kTitleBytes - 1) +
                             " fit the course file");
    }
    return title;
  }

  template <typename Read>
  void ForEachTable(const char* key, const std::string& what, Read read) {
    const toml::array* items = root_.Array(key);
    if (items == nullptr) return;
    for (size_t i = 0; i < items->size(); ++i) {
      const toml::node& item = *items->get(i);
      std::string name = what + " " + std::to_string(i + 1);
      if (!item.is_table()) {
        errors_.Add(item.source(), name + ": expected a table ([[" + std::string(key) + "]])");
        continue;
      }
      Fields fields(errors_, *item.as_table(), name);
      read(fields, SpotOf(item));
      fields.Finish();
    }
  }

  int32_t Need(std::optional<int32_t> value) { return value.value_or(0); }

  StartGate ReadStart(Fields& f) {
    SourcePoint centre;
    StartGate g{};
    g.box = places_.Box(f, &centre).value_or(Box{});
    g.alt_centre = Need(f.Quantity("altitude", Dimension::kAltitude, true));
    g.alt_band = Need(f.Quantity("altitude_tolerance", Dimension::kAltitude, true));
    g.speed_min = Need(f.Quantity("speed_min", Dimension::kSpeed, true));
    g.speed_max = Need(f.Quantity("speed_max", Dimension::kSpeed, true));
    g.heading = Need(f.Quantity("heading", Dimension::kHeading, true));
    return g;
  }

  Message ReadMessage(Fields& f) {
    Message m;
    m.seconds = Need(f.Quantity("seconds", Dimension::kSeconds, true));
    m.text = f.Text("text");
    m.voice = f.Text("voice");
    return m;
  }

  Gate ReadGate(Fields& f) {
    StartGate box = ReadStart(f);
    return Gate{box.box,       box.alt_centre, box.alt_band,      box.speed_min,
                box.speed_max, box.heading,    f.Text("warning"), f.Text("warning_voice")};
  }

  Waypoint ReadWaypoint(Fields& f) {
    Waypoint w;
    SourcePoint point = places_.Point(f).value_or(SourcePoint{});
    w.lat = point.lat;
    w.lon = point.lon;
    w.radius = Need(f.Quantity("radius", Dimension::kDistance, true));
    w.alt = Need(f.Quantity("altitude", Dimension::kAltitude, true));
    w.alt_band = Need(f.Quantity("altitude_tolerance", Dimension::kAltitude, true));
    w.heading = Need(f.Quantity("heading", Dimension::kHeading, true));
    w.warning_text = f.Text("warning");
    w.warning_voice = f.Text("warning_voice");
    return w;
  }

  // The landing's altitude defaults to the elevation of the place its box
  // is centred on.
  Landing ReadLanding(Fields& f) {
    Landing l;
    SourcePoint centre;
    l.box = places_.Box(f, &centre).value_or(Box{});
    std::optional<int32_t> alt = f.Quantity("altitude", Dimension::kAltitude, false);
    if (!alt && centre.place != nullptr && centre.place->elevation) alt = centre.place->elevation;
    if (!alt && !f.Has("altitude")) {
      f.Missing("altitude", "the ground's altitude, or a box centred at a place with an elevation");
    }
    l.alt = alt.value_or(0);
    l.heading = Need(f.Quantity("heading", Dimension::kHeading, true));
    l.warning_text = f.Text("warning");
    l.warning_voice = f.Text("warning_voice");
    return l;
  }

  // The near zone is 1852 m, 926 m or 10 m; another selector keeps the
  // previous track's and is written { raw = N }.
  int32_t NearZone(Fields& f) {
    const toml::node* node = f.Take("near_zone");
    if (node == nullptr) {
      f.Missing("near_zone", "\"1 NM\", \"0.5 NM\" or \"10 m\"");
      return 0;
    }
    if (node->is_table()) return Need(f.QuantityOf(*node, "near_zone", Dimension::kDistance));
    std::optional<double> metres = f.DistanceOf(*node, "near_zone");
    if (!metres) return 0;
    for (int32_t selector : {0, 1, 2}) {
      if (*metres == (selector == 0 ? 1852 : selector == 1 ? 926 : 10)) return selector;
    }
    f.Error(*node, "near_zone: the near zone is 1852 m (\"1 NM\"), 926 m (\"0.5 NM\") or 10 m");
    return 0;
  }

  TrackStart ReadTrackStart(Fields& f) {
    TrackStart t;
    SourcePoint point = places_.Point(f).value_or(SourcePoint{});
    t.lat = point.lat;
    t.lon = point.lon;
    t.radial = Need(f.Quantity("radial", Dimension::kRadial, true));
    t.tolerance = Need(f.Quantity("tolerance", Dimension::kAngle, true));
    t.weight = Need(f.Integer("weight", true));
    t.near_zone = NearZone(f);
    return t;
  }

  Collectible ReadCollectible(Fields& f) {
    Collectible c;
    c.name_slot = Need(f.Integer("slot", true));
    c.points = Need(f.Integer("points", true));
    c.name = f.Text("name");
    return c;
  }

  std::optional<LegRecord> ReadRecord(Fields& f) {
    std::optional<std::string> kind = f.String("kind", true);
    if (!kind) return std::nullopt;
    if (*kind == "message") return ReadMessage(f);
    if (*kind == "gate") return ReadGate(f);
    if (*kind == "waypoint") return ReadWaypoint(f);
    if (*kind == "landing") return ReadLanding(f);
    if (*kind == "track_start") return ReadTrackStart(f);
    if (*kind == "track_end") return TrackEnd{};
    if (*kind == "collectible") return ReadCollectible(f);
    if (*kind == "quiz_timer")
      return QuizTimer{Need(f.Quantity("delay", Dimension::kSeconds, true))};
    std::string message = "kind: \"" + *kind +
                          "\" is not one of message, gate, waypoint, landing, track_start, "
                          "track_end, collectible, quiz_timer";
    if (std::optional<std::string> meant = NearestName(*kind, kKinds)) {
      message += "; did you mean \"" + *meant + "\"?";
    }
    f.Error(*f.Take("kind"), message);
    return std::nullopt;
  }

  void ReadLeg(Fields& f, SourceSpot spot) {
    Leg leg;
    LegSpots spots;
    f.String("name", false);  // the designer's own label
    if (const toml::table* start = f.Table("start", true)) {
      Fields start_fields(errors_, *start, f.What() + ", start box");
      leg.start = ReadStart(start_fields);
      start_fields.Finish();
      spots.start = SpotOf(*start);
    } else {
      spots.start = spot;
    }
    if (const toml::array* route = f.Array("route")) {
      for (size_t i = 0; i < route->size(); ++i) {
        const toml::node& item = *route->get(i);
        std::string what = f.What() + ", record " + std::to_string(i + 1);
        if (!item.is_table()) {
          errors_.Add(item.source(), what + ": expected a table ([[leg.route]])");
          continue;
        }
        Fields record(errors_, *item.as_table(), what);
        std::optional<LegRecord> read = ReadRecord(record);
        record.Finish();
        if (!read) continue;
        leg.records.push_back(*read);
        spots.records.push_back(SpotOf(item));
      }
    }
    if (const toml::table* finish = f.Table("finish", true)) {
      Fields end(errors_, *finish, f.What() + ", finish");
      leg.end.base_points = Need(end.Integer("base_points", true));
      leg.end.time_allowance = Need(end.Quantity("time_allowance", Dimension::kSeconds, true));
      leg.end.time_factor = Need(end.Integer("time_factor", true));
      end.Finish();
      spots.end = SpotOf(*finish);
    }
    document_->course.legs.push_back(leg);
    document_->legs.push_back(spots);
  }

  int32_t Conditions(Fields& f) {
    const toml::node* node = f.Take("refuse");
    if (node == nullptr) return 0;
    if (node->is_table()) return Need(f.QuantityOf(*node, "refuse", Dimension::kDistance));
    const toml::array* list = node->as_array();
    int32_t bits = 0;
    for (size_t i = 0; list != nullptr && i < list->size(); ++i) {
      std::optional<std::string_view> name = list->get(i)->value<std::string_view>();
      if (name == "moving") {
        bits |= kRefuseMoving;
      } else if (name == "airborne") {
        bits |= kRefuseAirborne;
      } else if (name == "on_ground") {
        bits |= kRefuseOnGround;
      } else {
        f.Error(*list->get(i), "refuse: expected \"moving\", \"airborne\" or \"on_ground\"");
      }
    }
    if (list == nullptr) f.Error(*node, "refuse: expected a list such as [\"moving\"]");
    return bits;
  }

  BonusBox ReadBonusBox(Fields& f, const char* key, int32_t latitude) {
    BonusBox box{};
    const toml::table* table = f.Table(key, true);
    if (table == nullptr) return box;
    Fields b(errors_, *table, f.What() + ", " + key + " box");
    std::optional<std::pair<int32_t, int32_t>> half =
        places_.HalfSizes(b, "half_size", latitude, true, false);
    if (half) {
      box.half_lat = half->first;
      box.half_lon = half->second;
    }
    box.half_alt = Need(b.Quantity("half_height", Dimension::kAltitude, true));
    box.conditions = Conditions(b);
    b.Finish();
    return box;
  }

  // Bit 4: the value is a percentage; bits 6 and up: the simulator's
  // conditions (condition_index 0 to 25) in which the object exists.
  int32_t BonusFlags(Fields& f) {
    const toml::node* raw = f.Take("flags");
    std::optional<bool> percent = f.Flag("percent");
    const toml::node* available = f.Take("available");
    if (raw != nullptr) {
      if (percent || available != nullptr) {
        f.Error(*raw, "flags: give either flags = { raw = N }, or percent and available");
      }
      return Need(f.QuantityOf(*raw, "flags", Dimension::kDistance));
    }
    int32_t flags = percent.value_or(false) ? kPercentFlag : 0;
    if (available == nullptr || available->value<std::string_view>() == "always") {
      return flags | kEveryCondition;
    }
    const toml::array* list = available->as_array();
    if (list == nullptr) {
      f.Error(*available, "available: expected \"always\" or a list of conditions from 0 to 25");
      return flags;
    }
    for (size_t i = 0; i < list->size(); ++i) {
      std::optional<int64_t> n = list->get(i)->value<int64_t>();
      if (!n || *n < 0 || *n > 31 - kFirstConditionBit) {
        f.Error(*list->get(i), "available: a condition is a whole number from 0 to 25");
        continue;
      }
      flags |= static_cast<int32_t>(1u << (kFirstConditionBit + *n));
    }
    return flags;
  }

  void ReadBonus(Fields& f, SourceSpot spot) {
    BonusObject b{};
    SourcePoint centre = places_.Point(f).value_or(SourcePoint{});
    b.lat = centre.lat;
    b.lon = centre.lon;
    b.alt = Need(f.Quantity("altitude", Dimension::kAltitude, true));
    b.outer = ReadBonusBox(f, "outer", centre.lat);
    b.middle = ReadBonusBox(f, "middle", centre.lat);
    b.inner = ReadBonusBox(f, "inner", centre.lat);
    b.flags = BonusFlags(f);
    b.counter_slot = Need(f.Integer("counter", true, 0, course::kScoreSlots - 1));
    b.max_takes = Need(f.Integer("max_takes", true));
    b.normal_value = Need(f.Integer("value", true));
    b.alternative_value = f.Integer("alternative_value", false).value_or(0);
    b.alternative_percent = f.Integer("alternative_chance", false).value_or(0);
    document_->course.bonus_objects.push_back(b);
    document_->bonus_objects.push_back(spot);
  }

  void ReadQuestion(Fields& f, SourceSpot spot) {
    QuizQuestion q;
    q.question = f.Text("question");
    q.correct = f.Text("correct");
    q.second = f.Text("second");
    q.third = f.Text("third");
    q.points = Need(f.Integer("points", true));
    document_->course.questions.push_back(q);
    document_->questions.push_back(spot);
  }

  // entry_order = ["leg 1", "bonus 1", "ignored", "leg 2"]: only for a
  // course whose entry table does not list its legs and then its bonus
  // objects.
  void ReadEntryOrder() {
    const toml::array* order = root_.Array("entry_order");
    if (order == nullptr) return;
    Course& course = document_->course;
    for (size_t i = 0; i < order->size(); ++i) {
      const toml::node& item = *order->get(i);
      std::string text(item.value<std::string_view>().value_or(""));
      EntrySlot slot{EntrySlot::kIgnored, 0};
      size_t number = 0;
      size_t count = 0;
      if (text.rfind("leg ", 0) == 0) {
        slot.kind = EntrySlot::kLeg;
        number = std::strtoul(text.c_str() + 4, nullptr, 10);
        count = course.legs.size();
      } else if (text.rfind("bonus ", 0) == 0) {
        slot.kind = EntrySlot::kBonusObject;
        number = std::strtoul(text.c_str() + 6, nullptr, 10);
        count = course.bonus_objects.size();
      } else if (text != "ignored") {
        errors_.Add(item.source(), "entry_order: expected \"leg N\", \"bonus N\" or \"ignored\"");
        continue;
      }
      if (slot.kind != EntrySlot::kIgnored && (number < 1 || number > count)) {
        errors_.Add(item.source(), "entry_order: \"" + text + "\" does not exist");
        continue;
      }
      slot.index = number - 1;
      course.entry_order.push_back(slot);
    }
  }

  // What the writer refuses, reported at the course's first line.
  void CheckCounts() {
    if (errors_.Any()) return;
    try {
      LayOutCourse(document_->course);
    } catch (const std::invalid_argument& refusal) {
      errors_.Add(document_->header, refusal.what());
    }
  }

  SourceErrors& errors_;
  Fields root_;
  CourseDocument* document_;
  PlaceBook places_;
};

// The course's tables: any other table header is told at its own line,
// before the library's reading, which may stop further on.
const std::vector<std::string> kTopTables = {"places", "leg", "bonus", "question"};
const char* const kTopTablesShown = "[places], [[leg]], [[bonus]] and [[question]]";

std::set<std::string> TellUnknownTables(const SourceScan& scan, SourceErrors& errors) {
  std::set<std::string> told;
  for (const ScannedHeader& header : scan.headers) {
    const std::string& name = header.path[0];
    if (std::count(kTopTables.begin(), kTopTables.end(), name) != 0 || !told.insert(name).second) {
      continue;
    }
    std::string open = header.array ? "[[" : "[", close = header.array ? "]]" : "]";
    std::string written;
    for (const std::string& part : header.path) written += "." + ShownKeyPart(part);
    std::string message = "unknown table " + open + written.substr(1) + close +
                          "; the course's tables are " + kTopTablesShown;
    if (std::optional<std::string> meant = NearestName(name, kTopTables)) {
      // [[legs]] is meant as [[leg]], [place] as [places]; [legs.start] as [leg.start].
      bool list = header.path.size() == 1 ? *meant != "places" : header.array;
      message += "; did you mean " + std::string(list ? "[[" : "[") + *meant +
                 written.substr(1 + ShownKeyPart(name).size()) + (list ? "]]" : "]") + "?";
    }
    errors.Add(header.spot, message);
  }
  return told;
}

// Told in the order of the file, whatever order they were found in; the
// finding order breaks ties.
void SortByLine(std::vector<Diagnostic>* diagnostics, size_t first) {
  std::stable_sort(diagnostics->begin() + static_cast<std::ptrdiff_t>(first), diagnostics->end(),
                   [](const Diagnostic& a, const Diagnostic& b) {
                     if (a.line != b.line) return a.line < b.line;
                     return a.column < b.column;
                   });
}

}  // namespace

bool ReadCourseSource(const std::string& text, const std::string& file, CourseDocument* document,
                      std::vector<Diagnostic>* diagnostics) {
  SourceErrors errors(file, diagnostics);
  document->file = file;
  document->from_source = true;
  size_t first = diagnostics->size();
  SourceScan scan = ScanSource(text);
  for (const PlacedMessage& refusal : scan.refusals) errors.Add(refusal.spot, refusal.message);
  if (errors.Any()) return false;
  std::set<std::string> unknown_tables = TellUnknownTables(scan, errors);
  toml::table root;
  try {
    root = toml::parse(text, file);
  } catch (const toml::parse_error& e) {
    SourceSpot at{static_cast<int>(e.source().begin.line),
                  static_cast<int>(e.source().begin.column)};
    PlacedMessage told = TranslateSyntaxError(text, scan, e.description(), at);
    errors.Add(told.spot, told.message);
    SortByLine(diagnostics, first);
    return false;
  }
  CourseSourceReader(errors, root, document, unknown_tables).Read();
  SortByLine(diagnostics, first);
  return !errors.Any();
}
