#include "geomFeature/host/logkit/LogMgr.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <utility>

namespace Norvane {

namespace {

struct LogState {
    std::mutex mutex;
    LogMgr::Sink sink;
    bool enabled;

    LogState() {
        const char* value = std::getenv("GF_DEBUG_LOG");
        enabled = value != nullptr && std::strcmp(value, "1") == 0;
    }
};

LogState& State() {
    static LogState state;
    return state;
}

// stderr is a byte stream shared with narrow output; encode the message as UTF-8 rather than switching the
// stream to wide orientation. Values that are not Unicode scalar values become U+FFFD.
std::string ToUtf8(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t wc : text) {
        auto c = static_cast<std::uint32_t>(wc);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

}  // namespace

void LogMgr::DebugWarn(const std::wstring& text, WindowHandle /*window*/) {
    LogState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (state.sink) {
        state.sink(text);
        return;
    }
    if (state.enabled) {
        const std::string line = "geomFeature: " + ToUtf8(text) + "\n";
        std::fwrite(line.data(), 1, line.size(), stderr);
    }
}

void LogMgr::SetSink(Sink sink) {
    LogState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.sink = std::move(sink);
}

void LogMgr::SetEnabled(bool enabled) {
    LogState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.enabled = enabled;
}

bool LogMgr::IsEnabled() {
    LogState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.enabled;
}

}  // namespace Norvane
