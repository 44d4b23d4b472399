// Loop and loop-node tables: kinds derived again on load, node order and follow flags, loop order, the
// boundary loop chosen afresh, and what becomes of rows that do not fit together.
#include <functional>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/loop/ArrayPatLoop.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/loop/StdPatLoop.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatLinePattern.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/persist/PatLoopLoader.h"
#include "geomFeature/persist/PatLoopWriter.h"
#include "geomFeature/persist/PatternLoader.h"
#include "geomFeature/persist/PatternWriter.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "tests/persist/PersistTestSupport.h"
#include "tests/support/SeedLinkGuard.h"

namespace Norvane {
namespace {

using persisttest::MemoryPart;

struct Part {
    PatternListPtr patterns = boost::make_shared<PatternList>();
    PatLoopListPtr loops = boost::make_shared<PatLoopList>();
};

IPatternPtr Line(double x1, double y1, double x2, double y2) {
    return boost::make_shared<LinePattern>(Point2D(x1, y1), Point2D(x2, y2));
}

// A closed square of side s at the origin, counter-clockwise; its second side is drawn downwards and so
// is run against its own direction (follow 0).
PolyPatLoopPtr Square(Part& part, double s) {
    const IPatternPtr sides[] = {Line(0, 0, s, 0), Line(s, s, s, 0), Line(s, s, 0, s), Line(0, s, 0, 0)};
    const int follow[] = {1, 0, 1, 1};
    auto loop = boost::make_shared<PolyPatLoop>();
    for (int i = 0; i < 4; ++i) {
        part.patterns->push_back(sides[i]);
        loop->AppendPattern(sides[i], follow[i]);
    }
    part.loops->push_back(loop);
    return loop;
}

// Writes the part, loads it back into a new part, and watches every loaded pattern.
Part RoundTrip(const Part& saved, testutil::SeedLinkGuard& guard) {
    const DBConnectPtr db = MemoryPart();
    saved.patterns->Accept(boost::make_shared<PatternWriter>(db));
    PatLoopWriter::SavePatLoop(db, saved.loops, 1);
    Part loaded;
    PatternLoader::LoadPatternList(db, loaded.patterns);
    PatLoopLoader::LoadPatLoops(db, loaded.patterns, loaded.loops);
    for (const IPatternPtr& p : *loaded.patterns) {
        guard.Watch(p);
    }
    return loaded;
}

struct KindCase {
    const char* name;
    std::function<void(Part&, testutil::SeedLinkGuard&)> build;  // one loop
    tagLoopType type;
};

void PrintTo(const KindCase& c, std::ostream* os) {
    *os << c.name;
}

const KindCase kKinds[] = {
    {"FourLines", [](Part& p, auto&) { Square(p, 10); }, LOOP_POLY},
    {"OneLine",
     [](Part& p, auto&) {
         auto loop = boost::make_shared<PolyPatLoop>();
         p.patterns->push_back(Line(0, 0, 5, 5));
         loop->AppendPattern(p.patterns->back(), 0);
         p.loops->push_back(loop);
     },
     LOOP_POLY},
    {"OneCircle",
     [](Part& p, auto&) {
         p.patterns->push_back(boost::make_shared<CirclePattern>(Point2D(1, 1), 3.0));
         p.loops->push_back(
             boost::make_shared<StdPatLoop>(boost::make_shared<PatLoopNode>(p.patterns->back(), 0)));
     },
     LOOP_STD},
    {"OneArray",
     [](Part& p, testutil::SeedLinkGuard& guard) {
         const auto seed = boost::make_shared<CirclePattern>(Point2D(0, 0), 1.0);
         const auto array = boost::make_shared<PatLinePattern>(Point2D(0, 0), 4.0, 0.0, 3);
         guard.Link(array, seed);
         p.patterns->push_back(seed);
         p.patterns->push_back(array);
         p.loops->push_back(boost::make_shared<ArrayPatLoop>(boost::make_shared<PatLoopNode>(array, 1)));
     },
     LOOP_ARRAY},
};

class LoopKinds : public ::testing::TestWithParam<KindCase> {};

// The loaded loop has the kind the nodes imply, the saved identifier, the same patterns in the same order
// with the same follow flags, the same cached box, and no modified flags left set.
TEST_P(LoopKinds, RoundTrip) {
    testutil::SeedLinkGuard guard;
    Part saved;
    GetParam().build(saved, guard);
    saved.patterns->UpdateCache();
    LoopProcessor::UpdateCache(saved.loops);
    saved.loops->front()->SetModified(1);

    const Part loaded = RoundTrip(saved, guard);
    EXPECT_EQ(saved.loops->IsModified(), 0);
    ASSERT_EQ(loaded.loops->size(), 1u);
    const IPatLoopPtr before = saved.loops->front();
    const IPatLoopPtr after = loaded.loops->front();
    EXPECT_EQ(after->GetLoopType(), GetParam().type);
    EXPECT_EQ(after->GetID(), before->GetID());
    const PatLoopNodeList& a = *after->GetLoopNodes();
    const PatLoopNodeList& b = *before->GetLoopNodes();
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i]->GetPat()->GetID(), b[i]->GetPat()->GetID()) << "node " << i;
        EXPECT_EQ(a[i]->FollowLoopDir(), b[i]->FollowLoopDir()) << "node " << i;
        EXPECT_EQ(a[i]->GetPat(), loaded.patterns->GetPatFromID(b[i]->GetPat()->GetID()));
    }
    EXPECT_EQ(after->GetCacheData()->GetLoopRect(), before->GetCacheData()->GetLoopRect());
    EXPECT_EQ(loaded.loops->IsModified(), 0);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, LoopKinds, ::testing::ValuesIn(kKinds),
                         [](const auto& info) { return std::string(info.param.name); });

