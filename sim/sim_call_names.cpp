#include "sim/sim_call_names.h"

#include <map>

const std::vector<std::string>& SimArgNames(const std::string& op) {
  static const std::map<std::string, std::vector<std::string>> kNames = {
      {"register_callback", {"kind"}},
      {"unregister_callback", {"kind"}},
      {"issue_command", {"command", "zero"}},
      {"distance_and_bearing", {"bearing", "distance"}},
      {"show_text", {"five", "duration", "zero"}},
      {"load_sound", {"two", "handle", "result"}},
      {"reload_sound", {"two", "handle", "one", "result"}},
      {"release_sound", {"handle"}},
      {"play_sound", {"handle", "zero1", "zero2", "zero3"}},
      {"set_sound_level", {"handle", "level"}},
      {"query_sound_level", {"which", "level"}},
      {"GetModuleHandleA", {"result"}},
      {"FindWindowA", {"result"}},
      {"GetWindowLongA", {"window", "result"}},
      {"SetWindowLongA", {"window", "proc", "previous"}},
      {"LoadLibraryA", {"instance"}},
      {"SendMessageA", {"window", "message", "wparam", "lparam"}},
      {"DialogBoxParamA", {"dialog", "result"}},
      {"RegQueryValueExA", {"found"}},
      {"dialog", {"dialog", "result"}},  // then the controls greyed
      {"score_file_written", {"bytes"}},
  };
  static const std::vector<std::string> kNone;
  auto it = kNames.find(op);
  return it == kNames.end() ? kNone : it->second;
}
