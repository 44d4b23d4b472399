#include "apps/core/OffsetCommand.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <unordered_set>

#include "apps/core/CliError.h"
#include "apps/core/Commands.h"
#include "apps/core/OutputFile.h"
#include "apps/core/PartSummary.h"
#include "geomFeature/draw/LoopDrawer.h"
#include "geomFeature/loop/LoopTolerance.h"
#include "geomFeature/persist/PartFile.h"
#include "geomFeature/processor/KerfCompensator.h"

namespace Norvane {

namespace {

// Open contours named one by one in their summary warning before the rest are only counted.
constexpr std::size_t kOpenNamed = 5;

std::string Num(double value) {
    if (std::fabs(value) < 1e-9)
        value = 0.0;  // rounding noise prints as 0
    char text[64];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

std::string PointText(const Point2D& p) {
    return "(" + Num(p.x) + ", " + Num(p.y) + ")";
}

const char* RoleName(KerfLoopRole role) {
    switch (role) {
        case KerfLoopRole::Outer:
            return "outer contour";
        case KerfLoopRole::Hole:
            return "hole";
        case KerfLoopRole::Island:
            return "island";
        case KerfLoopRole::Open:
            break;
    }
    return "open contour";
}

// "hole #12 (circle) at (10, 20)"
std::string LoopName(const KerfLoopOutcome& o, std::size_t index) {
    std::string what;
    switch (o.kind) {
        case LOOP_STD:
            what = PatternTypeName(o.shape);
            break;
        case LOOP_ARRAY:
            what = "array of " + std::to_string(o.elements) + " " + PatternTypeName(o.shape) +
                   (o.elements == 1 ? "" : "s");
            break;
        default:
            what = std::to_string(o.elements) + (o.elements == 1 ? " line or arc" : " lines and arcs");
    }
    return std::string(RoleName(o.role)) + " #" + std::to_string(index) + " (" + what + ") at " +
           PointText(o.box.GetCenterPt());
}

std::string Why(LoopOffsetFailure failure, const std::string& d) {
    switch (failure) {
        case LoopOffsetFailure::Vanishes:
            return "nothing is left when it shrinks by " + d + " (it is nowhere wider than the kerf)";
        case LoopOffsetFailure::SplitsApart:
            return "it falls apart into separate pieces when it shrinks by " + d +
                   " (a neck narrower than the kerf)";
        case LoopOffsetFailure::ShapeRefuses:
            return "the shape cannot be offset by " + d + " (a dimension would vanish)";
        case LoopOffsetFailure::UnsupportedPattern:
            return "it holds pieces other than lines and arcs";
        case LoopOffsetFailure::OpenLoop:
            return "it does not close";
        case LoopOffsetFailure::Degenerate:
            return "it encloses no area";
        case LoopOffsetFailure::None:
        case LoopOffsetFailure::NoLoop:
        case LoopOffsetFailure::BadDistance:
        case LoopOffsetFailure::NoValidLoop:
            break;
    }
    return "no valid offset contour could be formed (the contour may cross itself)";
}

const char* FailureName(LoopOffsetFailure failure) {
    switch (failure) {
        case LoopOffsetFailure::None:
            return "none";
        case LoopOffsetFailure::NoLoop:
            return "no-loop";
        case LoopOffsetFailure::BadDistance:
            return "bad-distance";
        case LoopOffsetFailure::OpenLoop:
            return "open";
        case LoopOffsetFailure::UnsupportedPattern:
            return "unsupported-pattern";
        case LoopOffsetFailure::Degenerate:
            return "degenerate";
        case LoopOffsetFailure::Vanishes:
            return "vanishes";
        case LoopOffsetFailure::SplitsApart:
            return "splits-apart";
        case LoopOffsetFailure::NoValidLoop:
            return "no-valid-loop";
        case LoopOffsetFailure::ShapeRefuses:
            return "shape-refuses";
    }
    return "unknown";
}

Part Compensated(const std::string& input, double kerf, KerfReport& report) {
    if (!(kerf > 0.0) || !std::isfinite(kerf)) {
        throw CliError(kExitUsage, "--kerf must be a positive number, got " + Num(kerf));
    }
    Part part = LoadPart(input);
    KerfCompensator::Compensate(part.patterns, part.loops, kerf, report);
    return part;
}

}  // namespace

std::vector<KerfWarning> KerfWarnings(const KerfReport& report) {
    std::vector<KerfWarning> warnings;
    const std::string d = Num(report.kerf / 2.0);
    std::vector<std::size_t> open;
    for (std::size_t i = 0; i < report.loops.size(); ++i) {
        const KerfLoopOutcome& o = report.loops[i];
        const long long index = static_cast<long long>(i);
        if (o.role == KerfLoopRole::Open) {
            open.push_back(i);
            continue;
        }
        if (!o.Offset()) {
            warnings.push_back({"left as drawn", index, o.box.GetCenterPt(),
                                LoopName(o, i) + ": left as drawn, not compensated: " + Why(o.failure, d)});
            continue;
        }
        if (o.voidsFilled > 0) {
            warnings.push_back({"gaps closed", index, o.box.GetCenterPt(),
                                LoopName(o, i) + ": the grown contour closes over " +
                                    std::to_string(o.voidsFilled) + (o.voidsFilled == 1 ? " gap" : " gaps") +
                                    " narrower than the kerf, which will not be cut"});
        }
        if (o.miss > 0.0) {
            warnings.push_back({"out of reach", index, o.missAt,
                                LoopName(o, i) + ": the cut misses the drawn contour by up to " +
                                    Num(o.miss) + " near " + PointText(o.missAt) +
                                    ": a part narrower than the kerf or a corner sharper than 60 degrees"});
        }
    }
    std::unordered_map<DataID, std::size_t> indexOf;
    for (std::size_t i = 0; i < report.loops.size(); ++i) indexOf[report.loops[i].loopID] = i;
    for (const KerfCrossing& c : report.crossings) {
        const std::size_t a = indexOf[c.first];
        const std::size_t b = indexOf[c.second];
        warnings.push_back({"paths cross", static_cast<long long>(a), c.at,
                            "the cuts of " + LoopName(report.loops[a], a) + " and " +
                                LoopName(report.loops[b], b) + " meet near " + PointText(c.at) +
                                ": the scrap between them is narrower than the kerf"});
    }
    if (!open.empty()) {
        std::string text = std::to_string(open.size()) +
                           (open.size() == 1 ? " open contour is" : " open contours are") +
                           " left as drawn (only a closed contour has sides to compensate):";
        for (std::size_t k = 0; k < open.size() && k < kOpenNamed; ++k) {
            text += (k == 0 ? " #" : ", #") + std::to_string(open[k]) + " at " +
                    PointText(report.loops[open[k]].box.GetCenterPt());
        }
        if (open.size() > kOpenNamed) {
            text += " and " + std::to_string(open.size() - kOpenNamed) + " more";
        }
        warnings.push_back({"open", static_cast<long long>(open.front()),
                            report.loops[open.front()].box.GetCenterPt(), text});
    }
    return warnings;
}

nlohmann::json KerfReportJson(const KerfReport& report) {
    nlohmann::json roles = nlohmann::json::object();
    for (KerfLoopRole role : {KerfLoopRole::Outer, KerfLoopRole::Hole, KerfLoopRole::Island}) {
        std::size_t total = 0;
        std::size_t offset = 0;
        for (const KerfLoopOutcome& o : report.loops) {
            total += o.role == role ? 1 : 0;
            offset += o.role == role && o.Offset() ? 1 : 0;
        }
        roles[role == KerfLoopRole::Outer  ? "outer"
              : role == KerfLoopRole::Hole ? "hole"
                                           : "island"] = {{"total", total}, {"offset", offset}};
    }
    std::size_t engine = 0;
    std::size_t own = 0;
    std::size_t outline = 0;
    nlohmann::json kept = nlohmann::json::array();
    for (std::size_t i = 0; i < report.loops.size(); ++i) {
        const KerfLoopOutcome& o = report.loops[i];
        engine += o.method == KerfMethod::Engine ? 1 : 0;
        own += o.method == KerfMethod::OwnShape ? 1 : 0;
        outline += o.method == KerfMethod::Outline ? 1 : 0;
        if (o.role != KerfLoopRole::Open && !o.Offset()) {
            kept.push_back({{"loop", i}, {"reason", FailureName(o.failure)}});
        }
    }
    nlohmann::json warnings = nlohmann::json::array();
    for (const KerfWarning& w : KerfWarnings(report)) {
        warnings.push_back(
            {{"kind", w.kind}, {"loop", w.loop}, {"at", {w.at.x, w.at.y}}, {"message", w.text}});
    }
    return {{"kerf", report.kerf},
            {"offset_by", report.kerf / 2.0},
            {"loops",
             {{"total", report.loops.size()},
              {"offset", report.CountOffset()},
              {"left_as_drawn", report.CountKept()},
              {"open", report.CountOpen()},
              {"by_role", roles},
              {"by_method", {{"polygon", engine}, {"own_shape", own}, {"outline", outline}}},
              {"left_as_drawn_loops", kept}}},
            {"crossings", report.crossings.size()},
            {"warnings", warnings}};
}

void OffsetCommand::Run() const {
    if (!(kerf > 0.0) || !std::isfinite(kerf)) {
        throw CliError(kExitUsage, "--kerf must be a positive number, got " + Num(kerf));
    }
    // The output is checked before any work: never the input itself, a folder that takes files.
    std::optional<OutputFile> out;
    if (output) {
        RequireInput(input);
        out.emplace(*output, force, std::vector<std::string>{input});
    }
    KerfReport report;
    const Part part = Compensated(input, kerf, report);
    if (out) {
        out->Write([&](const std::string& temporary) {
            const PartFileResult saved = PartFile::Save(temporary, part.patterns, part.loops);
            if (!saved.IsOk())
                throw CliError(kExitIoError, *output + ": " + saved.message);
        });
    }

    const std::vector<KerfWarning> warnings = KerfWarnings(report);
    if (json) {
        nlohmann::json j = KerfReportJson(report);
        j["input"] = input;
        j["output"] = output ? nlohmann::json(*output) : nlohmann::json(nullptr);
        std::cout << j.dump(2) << "\n";
    } else {
        std::cout << "kerf " << Num(kerf) << ": " << input
                  << (output ? " -> " + *output : std::string(" (nothing written: no -o)")) << "\n";
        for (KerfLoopRole role : {KerfLoopRole::Outer, KerfLoopRole::Hole, KerfLoopRole::Island}) {
            std::size_t total = 0;
            std::size_t offset = 0;
            for (const KerfLoopOutcome& o : report.loops) {
                total += o.role == role ? 1 : 0;
                offset += o.role == role && o.Offset() ? 1 : 0;
            }
            const char* moved = role == KerfLoopRole::Hole ? " shrunk by " : " grown by ";
            std::cout << "  " << RoleName(role) << "s: " << offset << " of " << total << moved
                      << Num(kerf / 2.0) << "\n";
        }
        std::cout << "  open contours left as drawn: " << report.CountOpen() << "\n";
        std::cout << "  warnings: " << warnings.size() << "\n";
    }
    for (const KerfWarning& w : warnings) std::cerr << "geomfeature: warning: " << w.text << "\n";
}

void DrawKerfPaths(const GlViewPortPtr& view, const std::string& input, double kerf) {
    KerfReport report;
    const Part part = Compensated(input, kerf, report);
    std::unordered_set<DataID> kept;
    for (const KerfLoopOutcome& o : report.loops) {
        if (o.role != KerfLoopRole::Open && !o.Offset())
            kept.insert(o.loopID);
    }
    const LoopDrawer drawer(view);
    for (const IPatLoopPtr& loop : *part.loops) {
        if (loop->IsOpenPath(kLoopClosedTol) != 0)
            continue;  // drawn with the part already
        if (kept.count(loop->GetID()) != 0) {
            drawer.DrawActiveLoop(loop, Matrix2D());
        } else {
            drawer.DrawSelectedLoop(loop, Matrix2D());
        }
    }
    for (const KerfWarning& w : KerfWarnings(report)) std::cerr << "geomfeature: warning: " << w.text << "\n";
}

const char* OffsetFailureName(LoopOffsetFailure failure) {
    return FailureName(failure);
}

std::string OffsetFailureText(LoopOffsetFailure failure, double distance) {
    return Why(failure, Num(distance));
}

}  // namespace Norvane
