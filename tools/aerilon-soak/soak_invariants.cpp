#include "tools/aerilon-soak/soak_invariants.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "rally/course/course_format.h"
#include "rally/race/race_texts.h"
#include "rally/state/module.h"
#include "rally/ui/menu_merge.h"
#include "sim/sim_host.h"
#include "sim/sim_menu_bar.h"
#include "tools/aerilon-soak/soak_heap.h"

namespace {

using Found = std::optional<SoakViolation>;

Found Fail(const char* invariant, const char* format, ...) {
  char detail[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(detail, sizeof detail, format, args);
  va_end(args);
  return SoakViolation{invariant, detail};
}

// A NUL-terminated text that starts and ends inside [begin, begin + size).
bool TextInside(const void* text, const void* begin, uint32_t size) {
  auto* t = static_cast<const uint8_t*>(text);
  auto* b = static_cast<const uint8_t*>(begin);
  if (b == nullptr || t < b || t >= b + size) return false;
  return std::memchr(t, 0, static_cast<size_t>(b + size - t)) != nullptr;
}

bool InCourse(const CourseImage& c, const void* p) {
  auto* b = static_cast<const uint8_t*>(p);
  return c.block != nullptr && b >= c.block && b < c.block + c.size;
}

bool IsModulePrompt(const char* prompt) {
  static const char* const kNames[] = {race_voice::kStart,
                                       race_voice::kInvalid,
                                       race_voice::kFailGateDirection,
                                       race_voice::kFailLandingDirection,
                                       race_voice::kCrash,
                                       race_voice::kSlew,
                                       race_voice::kAbort,
                                       race_voice::kBonus,
                                       race_voice::kMalus,
                                       race_voice::kNewScore,
                                       race_voice::kNoScore};
  for (const char* name : kNames) {
    if (std::strcmp(prompt, name) == 0) return true;
  }
  return false;
}

bool PromptValid(const CourseImage& c, const char* prompt) {
  if (prompt == nullptr) return true;
  if (InCourse(c, prompt)) return TextInside(prompt, c.block, c.size);
  return IsModulePrompt(prompt);
}

Found CheckSlot(const RallyModule& m, int32_t i) {
  const MessageSlot& slot = m.messages.slots[i];
  if (std::memchr(slot.text, 0, kMessageTextBytes) == nullptr) {
    return Fail("message queue", "slot %d: text not terminated within %d bytes", i,
                kMessageTextBytes);
  }
  if (slot.display_ticks <= 0 || slot.screen_duration != 3 * slot.display_ticks) {
    return Fail("message queue", "slot %d: display_ticks %d, screen_duration %d", i,
                slot.display_ticks, slot.screen_duration);
  }
  if (!PromptValid(m.course, slot.prompt)) {
    return Fail("message queue", "slot %d: prompt %p neither none, in the course nor the module's",
                i, static_cast<const void*>(slot.prompt));
  }
  return std::nullopt;
}

const SimSound* HostSound(const SimHost& h, uint32_t handle) {
  for (const SimSound& s : h.sounds) {
    if (s.handle == handle) return &s;
  }
  return nullptr;
}

// What the course allows a bonus-object counter slot: the most takes of
// the objects that count in it, and the largest value each kind can add.
struct SlotLimits {
  int32_t max_takes = 0;
  int64_t largest_percent = 0;  // magnitudes: -2^31 has none in 32 bits
  int64_t largest_points = 0;
};

void NoteBonusObject(const uint8_t* record, std::vector<SlotLimits>& slots) {
  using namespace course::bonus_object;
  int32_t slot = RecordField(record, kCounterSlot);
  if (slot < 0 || slot >= course::kScoreSlots) return;
  SlotLimits& l = slots[static_cast<size_t>(slot)];
  if (RecordField(record, kMaxTakes) > l.max_takes) l.max_takes = RecordField(record, kMaxTakes);
  int64_t largest = std::llabs(static_cast<int64_t>(RecordField(record, kNormalValue)));
  int64_t alternative = std::llabs(static_cast<int64_t>(RecordField(record, kAlternativeValue)));
  if (alternative > largest) largest = alternative;
  int64_t& kind = (RecordField(record, kFlags) & 16) ? l.largest_percent : l.largest_points;
  if (largest > kind) kind = largest;
}

std::vector<SlotLimits> CourseSlotLimits(const CourseImage& c) {
  std::vector<SlotLimits> slots(course::kScoreSlots);
  for (int32_t i = 0; i < CourseEntryCount(c); ++i) {
    const uint8_t* entry = CourseEntry(c, i);
    if (RecordType(entry) == course::kBonusObject) NoteBonusObject(entry, slots);
  }
  return slots;
}

// The LegEnd of the leg that starts at `start`.
const uint8_t* LegEndOf(const uint8_t* start) {
  const uint8_t* r = start + course::RecordSize(course::kStartGate);
  while (RecordType(r) != course::kLegEnd) r += course::RecordSize(RecordType(r));
  return r;
}

Found CheckQuizStates(const RallyModule& m) {
  const ScoreTable& t = m.scores;
  int32_t n = CourseQuestionCount(m.course), asked = 0, wrong = 0;
  for (int32_t i = 0; i < course::kMaxQuestions; ++i) {
    int32_t state = QuizState(t, i);
    bool allowed = i < n ? (state == 0 || state == 1 || state == 3) : state == 0;
    if (!allowed) return Fail("score table", "question %d of %d: quiz state %d", i, n, state);
    asked += state & 1;
    wrong += state == 3;
  }
  if (t.unasked_count != n - asked || t.wrong_count != wrong) {
    return Fail("score table", "unasked %d, wrong %d; the states say %d and %d (%d questions)",
                t.unasked_count, t.wrong_count, n - asked, wrong, n);
  }
  return std::nullopt;
}

Found CheckBonusTotals(const RallyModule& m) {
  const ScoreTable& t = m.scores;
  std::vector<SlotLimits> slots = CourseSlotLimits(m.course);
  int64_t percent_room = 0, points_room = 0;
  for (int32_t s = 0; s < course::kScoreSlots; ++s) {
    int32_t takes = TakeCounter(t, s);
    const SlotLimits& l = slots[static_cast<size_t>(s)];
    if (takes < 0 || takes > l.max_takes) {
      return Fail("score table", "take counter %d is %d; its objects allow %d", s, takes,
                  l.max_takes);
    }
    percent_room += static_cast<int64_t>(takes) * l.largest_percent;
    points_room += static_cast<int64_t>(takes) * l.largest_points;
  }
  if (std::llabs(ScorePercentage(t) - 100LL) > percent_room ||
      std::llabs(static_cast<int64_t>(ScoreBonusPoints(t))) > points_room) {
    return Fail("score table",
                "percentage %d, points %d; the takes counted allow 100 +- %lld, +- %lld",
                ScorePercentage(t), ScoreBonusPoints(t), static_cast<long long>(percent_room),
                static_cast<long long>(points_room));
  }
  return std::nullopt;
}

Found CheckBestLeg(const RallyModule& m, int32_t leg) {
  const ScoreTable& t = m.scores;
  int32_t v[6];
  int64_t sum = 0;  // the total is the parts' sum, held to 32 bits
  for (int32_t i = 0; i < 6; ++i) v[i] = BestLegValue(t, leg, i);
  for (int32_t i = 0; i < 5; ++i) sum += v[i];
  if (sum > INT32_MAX) sum = INT32_MAX;
  if (sum < INT32_MIN) sum = INT32_MIN;
  bool empty = v[0] == 0 && v[1] == 0 && v[2] == 0 && v[3] == 0 && v[4] == 0 && v[5] == 0;
  if (empty) return std::nullopt;
  const CourseImage& c = m.course;
  bool is_leg = leg < CourseEntryCount(c) && RecordType(CourseEntry(c, leg)) == course::kStartGate;
  if (!is_leg)
    return Fail("score table", "entry %d is no leg but holds a best total %d", leg, v[5]);
  const uint8_t* end = LegEndOf(CourseEntry(c, leg));
  using namespace course::leg_end;
  int64_t most_time =
      static_cast<int64_t>(RecordField(end, kTimeAllowance)) * RecordField(end, kTimeFactor);
  bool ok = v[5] == sum && v[5] > 0 && v[0] == RecordField(end, kBasePoints) && v[3] <= 0 &&
            v[4] <= 0 && v[4] % 50 == 0 && (RecordField(end, kTimeFactor) < 0 || v[2] <= most_time);
  if (!ok) {
    return Fail("score table", "leg %d best: base %d bonus %d time %d prec %d aids %d total %d",
                leg + 1, v[0], v[1], v[2], v[3], v[4], v[5]);
  }
  return std::nullopt;
}

Found CheckNameSlots(const RallyModule& m) {
  const ScoreTable& t = m.scores;
  for (int32_t k = 0; k < score::kNameSlots; ++k) {
    const char* name = NameSlot(t, k);
    if (name == nullptr) continue;
    bool in_course = TextInside(name, m.course.block, m.course.size);
    bool in_pool = TextInside(name, t.name_pool, t.name_pool_size);
    if (!in_course && !in_pool) {
      return Fail("score table", "name slot %d points at %p, neither in the course nor the pool", k,
                  static_cast<const void*>(name));
    }
  }
  return std::nullopt;
}

bool InsideCourseRecord(const CourseImage& c, const uint8_t* record) {
  return InCourse(c, record) && record + 4 <= c.block + c.size;
}

int32_t RallyPopups(const SimMenuBar& menus) {
  const SimMenu* bar = SimFindMenu(menus, menus.bar);
  int32_t popups = 0;
  if (bar == nullptr) return 0;
  for (const SimMenuItem& item : bar->items) popups += item.text == kRallyMenuTitle;
  return popups;
}

}  // namespace

Found CheckMessageQueue(const SoakScene& s) {
  const RallyModule& m = s.module;
  const MessageQueue& q = m.messages;
  if (q.count < 0 || q.count > kMessageSlots) {
    return Fail("message queue", "count %d outside 0 to %d", q.count, kMessageSlots);
  }
  bool countdown_ok =
      q.count == 0 ? q.countdown == 0 : q.countdown >= 0 && q.countdown <= q.slots[0].display_ticks;
  if (!countdown_ok) {
    return Fail("message queue", "count %d, countdown %d, front display_ticks %d", q.count,
                q.countdown, q.slots[0].display_ticks);
  }
  for (int32_t i = 0; i < q.count; ++i) {
    if (Found f = CheckSlot(m, i)) return f;
  }
  const Alert& a = m.alert;
  if (a.priority < 0 || a.priority > 2 || a.hold_counter < 0 || a.hold_counter >= kAlertHoldTicks) {
    return Fail("message queue", "alert priority %d, hold %d", a.priority, a.hold_counter);
  }
  return std::nullopt;
}

Found CheckPromptSlots(const SoakScene& s) {
  const PromptQueue& p = s.module.prompts;
  const SimSound* current = HostSound(s.host, p.current);
  const SimSound* waiting = HostSound(s.host, p.waiting);
  bool ok = (p.current == 0 || (current != nullptr && current->playing)) &&
            (p.waiting == 0 || (waiting != nullptr && !waiting->playing)) &&
            (p.waiting == 0 || (p.current != 0 && p.current != p.waiting));
  if (!ok) {
    return Fail("prompt slots", "current %u (%s), waiting %u (%s)", p.current,
                current ? (current->playing ? "playing" : "idle") : "unknown", p.waiting,
                waiting ? (waiting->playing ? "playing" : "idle") : "unknown");
  }
  for (const SimSound& sound : s.host.sounds) {
    if (sound.handle != p.current && sound.handle != p.waiting) {
      return Fail("prompt slots", "host holds sound %u \"%s\" that neither slot has", sound.handle,
                  sound.name.c_str());
    }
  }
  return std::nullopt;
}

Found CheckDialogs(const SoakScene& s) {
  if (s.most_dialogs_open > 1 || s.module.dialogs.open) {
    return Fail("dialogs", "%d open at once; open after the tick: %s", s.most_dialogs_open,
                s.module.dialogs.open ? "yes" : "no");
  }
  return std::nullopt;
}

Found CheckRegistrations(const SoakScene& s) {
  const RallyModule& m = s.module;
  int32_t ticks = SimCallbacksOfKind(s.host, kCallbackTick);
  int32_t events = SimCallbacksOfKind(s.host, kCallbackHostEvent);
  bool tick_ok = ticks == 1 && SimRegistrations(s.host, kCallbackTick, m.frame.tick_routine) == 1;
  if (!tick_ok || events != 1) {
    return Fail("registrations",
                "%d tick routines (the module's registered %d times), %d event routines", ticks,
                SimRegistrations(s.host, kCallbackTick, m.frame.tick_routine), events);
  }
  if (s.host.window.window_proc != m.routines.main_window_proc) {
    return Fail("registrations", "window procedure %#llx, not the module's",
                static_cast<unsigned long long>(s.host.window.window_proc));
  }
  int32_t popups = RallyPopups(s.menus);
  bool numbering_ok = m.menu.command_last == 0 || m.menu.command_last == m.menu.command_base + 13;
  if (popups > 1 || !numbering_ok) {
    return Fail("registrations", "%d popups \"&Aerilon\" in the bar; commands %u to %u", popups,
                m.menu.command_base, m.menu.command_last);
  }
  return std::nullopt;
}

Found CheckScoreTable(const SoakScene& s) {
  const RallyModule& m = s.module;
  if (Found f = CheckQuizStates(m)) return f;
  if (Found f = CheckBonusTotals(m)) return f;
  for (int32_t leg = 0; leg < course::kMaxLegs; ++leg) {
    if (Found f = CheckBestLeg(m, leg)) return f;
  }
  return CheckNameSlots(m);
}

Found CheckRaceState(const SoakScene& s) {
  const RallyModule& m = s.module;
  const RaceEngine& r = m.race;
  int32_t entries = CourseEntryCount(m.course);
  if (r.state < kOutOfRace || r.state > kNearObjectInner || r.current_leg < -1 ||
      r.current_leg >= entries || r.tick_count < 0 || r.quiz_countdown < 0 || r.landing_dwell < 0) {
    return Fail("race state", "state %d, leg %d of %d entries, ticks %d, quiz %d, dwell %d",
                r.state, r.current_leg, entries, r.tick_count, r.quiz_countdown, r.landing_dwell);
  }
  bool in_object = r.state >= kLegRunning;
  if (!in_object) return std::nullopt;
  bool leg_ok = r.state != kLegRunning ||
                (r.current_leg >= 0 &&
                 RecordType(CourseEntry(m.course, r.current_leg)) == course::kStartGate);
  bool near_ok = r.state == kLegRunning || RecordType(r.record) == course::kBonusObject;
  if (!leg_ok || !near_ok || !InsideCourseRecord(m.course, r.record) ||
      (r.target.exists && !InsideCourseRecord(m.course, r.target.record))) {
    return Fail("race state", "state %d, leg %d, record %p, target %p", r.state, r.current_leg,
                static_cast<const void*>(r.record), static_cast<const void*>(r.target.record));
  }
  return std::nullopt;
}

Found CheckHeap(const SoakScene& s) {
  const RallyModule& m = s.module;
  size_t owned = (m.course.block != nullptr) + (m.scores.name_pool != nullptr);
  bool match = s.heap.live.size() == owned && s.heap.frees_of_unknown_blocks == 0 &&
               (m.course.block == nullptr || s.heap.live.count(m.course.block) == 1) &&
               (m.scores.name_pool == nullptr || s.heap.live.count(m.scores.name_pool) == 1);
  if (!match) {
    return Fail("heap",
                "%zu live blocks, the module owns %zu (course %p, pool %p); %lld unknown frees",
                s.heap.live.size(), owned, static_cast<const void*>(m.course.block),
                static_cast<const void*>(m.scores.name_pool),
                static_cast<long long>(s.heap.frees_of_unknown_blocks));
  }
  return std::nullopt;
}

Found CheckAfterTick(const SoakScene& s) {
  static const SoakCheck kChecks[] = {CheckMessageQueue,  CheckPromptSlots, CheckDialogs,
                                      CheckRegistrations, CheckScoreTable,  CheckRaceState,
                                      CheckHeap};
  for (SoakCheck check : kChecks) {
    if (Found f = check(s)) return f;
  }
  return std::nullopt;
}

Found CheckAfterShutdown(const SoakScene& s) {
  size_t routines = s.host.callbacks.size();
  bool window_back = s.host.window.window_proc == s.simulator_window_proc;
  if (routines != 0 || !window_back || !s.heap.live.empty() ||
      s.heap.frees_of_unknown_blocks != 0) {
    return Fail("shutdown",
                "%zu routines still registered, window procedure %s, %zu blocks not freed, %lld "
                "unknown frees",
                routines, window_back ? "restored" : "not restored", s.heap.live.size(),
                static_cast<long long>(s.heap.frees_of_unknown_blocks));
  }
  return std::nullopt;
}
