// Times the polygon loop offset on every closed loop of generated plates, against Clipper's round-joined
// offset of the same loops chorded into polygons, in the same run.
//
// Usage: bench_offset [--distance D] [--chord E] [--repeat N] PLATE.txt|PART.dxf ...
// The plates are read as bench/gen_plate.py writes them (made with --dup-frac 0 --overlap-frac 0, as
// run_bench_offset.sh does) and chained into loops and nested by quick stand-ins for the module's loop
// building and nesting (see ChainLoops and KerfJobs); no shape recognition, so every closed contour stays a
// loop of lines and arcs. A DXF part is read and imported by the program's own code, also without
// recognition, and nested by the module. As a cutter's
// kerf compensation does, outer contours and islands (even depth in the nesting tree) grow by D and holes
// (odd depth) shrink by D. Clipper gets each loop chorded to within E and joins corners with arcs of the
// same chord error. Times are CPU times of this process (the machine is shared: wall times are noise),
// the best of N repeats; the ratio is Clipper's time over ours.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/processor/ImportPipeline.h"
#include "bench/PlateText.h"
#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "geomFeature/processor/LoopTopItem.h"
#include "geomFeature/processor/LoopTopItemList.h"
#include "geomFeature/processor/PolyLoopOffsetter.h"
#include "io/DxfReader.h"
#include "tests/support/ClipperOracle.h"

using namespace Norvane;

