// Times what the editor window does on a large part, headless (an offscreen Cairo image stands in for the
// screen): opening the part, drawing the whole part's picture (only what is visible, pieces under a pixel
// as dots) against drawing every pattern, the picture zoomed in, and a mouse move with a drawing tool
// active (snapping included) and over the selection (hover): the editor's work, the cached picture copied
// and the transient picture drawn over it, as the window repaints. The snapping of the window (through a
// spatial index) is compared with the module's own search over the whole part.
//
// Usage: bench_edit_window PART.dxf|PART.db [WIDTHxHEIGHT]   (default 1600x1000 pixels)
// e.g. a 100,000-piece plate: ../shared/bench/gen_plate.py --segments 100000 --seed 1 --out plate_100k
#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <boost/make_shared.hpp>

#include "apps/editwin/EditSession.h"
#include "apps/editwin/PartLayer.h"
#include "apps/editwin/ViewInput.h"
#include "geomFeature/draw/PatternDrawer.h"
#include "geomFeature/editor/GeometryEditor.h"
#include "geomFeature/host/viewkit/CairoViewPort.h"
#include "geomFeature/pattern/PatternList.h"

using namespace Norvane;

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Times {
    std::vector<double> ms;
    void Add(double t) { ms.push_back(t); }
    double Median() {
        std::sort(ms.begin(), ms.end());
        return ms.empty() ? 0.0 : ms[ms.size() / 2];
    }
    double Max() const { return ms.empty() ? 0.0 : *std::max_element(ms.begin(), ms.end()); }
};

// One repaint of the part's picture into the cache image, as the window does it.
double DrawPart(const CairoViewPortPtr& view, cairo_surface_t* cache, const PartLayer& layer,
                PartLayer::Stats* stats = nullptr) {
    const auto t0 = Clock::now();
    cairo_t* cr = cairo_create(cache);
    // As the window does: smoothing only while few outlines are drawn (the last drawing's count).
    static std::size_t lastDrawn = 0;
    cairo_set_antialias(cr, lastDrawn > PartLayer::kSmoothLimit ? CAIRO_ANTIALIAS_NONE : CAIRO_ANTIALIAS_DEFAULT);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    view->SetContext(cr);
    const PartLayer::Stats s = layer.Draw(view);
    view->SetContext(nullptr);
    cairo_destroy(cr);
    cairo_surface_flush(cache);
    if (stats != nullptr) *stats = s;
    lastDrawn = s.drawn;
    return Ms(t0);
}

