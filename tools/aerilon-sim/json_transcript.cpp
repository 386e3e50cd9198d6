#include "tools/aerilon-sim/json_transcript.h"

#include <cstdio>

#include "common/windows1252_text.h"

namespace {

std::string RoutineName(const TranscriptNames& names, uintptr_t address) {
  auto it = names.routines.find(address);
  if (it != names.routines.end()) return it->second;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "0x%llx", static_cast<unsigned long long>(address));
  return buffer;
}

int64_t Arg(const SimCall& call, size_t i) {
  return i < call.args.size() ? call.args[i] : 0;
}

// 64-bit fields are shown as their two halves: the whole part in the upper
// word, signed, the fraction in the lower.
nlohmann::ordered_json FieldValue(const SimFieldValue& f) {
  if (f.width != 8) return f.value;
  uint64_t raw = static_cast<uint64_t>(f.value);
  nlohmann::ordered_json halves;
  halves["upper"] = static_cast<int32_t>(static_cast<uint32_t>(raw >> 32));
  halves["lower"] = static_cast<uint32_t>(raw);
  return halves;
}

void AddSoundFields(TranscriptLine& line, const SimCall& call) {
  if (call.op == "load_sound") {
    line["name"] = Windows1252ToUtf8(call.text);
    line["handle"] = Arg(call, 1);
    line["loaded"] = Arg(call, 2) == 0;
  } else if (call.op == "reload_sound") {
    line["name"] = Windows1252ToUtf8(call.text);
    line["handle"] = Arg(call, 1);
    line["loaded"] = Arg(call, 3) == 0;
  } else {  // play_sound, release_sound
    line["handle"] = Arg(call, 0);
    line["name"] = Windows1252ToUtf8(call.text);
  }
}

void AddDialogFields(TranscriptLine& line, const SimCall& call) {
  line["id"] = Arg(call, 0);
  nlohmann::ordered_json controls = nlohmann::ordered_json::array();
  for (const SimControlText& c : call.controls) {
    nlohmann::ordered_json control;
    control["id"] = c.control;
    control["text"] = Windows1252ToUtf8(c.text);
    controls.push_back(control);
  }
  line["controls"] = controls;
  nlohmann::ordered_json disabled = nlohmann::ordered_json::array();
  for (size_t i = 2; i < call.args.size(); ++i) disabled.push_back(call.args[i]);
  line["disabled"] = disabled;
  line["result"] = Arg(call, 1);
}

}  // namespace

std::optional<TranscriptLine> ObservedCallLine(const SimCall& call, const TranscriptNames& names) {
  TranscriptLine line;
  line["tick"] = call.tick;
  line["call"] = call.op;
  if (call.op == "register_callback" || call.op == "unregister_callback") {
    line["kind"] = Arg(call, 0);
    line["routine"] = RoutineName(names, call.routine);
  } else if (call.op == "show_text") {
    line["text"] = Windows1252ToUtf8(call.text);
    line["duration"] = Arg(call, 1);
  } else if (call.op == "load_sound" || call.op == "reload_sound" || call.op == "play_sound" ||
             call.op == "release_sound") {
    AddSoundFields(line, call);
  } else if (call.op == "issue_command") {
    uint32_t command = static_cast<uint32_t>(Arg(call, 0));
    line["slot"] = static_cast<int64_t>(command) - names.command_base;
    line["command"] = command;
  } else if (call.op == "dialog") {
    AddDialogFields(line, call);
  } else if (call.op == "score_file_written") {
    line["path"] = Windows1252ToUtf8(call.text);
    line["bytes"] = Arg(call, 0);
  } else if (call.op == "state_written") {
    nlohmann::ordered_json fields = nlohmann::ordered_json::object();
    for (const SimFieldValue& f : call.fields) fields[f.field] = FieldValue(f);
    line["fields"] = fields;
  } else {
    return std::nullopt;
  }
  return line;
}

void WriteJsonLine(std::ostream& out, const TranscriptLine& line) {
  out << line.dump() << '\n';
}
