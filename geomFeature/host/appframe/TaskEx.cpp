#include "geomFeature/host/appframe/TaskEx.h"

#include <mutex>
#include <utility>

#include <boost/make_shared.hpp>

#include "geomFeature/host/appframe/ProgressData.h"

namespace Norvane {

namespace {

struct PosterSlot {
    std::mutex mutex;
    TaskEx::MessagePoster poster;
};

PosterSlot& Poster() {
    static PosterSlot slot;
    return slot;
}

}  // namespace

TaskEx::TaskEx() : m_progress(boost::make_shared<ProgressData>()) {}

TaskEx::~TaskEx() {
    Join();
}

bool TaskEx::Start() {
    if (m_started) {
        return false;
    }
    m_started = true;
    m_thread = std::thread([this] { Run(); });
    return true;
}

void TaskEx::Join() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void TaskEx::SetProgressData(const boost::shared_ptr<ProgressData>& progress) {
    if (progress) {
        m_progress = progress;
    }
}

void TaskEx::SetMessagePoster(MessagePoster poster) {
    PosterSlot& slot = Poster();
    std::lock_guard<std::mutex> lock(slot.mutex);
    slot.poster = std::move(poster);
}

void TaskEx::PostMessageToWindow(unsigned int message, std::uintptr_t wParam, std::intptr_t lParam) const {
    MessagePoster poster;
    {
        PosterSlot& slot = Poster();
        std::lock_guard<std::mutex> lock(slot.mutex);
        poster = slot.poster;
    }
    // Called outside the lock: a poster may take its own locks or post further messages.
    if (poster) {
        poster(m_window, message, wParam, lParam);
    }
}

}  // namespace Norvane
