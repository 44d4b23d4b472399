#include "apps/core/TerminalProgress.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>

#include "apps/core/InterruptHandler.h"
#include "geomFeature/host/appframe/ProgressData.h"

namespace Norvane {

TerminalProgress::TerminalProgress(bool enabled)
    : TerminalProgress(enabled && ::isatty(STDERR_FILENO), stderr) {}

TerminalProgress::TerminalProgress(bool enabled, std::FILE* stream)
    : m_stream(stream), m_enabled(enabled && stream), m_start(std::chrono::steady_clock::now()) {
    if (!m_enabled) {
        return;
    }
    // The drawing thread takes no signal: SIGINT and SIGTERM go to the main thread, whose handler
    // removes temporary files.
    sigset_t all;
    sigset_t previous;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, &previous);
    m_thread = std::thread([this] { Run(); });
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

TerminalProgress::~TerminalProgress() { Done(); }

void TerminalProgress::Update(const std::string& stage, double fraction) {
    if (!m_enabled) {
        return;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stage = stage;
    m_fraction = std::clamp(fraction, 0.0, 1.0);
}

void TerminalProgress::Watch(const boost::shared_ptr<ProgressData>& progress) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_watched = progress;
}

void TerminalProgress::Done() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_stop) {
            return;
        }
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
    if (m_shown) {
        std::fputs("\r\033[K", m_stream);
        std::fflush(m_stream);
        m_shown = false;
        InterruptHandler::SetProgressLineShown(false);
    }
}

void TerminalProgress::Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_wake.wait_for(lock, kRedrawPeriod, [this] { return m_stop; })) {
        Draw();
    }
}

void TerminalProgress::Draw() {
    std::string stage = m_stage;
    double fraction = m_fraction;
    if (m_watched) {
        std::lock_guard<std::mutex> lock(m_watched->GetMutex());
        const std::wstring& text = m_watched->GetSubTask();
        // Sub-task texts are the module's own English strings; anything beyond ASCII shows as '?'.
        stage.clear();
        for (const wchar_t c : text) {
            stage.push_back(c >= 0x20 && c < 0x7f ? static_cast<char>(c) : '?');
        }
        fraction = std::clamp(m_watched->GetPercentage() / 100.0, 0.0, 1.0);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    const int percent = static_cast<int>(fraction * 100.0);  // rounded down: 100% only when done
    std::fprintf(m_stream, "\r\033[K[%3d%%] %s (%.1f s)", percent, stage.c_str(), seconds);
    std::fflush(m_stream);
    if (!m_shown) {
        m_shown = true;
        InterruptHandler::SetProgressLineShown(true);
    }
}

}  // namespace Norvane
