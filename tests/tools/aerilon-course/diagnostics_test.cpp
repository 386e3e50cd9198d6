#include "tools/aerilon-course/diagnostics.h"

#include <gtest/gtest.h>

#include "tools/aerilon-course/source/source_reader.h"

namespace {

// A key or text the designer's tools quote back reaches the terminal as
// text, whatever the source holds.
TEST(Diagnostics, QuoteTheSourceWithControlCharactersEscaped) {
  CourseDocument document;
  std::vector<Diagnostic> found;
  ReadCourseSource("title = \"T\"\n\"\\u001b]0;owned\\u0007\" = 1\n", "c\x1B.toml", &document,
                   &found);
  ASSERT_FALSE(found.empty());
  std::string shown = FormatDiagnostic(found[0]);
  EXPECT_EQ(shown.rfind("c\\x1B.toml:2:", 0), 0u) << shown;
  EXPECT_NE(shown.find("\"\\x1B]0;owned\\x07\""), std::string::npos) << shown;
  EXPECT_EQ(shown.find('\x1B'), std::string::npos) << shown;
}

}  // namespace
