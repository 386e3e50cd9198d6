#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// The fuzz input taken apart front to back; past its end every value is 0.
class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool Empty() const { return at_ >= size_; }
  uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  uint16_t U16() {
    uint16_t low = Byte();
    return static_cast<uint16_t>(low | Byte() << 8);
  }
  int8_t Signed() { return static_cast<int8_t>(Byte()); }
  // The next `count` bytes (fewer at the end), and where they start.
  const uint8_t* Take(size_t count, size_t* taken) {
    const uint8_t* start = data_ + at_;
    *taken = count < size_ - at_ ? count : size_ - at_;
    at_ += *taken;
    return start;
  }
  const uint8_t* Rest(size_t* taken) { return Take(size_ - at_, taken); }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};
