#include "sceneward/files/file_pattern.h"

namespace {

char FoldCase(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

bool MatchFilePattern(const char* pattern, const char* name) {
  // Greedy matching with one remembered star: on a mismatch, let the latest
  // star swallow one more character. Linear in practice, never recursive.
  const char* star = nullptr;
  const char* star_name = nullptr;
  while (*name != '\0') {
    if (*pattern == '*') {
      star = pattern++;
      star_name = name;
    } else if (*pattern != '\0' && (*pattern == '?' || FoldCase(*pattern) == FoldCase(*name))) {
      ++pattern;
      ++name;
    } else if (star != nullptr) {
      pattern = star + 1;
      name = ++star_name;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == '\0';
}