// One mouse move as the window handles it: the editor's move (snap, hover), then the overlay repaint.
double MoveOnce(ViewInput& input, const GeometryEditorPtr& editor, const CairoViewPortPtr& view,
                cairo_surface_t* cache, cairo_surface_t* screen, double x, double y) {
    const auto t0 = Clock::now();
    input.Motion(x, y);
    cairo_t* cr = cairo_create(screen);
    cairo_set_source_surface(cr, cache, 0, 0);
    cairo_paint(cr);
    view->SetContext(cr);
    editor->DrawTransient();
    view->SetContext(nullptr);
    cairo_destroy(cr);
    cairo_surface_flush(screen);
    return Ms(t0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_edit_window PART.dxf|PART.db [WIDTHxHEIGHT]\n");
        return 64;
    }
    int width = 1600;
    int height = 1000;
    if (argc > 2 && std::sscanf(argv[2], "%dx%d", &width, &height) != 2) return 64;

    const auto view = boost::make_shared<CairoViewPort>(nullptr, ViewTransform(width, height));
    EditSession session(view);
    auto t0 = Clock::now();
    if (!session.Open(argv[1])) return 1;
    const double openMs = Ms(t0);
    const PatternListPtr patterns = session.GetPart().patterns;
    ViewInput input(session.GetEditor());
    input.Fit();
    std::printf("%s: %zu patterns, %zu loops; view %d x %d pixels\n", argv[1], patterns->size(),
                session.GetPart().loops->size(), width, height);
    std::printf("  open (read + import or load)           %10.1f ms\n", openMs);

    cairo_surface_t* cache = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_surface_t* screen = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    PartLayer layer;
    t0 = Clock::now();
    layer.SetPatterns(patterns);
    std::printf("  index the part's boxes                 %10.1f ms\n", Ms(t0));

    Times fit;
    PartLayer::Stats stats;
    for (int i = 0; i < 5; ++i) fit.Add(DrawPart(view, cache, layer, &stats));
    std::printf("  redraw, whole part shown               %10.1f ms  (%zu drawn, %zu as dots)\n", fit.Median(),
                stats.drawn, stats.dots);
    {
        // Every pattern through the module's drawer, as a file is drawn: the baseline.
        t0 = Clock::now();
        cairo_t* cr = cairo_create(cache);
        view->SetContext(cr);
        PatternDrawer(view).DrawPatList(patterns);
        view->SetContext(nullptr);
        cairo_destroy(cr);
        std::printf("  redraw, every pattern (no index)       %10.1f ms\n", Ms(t0));
    }
    const Point2D middle = view->PointDToW(Point2D(width / 2.0, height / 2.0));
    view->ZoomAt(8.0, middle);
    Times zoomed;
    for (int i = 0; i < 5; ++i) zoomed.Add(DrawPart(view, cache, layer, &stats));
    std::printf("  redraw, zoomed in 8x                   %10.1f ms  (%zu drawn, %zu as dots)\n", zoomed.Median(),
                stats.drawn, stats.dots);
    Times pan;
    for (int i = 0; i < 5; ++i) {
        input.ButtonPress(2, 100, 100, false);
        input.Motion(160, 130);
        input.ButtonRelease(2, 160, 130, false);
        pan.Add(DrawPart(view, cache, layer));
    }
    std::printf("  pan step and redraw, zoomed in         %10.1f ms\n", pan.Median());
    input.Fit();
    DrawPart(view, cache, layer);

    // Mouse moves over the whole part's view, the same random points for every case.
    std::mt19937 random(7);
    std::uniform_real_distribution<double> ux(0.0, width);
    std::uniform_real_distribution<double> uy(0.0, height);
    std::vector<Point2D> points;
    for (int i = 0; i < 200; ++i) points.emplace_back(ux(random), uy(random));
    auto moves = [&](const GeometryEditorPtr& editor, ViewInput& in, std::size_t count) {
        Times t;
        for (std::size_t i = 0; i < count && i < points.size(); ++i) {
            t.Add(MoveOnce(in, editor, view, cache, screen, points[i].x, points[i].y));
        }
        return t;
    };
    const GeometryEditorPtr& editor = session.GetEditor();
    editor->SetEditAction(EDIT_SELECT);
    Times hover = moves(editor, input, points.size());
    std::printf("  mouse move, selection (hover)          %10.2f ms median, %.2f ms max\n", hover.Median(), hover.Max());
    editor->SetDrawAction(DRAW_LINE);
    input.ButtonPress(1, width / 2.0, height / 2.0, false);
    input.ButtonRelease(1, width / 2.0, height / 2.0, false);
    Times snap = moves(editor, input, points.size());
    std::printf("  mouse move, line tool (snap, indexed)  %10.2f ms median, %.2f ms max\n", snap.Median(), snap.Max());

    // The module's editor searching the whole part, on the same moves.
    const auto plain = boost::make_shared<GeometryEditor>(view, session.GetAssistor());
    plain->SetPatternList(patterns);
    plain->SetPatLoopList(session.GetPart().loops);
    plain->SetDrawAction(DRAW_LINE);
    ViewInput plainInput(plain);
    plainInput.ButtonPress(1, width / 2.0, height / 2.0, false);
    plainInput.ButtonRelease(1, width / 2.0, height / 2.0, false);
    Times whole = moves(plain, plainInput, 20);
    std::printf("  mouse move, line tool (whole search)   %10.2f ms median  (%.0fx the indexed move)\n",
                whole.Median(), whole.Median() / std::max(snap.Median(), 1e-6));
    cairo_surface_destroy(cache);
    cairo_surface_destroy(screen);
    return 0;
}
