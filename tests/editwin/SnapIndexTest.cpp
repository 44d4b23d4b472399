#include <gtest/gtest.h>

#include <random>

#include <boost/make_shared.hpp>

#include "apps/editwin/PartLayer.h"
#include "apps/editwin/SnapIndex.h"
#include "geomFeature/draw/DrawAssistor.h"
#include "geomFeature/host/viewkit/NullViewPort.h"
#include "geomFeature/host/viewkit/RecordingViewPort.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatternCache.h"

namespace Norvane {
namespace {

// Lines (many meeting at shared ends and crossing), small and large arcs (centres outside their outline's
// box) and circles over a 100 x 100 field.
PatternListPtr RandomPart(unsigned seed, int count) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> at(0.0, 100.0);
    std::uniform_real_distribution<double> angle(0.0, 6.283185307179586);
    std::uniform_real_distribution<double> small(0.2, 8.0);
    auto patterns = boost::make_shared<PatternList>();
    Point2D last(at(random), at(random));
    for (int i = 0; i < count; ++i) {
        switch (i % 4) {
            case 0:
            case 1: {
                // Every other line continues from the previous end: shared end points to snap to.
                const Point2D start = i % 4 == 0 ? Point2D(at(random), at(random)) : last;
                last = Point2D(at(random), at(random));
                patterns->push_back(boost::make_shared<LinePattern>(start, last));
                break;
            }
            case 2:
                patterns->push_back(boost::make_shared<ArcPattern>(Point2D(at(random), at(random)), small(random) * 4,
                                                                   angle(random), 0.3 + angle(random) / 8));
                break;
            default:
                patterns->push_back(boost::make_shared<CirclePattern>(Point2D(at(random), at(random)), small(random)));
                break;
        }
    }
    patterns->UpdateCache();
    return patterns;
}

struct Snapped {
    bool found = false;
    Point2D point;
    std::vector<Point2D> features;
    std::size_t lines = 0;
};

Snapped Snap(const GlViewPortPtr& view, const PatternListPtr& patterns, const Point2DPtr& first, const Point2D& c) {
    DrawAssistor assistor(view);
    assistor.Init(patterns, first);
    assistor.RefreshAssistor(c.x, c.y);
    Snapped s;
    if (const Point2DPtr p = assistor.GetSnapPt()) {
        s.found = true;
        s.point = *p;
    }
    for (const Point2D& f : assistor.GetFeaturePoints()) s.features.push_back(f);
    s.lines = assistor.GetAssistLines().size();
    return s;
}

// The assistant given the patterns near the cursor answers exactly what it answers given the whole part:
// snap point, feature points and alignment lines, at several zooms, with and without a first point, at
// random cursors and at cursors right next to snap points.
TEST(SnapIndex, AssistantAnswersAsOverTheWholePart) {
    for (const unsigned seed : {1u, 2u, 3u}) {
        const PatternListPtr part = RandomPart(seed, 400);
        SnapIndex index;
        index.Build(part);
        std::mt19937 random(seed + 100);
        std::uniform_real_distribution<double> at(-2.0, 102.0);
        std::uniform_real_distribution<double> nudge(-0.4, 0.4);
        std::size_t snapped = 0;
        for (const double scale : {2.0, 10.0, 60.0}) {
            const auto view = boost::make_shared<NullViewPort>();
            view->SetDeviceSize(1000, 1000);
            ViewTransform transform = view->GetViewTransform();
            transform.SetView(Point2D(50, 50), scale);
            view->SetViewTransform(transform);
            const double distance = view->DToW(5.0);
            for (int q = 0; q < 300; ++q) {
                Point2D cursor(at(random), at(random));
                if (q % 3 == 0) {
                    // Near an end point, where snapping happens.
                    const IPatternPtr& p = (*part)[random() % part->size()];
                    cursor = p->GetEndPoint() + Vector2D(nudge(random) * distance * 3, nudge(random) * distance * 3);
                }
                const Point2DPtr first = q % 2 ? boost::make_shared<Point2D>(at(random), cursor.y + nudge(random) * distance)
                                               : Point2DPtr();
                const Snapped whole = Snap(view, part, first, cursor);
                const Snapped near = Snap(view, index.Near(cursor, distance), first, cursor);
                ASSERT_EQ(near.found, whole.found) << seed << " " << scale << " " << q;
                if (whole.found) {
                    ++snapped;
                    EXPECT_EQ(near.point, whole.point);
                }
                EXPECT_EQ(near.features, whole.features);
                EXPECT_EQ(near.lines, whole.lines);
            }
        }
        EXPECT_GT(snapped, 100u) << "the queries must exercise snapping";
    }
}

TEST(PartLayer, QueryFindsEveryPatternWhoseBoxMeetsTheBox) {
    const PatternListPtr part = RandomPart(9, 500);
    PartLayer layer;
    layer.SetPatterns(part);
    std::mt19937 random(5);
    std::uniform_real_distribution<double> at(-10.0, 110.0);
    for (int q = 0; q < 200; ++q) {
        const double x1 = at(random), x2 = at(random), y1 = at(random), y2 = at(random);
        const Rect2D box(std::min(x1, x2), std::max(x1, x2), std::min(y1, y2), std::max(y1, y2));
        std::vector<std::size_t> expected;
        for (std::size_t i = 0; i < part->size(); ++i) {
            const Rect2D& r = (*part)[i]->GetCacheData()->GetRect();
            if (r.left <= box.right && box.left <= r.right && r.bottom <= box.top && box.bottom <= r.top) {
                expected.push_back(i);
            }
        }
        EXPECT_EQ(layer.Query(box), expected);
    }
}

TEST(PartLayer, DrawsWhatIsVisibleAndOneDotPerPixelBelowAPixel) {
    auto part = boost::make_shared<PatternList>();
    part->push_back(boost::make_shared<LinePattern>(Point2D(0, 0), Point2D(50, 0)));      // visible
    part->push_back(boost::make_shared<LinePattern>(Point2D(500, 0), Point2D(550, 0)));   // off screen
    for (int i = 0; i < 20; ++i) {                                                          // one pixel of dust
        part->push_back(boost::make_shared<CirclePattern>(Point2D(20.1 + i * 0.001, 20.1), 0.01));
    }
    part->push_back(boost::make_shared<CirclePattern>(Point2D(30.1, 30.1), 0.01));        // another pixel
    part->UpdateCache();
    PartLayer layer;
    layer.SetPatterns(part);
    // 100 x 100 pixels showing (0..100, 0..100): one unit per pixel.
    const auto view = boost::make_shared<RecordingViewPort>(100, 100, Rect2D(0, 100, 0, 100));
    const PartLayer::Stats stats = layer.Draw(view);
    EXPECT_EQ(stats.visible, 22u);
    EXPECT_EQ(stats.drawn, 1u);
    EXPECT_EQ(stats.dots, 2u);
    EXPECT_EQ(view->CountCalls("DrawLinePoint2D"), 1u);
    EXPECT_EQ(view->CountCalls("DrawRectPoint2D"), 2u);
    EXPECT_EQ(view->CountCalls("DrawCircle2D") + view->CountCalls("DrawArc2D"), 0u);
}

}  // namespace
}  // namespace Norvane
