#include "common/little_endian.h"

#include <gtest/gtest.h>

TEST(LittleEndian, RoundTripsEveryWidthRegardlessOfAlignment) {
  uint8_t buffer[16] = {};
  store_i16le(buffer + 1, -2);
  EXPECT_EQ(buffer[1], 0xFE);
  EXPECT_EQ(buffer[2], 0xFF);
  EXPECT_EQ(load_i16le(buffer + 1), -2);
  store_u32le(buffer + 3, 0x11223344u);
  EXPECT_EQ(buffer[3], 0x44);
  EXPECT_EQ(buffer[6], 0x11);
  EXPECT_EQ(load_u32le(buffer + 3), 0x11223344u);
  store_i64le(buffer + 7, -0x123456789LL);
  EXPECT_EQ(load_i64le(buffer + 7), -0x123456789LL);
}
