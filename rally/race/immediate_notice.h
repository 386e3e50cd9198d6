#pragma once

struct RallyModule;

// The notice of an aborted leg: shown at once for 4 seconds, past the
// message queue, with its voice.
void ShowImmediateNotice(RallyModule& m, const char* text, const char* voice);

constexpr int kNoticeScreenDuration = 72;  // 4 seconds in 1/18 s
