#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

#include <boost/shared_ptr.hpp>

namespace Norvane {

class ProgressData;

// Reports the progress of a long computation into a shared ProgressData and tells it when the user has asked
// to cancel. Cheap enough to be told about every item: it looks at the clock only every few calls and
// publishes (percentage, text, a look at the cancel flag, then the notification) at most once per interval,
// so a display fed by it moves several times a second whatever the size of the work.
//
// The work is cut into stages; each fills a range of the whole percentage and counts its own steps. A meter
// without ProgressData reports nowhere and is never cancelled.
//
// The notification is called on the working thread after each publication, without the ProgressData mutex
// held: a terminal program prints from it, a window posts itself a message.
class ProgressMeter {
public:
    using Notify = std::function<void()>;
    static constexpr std::chrono::milliseconds kInterval{50};

    ProgressMeter() = default;
    // interval: the least time between two publications within a stage.
    explicit ProgressMeter(boost::shared_ptr<ProgressData> data, Notify notify = Notify(),
                           std::chrono::milliseconds interval = kInterval);

    // Starts a stage that fills [from, to] percent of the whole and shows text; publishes at once.
    void BeginStage(const std::wstring& text, double from, double to);
    // `done` of `total` steps of the current stage are done. Answers false once a cancel was asked (from then
    // on, every call answers false): the work should stop at the next point where it can.
    bool Step(std::size_t done, std::size_t total) {
        if (m_cancelled) {
            return false;
        }
        if (++m_calls % kCallsPerClockLook != 0) {
            return true;
        }
        return Tick(done, total);
    }
    bool IsCancelled() const { return m_cancelled; }
    // Publishes the end: 100 %, the text, the finished flag.
    void Finish(const std::wstring& text);

private:
    static constexpr unsigned kCallsPerClockLook = 64;

    bool Tick(std::size_t done, std::size_t total);
    void Publish(double percentage, bool finished);

    boost::shared_ptr<ProgressData> m_data;
    Notify m_notify;
    std::chrono::milliseconds m_interval = kInterval;
    std::wstring m_text;
    double m_from = 0.0;
    double m_to = 0.0;
    unsigned m_calls = 0;
    bool m_cancelled = false;
    std::chrono::steady_clock::time_point m_last;
};

}  // namespace Norvane
