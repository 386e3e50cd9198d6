#include "common/c_runtime.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The text fits with its terminator or is cut, and is terminated either way.
TEST(FormatFits, TellsWhetherTheTextAndItsTerminatorFit) {
  const struct {
    size_t size;
    bool fits;
    const char* kept;
  } kCases[] = {{6, true, "ab\\cd"}, {5, false, "ab\\c"}, {1, false, ""}, {64, true, "ab\\cd"}};
  for (const auto& c : kCases) {
    char buffer[64];
    EXPECT_EQ(FormatFits(buffer, c.size, "%s\\%.*s", "ab", 2, "cdef"), c.fits) << c.size;
    EXPECT_EQ(std::string(buffer), c.kept) << c.size;
  }
  char untouched = 'x';
  EXPECT_FALSE(FormatFits(&untouched, 0, "%d", 1));
  EXPECT_EQ(untouched, 'x') << "a buffer of no bytes is not written";
}

TEST(ReadDecimal, ReadsTheDecimalFormAndSaysWhereItEnds) {
  char* end = nullptr;
  const char text[] = "0046.500G";
  EXPECT_EQ(ReadDecimal(text, &end), 46.5);
  EXPECT_EQ(end, text + 8);
}

}  // namespace
