#include "rally/ui/quiz_choice.h"

#include "rally/course/score_table.h"
#include "rally/state/random_generator.h"
#include "rally/ui/quiz_question.h"

namespace {

constexpr int32_t kRandomTop = 32767;

int32_t& State(ScoreTable& t, int32_t question) {
  return t.words[score::kQuizStateWord + question];
}

// The counts are derived from the states the same way (asked = bit 0,
// wrong = both bits), so a walk by them always finds its question.
bool IsUnasked(int32_t state) {
  return (state & score::kQuizAsked) == 0;
}
bool IsWrong(int32_t state) {
  const int32_t both = score::kQuizAsked | score::kQuizWrong;
  return (state & both) == both;
}

// The n-th question (from 0, in table order) that `matches`; -1 if fewer match.
int32_t NthQuestion(ScoreTable& t, int32_t question_count, int32_t n, bool (*matches)(int32_t)) {
  for (int32_t i = 0; i < question_count; ++i) {
    if (!matches(State(t, i))) continue;
    if (n == 0) return i;
    n -= 1;
  }
  return -1;
}

void MakeAllQuestionsNew(ScoreTable& t, int32_t question_count) {
  for (int32_t i = 0; i < question_count; ++i) State(t, i) = 0;
  t.unasked_count = question_count;
}

int32_t AskNewQuestion(ScoreTable& t, RandomGenerator& random, int32_t question_count) {
  int32_t index = NthQuestion(t, question_count, DrawBelow(random, t.unasked_count), IsUnasked);
  if (index < 0) return -1;
  // Asked, and nothing else: a stray bit read from the file would leave
  // the question counted neither as new nor as wrong.
  State(t, index) = score::kQuizAsked;
  t.unasked_count -= 1;
  return index;
}

int32_t AskWrongQuestionAgain(ScoreTable& t, RandomGenerator& random, int32_t question_count) {
  return NthQuestion(t, question_count, DrawBelow(random, t.wrong_count), IsWrong);
}

}  // namespace

int32_t DrawBelow(RandomGenerator& random, int32_t count) {
  int32_t n = NextRandom(random) * count / kRandomTop;
  return n >= count ? count - 1 : n;
}

int32_t ChooseQuizQuestion(ScoreTable& t, RandomGenerator& random, int32_t question_count) {
  if (question_count <= 0) return -1;
  if (t.unasked_count <= 0 && t.wrong_count <= 0) MakeAllQuestionsNew(t, question_count);
  if (t.unasked_count > 0) return AskNewQuestion(t, random, question_count);
  return AskWrongQuestionAgain(t, random, question_count);
}

int32_t ChooseAnswerOrder(RandomGenerator& random) {
  return DrawBelow(random, quiz_order::kRows);
}
