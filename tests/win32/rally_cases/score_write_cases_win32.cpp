// The score file as the real DLL rewrites it after an award, where Windows 9x
// has no MoveFileExA (the lookup is made to fail) and where it has one: an
// old file is replaced and nothing is left beside it; a folder standing at
// the score file's name is not replaced, and the work file goes again.
#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "course_model/course_writer.h"
#include "rally/course/score_table.h"
#include "rally/host/host_interface.h"
#include "rally/host/stdio_platform.h"
#include "tests/win32/import_patch_win32.h"
#include "tests/win32/rally_host/balloon_course_win32.h"
#include "tests/win32/rally_host/case_folder_win32.h"
#include "tests/win32/rally_host/dll_cases_win32.h"
#include "tests/win32/rally_host/rally_dll_run_win32.h"

namespace {

decltype(&GetProcAddress) g_real_get_proc_address = nullptr;
int g_move_file_ex_refused = 0;

FARPROC WINAPI GetProcAddressWithoutMoveFileEx(HMODULE module, LPCSTR name) {
  if (HIWORD(reinterpret_cast<uintptr_t>(name)) != 0 && lstrcmpA(name, "MoveFileExA") == 0) {
    g_move_file_ex_refused += 1;
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return g_real_get_proc_address(module, name);
}

std::vector<std::string> NamesIn(const char* pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

std::string Listed(const std::vector<std::string>& names) {
  std::string s;
  for (const std::string& n : names) s += (s.empty() ? "" : " ") + n;
  return "ADV\\RALLY holds: " + s;
}

bool IsFolder(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != 0xFFFFFFFF && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// One award with the DLL as it is, or told that MoveFileExA does not exist.
void FlyTheAward(const std::string& dll_path, bool without_move_file_ex) {
  DllRun run(dll_path);
  if (without_move_file_ex) {
    g_real_get_proc_address = reinterpret_cast<decltype(&GetProcAddress)>(
        ReplaceImport(run.module(), "KERNEL32.dll", "GetProcAddress",
                      reinterpret_cast<void*>(&GetProcAddressWithoutMoveFileEx)));
  }
  run.BindHost(true);
  PlaceAircraft(run.host, 5000);
  SetSimAircraftSpeed(run.host.state, 100 * 128);
  if (run.Init() != 1) throw std::runtime_error("ModuleInit did not start the module");
  run.Ticks(32);
  FlyIntoTheBalloon(run);
  run.Ticks(run.host.prompt_ticks + 1);
  run.Deinit();
  run.Unload();
}

void CheckReplaceOverAnOldFile(CheckReport& r, const std::string& p, const std::string& dll_path,
                               bool without_move_file_ex) {
  CaseFolder folder(without_move_file_ex ? "score-replace-9x" : "score-replace");
  folder.Write(kCoursePath, EncodeCourseFile(BalloonCourse()));
  folder.Write(kScorePath, ScoreFileWithNames({"Vecchio"}));
  g_move_file_ex_refused = 0;
  FlyTheAward(dll_path, without_move_file_ex);
  if (without_move_file_ex) {
    r.Expect(g_move_file_ex_refused > 0, p + "the DLL looked MoveFileExA up and found none",
             "GetProcAddress was not asked for it");
  }
  ScoreTable t{};
  StdioPlatform files{};
  PlatformOps platform = MakeStdioPlatform(&files);
  ReadScoreFile(t, platform, kScorePath, 0);
  std::string first_name = t.name_slots[0] != nullptr ? t.name_slots[0] : "";
  r.Expect(t.words[score::kBonusPointsWord] == 50 && first_name == "Vecchio",
           p + "the award's 50 points replace the old file, its names kept",
           "bonus points " + std::to_string(t.words[score::kBonusPointsWord]) + ", slot 0 \"" +
               first_name + "\"");
  ReleaseNamePool(t, platform);
  std::vector<std::string> names = NamesIn("ADV\\RALLY\\*");
  r.Expect(names == std::vector<std::string>{"Rally.DAT", "Rally.SCO"},
           p + "no work file and no spare copy is left", Listed(names));
}

void CheckAFolderInTheWay(CheckReport& r, const std::string& p, const std::string& dll_path,
                          bool without_move_file_ex) {
  CaseFolder folder(without_move_file_ex ? "score-folder-9x" : "score-folder");
  folder.Write(kCoursePath, EncodeCourseFile(BalloonCourse()));
  CreateDirectoryA(kScorePath, nullptr);
  FlyTheAward(dll_path, without_move_file_ex);
  std::vector<std::string> names = NamesIn("ADV\\RALLY\\*");
  r.Expect(IsFolder(kScorePath) && names == std::vector<std::string>{"Rally.DAT", "Rally.SCO"},
           p + "a folder at Rally.SCO is not replaced and the work file goes again", Listed(names));
}

}  // namespace

void CheckScoreFileReplace(CheckReport& r, const std::string& dll_path) {
  for (bool without_move_file_ex : {true, false}) {
    const std::string p =
        without_move_file_ex ? "score file, no MoveFileExA: " : "score file, with MoveFileExA: ";
    CheckReplaceOverAnOldFile(r, p, dll_path, without_move_file_ex);
    CheckAFolderInTheWay(r, p, dll_path, without_move_file_ex);
  }
}
