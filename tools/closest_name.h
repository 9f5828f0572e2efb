#pragma once
// "Did you mean": the known name nearest a mistyped one.
#include <optional>
#include <span>
#include <string_view>

namespace tramox::tools {

// Edits (insert, delete, replace, swap of two neighbours) between two words, ignoring ASCII
// case, as names are matched.
std::size_t editDistance(std::string_view a, std::string_view b);

// The candidate fewest edits away, if within a third of the word's length (at least one
// edit); the first such in candidate order on a tie.
std::optional<std::string_view> closestName(std::string_view word,
                                            std::span<const std::string_view> candidates);

}  // namespace tramox::tools
