// Ellipses drawn as lines: the line-count window, the circle refusal, polygons that are no ellipse, a
// vertex moved exactly around the fit's bound, and the arc count of the new ellipse.
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/Line2DList.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/EllipsePattern.h"
#include "geomFeature/processor/PatGrouper.h"
#include "geomFeature/processor/ProcessorTolerance.h"
#include "tests/processor/GroupingSupport.h"

namespace Norvane {
namespace {

constexpr double kPi = MathEx::PI;

// n points of the ellipse x = a cos t, y = b sin t about the origin, at t = 2 pi k / n: the first on the
// end of the major axis, as an EllipsePattern places its arc ends.
std::vector<Point2D> EllipseVertices(int n, double a, double b) {
    std::vector<Point2D> v;
    for (int k = 0; k < n; ++k) {
        const double t = 2 * kPi * k / n;
        v.emplace_back(a * std::cos(t), b * std::sin(t));
    }
    return v;
}

Line2DListPtr Polygon(const std::vector<Point2D>& v) {
    auto lines = boost::make_shared<Line2DList>();
    for (std::size_t i = 0; i < v.size(); ++i) {
        lines->push_back(Line2D(v[i], v[(i + 1) % v.size()]));
    }
    return lines;
}

// What GroupPat makes of one closed chain of lines through v: the new pattern, or empty.
IPatternPtr GroupChain(const std::vector<Point2D>& v) {
    std::vector<IPatternPtr> lines;
    for (std::size_t i = 0; i < v.size(); ++i) {
        lines.push_back(boost::make_shared<LinePattern>(v[i], v[(i + 1) % v.size()]));
    }
    testutil::Part part = testutil::PartOf(testutil::Pieces(lines));
    PatGrouper::GroupPat(part.patterns, part.loops);
    return part.patterns->size() == 1 ? part.patterns->front() : IPatternPtr();
}

// 20 lines are not tried, 21 to 499 are; 36 lines give an ellipse of 36 arcs.
TEST(GroupEllipse, OnlyChainsOf21To499LinesAreTried) {
    for (const int n : {20, 21, 36, 499, 500}) {
        const auto ellipse =
            boost::dynamic_pointer_cast<EllipsePattern>(GroupChain(EllipseVertices(n, 10, 6)));
        EXPECT_EQ(static_cast<bool>(ellipse), n >= 21 && n <= 499) << n << " lines";
        if (ellipse && n == 36) {
            EXPECT_EQ(ellipse->GetSegCount(), 36);
            EXPECT_NEAR(ellipse->GetLength(), 20, 1e-12);
            EXPECT_NEAR(ellipse->GetWidth(), 12, 1e-12);
        }
    }
}

// Half axes equal within 0.05 (inclusive) are a circle. With 36 vertices two of them sit on each axis end,
// so the fitted half axes are exactly the drawn ones.
TEST(GroupEllipse, NearlyRoundChainsAreCircles) {
    EXPECT_FALSE(PatGrouper::GroupEllipse(Polygon(EllipseVertices(36, 10, 10))));
    EXPECT_FALSE(PatGrouper::GroupEllipse(Polygon(EllipseVertices(36, 10, 9.9501))));
    EXPECT_TRUE(PatGrouper::GroupEllipse(Polygon(EllipseVertices(36, 10, 9.9499))));
}

// A thin ellipse (20 x 1) drawn with 50 lines has no vertex on its minor axis: the nearest vertex claims a
// half width of 0.8 instead of 0.5. The focal sums barely notice (they change by only 2b/a per unit of
// distance there), the ends of the fitted minor axis do: they lie 0.3 outside the lines, beyond the bound
// of about 0.24. With 52 lines two vertices sit on the minor axis and the fit is exact.
TEST(GroupEllipse, ThinEllipseWithNoVertexOnTheMinorAxisIsRefused) {
    EXPECT_FALSE(PatGrouper::GroupEllipse(Polygon(EllipseVertices(50, 10, 0.5))));
    EXPECT_TRUE(PatGrouper::GroupEllipse(Polygon(EllipseVertices(52, 10, 0.5))));
}

TEST(GroupEllipse, LopsidedPolygonIsRefused) {
    // An egg of 72 lines: the right half of a 10 x 5 ellipse joined to the left half of a 7 x 5 one. (With
    // 36 lines the bound is wide enough for the ellipse fitted to this egg.)
    std::vector<Point2D> egg = EllipseVertices(72, 10, 5);
    for (Point2D& p : egg) {
        p.x *= p.x < 0 ? 0.7 : 1.0;
    }
    EXPECT_FALSE(PatGrouper::GroupEllipse(Polygon(egg)));
}

struct VertexCase {
    const char* name;
    double deviation;  // of the moved vertex's focal sum from 2a, in units of the fit's bound
    bool recognised;
};

void PrintTo(const VertexCase& c, std::ostream* os) {
    *os << c.name;
}

class GroupEllipseVertex : public ::testing::TestWithParam<VertexCase> {};

// 40 vertices of a 10 x 6 ellipse fit it exactly (two on each axis end, a symmetric box), so the foci are
// (+-8, 0). One vertex at 45 degrees is moved along its ray until its focal sum misses 20 by the given
// share of the bound; its neighbours' midpoints move half as far and stay inside.
TEST_P(GroupEllipseVertex, BoundDecides) {
    std::vector<Point2D> v = EllipseVertices(40, 10, 6);
    const double bound = EllipseFitTolerance(40, 10, 6);
    const double target = 20 + GetParam().deviation * bound;
    const Point2D on = v[5];
    const auto focalSum = [&on](double s) {
        const Point2D p(on.x * s, on.y * s);
        return p.DistanceTo(Point2D(8, 0)) + p.DistanceTo(Point2D(-8, 0));
    };
    double lo = 0.5, hi = 1.5;  // the focal sum grows along the ray
    for (int i = 0; i < 200; ++i) {
        const double mid = 0.5 * (lo + hi);
        (focalSum(mid) < target ? lo : hi) = mid;
    }
    v[5] = Point2D(on.x * lo, on.y * lo);
    EXPECT_EQ(static_cast<bool>(PatGrouper::GroupEllipse(Polygon(v))), GetParam().recognised);
}

INSTANTIATE_TEST_SUITE_P(
    AroundTheBound, GroupEllipseVertex,
    ::testing::Values(VertexCase{"OutJustInside", 0.98, true}, VertexCase{"OutJustBeyond", 1.02, false},
                      VertexCase{"InJustInside", -0.98, true}, VertexCase{"InJustBeyond", -1.02, false}),
    [](const ::testing::TestParamInfo<VertexCase>& info) { return std::string(info.param.name); });

// The nearer listed count, the larger one on a tie (42 lies half way between 36 and 48).
TEST(GroupEllipse, SegCountSnapsToTheNearerListedCount) {
    const std::vector<std::pair<int, int>> rows = {{5, 18},    {18, 18},   {19, 18},  {20, 21},   {36, 36},
                                                   {41, 36},   {42, 48},   {43, 48},  {112, 105}, {113, 120},
                                                   {120, 120}, {121, 120}, {499, 120}};
    for (const auto& [lines, arcs] : rows) {
        EXPECT_EQ(PatGrouper::SnapEllipseSegCount(lines), arcs) << lines << " lines";
    }
}

}  // namespace
}  // namespace Norvane
