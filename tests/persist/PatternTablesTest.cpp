// Pattern and relation tables: the column layout of every pattern kind, worked out by hand, and the
// round trip through a real database.
#include <cmath>
#include <functional>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/DoubleDPattern.h"
#include "geomFeature/pattern/EllipsePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/OBroundPattern.h"
#include "geomFeature/pattern/PatArcPattern.h"
#include "geomFeature/pattern/PatCirclePattern.h"
#include "geomFeature/pattern/PatGridPattern.h"
#include "geomFeature/pattern/PatLinePattern.h"
#include "geomFeature/pattern/PatRelation.h"
#include "geomFeature/pattern/PatRelationList.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/pattern/RCHolePattern.h"
#include "geomFeature/pattern/RadSlotPattern.h"
#include "geomFeature/pattern/RectHolePattern.h"
#include "geomFeature/pattern/SingleDPattern.h"
#include "geomFeature/pattern/TRHolePattern.h"
#include "geomFeature/persist/PatternLoader.h"
#include "geomFeature/persist/PatternWriter.h"
#include "tests/persist/PersistTestSupport.h"
#include "tests/support/SeedLinkGuard.h"

namespace Norvane {
namespace {

using persisttest::CountRows;
using persisttest::MemoryPart;
using persisttest::SameOutline;

constexpr double kPi = 3.14159265358979323846;
// "%.16f" keeps 16 decimals; values derived through atan2 or lengths may differ in the last bits.
constexpr double kColumnTol = 1e-12;

// The subject pattern first; an array comes with its seed (a circle), linked through the guard.
using Maker = std::function<std::vector<IPatternPtr>(testutil::SeedLinkGuard&)>;

struct LayoutCase {
    const char* name;
    Maker make;
    double reals[8];  // columns 2..9 as the writer must store them
    int ints[2];      // columns 10, 11
};

void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << c.name;
}

std::vector<IPatternPtr> One(const IPatternPtr& p) {
    return {p};
}

std::vector<IPatternPtr> Seeded(testutil::SeedLinkGuard& guard, const IArrayPatternPtr& array) {
    const auto seed = boost::make_shared<CirclePattern>(Point2D(0, 0), 0.5);
    guard.Link(array, seed);
    return {array, seed};
}

const LayoutCase kLayouts[] = {
    {"Line",
     [](auto&) { return One(boost::make_shared<LinePattern>(Point2D(1, 2), Vector2D(3, -4))); },
     {1, 2, 3, -4},
     {0, 0}},
    {"Arc",
     [](auto&) { return One(boost::make_shared<ArcPattern>(Point2D(1, 2), 3.0, 0.5, -1.25)); },
     {1, 2, 3, 0.5, -1.25},
     {0, 0}},
    {"Circle",
     [](auto&) { return One(boost::make_shared<CirclePattern>(Point2D(-1, 0.5), 2.5)); },
     {-1, 0.5, 2.5},
     {0, 0}},
    {"Ellipse",
     [](auto&) {
         auto e = boost::make_shared<EllipsePattern>(Point2D(0, 0), Vector2D(4, 0), 0.5);
         e->SetSegCount(12);
         return One(e);
     },
     {0, 0, 4, 0, 0.5},
     {12, 0}},
    {"RectHole",
     [](auto&) { return One(boost::make_shared<RectHolePattern>(Point2D(1, 1), Vector2D(0, 2), 1.5)); },
     {1, 1, 0, 2, 1.5},
     {0, 0}},
    {"TRHole",
     [](auto&) { return One(boost::make_shared<TRHolePattern>(Point2D(0, 0), Vector2D(2, 0), 0.75)); },
     {0, 0, 2, 0, 0.75},
     {0, 0}},
    {"OBround",
     [](auto&) { return One(boost::make_shared<OBroundPattern>(Point2D(5, 5), Vector2D(0, -3), 0.4)); },
     {5, 5, 0, -3, 0.4},
     {0, 0}},
    // Radius 2, 1.5 to the flat (ratio 0.75), turned a quarter.
    {"SingleD",
     [](auto&) { return One(boost::make_shared<SingleDPattern>(Point2D(0, 0), 2.0, 1.5, kPi / 2)); },
     {0, 0, 2, 1.5, kPi / 2},
     {0, 0}},
    // Width 2 between the flats: column 5 holds half of it.
    {"DoubleD",
     [](auto&) { return One(boost::make_shared<DoubleDPattern>(Point2D(1, 0), 2.0, 1.0, 0.0)); },
     {1, 0, 2, 1, 0},
     {0, 0}},
    {"RCHole",
     [](auto&) { return One(boost::make_shared<RCHolePattern>(Point2D(0, 0), 4.0, 2.0, 0.5, 0.3)); },
     {0, 0, 4, 2, 0.5, 0.3},
     {0, 0}},
    {"RadSlot",
     [](auto&) { return One(boost::make_shared<RadSlotPattern>(Point2D(0, 0), 5.0, 0.25, 1.0, 0.8)); },
     {0, 0, 5, 0.25, 1.0, 0.8},
     {0, 0}},
    {"LineArray",
     [](auto& g) { return Seeded(g, boost::make_shared<PatLinePattern>(Point2D(1, 1), 3.0, kPi / 4, 5)); },
     {1, 1, 3, kPi / 4},
     {5, 0}},
    {"ArcArray",
     [](auto& g) { return Seeded(g, boost::make_shared<PatArcPattern>(Point2D(0, 0), 10.0, 0.5, 0.2, 4)); },
     {0, 0, 10, 0.5, 0.2},
     {4, 0}},
    {"CircleArray",
     [](auto& g) { return Seeded(g, boost::make_shared<PatCirclePattern>(Point2D(2, 2), 6.0, -0.5, 8)); },
     {2, 2, 6, -0.5},
     {8, 0}},
    // 3 rows 2.5 apart, 4 columns 4.5 apart: the counts land in columns 10 and 11 in that order.
    {"GridArray",
     [](auto& g) { return Seeded(g, boost::make_shared<PatGridPattern>(Point2D(0, 0), 2.5, 3, 4.5, 4)); },
     {0, 0, 2.5, 4.5},
     {3, 4}},
};

class PatternLayout : public ::testing::TestWithParam<LayoutCase> {};

// Pins the stored columns of each kind (unused ones 0) and that the loaded pattern has the same
// identifier, kind, outline, and array/seed links, with its modified flag cleared.
TEST_P(PatternLayout, ColumnsAndRoundTrip) {
    const LayoutCase& c = GetParam();
    testutil::SeedLinkGuard guard;
    const std::vector<IPatternPtr> made = c.make(guard);
    const IPatternPtr subject = made[0];
    subject->UpdateCache();
    auto saved = boost::make_shared<PatternList>();
    saved->insert(saved->end(), made.begin(), made.end());
    subject->SetModified(1);

    const DBConnectPtr db = MemoryPart();
    saved->Accept(boost::make_shared<PatternWriter>(db));
    EXPECT_EQ(subject->IsModified(), 0);

    const DBResultPtr rows = db->ExecuteQuery("select * from geometry_patternData;");
    const DBRecordPtr row = db->GetNextRecord(rows);
    ASSERT_TRUE(row);
    const DBFieldList& f = row->GetDBFieldList();
    ASSERT_EQ(f.size(), 12u);
    EXPECT_EQ(f[0]->GetInt64(), subject->GetID());
    EXPECT_EQ(f[1]->GetInt64(), subject->GetPatternType());
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(f[2 + k]->GetValueType(), tagDBValueType::Real) << "column " << 2 + k;
        EXPECT_NEAR(f[2 + k]->GetDouble(), c.reals[k], kColumnTol) << "column " << 2 + k;
    }
    EXPECT_EQ(f[10]->GetInt32(), c.ints[0]);
    EXPECT_EQ(f[11]->GetInt32(), c.ints[1]);
    // A pattern without relations writes no relation row; an array and its seed one each.
    EXPECT_EQ(CountRows(db, "geometry_patrelation"), made.size() == 1 ? 0 : 2);

