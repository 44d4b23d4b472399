#include "geomFeature/persist/detail/SqlText.h"

#include <cstdarg>
#include <cstdio>

namespace Norvane {
namespace detail {

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
