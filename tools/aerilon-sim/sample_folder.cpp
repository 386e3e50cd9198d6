#include "tools/aerilon-sim/sample_folder.h"

#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// What a signal handler may remove, recorded before the handler is set:
// only what the run writes into the folder, files first (the course, the
// score file and the score file's work file), then the folders inside out.
// The handler calls nothing but unlink, rmdir and raise, which are safe in
// a handler; a walk of the folder (opendir, memory) would not be.
// SIGPIPE ends a run whose reader has gone (aerilon-sim | head).
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};
constexpr size_t kPathBytes = 4096;
constexpr const char* kFiles[] = {"ADV/RALLY/Rally.DAT", "ADV/RALLY/Rally.SCO",
                                  "ADV/RALLY/Rally.SC$"};
constexpr const char* kFolders[] = {"ADV/RALLY", "ADV", ""};

char removed_files[std::size(kFiles)][kPathBytes];
char removed_folders[std::size(kFolders)][kPathBytes];
struct sigaction earlier_actions[std::size(kSignals)];
bool handled[std::size(kSignals)];

void RemoveFolderAndEnd(int signal) {
  for (const char* file : removed_files) unlink(file);
  for (const char* folder : removed_folders) rmdir(folder);
  // SA_RESETHAND has put the default action back: raised again, the signal
  // ends the tool with the status a shell expects of it.
  raise(signal);
}

// The folder's path with room for the longest name inside it.
constexpr size_t kLongestRoot = kPathBytes - sizeof "/ADV/RALLY/Rally.SCO";

void Record(char* out, const fs::path& root, const char* inside) {
  std::string path = (*inside ? root / inside : root).string();
  std::memcpy(out, path.c_str(), path.size() + 1);
}

void SetHandlers(const fs::path& root) {
  for (size_t i = 0; i < std::size(kFiles); ++i) Record(removed_files[i], root, kFiles[i]);
  for (size_t i = 0; i < std::size(kFolders); ++i) Record(removed_folders[i], root, kFolders[i]);
  struct sigaction action {};
  action.sa_handler = RemoveFolderAndEnd;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  for (int signal : kSignals) sigaddset(&action.sa_mask, signal);
  for (size_t i = 0; i < std::size(kSignals); ++i) {
    sigaction(kSignals[i], nullptr, &earlier_actions[i]);
    handled[i] = earlier_actions[i].sa_handler != SIG_IGN;
    if (handled[i]) sigaction(kSignals[i], &action, nullptr);
  }
}

void RestoreHandlers() {
  for (size_t i = 0; i < std::size(kSignals); ++i) {
    if (handled[i]) sigaction(kSignals[i], &earlier_actions[i], nullptr);
  }
}

// Blocks the signals for the life of the object.
class SignalsHeld {
 public:
  SignalsHeld() {
    sigset_t held;
    sigemptyset(&held);
    for (int signal : kSignals) sigaddset(&held, signal);
    sigprocmask(SIG_BLOCK, &held, &before_);
  }
  ~SignalsHeld() { sigprocmask(SIG_SETMASK, &before_, nullptr); }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t before_;
};

}  // namespace

SampleFolder::SampleFolder(const std::vector<uint8_t>& bytes) {
  {
    // A signal that comes between the making of the folder and the setting
    // of the handlers waits for the handlers, which then remove the folder.
    SignalsHeld held;
    fs::path temporary = fs::temp_directory_path();
    std::string pattern = (temporary / "aerilon-sim-XXXXXX").string();
    if (pattern.size() > kLongestRoot || mkdtemp(pattern.data()) == nullptr) {
      const char* reason =
          pattern.size() > kLongestRoot ? "its path is too long" : std::strerror(errno);
      throw std::runtime_error("cannot make a temporary folder in " + temporary.string() + ": " +
                               reason);
    }
    root_ = pattern;
    SetHandlers(root_);
  }
  try {
    fs::create_directories(root_ / "ADV" / "RALLY");
    fs::path course = root_ / "ADV" / "RALLY" / "Rally.DAT";
    std::ofstream out(course, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
      throw std::runtime_error("cannot write the course to " + course.string());
    }
  } catch (...) {
    Remove();
    throw;
  }
}

SampleFolder::~SampleFolder() {
  Remove();
}

// The handlers stay until the folder is gone: a signal in the middle of
// the removal removes what is left.
void SampleFolder::Remove() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
  RestoreHandlers();
}
