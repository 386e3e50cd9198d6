#include "rally/race/targets/gate.h"
#include "rally/race/race_texts.h"
#include "rally/race/targets/direction_test.h"
#include "rally/race/targets/gate_box.h"
#include "rally/state/module.h"
#include "rally/ui/message_queue.h"

bool GateSatisfied(RallyModule& m, const uint8_t* record) {
  AircraftSample a = SampleAircraft(m);
  if (!InsideGateBox(record, a)) return false;
  if (PassesDirectionTest(a.heading, GateHeading(record))) return true;
  RaiseAlert(m, race_text::kWrongPassDirection, race_voice::kFailGateDirection,
             race_timing::kWrongDirectionPriority);
  return false;
}
