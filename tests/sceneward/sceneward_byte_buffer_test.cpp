#include "sceneward/base/byte_buffer.h"

#include <gtest/gtest.h>

#include "sceneward/scenery/work_file.h"

namespace {

TEST(SceneryByteBuffer, WritesPastTheEndFillTheGapAndRewindsNeverShorten) {
  WorkFile work = kEmptyWorkFile;
  const uint8_t abc[] = {'a', 'b', 'c'};
  work.position = 2;
  WorkFileWrite(work, abc, 3);
  ASSERT_EQ(work.bytes.size, 5u);
  EXPECT_EQ(work.bytes.data[0], 0);
  EXPECT_EQ(work.bytes.data[1], 0);
  EXPECT_EQ(work.bytes.data[4], 'c');
  WorkFileRewind(work, 1);
  WorkFileWrite(work, abc, 1);
  EXPECT_EQ(work.position, 2u);
  EXPECT_EQ(work.bytes.size, 5u);  // the older bytes behind stay
  EXPECT_EQ(work.bytes.data[1], 'a');
  EXPECT_EQ(work.bytes.data[2], 'a');
  EXPECT_EQ(work.bytes.data[3], 'b');
  ByteBufferFree(work.bytes);
}

TEST(SceneryByteBuffer, AWriteBeyondFourGibibytesFailsAndTheFailureSticks) {
  ByteBuffer buffer = kEmptyByteBuffer;
  const uint8_t bytes[16] = {};
  ByteBufferWriteAt(buffer, 0xFFFFFFF8u, bytes, 16);
  EXPECT_EQ(buffer.failure, BufferFailure::kTooLarge);
  EXPECT_EQ(buffer.size, 0u);
  ByteBufferAppend(buffer, bytes, 4);
  EXPECT_EQ(buffer.size, 0u);
  ByteBufferFree(buffer);
  EXPECT_EQ(buffer.failure, BufferFailure::kNone);
}

}  // namespace
