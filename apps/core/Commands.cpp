#include "apps/core/Commands.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <unordered_map>

#include <boost/make_shared.hpp>

#include "apps/core/CliError.h"
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
#include "geomFeature/processor/ImportTolerance.h"
#include "geomFeature/processor/ProcessorTolerance.h"
#include "io/DxfReader.h"
#include "io/DxfWriter.h"

namespace Norvane {

namespace fs = std::filesystem;

namespace {

// Progress text of the save that ends an import.
constexpr int kResSavingPart = 12550;

// "1 piece", "2 pieces"; the plural form is given where adding "s" would be wrong.
std::string Plural(std::size_t n, const char* one, const char* many = nullptr) {
    return std::to_string(n) + " " + (n == 1 ? std::string(one) : many ? many : std::string(one) + "s");
}

void RequireInput(const std::string& path) {
    std::error_code ec;
    if (!fs::exists(path, ec)) throw CliError(kExitNoInput, path + ": no such file");
    if (fs::is_directory(path, ec)) throw CliError(kExitNoInput, path + ": is a folder, not a file");
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

// The clean-up settings of an import: the tolerant rules unless --exact, and a closing tolerance that
// follows the drawing's unit and size unless given. source says where the tolerance came from.
ImportOptions CleanupOptions(const ImportCommand& command, const DxfReader::Result& read, std::string& source) {
    ImportOptions options = command.clean;
    options.tolerant = !command.exact;
    source = command.joinTolGiven ? "given by --join-tol" : "the default";
    if (options.tolerant && !command.joinTolGiven) {
        double maxCoordinate = 0.0;
        if (read.patterns && !read.patterns->empty()) {
            const Rect2D box = read.patterns->GetRectBox();
            maxCoordinate = std::max({std::fabs(box.left), std::fabs(box.right), std::fabs(box.bottom),
                                      std::fabs(box.top)});
        }
        options.joinTol = DefaultJoinTolerance(read.scaleToMm, maxCoordinate);
        source = "default for a drawing in " + DxfReader::UnitName(read.unit);
    }
    return options;
}

}  // namespace

Part LoadPart(const std::string& path) {
    RequireInput(path);
    Part part;
    part.patterns = boost::make_shared<PatternList>();
    part.loops = boost::make_shared<PatLoopList>();
    const PartFileResult result = PartFile::Load(path, part.patterns, part.loops);
    if (!result.IsOk()) {
        const ExitCode code = result.status == tagPartFileStatus::CannotOpen  ? kExitNoInput
                              : result.status == tagPartFileStatus::ReadFailed ? kExitIoError
                                                                               : kExitBadData;
        throw CliError(code, path + ": " + result.message);
    }
    ImportPipeline::ComputeNesting(part);
    return part;
}

void ImportCommand::Run() const {
    RequireInput(input);
    OutputFile::CheckWritable(output, force);

    DxfReader::Options readOptions;
    readOptions.chordTol = chordTol;
    if (unit) {
        readOptions.unitOverride = DxfReader::ParseUnit(*unit);
        if (!readOptions.unitOverride) throw CliError(kExitUsage, "--unit: unknown unit '" + *unit + "'");
    }
    TerminalProgress progress(!quiet);
    progress.Update("reading " + input, 0.0);
    DxfReader::Result read = DxfReader::Read(input, readOptions);
    if (!read.Ok()) {
        progress.Done();
        throw CliError(read.error == DxfReader::ErrorKind::MissingFile ? kExitNoInput : kExitBadData,
                       input + ": " + read.message);
    }

    ImportReport report;
    // The module reports into ProgressData; the line shows the clean-up from 10 to 85 % and the save after it.
    const auto shower = [&progress](const boost::shared_ptr<ProgressData>& data, double from, double span) {
        return [&progress, data, from, span] {
            std::lock_guard<std::mutex> lock(data->GetMutex());
            const std::wstring& stage = data->GetSubTask();
            progress.Update(std::string(stage.begin(), stage.end()), from + span * data->GetPercentage() / 100.0);
        };
    };
    const auto cleaning = boost::make_shared<ProgressData>();
    std::string tolSource;
    const ImportOptions cleanup = CleanupOptions(*this, read, tolSource);
    Part part = ImportPipeline::Run(read.patterns, cleanup, report, cleaning, shower(cleaning, 0.1, 0.75));
    const auto savingData = boost::make_shared<ProgressData>();
    ProgressMeter saving(savingData, shower(savingData, 0.85, 0.15));
    saving.BeginStage(ResourceString::Load(kResSavingPart), 0.0, 100.0);
    OutputFile::Write(output, force, [&](const std::string& temporary) {
        const PartFileResult saved = PartFile::Save(temporary, part.patterns, part.loops, PartSaveHook(), &saving);
        if (!saved.IsOk()) throw CliError(kExitIoError, output + ": " + saved.message);
    });
    progress.Done();

    int skipped = 0;
    for (const auto& [type, count] : read.skipCount) skipped += count;
    const PartSummary summary = PartSummary::Of(part, cleanup.tolerant ? cleanup.joinTol : kOpenLoopTol);
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
        j["cleanup"] = {{"pieces_in", report.piecesIn},
                        {"merged", report.duplicatesMerged},
                        {"tiny_removed", report.tinyRemoved},
                        {"shapes_recognised", report.shapesRecognised},
                        {"rules", cleanup.tolerant ? "tolerant" : "exact"},
                        {"join_tol", cleanup.joinTol},
                        {"join_tol_source", tolSource}};
        j["warnings"] = read.warnings;
        std::cout << j.dump(2) << "\n";
    } else {
        std::cout << "imported " << input << " -> " << output << "\n";
        std::cout << "unit: " << DxfReader::UnitName(read.unit) << " (" << unitSource << ")\n";
        std::cout << "closing tolerance: " << cleanup.joinTol << " mm (" << tolSource << "), "
                  << (cleanup.tolerant ? "tolerant" : "exact") << " recognition\n";
        std::cout << "clean-up: " << Plural(report.piecesIn, "piece") << " read, "
                  << report.duplicatesMerged << " merged, " << report.tinyRemoved << " tiny removed, "
                  << Plural(report.shapesRecognised, "contour") << " of loose pieces recognised as standard shapes\n";
        std::cout << summary.ToText(tree);
    }
    if (skipped > 0) {
        std::string kinds;
        for (const auto& [type, count] : read.skipCount) kinds += (kinds.empty() ? "" : ", ") + type + " " +
                                                                  std::to_string(count);
        std::cerr << "geomfeature: warning: " << Plural(static_cast<std::size_t>(skipped), "entity", "entities")
                  << " skipped (" << kinds << ")\n";
    }
    for (const std::string& warning : read.warnings) std::cerr << "geomfeature: warning: " << warning << "\n";
}

void InfoCommand::Run() const {
    const Part part = LoadPart(input);
    const PartSummary summary = PartSummary::Of(part);
    if (json) {
        nlohmann::json j = summary.ToJson(tree);
        j["input"] = input;
        std::cout << j.dump(2) << "\n";
    } else {
        std::cout << input << "\n" << summary.ToText(tree);
    }
}

void RenderCommand::Run() const {
    if (width <= 0 || height <= 0 || width > 20000 || height > 20000)
        throw CliError(kExitUsage, "--width and --height must lie between 1 and 20000 pixels");
    const CairoViewPort::Format format = CairoViewPort::FormatFromPath(output);
    if (format == CairoViewPort::Format::FromExtension)
        throw CliError(kExitUsage, output + ": the picture must end in .png, .svg or .pdf");
    const Part part = LoadPart(input);

    CairoViewPort::Options options;
    options.format = format;
    options.background = dark ? 0x202020ul : 0xFFFFFFul;
    // The drawers take their colours from the display options; pick the set made for this background.
    NVOptionInfo::GetInstance()->SetDisplayParam(DisplayParam::ForBackground(options.background));
    Rect2D world = part.patterns->empty() ? Rect2D(0, 1, 0, 1) : part.patterns->GetRectBox();
    if (kerf) world.Inflate(*kerf);  // room for the grown paths

    OutputFile::Write(output, force, [&](const std::string& temporary) {
        try {
            auto view = boost::make_shared<CairoViewPort>(temporary, width, height, world, options);
            LoopDrawer loops(view);
            loops.DrawPatLoopList(part.loops, Matrix2D());
            loops.FlagOpenLoops(part.loops);
            if (kerf) DrawKerfPaths(view, input, *kerf);
            if (snapPoints) SnapPtDrawer(view).DrawPatListCtrlPt(part.patterns);
            view->Finish();
        } catch (const ViewPortError& e) {
            throw CliError(kExitCantCreate, output + ": " + e.what());
        }
    });
    std::cout << "rendered " << input << " -> " << output << " (" << width << " x " << height << ")\n";
}

void ExportCommand::Run() const {
    const Part part = LoadPart(input);
    const auto layers = LayersByPattern(part);
    DxfWriter::Options options;
    options.layerOf = [&layers](const IPatternPtr& pattern) -> std::wstring {
        const auto it = layers.find(pattern->GetID());
        return it == layers.end() ? L"OTHER" : it->second;
    };
    int entities = 0;
    OutputFile::Write(output, force, [&](const std::string& temporary) {
        const DxfWriter::Result written = DxfWriter::WriteFile(*part.patterns, temporary, options);
        if (!written.Ok()) throw CliError(kExitIoError, output + ": " + written.message);
        entities = written.entityCount;
    });
    std::cout << "exported " << input << " -> " << output << " (" << Plural(static_cast<std::size_t>(entities), "entity", "entities") << ")\n";
}

}  // namespace Norvane
