#include "transcript.h"

#include <nlohmann/json.hpp>

#include "sim/sim_call_names.h"

namespace {

std::string RoutineName(const Transcript& t, uintptr_t address) {
  auto it = t.routine_names.find(address);
  if (it != t.routine_names.end()) return it->second;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "0x%llx", static_cast<unsigned long long>(address));
  return buffer;
}

bool HasRoutine(const std::string& op) {
  return op == "register_callback" || op == "unregister_callback" || op == "play_sound";
}

// Window procedures are shown by name where the transcript knows them.
bool IsProcedure(const std::string& op, const std::string& field) {
  return (op == "SetWindowLongA" && (field == "proc" || field == "previous")) ||
         (op == "GetWindowLongA" && field == "result");
}

bool HasText(const std::string& op) {
  return op == "show_text" || op == "load_sound" || op == "reload_sound" ||
         op == "play_sound" || op == "GetModuleHandleA" || op == "FindWindowA";
}

const char* TextField(const std::string& op) {
  if (op == "show_text") return "text";
  if (op == "FindWindowA") return "class";
  return "name";
}

}  // namespace

std::string Latin1ToUtf8(const std::string& latin1) {
  std::string out;
  for (unsigned char c : latin1) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

void FlushCalls(Transcript& t, const SimHost& host) {
  for (; t.calls_written < host.calls.size(); ++t.calls_written) {
    const SimCall& call = host.calls[t.calls_written];
    nlohmann::ordered_json line;
    line["tick"] = call.tick;
    line["call"] = call.op;
    if (HasText(call.op)) line[TextField(call.op)] = Latin1ToUtf8(call.text);
    const auto& names = SimArgNames(call.op);
    for (size_t i = 0; i < call.args.size(); ++i) {
      std::string field = i < names.size() ? names[i] : "arg" + std::to_string(i);
      if (IsProcedure(call.op, field)) {
        line[field] = RoutineName(t, static_cast<uintptr_t>(call.args[i]));
      } else {
        line[field] = call.args[i];
      }
    }
    if (HasRoutine(call.op)) line["routine"] = RoutineName(t, call.routine);
    *t.out << line.dump() << '\n';
  }
}

void WriteHostReturn(Transcript& t, int64_t tick, const std::string& step, int64_t result) {
  nlohmann::ordered_json line;
  line["tick"] = tick;
  line["returned"] = step;
  line["result"] = result;
  *t.out << line.dump() << '\n';
}

void WriteHostStep(Transcript& t, int64_t tick, const std::string& step) {
  nlohmann::ordered_json line;
  line["tick"] = tick;
  line["host"] = step;
  *t.out << line.dump() << '\n';
}
