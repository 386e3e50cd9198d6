#include "rally/ui/message_commands.h"
#include "rally/course/score_arithmetic.h"

#include <cstring>

#include "rally/state/module.h"
#include "rally/ui/format_text.h"
#include "rally/ui/message_queue.h"
#include "rally/ui/tenths_text.h"

namespace {
constexpr double kMilesPerMetre = 0.0005399568034557236;  // 1/1852
constexpr double kFeetPerMetre = 3.2808398950131;
constexpr uint64_t kDegreeFactorBits = 0x3F7680000000009Bull;
constexpr int32_t kNextFixSeconds = 4;

// Truncated like the conversion it stands for, but held to 32 bits: a target
// beyond about 654,000 km up would not fit (any 32-bit altitude fits 64 bits).
int32_t FeetOf(int32_t metres) {
  return ClampToInt32(static_cast<int64_t>(metres * kFeetPerMetre));
}

}  // namespace

double NextFixDegreeFactor() {
  double factor;
  std::memcpy(&factor, &kDegreeFactorBits, sizeof factor);
  return factor;
}

void ShowNextFixInfo(RallyModule& m) {
  if (m.race.state != kLegRunning || !m.race.target.exists) return;
  uint8_t target[kPositionBytes];
  StorePosition(target, m.race.target.position);
  uint32_t bearing = 0;
  int32_t distance = 0;
  m.host.distance_and_bearing(m.host.context, m.host.sim_state + sim_field::kAircraftPosition,
                              target, &bearing, &distance);
  double miles = distance * kMilesPerMetre;
  uint32_t magnetic = (bearing - SimMagneticVariation(m.host.sim_state)) & 0xFFFFu;
  int32_t degrees = static_cast<int32_t>(magnetic * NextFixDegreeFactor());
  if (degrees == 0) degrees = 360;
  int32_t feet = FeetOf(UpperWord(m.race.target.position.altitude));
  char distance_text[32];
  FormatTenths(miles, distance_text, sizeof distance_text);
  char text[kMessageTextBytes];
  FormatText(text, sizeof text, "Prossimo fix a %sNM per %03d\xB0, %dft MSL", distance_text,
             degrees, feet);
  QueueMessage(m, text, nullptr, kNextFixSeconds);
  m.race.score.aids += 1;
}

void RepeatLastMessage(RallyModule& m) {
  const MessageSlot& last = m.messages.slots[0];
  if (m.race.state != kLegRunning || m.messages.count != 0 || last.text[0] == '\0') return;
  QueueMessage(m, last.text, last.prompt, last.display_ticks / 6);
}
