// Behaviour shared by every pattern (PatternBase, StdPatternBase): the cache, locating and snapping on the
// cached outline, relations to a controlling array, cloning, visiting, and the layout of every pattern's
// property list. A probe pattern whose outline
// and snap points the test sets directly pins the base rules without relying on a concrete shape.
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <boost/enable_shared_from_this.hpp>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/appframe/DataPropItem.h"
#include "geomFeature/host/appframe/DataProperty.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/DoubleDPattern.h"
#include "geomFeature/pattern/EllipsePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/OBroundPattern.h"
#include "geomFeature/pattern/PatRelation.h"
#include "geomFeature/pattern/PatRelationList.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/PatternPropID.h"
#include "geomFeature/pattern/RCHolePattern.h"
#include "geomFeature/pattern/RadSlotPattern.h"
#include "geomFeature/pattern/RectHolePattern.h"
#include "geomFeature/pattern/SingleDPattern.h"
#include "geomFeature/pattern/StdPatternBase.h"
#include "geomFeature/pattern/TRHolePattern.h"
#include "tests/support/RecordingPatternVisitor.h"

namespace Norvane {
namespace {

// A line that claims a fixed kernel fraction for every point, to probe the on-element threshold.
class FractionLine : public Line2D {
public:
    FractionLine(const Point2D& s, const Point2D& e, double fraction) : Line2D(s, e), m_fraction(fraction) {}
    double GetPercentOfPoint(const Point2D& /*p*/, double /*tol*/) const override { return m_fraction; }

private:
    double m_fraction;
};

// A standard-shape pattern whose outline and snap points are whatever the test puts in.
class ProbePattern : public StdPatternBase, public boost::enable_shared_from_this<ProbePattern> {
public:
    std::vector<IGeom2DPtr> outline;
    std::vector<Point2D> snaps;

