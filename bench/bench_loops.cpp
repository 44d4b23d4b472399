// Times the import pipeline stage by stage on generated plates: loose lines and arcs in, merged pieces,
// chained loops, recognised standard shapes and the nesting tree out.
//
// Usage: bench_loops PLATE.txt [PLATE.txt ...]
// A plate file holds one piece per line: "L x1 y1 x2 y2" or "A cx cy r start sweep" (radians, signed
// sweep); '#' starts a comment. bench/run_bench_loops.sh makes plates of about 1k, 10k and 100k pieces.
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <boost/make_shared.hpp>

#include "apps/core/ImportPipeline.h"
#include "bench/PlateText.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopBuilder.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "geomFeature/processor/LoopTopItemList.h"
#include "geomFeature/processor/PatGrouper.h"
#include "geomFeature/processor/PatProcessor.h"

using namespace Norvane;

namespace {

// Pieces closer than this are chained (the generator's gaps stay below 1e-5).
constexpr double kJoinTol = 0.0001;
// Pieces whose box fits in this square are dropped as junk.
constexpr double kTinySize = 0.001;

double Time(const std::function<void()>& stage) {
    const auto t0 = std::chrono::steady_clock::now();
    stage();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

int Depth(const LoopTopItemListPtr& level) {
    int deepest = 0;
    for (const LoopTopItemPtr& item : *level) deepest = std::max(deepest, 1 + Depth(item->GetSubItemList()));
    return deepest;
}

void RunPlate(const std::string& path) {
    PatternListPtr patterns;
    const double tRead = Time([&] {
        patterns = bench::ReadPlate(path);
        if (patterns) patterns->UpdateCache();
    });
    if (!patterns) return;
    const std::size_t pieces = patterns->size();

    std::vector<DataID> removed;
    const double tMerge = Time([&] { PatProcessor::MergePattern(patterns, kJoinTol, removed); });
    const double tTiny = Time([&] { PatProcessor::RemoveTinyPatterns(patterns, kTinySize); });
    PatLoopListPtr loops;
    const double tBuild = Time([&] {
        loops = LoopBuilder::BuildPatLoops(patterns, kJoinTol);
        LoopProcessor::UpdateCache(loops);
    });
    const std::size_t builtLoops = loops->size();
    const double tGroup = Time([&] {
        // As the import does: closed loops clockwise, every piece along its loop, then recognition.
        ImportPipeline::OrientClosedLoops(loops);
        PatGrouper::GroupPat(patterns, loops);
        LoopProcessor::UpdateCacheEx(loops);
    });
    LoopTopItemListPtr tree;
    const double tTop = Time([&] {
        tree = LoopProcessor::CalcLoopTopStruct(loops);
        loops->UpdateBoundaryLoop();
    });

    std::size_t open = 0;
    std::size_t standard = 0;
    for (const IPatLoopPtr& loop : *loops) {
        if (loop->IsOpenPath(kJoinTol)) ++open;
        if (loop->GetLoopType() == LOOP_STD) ++standard;
    }
    std::printf("%s: %zu pieces, %zu merged away, %zu loops built, %zu after grouping "
                "(%zu standard, %zu open), nesting depth %d\n",
                path.c_str(), pieces, removed.size(), builtLoops, loops->size(), standard, open, Depth(tree));
    std::printf("  read+cache %9.3f s | merge %9.3f s | tiny %7.3f s | build %9.3f s | group %7.3f s | "
                "nesting %9.3f s\n",
                tRead, tMerge, tTiny, tBuild, tGroup, tTop);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_loops PLATE.txt [PLATE.txt ...]\n");
        return 64;
    }
    for (int i = 1; i < argc; ++i) RunPlate(argv[i]);
    return 0;
}
