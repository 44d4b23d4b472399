// Measures array recognition and loop optimisation on real and generated drawings.
//
// Usage: bench_arrays_optimize [--tol T1,T2,...] FILE.dxf [FILE.dxf ...]
//
// Every file goes through the program's import twice, without and with --optimize (at its default
// tolerance): standard shapes recognised, pieces the optimisation removed, duplicate loops, arrays found by
// kind with their copies, standard holes left outside any array, by shape. When FILE.json (the manifest
// gen_plate.py writes beside a plate) exists, the arrays it drew are printed next to what was found.
// Then, on the part imported up to chained loops:
//  - optimisation at each tolerance, on the polygon loops left after shape recognition:
//      task:  OptimizeToArc, OptimizeToLine, MergeCoLineNode with the one tolerance (LoopOptTask's order)
//      arcs:  OptimizeToArc and MergeCoLineNode only (every replacement within the tolerance)
//    pieces before and removed, the largest distance of the old outline from the new one, and the standard
//    shapes recognised afterwards (recognition runs again on the optimised loops). "first" runs the arcs
//    variant before any recognition and recognises once, afterwards.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>
#include <nlohmann/json.hpp>

#include "geomFeature/processor/ImportPipeline.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/loop/StdPatLoop.h"
#include "geomFeature/pattern/IArrayPattern.h"
#include "geomFeature/pattern/PatArcPattern.h"
#include "geomFeature/pattern/PatCirclePattern.h"
#include "geomFeature/pattern/PatGridPattern.h"
#include "geomFeature/pattern/PatLinePattern.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "geomFeature/processor/PatGrouper.h"
#include "io/DxfReader.h"

using namespace Norvane;

