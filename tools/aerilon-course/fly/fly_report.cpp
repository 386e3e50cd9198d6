#include "tools/aerilon-course/fly/fly_report.h"

#include <cmath>
#include <cstdio>

#include "common/printable_text.h"

namespace {

constexpr double kFeetPerMetre = 1 / 0.3048;

std::string Fixed(double value, int decimals) {
  char text[48];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// "210 m inside the box, 1200 ft (366 m) inside the band, ..."
std::string MarginText(const nlohmann::ordered_json& margin) {
  std::string text;
  auto add = [&text](const std::string& part) { text += (text.empty() ? "" : ", ") + part; };
  if (margin.contains("inside_m")) add(Fixed(margin["inside_m"], 0) + " m inside");
  if (margin.contains("altitude_m")) {
    double m = margin["altitude_m"];
    add(Fixed(m * kFeetPerMetre, 0) + " ft (" + Fixed(m, 0) + " m) inside the band");
  }
  if (margin.contains("speed_kn")) add(Fixed(margin["speed_kn"], 1) + " kn inside the speed range");
  if (margin.contains("heading_off"))
    add(Fixed(margin["heading_off"], 1) + " degrees off the heading");
  return text;
}

std::string Printable(const std::string& text) {
  return PrintableText(text, TextEncoding::kUtf8);
}

void WriteTarget(std::ostream& out, const FlownTarget& t) {
  for (const std::string& miss : t.misses) out << "    missed: " << Printable(miss) << "\n";
  if (t.met) {
    out << "  " << t.name << " met at tick " << t.tick << " (" << t.seconds
        << " s on): " << MarginText(t.margin) << "\n";
    if (!t.approach.empty()) out << "    " << t.approach << "\n";
  } else {
    out << "  " << Printable(t.why) << " (tick " << t.tick << ")\n";
  }
}

void WriteLeg(std::ostream& out, const FlownLeg& leg) {
  out << "leg " << leg.leg + 1 << ": ";
  if (leg.finished) {
    out << "finished, " << AllowanceText(leg) << "\n";
    if (leg.seconds > leg.allowance) out << "  slowest: " << Printable(SlowestTarget(leg)) << "\n";
    const LegScore& s = leg.score;
    out << "  score: base " << s.base << ", bonus " << s.bonus << ", time " << s.time
        << ", precision " << s.precision << ", aids " << s.aids << "; total " << s.total << "\n";
  } else {
    out << "NOT finished: " << Printable(leg.why_not) << "\n";
  }
  for (const FlownTarget& t : leg.targets) WriteTarget(out, t);
  for (const std::string& track : leg.tracks) out << "  " << track << "\n";
  for (const std::string& quiz : leg.quiz) out << "  quiz " << Printable(quiz) << "\n";
}

nlohmann::ordered_json TargetJson(const FlownTarget& t) {
  nlohmann::ordered_json j;
  j["target"] = t.name;
  j["met"] = t.met;
  j["tick"] = t.tick;
  j["seconds"] = t.seconds;
  if (!t.approach.empty()) j["approach"] = t.approach;
  if (t.met) j["margin"] = t.margin;
  if (!t.met) j["why"] = (t.why);
  nlohmann::ordered_json misses = nlohmann::ordered_json::array();
  for (const std::string& miss : t.misses) misses.push_back((miss));
  j["missed"] = misses;
  return j;
}

}  // namespace

double SpareShare(const FlownLeg& leg) {
  if (leg.allowance <= 0) return leg.seconds <= leg.allowance ? 0 : -1;
  return static_cast<double>(leg.allowance - leg.seconds) / leg.allowance;
}

std::string AllowanceText(const FlownLeg& leg) {
  std::string flown = std::to_string(leg.seconds) + " s";
  int32_t spare = leg.allowance - leg.seconds;
  if (spare < 0) {
    return flown + ", " + std::to_string(-spare) + " s over its allowance of " +
           std::to_string(leg.allowance) + " s";
  }
  return flown + " of " + std::to_string(leg.allowance) + " s allowed, " + std::to_string(spare) +
         " s (" + Fixed(100 * SpareShare(leg), 0) + " %) to spare";
}

void WriteFlyReport(std::ostream& out, const FlyResult& result, const AircraftLimits& aircraft) {
  out << "aircraft: " << aircraft.name << "\n";
  out << "start: " << result.start << "\n";
  for (const FlownLeg& leg : result.legs) WriteLeg(out, leg);
  int64_t seconds = result.ticks / 6;
  out << "flown: " << result.ticks << " ticks (" << seconds / 60 << " min " << seconds % 60
      << " s)\n";
}

nlohmann::ordered_json FlyReportJson(const FlyResult& result, const AircraftLimits& aircraft) {
  nlohmann::ordered_json report;
  report["aircraft"] = aircraft.name;
  report["start"] = result.start;
  nlohmann::ordered_json legs = nlohmann::ordered_json::array();
  for (const FlownLeg& leg : result.legs) {
    nlohmann::ordered_json j;
    j["leg"] = leg.leg + 1;
    j["finished"] = leg.finished;
    if (!leg.finished) j["why_not"] = (leg.why_not);
    j["seconds"] = leg.seconds;
    j["allowance"] = leg.allowance;
    const LegScore& s = leg.score;
    j["score"] = {{"base", s.base},           {"bonus", s.bonus}, {"time", s.time},
                  {"precision", s.precision}, {"aids", s.aids},   {"total", s.total}};
    nlohmann::ordered_json targets = nlohmann::ordered_json::array();
    for (const FlownTarget& t : leg.targets) targets.push_back(TargetJson(t));
    j["targets"] = targets;
    j["tracks"] = leg.tracks;
    nlohmann::ordered_json quiz = nlohmann::ordered_json::array();
    for (const std::string& q : leg.quiz) quiz.push_back((q));
    j["quiz"] = quiz;
    legs.push_back(j);
  }
  report["legs"] = legs;
  report["ticks"] = result.ticks;
  return report;
}
