// Rendering to files: arcs turn the right way despite the flipped device y, stipples start at bit 0 (also
// when the pattern wraps round), and failures name the file.
#include "geomFeature/host/viewkit/CairoViewPort.h"

#include <unistd.h>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/host/viewkit/PngImage.h"
#include "geomFeature/host/viewkit/ViewPortError.h"

namespace Norvane {
namespace {

namespace fs = std::filesystem;

constexpr unsigned long kWhite = 0xFFFFFF;

class CairoViewPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("gf_cairo_" + std::to_string(::getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string PathOf(const std::string& name) const { return (m_dir / name).string(); }

    // A 100 x 100 PNG showing world (0..100, 0..100) one unit per pixel, so device x = world x and
    // device y = 100 - world y.
    CairoViewPort UnitView(const std::string& name) {
        CairoViewPort::Options options;
        options.marginPixels = 0.0;
        return CairoViewPort(PathOf(name), 100, 100, Rect2D(0, 100, 0, 100), options);
    }

    fs::path m_dir;
};

struct ArcCase {
    const char* name;
    double sweep;
    bool upperRightDrawn;  // the quarter above the x axis (on screen: above the centre row)
};

class CairoArcDirection : public CairoViewPortTest, public ::testing::WithParamInterface<ArcCase> {};

// A counter-clockwise quarter from angle 0 lies above the centre in the world, and so on screen.
TEST_P(CairoArcDirection, SweepSenseSurvivesTheFlip) {
    {
        CairoViewPort view = UnitView("arc.png");
        view.SetLineWidth(3.0);
        view.DrawArc2D(50, 50, 30, 0.0, GetParam().sweep);
        view.Finish();
    }
    const PngImage image = PngImage::Load(PathOf("arc.png"));
    const int up = image.GetPixel(71, 29) != kWhite;    // world 45 degrees
    const int down = image.GetPixel(71, 71) != kWhite;  // world -45 degrees
    EXPECT_EQ(up, GetParam().upperRightDrawn ? 1 : 0);
    EXPECT_EQ(down, GetParam().upperRightDrawn ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Rows, CairoArcDirection,
                         ::testing::Values(ArcCase{"Ccw", MathEx::PI / 2, true},
                                           ArcCase{"Cw", -MathEx::PI / 2, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct StippleCase {
    const char* name;
    unsigned short pattern;
    int drawnX;  // device x of a pixel inside a drawn run
    int gapX;    // and inside a gap
};

class CairoStipple : public CairoViewPortTest, public ::testing::WithParamInterface<StippleCase> {};

// Factor 4: each bit is 4 px, bit 0 at the line's start (device x 0).
TEST_P(CairoStipple, BitZeroStartsTheLine) {
    {
        CairoViewPort view = UnitView("dash.png");
        view.SetLineWidth(3.0);
        view.SetLineStipple(1, 4, GetParam().pattern);
        view.DrawLinePoint2D(0, 50, 100, 50);
        view.Finish();
    }
    const PngImage image = PngImage::Load(PathOf("dash.png"));
    EXPECT_NE(image.GetPixel(GetParam().drawnX, 50), kWhite);
    EXPECT_EQ(image.GetPixel(GetParam().gapX, 50), kWhite);
}

INSTANTIATE_TEST_SUITE_P(Rows, CairoStipple,
                         ::testing::Values(StippleCase{"LowByteOn", 0x00FF, 10, 45},
                                           StippleCase{"LowByteOff", 0xFF00, 45, 10},
                                           // bits 15 and 0 form one run across the repeat: 60..68
                                           StippleCase{"WrapsRound", 0x8001, 62, 30}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CairoViewPortTest, FailuresNameTheFile) {
    const Rect2D world(0, 1, 0, 1);
    EXPECT_THROW(CairoViewPort(PathOf("drawing.bmp"), 10, 10, world), ViewPortError);
    EXPECT_THROW(CairoViewPort(PathOf("empty.png"), 0, 10, world), ViewPortError);
    EXPECT_THROW(CairoViewPort(PathOf("missing/dir/a.svg"), 10, 10, world), ViewPortError);

    // A PNG is only written at the end, so a bad folder shows there.
    const std::string png = PathOf("missing/dir/a.png");
    CairoViewPort view(png, 10, 10, world);
    try {
        view.Finish();
        ADD_FAILURE() << "writing into a missing folder succeeded";
    } catch (const ViewPortError& error) {
        EXPECT_NE(std::string(error.what()).find(png), std::string::npos) << error.what();
    }
    EXPECT_NO_THROW(view.Finish());  // once only
    EXPECT_THROW(PngImage::Load(png), ViewPortError);
}

}  // namespace
}  // namespace Norvane
