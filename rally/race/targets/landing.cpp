#include "rally/race/targets/landing.h"
#include "rally/course/course_format.h"
#include "rally/course/course_image.h"
#include "rally/race/aircraft_sample.h"
#include "rally/race/race_texts.h"
#include "rally/race/targets/direction_test.h"
#include "rally/state/module.h"
#include "rally/ui/message_queue.h"

using namespace course;

bool InsideLandingBox(const uint8_t* r, const AircraftSample& a) {
  return RecordField(r, landing::kLatMin) <= a.latitude &&
         a.latitude <= RecordField(r, landing::kLatMax) &&
         RecordField(r, landing::kLonMin) <= a.longitude &&
         a.longitude <= RecordField(r, landing::kLonMax);
}

bool LandingSatisfied(RallyModule& m, const uint8_t* r) {
  AircraftSample a = SampleAircraft(m);
  // Rolling out of the box sideways neither ends nor advances the count.
  if (!InsideLandingBox(r, a)) return false;
  int32_t& dwell = m.race.landing_dwell;
  dwell = a.on_ground ? dwell + 1 : 0;
  if (dwell < kLandingDwellTicks) return false;
  dwell = 0;
  if (PassesDirectionTest(a.heading, RecordField(r, landing::kHeading))) return true;
  // The next 12 ground ticks test again.
  RaiseAlert(m, race_text::kWrongLandingDirection, race_voice::kFailLandingDirection,
             race_timing::kWrongDirectionPriority);
  return false;
}
