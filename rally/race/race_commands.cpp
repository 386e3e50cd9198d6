#include "rally/race/race_commands.h"
#include "rally/ui/message_queue.h"

#include "rally/race/immediate_notice.h"
#include "rally/race/race_texts.h"
#include "rally/race/start_positions.h"
#include "rally/state/module.h"

namespace {

constexpr uint8_t kRepositionMode = 15;

int64_t Fixed(uint32_t whole, uint32_t fraction) {
  return static_cast<int64_t>((static_cast<uint64_t>(whole) << 32) | fraction);
}

}  // namespace

void ToggleRace(RallyModule& m) {
  // Leaving keeps CurrentLeg, so the score summary still names the leg.
  m.race.state = m.race.state == kLegRunning ? kOutOfRace : kArmed;
}

void ResetRace(RallyModule& m) {
  m.race.state = kOutOfRace;
  m.race.current_leg = -1;
  ClearMessages(m);
}

void AbortRaceFromSummary(RallyModule& m) {
  if (m.race.state != kOutOfRace) {
    ShowImmediateNotice(m, race_text::kAborted, race_voice::kAbort);
  }
  ResetRace(m);
}

void MoveToStartPosition(RallyModule& m, uint32_t slot) {
  const StartPosition* p = StartPositionForSlot(slot);
  if (p == nullptr) return;
  // The simulator picks the jump up from these fields; they are written in
  // the order it has always seen them written.
  uint8_t* s = m.host.sim_state;
  SetSimAircraftLatitude(s, Fixed(p->latitude, 0));
  SetSimAircraftLongitude(s, Fixed(p->longitude, 0));
  SetSimRepositionAltitude(s, Fixed(p->metres, p->fraction));
  SetSimAircraftPitch(s, 0);
  SetSimAircraftBank(s, 0);
  SetSimAircraftHeading(s, p->heading);
  SetSimAircraftSpeedLow16(s, 0);
  SetSimOnGroundByte(s, 1);
  SetSimRepositionMode(s, kRepositionMode);
  SetSimRepositionRequest(s, 1);
}
