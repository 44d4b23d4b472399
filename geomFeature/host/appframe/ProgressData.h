#pragma once

#include <mutex>
#include <string>
#include <utility>

namespace Norvane {

// Progress of a background task, shared between the worker thread that reports it and the user-interface
// thread that shows it and may ask for cancellation.
//
// Every accessor requires the caller to hold the mutex (GetMutex), so that a reader sees the percentage,
// the flags and the text of one consistent moment and a task can test the cancel flag and react to it in
// one step:
//
//     std::lock_guard<std::mutex> lock(progress->GetMutex());
//     if (progress->IsCancelled()) { progress->SetFinished(true); ... }
class ProgressData {
public:
    ProgressData() = default;
    ProgressData(const ProgressData&) = delete;
    ProgressData& operator=(const ProgressData&) = delete;

    std::mutex& GetMutex() const { return m_mutex; }

    double GetPercentage() const { return m_percentage; }
    void SetPercentage(double percentage) { m_percentage = percentage; }
    bool IsFinished() const { return m_finished; }
    void SetFinished(bool finished) { m_finished = finished; }
    bool IsCancelled() const { return m_cancel; }
    // Set by the user-interface thread to ask the task to stop at its next check.
    void SetCancel(bool cancel) { m_cancel = cancel; }
    const std::wstring& GetSubTask() const { return m_subTask; }
    // The text describing what the task is doing now.
    void SetSubTask(std::wstring text) { m_subTask = std::move(text); }

private:
    mutable std::mutex m_mutex;
    double m_percentage = 0.0;
    bool m_finished = false;
    bool m_cancel = false;
    std::wstring m_subTask;
};

}  // namespace Norvane
