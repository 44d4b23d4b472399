#include "geomFeature/host/appframe/ProgressMeter.h"

#include <algorithm>
#include <mutex>
#include <utility>

#include "geomFeature/host/appframe/ProgressData.h"

namespace Norvane {

ProgressMeter::ProgressMeter(boost::shared_ptr<ProgressData> data, Notify notify,
                             std::chrono::milliseconds interval)
    : m_data(std::move(data)), m_notify(std::move(notify)), m_interval(interval) {}

void ProgressMeter::BeginStage(const std::wstring& text, double from, double to) {
    m_text = text;
    m_from = from;
    m_to = to;
    Publish(from, false);
}

bool ProgressMeter::Tick(std::size_t done, std::size_t total) {
    const auto now = std::chrono::steady_clock::now();
    if (now - m_last < m_interval) {
        return !m_cancelled;
    }
    const double fraction =
        total == 0 ? 0.0 : std::min(1.0, static_cast<double>(done) / static_cast<double>(total));
    Publish(m_from + (m_to - m_from) * fraction, false);
    return !m_cancelled;
}

void ProgressMeter::Finish(const std::wstring& text) {
    m_text = text;
    Publish(100.0, true);
}

void ProgressMeter::Publish(double percentage, bool finished) {
    m_last = std::chrono::steady_clock::now();
    if (!m_data) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(m_data->GetMutex());
        m_data->SetPercentage(percentage);
        if (m_data->GetSubTask() != m_text) {
            m_data->SetSubTask(m_text);
        }
        if (finished) {
            m_data->SetFinished(true);
        }
        m_cancelled = m_cancelled || m_data->IsCancelled();
    }
    if (m_notify) {
        m_notify();
    }
}

}  // namespace Norvane
