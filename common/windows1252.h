#pragma once

#include <cstdint>

// Code page 1252 ("Windows Latin-1"), the code page of every text in the
// simulator's files: the course's texts, the score file's names, the
// scenery library's titles and folder patterns, the edit script.
//
// The character of each byte: ASCII and ISO 8859-1 from 0xA0, the
// code page's own letters and signs at 0x80 to 0x9F (0x92 is U+2019 "'",
// 0x80 is U+20AC "EUR"). The five bytes the code page leaves without a
// character (0x81, 0x8D, 0x8F, 0x90, 0x9D) read as the C1 control of the
// same number, so that every byte has a character and converts back.
uint32_t Windows1252Character(uint8_t byte);
// False for those five bytes.
bool Windows1252HasCharacter(uint8_t byte);
// The byte of a character, or -1 when the code page has none.
int32_t Windows1252Byte(uint32_t character);
