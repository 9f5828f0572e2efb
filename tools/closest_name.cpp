#include "tools/closest_name.h"

#include <algorithm>
#include <vector>

namespace tramox::tools {
namespace {

char folded(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::size_t editDistance(std::string_view a, std::string_view b) {
  // Optimal string alignment: Levenshtein plus the swap typists make ("Nmae").
  const std::size_t width = b.size() + 1;
  std::vector<std::size_t> d((a.size() + 1) * width);
  for (std::size_t i = 0; i <= a.size(); ++i) {
    d[i * width] = i;
  }
  for (std::size_t j = 0; j <= b.size(); ++j) {
    d[j] = j;
  }
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t cost = folded(a[i - 1]) == folded(b[j - 1]) ? 0 : 1;
      std::size_t best = std::min({d[(i - 1) * width + j] + 1, d[i * width + j - 1] + 1,
                                   d[(i - 1) * width + j - 1] + cost});
      if (i > 1 && j > 1 && folded(a[i - 1]) == folded(b[j - 2]) &&
          folded(a[i - 2]) == folded(b[j - 1])) {
        best = std::min(best, d[(i - 2) * width + j - 2] + 1);
      }
      d[i * width + j] = best;
    }
  }
  return d.back();
}

std::optional<std::string_view> closestName(std::string_view word,
                                            std::span<const std::string_view> candidates) {
  const std::size_t limit = std::max<std::size_t>(1, word.size() / 3);
  std::optional<std::string_view> best;
  std::size_t bestDistance = limit + 1;
  for (std::string_view candidate : candidates) {
    // Lengths alone may rule a candidate out before the quadratic comparison.
    const std::size_t gap = candidate.size() > word.size() ? candidate.size() - word.size()
                                                           : word.size() - candidate.size();
    if (gap >= bestDistance) {
      continue;
    }
    const std::size_t distance = editDistance(word, candidate);
    if (distance < bestDistance) {
      bestDistance = distance;
      best = candidate;
    }
  }
  return best;
}

}  // namespace tramox::tools
