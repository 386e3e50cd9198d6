#pragma once

#include <cstdint>

struct PlatformOps;

// The persistent score table: the 728-byte ScoreBlock (182 words) and the
// twenty collected names.
namespace score {
constexpr uint32_t kBlockBytes = 728;
constexpr uint32_t kBlockWords = kBlockBytes / 4;
constexpr int32_t kNameSlots = 20;
constexpr uint32_t kPercentageWord = 0;
constexpr uint32_t kBonusPointsWord = 1;
constexpr uint32_t kTakeCounterWord = 2;  // 20 words
constexpr uint32_t kQuizStateWord = 22;   // 40 words
constexpr uint32_t kLegScoreWord = 62;    // 20 records of 6 words
constexpr uint32_t kLegScoreWords = 6;
constexpr uint32_t kLegTotal = 5;  // the total is the sixth value of a record
constexpr int32_t kQuizAsked = 1;
constexpr int32_t kQuizWrong = 2;
}  // namespace score

struct ScoreTable {
  int32_t words[score::kBlockWords];
  const char* name_slots[score::kNameSlots];  // null: empty
  char* name_pool;                            // heap block read from the file, or null
  uint32_t name_pool_size;
  int32_t unasked_count;
  int32_t wrong_count;
  // The file held names that no memory was left to hold: rewriting it now
  // would erase them, so it is not rewritten until a read holds them again.
  bool names_not_held;
};

// Reads the score file at path (defaults when it is missing or shorter than
// the block); question_count is the course's number of quiz questions.
void ReadScoreFile(ScoreTable& table, const PlatformOps& platform, const char* path,
                   int32_t question_count);
// Rewrites the score file whole: the new file is written completely beside
// the old one and replaces it only once every byte is on disk, so a failed
// write leaves the old file as it was. False on failure, and while the
// table does not hold the names the file has (callers ignore it: nothing in
// memory is lost).
bool WriteScoreFile(const ScoreTable& table, const PlatformOps& platform, const char* path);
void ReleaseNamePool(ScoreTable& table, const PlatformOps& platform);

int32_t ScorePercentage(const ScoreTable& t);
int32_t ScoreBonusPoints(const ScoreTable& t);
int32_t TakeCounter(const ScoreTable& t, int32_t slot);
int32_t QuizState(const ScoreTable& t, int32_t question);
int32_t BestLegValue(const ScoreTable& t, int32_t leg, int32_t value);  // value 0 to 5
int32_t BestLegTotal(const ScoreTable& t, int32_t leg);
const char* NameSlot(const ScoreTable& t, int32_t slot);  // null: empty

// The overall result: S x percentage / 100 + bonus points, S the sum of the
// best totals of legs 1 to leg_count, in integer arithmetic.
int32_t OverallResult(const ScoreTable& t, int32_t leg_count);
