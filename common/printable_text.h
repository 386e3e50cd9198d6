#pragma once

#include <string>

// Texts that came from a file, made fit for a terminal or a picture: they
// show there and never act. A crafted pilot's name or library title could
// otherwise set the terminal's title, move its cursor or hide what follows.

enum class TextEncoding {
  // Every byte is a character of code page 1252: the texts of the
  // simulator's files (course texts, voice prompt names, score file names,
  // library titles and folder patterns, edit script fields).
  kWindows1252,
  // UTF-8 (course sources, flight scripts, paths, texts already converted);
  // a byte that is not part of UTF-8 is read as code page 1252.
  kUtf8,
};

// `text` as UTF-8 with every control character written as \xNN, its
// number in two upper-case hex digits: C0 (tabs and line ends too; a
// caller that keeps them splits at them first), DEL, and the C1 range
// 0x80 to 0x9F, which takes in the five bytes code page 1252 has no
// character for. A backslash stays as it is (paths hold them): the result
// is for reading, not for reading back.
std::string PrintableText(const std::string& text, TextEncoding encoding);
