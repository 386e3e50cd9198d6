#include "tools/aerilon-course/course_map.h"

#include <gtest/gtest.h>

#include "course_test_support.h"
#include "rally/race/start_positions.h"

namespace {

using course_test::Bytes;
using course_test::SimFolder;

class FlightTrackTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& text) {
    folder_.Write("flight.jsonl", Bytes(text.begin(), text.end()));
    return folder_.Path("flight.jsonl");
  }
  SimFolder folder_;
};

TEST_F(FlightTrackTest, ReadsThePositionsTheScriptSets) {
  std::string path = Write(
      "{\"tick\":1,\"state\":{\"lat\":100,\"speed\":0}}\n"       // no longitude yet
      "{\"tick\":2,\"state\":{\"lon\":\"0x200\",\"alt\":50}}\n"  // now a point
      "{\"tick\":3,\"state\":{\"speed\":12800}}\n"               // not a move
      "{\"tick\":4,\"state\":{\"lat\":-7}}\n"                    // longitude holds
      "{\"tick\":5,\"command\":\"position:2\"}\n");
  std::vector<TrackPoint> track{{1, 1, 1}};
  std::string error;
  ASSERT_TRUE(ReadFlightTrack(path, &track, &error)) << error;
  const StartPosition* kestrins = StartPositionForSlot(kFirstStartPositionSlot + 1);
  std::vector<std::vector<int32_t>> expected{
      {100, 0x200, 50},
      {-7, 0x200, 50},
      {static_cast<int32_t>(kestrins->latitude), static_cast<int32_t>(kestrins->longitude), 44}};
  ASSERT_EQ(track.size(), expected.size());
  for (size_t i = 0; i < track.size(); ++i) {
    EXPECT_EQ((std::vector<int32_t>{track[i].lat, track[i].lon, track[i].alt}), expected[i]) << i;
  }
}

TEST_F(FlightTrackTest, NamesTheFileAndTheLineOfAFault) {
  std::string path =
      Write("{\"tick\":1,\"state\":{\"lat\":1}}\n\n{\"tick\":2,\"state\":{\"lat\":x}}\n");
  std::vector<TrackPoint> track;
  std::string error;
  EXPECT_FALSE(ReadFlightTrack(path, &track, &error));
  EXPECT_EQ(error.rfind(path + ":3: error: ", 0), 0u) << error;
  EXPECT_FALSE(ReadFlightTrack(folder_.Path("missing.jsonl"), &track, &error));
  EXPECT_EQ(error.rfind(folder_.Path("missing.jsonl") + ": error: cannot be opened", 0), 0u)
      << error;
}

}  // namespace
