// Round trips: a standard shape broken into its lines and arcs and chained into one closed polygon loop is
// grouped back into exactly one shape of its kind with the same outline, in a standard loop of its own.
#include <cmath>
#include <ostream>
#include <random>
#include <string>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/loop/PatLoopNode.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/DoubleDPattern.h"
#include "geomFeature/pattern/EllipsePattern.h"
#include "geomFeature/pattern/OBroundPattern.h"
#include "geomFeature/pattern/RCHolePattern.h"
#include "geomFeature/pattern/RadSlotPattern.h"
#include "geomFeature/pattern/RectHolePattern.h"
#include "geomFeature/pattern/SingleDPattern.h"
#include "geomFeature/pattern/TRHolePattern.h"
#include "geomFeature/processor/PatDecomposer.h"
#include "geomFeature/processor/PatGrouper.h"
#include "geomFeature/processor/ProcessorTolerance.h"
#include "tests/processor/GroupingSupport.h"
#include "tests/support/OutlineMetrics.h"

namespace Norvane {
namespace {

constexpr double kPi = MathEx::PI;

struct Random {
    std::mt19937 engine;
    double operator()(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(engine); }
    Point2D Place() { return Point2D((*this)(-100, 100), (*this)(-100, 100)); }
};

// A random shape of one kind: placed within 100 of the origin, sized 0.5 to 60, turned anywhere.
using ShapeMaker = IPatternPtr (*)(Random&);

IPatternPtr MakeCircle(Random& r) {
    return boost::make_shared<CirclePattern>(r.Place(), r(0.5, 50));
}
IPatternPtr MakeSingleD(Random& r) {
    const double radius = r(1, 50);
    return boost::make_shared<SingleDPattern>(r.Place(), radius, r(0.05, 0.95) * radius, r(-kPi, kPi));
}
IPatternPtr MakeDoubleD(Random& r) {
    const double radius = r(1, 50);
    return boost::make_shared<DoubleDPattern>(r.Place(), radius, r(0.05, 0.95) * radius, r(-kPi, kPi));
}
IPatternPtr MakeOBround(Random& r) {
    return boost::make_shared<OBroundPattern>(r.Place(), r(-kPi, kPi), r(0.5, 50), r(0.5, 30));
}
IPatternPtr MakeRadSlot(Random& r) {
    const double radius = r(5, 50);
    const double sweep = (r(0, 1) < 0.5 ? -1 : 1) * r(0.2, 5.5);
    return boost::make_shared<RadSlotPattern>(r.Place(), radius, r(-kPi, kPi), sweep, r(0.1, 1.5) * radius);
}
IPatternPtr MakeRectHole(Random& r) {
    Vector2D side(r(1, 50), 0);
    side.Rotate(r(-kPi, kPi));
    return boost::make_shared<RectHolePattern>(r.Place(), side, r(0.05, 3));
}
IPatternPtr MakeRCHole(Random& r) {
    const double length = r(2, 60);
    const double width = r(1, 60);
    const double corner = r(0.05, 0.45) * std::fmin(length, width);
    return boost::make_shared<RCHolePattern>(r.Place(), length, width, corner, r(-kPi, kPi));
}
IPatternPtr MakeTRHole(Random& r) {
    const double base = r(1, 50);
    return boost::make_shared<TRHolePattern>(r.Place(), r(-kPi, kPi), base, r(0.1, 0.8) * base);
}

struct RoundTripCase {
    const char* name;
    tagPatternType type;
    // The half-circle ends of obrounds and slots are recognised only with sweep -pi, i.e. drawn clockwise;
    // those shapes are chained the other way round.
    bool clockwise;
    ShapeMaker make;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) {
    *os << c.name;
}

class GroupRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(GroupRoundTrip, GivesBackOneShapeWithTheSameOutline) {
    const RoundTripCase& c = GetParam();
    Random random{std::mt19937(20240611)};
    for (int trial = 0; trial < 20; ++trial) {
        const IPatternPtr shape = c.make(random);
        PatternListPtr pieces = PatDecomposer::DecomposeStdPat(shape);
        pieces = c.clockwise ? testutil::Reversed(pieces) : pieces;
        pieces->UpdateCache();
        testutil::Part part = testutil::PartOf(pieces);

        PatGrouper::GroupPat(part.patterns, part.loops);

        ASSERT_EQ(part.patterns->size(), 1u) << "trial " << trial;
        const IPatternPtr grouped = part.patterns->front();
        EXPECT_EQ(grouped->GetPatternType(), c.type) << "trial " << trial;
        ASSERT_EQ(part.loops->size(), 1u);
        int follow = 0;
        EXPECT_EQ(part.loops->front()->GetPatByNodeIdx(0, follow), grouped);
        EXPECT_EQ(follow, 1);
        EXPECT_EQ(part.loops->front()->GetLoopType(), LOOP_STD);
        // The outline pins every parameter up to the shape's own symmetries (a double-D turned by pi, an
        // obround or a slot described from its other end).
        EXPECT_TRUE(testutil::SameCurve(testutil::Outline(grouped), testutil::Outline(shape), 1e-7))
            << "trial " << trial;
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Shapes, GroupRoundTrip, ::testing::Values(
    RoundTripCase{"Circle", PAT_CIRCLE, false, MakeCircle},
    RoundTripCase{"SingleD", PAT_SINGLE_D, false, MakeSingleD},
    RoundTripCase{"DoubleD", PAT_DOUBLE_D, false, MakeDoubleD},
    RoundTripCase{"OBround", PAT_OBROUND, true, MakeOBround},
    RoundTripCase{"RadSlot", PAT_RAD_SLOT, true, MakeRadSlot},
    RoundTripCase{"RectHole", PAT_RECT_HOLE, false, MakeRectHole},
    // Drawn clockwise, the rectangle lies on the right of its first side.
    RoundTripCase{"RectHoleClockwise", PAT_RECT_HOLE, true, MakeRectHole},
    RoundTripCase{"RCHole", PAT_RC_HOLE, false, MakeRCHole},
    RoundTripCase{"TRHole", PAT_TR_HOLE, false, MakeTRHole}),
    [](const ::testing::TestParamInfo<RoundTripCase>& info) { return std::string(info.param.name); });
// clang-format on

// An ellipse drawn as lines through the arc ends of an EllipsePattern (evenly spaced in the ellipse's
// parameter, the first on the end of the major axis) comes back within the fit's bound: centre, half axes,
// and the whole outline against the lines it replaced. Odd counts are the hard case: the box centre and
// the farthest vertex then miss the true ones.
TEST(GroupEllipseRoundTrip, FitsWithinTheBoundAndSnapsTheArcCount) {
    Random random{std::mt19937(7)};
    for (int trial = 0; trial < 40; ++trial) {
        const int count = trial < 2 ? kEllipseMinLines + trial : static_cast<int>(random(21, 499.999));
        const double length = random(2, 80);
        const double width = random(0.2, 0.9) * length;
        auto source = boost::make_shared<EllipsePattern>(random.Place(), random(-kPi, kPi), length, width);
        source->SetSegCount(count);
        std::vector<IPatternPtr> lines;
        for (const IGeom2DPtr& arc : testutil::Outline(source)) {
            lines.push_back(boost::make_shared<LinePattern>(arc->GetStartPoint(), arc->GetEndPoint()));
        }
        const PatternListPtr chain = testutil::Pieces(lines);
        Geom2DList chainOutline;
        for (const IPatternPtr& line : *chain) {
            chainOutline.push_back(boost::make_shared<Line2D>(line->GetStartPoint(), line->GetEndPoint()));
        }
        testutil::Part part = testutil::PartOf(chain);

        PatGrouper::GroupPat(part.patterns, part.loops);

        ASSERT_EQ(part.patterns->size(), 1u) << "trial " << trial << ", " << count << " lines";
        const auto fitted = boost::dynamic_pointer_cast<EllipsePattern>(part.patterns->front());
        ASSERT_TRUE(fitted);
        const double bound = EllipseFitTolerance(count, fitted->GetLength() / 2, fitted->GetWidth() / 2);
        EXPECT_LE(fitted->GetBasePoint().DistanceTo(source->GetBasePoint()), bound) << "trial " << trial;
        EXPECT_NEAR(fitted->GetLength(), length, 2 * bound) << "trial " << trial;
        EXPECT_NEAR(fitted->GetWidth(), width, 2 * bound) << "trial " << trial;
        EXPECT_EQ(fitted->GetSegCount(), PatGrouper::SnapEllipseSegCount(count));
        EXPECT_TRUE(testutil::SameCurve(testutil::Outline(fitted), chainOutline, bound)) << "trial " << trial;
    }
}

}  // namespace
}  // namespace Norvane
