// The writers run prepared statements with bound values; the rows they store must be exactly those the
// statement texts with the values printed in ("%.16f" for reals) store. Both ways are run on the same
// patterns and loops, with values of every magnitude and sign (many of which "%.16f" rounds), and the
// tables are compared value by value, bit for bit, type included.
#include <cinttypes>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/host/appframe/ProgressData.h"
#include "geomFeature/host/appframe/ProgressMeter.h"
#include "geomFeature/host/datakit/DBConnect.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatLinePattern.h"
#include "geomFeature/pattern/PatRelation.h"
#include "geomFeature/pattern/PatRelationList.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/persist/PartFile.h"
#include "geomFeature/persist/PatLoopWriter.h"
#include "geomFeature/persist/PatternWriter.h"
#include "tests/persist/PersistTestSupport.h"
#include "tests/support/SeedLinkGuard.h"

namespace Norvane {
namespace {

using persisttest::MemoryPart;

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Printf(const char* format, ...) {
    char text[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

// The pattern insert as its fixed text: identifier, type, eight reals, two integers.
std::string PatternInsert(DataID id, int type, const std::vector<double>& reals, int i0 = 0, int i1 = 0) {
    double r[8] = {};
    std::copy(reals.begin(), reals.end(), r);
    return Printf("insert into geometry_patternData values (%" PRId64
                  ", %d, %.16f, %.16f, %.16f, %.16f, %.16f, %.16f, %.16f, %.16f, %d, %d);",
                  id, type, r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7], i0, i1);
}

// Every value of every row, in row order, as type and bits.
std::vector<std::string> Dump(const DBConnectPtr& db, const std::string& table) {
    std::vector<std::string> rows;
    const DBResultPtr result = db->ExecuteQuery("select * from " + table + ";");
    while (const DBRecordPtr record = db->GetNextRecord(result)) {
        std::string row;
        for (const DBFieldPtr& field : record->GetDBFieldList()) {
            if (field->GetValueType() == tagDBValueType::Integer) {
                row += " i" + std::to_string(field->GetInt64());
            } else {
                const double v = field->GetDouble();
                std::uint64_t bits = 0;
                std::memcpy(&bits, &v, sizeof bits);
                row += " r" + std::to_string(bits) + "/" +
                       std::to_string(static_cast<int>(field->GetValueType()));
            }
        }
        rows.push_back(row);
    }
    return rows;
}

// Values of every size, with more digits than "%.16f" keeps below 1.
double AnyValue(std::mt19937& rng) {
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-24, 16), special(0, 19);
    switch (special(rng)) {
        case 0:
            return 0.0;
        case 1:
            return -0.0;
        case 2:
            return 0.5e-16;
        case 3:
            return -1.25e-17;
        default:
            return mantissa(rng) * std::pow(10.0, exponent(rng));
    }
}

TEST(SavedRowsTest, BoundValuesStoreWhatTheStatementTextsStore) {
    std::mt19937 rng(17);
    auto patterns = boost::make_shared<PatternList>();
    const DBConnectPtr bound = MemoryPart();
    const DBConnectPtr printed = MemoryPart();
    std::vector<std::string> texts;
    for (int k = 0; k < 3000; ++k) {
        const Point2D p(AnyValue(rng), AnyValue(rng));
        if (k % 3 == 0) {
            auto line = boost::make_shared<LinePattern>(p, Point2D(AnyValue(rng), AnyValue(rng)));
            const Vector2D v = line->GetBaseVector();
            texts.push_back(PatternInsert(line->GetID(), PAT_LINE, {p.x, p.y, v.x, v.y}));
            patterns->push_back(line);
        } else if (k % 3 == 1) {
            auto arc = boost::make_shared<ArcPattern>(p, std::fabs(AnyValue(rng)) + 1e-3, AnyValue(rng),
                                                      1.0 + AnyValue(rng) * 1e-3);
            const Vector2D v = arc->GetBaseVector();
            texts.push_back(PatternInsert(arc->GetID(), PAT_ARC,
                                          {p.x, p.y, v.Length(), std::atan2(v.y, v.x), arc->GetMoveAngle()}));
            patterns->push_back(arc);
        } else {
            auto circle = boost::make_shared<CirclePattern>(p, std::fabs(AnyValue(rng)) + 1e-3);
            texts.push_back(
                PatternInsert(circle->GetID(), PAT_CIRCLE, {p.x, p.y, circle->GetBaseVector().Length()}));
            patterns->push_back(circle);
        }
    }
    // An array and its seed, for the relation rows.
    testutil::SeedLinkGuard links;
    auto seed = boost::make_shared<CirclePattern>(Point2D(0.1, 0.2), 0.3);
    auto array = boost::make_shared<PatLinePattern>(Point2D(0.1, 0.2), Vector2D(1.0 / 3, 0), 4);
    links.Link(array, seed);
    texts.push_back(PatternInsert(seed->GetID(), PAT_CIRCLE, {0.1, 0.2, 0.3}));
    texts.push_back(PatternInsert(array->GetID(), PAT_LINE_ARRAY,
                                  {0.1, 0.2, array->GetSpace(), array->GetAngle()}, array->GetRepeatNum()));
    patterns->push_back(seed);
    patterns->push_back(array);
    for (const IPatternPtr& p : {IPatternPtr(seed), IPatternPtr(array)}) {
        const PatRelationListPtr relations = p->GetPatRelationList();
        for (int i = 0; i < relations->GetCount(); ++i) {
            const PatRelationPtr r = relations->GetPatRelationByIndex(i);
            texts.push_back(Printf("insert into geometry_patrelation values (%" PRId64 ", %" PRId64
                                   ", %" PRId64 ", %d);",
                                   r->GetID(), r->GetParentID(), r->GetTargetPat()->GetID(),
                                   static_cast<int>(r->GetRelationType())));
        }
    }

    bound->BeginBatch();
    patterns->Accept(boost::make_shared<PatternWriter>(bound));
    bound->EndBatch();
    printed->BeginBatch();
    for (const std::string& text : texts) printed->Execute(text, 0);
    printed->EndBatch();
    for (const char* table : {"geometry_patternData", "geometry_patrelation"}) {
        SCOPED_TRACE(table);
        const std::vector<std::string> expected = Dump(printed, table);
        EXPECT_EQ(Dump(bound, table), expected);
        EXPECT_GT(expected.size(), 1u);
    }
}

TEST(SavedRowsTest, LoopRowsAreThoseOfTheStatementTexts) {
    auto loops = boost::make_shared<PatLoopList>();
    std::vector<std::string> texts;
    for (int k = 0; k < 50; ++k) {
        auto loop = boost::make_shared<PolyPatLoop>();
        texts.push_back(Printf("insert into geometry_loopData values (%" PRId64 ");", loop->GetID()));
        for (int j = 0; j < k % 5; ++j) {
            loop->AppendPattern(boost::make_shared<LinePattern>(Point2D(j, k), Point2D(j + 1, k)),
                                (j + k) % 2);
            const PatLoopNodePtr& node = loop->GetLoopNodes()->back();
            texts.push_back(Printf(
                "insert into geometry_loopnodeData values (%" PRId64 ", %" PRId64 ", %" PRId64 ", %d, %d);",
                node->GetID(), node->GetPat()->GetID(), loop->GetID(), j, node->FollowLoopDir()));
        }
        loops->push_back(loop);
    }
    const DBConnectPtr bound = MemoryPart();
    const DBConnectPtr printed = MemoryPart();
    PatLoopWriter::SavePatLoop(bound, loops, 1);
    for (const std::string& text : texts) printed->Execute(text, 0);
    for (const char* table : {"geometry_loopData", "geometry_loopnodeData"}) {
        SCOPED_TRACE(table);
        EXPECT_EQ(Dump(bound, table), Dump(printed, table));
    }
}

// A save whose progress meter is cancelled rolls back: the file keeps the part saved before.
TEST(SavedRowsTest, ACancelledSaveKeepsTheEarlierPart) {
    persisttest::TempPath file;
    auto make = [](int count) {
        auto patterns = boost::make_shared<PatternList>();
        for (int k = 0; k < count; ++k)
            patterns->push_back(boost::make_shared<LinePattern>(Point2D(k, 0), Point2D(k, 1)));
        return patterns;
    };
    const PatternListPtr first = make(3);
    ASSERT_TRUE(PartFile::Save(file.str(), first, PatLoopListPtr()).IsOk());

    auto progress = boost::make_shared<ProgressData>();
    progress->SetCancel(true);
    ProgressMeter meter(progress);
    meter.BeginStage(L"saving", 0, 100);
    EXPECT_EQ(PartFile::Save(file.str(), make(500), PatLoopListPtr(), PartSaveHook(), &meter).status,
              tagPartFileStatus::Interrupted);
    auto loaded = boost::make_shared<PatternList>();
    ASSERT_TRUE(PartFile::Load(file.str(), loaded, PatLoopListPtr()).IsOk());
    EXPECT_EQ(loaded->size(), first->size());
}

}  // namespace
}  // namespace Norvane
