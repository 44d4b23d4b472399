#include "apps/core/Commands.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <unordered_map>

#include <boost/make_shared.hpp>

#include "apps/core/CliError.h"
#include "apps/core/JoinHint.h"
#include "apps/core/OffsetCommand.h"
#include "apps/core/OutputFile.h"
#include "apps/core/PartSummary.h"
#include "apps/core/TerminalProgress.h"
#include "geomFeature/draw/LoopDrawer.h"
#include "geomFeature/draw/SnapPtDrawer.h"
#include "geomFeature/host/appframe/ProgressData.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/host/optkit/DisplayParam.h"
#include "geomFeature/host/optkit/NVOptionInfo.h"
#include "geomFeature/host/viewkit/CairoViewPort.h"
#include "geomFeature/host/viewkit/ViewPortError.h"
#include "geomFeature/persist/PartFile.h"
#include "geomFeature/processor/ProcessorTolerance.h"
#include "io/DxfReader.h"
#include "io/DxfWriter.h"

namespace Norvane {

namespace fs = std::filesystem;

namespace {

// Refused entities listed one per line before the rest is only counted (--json lists them all).
constexpr std::size_t kRefusalsShown = 20;

// Shares of the import's progress line: reading, clean-up, then saving.
constexpr double kReadShare = 0.25;
constexpr double kCleanShare = 0.70;

// Progress text of the save that ends an import.
constexpr int kResSavingPart = 12550;

// "1 piece", "2 pieces"; the plural form is given where adding "s" would be wrong.
std::string Plural(std::size_t n, const char* one, const char* many = nullptr) {
    return std::to_string(n) + " " + (n == 1 ? std::string(one) : many ? many : std::string(one) + "s");
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}


ExitCode CodeOf(DxfReader::ErrorKind kind) {
    switch (kind) {
        case DxfReader::ErrorKind::MissingFile:
            return kExitNoInput;
        case DxfReader::ErrorKind::ReadFailed:
            return kExitIoError;
        default:
            return kExitBadData;
    }
}

ExitCode CodeOf(tagPartFileStatus status) {
    switch (status) {
        case tagPartFileStatus::CannotOpen:
            return kExitNoInput;
        case tagPartFileStatus::ReadFailed:
        case tagPartFileStatus::WriteFailed:
        case tagPartFileStatus::Interrupted:
            return kExitIoError;
        default:
            return kExitBadData;
    }
}

std::string RefusalText(const DxfReader::Refusal& r) {
    return DxfReader::Describe(r.type, r.handle, r.line) + " refused: " + r.reason +
           (r.count > 1 ? " (" + std::to_string(r.count) + " placements)" : "");
}

void Warn(const std::string& text) {
    std::cerr << "geomfeature: warning: " << text << "\n";
}

// Layer names of the exported DXF: what each contour is in the part.
std::unordered_map<DataID, std::wstring> LayersByPattern(const Part& part) {
    std::unordered_map<DataID, std::wstring> layers;
    struct Walker {
        std::unordered_map<DataID, std::wstring>& layers;
        void Walk(const LoopTopItemListPtr& level, int closedDepth) {
            for (const LoopTopItemPtr& item : *level) {
                const IPatLoopPtr& loop = item->GetPatLoop();
                const bool open = loop->IsOpenPath(kOpenLoopTol) != 0;
                const wchar_t* name = open ? L"OPEN" : closedDepth == 0 ? L"OUTER"
                                                   : closedDepth % 2 ? L"HOLE"
                                                                     : L"ISLAND";
                const PatternListPtr patterns = loop->GetPatternList();
                for (const IPatternPtr& pattern : *patterns) {
                    if (pattern) layers[pattern->GetID()] = name;
                }
                Walk(item->GetSubItemList(), open ? closedDepth : closedDepth + 1);
            }
        }
    } walker{layers};
    if (part.tree) walker.Walk(part.tree, 0);
    return layers;
}

// --- Loop optimisation, duplicate loops and arrays in the import's summary --------------------------

// The options with --optimize applied: the tolerance is a distance in millimetres, the unit every drawing
// is scaled to when read.
ImportOptions WithOptimize(ImportOptions options, const std::string& tolerance) {
    if (tolerance.empty()) return options;
    char* end = nullptr;
    const double value = std::strtod(tolerance.c_str(), &end);
    if (end == tolerance.c_str() || *end != '\0' || !(value > 0.0) || !std::isfinite(value))
        throw CliError(kExitUsage, "--optimize: the tolerance must be a positive distance in mm, got '" +
                                       tolerance + "'");
    options.optimize = true;
    options.optimizeTol = value;
    return options;
}

nlohmann::json StagesJson(const ImportReport& report, const ImportOptions& options) {
    return {{"optimize", options.optimize ? nlohmann::json({{"tolerance", options.optimizeTol},
                                                            {"pieces_removed", report.optimizeRemoved},
                                                            {"shapes_recognised", report.optimizeRecognised}})
                                          : nlohmann::json(nullptr)},
            {"duplicate_loops_removed", report.duplicateLoops},
            {"arrays", {{"found", report.arrays}, {"copies", report.arrayCopies}}}};
}

std::string StagesText(const ImportReport& report, const ImportOptions& options) {
    std::string text;
    if (options.optimize) {
        char tol[32];
        std::snprintf(tol, sizeof tol, "%g", options.optimizeTol);
        text += "optimisation (within " + std::string(tol) + " mm): " +
                Plural(report.optimizeRemoved, "piece") + " removed, " +
                Plural(report.optimizeRecognised, "standard shape") + " recognised in the optimised loops\n";
    }
    if (report.duplicateLoops > 0) text += "duplicates: " + Plural(report.duplicateLoops, "loop") + " removed\n";
    return text;
}

}  // namespace

void RequireInput(const std::string& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status))
        throw CliError(kExitNoInput, path + ": no such file");
    if (fs::is_directory(status))
        throw CliError(kExitNoInput, path + ": is a folder, not a file");
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw CliError(kExitNoInput, path + ": cannot be opened (" + std::strerror(errno) + ")");
    ::close(fd);
}

