#include "python/PyPart.h"

#include <cmath>

#include <pybind11/stl.h>
#include <boost/make_shared.hpp>

#include "apps/core/CliError.h"
#include "apps/core/Commands.h"
#include "apps/core/OffsetCommand.h"
#include "apps/core/OutputFile.h"
#include "apps/core/PartSummary.h"
#include "geomFeature/host/appframe/ProgressData.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/persist/PartFile.h"
#include "geomFeature/processor/ImportPipeline.h"
#include "geomFeature/processor/KerfCompensator.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "geomFeature/processor/PatArrayBuilder.h"
#include "geomFeature/processor/PatGrouper.h"
#include "python/PyProgress.h"
#include "python/PySnapshot.h"

namespace py = pybind11;

namespace Norvane {

namespace {

// Progress text of a save, as the program shows it.
constexpr int kResSavingPart = 12550;
// Share of the whole import given to reading the file; the clean-up fills the rest.
constexpr double kReadShare = 0.1;

// The drawers read their colours from process-wide display options, so two renders must not overlap.
std::mutex g_renderMutex;

DxfInfo InfoOf(const DxfReader::Result& read) {
    DxfInfo info;
    info.unit = DxfReader::UnitName(read.unit);
    info.unitSource = read.unitSource == DxfReader::UnitSource::File       ? "file"
                      : read.unitSource == DxfReader::UnitSource::Override ? "override"
                                                                           : "assumed";
    info.scaleToMm = read.scaleToMm;
    info.read = read.readCount;
    info.skipped = read.skipCount;
    info.warnings = read.warnings;
    return info;
}

std::size_t CountArrays(const PatternList& patterns) {
    std::size_t n = 0;
    for (const IPatternPtr& pattern : patterns) n += pattern && pattern->IsArrayPat() ? 1 : 0;
    return n;
}

std::size_t CountStandardLoops(const PatLoopList& loops) {
    std::size_t n = 0;
    for (const IPatLoopPtr& loop : loops) n += loop->GetLoopType() == LOOP_STD ? 1 : 0;
    return n;
}

}  // namespace

PyPart::Lock::Lock(PyPart& part) : m_part(part) {
    if (part.m_owner.load() == std::this_thread::get_id()) {
        throw BusyError("the part is busy with another operation (called from its own progress callback?)");
    }
    py::gil_scoped_release release;
    part.m_mutex.lock();
    part.m_owner = std::this_thread::get_id();
}

PyPart::Lock::~Lock() {
    m_part.m_owner = std::thread::id();
    m_part.m_mutex.unlock();
}

std::shared_ptr<PyPart> PyPart::ReadDxf(const std::filesystem::path& file, double chordTol,
                                        const std::optional<std::string>& unit) {
    const std::string path = file.string();
    auto result = std::make_shared<PyPart>();
    py::gil_scoped_release release;
    const DxfReader::Result read = ReadDrawing(path, DrawingOptions(chordTol, unit));
    result->m_dxf = InfoOf(read);
    result->m_part.patterns = read.patterns;
    result->m_part.loops = boost::make_shared<PatLoopList>();
    return result;
}

std::shared_ptr<PyPart> PyPart::ImportDxf(const std::filesystem::path& file, const ImportOptions& options,
                                          double chordTol, const std::optional<std::string>& unit,
                                          py::object progress) {
    const std::string path = file.string();
    PyProgress meter(std::move(progress));
    auto result = std::make_shared<PyPart>();
    ImportReport report;
    {
        py::gil_scoped_release release;
        std::wstring reading = L"Reading " + std::wstring(path.begin(), path.end());
        if (meter.Report(0.0, reading)) {
            const DxfReader::Result read = ReadDrawing(path, DrawingOptions(chordTol, unit));
            result->m_dxf = InfoOf(read);
            if (meter.Report(kReadShare, reading)) {
                result->m_part = ImportPipeline::Run(read.patterns, options, report, meter.Data(),
                                                     meter.Notify(kReadShare, 1.0 - kReadShare));
            }
        }
    }
    meter.RethrowCallbackError();
    if (meter.CancelAsked() || report.cancelled)
        throw CancelledError("import of " + path + " cancelled");
    result->m_report = report;
    return result;
}

std::shared_ptr<PyPart> PyPart::Open(const std::filesystem::path& file) {
    const std::string path = file.string();
    py::gil_scoped_release release;
    auto result = std::make_shared<PyPart>();
    result->m_part = LoadPart(path);
    return result;
}

ImportReport PyPart::Clean(const ImportOptions& options) {
    Lock lock(*this);
    py::gil_scoped_release release;
    ImportReport report;
    m_part = ImportPipeline::Run(m_part.patterns, options, report);
    m_report = report;
    return report;
}

void PyPart::Save(const std::filesystem::path& file, bool overwrite, py::object progress) {
    const std::string path = file.string();
    PyProgress meter(std::move(progress));
    Lock lock(*this);
    {
        py::gil_scoped_release release;
        ProgressMeter saving(meter.Data(), meter.Notify(0.0, 1.0));
        saving.BeginStage(ResourceString::Load(kResSavingPart), 0.0, 100.0);
        // A stop asked at the first report is honoured before anything is written; later ones roll the
        // save back inside the database, and the temporary file goes.
        if (!meter.CancelAsked()) {
            OutputFile out(path, overwrite, {});
            out.Write([&](const std::string& temporary) {
                const PartFileResult saved =
                    PartFile::Save(temporary, m_part.patterns, m_part.loops, PartSaveHook(), &saving);
                if (saved.status == tagPartFileStatus::Interrupted)
                    throw CancelledError("save of " + path + " cancelled");
                if (!saved.IsOk())
                    throw CliError(kExitIoError, path + ": " + saved.message);
            });
        }
    }
    meter.RethrowCallbackError();
    if (meter.CancelAsked())
        throw CancelledError("save of " + path + " cancelled");
}

void PyPart::Render(const std::filesystem::path& file, int width, int height, bool snap, bool dark,
                    bool overwrite) {
    const std::string path = file.string();
    Lock lock(*this);
    RenderCommand render;
    render.output = path;
    render.width = width;
    render.height = height;
    render.snapPoints = snap;
    render.dark = dark;
    render.force = overwrite;
    py::gil_scoped_release release;
    std::lock_guard<std::mutex> drawing(g_renderMutex);
    CheckPicture(render);
    OutputFile out(path, overwrite, {});
    DrawPart(m_part, render, out);
}

int PyPart::RecogniseShapes() {
    Lock lock(*this);
    py::gil_scoped_release release;
    const std::size_t before = CountStandardLoops(*m_part.loops);
    PatGrouper::GroupPat(m_part.patterns, m_part.loops);
    ImportPipeline::ComputeNesting(m_part);
    return static_cast<int>(CountStandardLoops(*m_part.loops) - before);
}

int PyPart::RecogniseArrays() {
    Lock lock(*this);
    py::gil_scoped_release release;
    const std::size_t before = CountArrays(*m_part.patterns);
    PatArrayBuilder::GridPat(m_part.patterns, m_part.loops);
    ImportPipeline::ComputeNesting(m_part);
    return static_cast<int>(CountArrays(*m_part.patterns) - before);
}

void PyPart::OffsetLoop(std::size_t index, double distance, bool grow) {
    Lock lock(*this);
    if (index >= m_part.loops->size()) {
        throw py::index_error("loop #" + std::to_string(index) + ": the part has " +
                              std::to_string(m_part.loops->size()) + " loops");
    }
    LoopOffsetReport report;
    {
        py::gil_scoped_release release;
        const IPatLoopPtr loop = (*m_part.loops)[index];
        if (LoopProcessor::OffsetPolyLoop(m_part.patterns, loop, grow ? 0 : 1, distance, report)) {
            ImportPipeline::ComputeNesting(m_part);
            return;
        }
    }
    throw OffsetError("loop #" + std::to_string(index) + " cannot be offset by " + std::to_string(distance) +
                          ": " + OffsetFailureText(report.failure, distance),
                      OffsetFailureName(report.failure));
}

py::list PyPart::CompensateKerf(double kerf) {
    Lock lock(*this);
    KerfReport report;
    {
        py::gil_scoped_release release;
        if (!(kerf > 0.0) || !std::isfinite(kerf))
            throw CliError(kExitUsage, "kerf must be a positive number");
        KerfCompensator::Compensate(m_part.patterns, m_part.loops, kerf, report);
        ImportPipeline::ComputeNesting(m_part);
    }
    py::list out;
    for (const KerfWarning& warning : KerfWarnings(report)) {
        py::dict w;
        w["kind"] = warning.kind;
        w["loop"] = warning.loop;
        w["at"] = py::make_tuple(warning.at.x, warning.at.y);
        w["text"] = warning.text;
        out.append(w);
    }
    return out;
}

py::list PyPart::Patterns() {
    Lock lock(*this);
    return py::cast(PatternsOf(m_part));
}

py::list PyPart::Loops() {
    Lock lock(*this);
    return py::cast(LoopsOf(m_part));
}

py::object PyPart::Summary(bool tree) {
    Lock lock(*this);
    // The same object as `geomfeature info --json`, warnings included.
    const PartSummary summary = PartSummary::Of(m_part);
    nlohmann::json j = summary.ToJson(tree);
    j["warnings"] = summary.outerContourWarning.empty() ? nlohmann::json::array()
                                                        : nlohmann::json::array({summary.outerContourWarning});
    const std::string text = j.dump();
    return py::module_::import("json").attr("loads")(text);
}

py::object PyPart::Box() {
    Lock lock(*this);
    if (!m_part.patterns || m_part.patterns->empty())
        return py::none();
    const Rect2D r = m_part.patterns->GetRectBox();
    return py::make_tuple(r.left, r.bottom, r.right, r.top);
}

std::optional<ImportReport> PyPart::Report() {
    Lock lock(*this);
    return m_report;
}

std::optional<DxfInfo> PyPart::Dxf() {
    Lock lock(*this);
    return m_dxf;
}

}  // namespace Norvane
