// How long AreaKill takes over a folder of indexed scenery files of 64 MiB
// in all, on the real file system, against copying the same bytes with
// `cp -r` in the same run. Run by hand:
//   sceneward_areakill_bench [WORK_FOLDER] [REPETITIONS]
// The target is AreaKill at most 1.5 times the copy. The folder is written
// afresh before every repetition, since AreaKill rewrites it.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "sceneward/exports/area_kill.h"
#include "sceneward/files/file_system_posix.h"
#include "sceneward/writer/scenery_generator.h"

namespace {

constexpr double kLatitudeUnitsPerSecond = 30.8695987654321;
constexpr double kLongitudeUnitsPerSecond = 3314.01797530864;
constexpr uint32_t kFileSize = 1u << 20;
constexpr uint32_t kFileCount = 64;

void WriteFile(const std::string& path, const void* data, size_t size) {
  std::ofstream out(path, std::ios::binary);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// A coordinate of the script in seconds of arc, with its hemisphere letter.
std::string Coordinate(int32_t units, double units_per_second, char positive, char negative) {
  char text[64];
  const double seconds = units / units_per_second;
  std::snprintf(text, sizeof text, "%.6fS%c", std::fabs(seconds),
                seconds < 0 ? negative : positive);
  return text;
}

std::string Script(const KillArea& area) {
  return "TITLE \"Bench\"\r\nAREA " + Coordinate(area.west, kLongitudeUnitsPerSecond, 'E', 'W') +
         ", " + Coordinate(area.north, kLatitudeUnitsPerSecond, 'N', 'S') + ", " +
         Coordinate(area.east, kLongitudeUnitsPerSecond, 'E', 'W') + ", " +
         Coordinate(area.south, kLatitudeUnitsPerSecond, 'N', 'S') + "\r\n";
}

// A library of one area, "=:\=\Area\*.BGL".
std::vector<uint8_t> Library() {
  const char entry[] = "\x01\x1E\x01=:\\=\\Area\\*.BGL\0Bench";
  std::vector<uint8_t> bytes(36, 0);
  const uint16_t list_at = 36;
  bytes.insert(bytes.end(), entry, entry + sizeof entry);  // with the title's terminator
  bytes.push_back(0);                                      // the list's end
  bytes[2] = 0x4D;
  bytes[3] = 0x52;
  for (int section = 0; section < 6; ++section) {
    bytes[4 + 2 * section] = static_cast<uint8_t>(list_at);
  }
  bytes[0] = static_cast<uint8_t>(bytes.size());
  bytes[32] = 118;
  return bytes;
}

void WriteFolder(const std::string& folder, const scenery_source::GeneratedFiles& workload) {
  std::system(("rm -rf '" + folder + "' && mkdir -p '" + folder + "'").c_str());
  for (size_t i = 0; i < workload.files.size(); ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "/File%03zu.BGL", i);
    WriteFile(folder + name, workload.files[i].data(), workload.files[i].size());
  }
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The POSIX file system, timing the reads, the writes and the closes (which
// wait for the disk), so that the report shows where the time goes.
struct TimedFileSystem final : FileSystem {
  PosixFileSystem posix;
  double reading = 0, writing = 0, closing = 0, replacing = 0;

  template <typename Call>
  auto Timed(double& total, Call call) {
    auto start = std::chrono::steady_clock::now();
    auto result = call();
    total += Seconds(start);
    return result;
  }
  void* AllocateBlock(uint32_t size) override { return posix.AllocateBlock(size); }
  void FreeBlock(void* block) override { posix.FreeBlock(block); }
  uint32_t MaxPathBytes() override { return posix.MaxPathBytes(); }
  ReadOutcome ReadWholeFile(const char* path, OpenMode mode, uint32_t extra,
                            FileBlock* out) override {
    return Timed(reading, [&] { return posix.ReadWholeFile(path, mode, extra, out); });
  }
  FileHandle CreateNewFile(const char* path) override {
    return Timed(writing, [&] { return posix.CreateNewFile(path); });
  }
  bool WriteBytes(FileHandle file, const void* data, uint32_t count) override {
    return Timed(writing, [&] { return posix.WriteBytes(file, data, count); });
  }
  bool CloseFile(FileHandle file) override {
    return Timed(closing, [&] { return posix.CloseFile(file); });
  }
  bool FollowLinks(const char* path, char* out, uint32_t size) override {
    return posix.FollowLinks(path, out, size);
  }
  ReplaceOutcome ReplaceFile(const char* replacement, const char* target) override {
    return Timed(replacing, [&] { return posix.ReplaceFile(replacement, target); });
  }
  bool RemoveFile(const char* path) override { return posix.RemoveFile(path); }
  bool RenameFile(const char* from, const char* to) override { return posix.RenameFile(from, to); }
  bool HasDriveLetters() override { return posix.HasDriveLetters(); }
  bool ChangeFolder(const char* path) override { return posix.ChangeFolder(path); }
  bool CurrentFolder(char* out, uint32_t size) override { return posix.CurrentFolder(out, size); }
  bool ListFolder(const char* pattern, bool (*visit)(void*, const char*), void* context) override {
    return posix.ListFolder(pattern, visit, context);
  }
};

}  // namespace

int main(int argc, char** argv) {
  const std::string work = argc > 1 ? argv[1] : "areakill-bench";
  const int repetitions = argc > 2 ? std::atoi(argv[2]) : 3;
  mkdir(work.c_str(), 0777);
  char absolute[4096];
  if (realpath(work.c_str(), absolute) == nullptr) return 1;
  const std::string root = absolute;
  const std::string folder = root + "/Area/Scenery";
  char start[4096];
  if (getcwd(start, sizeof start) == nullptr) return 1;

  scenery_source::GeneratorOptions options;
  options.target_size = kFileSize;
  const scenery_source::GeneratedFiles workload =
      scenery_source::GenerateSceneryFiles(options, kFileCount);
  const std::vector<uint8_t> library = Library();
  WriteFile(root + "/WORLD.VIS", library.data(), library.size());
  const std::string script = Script(workload.area);
  WriteFile(root + "/Sceneward.DAT", script.data(), script.size());
  std::printf("%zu files, %.1f MiB\n", workload.files.size(), workload.total_bytes / 1048576.0);

  double best_kill = 1e9, best_copy = 1e9, best_synced_copy = 1e9;
  for (int repetition = 0; repetition < repetitions; ++repetition) {
    WriteFolder(folder, workload);
    std::system(("rm -rf '" + root + "/copy'").c_str());
    auto copy_start = std::chrono::steady_clock::now();
    if (std::system(("cp -r '" + folder + "' '" + root + "/copy'").c_str()) != 0) return 1;
    const double copy = Seconds(copy_start);
    // AreaKill puts every new file on the disk before it takes the old one's
    // place; cp does not. The same copy followed by syncing each copied file
    // shows how much of the difference that is.
    std::system(("rm -rf '" + root + "/copy'").c_str());
    auto synced_start = std::chrono::steady_clock::now();
    if (std::system(
            ("cp -r '" + folder + "' '" + root + "/copy' && sync '" + root + "/copy'/*").c_str()) !=
        0) {
      return 1;
    }
    const double synced_copy = Seconds(synced_start);

    ScenewardState state{};
    TimedFileSystem fs;
    auto kill_start = std::chrono::steady_clock::now();
    const int32_t status = AreaKill(state, fs, (root + "/WORLD.VIS").c_str(),
                                    (root + "/Sceneward.DAT").c_str(), root.c_str(), 0);
    const double kill = Seconds(kill_start);
    if (chdir(start) != 0) return 1;
    if (status != 0) {
      std::fprintf(stderr, "AreaKill: status %d: %s\n", status, state.problem.text);
      return 1;
    }
    std::printf(
        "repetition %d: AreaKill %.3f s (read %.3f, write %.3f, close with sync %.3f, replace "
        "%.3f, the rest in memory), cp -r %.3f s, ratio %.2f; cp -r and sync %.3f s, ratio %.2f\n",
        repetition + 1, kill, fs.reading, fs.writing, fs.closing, fs.replacing, copy, kill / copy,
        synced_copy, kill / synced_copy);
    if (synced_copy < best_synced_copy) best_synced_copy = synced_copy;
    if (kill < best_kill) best_kill = kill;
    if (copy < best_copy) best_copy = copy;
  }
  std::printf(
      "best: AreaKill %.3f s (%.0f MiB/s), cp -r %.3f s, ratio %.2f (target 1.5); cp -r and sync "
      "%.3f s, ratio %.2f\n",
      best_kill, workload.total_bytes / 1048576.0 / best_kill, best_copy, best_kill / best_copy,
      best_synced_copy, best_kill / best_synced_copy);
  std::system(("rm -rf '" + root + "/Area' '" + root + "/copy'").c_str());
  return 0;
}
