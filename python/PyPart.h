#pragma once

#include <atomic>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <pybind11/pybind11.h>

#include "geomFeature/processor/ImportOptions.h"
#include "geomFeature/processor/ImportReport.h"
#include "geomFeature/processor/Part.h"

namespace Norvane {

// Failures of the Python module that are not the program's (those are CliError); each becomes its own
// Python exception.
class CancelledError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class OffsetError : public std::runtime_error {
public:
    OffsetError(const std::string& message, std::string reason)
        : std::runtime_error(message), m_reason(std::move(reason)) {}
    const std::string& Reason() const { return m_reason; }

private:
    std::string m_reason;
};
class BusyError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the DXF reader said about the drawing a part came from.
struct DxfInfo {
    std::string unit;
    std::string unitSource;  // "file", "assumed", "override"
    double scaleToMm = 1.0;
    std::map<std::string, int> read;
    std::map<std::string, int> skipped;
    std::vector<std::string> warnings;
};

// The part object of the Python module: one part's geometry and what produced it. Every operation takes
// the part's lock, waiting for it without the GIL, and runs its long work without the GIL, so other Python
// threads go on meanwhile; a progress callback that reaches back into the same part gets BusyError.
class PyPart {
public:
    static std::shared_ptr<PyPart> ReadDxf(const std::filesystem::path& file, double chordTol,
                                           const std::optional<std::string>& unit);
    static std::shared_ptr<PyPart> ImportDxf(const std::filesystem::path& file, const ImportOptions& options,
                                             double chordTol, const std::optional<std::string>& unit,
                                             pybind11::object progress);
    static std::shared_ptr<PyPart> Open(const std::filesystem::path& file);

    // Runs the import sequence on the patterns (loops built afresh). Not cancellable: a stopped run would
    // leave a half-cleaned part; import_dxf, which makes a new part, is.
    ImportReport Clean(const ImportOptions& options);
    void Save(const std::filesystem::path& file, bool overwrite, pybind11::object progress);
    void Render(const std::filesystem::path& file, int width, int height, bool snap, bool dark,
                bool overwrite);
    int RecogniseShapes();
    int RecogniseArrays();
    void OffsetLoop(std::size_t index, double distance, bool grow);
    pybind11::list CompensateKerf(double kerf);

    pybind11::list Patterns();
    pybind11::list Loops();
    pybind11::object Summary(bool tree);
    pybind11::object Box();
    std::optional<ImportReport> Report();
    std::optional<DxfInfo> Dxf();

private:
    // Holds the part's lock; taken with the GIL held, waits without it.
    class Lock {
    public:
        explicit Lock(PyPart& part);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        PyPart& m_part;
    };

    Part m_part;
    std::optional<ImportReport> m_report;
    std::optional<DxfInfo> m_dxf;
    std::mutex m_mutex;
    std::atomic<std::thread::id> m_owner{};
};

}  // namespace Norvane
