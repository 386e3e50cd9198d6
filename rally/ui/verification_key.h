#pragma once

#include <cstdint>

// The verification key that the score summary shows once the hidden word is
// complete: the overall total and the calendar time packed into one 32-bit
// value, written in base 36 (0-9, A-Z), one to seven characters, no leading
// zeros (36^7 > 2^32, so seven always suffice; the value 0 is "0").
//
// Packing, with fmix(x) the 32-bit finaliser of MurmurHash3
// (x ^= x >> 16; x *= 0x85EBCA6B; x ^= x >> 13; x *= 0xC2B2AE35; x ^= x >> 16):
//
//   value = fmix(fmix(total + 0x9E3779B9) ^ time)
//
// with `total` taken as its 32-bit two's complement pattern. fmix is a
// bijection, so for a fixed total every second gives a different key, and
// for a fixed time every total does; the added constant keeps the key of a
// zero total at time 0 from being 0. Every bit of the key depends on every
// bit of both inputs.
constexpr uint32_t kVerificationKeyBytes = 8;  // seven characters and the NUL

struct VerificationKeyText {
  char text[kVerificationKeyBytes];
};

uint32_t VerificationKeyValue(int32_t total, uint32_t time);
VerificationKeyText VerificationKey(int32_t total, uint32_t time);
// `value` in base 36, upper-case letters, no leading zeros.
VerificationKeyText Base36Text(uint32_t value);
