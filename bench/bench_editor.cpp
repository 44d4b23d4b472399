// Times what a user of the geometry editor waits for on a large part, event by event (the editor's own work:
// the picture is drawn on a viewport that draws nothing): a mouse move over
// the selection action (the pattern under the cursor) and over a drawing tool (snapping), a click that
// selects, select-all with the property bar's summary, a move with everything selected (the grip search),
// deleting everything and undoing it (the selection pruned), moving a window's worth of patterns.
//
// Usage: bench_editor [N ...]   The part is N x N cells, each a square of four lines and a circle: 5 N^2
// patterns and 2 N^2 loops (default N = 100 and 142: 50,000 and about 100,000 patterns).
// GF_BENCH_DELETE_ALL=1 also times deleting everything and undoing it (slow: the loop upkeep of the delete
// command works pattern by pattern).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <boost/make_shared.hpp>

#include "geomFeature/draw/DrawAssistor.h"
#include "geomFeature/editor/EditScriptRunner.h"
#include "geomFeature/editor/GeometryEditor.h"
#include "geomFeature/host/appframe/CommandManager.h"
#include "geomFeature/host/viewkit/NullViewPort.h"
#include "geomFeature/host/viewkit/ViewTransform.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopBuilder.h"
#include "geomFeature/processor/LoopProcessor.h"

using namespace Norvane;

namespace {

// Milliseconds per repeat of the script.
double TimeScript(EditScriptRunner& runner, const std::string& script, int repeats) {
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < repeats; ++i) {
        if (runner.RunText(script) == 0) {
            std::fprintf(stderr, "bench_editor: %s\n", runner.GetErrorText().c_str());
            std::exit(1);
        }
    }
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count() / repeats;
}

void RunPart(int n) {
    auto patterns = boost::make_shared<PatternList>();
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const double x = 10.0 * i;
            const double y = 10.0 * j;
            const Point2D c[4] = {Point2D(x, y), Point2D(x + 6, y), Point2D(x + 6, y + 6), Point2D(x, y + 6)};
            for (int k = 0; k < 4; ++k) patterns->push_back(boost::make_shared<LinePattern>(c[k], c[(k + 1) % 4]));
            patterns->push_back(boost::make_shared<CirclePattern>(Point2D(x + 8, y + 8), 1.0));
        }
    }
    patterns->UpdateCache();
    const PatLoopListPtr loops = LoopBuilder::BuildPatLoops(patterns, 1e-4);
    LoopProcessor::UpdateCache(loops);
    loops->UpdateBoundaryLoop();

    // The whole part on a view 10,000 pixels wide (a large screen zoomed out): the 5-pixel pick distances
    // are a fraction of a cell.
    const double size = 10.0 * n;
    const auto view = boost::make_shared<NullViewPort>();
    view->SetDeviceSize(10000, 10000);
    view->ZoomToFit(Rect2D(-5, size + 5, -5, size + 5), 0.0);
    const auto editor = boost::make_shared<GeometryEditor>(view, boost::make_shared<DrawAssistor>(view));
    editor->SetPatternList(patterns);
    editor->SetPatLoopList(loops);
    CommandManager::GetInstance()->Clear();
    EditScriptRunner runner(editor);
    // In the middle of the part, between a square's right side and a circle: no snap point near.
    const std::string mid = std::to_string(size / 2 + 7) + " " + std::to_string(size / 2 + 3);

    std::printf("%d x %d cells: %zu patterns, %zu loops\n", n, n, patterns->size(), loops->size());
    TimeScript(runner, "action select", 1);
    const double hover = TimeScript(runner, "move " + mid, 50);
    const double click = TimeScript(runner, "click " + mid, 20);
    TimeScript(runner, "tool circle", 1);
    const double snap = TimeScript(runner, "move " + mid, 20);
    const double all = TimeScript(runner, "action select\nkey ctrl+a", 3);
    const double grips = TimeScript(runner, "move " + mid, 10);
    const bool whole = std::getenv("GF_BENCH_DELETE_ALL") != nullptr;
    const double erase = whole ? TimeScript(runner, "key delete", 1) : 0.0;
    const double undo = whole ? TimeScript(runner, "undo", 1) : 0.0;
    const double window =
        TimeScript(runner, "action select\ndrag -1 -1 101 101\naction move\nclick 0 0\nclick 1 1\nundo", 5);
    std::printf("  move over the selection action   %9.3f ms\n", hover);
    std::printf("  click that selects one pattern   %9.3f ms\n", click);
    std::printf("  move over a drawing tool (snap)  %9.3f ms\n", snap);
    std::printf("  select all (and the bar summary) %9.3f ms\n", all);
    std::printf("  move with everything selected    %9.3f ms\n", grips);
    if (whole) {
        std::printf("  delete everything                %9.3f ms\n", erase);
        std::printf("  undo it (selection pruned)       %9.3f ms\n", undo);
    }
    std::printf("  window of 100 cells, move, undo  %9.3f ms\n", window);
    editor->SetDummyAction();
    CommandManager::GetInstance()->Clear();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        RunPart(100);
        RunPart(142);
    }
    for (int i = 1; i < argc; ++i) {
        const int n = std::atoi(argv[i]);
        if (n < 1 || n > 1000) {
            std::fprintf(stderr, "usage: bench_editor [N ...]  (1 <= N <= 1000)\n");
            return 64;
        }
        RunPart(n);
    }
    return 0;
}