namespace {

double Seconds(const std::function<void()>& work) {
    const auto t0 = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// The import up to chained loops, without shape recognition (the part every measurement starts from).
Part Import(const PatternListPtr& patterns) {
    ImportOptions options;
    options.recognise = false;
    ImportReport report;
    return ImportPipeline::Run(patterns, options, report);
}

// A copy of a part of polygon and standard loops with every pattern cloned, so that each measurement starts
// from the same import.
Part CopyPart(const Part& part) {
    Part copy;
    copy.patterns = boost::make_shared<PatternList>();
    copy.loops = boost::make_shared<PatLoopList>();
    for (const IPatLoopPtr& loop : *part.loops) {
        auto poly = boost::make_shared<PolyPatLoop>();
        for (const PatLoopNodePtr& node : *loop->GetLoopNodes()) {
            const IPatternPtr clone = boost::dynamic_pointer_cast<IPattern>(node->GetPat()->Clone());
            clone->UpdateCache();
            copy.patterns->push_back(clone);
            if (loop->GetLoopType() == LOOP_STD) {
                copy.loops->push_back(
                    boost::make_shared<StdPatLoop>(boost::make_shared<PatLoopNode>(clone, 1)));
            } else {
                poly->AppendPattern(clone, node->FollowLoopDir());
            }
        }
        if (!poly->GetLoopNodes()->empty())
            copy.loops->push_back(poly);
    }
    LoopProcessor::UpdateCache(copy.loops);
    return copy;
}

// Shape recognition as the import runs it: closed loops oriented, then grouped.
void Recognise(const Part& part) {
    ImportPipeline::OrientClosedLoops(part.loops);
    PatGrouper::GroupPat(part.patterns, part.loops);
    LoopProcessor::UpdateCacheEx(part.loops);
}

int CountType(const PatLoopList& loops, tagLoopType type) {
    int n = 0;
    for (const IPatLoopPtr& loop : loops) n += loop->GetLoopType() == type ? 1 : 0;
    return n;
}

int Copies(const IPatternPtr& array) {
    if (auto a = boost::dynamic_pointer_cast<PatLinePattern>(array))
        return a->GetRepeatNum();
    if (auto a = boost::dynamic_pointer_cast<PatGridPattern>(array))
        return a->GetRowCount() * a->GetColumnCount();
    if (auto a = boost::dynamic_pointer_cast<PatArcPattern>(array))
        return a->GetRepeatNum();
    if (auto a = boost::dynamic_pointer_cast<PatCirclePattern>(array))
        return a->GetRepeatNum();
    return 0;
}

const char* KindName(tagPatternType type) {
    switch (type) {
        case PAT_GRID_ARRAY:
            return "grid";
        case PAT_LINE_ARRAY:
            return "row";
        case PAT_ARC_ARRAY:
            return "arc";
        case PAT_CIRCLE_ARRAY:
            return "circle";
        default:
            return "?";
    }
}

const char* ShapeName(int type) {
    switch (type) {
        case PAT_CIRCLE:
            return "circle";
        case PAT_ELLIPSE:
            return "ellipse";
        case PAT_OBROUND:
            return "obround";
        case PAT_RECT_HOLE:
            return "rect";
        case PAT_RC_HOLE:
            return "rrect";
        case PAT_SINGLE_D:
            return "singled";
        case PAT_DOUBLE_D:
            return "doubled";
        case PAT_TR_HOLE:
            return "triangle";
        case PAT_RAD_SLOT:
            return "radslot";
        default:
            return "?";
    }
}

// The import as the program runs it (duplicate loops removed, arrays recognised; optimisation at the
// program's default tolerance when asked): standard shapes recognised, pieces the optimisation removed,
// duplicate loops, arrays found by kind and the holes left outside them.
void ReportImport(const std::string& path, bool optimize) {
    const DxfReader::Result read = DxfReader::Read(path);
    ImportOptions options;
    options.removeDuplicates = true;
    options.arrays = true;
    options.optimize = optimize;
    ImportReport report;
    Part part;
    const double t = Seconds([&] { part = ImportPipeline::Run(read.patterns, options, report); });
    std::map<std::string, std::pair<int, int>> found;  // array kind -> (arrays, copies)
    std::map<int, std::pair<int, int>> byShape;        // shape type -> (absorbed, left)
    int absorbed = 0;
    for (const IPatternPtr& p : *part.patterns) {
        if (!p->IsArrayPat())
            continue;
        auto& entry = found[KindName(p->GetPatternType())];
        entry.first += 1;
        entry.second += Copies(p);
        absorbed += Copies(p);
        byShape[boost::dynamic_pointer_cast<IArrayPattern>(p)->GetControlPat()->GetPatternType()].first +=
            Copies(p);
    }
    const int left = CountType(*part.loops, LOOP_STD);
    for (const IPatLoopPtr& loop : *part.loops)
        if (loop->GetLoopType() == LOOP_STD)
            byShape[loop->GetPatByNodeIdx(0)->GetPatternType()].second += 1;
    std::printf("%s%s\n  import: %zu standard shapes recognised (%zu after optimising, %zu pieces removed), "
                "%zu duplicate loops, %d copies in arrays, %d holes left outside arrays, %.3f s\n",
                path.c_str(), optimize ? " --optimize" : "", report.shapesRecognised, report.optimizeRecognised,
                report.optimizeRemoved, report.duplicateLoops, absorbed, left, t);
    for (const auto& [kind, entry] : found)
        std::printf("    found %-7s %4d arrays %6d copies\n", kind.c_str(), entry.first, entry.second);
    for (const auto& [type, entry] : byShape)
        std::printf("    shape %-9s %6d in arrays %6d left\n", ShapeName(type), entry.first, entry.second);
    if (optimize)
        return;

    const std::string manifestPath = path.substr(0, path.rfind('.')) + ".json";
    std::ifstream in(manifestPath);
    if (!in)
        return;
    const nlohmann::json manifest = nlohmann::json::parse(in, nullptr, false);
    if (manifest.is_discarded() || !manifest.contains("array_groups"))
        return;
    std::map<std::string, std::pair<int, int>> drawn;
    for (const auto& [key, value] : manifest["array_groups"].items()) {
        auto& entry = drawn[key];
        entry.first += value["groups"].get<int>();
        entry.second += value["copies"].get<int>();
    }
    int drawnCopies = 0;
    for (const auto& [key, entry] : drawn) {
        std::printf("    drawn %-16s %4d groups %6d copies\n", key.c_str(), entry.first, entry.second);
        drawnCopies += entry.second;
    }
    std::printf("    drawn copies %d, absorbed %d\n", drawnCopies, absorbed);
}

// Sample points of an outline: every element's ends and seven points between.
std::vector<Point2D> Samples(const Geom2DList& outline) {
    std::vector<Point2D> points;
    for (const IGeom2DPtr& g : outline)
        for (int s = 0; s <= 8; ++s) points.push_back(g->GetPointAtPercent(s / 8.0));
    return points;
}

double Deviation(const std::vector<Point2D>& samples, const IPatLoopPtr& loop) {
    double worst = 0.0;
    const PatLoopNodeListPtr nodes = loop->GetLoopNodes();
    for (const Point2D& p : samples) {
        double nearest = 1e300;
        for (const PatLoopNodePtr& node : *nodes) nearest = std::min(nearest, node->GetPat()->DistanceTo(p));
        worst = std::max(worst, nearest);
    }
    return worst;
}

struct OptimisedPart {
    int piecesBefore = 0;
    int piecesAfter = 0;
    double deviation = 0.0;
    int standardBefore = 0;
    int standardAfter = 0;
    double seconds = 0.0;
};

using LoopOptimiser = std::function<void(const PolyPatLoopPtr&, double)>;

// Optimises every polygon loop of a freshly imported part (after shape recognition unless recogniseFirst
// is false), then recognises standard shapes again.
OptimisedPart Optimise(const Part& imported, double tol, const LoopOptimiser& optimise, bool recogniseFirst) {
    OptimisedPart result;
    Part part = CopyPart(imported);
    if (recogniseFirst)
        Recognise(part);
    result.standardBefore = CountType(*part.loops, LOOP_STD);
    LoopProcessor::UpdateCacheEx(part.loops);
    for (const IPatLoopPtr& loop : *part.loops) {
        const auto poly = boost::dynamic_pointer_cast<PolyPatLoop>(loop);
        if (!poly)
            continue;
        const Geom2DListPtr before = loop->GetCacheData()->GetLoopBaseGeom();
        const std::vector<Point2D> samples = Samples(*before);
        result.piecesBefore += static_cast<int>(poly->GetLoopNodes()->size());
        result.seconds += Seconds([&] { optimise(poly, tol); });
        result.piecesAfter += static_cast<int>(poly->GetLoopNodes()->size());
        result.deviation = std::max(result.deviation, Deviation(samples, loop));
    }
    // Recognition reads the pieces' own senses: orient as the import does, then group.
    part.patterns->clear();
    for (const IPatLoopPtr& loop : *part.loops) part.patterns->AddPatterns(loop->GetPatternList());
    Recognise(part);
    result.standardAfter = CountType(*part.loops, LOOP_STD);
    return result;
}

void ReportOptimisation(const Part& imported, const std::vector<double>& tolerances) {
    const LoopOptimiser task = [](const PolyPatLoopPtr& loop, double tol) {
        LoopProcessor::OptimizeToArc(loop, tol);
        LoopProcessor::OptimizeToLine(loop, tol);
        LoopProcessor::MergeCoLineNode(loop);
    };
    const LoopOptimiser arcs = [](const PolyPatLoopPtr& loop, double tol) {
        LoopProcessor::OptimizeToArc(loop, tol);
        LoopProcessor::MergeCoLineNode(loop);
    };
    std::printf(
        "  optimisation     pieces | task: removed  max dev  std | arcs: removed  max dev  std   s  |"
        " first: std\n");
    for (const double tol : tolerances) {
        const OptimisedPart t = Optimise(imported, tol, task, true);
        const OptimisedPart a = Optimise(imported, tol, arcs, true);
        const OptimisedPart f = Optimise(imported, tol, arcs, false);
        std::printf("    tol %-8g %9d | %13d %8.4f %4d | %13d %8.4f %4d %5.2f | %4d  (std before: %d)\n", tol,
                    t.piecesBefore, t.piecesBefore - t.piecesAfter, t.deviation, t.standardAfter,
                    a.piecesBefore - a.piecesAfter, a.deviation, a.standardAfter, a.seconds, f.standardAfter,
                    t.standardBefore);
    }
}

std::vector<double> ParseList(const std::string& text) {
    std::vector<double> values;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) values.push_back(std::stod(item));
    return values;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<double> tolerances = {0.001, 0.005, 0.01, 0.02, 0.05, 0.1};
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--tol" && i + 1 < argc) {
            tolerances = ParseList(argv[++i]);
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty()) {
        std::fprintf(stderr, "usage: bench_arrays_optimize [--tol T1,T2,...] FILE.dxf [FILE.dxf ...]\n");
        return 64;
    }
    for (const std::string& path : files) {
        const DxfReader::Result read = DxfReader::Read(path);
        if (!read.Ok()) {
            std::printf("%s: %s\n", path.c_str(), read.message.c_str());
            continue;
        }
        ReportImport(path, false);
        ReportImport(path, true);
        const Part imported = Import(read.patterns);
        ReportOptimisation(imported, tolerances);
    }
    return 0;
}
