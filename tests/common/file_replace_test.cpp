#include "common/file_replace.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

namespace {

// Files in memory, by name; the n-th move (1-based) fails when asked to.
struct MemoryFiles {
  std::map<std::string, std::string> files;
  std::map<std::string, bool> locked;
  int moves = 0;
  int failing_move = 0;
  bool spare_fails = false;

  static MemoryFiles& Of(void* c) { return *static_cast<MemoryFiles*>(c); }
  FileMoves Moves() {
    return FileMoves{
        this,
        [](void* c, const char* p) { return Of(c).files.count(p) != 0; },
        [](void* c, const char* p) { return Of(c).locked[p]; },
        [](void* c, const char*, char* out, uint32_t size) {
          if (Of(c).spare_fails || size < 6) return false;
          std::strcpy(out, "spare");
          return true;
        },
        [](void* c, const char* from, const char* to) {
          MemoryFiles& f = Of(c);
          if (++f.moves == f.failing_move || !f.files.count(from) || f.files.count(to)) {
            return false;
          }
          f.files[to] = f.files[from];
          f.files.erase(from);
          return true;
        },
        [](void* c, const char* p) { return Of(c).files.erase(p) != 0; },
    };
  }
};

using Files = std::map<std::string, std::string>;

// Every step that can fail, and what is left on disk after it failed.
TEST(ReplaceByMoves, AFailureAtAnyStepLosesNeitherFile) {
  const struct {
    const char* step;
    int failing_move;  // 1: the old file aside, 2: the new one in, 3: the old one back
    bool spare_fails;
    bool locked;
    ReplaceOutcome outcome;
    Files left;
  } cases[] = {
      {"every step works", 0, false, false, ReplaceOutcome::kReplaced, {{"SCO", "new"}}},
      {"no spare name",
       0,
       true,
       false,
       ReplaceOutcome::kUnchanged,
       {{"SCO", "old"}, {"SC$", "new"}}},
      {"the old file does not move aside",
       1,
       false,
       false,
       ReplaceOutcome::kUnchanged,
       {{"SCO", "old"}, {"SC$", "new"}}},
      {"the new file does not move in",
       2,
       false,
       false,
       ReplaceOutcome::kUnchanged,
       {{"SCO", "old"}, {"SC$", "new"}}},
      {"read-only or a folder",
       0,
       false,
       true,
       ReplaceOutcome::kUnchanged,
       {{"SCO", "old"}, {"SC$", "new"}}},
  };
  for (const auto& c : cases) {
    MemoryFiles disk;
    disk.files = {{"SCO", "old"}, {"SC$", "new"}};
    disk.failing_move = c.failing_move;
    disk.spare_fails = c.spare_fails;
    disk.locked["SCO"] = c.locked;
    EXPECT_EQ(ReplaceByMoves(disk.Moves(), "SC$", "SCO"), c.outcome) << c.step;
    EXPECT_EQ(disk.files, c.left) << c.step;
  }
}

// The new file cannot move in and the old one cannot go back: both stay.
TEST(ReplaceByMoves, WhenTheOldFileCannotGoBackBothAreKeptAndSaidSo) {
  MemoryFiles disk;
  disk.files = {{"SCO", "old"}, {"SC$", "new"}};
  FileMoves moves = disk.Moves();
  moves.move = [](void* c, const char* from, const char* to) {
    MemoryFiles& f = MemoryFiles::Of(c);
    if (++f.moves != 1) return false;  // only the old file moves, aside
    f.files[to] = f.files[from];
    f.files.erase(from);
    return true;
  };
  EXPECT_EQ(ReplaceByMoves(moves, "SC$", "SCO"), ReplaceOutcome::kTargetMissing);
  EXPECT_EQ(disk.files, (Files{{"spare", "old"}, {"SC$", "new"}}));
}

TEST(ReplaceByMoves, WithoutAnOldFileTheNewOneMovesInAndWithoutANewOneNothingHappens) {
  MemoryFiles disk;
  disk.files = {{"SC$", "new"}};
  EXPECT_EQ(ReplaceByMoves(disk.Moves(), "SC$", "SCO"), ReplaceOutcome::kReplaced);
  EXPECT_EQ(disk.files, (Files{{"SCO", "new"}}));
  EXPECT_EQ(ReplaceByMoves(disk.Moves(), "SC$", "SCO"), ReplaceOutcome::kUnchanged);
  EXPECT_EQ(disk.files, (Files{{"SCO", "new"}}));
}

}  // namespace
