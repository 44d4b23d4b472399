#pragma once

#include <chrono>
#include <string>

namespace Norvane {

// A one-line progress display on stderr, shown only when stderr is a terminal and the work has already
// taken more than a moment, so that quick runs and logs stay clean.
class TerminalProgress {
public:
    explicit TerminalProgress(bool enabled);
    ~TerminalProgress();
    void Update(const std::string& stage, double fraction);
    // Clears the line (if one was shown).
    void Done();

private:
    bool m_enabled;
    bool m_shown = false;
    std::chrono::steady_clock::time_point m_start;
};

}  // namespace Norvane
