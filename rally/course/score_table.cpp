#include "rally/course/score_table.h"
#include "rally/course/score_arithmetic.h"

#include <cstdint>
#include <cstring>

#include "common/little_endian.h"
#include "rally/course/course_format.h"
#include "rally/course/scramble.h"
#include "rally/host/platform.h"
#include "rally/host/read_all.h"

using namespace score;

namespace {

void SetDefaults(ScoreTable& t, int32_t question_count) {
  std::memset(t.words, 0, sizeof t.words);
  t.words[kPercentageWord] = 100;
  for (auto& slot : t.name_slots) slot = nullptr;
  t.unasked_count = question_count;
  t.wrong_count = 0;
}

void CountQuizStates(ScoreTable& t, int32_t question_count) {
  t.unasked_count = question_count;
  t.wrong_count = 0;
  for (int32_t i = 0; i < question_count; ++i) {
    int32_t state = t.words[kQuizStateWord + i];
    if (state & kQuizAsked) {
      t.unasked_count -= 1;
      if (state & kQuizWrong) t.wrong_count += 1;
    }
  }
}

// Slot k points at the k-th string of the pool. The pool carries one extra
// NUL, so a file whose last name lacks its terminator still ends inside it.
void PointSlotsIntoPool(ScoreTable& t) {
  uint32_t at = 0;
  for (int32_t k = 0; k < kNameSlots; ++k) {
    if (at >= t.name_pool_size) {
      t.name_slots[k] = nullptr;
      continue;
    }
    const char* name = t.name_pool + at;
    size_t length = std::strlen(name);
    t.name_slots[k] = length == 0 ? nullptr : name;
    at += static_cast<uint32_t>(length) + 1;
  }
}

void ReadNamePool(ScoreTable& t, const PlatformOps& platform, FileHandle file, int64_t rest) {
  if (rest <= 0 || rest >= 0x7FFFFFFF) return;
  uint32_t size = static_cast<uint32_t>(rest);
  char* pool = static_cast<char*>(platform.alloc_block(platform.context, size + 1));
  if (pool == nullptr) {
    t.names_not_held = true;
    return;
  }
  uint32_t got = ReadAll(platform, file, pool, size);
  // A pool that could not be read whole keeps the names read up to their
  // terminators; a name cut in the middle is dropped with the rest.
  if (got < size) {
    while (got > 0 && pool[got - 1] != '\0') --got;
  }
  pool[got] = '\0';
  t.name_pool = pool;
  t.name_pool_size = got;
  PointSlotsIntoPool(t);
}

}  // namespace

namespace {

// The new file's name: the score path with its last character turned into
// '$' ("Rally.SC$"), beside the old file and on the same disk.
bool WorkFilePath(const char* path, char* out, size_t size) {
  size_t length = std::strlen(path);
  if (length == 0 || length + 1 > size) return false;
  std::memcpy(out, path, length + 1);
  out[length - 1] = '$';
  return true;
}

bool WriteAll(const PlatformOps& p, FileHandle file, const void* data, uint32_t count) {
  return p.write(p.context, file, data, count) == count;
}

bool WriteContents(const ScoreTable& t, const PlatformOps& p, FileHandle file) {
  uint8_t block[kBlockBytes];
  for (uint32_t i = 0; i < kBlockWords; ++i) store_i32le(block + 4 * i, t.words[i]);
  ScrambleWords(block, kBlockBytes);
  if (!WriteAll(p, file, block, kBlockBytes)) return false;
  for (const char* name : t.name_slots) {
    const char* text = name != nullptr ? name : "";
    if (!WriteAll(p, file, text, static_cast<uint32_t>(std::strlen(text)) + 1)) return false;
  }
  return true;
}

}  // namespace

bool WriteScoreFile(const ScoreTable& t, const PlatformOps& p, const char* path) {
  if (t.names_not_held) return false;
  char work[64];
  if (!WorkFilePath(path, work, sizeof work)) return false;
  FileHandle file = p.open_write(p.context, work);
  if (file == nullptr) return false;
  bool written = WriteContents(t, p, file);
  bool finished = p.finish_write(p.context, file);
  ReplaceOutcome outcome =
      written && finished ? p.replace_file(p.context, work, path) : ReplaceOutcome::kUnchanged;
  if (outcome == ReplaceOutcome::kReplaced) return true;
  // While the score file is missing, the work file may be the only copy.
  if (outcome == ReplaceOutcome::kUnchanged) p.remove_file(p.context, work);
  return false;
}

void ReleaseNamePool(ScoreTable& t, const PlatformOps& platform) {
  if (t.name_pool != nullptr) platform.free_block(platform.context, t.name_pool);
  t.name_pool = nullptr;
  t.name_pool_size = 0;
  t.names_not_held = false;
  for (auto& slot : t.name_slots) slot = nullptr;
}

void ReadScoreFile(ScoreTable& t, const PlatformOps& platform, const char* path,
                   int32_t question_count) {
  // No slot may keep pointing into the pool that this read replaces.
  ReleaseNamePool(t, platform);
  FileHandle file = platform.open_read(platform.context, path);
  if (file == nullptr) {
    SetDefaults(t, question_count);
    return;
  }
  uint8_t block[kBlockBytes];
  uint32_t got = ReadAll(platform, file, block, kBlockBytes);
  if (got < kBlockBytes) {
    // A short file would leave words unread: treat it like a missing one.
    platform.close(platform.context, file);
    SetDefaults(t, question_count);
    return;
  }
  UnscrambleWords(block, kBlockBytes);
  for (uint32_t i = 0; i < kBlockWords; ++i) t.words[i] = load_i32le(block + 4 * i);
  CountQuizStates(t, question_count);
  int64_t length = platform.file_length(platform.context, file);
  ReadNamePool(t, platform, file, length - static_cast<int64_t>(kBlockBytes));
  platform.close(platform.context, file);
}

int32_t ScorePercentage(const ScoreTable& t) {
  return t.words[kPercentageWord];
}
int32_t ScoreBonusPoints(const ScoreTable& t) {
  return t.words[kBonusPointsWord];
}
int32_t TakeCounter(const ScoreTable& t, int32_t slot) {
  return t.words[kTakeCounterWord + slot];
}
int32_t QuizState(const ScoreTable& t, int32_t question) {
  return t.words[kQuizStateWord + question];
}
int32_t BestLegValue(const ScoreTable& t, int32_t leg, int32_t value) {
  return t.words[kLegScoreWord + kLegScoreWords * leg + value];
}
int32_t BestLegTotal(const ScoreTable& t, int32_t leg) {
  return BestLegValue(t, leg, kLegTotal);
}
const char* NameSlot(const ScoreTable& t, int32_t slot) {
  return t.name_slots[slot];
}

int32_t OverallResult(const ScoreTable& t, int32_t leg_count) {
  int64_t sum = 0;
  for (int32_t leg = 0; leg < leg_count && leg < course::kMaxLegs; ++leg)
    sum += BestLegTotal(t, leg);
  return ClampToInt32(ScaledByPercentage(sum, ScorePercentage(t)) + ScoreBonusPoints(t));
}