    auto loaded = boost::make_shared<PatternList>();
    PersistIssueList issues;
    PatternLoader::LoadPatternList(db, loaded, &issues);
    for (const IPatternPtr& p : *loaded) {
        guard.Watch(p);
    }
    EXPECT_TRUE(issues.empty());
    ASSERT_EQ(loaded->size(), made.size());
    const IPatternPtr back = (*loaded)[0];
    EXPECT_EQ(back->GetID(), subject->GetID());
    EXPECT_EQ(back->GetPatternType(), subject->GetPatternType());
    EXPECT_EQ(back->IsModified(), 0);
    EXPECT_TRUE(SameOutline(back, subject));
    if (made.size() == 2) {
        const IPatternPtr seed = (*loaded)[1];
        const auto array = boost::dynamic_pointer_cast<IArrayPattern>(back);
        ASSERT_TRUE(array);
        ASSERT_TRUE(array->GetControlPat());
        EXPECT_EQ(array->GetControlPat(), seed);
        ASSERT_TRUE(seed->IsControlPat());
        EXPECT_EQ(seed->IsControlPat(), back);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryKind, PatternLayout, ::testing::ValuesIn(kLayouts),
                         [](const auto& info) { return std::string(info.param.name); });

// Rows written by something else than this writer, loaded through the pattern loader: what is loaded and
// what is reported. Tables here have no constraints, as a foreign or damaged file would.
struct LoaderCase {
    const char* name;
    const char* rows;  // SQL run after the tables are created
    std::size_t loaded;
    int issues;
    tagPersistIssue kind;  // of the first issue, when there is one
};

void PrintTo(const LoaderCase& c, std::ostream* os) {
    *os << c.name;
}

// Pattern 1: a circle of radius 1 at the origin.
#define GF_CIRCLE_1 "insert into geometry_patternData values (1, 204, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0);"

const LoaderCase kLoaderCases[] = {
    {"EmptyTables", "", 0, 0, tagPersistIssue::BadValue},
    {"UnknownTypeCode", "insert into geometry_patternData values (1, 201, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0);", 0,
     1, tagPersistIssue::UnknownPatternType},
    {"InfiniteCoordinate",
     "insert into geometry_patternData values (1, 204, 1e999, 0, 1, 0, 0, 0, 0, 0, 0, 0);", 0, 1,
     tagPersistIssue::BadValue},
    // SQLite keeps a NaN as NULL.
    {"NullCoordinate", "insert into geometry_patternData values (1, 204, 0, null, 1, 0, 0, 0, 0, 0, 0, 0);",
     0, 1, tagPersistIssue::BadValue},
    {"TextCoordinate", "insert into geometry_patternData values (1, 204, 'x', 0, 1, 0, 0, 0, 0, 0, 0, 0);", 0,
     1, tagPersistIssue::BadValue},
    {"RealIdentifier", "insert into geometry_patternData values (1.5, 204, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0);", 0,
     1, tagPersistIssue::BadValue},
    {"CountBeyond32Bits",
     "insert into geometry_patternData values (1, 207, 0, 0, 1, 0, 0, 0, 0, 0, 4294967298, 0);", 0, 1,
     tagPersistIssue::BadValue},
    {"HugeGrid", "insert into geometry_patternData values (1, 303, 0, 0, 1, 1, 0, 0, 0, 0, 100000, 100000);",
     0, 1, tagPersistIssue::BadValue},
    // Radius 0: the width ratio would be 0/0.
    {"FlatCircleOfRadiusZero",
     "insert into geometry_patternData values (1, 205, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);", 0, 1,
     tagPersistIssue::BadValue},
    {"RelationWithoutOwner", GF_CIRCLE_1 "insert into geometry_patrelation values (9, 2, 1, 101);", 1, 1,
     tagPersistIssue::MissingPattern},
    {"RelationToMissingPattern", GF_CIRCLE_1 "insert into geometry_patrelation values (9, 1, 5, 101);", 1, 1,
     tagPersistIssue::MissingPattern},
    // Target 0 is a relation to no pattern as the writer stores it: it loads back without an issue.
    {"StoredRelationToNoPattern", GF_CIRCLE_1 "insert into geometry_patrelation values (9, 1, 0, 101);", 1, 0,
     tagPersistIssue::BadValue},
    {"UnknownRelationType", GF_CIRCLE_1 "insert into geometry_patrelation values (9, 1, 1, 7);", 1, 1,
     tagPersistIssue::BadRelation},
    {"ArrayRepeatingItself",
     "insert into geometry_patternData values (3, 207, 0, 0, 1, 0, 0, 0, 0, 0, 2, 0);"
     "insert into geometry_patrelation values (9, 3, 3, 100);",
     1, 1, tagPersistIssue::BadRelation},
};

class PatternLoaderRows : public ::testing::TestWithParam<LoaderCase> {};

TEST_P(PatternLoaderRows, LoadsSoundRowsAndReportsTheRest) {
    const LoaderCase& c = GetParam();
    const auto db = boost::make_shared<DBConnect>(":memory:");
    db->Execute(
        "create table geometry_patternData (a, b, c, d, e, f, g, h, i, j, k, l);"
        "create table geometry_patrelation (a, b, c, d);",
        0);
    db->Execute(c.rows, 0);
    auto list = boost::make_shared<PatternList>();
    PersistIssueList issues;
    PatternLoader::LoadPatternList(db, list, &issues);
    EXPECT_EQ(list->size(), c.loaded);
    ASSERT_EQ(static_cast<int>(issues.size()), c.issues);
    if (c.issues > 0) {
        EXPECT_EQ(issues[0].kind, c.kind) << issues[0].message;
        EXPECT_EQ(issues[0].row, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, PatternLoaderRows, ::testing::ValuesIn(kLoaderCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The relation naming a missing pattern still lands on its owner, pointing nowhere.
TEST(PatternLoader, RelationToMissingPatternPointsNowhere) {
    const auto db = MemoryPart();
    db->Execute(GF_CIRCLE_1 "insert into geometry_patrelation values (9, 1, 5, 101);", 0);
    auto list = boost::make_shared<PatternList>();
    PatternLoader::LoadPatternList(db, list);
    ASSERT_EQ(list->size(), 1u);
    const PatRelationListPtr relations = (*list)[0]->GetPatRelationList();
    ASSERT_EQ(relations->GetCount(), 1);
    EXPECT_FALSE(relations->GetPatRelationByIndex(0)->GetTargetPat());
    EXPECT_EQ(relations->GetPatRelationByIndex(0)->GetParentID(), 1);
}

}  // namespace
}  // namespace Norvane
