#include "rally/ui/verification_key.h"

#include <gtest/gtest.h>

#include <bitset>
#include <cstring>
#include <set>
#include <string>

namespace {

// Reads a key back; -1 for a character outside 0-9, A-Z.
int64_t DecodeBase36(const std::string& key) {
  int64_t value = 0;
  for (char c : key) {
    int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'Z' ? c - 'A' + 10 : -1;
    if (digit < 0) return -1;
    value = value * 36 + digit;
  }
  return value;
}

TEST(VerificationKey, Base36TextAtTheEdgesOfItsLength) {
  EXPECT_STREQ(Base36Text(0).text, "0");
  EXPECT_STREQ(Base36Text(9).text, "9");
  EXPECT_STREQ(Base36Text(10).text, "A");
  EXPECT_STREQ(Base36Text(35).text, "Z");
  EXPECT_STREQ(Base36Text(36).text, "10");
  EXPECT_STREQ(Base36Text(2176782335u).text, "ZZZZZZ");  // 36^6 - 1
  EXPECT_STREQ(Base36Text(2176782336u).text, "1000000");
  EXPECT_STREQ(Base36Text(0xFFFFFFFFu).text, "1Z141Z3") << "the largest value needs seven";
}

TEST(VerificationKey, KeysAreOneToSevenBase36DigitsWithoutLeadingZeros) {
  const int32_t totals[] = {0, 1, -1, 1150, 999, INT32_MAX, INT32_MIN};
  for (int32_t total : totals) {
    for (uint32_t time = 0; time < 2000; time += 7) {
      std::string key = VerificationKey(total, time).text;
      ASSERT_GE(key.size(), 1u);
      ASSERT_LE(key.size(), 7u);
      ASSERT_TRUE(key == "0" || key[0] != '0') << key;
      ASSERT_EQ(DecodeBase36(key), VerificationKeyValue(total, time)) << key;
      ASSERT_EQ(key, VerificationKey(total, time).text) << "the same inputs, the same key";
    }
  }
}

TEST(VerificationKey, EverySecondAndEveryTotalGiveADifferentKey) {
  std::set<uint32_t> by_time, by_total;
  for (uint32_t t = 0; t < 5000; ++t) by_time.insert(VerificationKeyValue(1150, 1700000000u + t));
  for (int32_t total = -2500; total < 2500; ++total) {
    by_total.insert(VerificationKeyValue(total, 1700000000u));
  }
  EXPECT_EQ(by_time.size(), 5000u);
  EXPECT_EQ(by_total.size(), 5000u);
  EXPECT_NE(VerificationKeyValue(0, 0), 0u) << "a zero total at time 0 still gives a key";
}

int32_t FlipBit(int32_t value, int bit) {
  return static_cast<int32_t>(static_cast<uint32_t>(value) ^ (1u << bit));
}

// A good mixer: one input bit changed flips about half of the key's bits.
TEST(VerificationKey, OneChangedInputBitFlipsAboutHalfTheKey) {
  double flipped = 0;
  int samples = 0;
  for (uint32_t t = 0; t < 256; ++t) {
    uint32_t time = 1700000000u + t * 977u;
    int32_t total = static_cast<int32_t>(t * 131u);
    uint32_t key = VerificationKeyValue(total, time);
    for (int bit = 0; bit < 32; ++bit) {
      flipped += std::bitset<32>(key ^ VerificationKeyValue(total, time ^ (1u << bit))).count();
      flipped += std::bitset<32>(key ^ VerificationKeyValue(FlipBit(total, bit), time)).count();
      samples += 2;
    }
  }
  EXPECT_NEAR(flipped / samples, 16.0, 0.5);
}

}  // namespace
