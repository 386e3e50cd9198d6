#include "tools/aerilon-course/source/source_writer.h"

#include <cstdio>
#include <sstream>

#include "common/windows1252_text.h"
#include "tools/aerilon-course/source/designer_units.h"
#include "tools/aerilon-course/source/designer_values.h"

using namespace course_model;

namespace {

constexpr int32_t kPercentFlag = 16;
constexpr int32_t kEveryCondition = static_cast<int32_t>(0xFFFFFFC0u);
constexpr int kFirstConditionBit = 6;

// A TOML literal string where the text allows one (voice names read as
// 'ADV\RALLY\Start'), else a basic string with what TOML needs escaped.
std::string Quoted(const std::string& latin1) {
  bool literal = latin1.find('\\') != std::string::npos;
  for (char c : latin1) {
    unsigned char u = static_cast<unsigned char>(c);
    if (c == '\'' || u < 0x20 || u == 0x7F || u >= 0x80) literal = false;
  }
  if (literal) return "'" + latin1 + "'";
  std::string out = "\"";
  for (char c : latin1) {
    std::string utf8 = Windows1252ToUtf8(std::string(1, c));
    unsigned char u = static_cast<unsigned char>(c);
    // Controls, and the code page's holes (read as C1 controls), which
    // TOML takes only escaped.
    bool control = u < 0x20 || u == 0x7F ||
                   (utf8.size() == 2 && static_cast<unsigned char>(utf8[1]) < 0xA0 &&
                    static_cast<unsigned char>(utf8[0]) == 0xC2);
    if (control) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04X", u);
      out += escape;
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else {
      out += utf8;
    }
  }
  return out + "\"";
}

class SourceText {
 public:
  void Line(const std::string& text) { out_ << text << "\n"; }
  void Key(const char* key, const std::string& toml) { out_ << key << " = " << toml << "\n"; }
  void Value(const char* key, Dimension dimension, int32_t units) {
    Key(key, DesignerToml(dimension, units));
  }
  void Int(const char* key, int32_t value) { Key(key, std::to_string(value)); }
  void Text(const char* key, const course_model::Text& text) {
    if (!text.IsNone()) Key(key, Quoted(text.Bytes()));
  }
  std::string Take() { return out_.str(); }

 private:
  std::ostringstream out_;
};

void WriteBox(SourceText& s, const Box& box) {
  s.Value("lat_min", Dimension::kLatitude, box.lat_min);
  s.Value("lat_max", Dimension::kLatitude, box.lat_max);
  s.Value("lon_min", Dimension::kLongitude, box.lon_min);
  s.Value("lon_max", Dimension::kLongitude, box.lon_max);
}

void WriteBand(SourceText& s, int32_t centre, int32_t band) {
  s.Value("altitude", Dimension::kAltitude, centre);
  s.Value("altitude_tolerance", Dimension::kAltitude, band);
}

void WriteSpeeds(SourceText& s, int32_t low, int32_t high) {
  s.Value("speed_min", Dimension::kSpeed, low);
  s.Value("speed_max", Dimension::kSpeed, high);
}

void WritePoint(SourceText& s, int32_t lat, int32_t lon) {
  s.Value("lat", Dimension::kLatitude, lat);
  s.Value("lon", Dimension::kLongitude, lon);
}

void WriteWarning(SourceText& s, const course_model::Text& text, const course_model::Text& voice) {
  s.Text("warning", text);
  s.Text("warning_voice", voice);
}

struct RecordWriter {
  SourceText& s;

