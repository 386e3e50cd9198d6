// What the pilot reads and hears: collectibles' names and the hidden word
// they spell, texts too long for the message line, voice prompts that
// have no sound file.
#include <algorithm>
#include <cstdio>
#include <map>

#include "rally/course/course_format.h"
#include "rally/race/race_texts.h"
#include "rally/state/message_queue_state.h"
#include "sim/sim_sound_files.h"
#include "tools/aerilon-course/check/check_rules.h"

using namespace course_model;

namespace {

constexpr int32_t kHiddenWordLetters = 9;  // name slots 0 to 8
constexpr size_t kMessageLine = kMessageTextBytes - 1;

void CheckNameSlot(LintReport& report, const LintObject& object, const Collectible& c,
                   std::map<int32_t, LintObject>& first_use) {
  int32_t slot = c.name_slot;
  std::string named = "its name slot " + std::to_string(slot);
  if (slot < 0 || slot >= course::kScoreSlots) {
    report.Warning(object, named + " is outside 0 to " + std::to_string(course::kScoreSlots - 1) +
                               ": it scores, but its name is not remembered");
    return;
  }
  if (slot >= kHiddenWordLetters) {
    report.Warning(object, named +
                               " is not one of the hidden word's letters (0 to 8): its name "
                               "is remembered but never shown");
  } else if (c.name.IsNone() || c.name.Bytes().empty()) {
    report.Warning(object, "it has no name: letter " + std::to_string(slot + 1) +
                               " of the hidden word stays empty");
  }
  auto [first, inserted] = first_use.emplace(slot, object);
  if (!inserted) {
    report.Warning(object, named + " is used by " + report.Name(first->second) +
                               " too: the later pick-up replaces the earlier name");
  }
}

// Slots 0 to 8 spell the hidden word; slot 8 also unlocks the
// verification key of the score summary.
void CheckHiddenWord(LintReport& report, const std::map<int32_t, LintObject>& first_use) {
  std::vector<int> missing;
  for (int slot = 0; slot < kHiddenWordLetters; ++slot) {
    if (first_use.count(slot) == 0) missing.push_back(slot);
  }
  if (missing.empty() || missing.size() == static_cast<size_t>(kHiddenWordLetters)) return;
  std::string message = "no collectible uses name slot" +
                        std::string(missing.size() > 1 ? "s " : " ") +
                        lint_text::NumberList(missing) + ": the hidden word stays incomplete";
  if (missing.back() == kHiddenWordLetters - 1) {
    message += ", and without slot 8 the score summary never shows the verification key";
  }
  report.Warning(TheCourse(), message);
}

void CheckLineLength(LintReport& report, const LintObject& object, const char* what,
                     size_t length) {
  if (length <= kMessageLine) return;
  report.Warning(object, std::string(what) + " is " + std::to_string(length) +
                             " characters long; the message line keeps " +
                             std::to_string(kMessageLine) + " and cuts the rest");
}

size_t AnnouncementLength(const Collectible& c) {
  return static_cast<size_t>(
      std::snprintf(nullptr, 0, race_text::kCollected, c.name.Bytes().c_str(), c.points));
}

// A voice prompt the course refers to, and where.
struct VoiceUse {
  LintObject object;
  std::string name;
};

struct TextCollector {
  LintReport& report;
  LintObject object;
  std::vector<VoiceUse>& voices;
  std::map<int32_t, LintObject>& name_slots;

  void Warning(const Text& text, const Text& voice) const {
    CheckLineLength(report, object, "its warning text", text.Bytes().size());
    if (!voice.IsNone()) voices.push_back({object, voice.Bytes()});
  }
  void operator()(const Message& m) const {
    CheckLineLength(report, object, "its text", m.text.Bytes().size());
    if (!m.voice.IsNone()) voices.push_back({object, m.voice.Bytes()});
  }
  void operator()(const Gate& g) const { Warning(g.warning_text, g.warning_voice); }
  void operator()(const Waypoint& w) const { Warning(w.warning_text, w.warning_voice); }
  void operator()(const Landing& l) const { Warning(l.warning_text, l.warning_voice); }
  void operator()(const Collectible& c) const {
    CheckNameSlot(report, object, c, name_slots);
    CheckLineLength(report, object, "its announcement (RACCOLTA! ...)", AnnouncementLength(c));
  }
  template <typename Other>
  void operator()(const Other&) const {}
};

// Each missing prompt once, at its first use.
void CheckSoundFiles(LintReport& report, const std::vector<VoiceUse>& voices,
                     const std::string& folder) {
  std::map<std::string, size_t> uses;
  for (const VoiceUse& v : voices) uses[v.name] += 1;
  for (const VoiceUse& v : voices) {
    auto found = uses.find(v.name);
    if (found->second == 0 || SimSoundFileExists(folder, v.name)) {
      found->second = 0;
      continue;
    }
    std::string uses_text =
        found->second > 1 ? ", used " + std::to_string(found->second) + " times," : "";
    std::string file = v.name + ".wav";
    std::replace(file.begin(), file.end(), '\\', '/');
    report.Warning(v.object, "its voice prompt \"" + v.name + "\"" + uses_text +
                                 " has no sound file " + folder + "/" + file +
                                 " (in any letter case)");
    found->second = 0;
  }
}

}  // namespace

void CheckNamesAndTexts(LintReport& report, const std::optional<std::string>& sounds_folder) {
  std::vector<VoiceUse> voices;
  std::map<int32_t, LintObject> name_slots;
  const std::vector<Leg>& legs = report.course().legs;
  for (size_t leg = 0; leg < legs.size(); ++leg) {
    for (size_t r = 0; r < legs[leg].records.size(); ++r) {
      std::visit(TextCollector{report, RecordOf(leg, r), voices, name_slots}, legs[leg].records[r]);
    }
  }
  CheckHiddenWord(report, name_slots);
  if (sounds_folder) CheckSoundFiles(report, voices, *sounds_folder);
}
