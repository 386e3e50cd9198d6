#pragma once

#include <cstdint>

struct RandomGenerator;
struct ScoreTable;

// Which question the quiz asks and in which order it shows the answers.
// Questions not yet asked come first, in a random pick; once none is left,
// a wrongly answered one is asked again; once every question has been
// answered right, all of them become new again.

// Picks a question of the first `question_count` ones and marks it asked
// (a pick among the wrongly answered ones leaves its state as it is).
// Draws one random value. Returns the question's index, or -1 when there
// is nothing to ask (no questions; nothing is drawn then).
int32_t ChooseQuizQuestion(ScoreTable& scores, RandomGenerator& random, int32_t question_count);

// Draws one random value: the row of the answer-order table, 0 to 5.
int32_t ChooseAnswerOrder(RandomGenerator& random);

// A random value r (0 to 32767) scaled to 0 .. count - 1 as r x count / 32767,
// the top value r = 32767 folded into count - 1.
int32_t DrawBelow(RandomGenerator& random, int32_t count);
