#pragma once

struct RallyModule;

// The quiz command (slot 5), requested by the message service when a quiz
// timer has run out and the queue is empty: asks one question in dialog 102
// and books the answer.
void RunQuizCommand(RallyModule& m);
