#include <cmath>
#include <random>

#include <gtest/gtest.h>

#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "tests/support/GeomExpect.h"

namespace Norvane {
namespace {

constexpr double kPi = MathEx::PI;
using testutil::PointNear;

// Each appended operation acts after the ones before it.
TEST(Matrix2DTest, AppendedOperationsApplyInCallOrder) {
    Matrix2D rotThenMove;
    rotThenMove.Rotate(kPi / 2);
    rotThenMove.Transfer(Vector2D(1, 0));
    EXPECT_TRUE(PointNear(rotThenMove.TransformPoint(Point2D(1, 0)), Point2D(1, 1), 1e-15));

    Matrix2D moveThenRot;
    moveThenRot.Transfer(Vector2D(1, 0));
    moveThenRot.Rotate(kPi / 2);
    EXPECT_TRUE(PointNear(moveThenRot.TransformPoint(Point2D(1, 0)), Point2D(0, 2), 1e-15));
}

// (A*B)(p) = A(B(p)), checked on seeded random matrices and points.
TEST(Matrix2DTest, ProductAppliesRightOperandFirst) {
    std::mt19937 rng(20240611);
    std::uniform_real_distribution<double> u(-5, 5);
    for (int i = 0; i < 50; ++i) {
        const Matrix2D a(u(rng), u(rng), u(rng), u(rng), u(rng), u(rng));
        const Matrix2D b(u(rng), u(rng), u(rng), u(rng), u(rng), u(rng));
        const Point2D p(u(rng), u(rng));
        EXPECT_TRUE(PointNear((a * b).TransformPoint(p), a.TransformPoint(b.TransformPoint(p)), 1e-11));
        // Appending an operation is left-multiplying by it.
        Matrix2D appended = b;
        appended.Rotate(0.3);
        Matrix2D rot;
        rot.Rotate(0.3);
        EXPECT_TRUE(PointNear(appended.TransformPoint(p), (rot * b).TransformPoint(p), 1e-11));
    }
}

TEST(Matrix2DTest, AboutAPoint) {
    Matrix2D rot;
    rot.RotateBy(Point2D(1, 1), kPi);
    EXPECT_TRUE(PointNear(rot.TransformPoint(Point2D(2, 1)), Point2D(0, 1), 1e-15));
    EXPECT_TRUE(PointNear(rot.TransformPoint(Point2D(1, 1)), Point2D(1, 1), 1e-15));

    Matrix2D scale;
    scale.ScaleBy(Point2D(1, 1), 2);
    EXPECT_TRUE(PointNear(scale.TransformPoint(Point2D(2, 2)), Point2D(3, 3)));
    EXPECT_DOUBLE_EQ(scale.GetScale(), 2.0);
    EXPECT_EQ(scale.IsMirror(), 0);
}

TEST(Matrix2DTest, MirrorReflectsAboutTheLineAndReversesOrientation) {
    Matrix2D m;
    m.Mirror(Point2D(0, 1), Vector2D(3, 0));  // the line y = 1
    EXPECT_TRUE(PointNear(m.TransformPoint(Point2D(3, 3)), Point2D(3, -1)));
    EXPECT_TRUE(PointNear(m.TransformPoint(Point2D(-2, 1)), Point2D(-2, 1)));
    EXPECT_DOUBLE_EQ(m.Determinant(), -1.0);
    EXPECT_EQ(m.IsMirror(), 1);
    // Mirroring twice is the identity.
    m.Mirror(Point2D(0, 1), Vector2D(1, 0));
    EXPECT_EQ(m.IsIdentity(1e-15), 1);

    Matrix2D diag;
    diag.Mirror(Point2D(0, 0), Vector2D(1, 1));
    EXPECT_TRUE(PointNear(diag.TransformPoint(Point2D(2, 0)), Point2D(0, 2), 1e-15));
    Matrix2D none;
    none.Mirror(Point2D(1, 1), Vector2D(0, 0));  // no axis: nothing appended
    EXPECT_EQ(none.IsIdentity(0.0), 1);
}

TEST(Matrix2DTest, SettersReplaceAndVectorsIgnoreTranslation) {
    Matrix2D m;
    m.Rotate(1.0);
    m.SetTransfer(Vector2D(2, 3));
    EXPECT_TRUE(PointNear(m.TransformPoint(Point2D(1, 1)), Point2D(3, 4)));
    EXPECT_TRUE(PointNear(Point2D(0, 0) + m.TransformVector(Vector2D(1, 1)), Point2D(1, 1)));
    m.SetScale(0.5);
    EXPECT_TRUE(PointNear(m.TransformPoint(Point2D(4, 2)), Point2D(2, 1)));
    m.Reset();
    EXPECT_EQ(m, Matrix2D());
}

TEST(Matrix2DTest, InverseUndoesAndSingularGivesIdentity) {
    Matrix2D m;
    m.Rotate(0.4);
    m.Scale(2.5);
    m.Mirror(Point2D(1, 0), Vector2D(0, 1));
    m.Transfer(Vector2D(-3, 7));
    const Point2D p(1.5, -2.0);
    EXPECT_TRUE(PointNear(m.Inverse().TransformPoint(m.TransformPoint(p)), p, 1e-12));
    EXPECT_EQ((m.Inverse() * m).IsIdentity(1e-12), 1);
    EXPECT_EQ(Matrix2D(1, 2, 2, 4, 5, 5).Inverse(), Matrix2D());
}

TEST(Vector2DTest, AnglesAndOperations) {
    EXPECT_DOUBLE_EQ(Vector2D(-1, -0.0).Angle(), kPi);  // the half turn is +π, never −π
    EXPECT_DOUBLE_EQ(Vector2D(0, 0).Angle(), 0.0);
    EXPECT_DOUBLE_EQ(Vector2D(1, 0).AngleTo(Vector2D(0, -2)), -kPi / 2);
    EXPECT_DOUBLE_EQ(Vector2D(1, 0).AngleTo(Vector2D(-1, -0.0)), kPi);
    EXPECT_DOUBLE_EQ(Vector2D(1, 0).CrossProduct(Vector2D(0, 1)), 1.0);

    Vector2D v(3, 4);
    v.Magnitude(10);
    EXPECT_TRUE(PointNear(Point2D() + v, Point2D(6, 8), 1e-14));
    Vector2D zero;
    zero.Magnitude(5);  // stays zero, no NaN
    EXPECT_EQ(zero, Vector2D());
    v.SetAngle(kPi / 2);
    EXPECT_TRUE(PointNear(Point2D() + v, Point2D(0, 10), 1e-14));
    Vector2D w(1, 2);
    w.Mirror(Vector2D(1, 0));
    EXPECT_EQ(w, Vector2D(1, -2));
    EXPECT_EQ(Vector2D(1, 2).Orthogonal(), Vector2D(-2, 1));

    Matrix2D m;
    m.Rotate(kPi / 2);
    m.Transfer(Vector2D(100, 100));
    Vector2D t(1, 0);
    t *= m;
    EXPECT_TRUE(PointNear(Point2D() + t, Point2D(0, 1), 1e-15));
    Point2D p(1, 0);
    p *= m;
    EXPECT_TRUE(PointNear(p, Point2D(100, 101), 1e-13));
}

TEST(Point2DTest, HigherIsATotalOrderWithRowTiesByX) {
    EXPECT_EQ(Point2D(0, 2).Higher(Point2D(5, 1)), 1);
    EXPECT_EQ(Point2D(0, 1).Higher(Point2D(5, 1)), 1);
    EXPECT_EQ(Point2D(5, 1).Higher(Point2D(0, 1)), 0);
    EXPECT_EQ(Point2D(1, 1).Higher(Point2D(1, 1)), 0);
    EXPECT_EQ(Point2D(1, 1).IsEqual(Point2D(1.25, 0.75), 0.25), 1);  // non-strict at the tolerance
    Point2D r(2, 1);
    r.RotateBasedPt(Point2D(1, 1), kPi / 2);
    EXPECT_TRUE(PointNear(r, Point2D(1, 2), 1e-15));
}

}  // namespace
}  // namespace Norvane
