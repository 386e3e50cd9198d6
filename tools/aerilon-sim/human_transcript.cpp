#include "tools/aerilon-sim/human_transcript.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "common/printable_text.h"
#include "tools/aerilon-sim/flight_script.h"
#include "tools/aerilon-sim/target_trace.h"

namespace {

using Json = nlohmann::ordered_json;

constexpr int kIndent = 19;  // where the text of a line starts, after time and tick

std::string Pad(int n) {
  return std::string(static_cast<size_t>(std::max(n, 0)), ' ');
}

// Time since the first tick, which runs at 0 s; six ticks a second.
std::string Stamp(int64_t tick) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%8.2f s %6lld  ", static_cast<double>(tick - 1) / 6.0,
                static_cast<long long>(tick));
  return buffer;
}

// Characters on screen of a UTF-8 text: continuation bytes take no column.
int Columns(const std::string& utf8) {
  int n = 0;
  for (unsigned char c : utf8) n += (c & 0xC0) != 0x80 ? 1 : 0;
  return n;
}

// A text of the course (or a name or path) as the terminal may show it:
// the module's texts arrive here as UTF-8.
std::string Shown(const std::string& utf8) {
  return PrintableText(utf8, TextEncoding::kUtf8);
}

std::string ShownField(const Json& line, const char* field) {
  return Shown(line[field].get<std::string>());
}

// A control's text as lines: tabs stop every 8 columns, "\n" breaks, "\r"
// is left out; every other control character is shown escaped.
std::vector<std::string> TextLines(const std::string& text) {
  std::vector<std::string> lines(1);
  std::string run;  // the text since the last tab or line break
  auto end_run = [&] {
    lines.back() += Shown(run);
    run.clear();
  };
  for (char c : text) {
    if (c == '\n') {
      end_run();
      lines.emplace_back();
    } else if (c == '\t') {
      end_run();
      lines.back() += Pad(8 - Columns(lines.back()) % 8);
    } else if (c != '\r') {
      run += c;
    }
  }
  end_run();
  return lines;
}

std::string DialogName(int64_t id) {
  switch (id) {
    case 101: return "the score summary";
    case 102: return "the quiz";
    case 107: return "the credits";
    default: return "an unknown dialog";
  }
}

void WriteDialog(std::ostream& out, const std::string& stamp, const Json& line) {
  int64_t id = line["id"];
  out << stamp << "DIALOG " << id << ", " << DialogName(id) << "\n";
  std::vector<std::string> rows;
  for (const Json& control : line["controls"]) {
    std::string label = std::to_string(control["id"].get<int64_t>());
    std::vector<std::string> text = TextLines(control["text"].get<std::string>());
    for (size_t i = 0; i < text.size(); ++i) {
      rows.push_back((i == 0 ? label + Pad(6 - static_cast<int>(label.size())) : Pad(6)) + text[i]);
    }
  }
  std::string ending = "result " + std::to_string(line["result"].get<int64_t>());
  if (!line["disabled"].empty()) {
    ending += "; greyed:";
    for (const Json& control : line["disabled"])
      ending += " " + std::to_string(control.get<int64_t>());
  }
  int width = Columns(ending);
  for (const std::string& row : rows) width = std::max(width, Columns(row));
  std::string rule = Pad(kIndent) + "+" + std::string(static_cast<size_t>(width + 2), '-') + "+\n";
  auto row = [&](const std::string& text) {
    out << Pad(kIndent) << "| " << text << Pad(width - Columns(text)) << " |\n";
  };
  out << rule;
  for (const std::string& r : rows) row(r);
  if (!rows.empty()) out << rule;
  row(ending);
  out << rule;
}

std::string FieldText(const Json& value) {
  if (!value.is_object()) return value.dump();
  std::string text = std::to_string(value["upper"].get<int32_t>());
  uint32_t lower = value["lower"];
  if (lower != 0) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, " + 0x%08X/2^32", static_cast<unsigned>(lower));
    text += buffer;
  }
  return text;
}

