// Writing patterns as DXF and reading them back: plain elements keep their geometry, standard shapes come
// back as their outlines, layers follow the caller's function, colours survive, seeds are left out.
#include <sstream>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/OBroundPattern.h"
#include "io/DxfReader.h"
#include "io/DxfWriter.h"
#include "tests/support/GeomExpect.h"

namespace Norvane {
namespace {

using testutil::PointNear;

PatternListPtr SamplePatterns() {
    auto list = boost::make_shared<PatternList>();
    auto line = boost::make_shared<LinePattern>(Point2D(0, 0), Point2D(100, 0));
    line->SetColorIndex(3);
    list->push_back(line);
    // Clockwise: written from its end, so it reads back counter-clockwise over the same points.
    list->push_back(boost::make_shared<ArcPattern>(Point2D(50, 50), 10.0, MathEx::PI / 2, -MathEx::PI / 2));
    list->push_back(boost::make_shared<CirclePattern>(Point2D(20, 20), 4.0));
    list->push_back(boost::make_shared<OBroundPattern>(Point2D(70, 20), 0.0, 10.0, 4.0));
    for (const IPatternPtr& p : *list) {
        p->SetLayerName(L"PART");
        p->UpdateCache();
    }
    return list;
}

double TotalLength(const PatternList& list) {
    double total = 0.0;
    for (const IPatternPtr& p : list) {
        total += p->CalcBaseGeomList()->GetTotalLength();
    }
    return total;
}

TEST(DxfWriter, RoundTripKeepsGeometryLayersAndColours) {
    const PatternListPtr patterns = SamplePatterns();
    DxfWriter::Options options;
    options.layerOf = [](const IPatternPtr& p) {
        return p->IsStdPat() ? std::wstring(L"HOLE") : std::wstring(L"OUTER");
    };
    std::stringstream out;
    const DxfWriter::Result written = DxfWriter::Write(*patterns, out, options);
    ASSERT_TRUE(written.Ok()) << written.message;
    EXPECT_EQ(written.entityCount, 1 + 1 + 1 + 4);  // the obround as arc, line, arc, line

    const DxfReader::Result r = DxfReader::ReadText(out.str());
    ASSERT_TRUE(r.Ok()) << r.message;
    EXPECT_EQ(r.unitSource, DxfReader::UnitSource::File);
    EXPECT_EQ(r.readCount, (std::map<std::string, int>{{"ARC", 3}, {"CIRCLE", 1}, {"LINE", 3}}));
    EXPECT_NEAR(TotalLength(*r.patterns), TotalLength(*patterns), 1e-9);

    const auto line = boost::dynamic_pointer_cast<LinePattern>(r.patterns->at(0));
    ASSERT_TRUE(line);
    EXPECT_EQ(line->GetColorIndex(), 3);
    EXPECT_EQ(line->GetLayerName(), L"OUTER");
    const auto arc = boost::dynamic_pointer_cast<ArcPattern>(r.patterns->at(1));
    ASSERT_TRUE(arc);
    EXPECT_TRUE(PointNear(arc->GetStartPoint(), Point2D(60, 50), 1e-9));
    EXPECT_TRUE(PointNear(arc->GetEndPoint(), Point2D(50, 60), 1e-9));
    EXPECT_NEAR(arc->GetMoveAngle(), MathEx::PI / 2, 1e-12);
    EXPECT_EQ(r.patterns->at(2)->GetPatternType(), PAT_CIRCLE);
    EXPECT_EQ(r.patterns->at(2)->GetLayerName(), L"HOLE");
    EXPECT_EQ(r.patterns->at(2)->GetColorIndex(), 7);  // no colour of its own: BYLAYER, layer colour 7
    for (std::size_t i = 3; i < r.patterns->size(); ++i) {
        EXPECT_EQ(r.patterns->at(i)->GetLayerName(), L"HOLE");
    }
}

// Without a layer function the pattern's own layer is used; an unnamed layer and forbidden characters
// still give a legal layer name.
TEST(DxfWriter, DefaultLayerNames) {
    PatternList list;
    auto a = boost::make_shared<LinePattern>(Point2D(0, 0), Point2D(1, 0));
    auto b = boost::make_shared<LinePattern>(Point2D(0, 1), Point2D(1, 1));
    b->SetLayerName(L"CUT/2");
    list.push_back(a);
    list.push_back(b);
    std::stringstream out;
    ASSERT_TRUE(DxfWriter::Write(list, out).Ok());
    const DxfReader::Result r = DxfReader::ReadText(out.str());
    ASSERT_TRUE(r.Ok()) << r.message;
    EXPECT_EQ(r.patterns->at(0)->GetLayerName(), L"0");
    EXPECT_EQ(r.patterns->at(1)->GetLayerName(), L"CUT_2");
}

TEST(DxfWriter, UnwritablePathFails) {
    const DxfWriter::Result r = DxfWriter::WriteFile(*SamplePatterns(), "/nonexistent/dir/out.dxf");
    EXPECT_FALSE(r.Ok());
    EXPECT_FALSE(r.message.empty());
}

}  // namespace
}  // namespace Norvane
