#include "rally/course/score_path.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// Derives the score path in a 32-byte buffer whose unused bytes are marked,
// so a write past the terminator shows.
struct PathBuffer {
  char bytes[32];
  explicit PathBuffer(const char* path) {
    std::memset(bytes, '#', sizeof bytes);
    std::memcpy(bytes, path, std::strlen(path) + 1);
  }
};

std::string Derived(const char* path) {
  PathBuffer buffer(path);
  EXPECT_TRUE(DeriveScorePath(buffer.bytes, sizeof buffer.bytes)) << path;
  return buffer.bytes;
}

TEST(ScorePath, ReplacesTheFileNamesExtension) {
  EXPECT_EQ(Derived("ADV\\RALLY\\Rally.DAT"), "ADV\\RALLY\\Rally.SCO");
  EXPECT_EQ(Derived("ADV\\RALLY\\Rally.old.DAT"), "ADV\\RALLY\\Rally.old.SCO");
  EXPECT_EQ(Derived("Rally.D"), "Rally.SCO");
}

TEST(ScorePath, AppendsTheExtensionToANameWithoutOne) {
  EXPECT_EQ(Derived("ADV\\RALLY\\Rally"), "ADV\\RALLY\\Rally.SCO");
  EXPECT_EQ(Derived("Rally"), "Rally.SCO");
}

TEST(ScorePath, ADotInAFolderNameIsNotTheExtension) {
  EXPECT_EQ(Derived("ADV\\RALLY.V2\\Rally"), "ADV\\RALLY.V2\\Rally.SCO");
  EXPECT_EQ(Derived("ADV/RALLY.V2/Rally"), "ADV/RALLY.V2/Rally.SCO");
  EXPECT_EQ(Derived("ADV.1\\RALLY\\Rally.DAT"), "ADV.1\\RALLY\\Rally.SCO");
}

TEST(ScorePath, ANameThatWouldNotFitIsLeftUnchanged) {
  PathBuffer exact("Rally.DAT");
  EXPECT_TRUE(DeriveScorePath(exact.bytes, 10)) << "nine letters and the NUL fill it exactly";
  EXPECT_STREQ(exact.bytes, "Rally.SCO");

  PathBuffer longer("Rally");  // "Rally.SCO" and its NUL need ten bytes
  PathBuffer before = longer;
  EXPECT_FALSE(DeriveScorePath(longer.bytes, 9));
  EXPECT_EQ(std::memcmp(longer.bytes, before.bytes, sizeof before.bytes), 0);
}

}  // namespace
