#pragma once

#include <cstdint>

// The question the quiz command is asking now: set before the quiz dialog
// opens and read by it. The texts point into the course image (a text the
// course leaves out reads as ""); the answers are in the order the dialog
// shows them, slot 1 first.
struct CurrentQuestion {
  int32_t index = -1;  // in the course's quiz table; -1 before the first question
  const char* question = "";
  const char* answers[3] = {"", "", ""};
  int32_t correct_slot = 1;  // 1 to 3: the slot showing the course's answer 0
  int32_t points = 0;
};

// The six orders of the three answers: the answer shown in slots 1, 2 and
// 3, then the slot that shows answer 0 (always the right one).
namespace quiz_order {
constexpr int32_t kRows = 6;
constexpr int32_t kCorrectSlotColumn = 3;
constexpr int32_t kTable[kRows][4] = {
    {0, 1, 2, 1}, {0, 2, 1, 1}, {1, 0, 2, 2}, {1, 2, 0, 3}, {2, 0, 1, 2}, {2, 1, 0, 3},
};
}  // namespace quiz_order
