#include "geomFeature/persist/detail/SqlText.h"

#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace Norvane {
namespace detail {

std::size_t FormatReal16(double value, char* buffer) {
    // The common value of unused columns, spelt out once.
    static constexpr char kZero[] = "0.0000000000000000";
    if (value == 0.0 && !std::signbit(value)) {  // exact: +0 only; -0 prints its sign
        std::memcpy(buffer, kZero, sizeof kZero - 1);
        return sizeof kZero - 1;
    }
    // Like printf, to_chars gives the exactly rounded decimal expansion, so both texts are the same.
    const std::to_chars_result r =
        std::to_chars(buffer, buffer + kRealTextSize, value, std::chars_format::fixed, 16);
    return static_cast<std::size_t>(r.ptr - buffer);
}

std::string SqlFormat(const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int needed = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    std::string text;
    if (needed < 0) {
        va_end(again);
        return text;
    }
    if (static_cast<std::size_t>(needed) < sizeof buffer) {
        text.assign(buffer, static_cast<std::size_t>(needed));
    } else {
        text.resize(static_cast<std::size_t>(needed) + 1);
        std::vsnprintf(text.data(), text.size(), format, again);
        text.resize(static_cast<std::size_t>(needed));
    }
    va_end(again);
    return text;
}

}  // namespace detail
}  // namespace Norvane
