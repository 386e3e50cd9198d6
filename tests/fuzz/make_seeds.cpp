// Writes the fuzz targets' seed corpora into FOLDER/<target>/ from the
// project's own samples: the courses of examples/, a score file as the
// module writes it, a library and a scenery file made by the test builders,
// the flight scripts, course sources and edit scripts of the source tree.
// Run by hand when the samples change (make_fuzz_seeds SOURCE_DIR FOLDER);
// the corpora are kept in the repository.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "course_model/course_writer.h"
#include "examples/compiled_sample_course.h"
#include "rally/course/score_table.h"
#include "sceneward/writer/scenery_generator.h"
#include "tests/support/library_file_builder.h"
#include "tests/support/memory_files.h"
#include "tools/aerilon-course/source/source_reader.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

void Put(const fs::path& folder, const std::string& target, const std::string& name,
         const Bytes& bytes) {
  fs::create_directories(folder / target);
  std::ofstream out(folder / target / name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

Bytes Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

Bytes SourceCourseImage(const fs::path& source) {
  Bytes text = Read(source);
  CourseDocument document;
  std::vector<Diagnostic> diagnostics;
  if (!ReadCourseSource(std::string(text.begin(), text.end()), source.string(), &document,
                        &diagnostics)) {
    std::fprintf(stderr, "make_fuzz_seeds: %s does not compile\n", source.c_str());
    std::exit(1);
  }
  return LayOutCourse(document.course);
}

// A flight for the course target: the image's length, the image, then steps
// that fly to each of the first objects in turn, a menu command and a key.
Bytes CourseFlight(const Bytes& image) {
  Bytes input{static_cast<uint8_t>(image.size()), static_cast<uint8_t>(image.size() >> 8)};
  input.insert(input.end(), image.begin(), image.end());
  input.insert(input.end(), {9, 0});  // enter the race
  for (uint8_t spot = 0; spot < 12; ++spot) {
    for (int repeat = 0; repeat < 6; ++repeat) {
      input.insert(input.end(), {0, spot, 0, 0, 0, 80, 0, 0});
    }
    input.insert(input.end(), {9, static_cast<uint8_t>(spot % 14), 10, spot});
  }
  return input;
}

void CourseSeeds(const fs::path& source_dir, const fs::path& out) {
  const Bytes sample = LayOutCourse(SampleCourse());
  const Bytes tour = SourceCourseImage(source_dir / "examples/island_tour.toml");
  Put(out, "course_decompile", "sample_course", sample);
  Put(out, "course_decompile", "island_tour", tour);
  Put(out, "course_file", "sample_course", CourseFlight(sample));
  Put(out, "course_file", "island_tour", CourseFlight(tour));
  for (const char* name : {"sample_course.toml", "island_tour.toml"})
    Put(out, "course_source", name, Read(source_dir / "examples" / name));
}

void ScoreSeeds(const fs::path& out) {
  MemoryFiles files;
  PlatformOps platform = MakeMemoryFilesPlatform(&files);
  ScoreTable table{};
  table.words[score::kPercentageWord] = 110;
  table.words[score::kQuizStateWord] = score::kQuizAsked | score::kQuizWrong;
  table.words[score::kQuizStateWord + 1] = score::kQuizAsked;
  table.words[score::kLegScoreWord + score::kLegTotal] = 1132;
  table.name_slots[0] = "Aquila";
  table.name_slots[8] = "Orso";
  WriteScoreFile(table, platform, "Rally.SCO");
  Bytes with_names{5};
  with_names.insert(with_names.end(), files.files["Rally.SCO"].begin(),
                    files.files["Rally.SCO"].end());
  Put(out, "score_file", "names", with_names);
  Put(out, "score_file", "block_only", Bytes(with_names.begin(), with_names.begin() + 729));
}

void SceneryLibrarySeeds(const fs::path& out) {
  LibraryFileBuilder library;
  library.entries = {{10, 1, "Scenery\\World\\*.BGL", "Default Terrain"},
                     {20, 1, "D:\\Aerilon\\Scenery\\*.BGL", "Aerilon"},
                     {30, 0, "=:\\=Alps\\*.BGL", "Alpine Airfields"}};
  library.order = {2, 1, 4, 3, 6, 5};
  Bytes add{0};
  Bytes built = library.Build();
  add.insert(add.end(), built.begin(), built.end());
  Put(out, "library", "add", add);
  add[0] = 1;
  Put(out, "library", "remove", add);

  scenery_source::GeneratorOptions options;
  options.target_size = 3000;
  options.model_bytes = 8;
  scenery_source::GeneratedScenery generated = scenery_source::GenerateScenery(options);
  const KillArea& a = generated.area;
  Bytes input;
  for (int32_t word : {a.west, a.north, a.east, a.south}) {
    for (int shift = 0; shift < 32; shift += 8)
      input.push_back(static_cast<uint8_t>(static_cast<uint32_t>(word) >> shift));
  }
  Bytes file = scenery_source::WriteSceneryFile(generated.file).bytes;
  input.insert(input.end(), file.begin(), file.end());
  Put(out, "scenery", "generated", input);
}

void TextSeeds(const fs::path& source_dir, const fs::path& out) {
  Put(out, "flight_script", "sample_flight", Read(source_dir / "examples/sample_flight.jsonl"));
  Put(out, "flight_script", "crash_and_commands",
      Read(source_dir / "tests/tools/flights/crash_and_commands.jsonl"));
  Put(out, "edit_script", "packaged", Read(source_dir / "packaging/Sceneward.DAT"));
  const std::string every_word =
      "; every keyword\r\nTITLE \"Aerilon by Vesk\"\r\nSOURCE \"A\"\r\nDEST \"B\"\r\n"
      "TYPE LOCAL\r\nAFLAG INACTIVE\r\nBFLAG ACTIVE\r\nCACHE 2\r\nCLEAN NO\r\nUPDATE SEMI\r\n"
      "AREA 12G30ME, 46G0MN, 13G0ME, 45G30MN\r\nAREA 1G0MW, 2G0MS, 0G30ME, 3G0MS\r\n";
  Put(out, "edit_script", "every_word", Bytes(every_word.begin(), every_word.end()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_fuzz_seeds SOURCE_DIR FOLDER\n");
    return 2;
  }
  const fs::path source_dir = argv[1], out = argv[2];
  CourseSeeds(source_dir, out);
  ScoreSeeds(out);
  SceneryLibrarySeeds(out);
  TextSeeds(source_dir, out);
  return 0;
}
