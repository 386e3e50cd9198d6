#include "tests/win32/sceneward_host/win32_file_system_cases_win32.h"

#include "sceneward/win32/win32_api.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "sceneward/win32/file_system_win32.h"
#include "tests/win32/sceneward_host/sceneward_case_folder_win32.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

std::string Listed(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += name + " ";
  return text;
}

// Holds a file open for reading and lets others only read it: it can then be
// neither written nor renamed until it is let go.
class HeldOpen {
 public:
  explicit HeldOpen(const std::string& path)
      : file_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (file_ == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot hold " + path + " open");
  }
  ~HeldOpen() { CloseHandle(file_); }
  HeldOpen(const HeldOpen&) = delete;
  HeldOpen& operator=(const HeldOpen&) = delete;

 private:
  HANDLE file_;
};

bool Replaced(Win32FileSystem& fs, const std::string& replacement, const std::string& target) {
  return fs.ReplaceFile(replacement.c_str(), target.c_str()) == ReplaceOutcome::kReplaced;
}

void ReplaceCases(CheckReport& r) {
  Win32FileSystem fs;
  SceneCaseFolder f("file_system_replace");
  std::string target = f.Path("WORLD.VIS");
  std::string replacement = f.Path("VisEdit.$$$");

  f.WriteText("WORLD.VIS", "old library");
  f.WriteText("VisEdit.$$$", "new library");
  r.Expect(Replaced(fs, replacement, target), "replace over a file succeeds", "returned false");
  r.Expect(f.Read("WORLD.VIS") == Bytes("new library"), "replace puts the new content in place",
           "the target holds something else");
  std::vector<std::string> names = f.FileNames("");
  r.Expect(names == std::vector<std::string>{"WORLD.VIS"}, "replace leaves no file beside",
           "the folder holds: " + Listed(names));

  r.Expect(!Replaced(fs, replacement, target), "replace without the new file fails",
           "returned true");
  r.Expect(f.Read("WORLD.VIS") == Bytes("new library"),
           "replace without the new file keeps the old", "the target changed");

  // The old file has been moved aside when the new one turns out not to move:
  // it must come back.
  f.WriteText("VisEdit.$$$", "newer library");
  bool replaced;
  {
    HeldOpen held(replacement);
    replaced = Replaced(fs, replacement, target);
  }
  r.Expect(!replaced, "replace by a file that cannot move fails", "returned true");
  r.Expect(f.Read("WORLD.VIS") == Bytes("new library"),
           "replace by a file that cannot move puts the old one back", "the target changed");
  names = f.FileNames("");
  r.Expect(names == std::vector<std::string>{"VisEdit.$$$", "WORLD.VIS"},
           "replace by a file that cannot move leaves no spare file",
           "the folder holds: " + Listed(names));

  // A read-only target is refused, as a one-step replace refuses it: the new
  // file stays beside it and the old one keeps its content.
  SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
  bool replaced_read_only = Replaced(fs, replacement, target);
  SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  r.Expect(!replaced_read_only && f.Read("WORLD.VIS") == Bytes("new library") &&
               f.Read("VisEdit.$$$") == Bytes("newer library"),
           "replace over a read-only file is refused and loses neither file",
           replaced_read_only ? "returned true" : "a file changed");

  // A new file where none was takes the name directly.
  std::string fresh = f.Path("fresh.vis");
  r.Expect(Replaced(fs, replacement, fresh) && f.Read("fresh.vis") == Bytes("newer library"),
           "replace where no file was moves the new one in", "not moved in");
}

bool Collect(void* context, const char* name) {
  static_cast<std::vector<std::string>*>(context)->push_back(name);
  return true;
}

void ListCases(CheckReport& r) {
  Win32FileSystem fs;
  SceneCaseFolder f("file_system_list");
  for (const char* name : {"town.bgl", "TOWN2.BGL", "town.bglx", "notes.txt"}) {
    f.WriteText(name, name);
  }
  f.MakeFolder("sub.bgl");
  char before[MAX_PATH];
  GetCurrentDirectoryA(sizeof before, before);
  bool changed = fs.ChangeFolder(f.Root().c_str());
  std::vector<std::string> visited;
  bool listed = changed && fs.ListFolder("*.BGL", Collect, &visited);
  std::vector<std::string> none;
  bool listed_none = changed && fs.ListFolder("*.XYZ", Collect, &none);
  SetCurrentDirectoryA(before);
  std::sort(visited.begin(), visited.end());
  r.Expect(listed && visited == std::vector<std::string>{"TOWN2.BGL", "town.bgl"},
           "listing *.BGL visits the files of that extension in any case, no folder",
           "visited: " + Listed(visited));
  r.Expect(listed_none && none.empty(), "listing with no match succeeds and visits nothing",
           "visited: " + Listed(none));
}

}  // namespace

void Win32FileSystemCases(CheckReport& report) {
  ReplaceCases(report);
  ListCases(report);
}
