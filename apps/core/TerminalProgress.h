#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

#include <boost/shared_ptr.hpp>

namespace Norvane {

class ProgressData;

// A one-line progress display on stderr: "[ 42%] chaining loops (3.1 s)". Work reports its stage and the
// fraction done whenever it likes (Update), or through a framework ProgressData that the display reads
// (Watch); a thread of the display redraws the line every kRedrawPeriod whether or not anything was
// reported, so the line moves at least twice a second even through a long stage, and the elapsed time
// shows that the program is alive. Nothing is shown for work shorter than kRedrawPeriod, when disabled
// (-q), or when the stream is not a terminal, so that quick runs, pipes and logs stay clean.
class TerminalProgress {
public:
    static constexpr std::chrono::milliseconds kRedrawPeriod{250};

    // Draws on stderr when enabled and stderr is a terminal.
    explicit TerminalProgress(bool enabled);
    // Draws on stream when enabled, terminal or not (tests).
    TerminalProgress(bool enabled, std::FILE* stream);
    ~TerminalProgress();
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    // The stage now running and the fraction (0..1) of the whole work done.
    void Update(const std::string& stage, double fraction);

    // Reads the stage (the sub-task text) and the percentage (0..100) of the whole work from progress,
    // under its mutex, at every redraw, until Watch is called with an empty pointer. While a ProgressData is
    // watched, Update is ignored.
    void Watch(const boost::shared_ptr<ProgressData>& progress);

    // Stops drawing and clears the line (if one was shown). Called by the destructor too.
    void Done();

private:
    void Run();
    void Draw();  // with m_mutex held

    std::FILE* m_stream = nullptr;
    bool m_enabled = false;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    bool m_shown = false;
    std::string m_stage;
    double m_fraction = 0.0;
    boost::shared_ptr<ProgressData> m_watched;
    std::chrono::steady_clock::time_point m_start;
    std::thread m_thread;
};

}  // namespace Norvane
