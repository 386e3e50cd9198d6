#include "tools/aerilon-course/source/nearest_name.h"

#include <algorithm>

namespace {

// Optimal string alignment: Levenshtein's distance with a swap of two
// neighbours counted as one edit.
size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
  for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    for (size_t j = 1; j <= b.size(); ++j) {
      size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

}  // namespace

std::optional<std::string> NearestName(const std::string& word,
                                       const std::vector<std::string>& names) {
  // One edit in a short word, two from six letters on: further than that
  // is another word.
  size_t allowed = word.size() >= 6 ? 2 : 1;
  if (word.size() > 64) return std::nullopt;  // a key that long is no misspelling
  std::optional<std::string> nearest;
  size_t best = allowed + 1;
  for (const std::string& name : names) {
    if (name == word) continue;
    size_t distance = EditDistance(word, name);
    if (distance < best) {
      best = distance;
      nearest = name;
    }
  }
  return nearest;
}
