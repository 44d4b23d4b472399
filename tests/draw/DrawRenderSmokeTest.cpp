// The drawers on a real surface: a few patterns, their control points and an open loop rendered to PNG and
// SVG give well-formed files with the display colours in them.
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/draw/LoopDrawer.h"
#include "geomFeature/draw/PatternDrawer.h"
#include "geomFeature/draw/SnapPtDrawer.h"
#include "geomFeature/host/viewkit/CairoViewPort.h"
#include "geomFeature/host/viewkit/PngImage.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/pattern/RectHolePattern.h"
#include "tests/support/DrawTestEnv.h"

namespace Norvane {
namespace {

namespace fs = std::filesystem;
using testutil::CachedLine;
using testutil::DrawColors;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void DrawScene(const GlViewPortPtr& view) {
    auto patterns = boost::make_shared<PatternList>();
    patterns->push_back(CachedLine(0, 0, 100, 0));
    auto circle = boost::make_shared<CirclePattern>(Point2D(30, 30), 15.0);
    auto hole = boost::make_shared<RectHolePattern>(Point2D(60, 20), Point2D(90, 40), 0.0);
    for (const IPatternPtr& shape : {IPatternPtr(circle), IPatternPtr(hole)}) {
        shape->UpdateCache();
        patterns->push_back(shape);
    }

    auto loops = boost::make_shared<PatLoopList>();
    loops->push_back(testutil::CachedLoop({CachedLine(10, 60, 90, 60), CachedLine(90, 60, 90, 50)}));

    PatternDrawer(view).DrawPatList(patterns);
    PatternDrawer(view).DrawActivePat(circle);
    SnapPtDrawer(view).DrawPatListCtrlPt(patterns);
    LoopDrawer(view).DrawPatLoopList(loops, Matrix2D());
    LoopDrawer(view).FlagOpenLoops(loops);
}

TEST(DrawRenderSmoke, PngAndSvgCarryTheDrawing) {
    testutil::DisplayColorGuard colors;
    const fs::path dir = fs::temp_directory_path() / ("gf_draw_smoke_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const Rect2D world(0, 100, 0, 60);

    for (const char* name : {"scene.png", "scene.svg"}) {
        auto view = boost::make_shared<CairoViewPort>((dir / name).string(), 320, 200, world);
        DrawScene(view);
        view->Finish();
    }

    const std::string png = ReadFile(dir / "scene.png");
    ASSERT_GT(png.size(), 500u);
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    const PngImage image = PngImage::Load((dir / "scene.png").string());
    EXPECT_EQ(image.GetWidth(), 320);
    EXPECT_GT(image.CountPixelsOtherThan(0xFFFFFF), 500u);
    // Straight strokes are snapped to the pixel grid, so the outline shows its exact colour (bytes in
    // order); the open-end marks are diagonal and only come close to red.
    std::size_t outline = 0, red = 0;
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            const unsigned long pixel = image.GetPixel(x, y);
            outline += pixel == DrawColors::kPat;
            red += DisplayParam::GetRed(pixel) >= 200 && DisplayParam::GetGreen(pixel) <= 80 &&
                   DisplayParam::GetBlue(pixel) <= 80;
        }
    }
    EXPECT_GT(outline, 0u);
    EXPECT_GT(red, 0u);

    const std::string svg = ReadFile(dir / "scene.svg");
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find("</svg>"), std::string::npos);
    EXPECT_GT(svg.size(), 1000u);

    fs::remove_all(dir);
}

}  // namespace
}  // namespace Norvane
