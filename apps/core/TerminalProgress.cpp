#include "apps/core/TerminalProgress.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace Norvane {

namespace {

// Work shorter than this shows no progress at all.
constexpr std::chrono::milliseconds kQuietPeriod(400);

}  // namespace

TerminalProgress::TerminalProgress(bool enabled)
    : m_enabled(enabled && ::isatty(STDERR_FILENO)), m_start(std::chrono::steady_clock::now()) {}

TerminalProgress::~TerminalProgress() { Done(); }

void TerminalProgress::Update(const std::string& stage, double fraction) {
    if (!m_enabled) return;
    if (!m_shown && std::chrono::steady_clock::now() - m_start < kQuietPeriod) return;
    const int percent = static_cast<int>(std::clamp(fraction, 0.0, 1.0) * 100.0 + 0.5);
    std::fprintf(stderr, "\r\033[K%3d%%  %s", percent, stage.c_str());
    std::fflush(stderr);
    m_shown = true;
}

void TerminalProgress::Done() {
    if (m_shown) {
        std::fprintf(stderr, "\r\033[K");
        std::fflush(stderr);
        m_shown = false;
    }
}

}  // namespace Norvane