  void operator()(const Message& r) const {
    s.Key("kind", "\"message\"");
    s.Value("seconds", Dimension::kSeconds, r.seconds);
    s.Text("text", r.text);
    s.Text("voice", r.voice);
  }
  void operator()(const Gate& r) const {
    s.Key("kind", "\"gate\"");
    WriteBox(s, r.box);
    WriteBand(s, r.alt_centre, r.alt_band);
    WriteSpeeds(s, r.speed_min, r.speed_max);
    s.Value("heading", Dimension::kHeading, r.heading);
    WriteWarning(s, r.warning_text, r.warning_voice);
  }
  void operator()(const Waypoint& r) const {
    s.Key("kind", "\"waypoint\"");
    WritePoint(s, r.lat, r.lon);
    s.Value("radius", Dimension::kDistance, r.radius);
    WriteBand(s, r.alt, r.alt_band);
    s.Value("heading", Dimension::kHeading, r.heading);
    WriteWarning(s, r.warning_text, r.warning_voice);
  }
  void operator()(const Landing& r) const {
    s.Key("kind", "\"landing\"");
    WriteBox(s, r.box);
    s.Value("altitude", Dimension::kAltitude, r.alt);
    s.Value("heading", Dimension::kHeading, r.heading);
    WriteWarning(s, r.warning_text, r.warning_voice);
  }
  void operator()(const TrackStart& r) const {
    static const char* const kZones[] = {"\"1 NM\"", "\"0.5 NM\"", "\"10 m\""};
    s.Key("kind", "\"track_start\"");
    WritePoint(s, r.lat, r.lon);
    s.Value("radial", Dimension::kRadial, r.radial);
    s.Value("tolerance", Dimension::kAngle, r.tolerance);
    s.Int("weight", r.weight);
    bool known = r.near_zone >= 0 && r.near_zone <= 2;
    s.Key("near_zone", known ? kZones[r.near_zone] : RawToml(r.near_zone));
  }
  void operator()(const TrackEnd&) const { s.Key("kind", "\"track_end\""); }
  void operator()(const Collectible& r) const {
    s.Key("kind", "\"collectible\"");
    s.Int("slot", r.name_slot);
    s.Int("points", r.points);
    s.Text("name", r.name);
  }
  void operator()(const QuizTimer& r) const {
    s.Key("kind", "\"quiz_timer\"");
    s.Value("delay", Dimension::kSeconds, r.delay);
  }
};

void WriteLeg(SourceText& s, const Leg& leg, size_t index) {
  s.Line("[[leg]]");
  s.Key("name", "\"leg " + std::to_string(index + 1) + "\"");
  s.Line("");
  s.Line("[leg.start]");
  WriteBox(s, leg.start.box);
  WriteBand(s, leg.start.alt_centre, leg.start.alt_band);
  WriteSpeeds(s, leg.start.speed_min, leg.start.speed_max);
  s.Value("heading", Dimension::kHeading, leg.start.heading);
  for (const LegRecord& record : leg.records) {
    s.Line("");
    s.Line("[[leg.route]]");
    std::visit(RecordWriter{s}, record);
  }
  s.Line("");
  s.Line("[leg.finish]");
  s.Int("base_points", leg.end.base_points);
  s.Value("time_allowance", Dimension::kSeconds, leg.end.time_allowance);
  s.Int("time_factor", leg.end.time_factor);
  s.Line("");
}

std::string Conditions(int32_t bits) {
  if ((bits & ~(1 | 4 | 8)) != 0) return RawToml(bits);
  std::string list;
  for (const auto& [bit, name] :
       {std::pair<int32_t, const char*>{1, "moving"}, {4, "airborne"}, {8, "on_ground"}}) {
    if (bits & bit) list += std::string(list.empty() ? "" : ", ") + "\"" + name + "\"";
  }
  return "[" + list + "]";
}

std::string BonusBoxToml(const BonusBox& box, int32_t latitude) {
  std::string lat = MetresToml(box.half_lat, designer_units::MetresPerLatitudeUnit());
  std::string lon = MetresToml(box.half_lon, designer_units::MetresPerLongitudeUnit(latitude));
  std::string half = lat == lon ? lat : "[" + lat + ", " + lon + "]";
  std::string out = "{ half_size = " + half +
                    ", half_height = " + DesignerToml(Dimension::kAltitude, box.half_alt);
  if (box.conditions != 0) out += ", refuse = " + Conditions(box.conditions);
  return out + " }";
}

void WriteFlags(SourceText& s, int32_t flags) {
  uint32_t conditions = static_cast<uint32_t>(flags) & static_cast<uint32_t>(kEveryCondition);
  if ((flags & ~(kPercentFlag | kEveryCondition)) != 0) {
    s.Key("flags", RawToml(flags));
    return;
  }
  if (flags & kPercentFlag) s.Key("percent", "true");
  if (conditions == static_cast<uint32_t>(kEveryCondition)) {
    s.Key("available", "\"always\"");
    return;
  }
  std::string list;
  for (int n = 0; n <= 31 - kFirstConditionBit; ++n) {
    if (conditions & (1u << (kFirstConditionBit + n))) {
      list += std::string(list.empty() ? "" : ", ") + std::to_string(n);
    }
  }
  s.Key("available", "[" + list + "]");
}

void WriteBonus(SourceText& s, const BonusObject& b) {
  s.Line("[[bonus]]");
  WritePoint(s, b.lat, b.lon);
  s.Value("altitude", Dimension::kAltitude, b.alt);
  s.Key("outer", BonusBoxToml(b.outer, b.lat));
  s.Key("middle", BonusBoxToml(b.middle, b.lat));
  s.Key("inner", BonusBoxToml(b.inner, b.lat));
  WriteFlags(s, b.flags);
  s.Int("counter", b.counter_slot);
  s.Int("max_takes", b.max_takes);
  s.Int("value", b.normal_value);
  s.Int("alternative_value", b.alternative_value);
  s.Int("alternative_chance", b.alternative_percent);
  s.Line("");
}

std::string EntryName(const EntrySlot& slot) {
  if (slot.kind == EntrySlot::kIgnored) return "\"ignored\"";
  return std::string(slot.kind == EntrySlot::kLeg ? "\"leg " : "\"bonus ") +
         std::to_string(slot.index + 1) + "\"";
}

}  // namespace

std::string WriteCourseSource(const Course& course, const std::string& origin) {
  SourceText s;
  s.Line("# Decompiled from " + origin + " by aerilon-course.");
  s.Key("title", Quoted(course.first_title));
  s.Key("subtitle", Quoted(course.second_title));
  if (course.leg_count) s.Int("leg_count", *course.leg_count);
  if (!course.entry_order.empty()) {
    std::string order;
    for (const EntrySlot& slot : course.entry_order) {
      order += (order.empty() ? "" : ", ") + EntryName(slot);
    }
    s.Key("entry_order", "[" + order + "]");
  }
  s.Line("");
  for (size_t i = 0; i < course.legs.size(); ++i) WriteLeg(s, course.legs[i], i);
  for (const BonusObject& b : course.bonus_objects) WriteBonus(s, b);
  for (const QuizQuestion& q : course.questions) {
    s.Line("[[question]]");
    s.Text("question", q.question);
    s.Text("correct", q.correct);
    s.Text("second", q.second);
    s.Text("third", q.third);
    s.Int("points", q.points);
    s.Line("");
  }
  return s.Take();
}