std::string SoundText(const Json& line) {
  std::string call = line["call"];
  std::string name = ShownField(line, "name");
  std::string handle = std::to_string(line["handle"].get<int64_t>());
  if (call == "load_sound") {
    return line["loaded"].get<bool>() ? "VOICE  loads " + name + " (handle " + handle + ")"
                                      : "VOICE  cannot load " + name + " (no sound)";
  }
  if (call == "reload_sound") {
    return line["loaded"].get<bool>() ? "VOICE  puts " + name + " into the waiting handle " + handle
                                      : "VOICE  cannot put " + name + " into handle " + handle;
  }
  if (call == "play_sound") return "VOICE  plays " + name + " (handle " + handle + ")";
  return "VOICE  releases " + name + " (handle " + handle + ")";
}

std::string CallText(const Json& line) {
  std::string call = line["call"];
  if (call == "show_text") {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%g", line["duration"].get<int64_t>() / 18.0);
    return "SCREEN \"" + ShownField(line, "text") + "\" for " + seconds + " s";
  }
  if (call == "register_callback" || call == "unregister_callback") {
    std::string routine = line["routine"];
    int64_t kind = line["kind"];
    std::string what = kind == 5    ? "the tick routine"
                       : kind == 11 ? "the event routine"
                                    : "kind " + std::to_string(kind);
    return call == "register_callback" ? "MODULE registers " + routine + " as " + what
                                       : "MODULE removes " + routine + " as " + what;
  }
  if (call == "issue_command") {
    int64_t slot = line["slot"];
    return "MODULE asks for the command " +
           (slot >= 0 ? MenuSlotName(static_cast<uint32_t>(slot)) : std::string("?")) + " (slot " +
           std::to_string(slot) + ")";
  }
  if (call == "score_file_written") {
    return "FILE   score file " + ShownField(line, "path") + " written (" +
           std::to_string(line["bytes"].get<int64_t>()) + " bytes)";
  }
  if (call == "state_written") {
    std::string text = "STATE  module writes";
    const char* separator = " ";
    for (const auto& [field, value] : line["fields"].items()) {
      text += separator + field + " " + FieldText(value);
      separator = ", ";
    }
    return text;
  }
  return SoundText(line);
}

void WriteSummary(std::ostream& out, const Json& line) {
  const Json& s = line["summary"];
  int64_t ticks = s["ticks"];
  char duration[32];
  std::snprintf(duration, sizeof duration, "%.2f", static_cast<double>(ticks) / 6.0);
  out << "\nEnd of the run after " << ticks << " ticks (" << duration << " s)";
  if (!s["module_started"].get<bool>()) out << "; the module did not start";
  out << "\n  legs finished: " << s["legs_finished"].get<int64_t>() << "\n";
  for (const Json& leg : s["legs"]) {
    out << "    leg " << leg["leg"].get<int64_t>() << ": " << leg["seconds"].get<int64_t>()
        << " s, total " << leg["total"].get<int64_t>() << "\n";
  }
  out << "  best totals:";
  int leg = 0;
  for (const Json& total : s["best_totals"]) {
    out << (leg == 0 ? " " : ", ") << "leg " << leg + 1 << " " << total.get<int64_t>();
    ++leg;
  }
  if (leg == 0) out << " none";
  out << "\n  percentage " << s["percentage"].get<int64_t>() << ", bonus points "
      << s["bonus_points"].get<int64_t>() << ", overall result " << s["overall"].get<int64_t>()
      << "\n";
}

}  // namespace

void WriteHumanLine(std::ostream& out, const TranscriptLine& line) {
  if (line.contains("summary")) {
    WriteSummary(out, line);
    return;
  }
  std::string stamp = Stamp(line["tick"].get<int64_t>());
  if (line.contains("trace")) {
    out << stamp << "trace: " << Shown(TraceText(line["trace"])) << "\n";
    return;
  }
  if (line["call"] == "dialog") {
    WriteDialog(out, stamp, line);
    return;
  }
  out << stamp << CallText(line) << "\n";
}
