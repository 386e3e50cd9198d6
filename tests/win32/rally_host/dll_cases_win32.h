#pragma once

#include <string>

#include "tests/win32/check_report.h"

// The test host's cases. Each DLL case loads RALLY.DLL afresh in its own
// simulator folder and checks that it unloads again; a case that cannot be
// set up throws std::runtime_error.
void CheckFs98Tables(CheckReport& report);
void CheckExportedRecords(CheckReport& report, const std::string& dll_path);
void CheckFullStartUpAndHandOver(CheckReport& report, const std::string& dll_path);
void CheckShutdownDuringStartupDelay(CheckReport& report, const std::string& dll_path);
void CheckNoCourse(CheckReport& report, const std::string& dll_path);
void CheckCourseWithWrongMagic(CheckReport& report, const std::string& dll_path);
void CheckNoMainWindow(CheckReport& report, const std::string& dll_path);
// One message with its voice prompt, from the award to the release.
void CheckMessageWithPrompt(CheckReport& report, const std::string& dll_path);
// The "&Aerilon" popup in a real menu bar and the commands it brings.
void CheckMenuMergeAndCommands(CheckReport& report, const std::string& dll_path);
// The three dialogs, opened from their commands and worked by the host.
void CheckScoreSummaryDialog(CheckReport& report, const std::string& dll_path);
void CheckQuizDialog(CheckReport& report, const std::string& dll_path);
void CheckCreditsDialog(CheckReport& report, const std::string& dll_path);
// Ticks and the score key inside an open summary open no second dialog.
void CheckTicksInsideTheScoreSummary(CheckReport& report, const std::string& dll_path);
// After ModuleDeinit under another window hook, the procedure only passes
// messages on and the DLL stays mapped.
void CheckShutdownUnderAnotherHook(CheckReport& report, const std::string& dll_path);
// The score file rewritten with and without MoveFileExA, and a folder in the way.
void CheckScoreFileReplace(CheckReport& report, const std::string& dll_path);
// RALLY.DLL, its course and its prompts as the setup installed them in a
// simulator folder.
void CheckInstalledFolder(CheckReport& report, const std::string& folder);
