#pragma once

// Layer rally/course: the course file and the score file: their layouts,
// the scramble, the check of a loaded course, the score table; and the
// course writer of the tools and tests. It uses host/.

#include <cstdint>

// Layout of the course file (equal to the CourseImage once unscrambled):
// a 128-byte header, an entry table of offsets, record streams, a quiz
// table and texts, every integer 32-bit little-endian.
namespace course {

constexpr char kMagic[] = "VESK RALLY";  // 10 letters and a NUL at offset 10
constexpr uint32_t kMagicBytes = 11;

constexpr uint32_t kFirstTitle = 16;
constexpr uint32_t kSecondTitle = 64;
constexpr uint32_t kTitleBytes = 48;
constexpr uint32_t kEntryCount = 112;
constexpr uint32_t kLegCount = 116;
constexpr uint32_t kQuestionCount = 120;
constexpr uint32_t kQuizTableOffset = 124;
constexpr uint32_t kEntryTable = 128;
constexpr uint32_t kHeaderBytes = 128;

// The score table has room for this many legs and quiz questions, and its
// take counters and name slots are indexed 0 to 19.
constexpr int32_t kMaxLegs = 20;
constexpr int32_t kMaxQuestions = 40;
constexpr int32_t kScoreSlots = 20;

enum RecordType : int32_t {
  kStartGate = 1,
  kMessageRecord = 2,
  kGate = 3,
  kWaypoint = 4,
  kLanding = 5,
  kTrackStart = 6,
  kTrackEnd = 7,
  kCollectible = 8,
  kLegEnd = 9,
  kQuizTimer = 10,
  kBonusObject = 11,
};

// Size in bytes of a record of the given type; 0 for an unknown type.
uint32_t RecordSize(int32_t type);
// Gate, Waypoint and Landing: the engine waits at them.
bool IsTarget(int32_t type);

// Byte offsets inside the records.
namespace start_gate {
constexpr uint32_t kLatMin = 4, kLatMax = 8, kLonMin = 12, kLonMax = 16, kAltCentre = 20,
                   kAltBand = 24, kSpeedMin = 28, kSpeedMax = 32, kHeading = 36;
}
namespace message_record {
constexpr uint32_t kSeconds = 4, kText = 8, kVoice = 12;
}
namespace gate {
constexpr uint32_t kLatMin = 4, kLatMax = 8, kLonMin = 12, kLonMax = 16, kAltCentre = 20,
                   kAltBand = 24, kSpeedMin = 28, kSpeedMax = 32, kHeading = 36, kReserved = 40,
                   kWarningText = 44, kWarningVoice = 48;
}
namespace waypoint {
constexpr uint32_t kLat = 4, kLon = 8, kRadius = 12, kAlt = 16, kAltBand = 20, kHeading = 24,
                   kReserved = 28, kWarningText = 32, kWarningVoice = 36;
}
namespace landing {
constexpr uint32_t kLatMin = 4, kLatMax = 8, kLonMin = 12, kLonMax = 16, kAlt = 20, kHeading = 24,
                   kReserved = 28, kWarningText = 32, kWarningVoice = 36;
}
namespace track_start {
constexpr uint32_t kLat = 4, kLon = 8, kRadial = 12, kTolerance = 16, kWeight = 20, kNearZone = 24;
}
namespace collectible {
constexpr uint32_t kNameSlot = 4, kPoints = 8, kReserved = 12, kName = 16;
}
namespace leg_end {
constexpr uint32_t kBasePoints = 4, kTimeAllowance = 8, kTimeFactor = 12;
}
namespace quiz_timer {
constexpr uint32_t kDelay = 4;
}
namespace bonus_object {
constexpr uint32_t kLat = 4, kLon = 8, kAlt = 12, kOuterHalf = 16, kOuterConditions = 28,
                   kMiddleHalf = 32, kMiddleConditions = 44, kInnerHalf = 48, kInnerConditions = 60,
                   kFlags = 64, kCounterSlot = 68, kMaxTakes = 72, kAlternativePercent = 76,
                   kAlternativeValue = 80, kNormalValue = 84;
}
namespace quiz_question {
constexpr uint32_t kQuestion = 0, kCorrectAnswer = 4, kSecondAnswer = 8, kThirdAnswer = 12,
                   kPoints = 16, kBytes = 20;
}

}  // namespace course
