// Libraries and scripts damaged at random, as a disk or an editor may damage
// them: each is either refused or handled, never read past its end (the
// sanitizer build checks that), and an accepted library always rewrites into
// one that is valid again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "sceneward/library/area_list.h"
#include "sceneward/library/library_file.h"
#include "sceneward/library/library_writer.h"
#include "sceneward/script/edit_script.h"
#include "tests/support/library_file_builder.h"

namespace {

// A fixed sequence, so that a failure repeats.
struct Lcg {
  uint32_t state;
  uint32_t Next(uint32_t bound) {
    state = state * 214013u + 2531011u;
    return ((state >> 16) & 0x7FFF) % bound;
  }
};

// Folder pattern and title of every entry of a valid library, in list order.
using Entry = std::pair<std::string, std::string>;
std::vector<Entry> Entries(const LibraryImage& image) {
  std::vector<Entry> entries;
  uint32_t offset = static_cast<uint32_t>(SectionOffset(image, kAreaListSection));
  AreaEntry entry;
  while (ReadAreaEntry(image.bytes, image.size, offset, &entry) == AreaStep::kEntry) {
    entries.emplace_back(entry.folder_pattern, entry.title);
    offset = entry.end;
  }
  return entries;
}

// The entries the rewrite must leave: the first one titled "Aerilon"
// replaced (or, removing, dropped), or the new one first.
std::vector<Entry> ExpectedEntries(std::vector<Entry> entries, bool remove) {
  const Entry added{"C:\\X\\*.BGL", "Aerilon"};
  auto match = std::find_if(entries.begin(), entries.end(),
                            [](const Entry& e) { return e.second == "Aerilon"; });
  if (remove) {
    if (match != entries.end()) entries.erase(match);
  } else if (match != entries.end()) {
    *match = added;
  } else {
    entries.insert(entries.begin(), added);
  }
  return entries;
}

// Overwrites, inserts or deletes a few bytes, or cuts the tail.
template <typename Bytes>
void Damage(Bytes& bytes, Lcg& random) {
  for (uint32_t n = 1 + random.Next(3); n > 0 && !bytes.empty(); --n) {
    uint32_t at = random.Next(static_cast<uint32_t>(bytes.size()));
    auto value = static_cast<typename Bytes::value_type>(random.Next(256));
    switch (random.Next(4)) {
      case 0: bytes[at] = value; break;
      case 1: bytes.insert(bytes.begin() + at, value); break;
      case 2: bytes.erase(bytes.begin() + at); break;
      default: bytes.resize(at); break;
    }
  }
}

TEST(SceneHostileInput, DamagedLibrariesAreRefusedOrRewrittenIntoValidOnes) {
  LibraryFileBuilder library;
  library.entries = {{10, 1, "A\\*.BGL", "First"}, {30, 0, "=:\\=B\\*.BGL", "Aerilon"}};
  library.order = {3, 1, 4, 6, 2, 5};
  const std::vector<uint8_t> original = library.Build();
  EditParameters edit;
  ResetEditParameters(edit);
  edit.title = "Aerilon";
  edit.folder = "C:\\X";
  Lcg random{1998};
  int accepted = 0;
  for (int round = 0; round < 3000; ++round) {
    std::vector<uint8_t> bytes = original;
    Damage(bytes, random);
    // A block of exactly the file's length, so that any read past it shows.
    std::unique_ptr<uint8_t[]> block(new uint8_t[bytes.size() + 1]);
    std::copy(bytes.begin(), bytes.end(), block.get());
    uint32_t size = static_cast<uint32_t>(bytes.size());
    if (!CheckLibraryImage(block.get(), size, nullptr)) continue;
    ++accepted;
    LibraryImage image{block.get(), size};
    std::vector<uint8_t> out(kLibraryMaxLength);
    ByteSink sink = MakeByteSink(out.data(), kLibraryMaxLength);
    edit.remove = static_cast<int16_t>(round % 2);
    ASSERT_TRUE(WriteLibraryFile(image, edit, sink)) << "round " << round;
    ASSERT_TRUE(CheckLibraryImage(out.data(), sink.size, nullptr)) << "round " << round;
    LibraryImage rewritten{out.data(), sink.size};
    EXPECT_EQ(Entries(rewritten), ExpectedEntries(Entries(image), edit.remove != 0))
        << "round " << round;
  }
  EXPECT_GT(accepted, 100);  // the damage leaves many libraries readable
}

TEST(SceneHostileInput, DamagedScriptsAreReadOrRefusedWithALineOfTheScript) {
  const std::string original =
      "; comment\nTITLE \"Aerilon\"\nTYPE REGIONAL\nAFLAG ACTIVE\nCACHE 300\n"
      "AREA 12G30ME, 46G0MN, 13G0ME, 45G30MN\nSOURCE \"a\"\n";
  Lcg random{90};
  int refused = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string text = original;
    Damage(text, random);
    std::unique_ptr<char[]> buffer(new char[text.size() + 1]);
    std::memcpy(buffer.get(), text.c_str(), text.size() + 1);
    EditParameters edit;
    ResetEditParameters(edit);
    Diagnostic problem{};
    if (ParseEditScriptText(buffer.get(), edit, &problem)) continue;
    ++refused;
    int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    EXPECT_GE(problem.line, 1) << text;
    EXPECT_LE(problem.line, lines) << text;
    EXPECT_NE(problem.text[0], '\0') << text;
  }
  EXPECT_GT(refused, 100);
}

}  // namespace