ImportOptions ProgramImportOptions() {
    ImportOptions options;
    options.removeDuplicates = true;
    options.arrays = true;
    return options;
}

Part LoadPart(const std::string& path) {
    RequireInput(path);
    Part part;
    part.patterns = boost::make_shared<PatternList>();
    part.loops = boost::make_shared<PatLoopList>();
    const PartFileResult result = PartFile::Load(path, part.patterns, part.loops);
    if (!result.IsOk())
        throw CliError(CodeOf(result.status), path + ": " + result.message);
    ImportPipeline::ComputeNesting(part);
    return part;
}

DxfReader::Options DrawingOptions(double chordTol, const std::optional<std::string>& unit) {
    DxfReader::Options readOptions;
    readOptions.chordTol = chordTol;
    if (unit) {
        readOptions.unitOverride = DxfReader::ParseUnit(*unit);
        if (!readOptions.unitOverride)
            throw CliError(kExitUsage,
                           "--unit must be a unit such as mm, cm, m, in or ft, got '" + *unit + "'");
    }
    return readOptions;
}

DxfReader::Result ReadDrawing(const std::string& input, const DxfReader::Options& options) {
    RequireInput(input);
    DxfReader::Result read = DxfReader::Read(input, options);
    if (!read.Ok())
        throw CliError(CodeOf(read.error), input + ": " + read.message);
    return read;
}