// The rows the writer stores for a loop, worked out by hand.
TEST(PatLoopWriter, NodeRowsHoldPatternLoopIndexAndFlag) {
    Part part;
    const PolyPatLoopPtr loop = Square(part, 2);
    const DBConnectPtr db = MemoryPart();
    PatLoopWriter::SavePatLoop(db, part.loops, 1);
    EXPECT_EQ(db->GetBatchDepth(), 0);
    const DBResultPtr rows = db->ExecuteQuery("select * from geometry_loopnodeData;");
    for (int j = 0; j < 4; ++j) {
        const DBRecordPtr row = db->GetNextRecord(rows);
        ASSERT_TRUE(row);
        const DBFieldList& f = row->GetDBFieldList();
        const PatLoopNodePtr node = (*loop->GetLoopNodes())[static_cast<std::size_t>(j)];
        EXPECT_EQ(f[0]->GetInt64(), node->GetID());
        EXPECT_EQ(f[1]->GetInt64(), node->GetPat()->GetID());
        EXPECT_EQ(f[2]->GetInt64(), loop->GetID());
        EXPECT_EQ(f[3]->GetInt32(), j);
        EXPECT_EQ(f[4]->GetInt32(), j == 1 ? 0 : 1);
    }
    EXPECT_FALSE(db->GetNextRecord(rows));
}

// Pattern 1..4 are the sides of a unit square, 5 a circle inside it, stored first.
constexpr const char* kSquareAndCircle =
    "insert into geometry_patternData values (5, 204, 0.5, 0.5, 0.25, 0, 0, 0, 0, 0, 0, 0);"
    "insert into geometry_patternData values (1, 200, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0);"
    "insert into geometry_patternData values (2, 200, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0);"
    "insert into geometry_patternData values (3, 200, 1, 1, -1, 0, 0, 0, 0, 0, 0, 0);"
    "insert into geometry_patternData values (4, 200, 0, 1, 0, -1, 0, 0, 0, 0, 0, 0);";

