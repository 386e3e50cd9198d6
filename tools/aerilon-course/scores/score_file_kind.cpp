#include "tools/aerilon-course/scores/score_file_kind.h"

#include <algorithm>

#include "common/little_endian.h"
#include "rally/course/course_format.h"
#include "rally/course/score_arithmetic.h"
#include "rally/course/score_table.h"
#include "rally/course/scramble.h"
#include "tools/aerilon-course/course_document.h"

namespace {

using Problem = std::optional<std::string>;

bool IsText(const std::vector<uint8_t>& bytes) {
  return !bytes.empty() && std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) {
    return b >= 0x20 || b == '\t' || b == '\n' || b == '\r';
  });
}

// The 182 words of the block, unscrambled as the module reads them.
std::vector<int32_t> BlockWords(const std::vector<uint8_t>& bytes) {
  std::vector<uint8_t> block(bytes.begin(), bytes.begin() + score::kBlockBytes);
  UnscrambleWords(block.data(), score::kBlockBytes);
  std::vector<int32_t> words(score::kBlockWords);
  for (uint32_t i = 0; i < score::kBlockWords; ++i) words[i] = load_i32le(&block[4 * i]);
  return words;
}

// Leg scoring keeps a leg's result only when its total, the parts' sum held
// to 32 bits, is above the best so far, which starts at 0.
Problem OddLegRecord(const int32_t* record, int leg) {
  if (std::all_of(record, record + score::kLegScoreWords, [](int32_t v) { return v == 0; })) {
    return std::nullopt;
  }
  int64_t sum = 0;
  for (uint32_t part = 0; part < score::kLegTotal; ++part) sum += record[part];
  int32_t total = record[score::kLegTotal];
  if (total <= 0) {
    return "leg record " + std::to_string(leg) + " has a total of " + std::to_string(total) +
           ", and the module keeps only a total above 0";
  }
  if (total != ClampToInt32(sum)) {
    return "leg record " + std::to_string(leg) + " has a total of " + std::to_string(total) +
           " that is not the sum of its parts, " + std::to_string(sum);
  }
  return std::nullopt;
}

Problem OddValue(const std::vector<int32_t>& w) {
  for (int slot = 0; slot < course::kScoreSlots; ++slot) {
    if (int32_t takes = w[score::kTakeCounterWord + slot]; takes < 0) {
      return "take counter " + std::to_string(slot) + " is " + std::to_string(takes) +
             ", and the module counts takes up from 0";
    }
  }
  for (int question = 0; question < course::kMaxQuestions; ++question) {
    int32_t state = w[score::kQuizStateWord + question];
    if (state != 0 && state != score::kQuizAsked &&
        state != (score::kQuizAsked | score::kQuizWrong)) {
      return "quiz question " + std::to_string(question + 1) + " has the state " +
             std::to_string(state) +
             ", and the module writes only 0 (not asked), 1 (asked) and 3 (answered wrong)";
    }
  }
  for (int leg = 0; leg < course::kMaxLegs; ++leg) {
    const int32_t* record = &w[score::kLegScoreWord + score::kLegScoreWords * leg];
    if (Problem problem = OddLegRecord(record, leg + 1)) return problem;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> NotAScoreFile(const std::vector<uint8_t>& bytes) {
  if (IsCourseFile(bytes)) {
    return std::string(
        "not a score file: this is a course file (Rally.DAT); give it with --course");
  }
  if (IsText(bytes)) {
    return std::string(
        "not a score file: this is a text file, such as a course source; a score file holds a "
        "scrambled block and NUL-ended names");
  }
  if (bytes.size() < score::kBlockBytes) return std::nullopt;  // read as no score file
  if (Problem odd = OddValue(BlockWords(bytes))) {
    return "not a score file the module wrote: " + *odd;
  }
  return std::nullopt;
}
