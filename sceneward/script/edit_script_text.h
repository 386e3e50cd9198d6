#pragma once

#include <cstdint>

// Turns bytes read from a script file into the text a Windows C runtime reads
// in text mode, in place: every carriage return and line feed pair becomes
// one line feed, and a Ctrl-Z ends the text. Returns the new length; the
// caller puts the terminator there. Both builds then read the same script.
uint32_t ToTextMode(char* text, uint32_t length);
