#include "sim/sim_state_fields.h"

#include <cstdio>
#include <cstring>

#include "rally/host/host_interface.h"

using namespace sim_field;

namespace {

int64_t ReadField(const uint8_t* block, const SimStateField& f) {
  uint64_t raw = 0;
  for (uint32_t i = 0; i < f.width; ++i)
    raw |= static_cast<uint64_t>(block[f.offset + i]) << (8 * i);
  if (f.is_signed && f.width < 8 && (raw >> (8 * f.width - 1)) != 0) {
    raw |= ~static_cast<uint64_t>(0) << (8 * f.width);
  }
  return static_cast<int64_t>(raw);
}

const SimStateField* FieldAt(uint32_t offset) {
  for (const SimStateField& f : SimStateFields()) {
    if (offset >= f.offset && offset < f.offset + f.width) return &f;
  }
  return nullptr;
}

}  // namespace

const std::vector<SimStateField>& SimStateFields() {
  static const std::vector<SimStateField> kFields = {
      {"pause_flag", kPauseFlag, 2, true},
      {"suspend_flag", kSuspendFlag, 1, false},
      {"magnetic_variation", kMagneticVariation, 2, false},
      {"aircraft_speed", kAircraftSpeed, 4, true},
      {"reposition_mode", kRepositionMode, 1, false},
      {"on_ground", kOnGround, 2, true},
      {"aircraft_latitude", kAircraftLatitude, 8, true},
      {"aircraft_longitude", kAircraftLongitude, 8, true},
      {"aircraft_altitude", kAircraftAltitude, 8, true},
      {"aircraft_pitch", kAircraftPitch, 4, true},
      {"aircraft_bank", kAircraftBank, 4, true},
      {"aircraft_heading", kAircraftHeading, 4, false},
      {"slew_active", kSlewActive, 2, true},
      {"crashed", kCrashed, 2, true},
      {"condition_index", kConditionIndex, 1, false},
      {"reposition_request", kRepositionRequest, 4, true},
      {"reposition_altitude", kRepositionAltitude, 8, true},
  };
  return kFields;
}

std::vector<SimFieldValue> ChangedStateFields(const uint8_t* before, const uint8_t* after) {
  std::vector<SimFieldValue> changed;
  for (uint32_t offset = 0; offset < kBlockSize; ++offset) {
    if (before[offset] == after[offset]) continue;
    const SimStateField* f = FieldAt(offset);
    if (f == nullptr) {
      char name[16];
      std::snprintf(name, sizeof name, "byte_0x%04X", static_cast<unsigned>(offset));
      changed.push_back(SimFieldValue{name, 1, after[offset]});
      continue;
    }
    changed.push_back(SimFieldValue{f->name, f->width, ReadField(after, *f)});
    offset = f->offset + f->width - 1;  // the field is reported once
  }
  return changed;
}