namespace {

// Pieces whose ends are closer than this are chained (the import's default).
constexpr double kJoinTol = 1e-4;

struct Settings {
    double distance = 0.1;
    double chord = 0.001;
    int repeat = 3;
};

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// The best CPU time of repeat runs; prepare (untimed) runs before each.
double Best(int repeat, const std::function<void()>& prepare, const std::function<void()>& run) {
    double best = 1e300;
    for (int k = 0; k < repeat; ++k) {
        prepare();
        const double t0 = CpuSeconds();
        run();
        best = std::min(best, CpuSeconds() - t0);
    }
    return best;
}

// The loop's outline in travel order (copies, reversed where a node runs its pattern backwards).
Geom2DList TravelGeom(IPatLoop& loop) {
    Geom2DList chain;
    for (const PatLoopNodePtr& node : *loop.GetLoopNodes()) {
        for (const IGeom2DPtr& g : *node->GetPat()->GetCacheData()->GetBaseGeom()) {
            IGeom2DPtr copy = g->Clone();
            if (node->FollowLoopDir() == 0)
                copy->Reverse();
            chain.push_back(copy);
        }
    }
    return chain;
}

// Chains the loose pieces into loops by a grid of their end points: a stand-in for the module's loop
// building, whose search is quadratic today and takes far too long on 100k pieces. Each chain starts at an
// unused piece and follows the nearest unused piece end within kJoinTol until it comes back to its start;
// chains that do not close are dropped (they are never offset). The plate must have no duplicated or
// overlapping pieces (run_bench_offset.sh makes it so): those the import's merge would have removed.
PatLoopListPtr ChainLoops(const PatternList& patterns) {
    constexpr double kCell = 10.0 * kJoinTol;
    const auto key = [](const Point2D& p, long dx, long dy) {
        return std::make_pair(static_cast<long>(std::floor(p.x / kCell)) + dx,
                              static_cast<long>(std::floor(p.y / kCell)) + dy);
    };
    std::map<std::pair<long, long>, std::vector<std::size_t>> ends;  // cell -> 2 * piece + (end ? 1 : 0)
    for (std::size_t i = 0; i < patterns.size(); ++i) {
        ends[key(patterns[i]->GetStartPoint(), 0, 0)].push_back(2 * i);
        ends[key(patterns[i]->GetEndPoint(), 0, 0)].push_back(2 * i + 1);
    }
    std::vector<char> used(patterns.size(), 0);
    const auto endPoint = [&](std::size_t e) {
        return e % 2 == 0 ? patterns[e / 2]->GetStartPoint() : patterns[e / 2]->GetEndPoint();
    };
    auto loops = boost::make_shared<PatLoopList>();
    for (std::size_t first = 0; first < patterns.size(); ++first) {
        if (used[first])
            continue;
        used[first] = 1;
        auto loop = boost::make_shared<PolyPatLoop>();
        loop->AppendPattern(patterns[first], 1);
        const Point2D start = patterns[first]->GetStartPoint();
        Point2D at = patterns[first]->GetEndPoint();
        while (at.DistanceTo(start) > kJoinTol) {
            std::size_t best = 0;
            double bestDist = kJoinTol;
            bool found = false;
            for (long dx = -1; dx <= 1; ++dx) {
                for (long dy = -1; dy <= 1; ++dy) {
                    const auto cell = ends.find(key(at, dx, dy));
                    if (cell == ends.end())
                        continue;
                    for (const std::size_t e : cell->second) {
                        const double d = endPoint(e).DistanceTo(at);
                        if (!used[e / 2] && d < bestDist) {
                            bestDist = d;
                            best = e;
                            found = true;
                        }
                    }
                }
            }
            if (!found)
                break;
            used[best / 2] = 1;
            // Entered at the end found: from its start when that was the start, else backwards.
            const int follow = best % 2 == 0 ? 1 : 0;
            loop->AppendPattern(patterns[best / 2], follow);
            at = endPoint(best ^ 1);
        }
        if (loop->IsOpenPath(kJoinTol) == 0)
            loops->push_back(loop);
    }
    return loops;
}

// Signed area of a closed outline in travel order: the polygon of its ends plus each arc's segment.
double SignedArea(const Geom2DList& chain) {
    double area = 0.0;
    for (const IGeom2DPtr& g : chain) {
        const Point2D a = g->GetStartPoint();
        const Point2D b = g->GetEndPoint();
        area += 0.5 * (a.x * b.y - b.x * a.y);
        if (const auto arc = boost::dynamic_pointer_cast<Arc2D>(g)) {
            const double r = arc->GetRadius();
            area += 0.5 * r * r * (arc->GetSweepAngle() - std::sin(arc->GetSweepAngle()));
        }
    }
    return area;
}

struct Job {
    PolyPatLoopPtr loop;
    int side;  // 0 grows (outer contours, islands), 1 shrinks (holes)
};

// Outer contours and islands grow, holes shrink: a loop inside an odd number of others is a hole. Nesting
// is read from the loops' boxes alone (a box strictly inside another's), a stand-in for the module's
// nesting tree, which is quadratic in polygon tests today; a hole in the box of a cut-out but outside it
// is taken for an island. That changes which way a few loops go, for us and Clipper alike.
std::vector<Job> KerfJobs(const PatLoopList& loops) {
    std::vector<Rect2D> boxes;
    for (const IPatLoopPtr& loop : loops) boxes.push_back(loop->GetCacheData()->GetLoopRect());
    std::vector<std::size_t> order(loops.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    // By left edge, so that the boxes that can hold box i all come before it.
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return boxes[a].left < boxes[b].left; });
    std::vector<Job> jobs;
    for (std::size_t k = 0; k < order.size(); ++k) {
        const Rect2D& inner = boxes[order[k]];
        int depth = 0;
        for (std::size_t m = 0; m < k; ++m) {
            const Rect2D& outer = boxes[order[m]];
            if (outer.left < inner.left && outer.right > inner.right && outer.bottom < inner.bottom &&
                outer.top > inner.top) {
                ++depth;
            }
        }
        jobs.push_back(Job{boost::dynamic_pointer_cast<PolyPatLoop>(loops[order[k]]), depth % 2});
    }
    return jobs;
}

// Jobs from the nesting tree: depth 0 and every even depth grow, odd depths (holes) shrink.
void CollectJobs(const LoopTopItemListPtr& level, int depth, std::vector<Job>& jobs) {
    for (const LoopTopItemPtr& item : *level) {
        auto poly = boost::dynamic_pointer_cast<PolyPatLoop>(item->GetPatLoop());
        if (poly && poly->IsOpenPath(kJoinTol) == 0)
            jobs.push_back(Job{poly, depth % 2});
        CollectJobs(item->GetSubItemList(), depth + 1, jobs);
    }
}

const char* FailureName(LoopOffsetFailure failure) {
    switch (failure) {
        case LoopOffsetFailure::None:
            return "none";
        case LoopOffsetFailure::NoLoop:
            return "no loop";
        case LoopOffsetFailure::BadDistance:
            return "bad distance";
        case LoopOffsetFailure::OpenLoop:
            return "open";
        case LoopOffsetFailure::UnsupportedPattern:
            return "unsupported pattern";
        case LoopOffsetFailure::Degenerate:
            return "degenerate";
        case LoopOffsetFailure::Vanishes:
            return "vanishes";
        case LoopOffsetFailure::SplitsApart:
            return "splits apart";
        case LoopOffsetFailure::NoValidLoop:
            return "no valid loop";
        case LoopOffsetFailure::ShapeRefuses:
            return "shape refuses";
    }
    return "?";
}

