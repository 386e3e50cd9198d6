#pragma once

#include <cstdint>

// Replacing a file by one written completely beside it, where no call does
// it in one step (Windows 9x has no MoveFileExA): the old file is kept under
// a spare name until the new one is in place, and is put back when the new
// one cannot move in. Both DLLs replace their files this way; each brings
// the moves of its own file system. Never includes <windows.h>.

// The file-system calls the replace is made of; each answers true on success.
struct FileMoves {
  void* context;
  bool (*exists)(void* context, const char* path);
  // Something at `path` that a one-step replace refuses to replace: a file
  // with the read-only attribute, or a folder.
  bool (*unreplaceable)(void* context, const char* path);
  // A name in the folder of `path` that no file has now, into out.
  bool (*spare_name)(void* context, const char* path, char* out, uint32_t size);
  // Renames `from` to `to`; fails when a file named `to` exists.
  bool (*move)(void* context, const char* from, const char* to);
  bool (*remove)(void* context, const char* path);
};

enum class ReplaceOutcome {
  kReplaced,   // the new file stands at the target's name; the old one is gone
  kUnchanged,  // the target is as it was; the new file is still beside it
  // The new file could not move in and the old one not back: the old file
  // lies under a spare name beside the target, the new one under its own.
  // Neither may be removed.
  kTargetMissing,
};

// The longest spare name asked for: Windows' own path limit.
constexpr uint32_t kSpareNameBytes = 260;

// Puts `replacement` in the place of `target`. A read-only file or a folder
// at the target is refused, as a one-step replace refuses it.
ReplaceOutcome ReplaceByMoves(const FileMoves& moves, const char* replacement, const char* target);
