#pragma once

#include <cstdint>

#include "sceneward/script/kill_area.h"

constexpr int32_t kMaxKillAreas = 10;

// Type codes of an area entry, as the script's TYPE words give them.
constexpr uint8_t kTypeGlobal = 10;
constexpr uint8_t kTypeRegional = 20;
constexpr uint8_t kTypeLocal = 30;
constexpr uint8_t kTypeLow = 40;
constexpr uint8_t kTypeHigh = 50;

// Everything an edit script says, plus the two arguments of the export that
// concern the library entry. The texts point into the script buffer (TITLE,
// SOURCE, DEST) or into the caller's argument (folder); none is copied.
struct EditParameters {
  const char* title;
  const char* source;
  const char* dest;
  const char* folder;    // the add-on's scenery folder, or AreaKill's root folder
  KillArea kill_bounds;  // union of all kill areas
  KillArea kill_areas[kMaxKillAreas];
  int32_t kill_area_count;
  int16_t remove;  // 1: remove the add-on's entry instead of adding it
  int16_t cache;
  uint8_t type;
  uint8_t active_flag;
  uint8_t b_flag;
  uint8_t clean;
  uint8_t update;
};

// The values every call starts from. The bounds are an inverted box that no
// scenery file can overlap until an AREA widens it; its south edge lies above
// every latitude the script parser can yield.
extern const EditParameters kDefaultEditParameters;

void ResetEditParameters(EditParameters& edit);

// Clears TITLE, SOURCE and DEST, which point into the script's text: called
// wherever that text is freed, so that no pointer into it outlives it.
void ForgetScriptTexts(EditParameters& edit);
