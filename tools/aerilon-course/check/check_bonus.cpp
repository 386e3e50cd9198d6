// Bonus objects. One is armed in the entry scan when the aircraft is
// inside its outer box (edges included) but not strictly inside its middle
// box; from then on, the innermost box the aircraft is strictly inside of
// (inside the middle one means inside the outer one too, and so on)
// decides: strictly inside all three, it is awarded. Each box's conditions
// refuse the aircraft while it is in that box's state.
#include <algorithm>
#include <array>

#include "rally/course/course_format.h"
#include "tools/aerilon-course/check/check_rules.h"

using namespace course_model;

namespace {

constexpr int32_t kRefusedAirborne = 4, kRefusedOnGround = 8;
constexpr int kAvailabilityShift = 6;  // flag bit 6 + n: exists in condition n

const char* const kAxes[] = {"latitude", "longitude", "altitude"};
const char* const kApproaches[] = {"from the north or south", "from the east or west",
                                   "from above or below"};

struct NamedBox {
  const char* name;
  std::array<int32_t, 3> half;
  int32_t conditions;
};

std::array<NamedBox, 3> Boxes(const BonusObject& b) {
  auto box = [](const char* name, const BonusBox& x) {
    return NamedBox{name, {x.half_lat, x.half_lon, x.half_alt}, x.conditions};
  };
  return {box("outer", b.outer), box("middle", b.middle), box("inner", b.inner)};
}

bool RefusesEveryone(int32_t conditions) {
  return (conditions & kRefusedAirborne) && (conditions & kRefusedOnGround);
}

std::string AxisList(const std::vector<int>& axes, const char* const* words) {
  std::string out;
  for (size_t i = 0; i < axes.size(); ++i) {
    if (i > 0) out += i + 1 == axes.size() ? " and " : ", ";
    out += words[axes[i]];
  }
  return out;
}

// Strictly inside every box is needed for the award: a half-size of 0 or
// less leaves no room.
bool CheckHalfSizes(LintReport& report, const LintObject& object, const BonusObject& b) {
  bool room = true;
  for (const NamedBox& box : Boxes(b)) {
    for (int axis = 0; axis < 3; ++axis) {
      if (box.half[axis] > 0) continue;
      report.Error(object, std::string("its ") + box.name + " box's " + kAxes[axis] +
                               " half-size is " + std::to_string(box.half[axis]) +
                               ": the award needs the aircraft strictly within every box, so it "
                               "never comes");
      room = false;
    }
  }
  return room;
}

void CheckNesting(LintReport& report, const LintObject& object, const BonusObject& b) {
  std::array<NamedBox, 3> boxes = Boxes(b);
  std::vector<int> middle_not_smaller, inner_not_smaller;
  for (int axis = 0; axis < 3; ++axis) {
    if (boxes[1].half[axis] >= boxes[0].half[axis]) middle_not_smaller.push_back(axis);
    if (boxes[2].half[axis] >= boxes[1].half[axis]) inner_not_smaller.push_back(axis);
  }
  bool larger_everywhere = true;
  for (int axis = 0; axis < 3; ++axis) {
    larger_everywhere = larger_everywhere && boxes[1].half[axis] > boxes[0].half[axis];
  }
  if (larger_everywhere) {
    report.Error(object,
                 "its middle box is larger than its outer box on every axis: it is armed "
                 "only inside the outer box but outside the middle one, so it never is");
  } else if (middle_not_smaller.size() == 3) {
    report.Warning(object,
                   "its middle box is not smaller than its outer box on any axis: it is "
                   "armed only exactly on the outer box's edge");
  } else if (!middle_not_smaller.empty()) {
    report.Warning(object, "its middle box is not smaller than its outer box in " +
                               AxisList(middle_not_smaller, kAxes) + ": entering it " +
                               AxisList(middle_not_smaller, kApproaches) +
                               " arms it at most exactly on the outer box's edge");
  }
  if (!inner_not_smaller.empty()) {
    report.Warning(object, "its inner box is not smaller than its middle box in " +
                               AxisList(inner_not_smaller, kAxes) +
                               ": the award comes only within the middle box there");
  }
}

void CheckConditions(LintReport& report, const LintObject& object, const BonusObject& b) {
  if (RefusesEveryone(b.outer.conditions)) {
    report.Error(object,
                 "its outer box refuses aircraft both airborne and on the ground: it is "
                 "never armed");
  }
  if (RefusesEveryone(b.inner.conditions)) {
    report.Error(object,
                 "its inner box refuses aircraft both airborne and on the ground: it is "
                 "never awarded");
  }
  // Passing through the middle box's band costs the approach; only an
  // aircraft that jumps it between two ticks is awarded.
  bool band = false;
  std::array<NamedBox, 3> boxes = Boxes(b);
  for (int axis = 0; axis < 3; ++axis) {
    band = band || boxes[2].half[axis] < std::min(boxes[0].half[axis], boxes[1].half[axis]);
  }
  if (RefusesEveryone(b.middle.conditions) && band) {
    report.Warning(object,
                   "its middle box refuses aircraft both airborne and on the ground: an "
                   "aircraft seen in it outside the inner box loses the approach");
  }
}

void CheckBonusObject(LintReport& report, size_t index) {
  const BonusObject& b = report.course().bonus_objects[index];
  LintObject object = BonusObjectOf(index);
  if ((static_cast<uint32_t>(b.flags) >> kAvailabilityShift) == 0) {
    report.Error(object,
                 "its flags have no condition bit (bits 6 and up): it exists in no "
                 "condition");
  }
  if (b.counter_slot < 0 || b.counter_slot >= course::kScoreSlots) {
    report.Error(object, "its take-counter slot " + std::to_string(b.counter_slot) +
                             " is outside 0 to " + std::to_string(course::kScoreSlots - 1) +
                             ": the module refuses the course");
  }
  if (b.max_takes <= 0) {
    report.Warning(object, "its maximum number of takes is " + std::to_string(b.max_takes) +
                               ": it is never awarded");
  }
  if (CheckHalfSizes(report, object, b)) CheckNesting(report, object, b);
  CheckConditions(report, object, b);
}

}  // namespace

void CheckBonusObjects(LintReport& report) {
  for (size_t i = 0; i < report.course().bonus_objects.size(); ++i) CheckBonusObject(report, i);
}
