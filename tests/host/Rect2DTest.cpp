#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/geomkit/Rect2D.h"
#include "geomFeature/host/mathkit/MathEx.h"

namespace Norvane {
namespace {

struct BoxPairCase {
    std::string name;
    Rect2D other;
    int overlaps;  // this & other
    int includes;  // this.IncludeRect(other)
};

// All rows against the box [0, 4] x [0, 2].
class Rect2DPairTest : public ::testing::TestWithParam<BoxPairCase> {
protected:
    const Rect2D m_box{0, 4, 0, 2};
};

TEST_P(Rect2DPairTest, OverlapAndInclusion) {
    const BoxPairCase& c = GetParam();
    EXPECT_EQ(m_box & c.other, c.overlaps);
    EXPECT_EQ(c.other & m_box, c.overlaps);  // symmetric
    EXPECT_EQ(m_box.IncludeRect(c.other), c.includes);
}

INSTANTIATE_TEST_SUITE_P(Table, Rect2DPairTest,
                         ::testing::Values(BoxPairCase{"Overlapping", Rect2D(3, 6, 1, 3), 1, 0},
                                           BoxPairCase{"TouchingEdge", Rect2D(4, 6, 0, 2), 1, 0},
                                           BoxPairCase{"TouchingCorner", Rect2D(4, 5, 2, 3), 1, 0},
                                           BoxPairCase{"SmallGap", Rect2D(4.0 + 1.0 / 1024, 6, 0, 2), 0, 0},
                                           BoxPairCase{"Inside", Rect2D(1, 2, 0.5, 1.5), 1, 1},
                                           BoxPairCase{"InsideSharingEdge", Rect2D(0, 2, 0, 1), 1, 1},
                                           BoxPairCase{"Equal", Rect2D(0, 4, 0, 2), 1, 1},
                                           BoxPairCase{"Enclosing", Rect2D(-1, 5, -1, 3), 1, 0},
                                           BoxPairCase{"DegeneratePointOnEdge", Rect2D(4, 4, 1, 1), 1, 1}),
                         [](const auto& info) { return info.param.name; });

TEST(Rect2DTest, ContainmentRangeAndDistance) {
    const Rect2D box(0, 4, 0, 2);
    EXPECT_EQ(box.ContainPt(Point2D(4, 2)), 1);  // closed
    EXPECT_EQ(box.ContainPt(Point2D(4.0 + 1.0 / 1024, 1)), 0);
    EXPECT_EQ(box.InRange(4, 2), 1);  // exactly the size fits
    EXPECT_EQ(box.InRange(4 - 1.0 / 1024, 2), 0);
    EXPECT_DOUBLE_EQ(box.DistanceTo(Point2D(1, 1)), 0.0);
    EXPECT_DOUBLE_EQ(box.DistanceTo(Point2D(2, 5)), 3.0);
    EXPECT_DOUBLE_EQ(box.DistanceTo(Point2D(7, 6)), 5.0);  // to the corner (4, 2): 3-4-5
    EXPECT_EQ(box.GetCenterPt(), Point2D(2, 1));
}

TEST(Rect2DTest, TransformTakesTheBoxOfTheTransformedCorners) {
    Rect2D box(0, 2, 0, 2);
    Matrix2D m;
    m.RotateBy(Point2D(1, 1), MathEx::PI / 4);
    box.Transform(m);
    const double h = std::sqrt(2.0);
    EXPECT_NEAR(box.left, 1 - h, 1e-12);
    EXPECT_NEAR(box.right, 1 + h, 1e-12);
    EXPECT_NEAR(box.bottom, 1 - h, 1e-12);
    EXPECT_NEAR(box.top, 1 + h, 1e-12);

    Rect2D mirrored(1, 3, 0, 1);
    Matrix2D mir;
    mir.Mirror(Point2D(0, 0), Vector2D(0, 1));  // about the y axis
    mirrored.Transform(mir);
    EXPECT_EQ(mirrored, Rect2D(-3, -1, 0, 1));
}

TEST(Rect2DTest, UnionAndInflate) {
    Rect2D box(1, 2, 1, 2);
    box.Union(Rect2D(5, 6, -1, 0));
    EXPECT_EQ(box, Rect2D(1, 6, -1, 2));
    box.Union(Point2D(0, 3));
    EXPECT_EQ(box, Rect2D(0, 6, -1, 3));
    box.Inflate(1);
    EXPECT_EQ(box, Rect2D(-1, 7, -2, 4));
    box.Inflate(-4);  // narrower than 8: collapses onto the centre line instead of turning inside out
    EXPECT_EQ(box, Rect2D(3, 3, 1, 1));
}

}  // namespace
}  // namespace Norvane