void RunPlate(const std::string& path, const Settings& settings) {
    const bool dxf =
        path.size() > 4 && (path.substr(path.size() - 4) == ".dxf" || path.substr(path.size() - 4) == ".DXF");
    PatternListPtr patterns;
    if (dxf) {
        const DxfReader::Result read = DxfReader::Read(path);
        if (!read.Ok()) {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), read.message.c_str());
            return;
        }
        patterns = read.patterns;
    } else {
        patterns = bench::ReadPlate(path);
    }
    if (!patterns)
        return;
    const std::size_t pieces = patterns->size();
    patterns->UpdateCache();
    const double t0 = CpuSeconds();
    std::vector<Job> jobs;
    if (dxf) {
        // A real part: the program's own import (merge, chaining, nesting), which is quick at this size.
        ImportOptions options;
        options.recognise = false;
        ImportReport report;
        const Part part = ImportPipeline::Run(patterns, options, report);
        CollectJobs(part.tree, 0, jobs);
    } else {
        const PatLoopListPtr loops = ChainLoops(*patterns);
        LoopProcessor::UpdateCache(loops);
        jobs = KerfJobs(*loops);
    }
    std::printf("%s: loading: chaining and nesting %.3f s\n", path.c_str(), CpuSeconds() - t0);

    std::size_t elementsIn = 0;
    double maxCoord = 1.0;
    std::vector<Geom2DList> outlines;
    for (const Job& job : jobs) {
        elementsIn += job.loop->GetLoopNodes()->size();
        outlines.push_back(TravelGeom(*job.loop));
        const Rect2D box = job.loop->GetCacheData()->GetLoopRect();
        maxCoord = std::max(
            {maxCoord, std::fabs(box.left), std::fabs(box.right), std::fabs(box.bottom), std::fabs(box.top)});
    }
    // Clipper is fastest below 2^30 in scaled coordinates.
    const testutil::ClipperFrame frame{1e9 / (maxCoord + 10.0 * settings.distance)};

    // Ours: each timed run offsets fresh clones (new nodes on the same patterns), so every run does the
    // same work; the engine alone, and the whole LoopProcessor operation (clamp and caches included).
    std::vector<PolyPatLoopPtr> clones(jobs.size());
    const auto cloneAll = [&] {
        for (std::size_t i = 0; i < jobs.size(); ++i) {
            clones[i] = boost::dynamic_pointer_cast<PolyPatLoop>(jobs[i].loop->Clone());
        }
    };
    PatIDPairList pairs;
    std::map<LoopOffsetFailure, int> failures;
    std::vector<int> ourPieces(jobs.size(), 0);        // 0 nothing left, 1 one loop, 2 several pieces
    std::map<LoopOffsetFailure, double> widestFailed;  // the largest box side (the lesser of its two) failed
    std::size_t elementsOut = 0;
    const double tEngine = Best(settings.repeat, cloneAll, [&] {
        for (std::size_t i = 0; i < jobs.size(); ++i) {
            PolyLoopOffsetter::Offset(clones[i], jobs[i].side, settings.distance, pairs);
        }
    });
    const double tOffset = Best(settings.repeat, cloneAll, [&] {
        failures.clear();
        elementsOut = 0;
        for (std::size_t i = 0; i < jobs.size(); ++i) {
            LoopOffsetReport report;
            LoopProcessor::OffsetPolyLoop(clones[i], jobs[i].side, settings.distance, pairs, report);
            ++failures[report.failure];
            ourPieces[i] = report.failure == LoopOffsetFailure::None          ? 1
                           : report.failure == LoopOffsetFailure::SplitsApart ? 2
                                                                              : 0;
            if (report.failure != LoopOffsetFailure::None) {
                const Rect2D box = jobs[i].loop->GetCacheData()->GetLoopRect();
                double& widest = widestFailed[report.failure];
                widest = std::max(widest, std::min(box.right - box.left, box.top - box.bottom));
            }
            elementsOut += clones[i]->GetLoopNodes()->size();
        }
    });

    // A piece of area below 4 chord errors times the loop's perimeter is a sliver the chords may make or
    // lose; outcomes are compared above that.
    std::vector<double> sliver(jobs.size());
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        double perimeter = 0.0;
        for (const IGeom2DPtr& g : outlines[i]) perimeter += g->GetLength();
        sliver[i] = 4.0 * settings.chord * perimeter;
        if (ourPieces[i] == 1 && std::fabs(SignedArea(TravelGeom(*clones[i]))) <= sliver[i])
            ourPieces[i] = 0;
    }

    // Clipper on the chorded loops, each offset by itself as ours are.
    std::vector<ClipperLib::Path> chorded(jobs.size());
    std::size_t vertices = 0;
    const double tChord = Best(
        settings.repeat, [] {},
        [&] {
            vertices = 0;
            for (std::size_t i = 0; i < jobs.size(); ++i) {
                chorded[i] = testutil::Chorded(outlines[i], settings.chord, frame);
                vertices += chorded[i].size();
            }
        });
    std::size_t clipperVertices = 0;
    std::size_t disagree = 0;  // loops where Clipper leaves another number of pieces (0, 1, several)
    const double tClipper = Best(
        settings.repeat, [] {},
        [&] {
            clipperVertices = 0;
            disagree = 0;
            for (std::size_t i = 0; i < jobs.size(); ++i) {
                const double delta = jobs[i].side == 0 ? settings.distance : -settings.distance;
                const ClipperLib::Paths out =
                    testutil::ClipperOffsetRound({chorded[i]}, delta, settings.chord, frame);
                int pieces = 0;
                for (const ClipperLib::Path& p : out) {
                    clipperVertices += p.size();
                    pieces += ClipperLib::Area(p) / (frame.scale * frame.scale) > sliver[i] ? 1 : 0;
                }
                disagree += std::min(pieces, 2) != ourPieces[i] ? 1 : 0;
            }
        });

    std::printf(
        "%s: %zu pieces -> %zu closed loops (%zu lines and arcs), offset by %g (holes in, the rest "
        "out)\n",
        path.c_str(), pieces, jobs.size(), elementsIn, settings.distance);
    std::printf("  ours:    engine %8.4f s | with clamp and caches %8.4f s | %zu lines and arcs out\n",
                tEngine, tOffset, elementsOut);
    std::printf("  failed:");
    for (const auto& [failure, count] : failures) {
        if (failure != LoopOffsetFailure::None) {
            std::printf(" %s %d (boxes no wider than %g)", FailureName(failure), count,
                        widestFailed[failure]);
        }
    }
    std::printf("%s\n", failures.size() <= 1 ? " none" : "");
    std::printf(
        "  clipper: chording %8.4f s (chord error %g, %zu vertices) | offset %8.4f s | %zu vertices out\n",
        tChord, settings.chord, vertices, tClipper, clipperVertices);
    std::printf("  outcomes (nothing, one loop, several pieces) differ from Clipper's on %zu loops\n",
                disagree);
    std::printf("  ratio clipper offset / our engine %.2f, / ours with clamp and caches %.2f\n",
                tClipper / tEngine, tClipper / tOffset);
}

}  // namespace

int main(int argc, char** argv) {
    Settings settings;
    std::vector<std::string> plates;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--distance" || arg == "--chord" || arg == "--repeat") && i + 1 < argc) {
            const double value = std::atof(argv[++i]);
            if (arg == "--distance")
                settings.distance = value;
            if (arg == "--chord")
                settings.chord = value;
            if (arg == "--repeat")
                settings.repeat = std::max(1, static_cast<int>(value));
        } else if (!arg.empty() && arg[0] == '-') {
            std::fprintf(stderr,
                         "usage: bench_offset [--distance D] [--chord E] [--repeat N] PLATE.txt ...\n");
            return 64;
        } else {
            plates.push_back(arg);
        }
    }
    if (plates.empty() || !(settings.distance > 0.0) || !(settings.chord > 0.0)) {
        std::fprintf(stderr, "usage: bench_offset [--distance D] [--chord E] [--repeat N] PLATE.txt ...\n");
        return 64;
    }
    for (const std::string& plate : plates) RunPlate(plate, settings);
    return 0;
}
