// The DXF reader on inline fixtures: arc sense from bulges and mirrored extrusions, block placement
// (nesting, mirrors, rotation, MINSERT grids, layer and colour inheritance), units, ellipses, splines
// within tolerance, what is skipped and counted, and the error kinds and guards.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <random>
#include <string>

#include <gtest/gtest.h>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/EllipsePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "io/DxfReader.h"
#include "tests/io/DxfFixture.h"
#include "tests/support/GeomExpect.h"

namespace Norvane {
namespace {

using dxftest::Drawing;
using testutil::PointNear;

template <class T>
std::vector<boost::shared_ptr<T>> OfType(const DxfReader::Result& r) {
    std::vector<boost::shared_ptr<T>> out;
    for (const IPatternPtr& p : *r.patterns) {
        if (auto t = boost::dynamic_pointer_cast<T>(p)) {
            out.push_back(t);
        }
    }
    return out;
}

DxfReader::Result ReadOk(const std::string& text, const DxfReader::Options& options = DxfReader::Options()) {
    DxfReader::Result r = DxfReader::ReadText(text, options);
    EXPECT_TRUE(r.Ok()) << r.message;
    return r;
}

// --- Arc sense: a bulge turns counter-clockwise when positive; extrusion (0,0,-1) mirrors x and so
// reverses the sense. The middle of a half-circle bulge on the chord (0,0)-(10,0) shows the side.
struct BulgeRow {
    const char* name;
    double bulge;
    double ez;
    double sweep;
    Point2D middle;
};

void PrintTo(const BulgeRow& row, std::ostream* os) {
    *os << row.name;
}

class BulgeSense : public ::testing::TestWithParam<BulgeRow> {};

TEST_P(BulgeSense, SignAndExtrusionGiveTheArcSense) {
    const BulgeRow& row = GetParam();
    const auto r = ReadOk(Drawing(dxftest::LwPolyline({{0, 0, row.bulge}, {10, 0, 0}}, false, row.ez)));
    const auto arcs = OfType<ArcPattern>(r);
    ASSERT_EQ(arcs.size(), 1u);
    EXPECT_NEAR(arcs[0]->GetMoveAngle(), row.sweep, 1e-12);
    EXPECT_TRUE(PointNear(arcs[0]->GetMiddlePoint(), row.middle, 1e-9));
    EXPECT_TRUE(PointNear(arcs[0]->GetStartPoint(), Point2D(0, 0), 1e-9));  // the polyline's direction kept
}

INSTANTIATE_TEST_SUITE_P(
    Dxf, BulgeSense,
    ::testing::Values(BulgeRow{"PositiveIsCounterClockwise", 1.0, 1.0, MathEx::PI, Point2D(5, -5)},
                      BulgeRow{"NegativeIsClockwise", -1.0, 1.0, -MathEx::PI, Point2D(5, 5)},
                      BulgeRow{"MirroredPositiveIsClockwise", 1.0, -1.0, -MathEx::PI, Point2D(-5, -5)},
                      BulgeRow{"MirroredNegativeIsCounterClockwise", -1.0, -1.0, MathEx::PI, Point2D(-5, 5)},
                      BulgeRow{"QuarterTurn", std::tan(MathEx::PI / 8), 1.0, MathEx::PI / 2,
                               Point2D(5, -5 * (std::sqrt(2.0) - 1))}),
    [](const auto& info) { return std::string(info.param.name); });

// A closed polyline gets its closing edge, with the last vertex's bulge; a zero bulge is a line.
TEST(DxfReader, ClosedPolylineClosesWithTheLastBulge) {
    const auto r =
        ReadOk(Drawing(dxftest::LwPolyline({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 1}}, true)));
    ASSERT_EQ(r.patterns->size(), 4u);
    const auto arcs = OfType<ArcPattern>(r);
    ASSERT_EQ(arcs.size(), 1u);
    EXPECT_TRUE(PointNear(arcs[0]->GetStartPoint(), Point2D(0, 10), 1e-9));
    EXPECT_TRUE(PointNear(arcs[0]->GetEndPoint(), Point2D(0, 0), 1e-9));
    EXPECT_TRUE(PointNear(arcs[0]->GetMiddlePoint(), Point2D(-5, 5), 1e-9));  // bulging out of the square
}

// ARC and CIRCLE in a mirrored OCS: centre x negated, the arc runs clockwise between the mirrored ends.
// A LINE's points are world coordinates and stay as written whatever its extrusion.
TEST(DxfReader, MirroredExtrusionFlipsArcsButNotLines) {
    const std::string line =
        dxftest::Dxf()(0, "LINE")(8, "0")(10, 1.0)(20, 2.0)(11, 3.0)(21, 2.0)(230, -1.0).Str();
    const auto r = ReadOk(Drawing(dxftest::Arc(3, 4, 2, 0, 90, -1) + dxftest::Circle(3, 4, 1, -1) + line));
    const auto arcs = OfType<ArcPattern>(r);
    ASSERT_EQ(arcs.size(), 1u);
    EXPECT_TRUE(PointNear(arcs[0]->GetBasePoint(), Point2D(-3, 4)));
    EXPECT_TRUE(PointNear(arcs[0]->GetStartPoint(), Point2D(-5, 4)));
    EXPECT_TRUE(PointNear(arcs[0]->GetEndPoint(), Point2D(-3, 6)));
    EXPECT_NEAR(arcs[0]->GetMoveAngle(), -MathEx::PI / 2, 1e-12);
    ASSERT_EQ(OfType<CirclePattern>(r).size(), 1u);
    EXPECT_TRUE(PointNear(OfType<CirclePattern>(r)[0]->GetBasePoint(), Point2D(-3, 4)));
    ASSERT_EQ(OfType<LinePattern>(r).size(), 1u);
    EXPECT_TRUE(PointNear(OfType<LinePattern>(r)[0]->GetStartPoint(), Point2D(1, 2)));
}

// Two levels of blocks: LEAF placed in MID mirrored (xscale -1) and turned 90 degrees, MID placed in model
// space scaled 2 and turned 180 degrees. Worked by hand: the line (1,0)-(2,0) lands on (80,52)-(80,54);
// the quarter arc about the origin from (1,0) to (0,1) lands about (80,50) with radius 2, running
// clockwise (one mirror) from (80,52) to (82,50). Entities on layer 0 take the outer INSERT's layer,
// BYBLOCK passes the outer INSERT's colour down through the BYBLOCK inner INSERT, and BYLAYER takes the
// colour of the entity's own layer.
TEST(DxfReader, NestedInsertsComposeMirrorRotationScaleAndInheritance) {
    const std::string leaf = dxftest::Block(
        "LEAF", 0, 0, dxftest::Line(1, 0, 2, 0, "0", 0) + dxftest::Arc(0, 0, 1, 0, 90, 1.0, "ARCS"));
    const std::string mid = dxftest::Block(
        "MID", 0, 0, dxftest::Insert({.block = "LEAF", .x = 10, .sx = -1, .angle = 90, .colour = 0}));
    const std::string model = dxftest::Insert(
        {.block = "mid", .x = 100, .y = 50, .sx = 2, .sy = 2, .angle = 180, .layer = "TOP", .colour = 3});
    const auto r = ReadOk(Drawing(model, leaf + mid, 4, {{"ARCS", 5}, {"TOP", 1}}));

    const auto lines = OfType<LinePattern>(r);
    const auto arcs = OfType<ArcPattern>(r);
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(arcs.size(), 1u);
    EXPECT_TRUE(PointNear(lines[0]->GetStartPoint(), Point2D(80, 52), 1e-9));
    EXPECT_TRUE(PointNear(lines[0]->GetEndPoint(), Point2D(80, 54), 1e-9));
    EXPECT_TRUE(PointNear(arcs[0]->GetBasePoint(), Point2D(80, 50), 1e-9));
    EXPECT_NEAR(arcs[0]->GetRadius(), 2.0, 1e-12);
    EXPECT_TRUE(PointNear(arcs[0]->GetStartPoint(), Point2D(80, 52), 1e-9));
    EXPECT_TRUE(PointNear(arcs[0]->GetEndPoint(), Point2D(82, 50), 1e-9));
    EXPECT_NEAR(arcs[0]->GetMoveAngle(), -MathEx::PI / 2, 1e-12);

    EXPECT_EQ(lines[0]->GetLayerName(), L"TOP");
    EXPECT_EQ(lines[0]->GetColorIndex(), 3);
    EXPECT_EQ(arcs[0]->GetLayerName(), L"ARCS");
    EXPECT_EQ(arcs[0]->GetColorIndex(), 5);
    EXPECT_EQ(r.readCount.at("INSERT"), 2);
}

// A MINSERT grid steps along the insert's rotated axes by unscaled spacings; the block's base point is
// what lands on each grid position.
TEST(DxfReader, MinsertGridPlacesEveryCopy) {
    const std::string hole = dxftest::Block("H", 1, 1, dxftest::Circle(1, 1, 0.5));
    const std::string grid = dxftest::Insert({.block = "H",
                                              .x = 10,
                                              .y = 20,
                                              .sx = 2,
                                              .sy = 2,
                                              .angle = 90,
                                              .cols = 3,
                                              .rows = 2,
                                              .colSpacing = 5,
                                              .rowSpacing = -4});
    const auto r = ReadOk(Drawing(grid, hole));
    const auto circles = OfType<CirclePattern>(r);
    ASSERT_EQ(circles.size(), 6u);
    // Column i, row j at (10, 20) + R90 (5i, -4j) = (10 + 4j, 20 + 5i).
    std::vector<Point2D> expected;
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 3; ++col) {
            expected.emplace_back(10 + 4 * row, 20 + 5 * col);
        }
    }
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_TRUE(PointNear(circles[i]->GetBasePoint(), expected[i], 1e-9)) << i;
        EXPECT_NEAR(circles[i]->GetRadius(), 1.0, 1e-12);
    }
    EXPECT_EQ(r.readCount.at("CIRCLE"), 6);
    EXPECT_EQ(r.readCount.at("INSERT"), 1);
}

