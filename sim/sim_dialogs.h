#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/sim_host.h"

struct RallyModule;

// The stand-in host's dialogs. The stand-in window has no dialog manager:
// a dialog the module runs is played here through the same portable models
// the DLL's dialog procedures use, with the pilot's answers taken from the
// flight script, and what it showed is handed back for the transcript.

enum class SimSummaryButton {
  kOk,    // "O&K" (Esc and the close box end the same way)
  kExit,  // "&Esci di gara"; while it is greyed the pilot can only press OK
};

struct SimDialogAnswers {
  int32_t quiz_slot = 1;  // the radio slot, 1 to 3, left checked when OK is pressed
  SimSummaryButton summary = SimSummaryButton::kOk;
};

struct SimDialogRecord {
  int32_t id;
  std::vector<SimControlText> texts;  // every control the dialog set, in the order set (Latin-1)
  std::vector<int32_t> disabled;      // controls greyed when the dialog opened
  int32_t result;                     // what DialogBoxParamA returns; -1 for an unknown dialog
};

// Runs dialog `id` (101 score summary, 102 quiz, 107 credits) over the
// module's current state, as the pilot answers it. The score summary reads
// the product code through the module's shell and the clock through its
// platform, as the DLL does.
SimDialogRecord RunSimDialog(const RallyModule& m, int32_t id, const SimDialogAnswers& answers);

// The flight script's words for the summary's buttons: "ok" and "exit".
// False for any other word.
bool ParseSimSummaryButton(const std::string& word, SimSummaryButton* button);

// The credits dialog only shows its template's texts and always ends with 1.
constexpr int32_t kCreditsDialogResult = 1;
