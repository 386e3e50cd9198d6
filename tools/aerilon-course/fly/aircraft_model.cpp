#include "tools/aerilon-course/fly/aircraft_model.h"

#include <toml++/toml.h>
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "tools/aerilon-course/fly/aircraft_files.h"
#include "tools/aerilon-course/source/nearest_name.h"
#include "tools/common/input_file.h"

namespace {

// Each key of an aircraft file, with the range a flyable aircraft keeps.
struct LimitKey {
  const char* key;
  double AircraftLimits::*field;
  double low, high;
};

const LimitKey kKeys[] = {
    {"cruise_speed_kt", &AircraftLimits::cruise_speed_kt, 20, 600},
    {"approach_speed_kt", &AircraftLimits::approach_speed_kt, 20, 300},
    {"min_speed_kt", &AircraftLimits::min_speed_kt, 10, 300},
    {"max_speed_kt", &AircraftLimits::max_speed_kt, 20, 650},
    {"rotate_speed_kt", &AircraftLimits::rotate_speed_kt, 10, 300},
    {"climb_rate_fpm", &AircraftLimits::climb_rate_fpm, 100, 20000},
    {"descent_rate_fpm", &AircraftLimits::descent_rate_fpm, 100, 20000},
    {"max_bank_deg", &AircraftLimits::max_bank_deg, 5, 80},
    {"max_turn_rate_dps", &AircraftLimits::max_turn_rate_dps, 0.5, 60},
    {"acceleration_kt_s", &AircraftLimits::acceleration_kt_s, 0.1, 30},
    {"takeoff_roll_m", &AircraftLimits::takeoff_roll_m, 10, 5000},
    {"landing_roll_m", &AircraftLimits::landing_roll_m, 10, 5000},
};

std::string Number(double value) {
  std::string text = std::to_string(value);
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') text.pop_back();
  return text;
}

class AircraftReader {
 public:
  AircraftReader(const std::string& file, std::vector<Diagnostic>* problems)
      : file_(file), problems_(problems) {}

  std::optional<AircraftLimits> Read(const std::string& text) {
    toml::table root;
    try {
      root = toml::parse(text, file_);
    } catch (const toml::parse_error& e) {
      Problem(e.source().begin, std::string(e.description()));
      return std::nullopt;
    }
    AircraftLimits limits;
    ReadKeys(root, &limits);
    if (!problems_->empty()) return std::nullopt;
    CheckOrder(root, limits);
    if (!problems_->empty()) return std::nullopt;
    return limits;
  }

 private:
  void Problem(const toml::source_position& at, const std::string& message) {
    problems_->push_back(Diagnostic{Severity::kError, file_, static_cast<int>(at.line),
                                    static_cast<int>(at.column), message});
  }

  void ReadKeys(const toml::table& root, AircraftLimits* limits) {
    std::vector<std::string> known = {"name"};
    for (const LimitKey& k : kKeys) known.push_back(k.key);
    for (const auto& [key, node] : root) {
      std::string name(key.str());
      if (std::find(known.begin(), known.end(), name) != known.end()) continue;
      std::optional<std::string> near = NearestName(name, known);
      Problem(key.source().begin,
              "unknown key \"" + name + "\"" + (near ? "; did you mean \"" + *near + "\"?" : ""));
    }
    if (const toml::node* name = root.get("name")) {
      if (!name->is_string()) Problem(name->source().begin, "\"name\" must be a text");
      limits->name = name->value_or(std::string());
    }
    for (const LimitKey& k : kKeys) {
      const toml::node* node = root.get(k.key);
      if (node == nullptr) {
        Problem(toml::source_position{1, 1}, std::string("\"") + k.key + "\" is missing");
        continue;
      }
      std::optional<double> value = node->value<double>();
      if (!value || !std::isfinite(*value) || *value < k.low || *value > k.high) {
        Problem(node->source().begin, std::string("\"") + k.key + "\" must be a number from " +
                                          Number(k.low) + " to " + Number(k.high));
        continue;
      }
      limits->*k.field = *value;
    }
  }

  // The speeds must make an aircraft that can take off, fly and land.
  void CheckOrder(const toml::table& root, const AircraftLimits& a) {
    struct Rule {
      bool holds;
      const char* key;
      const char* message;
    };
    const Rule rules[] = {
        {a.min_speed_kt <= a.approach_speed_kt, "approach_speed_kt",
         "the approach speed is below the slowest it flies (min_speed_kt)"},
        {a.approach_speed_kt <= a.cruise_speed_kt, "cruise_speed_kt",
         "the cruise speed is below the approach speed"},
        {a.cruise_speed_kt <= a.max_speed_kt, "max_speed_kt",
         "the greatest speed is below the cruise speed"},
        {a.rotate_speed_kt <= a.approach_speed_kt, "rotate_speed_kt",
         "the rotation speed is above the approach speed"},
    };
    for (const Rule& rule : rules) {
      if (!rule.holds) Problem(root.get(rule.key)->source().begin, rule.message);
    }
  }

  std::string file_;
  std::vector<Diagnostic>* problems_;
};

struct BuiltIn {
  const char* name;
  const char* text;
};

const BuiltIn kBuiltIns[] = {
    {"light_single", kLightSingleAircraft},
    {"aerobatic", kAerobaticAircraft},
    {"business_jet", kBusinessJetAircraft},
};

}  // namespace

std::optional<AircraftLimits> ReadAircraftFile(const std::string& path,
                                               std::vector<Diagnostic>* problems) {
  std::string text, problem;
  if (!ReadInputText(path, &text, &problem)) {
    problems->push_back(Diagnostic{Severity::kError, path, 0, 0, problem});
    return std::nullopt;
  }
  std::optional<AircraftLimits> limits = AircraftReader(path, problems).Read(text);
  // Unnamed, it goes by its file's name.
  if (limits && limits->name.empty()) limits->name = std::filesystem::path(path).stem().string();
  return limits;
}

std::optional<AircraftLimits> BuiltInAircraft(const std::string& name) {
  for (const BuiltIn& b : kBuiltIns) {
    if (name != b.name) continue;
    std::vector<Diagnostic> problems;
    return AircraftReader(std::string("examples/aircraft/") + b.name + ".toml", &problems)
        .Read(b.text);
  }
  return std::nullopt;
}

std::vector<std::string> BuiltInAircraftNames() {
  std::vector<std::string> names;
  for (const BuiltIn& b : kBuiltIns) names.push_back(b.name);
  return names;
}

AircraftLimits DefaultAircraft() {
  return *BuiltInAircraft("light_single");
}
