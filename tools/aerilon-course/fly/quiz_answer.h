#pragma once

#include <string>

#include "sim/sim_dialogs.h"

struct RallyModule;

// How the autopilot answers a quiz question: it reads the question and the
// three answers as the dialog shows them, finds the question in the
// course's quiz table by its text, and checks the slot that shows the
// course's right answer.
struct QuizAnswer {
  int slot = 1;      // 1 to 3
  std::string told;  // for the report, code page 1252
};

QuizAnswer AnswerQuiz(const RallyModule& m, const SimDialogRecord& shown);
