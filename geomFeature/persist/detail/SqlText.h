#pragma once

#include <cstddef>
#include <string>

namespace Norvane {
namespace detail {

// The text "%.16f" makes of value (16 decimals, as many digits before the point as it needs), written into
// buffer, which must hold kRealTextSize characters; answers the length. Non-finite values give "nan",
// "-nan", "inf" or "-inf" as printf does.
constexpr std::size_t kRealTextSize = 400;
std::size_t FormatReal16(double value, char* buffer);

// printf into a string of whatever length the values need ("%.16f" of 1e300 is over 300 characters).
std::string SqlFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace detail
}  // namespace Norvane
