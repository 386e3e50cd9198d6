#pragma once

#include <cstdint>

// Every text the race shows the pilot (but the immediate notices) goes
// through this queue of five. The front message is shown with its voice
// prompt; the next waits until the front message's time is up. Time is in
// engine ticks, six a second.
constexpr int32_t kMessageSlots = 5;
constexpr int32_t kMessageTextBytes = 256;  // at most 255 characters and the terminator

struct MessageSlot {
  int32_t display_ticks;    // how long the message stays at the front: 6 x seconds
  int32_t screen_duration;  // passed to show_text: 18 x seconds
  const char* prompt;       // voice prompt, not owned; may be none
  char text[kMessageTextBytes];
};

// Once the queue has drained, slot 0 still holds the last message shown.
struct MessageQueue {
  MessageSlot slots[kMessageSlots];
  int32_t count;      // messages waiting, slot 0 the front
  int32_t countdown;  // ticks left for the front message; 0 = not shown yet
};

// One latched warning; further warnings are held back for 90 seconds.
struct Alert {
  const char* text;  // not owned
  const char* prompt;
  int32_t priority;      // 0 = none latched
  int32_t hold_counter;  // 0 = free
};

constexpr int32_t kAlertHoldTicks = 540;
constexpr int32_t kAlertSeconds = 4;
constexpr int32_t kShowTextFive = 5;
