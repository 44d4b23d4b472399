// The world/device mapping of viewports: fitting a box with a margin keeps the aspect and centres it, y is
// flipped, zooming keeps the point under the cursor still and panning moves the picture by pixels.
#include "geomFeature/host/viewkit/ViewTransform.h"

#include <gtest/gtest.h>

#include "tests/support/GeomExpect.h"

namespace Norvane {
namespace {

using testutil::PointNear;

// 200 x 100 device, 10 px margin: 180 x 80 free, so a 10 x 10 box is limited by the height (8 px/unit) and
// centred horizontally; world y up lands at small device y.
TEST(ViewTransform, FitKeepsAspectCentresAndFlipsY) {
    ViewTransform view(200, 100);
    view.FitWorldRect(Rect2D(0, 10, 0, 10), 10.0);
    EXPECT_DOUBLE_EQ(view.GetScale(), 8.0);
    EXPECT_TRUE(PointNear(view.WorldToDevice(Point2D(5, 5)), Point2D(100, 50)));
    EXPECT_TRUE(PointNear(view.WorldToDevice(Point2D(0, 10)), Point2D(60, 10)));  // top-left corner
    EXPECT_TRUE(PointNear(view.WorldToDevice(Point2D(10, 0)), Point2D(140, 90)));
    EXPECT_TRUE(PointNear(view.DeviceToWorld(Point2D(60, 10)), Point2D(0, 10)));
    EXPECT_DOUBLE_EQ(view.DToW(16.0), 2.0);
    EXPECT_DOUBLE_EQ(view.WToD(2.0), 16.0);

    // Device boxes come back normalised: the world top edge is the smaller device y.
    const Rect2D device = view.RectWToD(Rect2D(0, 10, 0, 10));
    EXPECT_DOUBLE_EQ(device.bottom, 10.0);
    EXPECT_DOUBLE_EQ(device.top, 90.0);
    EXPECT_DOUBLE_EQ(device.Width(), 80.0);
}

TEST(ViewTransform, ZoomKeepsTheFixedPointAndPanMovesByPixels) {
    ViewTransform view(100, 80);
    view.FitWorldRect(Rect2D(0, 100, 0, 80), 0.0);
    const Point2D under = view.DeviceToWorld(Point2D(20, 30));
    view.ZoomAt(2.5, Point2D(20, 30));
    EXPECT_DOUBLE_EQ(view.GetScale(), 2.5);
    EXPECT_TRUE(PointNear(view.WorldToDevice(under), Point2D(20, 30)));

    const Point2D before = view.WorldToDevice(Point2D(1, 2));
    view.Pan(7, -3);  // right and up on screen
    EXPECT_TRUE(PointNear(view.WorldToDevice(Point2D(1, 2)), Point2D(before.x + 7, before.y - 3)));

    view.ZoomAt(0.0, Point2D(0, 0));  // no usable scale: ignored
    EXPECT_DOUBLE_EQ(view.GetScale(), 2.5);
}

}  // namespace
}  // namespace Norvane
