#pragma once

#include <exception>

#include <pybind11/pybind11.h>
#include <boost/shared_ptr.hpp>

#include "geomFeature/host/appframe/ProgressMeter.h"

namespace Norvane {

class ProgressData;

// Carries the module's progress to a Python callback, callback(fraction, stage) with fraction in [0, 1];
// a callback that answers False (or raises) asks the work to stop. The work runs without the GIL; the
// notification takes the GIL only for the call. Construct and destroy with the GIL held.
class PyProgress {
public:
    explicit PyProgress(pybind11::object callback);
    ~PyProgress();
    PyProgress(const PyProgress&) = delete;
    PyProgress& operator=(const PyProgress&) = delete;

    const boost::shared_ptr<ProgressData>& Data() const { return m_data; }
    // A notification mapping the ProgressData's percentage onto [from, from + span] of the whole.
    ProgressMeter::Notify Notify(double from, double span);
    // Reports a step of the caller's own (reading a file); answers false once a stop was asked.
    bool Report(double fraction, const std::wstring& stage);
    bool CancelAsked() const;
    // With the GIL held, after the work: raises what the callback raised, if it did.
    void RethrowCallbackError();

private:
    void Call(double fraction, const std::wstring& stage);

    pybind11::object m_callback;
    boost::shared_ptr<ProgressData> m_data;
    std::exception_ptr m_error;
};

}  // namespace Norvane
