#include "rally/ui/verification_key.h"

namespace {

uint32_t Finalise(uint32_t x) {
  x ^= x >> 16;
  x *= 0x85EBCA6Bu;
  x ^= x >> 13;
  x *= 0xC2B2AE35u;
  x ^= x >> 16;
  return x;
}

constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr uint32_t kBase = 36;

}  // namespace

uint32_t VerificationKeyValue(int32_t total, uint32_t time) {
  uint32_t spread_total = Finalise(static_cast<uint32_t>(total) + 0x9E3779B9u);
  return Finalise(spread_total ^ time);
}

VerificationKeyText Base36Text(uint32_t value) {
  // Digits come out least significant first; the key takes them in reverse.
  char reversed[kVerificationKeyBytes];
  uint32_t length = 0;
  do {
    reversed[length++] = kDigits[value % kBase];
    value /= kBase;
  } while (value != 0);
  VerificationKeyText key{};
  for (uint32_t i = 0; i < length; ++i) key.text[i] = reversed[length - 1 - i];
  key.text[length] = '\0';
  return key;
}

VerificationKeyText VerificationKey(int32_t total, uint32_t time) {
  return Base36Text(VerificationKeyValue(total, time));
}