void ImportCommand::Run() const {
    const ImportOptions clean = WithOptimize(this->clean, optimize);  // the member, --optimize applied
    DxfReader::Options readOptions = DrawingOptions(chordTol, unit);
    readOptions.maxPatterns = maxPieces;
    readOptions.salvage = salvage;
    RequireInput(input);
    OutputFile out(output, force, {input});

    TerminalProgress progress(!quiet);
    progress.Update("reading " + input, 0.0);
    readOptions.progress = [&progress](const std::string& stage, double f) {
        progress.Update(stage, kReadShare * f);
    };
    DxfReader::Result read = ReadDrawing(input, readOptions);

    ImportReport report;
    // The module reports into ProgressData, within each stage; the line shows the clean-up and the save
    // in their shares after the reading.
    const auto shower = [&progress](const boost::shared_ptr<ProgressData>& data, double from, double span) {
        return [&progress, data, from, span] {
            std::lock_guard<std::mutex> lock(data->GetMutex());
            const std::wstring& stage = data->GetSubTask();
            progress.Update(std::string(stage.begin(), stage.end()),
                            from + span * data->GetPercentage() / 100.0);
        };
    };
    const auto cleaning = boost::make_shared<ProgressData>();
    Part part =
        ImportPipeline::Run(read.patterns, clean, report, cleaning, shower(cleaning, kReadShare, kCleanShare));
    if (part.patterns->empty()) {
        // The same error as a drawing without geometry, whatever removed the last piece.
        throw CliError(
            kExitBadData,
            input + ": no geometry to import: " +
                (report.tinyRemoved > 0 ? "all " + Plural(report.tinyRemoved, "piece") +
                                              " left after merging fit in a square of " +
                                              Number(clean.tinySize) + " mm and were removed as tiny (--tiny)"
                                        : std::string("the clean-up removed every piece")));
    }
    const auto savingData = boost::make_shared<ProgressData>();
    ProgressMeter saving(savingData, shower(savingData, kReadShare + kCleanShare, 1.0 - kReadShare - kCleanShare));
    saving.BeginStage(ResourceString::Load(kResSavingPart), 0.0, 100.0);
    out.Write([&](const std::string& temporary) {
        const PartFileResult saved =
            PartFile::Save(temporary, part.patterns, part.loops, PartSaveHook(), &saving);
        if (!saved.IsOk())
            throw CliError(kExitIoError, output + ": " + saved.message);
    });
    progress.Done();

    int skipped = 0;
    for (const auto& [type, count] : read.skipCount) skipped += count;
    PartSummary summary = PartSummary::Of(part);
    JoinHint::Fill(part, clean.joinTol, summary);
    std::vector<std::string> warnings = read.warnings;
    if (!summary.outerContourWarning.empty())
        warnings.push_back(summary.outerContourWarning);
    const char* unitSource = read.unitSource == DxfReader::UnitSource::File       ? "from the file"
                             : read.unitSource == DxfReader::UnitSource::Override ? "as given by --unit"
                                                                                  : "assumed";
    if (json) {
        nlohmann::json j = summary.ToJson(tree);
        j["input"] = input;
        j["output"] = output;
        j["unit"] = {{"name", DxfReader::UnitName(read.unit)}, {"source", unitSource},
                     {"scale_to_mm", read.scaleToMm}};
        j["entities"] = {{"read", read.readCount}, {"skipped", read.skipCount}};
        nlohmann::json refused = nlohmann::json::array();
        for (const DxfReader::Refusal& r : read.refused) {
            refused.push_back({{"type", r.type},
                               {"handle", r.handle},
                               {"line", r.line},
                               {"reason", r.reason},
                               {"count", r.count}});
        }
        j["entities"]["refused"] = refused;
        j["salvaged"] = read.salvaged.empty() ? nlohmann::json(nullptr) : nlohmann::json(read.salvaged);
        j["cleanup"] = {{"pieces_in", report.piecesIn},
                        {"merged", report.duplicatesMerged},
                        {"tiny_removed", report.tinyRemoved},
                        {"shapes_recognised", report.shapesRecognised}};
        j["cleanup"].update(StagesJson(report, clean));
        j["warnings"] = warnings;
        std::cout << j.dump(2) << "\n";
    } else {
        std::cout << "imported " << input << " -> " << output << "\n";
        if (!read.salvaged.empty())
            std::cout << "salvaged: " << read.salvaged << "\n";
        std::cout << "unit: " << DxfReader::UnitName(read.unit) << " (" << unitSource << ")\n";
        std::cout << "clean-up: " << Plural(report.piecesIn, "piece") << " read, "
                  << report.duplicatesMerged << " merged, " << report.tinyRemoved << " tiny removed, "
                  << Plural(report.shapesRecognised, "standard shape") << " recognised\n";
        std::cout << StagesText(report, clean);
        std::cout << summary.ToText(tree);
    }
    for (std::size_t i = 0; i < read.refused.size() && i < kRefusalsShown; ++i)
        Warn(RefusalText(read.refused[i]));
    if (read.refused.size() > kRefusalsShown) {
        Warn("and " + Plural(read.refused.size() - kRefusalsShown, "more entity", "more entities") +
             " refused (--json lists them all)");
    }
    if (skipped > 0) {
        std::string kinds;
        for (const auto& [type, count] : read.skipCount) kinds += (kinds.empty() ? "" : ", ") + type + " " +
                                                                  std::to_string(count);
        Warn(Plural(static_cast<std::size_t>(skipped), "entity", "entities") + " skipped (" + kinds + ")");
    }
    for (const std::string& warning : warnings) Warn(warning);
}