    tagPatternType GetPatternType() const override { return PAT_CIRCLE; }
    void GetSnapPoints(Point2DList& points) const override {
        for (const Point2D& p : snaps) points.push_back(p);
    }
    void UpdateFrom(const IPatternPtr& /*other*/) override {}
    Geom2DListPtr CalcBaseGeomList() const override {
        auto list = boost::make_shared<Geom2DList>();
        for (const IGeom2DPtr& g : outline) list->push_back(g);
        return list;
    }
    void Accept(const IPatternVisitorPtr& /*visitor*/) override {}
    int OffsetStdPat(int /*direction*/, double /*distance*/) override { return 0; }
    IDataPtr Clone() const override { return boost::make_shared<ProbePattern>(*this); }
};

IGeom2DPtr Seg(double x1, double y1, double x2, double y2) {
    return boost::make_shared<Line2D>(Point2D(x1, y1), Point2D(x2, y2));
}

// Two segments meeting at (10, 0): (0,0)-(10,0) then (10,0)-(10,10).
boost::shared_ptr<ProbePattern> MakeCorner() {
    auto p = boost::make_shared<ProbePattern>();
    p->outline = {Seg(0, 0, 10, 0), Seg(10, 0, 10, 10)};
    p->UpdateCache();
    return p;
}

TEST(PatternCore, CacheIsOnlyRefreshedOnRequest) {
    auto line = boost::make_shared<LinePattern>(Point2D(0, 0), Point2D(10, 0));
    EXPECT_FALSE(line->GetCacheData()->GetBaseGeom());  // a fresh cache has no list at all
    line->UpdateCache();

    Matrix2D up;
    up.SetTransfer(Vector2D(0, 5));
    line->Transform(up);

    // Stale: box, positions and closest points still describe the old place.
    const Rect2D old = line->GetCacheData()->GetRect();
    EXPECT_EQ(old, Rect2D(0, 10, 0, 0));
    PatPosition second;
    EXPECT_EQ(line->GetPatPosByPoint(Point2D(4, 0), second).GetIndex(), 0);
    EXPECT_EQ(line->GetClosestPt(Point2D(4, 9), Matrix2D()), Point2D(4, 0));

    line->UpdateCache();
    EXPECT_EQ(line->GetCacheData()->GetRect(), Rect2D(0, 10, 5, 5));
    EXPECT_EQ(line->GetPatPosByPoint(Point2D(4, 0), second).GetIndex(), -1);
    EXPECT_EQ(line->GetClosestPt(Point2D(4, 9), Matrix2D()), Point2D(4, 5));
}

TEST(PatternCore, BoxStartsFromFirstElementNotOrigin) {
    auto p = boost::make_shared<ProbePattern>();
    p->outline = {Seg(5, 5, 6, 6), Seg(7, 3, 8, 4)};
    p->UpdateCache();
    EXPECT_EQ(p->GetCacheData()->GetRect(), Rect2D(5, 8, 3, 6));

    p->outline.clear();
    p->SetBasePoint(Point2D(20, 20));
    p->UpdateCache();
    EXPECT_EQ(p->GetCacheData()->GetRect(), Rect2D(0, 0, 0, 0));
    ASSERT_TRUE(p->GetCacheData()->GetBaseGeom());
    EXPECT_TRUE(p->GetCacheData()->GetBaseGeom()->empty());
}

TEST(PatternCore, PatPosAtJointNamesEarlierElementAndSecondTheLater) {
    auto p = MakeCorner();
    PatPosition second(7, 0.25);
    const PatPosition first = p->GetPatPosByPoint(Point2D(10, 0), second);
    EXPECT_EQ(first.GetIndex(), 0);
    EXPECT_DOUBLE_EQ(first.GetPercent(), 1.0);
    EXPECT_EQ(second.GetIndex(), 1);
    EXPECT_DOUBLE_EQ(second.GetPercent(), 0.0);
    EXPECT_EQ(p->GetPointByPatPos(second), Point2D(10, 0));
}

TEST(PatternCore, PatPosOffOrOnOneElementLeavesSecondAlone) {
    auto p = MakeCorner();
    PatPosition second(7, 0.25);
    const PatPosition off = p->GetPatPosByPoint(Point2D(5, 3), second);
    EXPECT_EQ(off.GetIndex(), -1);
    EXPECT_EQ(off.GetPercent(), 0.0);
    const PatPosition on = p->GetPatPosByPoint(Point2D(5, 0), second);
    EXPECT_EQ(on.GetIndex(), 0);
    EXPECT_DOUBLE_EQ(on.GetPercent(), 0.5);
    EXPECT_EQ(second.GetIndex(), 7);
    EXPECT_EQ(second.GetPercent(), 0.25);
}

struct FractionCase {
    const char* name;
    double fraction;
    int expectedIndex;
};

class OnElementThreshold : public ::testing::TestWithParam<FractionCase> {};

// The kernel answers negative fractions for points off an element; anything above -1e-9 (strict) is on.
TEST_P(OnElementThreshold, FractionDecidesOnElement) {
    const FractionCase& c = GetParam();
    auto p = boost::make_shared<ProbePattern>();
    p->outline = {boost::make_shared<FractionLine>(Point2D(0, 0), Point2D(1, 0), c.fraction)};
    p->UpdateCache();
    PatPosition second;
    const PatPosition pos = p->GetPatPosByPoint(Point2D(0, 0), second);
    EXPECT_EQ(pos.GetIndex(), c.expectedIndex);
    if (c.expectedIndex == 0) {
        EXPECT_EQ(pos.GetPercent(), c.fraction);
    }
}

INSTANTIATE_TEST_SUITE_P(PatternCore, OnElementThreshold,
                         ::testing::Values(FractionCase{"exactlyMinus1e9", -1e-9, -1},
                                           FractionCase{"minusHalf1e9", -0.5e-9, 0},
                                           FractionCase{"kernelOff", -1.0, -1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PatternCore, SnapWithinToleranceIsInclusive) {
    auto line = boost::make_shared<LinePattern>(Point2D(0, 0), Point2D(10, 0));
    const Point2D q(5, 3);  // exactly 3 from the midpoint snap
    const auto hit = line->GetSnapPtClosestTo(q, 3.0);
    ASSERT_TRUE(hit);
    EXPECT_EQ(*hit, Point2D(5, 0));
    EXPECT_FALSE(line->GetSnapPtClosestTo(q, 2.999999));
}

struct SnapTieCase {
    const char* name;
    std::vector<Point2D> snaps;
    Point2D query;
    Point2D expected;
};

class SnapTies : public ::testing::TestWithParam<SnapTieCase> {};

// Of equally near snap points the LAST in GetSnapPoints order wins; no snap points answer (0,0).
TEST_P(SnapTies, LastOfEqualWins) {
    const SnapTieCase& c = GetParam();
    auto p = boost::make_shared<ProbePattern>();
    p->snaps = c.snaps;
    EXPECT_EQ(p->GetSnapPtClosestTo(c.query), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    PatternCore, SnapTies,
    ::testing::Values(SnapTieCase{"twoEqual", {{0, 0}, {10, 0}}, {5, 0}, {10, 0}},
                      SnapTieCase{"equalThenNearer", {{0, 0}, {10, 0}, {6, 0}}, {5, 0}, {6, 0}},
                      SnapTieCase{"nearerThenEqualPair", {{4, 0}, {0, 0}, {10, 0}}, {5, 0}, {4, 0}},
                      SnapTieCase{"firstAtZeroDistance", {{5, 0}, {9, 0}}, {5, 0}, {5, 0}},
                      SnapTieCase{"none", {}, {5, 5}, {0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PatternCore, ClosestPointTransformsCopyAndKeepsFirstOfEqual) {
    auto p = boost::make_shared<ProbePattern>();
    p->outline = {Seg(-1, 1, 1, 1), Seg(-1, -1, 1, -1)};
    p->UpdateCache();
    EXPECT_EQ(p->GetClosestPt(Point2D(0, 0), Matrix2D()), Point2D(0, 1));  // tie: first element

    Matrix2D up;
    up.SetTransfer(Vector2D(0, 1));
    EXPECT_EQ(p->GetClosestPt(Point2D(0, 0), up), Point2D(0, 0));
    // The cached outline itself is not moved by the query.
    EXPECT_EQ(p->GetCacheData()->GetBaseGeom()->at(1)->GetStartPoint(), Point2D(-1, -1));

    auto empty = boost::make_shared<ProbePattern>();
    empty->UpdateCache();
    EXPECT_EQ(empty->GetClosestPt(Point2D(3, 3), Matrix2D()), Point2D(0, 0));
}

TEST(PatternCore, StdShapeDistanceCountsItsCentre) {
    auto p = boost::make_shared<ProbePattern>();
    p->SetBasePoint(Point2D(0, 0));
    p->outline = {Seg(-2, 2, 2, 2)};
    EXPECT_DOUBLE_EQ(p->DistanceTo(Point2D(0, 3)), 3.0);  // before UpdateCache only the centre counts
    p->UpdateCache();
    EXPECT_DOUBLE_EQ(p->DistanceTo(Point2D(0, 3)), 1.0);
    EXPECT_DOUBLE_EQ(p->DistanceTo(Point2D(0, 0.5)), 0.5);
    EXPECT_EQ(p->GetSymmetryPt(), Point2D(0, 0));
}

TEST(PatternCore, SetBeControlPatKeepsAtMostOneArray) {
    auto seed = boost::make_shared<LinePattern>(Point2D(0, 0), Point2D(1, 0));
    auto arrayA = boost::make_shared<LinePattern>();
    auto arrayB = boost::make_shared<LinePattern>();
    // An unrelated relation of the other type must survive every call.
    seed->AddPatRelation(boost::make_shared<PatRelation>(seed->GetID(), arrayA, PAT_RELATION_TO_SEED));

    EXPECT_FALSE(seed->IsControlPat());
    seed->SetBeControlPat(arrayA);
    seed->SetBeControlPat(arrayB);
    auto back = seed->GetRelationByType(PAT_RELATION_TO_ARRAY);
    ASSERT_EQ(back->GetCount(), 1);
    EXPECT_EQ(back->GetPatRelationByIndex(0)->GetParentID(), seed->GetID());
    EXPECT_EQ(seed->IsControlPat(), arrayB);

    seed->SetBeControlPat(IPatternPtr());
    EXPECT_EQ(seed->GetRelationByType(PAT_RELATION_TO_ARRAY)->GetCount(), 0);
    EXPECT_FALSE(seed->IsControlPat());
    EXPECT_EQ(seed->GetPatRelationList()->GetCount(), 1);
}

TEST(PatternCore, CloneHasNewIdentitySharedRelationsAndNoCache) {
    auto line = boost::make_shared<LinePattern>(Point2D(1, 2), Point2D(4, 6));
    auto array = boost::make_shared<LinePattern>();
    line->SetBeControlPat(array);
    line->SetLayerName(L"CUT");
    line->SetColorIndex(5);
    line->UpdateCache();

    auto clone = boost::dynamic_pointer_cast<LinePattern>(line->Clone());
    ASSERT_TRUE(clone);
    EXPECT_NE(clone->GetID(), line->GetID());
    EXPECT_NE(clone->GetPatRelationList(), line->GetPatRelationList());  // own list ...
    ASSERT_EQ(clone->GetPatRelationList()->GetCount(), 1);               // ... same relation objects
    EXPECT_EQ(clone->GetPatRelationList()->GetPatRelationByIndex(0),
              line->GetPatRelationList()->GetPatRelationByIndex(0));
    EXPECT_EQ(clone->IsControlPat(), array);
    EXPECT_EQ(clone->GetLayerName(), L"");
    EXPECT_EQ(clone->GetColorIndex(), LinePattern().GetColorIndex());
    EXPECT_FALSE(clone->GetCacheData()->GetBaseGeom());
    EXPECT_EQ(clone->GetStartPoint(), line->GetStartPoint());
    EXPECT_EQ(clone->GetEndPoint(), line->GetEndPoint());
}

TEST(PatternCore, AcceptReachesTheOverloadOfTheConcreteClass) {
    auto line = boost::make_shared<LinePattern>();
    auto arc = boost::make_shared<ArcPattern>(Point2D(0, 0), 1.0, 0.0, 1.0);
    auto visitor = boost::make_shared<test::RecordingPatternVisitor>();
    const std::vector<IPatternPtr> patterns{line, arc};
    for (const IPatternPtr& p : patterns) p->Accept(visitor);
    ASSERT_EQ(visitor->calls.size(), 2u);
    EXPECT_EQ(visitor->calls[0].slot, 14);
    EXPECT_EQ(visitor->calls[0].object, static_cast<const void*>(line.get()));
    EXPECT_EQ(visitor->calls[1].slot, 13);
    EXPECT_EQ(visitor->calls[1].object, static_cast<const void*>(arc.get()));
}

// ---- property lists ---------------------------------------------------------------------------------------

// Every pattern lists one title item (group 11501, item 12007) holding its type name, then its value items
// (group 12099) in a fixed order, angles in degrees. Each row: the pattern, the resource of its type name and
// its value items with the values shown.
struct PropertyListCase {
    std::string name;
    std::function<IPatternPtr()> make;
    int title;
    std::vector<std::pair<int, double>> items;
};

void PrintTo(const PropertyListCase& c, std::ostream* os) {
    *os << c.name;
}

class PropertyList : public ::testing::TestWithParam<PropertyListCase> {};

TEST_P(PropertyList, TitleThenValuesInOrder) {
    const PropertyListCase& c = GetParam();
    const DataProperty property = c.make()->GetProperty();
    ASSERT_EQ(property.size(), c.items.size() + 1);
    const DataPropItem& title = property.GetItems()[0];
    EXPECT_EQ(title.GetGroupID(), kPropGroupTitle);
    EXPECT_EQ(title.GetItemID(), kPropItemTitle);
    EXPECT_EQ(title.GetString(), ResourceString::Load(c.title));
    for (std::size_t i = 0; i < c.items.size(); ++i) {
        const DataPropItem& item = property.GetItems()[i + 1];
        EXPECT_EQ(item.GetGroupID(), kPropGroupValues) << i;
        EXPECT_EQ(item.GetItemID(), c.items[i].first) << i;
        EXPECT_NEAR(item.GetDouble(), c.items[i].second, 1e-9) << i;
    }
}

template <class T, class... Args>
std::function<IPatternPtr()> Make(Args... args) {
    return [=] { return boost::make_shared<T>(args...); };
}

constexpr double kPi = MathEx::PI;
PropertyListCase Row(std::string name, int title, std::function<IPatternPtr()> make,
                     std::vector<std::pair<int, double>> items) {
    return {std::move(name), std::move(make), title, std::move(items)};
}

INSTANTIATE_TEST_SUITE_P(
    AllKinds, PropertyList,
    ::testing::Values(
        // Start x/y, end x/y, length, angle: a line of length 2 pointing up.
        Row("Line", kResLineTypeName, Make<LinePattern>(Point2D(1, 1), Point2D(1, 3)),
            {{12101, 1}, {12102, 1}, {12103, 1}, {12104, 3}, {12105, 2}, {12117, 90}}),
        // Centre x/y, radius, start angle, move angle.
        Row("Arc", kResArcTypeName, Make<ArcPattern>(Point2D(0, 0), 1.0, 0.0, kPi / 2),
            {{12109, 0}, {12110, 0}, {12106, 1}, {12107, 0}, {12108, 90}}),
        Row("Circle", kResCircleTypeName, Make<CirclePattern>(Point2D(1, 2), 3.0),
            {{12109, 1}, {12110, 2}, {12106, 3}}),
        // Centre x/y, length, width, angle, segment count.
        Row("Ellipse", kResEllipseTypeName, Make<EllipsePattern>(Point2D(1, 2), kPi / 4, 10.0, 4.0),
            {{12109, 1}, {12110, 2}, {12105, 10}, {12118, 4}, {12117, 45}, {12132, 16}}),
        Row("OBround", kResOBroundTypeName, Make<OBroundPattern>(Point2D(1, 2), 0.0, 10.0, 4.0),
            {{12109, 1}, {12110, 2}, {12105, 10}, {12118, 4}, {12117, 0}}),
        // The width is R + t for the single-D, 2t for the double-D.
        Row("SingleD", kResSingleDTypeName, Make<SingleDPattern>(Point2D(1, 2), 5.0, 3.0, kPi / 2),
            {{12109, 1}, {12110, 2}, {12106, 5}, {12118, 8}, {12117, 90}}),
        Row("DoubleD", kResDoubleDTypeName, Make<DoubleDPattern>(Point2D(1, 2), 5.0, 3.0, kPi / 2),
            {{12109, 1}, {12110, 2}, {12106, 5}, {12118, 6}, {12117, 90}}),
        // Centre x/y, radius, width, start angle, move angle.
        Row("RadSlot", kResRadSlotTypeName, Make<RadSlotPattern>(Point2D(1, 2), 10.0, kPi / 2, -kPi / 4, 4.0),
            {{12109, 1}, {12110, 2}, {12106, 10}, {12118, 4}, {12107, 90}, {12108, -45}}),
        // Corner x/y, length, width, angle.
        Row("RectHole", kResRectHoleTypeName, Make<RectHolePattern>(Point2D(1, 2), Vector2D(10, 0), 0.4),
            {{12101, 1}, {12102, 2}, {12105, 10}, {12118, 4}, {12117, 0}}),
        // Centre x/y, length, width, corner radius, angle.
        Row("RCHole", kResRCHoleTypeName, Make<RCHolePattern>(Point2D(1, 2), 12.0, 6.0, 1.0, 0.0),
            {{12109, 1}, {12110, 2}, {12105, 12}, {12118, 6}, {12131, 1}, {12117, 0}}),
        // Base point x/y, height, base length, angle.
        Row("TRHole", kResTRHoleTypeName, Make<TRHolePattern>(Point2D(0, 0), 0.0, 6.0, 4.0),
            {{12109, 0}, {12110, 0}, {12123, 4}, {12118, 6}, {12117, 0}})),
    [](const ::testing::TestParamInfo<PropertyListCase>& info) { return info.param.name; });

}  // namespace
}  // namespace Norvane
