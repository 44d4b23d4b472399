#pragma once

#include <cstdint>

namespace Norvane {

// Largest number of copies a stored array may ask for (for a grid, rows times columns), and the largest
// segment count of a stored ellipse. The copies are built when the cache is refreshed, so a damaged count
// of two billion would exhaust memory; a row above the limit is refused as a bad value.
constexpr std::int64_t kMaxStoredRepeatCount = std::int64_t{1} << 20;

}  // namespace Norvane
