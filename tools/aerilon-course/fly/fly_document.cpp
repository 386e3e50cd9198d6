#include "tools/aerilon-course/fly/fly_document.h"

#include <sstream>

#include "course_model/course_writer.h"
#include "tools/aerilon-sim/sample_folder.h"

FlyResult FlyCourseDocument(const CourseDocument& document, FlyOptions options,
                            const TranscriptSink& sink) {
  SampleFolder folder(EncodeCourseFile(document.course));
  options.root = folder.root().string();
  return FlyCourse(options, sink);
}

std::optional<std::vector<int>> ParseLegList(const std::string& text, int leg_count,
                                             std::string* error) {
  std::vector<int> legs;
  if (text == "all") {
    for (int i = 0; i < leg_count; ++i) legs.push_back(i);
    return legs;
  }
  std::istringstream in(text);
  std::string item;
  while (std::getline(in, item, ',')) {
    size_t used = 0;
    int number = 0;
    try {
      number = std::stoi(item, &used);
    } catch (const std::exception&) {
      used = 0;
    }
    if (used == 0 || used != item.size()) {
      *error = "--legs takes \"all\" or leg numbers with commas (\"1,3\"), not \"" + text + "\"";
      return std::nullopt;
    }
    if (number < 1 || number > leg_count) {
      *error = "--legs: the course has no leg " + item + " (its legs are 1 to " +
               std::to_string(leg_count) + ")";
      return std::nullopt;
    }
    legs.push_back(number - 1);
  }
  if (legs.empty()) {
    *error = "--legs names no leg";
    return std::nullopt;
  }
  return legs;
}

int EntryOfLeg(const course_model::Course& course, int leg) {
  std::vector<course_model::EntrySlot> order = course_model::EntryOrder(course);
  for (size_t i = 0; i < order.size(); ++i) {
    if (order[i].kind == course_model::EntrySlot::kLeg &&
        order[i].index == static_cast<size_t>(leg)) {
      return static_cast<int>(i);
    }
  }
  return leg;
}

std::optional<int> LegOfEntry(const course_model::Course& course, int entry) {
  std::vector<course_model::EntrySlot> order = course_model::EntryOrder(course);
  if (entry < 0 || static_cast<size_t>(entry) >= order.size()) return std::nullopt;
  if (order[entry].kind != course_model::EntrySlot::kLeg) return std::nullopt;
  return static_cast<int>(order[entry].index);
}

std::optional<AircraftLimits> ChooseAircraft(const std::string& name_or_file,
                                             std::vector<Diagnostic>* problems) {
  if (std::optional<AircraftLimits> built_in = BuiltInAircraft(name_or_file)) return built_in;
  bool looks_like_name =
      name_or_file.find('/') == std::string::npos && name_or_file.find('.') == std::string::npos;
  if (looks_like_name) {
    std::string names;
    for (const std::string& n : BuiltInAircraftNames()) names += (names.empty() ? "" : ", ") + n;
    problems->push_back(
        Diagnostic{Severity::kError, name_or_file, 0, 0,
                   "no such aircraft; built in: " + names + ", or give an aircraft file (TOML)"});
    return std::nullopt;
  }
  return ReadAircraftFile(name_or_file, problems);
}