void InfoCommand::Run() const {
    const Part part = LoadPart(input);
    const PartSummary summary = PartSummary::Of(part);
    if (json) {
        nlohmann::json j = summary.ToJson(tree);
        j["input"] = input;
        j["warnings"] = summary.outerContourWarning.empty()
                            ? nlohmann::json::array()
                            : nlohmann::json::array({summary.outerContourWarning});
        std::cout << j.dump(2) << "\n";
    } else {
        std::cout << input << "\n" << summary.ToText(tree);
    }
    if (!summary.outerContourWarning.empty())
        Warn(summary.outerContourWarning);
}

void RenderCommand::Run() const {
    CheckPicture(*this);
    RequireInput(input);
    OutputFile out(output, force, {input});
    DrawPart(LoadPart(input), *this, out);
    std::cout << "rendered " << input << " -> " << output << " (" << width << " x " << height << ")\n";
}

void CheckPicture(const RenderCommand& render) {
    if (render.width <= 0 || render.height <= 0 || render.width > kMaxPicturePixels ||
        render.height > kMaxPicturePixels)
        throw CliError(kExitUsage, "--width and --height must lie between 1 and " +
                                       std::to_string(kMaxPicturePixels) + " pixels, got " +
                                       std::to_string(render.width) + " x " + std::to_string(render.height));
    if (CairoViewPort::FormatFromPath(render.output) == CairoViewPort::Format::FromExtension)
        throw CliError(kExitUsage, render.output + ": the picture must end in .png, .svg or .pdf");
}

void DrawPart(const Part& part, const RenderCommand& render, OutputFile& out) {
    CheckPicture(render);
    CairoViewPort::Options options;
    options.format = CairoViewPort::FormatFromPath(render.output);
    options.background = render.dark ? 0x202020ul : 0xFFFFFFul;
    // The drawers take their colours from the display options; pick the set made for this background.
    NVOptionInfo::GetInstance()->SetDisplayParam(DisplayParam::ForBackground(options.background));
    Rect2D world = part.patterns->empty() ? Rect2D(0, 1, 0, 1) : part.patterns->GetRectBox();
    if (render.kerf)
        world.Inflate(*render.kerf);  // room for the grown paths

    out.Write([&](const std::string& temporary) {
        try {
            auto view =
                boost::make_shared<CairoViewPort>(temporary, render.width, render.height, world, options);
            LoopDrawer loops(view);
            loops.DrawPatLoopList(part.loops, Matrix2D());
            loops.FlagOpenLoops(part.loops);
            if (render.kerf)
                DrawKerfPaths(view, render.input, *render.kerf);
            if (render.snapPoints)
                SnapPtDrawer(view).DrawPatListCtrlPt(part.patterns);
            view->Finish();
        } catch (const ViewPortError& e) {
            // The file already exists and is writable: what fails now is the writing itself.
            throw CliError(kExitIoError, render.output + ": " + e.what());
        }
    });
}

void ExportCommand::Run() const {
    RequireInput(input);
    OutputFile out(output, force, {input});
    const Part part = LoadPart(input);
    const auto layers = LayersByPattern(part);
    DxfWriter::Options options;
    options.layerOf = [&layers](const IPatternPtr& pattern) -> std::wstring {
        const auto it = layers.find(pattern->GetID());
        return it == layers.end() ? L"OTHER" : it->second;
    };
    int entities = 0;
    out.Write([&](const std::string& temporary) {
        const DxfWriter::Result written = DxfWriter::WriteFile(*part.patterns, temporary, options);
        if (!written.Ok())
            throw CliError(kExitIoError, output + ": " + written.message);
        entities = written.entityCount;
    });
    std::cout << "exported " << input << " -> " << output << " ("
              << Plural(static_cast<std::size_t>(entities), "entity", "entities") << ")\n";
}

}  // namespace Norvane
