#include "python/PyProgress.h"

#include <mutex>

#include <boost/make_shared.hpp>

#include "geomFeature/host/appframe/ProgressData.h"

namespace py = pybind11;

namespace Norvane {

PyProgress::PyProgress(py::object callback)
    : m_callback(std::move(callback)), m_data(boost::make_shared<ProgressData>()) {}

PyProgress::~PyProgress() = default;

ProgressMeter::Notify PyProgress::Notify(double from, double span) {
    return [this, from, span] {
        double percentage = 0.0;
        std::wstring stage;
        {
            std::lock_guard<std::mutex> lock(m_data->GetMutex());
            percentage = m_data->GetPercentage();
            stage = m_data->GetSubTask();
        }
        Call(from + span * percentage / 100.0, stage);
    };
}

bool PyProgress::Report(double fraction, const std::wstring& stage) {
    Call(fraction, stage);
    return !CancelAsked();
}

bool PyProgress::CancelAsked() const {
    std::lock_guard<std::mutex> lock(m_data->GetMutex());
    return m_data->IsCancelled();
}

void PyProgress::Call(double fraction, const std::wstring& stage) {
    if (m_callback.is_none() || CancelAsked()) {
        return;
    }
    py::gil_scoped_acquire gil;
    bool stop = false;
    try {
        const py::object answer = m_callback(fraction, stage);
        stop = !answer.is_none() && !answer.cast<bool>();
    } catch (...) {
        m_error = std::current_exception();  // re-raised once the work has stopped
        stop = true;
    }
    if (stop) {
        std::lock_guard<std::mutex> lock(m_data->GetMutex());
        m_data->SetCancel(true);
    }
}

void PyProgress::RethrowCallbackError() {
    if (m_error) {
        std::exception_ptr error = m_error;
        m_error = nullptr;
        std::rethrow_exception(error);
    }
}

}  // namespace Norvane
