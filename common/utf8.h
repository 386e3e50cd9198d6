#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// UTF-8 for the Linux tools: the encoding of course sources, flight
// scripts, file names and the terminal.

void AppendUtf8(std::string& out, uint32_t character);

// The character that starts at `text[at]` into `character`, and how many
// bytes it takes; 0 when the bytes there are not UTF-8 (a stray
// continuation byte, a sequence cut short, an overlong form, a surrogate,
// beyond U+10FFFF).
size_t DecodeUtf8(const std::string& text, size_t at, uint32_t* character);
