#pragma once

#include <cstdint>
#include <functional>
#include <thread>

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/appframe/WindowHandle.h"

namespace Norvane {

class ProgressData;

// A background task: Run executes on a worker thread started by Start, reports through the shared
// ProgressData and tells the window that shows the progress by posting it a message.
//
// A task runs once. Join before the task object is destroyed: the destructor joins as a last resort, but by
// then the derived part that Run uses is already gone.
class TaskEx {
public:
    // Delivers a posted message (window, message, two parameters) to the user-interface side.
    using MessagePoster = std::function<void(WindowHandle, unsigned int, std::uintptr_t, std::intptr_t)>;

    TaskEx();
    TaskEx(const TaskEx&) = delete;
    TaskEx& operator=(const TaskEx&) = delete;
    virtual ~TaskEx();

    // The work; runs on the worker thread (or on the caller's, if called directly).
    virtual void Run() = 0;

    // Starts Run on a new thread. Returns false, and does nothing, when the task was started before.
    bool Start();
    // Waits until Run has returned; returns at once when the task is not running.
    void Join();

    void SetWindow(WindowHandle window) { m_window = window; }
    WindowHandle GetWindow() const { return m_window; }
    // The task starts with a progress object of its own; a caller that shows the progress may give it one to
    // share instead. An empty pointer is ignored. Set before Start.
    void SetProgressData(const boost::shared_ptr<ProgressData>& progress);
    boost::shared_ptr<ProgressData> GetProgressData() const { return m_progress; }

    // Installs how posted messages reach the user interface (the host's message queue; a test's recorder).
    // Empty: posting does nothing. Thread-safe. Posting is asynchronous in spirit: tasks post while holding
    // their ProgressData mutex, so a poster must only queue the message, never lock that ProgressData itself.
    static void SetMessagePoster(MessagePoster poster);

protected:
    // Posts `message` to the task's window through the installed poster; callable from the worker thread.
    void PostMessageToWindow(unsigned int message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) const;

    WindowHandle m_window = nullptr;
    boost::shared_ptr<ProgressData> m_progress;

private:
    std::thread m_thread;
    bool m_started = false;
};

}  // namespace Norvane
