// The score file, which a crash may have cut short: the first byte is the
// course's question count (0 to 40), the rest the file. What is read is
// written back and read again, and the second reading equals the first.
#include <cstring>
#include <string>

#include "rally/course/score_table.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/fuzz/fuzz_targets.h"
#include "tests/support/memory_files.h"

namespace {

constexpr char kScorePath[] = "ADV\\RALLY\\Rally.SCO";

std::string Slot(const ScoreTable& t, int32_t k) {
  const char* name = NameSlot(t, k);
  return name == nullptr ? std::string() : std::string(name);
}

bool SameTable(const ScoreTable& a, const ScoreTable& b) {
  if (std::memcmp(a.words, b.words, sizeof a.words) != 0) return false;
  if (a.unasked_count != b.unasked_count || a.wrong_count != b.wrong_count) return false;
  for (int32_t k = 0; k < score::kNameSlots; ++k) {
    if (Slot(a, k) != Slot(b, k)) return false;
  }
  return true;
}

}  // namespace

int FuzzScoreFile(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  int32_t question_count = in.Byte() % 41;
  size_t length = 0;
  const uint8_t* file = in.Rest(&length);
  MemoryFiles files;
  files.files[kScorePath].assign(file, file + length);
  PlatformOps platform = MakeMemoryFilesPlatform(&files);

  ScoreTable first{};
  ReadScoreFile(first, platform, kScorePath, question_count);
  FuzzCheck(first.unasked_count >= 0 && first.unasked_count <= question_count,
            "the unasked questions are among the course's");
  FuzzCheck(first.wrong_count >= 0 && first.wrong_count <= question_count - first.unasked_count,
            "the questions answered wrongly are among those asked");
  FuzzCheck(WriteScoreFile(first, platform, kScorePath), "the scores are written back");
  std::vector<uint8_t> written = files.files[kScorePath];

  ScoreTable second{};
  ReadScoreFile(second, platform, kScorePath, question_count);
  FuzzCheck(SameTable(first, second), "reading what was written gives the same scores");
  FuzzCheck(WriteScoreFile(second, platform, kScorePath) && files.files[kScorePath] == written,
            "writing the same scores again gives the same bytes");

  ReleaseNamePool(first, platform);
  ReleaseNamePool(second, platform);
  FuzzCheck(files.live_blocks == 0, "the name pools are freed");
  FuzzCheck(files.open.empty(), "no file is left open");
  return 0;
}