// --- Units: the file's $INSUNITS scales to millimetres, an override wins, none means millimetres.
struct UnitRow {
    const char* name;
    int insunits;  // negative: not written
    std::optional<DxfReader::Unit> unitOverride;
    double length;
    DxfReader::UnitSource source;
};

void PrintTo(const UnitRow& row, std::ostream* os) {
    *os << row.name;
}

class Units : public ::testing::TestWithParam<UnitRow> {};

TEST_P(Units, ScaleAndSource) {
    const UnitRow& row = GetParam();
    DxfReader::Options options;
    options.unitOverride = row.unitOverride;
    const auto r = ReadOk(Drawing(dxftest::Line(0, 0, 1, 0), "", row.insunits), options);
    ASSERT_EQ(r.patterns->size(), 1u);
    EXPECT_NEAR(OfType<LinePattern>(r)[0]->GetLength(), row.length, 1e-12);
    EXPECT_EQ(r.unitSource, row.source);
    EXPECT_EQ(r.unitSource == DxfReader::UnitSource::Assumed, !r.warnings.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Dxf, Units,
    ::testing::Values(UnitRow{"Inches", 1, std::nullopt, 25.4, DxfReader::UnitSource::File},
                      UnitRow{"Metres", 6, std::nullopt, 1000.0, DxfReader::UnitSource::File},
                      UnitRow{"NoneIsMillimetres", -1, std::nullopt, 1.0, DxfReader::UnitSource::Assumed},
                      UnitRow{"UnitlessIsMillimetres", 0, std::nullopt, 1.0, DxfReader::UnitSource::Assumed},
                      UnitRow{"OverrideBeatsTheFile", 1, DxfReader::Unit::Centimetre, 10.0,
                              DxfReader::UnitSource::Override},
                      UnitRow{"OverrideFillsAGap", -1, DxfReader::Unit::Inch, 25.4,
                              DxfReader::UnitSource::Override}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DxfReader, UnitNamesParse) {
    EXPECT_EQ(DxfReader::ParseUnit("Inches"), DxfReader::Unit::Inch);
    EXPECT_EQ(DxfReader::ParseUnit("mm"), DxfReader::Unit::Millimetre);
    EXPECT_EQ(DxfReader::ParseUnit("furlong"), std::nullopt);
}

// --- Ellipses: a full one is an EllipsePattern (full axis lengths), a quarter is circular arcs from the
// end of the major axis to the end of the minor one, within the chord tolerance of the true curve; in a
// mirrored extrusion the quarter turns the other way.
TEST(DxfReader, FullEllipseAndEllipticalArc) {
    const auto r = ReadOk(Drawing(dxftest::Ellipse(5, 5, 4, 0, 0.5, 0, MathEx::PI2) +
                                  dxftest::Ellipse(5, 5, 4, 0, 0.5, 0, MathEx::PI / 2) +
                                  dxftest::Ellipse(5, 5, 4, 0, 0.5, 0, MathEx::PI / 2, -1.0)));
    const auto ellipses = OfType<EllipsePattern>(r);
    ASSERT_EQ(ellipses.size(), 1u);
    EXPECT_NEAR(ellipses[0]->GetLength(), 8.0, 1e-12);
    EXPECT_NEAR(ellipses[0]->GetWidth(), 4.0, 1e-12);
    EXPECT_NEAR(ellipses[0]->GetAngle(), 0.0, 1e-12);

    const auto arcs = OfType<ArcPattern>(r);
    ASSERT_GE(arcs.size(), 4u);
    // The arcs of both quarters, in order: the first quarter ends at (5, 7), the mirrored one at (5, 3).
    std::vector<ArcPatternPtr> up, down;
    for (const ArcPatternPtr& a : arcs) {
        (a->GetMiddlePoint().y > 5 ? up : down).push_back(a);
    }
    ASSERT_FALSE(up.empty());
    ASSERT_FALSE(down.empty());
    EXPECT_TRUE(PointNear(up.front()->GetStartPoint(), Point2D(9, 5), 1e-9));
    EXPECT_TRUE(PointNear(up.back()->GetEndPoint(), Point2D(5, 7), 1e-9));
    EXPECT_TRUE(PointNear(down.back()->GetEndPoint(), Point2D(5, 3), 1e-9));
    const double tol = DxfReader::Options().chordTol;
    for (const ArcPatternPtr& a : arcs) {
        for (double f : {0.1, 0.3, 0.5, 0.7, 0.9}) {
            const double angle = a->GetStartAngle() + f * a->GetMoveAngle();
            const Point2D p = a->GetBasePoint() + Vector2D(std::cos(angle), std::sin(angle)) * a->GetRadius();
            // Distance to the ellipse (x-5)^2/16 + (y-5)^2/4 = 1, to first order: |F| / |grad F|.
            const double dx = p.x - 5, dy = p.y - 5;
            const double F = dx * dx / 16 + dy * dy / 4 - 1;
            EXPECT_LE(std::fabs(F) / std::hypot(dx / 8, dy / 2), tol * 1.01);
        }
    }
}

// A circle in a block scaled 2 in x only is an ellipse of axes 4 and 2; a ratio-1 ellipse is a circle.
TEST(DxfReader, NonUniformScaleTurnsCirclesIntoEllipses) {
    const auto r =
        ReadOk(Drawing(dxftest::Insert({.block = "C", .sx = 2}) + dxftest::Ellipse(0, 0, 3, 0, 1.0, 0, 0),
                       dxftest::Block("C", 0, 0, dxftest::Circle(0, 0, 1))));
    const auto ellipses = OfType<EllipsePattern>(r);
    ASSERT_EQ(ellipses.size(), 1u);
    EXPECT_NEAR(ellipses[0]->GetLength(), 4.0, 1e-12);
    EXPECT_NEAR(ellipses[0]->GetWidth(), 2.0, 1e-12);
    ASSERT_EQ(OfType<CirclePattern>(r).size(), 1u);
    EXPECT_NEAR(OfType<CirclePattern>(r)[0]->GetRadius(), 3.0, 1e-12);
}

// --- Splines: a rational quadratic quarter circle of radius 10. Every vertex lies on the circle and no
// chord strays farther than the tolerance; a finer tolerance takes more lines.
std::string QuarterCircleSpline() {
    const double w = std::sqrt(0.5);
    return dxftest::Dxf()(0, "SPLINE")(8, "0")(70, "12")(71, "2")(72, "6")(73, "3")(74, "0")(40, 0.0)(
               40, 0.0)(40, 0.0)(40, 1.0)(40, 1.0)(40, 1.0)(10, 10.0)(20, 0.0)(30, 0.0)(41, 1.0)(10, 10.0)(
               20, 10.0)(30, 0.0)(41, w)(10, 0.0)(20, 10.0)(30, 0.0)(41, 1.0)
        .Str();
}

TEST(DxfReader, SplineStaysWithinTheChordTolerance) {
    std::size_t previous = 0;
    for (double tol : {0.1, 0.01, 0.001}) {
        DxfReader::Options options;
        options.chordTol = tol;
        const auto r = ReadOk(Drawing(QuarterCircleSpline()), options);
        const auto lines = OfType<LinePattern>(r);
        ASSERT_GT(lines.size(), previous);
        previous = lines.size();
        EXPECT_TRUE(PointNear(lines.front()->GetStartPoint(), Point2D(10, 0), 1e-9));
        EXPECT_TRUE(PointNear(lines.back()->GetEndPoint(), Point2D(0, 10), 1e-9));
        for (const LinePatternPtr& l : lines) {
            EXPECT_NEAR(Vector2D(l->GetEndPoint().x, l->GetEndPoint().y).Length(), 10.0, 1e-9);
            const Point2D mid = (l->GetStartPoint() + l->GetEndPoint()) / 2;
            EXPECT_LE(10.0 - Vector2D(mid.x, mid.y).Length(), tol) << tol;
        }
    }
}

// dxflib sizes its arrays from the element counts and reads each line as a C string: a lying count is
// corrected even in a record whose name is followed by a NUL and junk (dxflib sees a SPLINE there).
TEST(DxfReader, LyingCountsAreCorrectedWhateverFollowsANul) {
    std::string spline = QuarterCircleSpline();
    spline.replace(spline.find("SPLINE"), 6, std::string("SPLINE\0\x80junk", 11));
    spline.replace(spline.find("\n72\n6\n"), 6, "\n72\n2000000000\n");
    EXPECT_EQ(OfType<LinePattern>(ReadOk(Drawing(spline))).size(),
              OfType<LinePattern>(ReadOk(Drawing(QuarterCircleSpline()))).size());
}

// A fit-point spline passes through its fit points.
TEST(DxfReader, FitPointSplinePassesThroughItsPoints) {
    const std::vector<Point2D> fit = {{0, 0}, {10, 5}, {20, 0}, {30, 5}};
    dxftest::Dxf d;
    d(0, "SPLINE")(8, "0")(70, "8")(71, "3")(72, "0")(73, "0")(74, "4");
    for (const Point2D& p : fit) {
        d(11, p.x)(21, p.y)(31, 0.0);
    }
    const auto r = ReadOk(Drawing(d.Str()));
    const auto lines = OfType<LinePattern>(r);
    ASSERT_GT(lines.size(), 6u);
    for (const Point2D& p : fit) {
        bool found = false;
        for (const LinePatternPtr& l : lines) {
            found = found || PointNear(l->GetStartPoint(), p, 1e-9) || PointNear(l->GetEndPoint(), p, 1e-9);
        }
        EXPECT_TRUE(found) << testutil::Literal(p);
    }
}

// --- What is skipped: annotation and other kinds are counted by type; entities of the kinds read that
// cannot give sound geometry are refused, each listed once with its handle, the line it starts on and why.
TEST(DxfReader, SkippedEntitiesAreCountedAndRefusedOnesListed) {
    using dxftest::Dxf;
    const std::string entities =
        dxftest::Line(0, 0, 5, 0) + Dxf()(0, "TEXT")(8, "0")(10, 0.0)(20, 0.0)(40, 1.0)(1, "A").Str() +
        Dxf()(0, "MTEXT")(8, "0")(10, 0.0)(20, 0.0)(40, 1.0)(1, "C").Str() +
        Dxf()(0, "LINE")(8, "0")(67, "1")(10, 0.0)(20, 0.0)(11, 1.0)(21, 1.0).Str() +  // paper space
        Dxf()(0, "LINE")(5, "A1")(8, "0")(10, "nan")(20, 0.0)(11, 1.0)(21, 1.0).Str() +
        Dxf()(0, "LINE")(5, "A2")(8, "0")(10, "1e999")(20, 0.0)(11, 1.0)(21, 1.0).Str() +
        Dxf()(0, "LINE")(5, "A3")(8, "0")(10, "2e8")(20, 0.0)(11, 1.0)(21, 1.0).Str() +
        Dxf()(0, "CIRCLE")(5, "A4")(8, "0")(10, 0.0)(20, 0.0)(40, -1.0).Str() +
        Dxf()(0, "INSERT")(5, "A5")(8, "0")(2, "NOWHERE")(10, 0.0)(20, 0.0).Str() + dxftest::Line(3, 3, 3, 3);
    const std::string text = Drawing(entities);
    const auto r = ReadOk(text);
    EXPECT_EQ(r.patterns->size(), 1u);
    EXPECT_EQ(r.skipCount, (std::map<std::string, int>{
                               {"CIRCLE", 1}, {"INSERT", 1}, {"LINE", 5}, {"MTEXT", 1}, {"TEXT", 1}}));
    // Each refusal points at the line of its record; the bad value's own line is named in the reason.
    // The fixtures write the handle right after the type, so a record starts one line before "5".
    auto lineOf = [&text](const std::string& handle) {
        const auto at = static_cast<long>(text.find("\n5\n" + handle + "\n"));
        return static_cast<long>(std::count(text.begin(), text.begin() + at, '\n'));
    };
    struct Expected {
        const char* handle;
        const char* reason;
    };
    const Expected expected[] = {
        {"A1", "value 'nan' (group 10, line "},   {"A2", "value '1e999' (group 10, line "},
        {"A3", "lies beyond the range"},          {"A4", "radius -1 is not positive"},
        {"A5", "block 'NOWHERE' is not defined"}, {"", "zero length"}};
    ASSERT_EQ(r.refused.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const DxfReader::Refusal& refusal = r.refused[i];
        EXPECT_EQ(refusal.handle, expected[i].handle);
        EXPECT_NE(refusal.reason.find(expected[i].reason), std::string::npos) << refusal.reason;
        if (*expected[i].handle) {
            EXPECT_EQ(refusal.line, lineOf(expected[i].handle)) << expected[i].handle;
        }
    }
    // The bad value of A1 sits four lines below its record's start: 0/LINE/5/A1/8/0/10/nan.
    EXPECT_NE(r.refused[0].reason.find("line " + std::to_string(lineOf("A1") + 7) + ")"), std::string::npos)
        << r.refused[0].reason;
    EXPECT_EQ(DxfReader::Describe("LINE", "A1", 12), "LINE (handle A1, line 12)");
    EXPECT_EQ(DxfReader::Describe("LINE", "", 12), "LINE at line 12");

    // An entity of a block inserted three times is listed once, with its three placements.
    const auto placed =
        ReadOk(Drawing(dxftest::Insert({.block = "B", .cols = 3, .colSpacing = 2}),
                       dxftest::Block("B", 0, 0, dxftest::Line(0, 0, 1, 0) + dxftest::Circle(0, 0, 0))));
    ASSERT_EQ(placed.refused.size(), 1u);
    EXPECT_EQ(placed.refused[0].count, 3);
}

// A decimal-comma file is read as decimals, with a warning.
TEST(DxfReader, DecimalCommasAreReadWithAWarning) {
    const std::string line = dxftest::Dxf()(0, "LINE")(8, "0")(10, "0,5")(20, "0")(11, "2,5")(21, "0").Str();
    const auto r = ReadOk(Drawing(line));
    ASSERT_EQ(r.patterns->size(), 1u);
    EXPECT_NEAR(OfType<LinePattern>(r)[0]->GetLength(), 2.0, 1e-12);
    EXPECT_EQ(r.warnings.size(), 1u);
}

// --- Damaged and truncated files fail the read; with salvage the rest is read and what was wrong is
// said. A file cut inside a record loses that record (a CIRCLE without its radius would read as radius
// 1), and a file cut among a POLYLINE's vertices loses the whole polyline.
struct CutRow {
    const char* name;
    std::string text;
    DxfReader::ErrorKind kind;
    const char* message;      // part of the message of the strict read
    std::size_t salvaged;     // patterns of the salvaging read
    const char* salvageNote;  // part of Result::salvaged
};

void PrintTo(const CutRow& row, std::ostream* os) {
    *os << row.name;
}

class DamagedFiles : public ::testing::TestWithParam<CutRow> {};

TEST_P(DamagedFiles, FailUnlessSalvaged) {
    const CutRow& row = GetParam();
    const auto strict = DxfReader::ReadText(row.text);
    EXPECT_EQ(strict.error, row.kind);
    EXPECT_NE(strict.message.find(row.message), std::string::npos) << strict.message;
    DxfReader::Options options;
    options.salvage = true;
    const auto salvaged = ReadOk(row.text, options);
    EXPECT_EQ(salvaged.patterns->size(), row.salvaged);
    EXPECT_NE(salvaged.salvaged.find(row.salvageNote), std::string::npos) << salvaged.salvaged;
    for (const auto& circle : OfType<CirclePattern>(salvaged)) {
        EXPECT_EQ(circle->GetRadius(), 10.0);  // never a default filled in for a lost value
    }
}

const std::string kTwoCircles =
    "0\nSECTION\n2\nENTITIES\n" + dxftest::Circle(0, 0, 10) + dxftest::Circle(50, 0, 10);
const std::string kPolyline =
    "0\nPOLYLINE\n8\n0\n66\n1\n70\n0\n0\nVERTEX\n8\n0\n10\n0\n20\n0\n0\nVERTEX\n8\n0\n10\n"
    "5\n20\n0\n0\nVERTEX\n8\n0\n10\n5\n20\n5\n";

INSTANTIATE_TEST_SUITE_P(
    Dxf, DamagedFiles,
    ::testing::Values(
        // Cut after the group code of the second circle's radius (line 25): its value is lost.
        CutRow{"CutInsideTheLastCircle", kTwoCircles.substr(0, kTwoCircles.rfind("10\n")),
               DxfReader::ErrorKind::Truncated, "the file ends inside ENTITIES at line 25: no EOF", 1,
               "the CIRCLE at line 17, cut off by the end of the file, was left out"},
        CutRow{"CutAmongPolylineVertices",
               "0\nSECTION\n2\nENTITIES\n" + dxftest::Circle(0, 0, 10) + kPolyline,
               DxfReader::ErrorKind::Truncated, "inside ENTITIES", 1, "the POLYLINE at line 17"},
        CutRow{"CutBetweenSections", "0\nSECTION\n2\nENTITIES\n" + dxftest::Circle(0, 0, 10) + "0\nENDSEC\n",
               DxfReader::ErrorKind::Truncated, "the file ends after the ENTITIES section at line 18: no EOF",
               1, "after the ENTITIES section"},
        CutRow{"DamagedRecord",
               Drawing(dxftest::Circle(0, 0, 10) + dxftest::Line(0, 0, 1, 0) + "10\n5\ngarbage\n" +
                       dxftest::Circle(5, 5, 10)),
               DxfReader::ErrorKind::Damaged, "'garbage' is not a group code", 2,
               "damaged records were left out"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Errors.
struct ErrorRow {
    const char* name;
    std::string text;
    DxfReader::ErrorKind kind;
};

void PrintTo(const ErrorRow& row, std::ostream* os) {
    *os << row.name;
}

class Errors : public ::testing::TestWithParam<ErrorRow> {};

TEST_P(Errors, KindAndMessage) {
    const auto r = DxfReader::ReadText(GetParam().text);
    EXPECT_EQ(r.error, GetParam().kind);
    EXPECT_FALSE(r.message.empty());
    EXPECT_TRUE(r.patterns && r.patterns->empty());
}

INSTANTIATE_TEST_SUITE_P(
    Dxf, Errors,
    ::testing::Values(ErrorRow{"Empty", "", DxfReader::ErrorKind::NotDxf},
                      ErrorRow{"Blank", "  \n\n", DxfReader::ErrorKind::NotDxf},
                      ErrorRow{"Prose", "This is not a drawing.\nNot at all.\n",
                               DxfReader::ErrorKind::NotDxf},
                      ErrorRow{"Binary", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + "\x00\x01",
                               DxfReader::ErrorKind::BinaryDxf},
                      ErrorRow{"OnlyAnnotation", Drawing(dxftest::Dxf()(0, "TEXT")(8, "0")(1, "x").Str()),
                               DxfReader::ErrorKind::EmptyDrawing},
                      ErrorRow{"NoEntitiesSection", "0\nSECTION\n2\nHEADER\n0\nENDSEC\n0\nEOF\n",
                               DxfReader::ErrorKind::EmptyDrawing},
                      ErrorRow{"CutInHeader", "0\nSECTION\n2\nHEADER\n9\n$INSUNITS\n70\n",
                               DxfReader::ErrorKind::Truncated}),
    [](const auto& info) { return std::string(info.param.name); });

// A drawing whose only entity is refused says which entity and why, like any drawing without geometry.
TEST(DxfReader, NothingLeftNamesTheRefusedEntity) {
    const auto r = DxfReader::ReadText(
        Drawing(dxftest::Dxf()(0, "LINE")(5, "1F")(8, "0")(10, "nan")(20, 0.0)(11, 1.0)(21, 1.0).Str()));
    EXPECT_EQ(r.error, DxfReader::ErrorKind::EmptyDrawing);
    EXPECT_EQ(r.message.rfind("no geometry to import: LINE (handle 1F, line ", 0), 0u) << r.message;
    EXPECT_NE(r.message.find("'nan'"), std::string::npos) << r.message;
}

TEST(DxfReader, MissingFileAndDirectory) {
    EXPECT_EQ(DxfReader::Read("/nonexistent/part.dxf").error, DxfReader::ErrorKind::MissingFile);
    EXPECT_EQ(DxfReader::Read(std::filesystem::temp_directory_path().string()).error,
              DxfReader::ErrorKind::MissingFile);
    const std::string path =
        (std::filesystem::temp_directory_path() / ("gf_io_reader_test_" + std::to_string(::getpid()) + ".dxf"))
            .string();
    std::ofstream(path) << Drawing(dxftest::Line(0, 0, 1, 0));
    const auto r = DxfReader::Read(path);
    EXPECT_TRUE(r.Ok());
    std::filesystem::remove(path);
    // Reading a file the kernel cannot deliver is an I/O error, not bad data.
    if (std::filesystem::is_regular_file("/proc/self/mem")) {
        EXPECT_EQ(DxfReader::Read("/proc/self/mem").error, DxfReader::ErrorKind::ReadFailed);
    }
}

// --- Guards: a drawing that would pass the pattern limit fails fast, naming the entity; self-inserting
// and over-deep blocks are refused instead of recursing; geometry placed beyond the kernel's range is
// refused.
TEST(DxfReader, ExpansionGuards) {
    const std::string hole = dxftest::Block("H", 0, 0, dxftest::Circle(0, 0, 1));
    const auto huge = DxfReader::ReadText(Drawing(
        dxftest::Insert({.block = "H", .cols = 100000, .rows = 100000, .colSpacing = 3, .rowSpacing = 3}),
        hole));
    EXPECT_EQ(huge.error, DxfReader::ErrorKind::TooLarge);
    EXPECT_NE(huge.message.find("INSERT of a 100000 x 100000 grid of block 'H' at line "), std::string::npos)
        << huge.message;
    EXPECT_NE(huge.message.find("expands to 10000000000 pieces, more than the limit of 2000000"),
              std::string::npos)
        << huge.message;

    // Many small entities: the one with which the limit is passed is named.
    DxfReader::Options small;
    small.maxPatterns = 3;
    std::string four;
    for (int i = 0; i < 4; ++i) {
        four += dxftest::Dxf()(0, "LINE")(5, "L" + std::to_string(i))(8, "0")(10, 0.0)(20, i)(11, 1.0)(21, i)
                    .Str();
    }
    const auto many = DxfReader::ReadText(Drawing(four), small);
    EXPECT_EQ(many.error, DxfReader::ErrorKind::TooLarge);
    EXPECT_NE(many.message.find("the limit is passed at LINE (handle L3"), std::string::npos) << many.message;

    const std::string selfish =
        dxftest::Block("S", 0, 0, dxftest::Line(0, 0, 1, 0) + dxftest::Insert({.block = "S", .x = 1}));
    const auto r = ReadOk(Drawing(dxftest::Insert({.block = "S"}), selfish));
    EXPECT_EQ(r.patterns->size(), 1u);
    EXPECT_EQ(r.skipCount.at("INSERT"), 1);

    std::string chain;
    for (int i = 0; i < 30; ++i) {
        chain += dxftest::Block(
            "B" + std::to_string(i), 0, 0,
            dxftest::Line(0, 0, 1, 0) + dxftest::Insert({.block = "B" + std::to_string(i + 1)}));
    }
    const auto deep = ReadOk(Drawing(dxftest::Insert({.block = "B0"}), chain));
    EXPECT_EQ(static_cast<int>(deep.patterns->size()), DxfReader::Options().maxInsertDepth);
    EXPECT_FALSE(deep.refused.empty());

    // A bulge of 1e-8 over 4 mm is an arc whose centre lies 1e8 away: within its sagitta of 2e-8 it is a
    // line, which is what is read, so that a saved part never holds a centre beyond the range.
    const auto flat = ReadOk(Drawing(dxftest::LwPolyline({{10, 20, 1e-8}, {14, 20, 0}}, false)));
    ASSERT_EQ(OfType<LinePattern>(flat).size(), 1u);
    EXPECT_TRUE(PointNear(OfType<LinePattern>(flat)[0]->GetEndPoint(), Point2D(14, 20), 1e-9));

    // Scales that are each in range can still place geometry beyond it.
    const auto far =
        ReadOk(Drawing(dxftest::Insert({.block = "F", .sx = 1e5, .sy = 1e5}) + dxftest::Line(0, 0, 1, 0),
                       dxftest::Block("F", 0, 0, dxftest::Circle(5e4, 0, 1))));
    ASSERT_EQ(far.refused.size(), 1u);
    EXPECT_NE(far.refused[0].reason.find("beyond the range"), std::string::npos) << far.refused[0].reason;
}

// --- Bounded curves: however small the chord tolerance, a curve gets at most a few thousand pieces per
// turn (the tolerance is bounded below relative to the curve's size), and a spline's straight spans cost
// one chord each.
TEST(DxfReader, CurvePieceCountsAreBounded) {
    DxfReader::Options fine;
    fine.chordTol = 1e-12;
    // An elliptical arc of half a turn on a 1 m ellipse.
    const auto ellipse = ReadOk(Drawing(dxftest::Ellipse(0, 0, 500, 0, 0.5, 0, MathEx::PI)), fine);
    EXPECT_GT(ellipse.patterns->size(), 2u);
    EXPECT_LE(ellipse.patterns->size(), 4096u);
    const auto spline = ReadOk(Drawing(QuarterCircleSpline()), fine);
    EXPECT_LE(spline.patterns->size(), 2500u);  // a quarter turn

    // A cubic spline through 4000 control points on a straight line.
    dxftest::Dxf d;
    const int n = 4000;
    d(0, "SPLINE")(8, "0")(70, "8")(71, "3");
    for (int i = 0; i < n + 4; ++i) {
        d(40, static_cast<double>(std::clamp(i - 3, 0, n - 3)));
    }
    for (int i = 0; i < n; ++i) {
        d(10, i * 0.5)(20, i * 0.25)(30, 0.0);
    }
    const auto straight = ReadOk(Drawing(d.Str()));
    EXPECT_LE(straight.patterns->size(), static_cast<std::size_t>(n - 3));
}

// Seeded random cubic splines whose spans range from straight to curved: every point of the true curve
// (by de Boor, sampled densely) lies within the chord tolerance of the lines read, whether a span was
// proved flat from its control points or refined by bisection.
TEST(DxfReader, SplineChordsStayWithinToleranceOnRandomSplines) {
    std::mt19937 rng(15);
    const double tol = 0.01;
    for (int trial = 0; trial < 20; ++trial) {
        const int n = 12;
        std::vector<Point2D> ctrl;
        const double wiggle = std::uniform_real_distribution<>(0.0, 0.05)(rng) * (trial % 3);
        for (int i = 0; i < n; ++i) {
            ctrl.emplace_back(i * 2.0 + std::uniform_real_distribution<>(-wiggle, wiggle)(rng),
                              0.3 * i + std::uniform_real_distribution<>(-wiggle, wiggle)(rng));
        }
        std::vector<double> knots;
        for (int i = 0; i < n + 4; ++i) knots.push_back(std::clamp(i - 3, 0, n - 3));
        dxftest::Dxf d;
        d(0, "SPLINE")(8, "0")(70, "8")(71, "3");
        for (double k : knots) d(40, k);
        for (const Point2D& p : ctrl) d(10, p.x)(20, p.y)(30, 0.0);
        DxfReader::Options options;
        options.chordTol = tol;
        const auto lines = OfType<LinePattern>(ReadOk(Drawing(d.Str()), options));
        ASSERT_FALSE(lines.empty());
        // De Boor on the clamped uniform cubic.
        auto at = [&](double t) {
            int k = std::clamp(static_cast<int>(std::floor(t)) + 3, 3, n - 1);
            std::vector<Point2D> q(ctrl.begin() + k - 3, ctrl.begin() + k + 1);
            for (int r = 1; r <= 3; ++r) {
                for (int j = 3; j >= r; --j) {
                    const int i = k - 3 + j;
                    const double a = (t - knots[i]) / (knots[i + 4 - r] - knots[i]);
                    q[j] = Point2D(q[j - 1].x * (1 - a) + q[j].x * a, q[j - 1].y * (1 - a) + q[j].y * a);
                }
            }
            return q[3];
        };
        for (int s = 0; s <= 4000; ++s) {
            const Point2D p = at((n - 3) * s / 4000.0);
            double nearest = 1e300;
            for (const LinePatternPtr& l : lines) {
                const Point2D a = l->GetStartPoint();
                const Vector2D ab(a, l->GetEndPoint());
                const double f = std::clamp(Vector2D(a, p).DotProduct(ab) / ab.DotProduct(ab), 0.0, 1.0);
                nearest = std::min(nearest, (a + ab * f).DistanceTo(p));
            }
            ASSERT_LE(nearest, tol + 1e-9) << "trial " << trial << " at " << testutil::Literal(p);
        }
    }
}

// Progress rises from 0 to 1 through the reading.
TEST(DxfReader, ProgressRisesToTheEnd) {
    std::vector<double> seen;
    DxfReader::Options options;
    options.progress = [&seen](const std::string& stage, double f) {
        EXPECT_FALSE(stage.empty());
        seen.push_back(f);
    };
    std::string lines;
    for (int i = 0; i < 20000; ++i) {
        lines += dxftest::Line(i, 0, i, 1);
    }
    ReadOk(Drawing(lines), options);
    ASSERT_GE(seen.size(), 3u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), 1.0);
}

}  // namespace
}  // namespace Norvane
