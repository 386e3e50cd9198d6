#include "rally/course/course_format.h"

namespace course {

uint32_t RecordSize(int32_t type) {
  switch (type) {
    case kStartGate: return 40;
    case kMessageRecord: return 16;
    case kGate: return 52;
    case kWaypoint: return 40;
    case kLanding: return 40;
    case kTrackStart: return 28;
    case kTrackEnd: return 4;
    case kCollectible: return 20;
    case kLegEnd: return 16;
    case kQuizTimer: return 8;
    case kBonusObject: return 88;
    default: return 0;
  }
}

bool IsTarget(int32_t type) {
  return type == kGate || type == kWaypoint || type == kLanding;
}

}  // namespace course
