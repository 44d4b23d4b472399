#pragma once

#include <string>

namespace Norvane {
namespace detail {

// printf into a string of whatever length the values need ("%.16f" of 1e300 is over 300 characters).
std::string SqlFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace detail
}  // namespace Norvane
