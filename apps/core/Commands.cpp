#include "apps/core/Commands.h"

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

DxfReader::Result ReadDrawing(const std::string& input, double chordTol,
                              const std::optional<std::string>& unit) {
    RequireInput(input);
    DxfReader::Options readOptions;
    readOptions.chordTol = chordTol;
    if (unit) {
        readOptions.unitOverride = DxfReader::ParseUnit(*unit);
        if (!readOptions.unitOverride) throw CliError(kExitUsage, "--unit: unknown unit '" + *unit + "'");
    }
    DxfReader::Result read = DxfReader::Read(input, readOptions);
    if (!read.Ok()) {
        throw CliError(read.error == DxfReader::ErrorKind::MissingFile ? kExitNoInput : kExitBadData,
                       input + ": " + read.message);
    }
    return read;
}

void ImportCommand::Run() const {
    RequireInput(input);
    OutputFile::CheckWritable(output, force);

    TerminalProgress progress(!quiet);
    progress.Update("reading " + input, 0.0);
    DxfReader::Result read;
    try {
        read = ReadDrawing(input, chordTol, unit);
    } catch (const CliError&) {
        progress.Done();
        throw;
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
    Part part = ImportPipeline::Run(read.patterns, clean, report, cleaning, shower(cleaning, 0.1, 0.75));
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
    const PartSummary summary = PartSummary::Of(part);
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
                        {"shapes_recognised", report.shapesRecognised}};
        j["warnings"] = read.warnings;
        std::cout << j.dump(2) << "\n";
    } else {
        std::cout << "imported " << input << " -> " << output << "\n";
        std::cout << "unit: " << DxfReader::UnitName(read.unit) << " (" << unitSource << ")\n";
        std::cout << "clean-up: " << Plural(report.piecesIn, "piece") << " read, "
                  << report.duplicatesMerged << " merged, " << report.tinyRemoved << " tiny removed, "
                  << Plural(report.shapesRecognised, "standard shape") << " recognised\n";
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
    CheckPicture(*this);
    DrawPart(LoadPart(input), *this);
    std::cout << "rendered " << input << " -> " << output << " (" << width << " x " << height << ")\n";
}

void CheckPicture(const RenderCommand& render) {
    if (render.width <= 0 || render.height <= 0 || render.width > 20000 || render.height > 20000)
        throw CliError(kExitUsage, "--width and --height must lie between 1 and 20000 pixels");
    if (CairoViewPort::FormatFromPath(render.output) == CairoViewPort::Format::FromExtension)
        throw CliError(kExitUsage, render.output + ": the picture must end in .png, .svg or .pdf");
}

void DrawPart(const Part& part, const RenderCommand& render) {
    CheckPicture(render);
    CairoViewPort::Options options;
    options.format = CairoViewPort::FormatFromPath(render.output);
    options.background = render.dark ? 0x202020ul : 0xFFFFFFul;
    // The drawers take their colours from the display options; pick the set made for this background.
    NVOptionInfo::GetInstance()->SetDisplayParam(DisplayParam::ForBackground(options.background));
    Rect2D world = part.patterns->empty() ? Rect2D(0, 1, 0, 1) : part.patterns->GetRectBox();
    if (render.kerf)
        world.Inflate(*render.kerf);  // room for the grown paths

    OutputFile::Write(render.output, render.force, [&](const std::string& temporary) {
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
            throw CliError(kExitCantCreate, render.output + ": " + e.what());
        }
    });
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