Part LoadRows(const std::string& loopRows, PersistIssueList* issues) {
    const DBConnectPtr db = MemoryPart();
    db->Execute(std::string(kSquareAndCircle) + loopRows, 0);
    Part part;
    PatternLoader::LoadPatternList(db, part.patterns);
    PatLoopLoader::LoadPatLoops(db, part.patterns, part.loops, issues);
    return part;
}

std::vector<DataID> PatternIds(const IPatLoopPtr& loop) {
    std::vector<DataID> ids;
    for (const PatLoopNodePtr& node : *loop->GetLoopNodes()) {
        ids.push_back(node->GetPat()->GetID());
    }
    return ids;
}

// Node rows stored in any order end up in node-index order; patterns and loops come in row order (not by
// id); and the boundary, which is not stored, is recomputed: the square enclosing the circle.
TEST(PatLoopLoader, NodeOrderLoopOrderAndBoundary) {
    PersistIssueList issues;
    const Part part = LoadRows(
        "insert into geometry_loopData values (90);"
        "insert into geometry_loopData values (70);"
        "insert into geometry_loopnodeData values (1, 3, 70, 2, 1);"
        "insert into geometry_loopnodeData values (2, 5, 90, 0, 0);"
        "insert into geometry_loopnodeData values (3, 1, 70, 0, 1);"
        "insert into geometry_loopnodeData values (4, 4, 70, 3, 1);"
        "insert into geometry_loopnodeData values (5, 2, 70, 1, 1);",
        &issues);
    EXPECT_TRUE(issues.empty());
    EXPECT_EQ(part.patterns->front()->GetID(), 5);
    ASSERT_EQ(part.loops->size(), 2u);
    EXPECT_EQ((*part.loops)[0]->GetID(), 90);
    EXPECT_EQ((*part.loops)[0]->GetLoopType(), LOOP_STD);
    EXPECT_EQ((*part.loops)[0]->GetLoopNodes()->front()->FollowLoopDir(), 0);
    EXPECT_EQ((*part.loops)[1]->GetID(), 70);
    EXPECT_EQ(PatternIds((*part.loops)[1]), (std::vector<DataID>{1, 2, 3, 4}));
    EXPECT_EQ(part.loops->GetBoundaryLoop(), 1);
}

struct BadLoopCase {
    const char* name;
    const char* rows;
    std::size_t loops;
    tagPersistIssue kind;
    tagPersistSeverity severity;
};

void PrintTo(const BadLoopCase& c, std::ostream* os) {
    *os << c.name;
}

const BadLoopCase kBadLoops[] = {
    {"NodeOnMissingPattern",
     "insert into geometry_loopData values (70);"
     "insert into geometry_loopnodeData values (1, 1, 70, 0, 1);"
     "insert into geometry_loopnodeData values (2, 42, 70, 1, 1);",
     0, tagPersistIssue::MissingPattern, tagPersistSeverity::Error},
    {"LoopWithoutNodes", "insert into geometry_loopData values (70);", 1, tagPersistIssue::LoopWithoutNodes,
     tagPersistSeverity::Warning},
    {"NodesOfNoLoop",
     "insert into geometry_loopData values (70);"
     "insert into geometry_loopnodeData values (1, 5, 70, 0, 1);"
     "insert into geometry_loopnodeData values (2, 1, 71, 0, 1);",
     1, tagPersistIssue::UnknownLoop, tagPersistSeverity::Warning},
};

class BadLoopRows : public ::testing::TestWithParam<BadLoopCase> {};

TEST_P(BadLoopRows, AreReported) {
    const BadLoopCase& c = GetParam();
    PersistIssueList issues;
    const Part part = LoadRows(c.rows, &issues);
    EXPECT_EQ(part.loops->size(), c.loops);
    ASSERT_FALSE(issues.empty());
    EXPECT_EQ(issues[0].kind, c.kind) << issues[0].message;
    EXPECT_EQ(issues[0].severity, c.severity);
}

INSTANTIATE_TEST_SUITE_P(Rows, BadLoopRows, ::testing::ValuesIn(kBadLoops),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace Norvane
