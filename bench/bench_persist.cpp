// Times saving and loading a large part through the part file: 100k patterns and 10k loops.
//
//   bench_persist [file]      (default: a file in the temporary folder, removed afterwards)
//
// The part: 8000 closed 11-sided polygon loops (88k lines), 1500 circle loops, 500 array loops (each a
// line array of 4 copies and its circle seed) and 9500 loose lines. It is saved twice (the second save
// replaces the first, as saving an open part again does) and loaded back once; loading is checked against
// the saved counts.
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>

#include <boost/make_shared.hpp>

#include "geomFeature/loop/ArrayPatLoop.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/loop/StdPatLoop.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatLinePattern.h"
#include "geomFeature/pattern/PatRelationList.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/persist/PartFile.h"
#include "geomFeature/processor/LoopProcessor.h"

namespace {

using namespace Norvane;
using Clock = std::chrono::steady_clock;

constexpr int kPolyLoops = 8000;
constexpr int kPolySides = 11;
constexpr int kCircleLoops = 1500;
constexpr int kArrayLoops = 500;
constexpr int kLooseLines = 9500;
constexpr double kPi = 3.14159265358979323846;

// Wall time and this process's CPU time since construction; on a busy machine the two differ widely.
struct Stopwatch {
    Clock::time_point wall = Clock::now();
    std::clock_t cpu = std::clock();

    std::string Text() const {
        char text[64];
        std::snprintf(text, sizeof text, "%.3f s (cpu %.3f s)",
                      std::chrono::duration<double>(Clock::now() - wall).count(),
                      static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC);
        return text;
    }
};

// Cell i of a 200-wide grid of 10 x 10 cells.
Point2D Cell(int i) {
    return Point2D(10.0 * (i % 200), 10.0 * (i / 200));
}

void BuildPart(PatternList& patterns, PatLoopList& loops) {
    int cell = 0;
    for (int l = 0; l < kPolyLoops; ++l, ++cell) {
        const Point2D c = Cell(cell);
        auto loop = boost::make_shared<PolyPatLoop>();
        for (int k = 0; k < kPolySides; ++k) {
            const double a0 = 2 * kPi * k / kPolySides;
            const double a1 = 2 * kPi * (k + 1) / kPolySides;
            const auto side =
                boost::make_shared<LinePattern>(Point2D(c.x + 4 * std::cos(a0), c.y + 4 * std::sin(a0)),
                                                Point2D(c.x + 4 * std::cos(a1), c.y + 4 * std::sin(a1)));
            patterns.push_back(side);
            loop->AppendPattern(side, 1);
        }
        loops.push_back(loop);
    }
    for (int l = 0; l < kCircleLoops; ++l, ++cell) {
        const auto circle = boost::make_shared<CirclePattern>(Cell(cell), 3.0);
        patterns.push_back(circle);
        loops.push_back(boost::make_shared<StdPatLoop>(boost::make_shared<PatLoopNode>(circle, 1)));
    }
    for (int l = 0; l < kArrayLoops; ++l, cell += 4) {
        const auto seed = boost::make_shared<CirclePattern>(Cell(cell), 1.0);
        const auto array = boost::make_shared<PatLinePattern>(Cell(cell), 10.0, 0.0, 4);
        array->SetControlPat(seed);
        seed->SetBeControlPat(array);
        patterns.push_back(seed);
        patterns.push_back(array);
        loops.push_back(boost::make_shared<ArrayPatLoop>(boost::make_shared<PatLoopNode>(array, 1)));
    }
    for (int l = 0; l < kLooseLines; ++l) {
        const Point2D p = Cell(l);
        patterns.push_back(boost::make_shared<LinePattern>(Point2D(p.x + 5, p.y), Point2D(p.x + 5, p.y + 5)));
    }
    patterns.UpdateCache();
    LoopProcessor::UpdateCache(boost::shared_ptr<PatLoopList>(&loops, [](PatLoopList*) {}));
}

// Array/seed relations hold each other; cut them so the part is freed.
void ReleaseLinks(const PatternList& patterns) {
    for (const IPatternPtr& p : patterns) {
        p->GetPatRelationList()->Clear();
    }
}

}  // namespace

int main(int argc, char** argv) {
    const bool ownFile = argc < 2;
    const std::string path =
        ownFile
            ? (std::filesystem::temp_directory_path() / ("bench_persist_" + std::to_string(getpid()) + ".db"))
                  .string()
            : argv[1];

    auto patterns = boost::make_shared<PatternList>();
    auto loops = boost::make_shared<PatLoopList>();
    const Stopwatch build;
    BuildPart(*patterns, *loops);
    std::printf("part: %zu patterns, %zu loops (built in %s)\n", patterns->size(), loops->size(),
                build.Text().c_str());

    for (int round = 1; round <= 2; ++round) {
        const Stopwatch save;
        const PartFileResult saved = PartFile::Save(path, patterns, loops);
        if (!saved.IsOk()) {
            std::fprintf(stderr, "save failed: %s\n", saved.message.c_str());
            return 74;
        }
        std::printf("save %d: %s%s\n", round, save.Text().c_str(),
                    round == 1 ? " (new file)" : " (replaces the part)");
    }
    std::error_code ec;
    std::printf("file: %.1f MB\n", static_cast<double>(std::filesystem::file_size(path, ec)) / 1e6);

    auto loadedPatterns = boost::make_shared<PatternList>();
    auto loadedLoops = boost::make_shared<PatLoopList>();
    const Stopwatch load;
    const PartFileResult loaded = PartFile::Load(path, loadedPatterns, loadedLoops);
    const std::string loadTime = load.Text();
    if (!loaded.IsOk()) {
        std::fprintf(stderr, "load failed: %s\n", loaded.message.c_str());
        return 65;
    }
    std::printf("load: %s (%zu patterns, %zu loops)\n", loadTime.c_str(), loadedPatterns->size(),
                loadedLoops->size());
    const bool same = loadedPatterns->size() == patterns->size() && loadedLoops->size() == loops->size();

    ReleaseLinks(*patterns);
    ReleaseLinks(*loadedPatterns);
    if (ownFile) {
        std::filesystem::remove(path, ec);
    }
    if (!same) {
        std::fprintf(stderr, "loaded part differs from the saved one\n");
        return 65;
    }
    return 0;
}
