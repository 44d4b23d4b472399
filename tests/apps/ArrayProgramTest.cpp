// geomfeature import with arrays and --optimize, run as a person runs it: a generated part of rows, grids
// and rings of holes goes through import, save, info and export, and every hole drawn comes out exactly once.
#include <cmath>
#include <filesystem>
#include <string>

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/OBroundPattern.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/RectHolePattern.h"
#include "io/DxfReader.h"
#include "io/DxfWriter.h"
#include "tests/apps/ProgramRunner.h"
#include "tests/support/OutlineMetrics.h"

namespace Norvane {
namespace {

namespace fs = std::filesystem;

constexpr double kPi = 3.14159265358979323846;

class ArrayProgramTest : public programtest::ProgramTest {};

Geom2DList OutlineOf(const PatternList& patterns) {
    Geom2DList outline;
    for (const IPatternPtr& p : patterns) {
        p->UpdateCache();
        outline.Append(*p->GetCacheData()->GetBaseGeom());
    }
    return outline;
}

// A plate with a 4 x 3 grid of circles, a row of 5 obrounds, a ring of 8 rectangles and two lone holes.
PatternListPtr GeneratedPart() {
    auto part = boost::make_shared<PatternList>();
    const Point2D plate[] = {{0, 0}, {200, 0}, {200, 120}, {0, 120}};
    for (int i = 0; i < 4; ++i) part->push_back(boost::make_shared<LinePattern>(plate[i], plate[(i + 1) % 4]));
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 3; ++j) part->push_back(boost::make_shared<CirclePattern>(Point2D(15 + 12.5 * i, 15 + 20.0 * j), 3.0));
    for (int i = 0; i < 5; ++i)
        part->push_back(boost::make_shared<OBroundPattern>(Point2D(90 + 20.0 * i, 105), 0.3, 8.0, 4.0));
    for (int k = 0; k < 8; ++k) {
        const double a = kPi * k / 4;
        part->push_back(boost::make_shared<RectHolePattern>(
            Point2D(130 + 30 * std::cos(a) - 2, 50 + 30 * std::sin(a) - 1.5), Vector2D(4, 0), 0.75));
    }
    part->push_back(boost::make_shared<CirclePattern>(Point2D(80, 60), 5.0));
    part->push_back(boost::make_shared<OBroundPattern>(Point2D(80, 20), 0.0, 10.0, 4.0));
    part->UpdateCache();
    return part;
}

// Import, save, info, export: the arrays are listed by kind with their copies, and the exported drawing
// traces every hole drawn exactly once, with arrays or without.
TEST_F(ArrayProgramTest, ArraysSurviveSaveInfoAndExport) {
    const PatternListPtr drawn = GeneratedPart();
    ASSERT_TRUE(DxfWriter::WriteFile(*drawn, In("part.dxf")).Ok());
    const Geom2DList drawnOutline = OutlineOf(*drawn);

    for (const bool arrays : {true, false}) {
        SCOPED_TRACE(arrays ? "arrays" : "--no-arrays");
        ASSERT_EQ(Run("import " + In("part.dxf") + " -o " + In("part.db") + " --json -q --force" +
                          (arrays ? "" : " --no-arrays")),
                  0);
        const nlohmann::json imported = nlohmann::json::parse(out);
        if (arrays) {
            EXPECT_EQ(imported["arrays"]["grid-array"]["copies"], 12);
            EXPECT_EQ(imported["arrays"]["line-array"]["copies"], 5);
            EXPECT_EQ(imported["arrays"]["circle-array"]["copies"], 8);
            EXPECT_EQ(imported["arrays"].size(), 3u);
            EXPECT_EQ(imported["cleanup"]["arrays"]["copies"], 25);
            EXPECT_EQ(imported["loops"]["standard"], 3);  // the plate and the two lone holes
        } else {
            EXPECT_TRUE(imported["arrays"].empty());
            EXPECT_EQ(imported["loops"]["standard"], 28);
        }
        EXPECT_EQ(imported["cleanup"]["duplicate_loops_removed"], 0);

        ASSERT_EQ(Run("info " + In("part.db") + " --json"), 0);
        const nlohmann::json info = nlohmann::json::parse(out);
        EXPECT_EQ(info["arrays"], imported["arrays"]);
        EXPECT_EQ(info["loops"], imported["loops"]);

        ASSERT_EQ(Run("export " + In("part.db") + " -o " + In("clean.dxf") + " --force"), 0);
        const DxfReader::Result exported = DxfReader::Read(In("clean.dxf"));
        ASSERT_TRUE(exported.Ok()) << exported.message;
        const Geom2DList exportedOutline = OutlineOf(*exported.patterns);
        EXPECT_EQ(exportedOutline.size(), drawnOutline.size());
        EXPECT_TRUE(testutil::SameCurve(exportedOutline, drawnOutline, 1e-6));
        ASSERT_EQ(Run("render " + In("part.db") + " -o " + In("part.png") + " --force"), 0);
    }
}

// --optimize recognises a circle drawn as 72 chords; without it the chords stay a polygon. A tolerance
// that is no positive number is a usage error.
TEST_F(ArrayProgramTest, OptimizeRecognisesAChordedCircle) {
    auto drawn = boost::make_shared<PatternList>();
    const Point2D plate[] = {{0, 0}, {50, 0}, {50, 50}, {0, 50}};
    for (int i = 0; i < 4; ++i) drawn->push_back(boost::make_shared<LinePattern>(plate[i], plate[(i + 1) % 4]));
    const auto at = [](int i) { return Point2D(25 + 10 * std::cos(kPi * i / 36), 25 + 10 * std::sin(kPi * i / 36)); };
    for (int i = 0; i < 72; ++i) drawn->push_back(boost::make_shared<LinePattern>(at(i), at(i + 1)));
    drawn->UpdateCache();
    ASSERT_TRUE(DxfWriter::WriteFile(*drawn, In("chords.dxf")).Ok());

    ASSERT_EQ(Run("import " + In("chords.dxf") + " -o " + In("a.db") + " --json -q"), 0);
    EXPECT_EQ(nlohmann::json::parse(out)["loops"]["standard"], 1);  // the plate only
    ASSERT_EQ(Run("import " + In("chords.dxf") + " -o " + In("b.db") + " --json -q --optimize=0.05"), 0);
    const nlohmann::json j = nlohmann::json::parse(out);
    EXPECT_EQ(j["patterns"]["by_type"]["circle"], 1);
    EXPECT_EQ(j["cleanup"]["optimize"]["pieces_removed"], 71);
    EXPECT_EQ(j["cleanup"]["optimize"]["tolerance"], 0.05);
    for (const char* bad : {"--optimize=0", "--optimize=-1", "--optimize=x"})
        EXPECT_EQ(Run("import " + In("chords.dxf") + " -o " + In("c.db") + " -q " + bad), 64) << bad;
}

}  // namespace
}  // namespace Norvane
