// Whole-part files: a save replaces the earlier part atomically, and a file that is not a sound part is
// refused with a message instead of being loaded half-right.
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/persist/PartFile.h"
#include "tests/persist/PersistTestSupport.h"

namespace Norvane {
namespace {

using persisttest::TempPath;

// Two lines and an open loop through them.
struct Part {
    PatternListPtr patterns = boost::make_shared<PatternList>();
    PatLoopListPtr loops = boost::make_shared<PatLoopList>();

    explicit Part(double y) {
        auto loop = boost::make_shared<PolyPatLoop>();
        patterns->push_back(boost::make_shared<LinePattern>(Point2D(0, y), Point2D(10, y)));
        patterns->push_back(boost::make_shared<LinePattern>(Point2D(10, y), Point2D(10, y + 5)));
        for (const IPatternPtr& p : *patterns) {
            loop->AppendPattern(p, 1);
        }
        loops->push_back(loop);
    }
};

// Identifiers of the patterns, then of the loops.
std::vector<DataID> IdsOf(const PatternList& patterns, const PatLoopList& loops) {
    std::vector<DataID> ids;
    for (const IPatternPtr& p : patterns) {
        ids.push_back(p->GetID());
    }
    for (const IPatLoopPtr& l : loops) {
        ids.push_back(l->GetID());
    }
    return ids;
}

std::vector<DataID> IdsOf(const Part& part) {
    return IdsOf(*part.patterns, *part.loops);
}

std::vector<DataID> IdsIn(const std::string& path) {
    auto patterns = boost::make_shared<PatternList>();
    auto loops = boost::make_shared<PatLoopList>();
    const PartFileResult result = PartFile::Load(path, patterns, loops);
    EXPECT_TRUE(result.IsOk()) << result.message;
    return IdsOf(*patterns, *loops);
}

TEST(PartFile, SaveReplacesTheEarlierPart) {
    TempPath file;
    const Part first(0);
    const Part second(20);
    ASSERT_TRUE(PartFile::Save(file.str(), first.patterns, first.loops).IsOk());
    ASSERT_TRUE(PartFile::Save(file.str(), second.patterns, second.loops).IsOk());
    EXPECT_EQ(IdsIn(file.str()), IdsOf(second));
}

// A save stopped at any stage, by its hook answering 0 or throwing, leaves the earlier part loadable and
// the unsaved list still marked modified.
struct StopCase {
    const char* name;
    tagPartSaveStage stage;
    bool throws;
};

void PrintTo(const StopCase& c, std::ostream* os) {
    *os << c.name;
}

class InterruptedSave : public ::testing::TestWithParam<StopCase> {};

TEST_P(InterruptedSave, KeepsTheEarlierPart) {
    const StopCase& c = GetParam();
    TempPath file;
    const Part first(0);
    ASSERT_TRUE(PartFile::Save(file.str(), first.patterns, first.loops).IsOk());

    const Part second(20);
    second.loops->front()->SetModified(1);
    const PartFileResult result =
        PartFile::Save(file.str(), second.patterns, second.loops, [&c](tagPartSaveStage stage) {
            if (stage == c.stage && c.throws) {
                throw std::runtime_error("power cut");
            }
            return stage == c.stage ? 0 : 1;
        });
    EXPECT_EQ(result.status, tagPartFileStatus::Interrupted);
    EXPECT_NE(result.message.find("earlier content is kept"), std::string::npos) << result.message;
    EXPECT_EQ(second.loops->IsModified(), 1);
    EXPECT_EQ(IdsIn(file.str()), IdsOf(first));
}

const StopCase kStops[] = {
    {"AfterDelete", tagPartSaveStage::OldRowsDeleted, false},
    {"AfterLoops", tagPartSaveStage::LoopsWritten, false},
    {"ThrowAfterLoops", tagPartSaveStage::LoopsWritten, true},
};

INSTANTIATE_TEST_SUITE_P(Stages, InterruptedSave, ::testing::ValuesIn(kStops),
                         [](const auto& info) { return std::string(info.param.name); });

// The process dies in the middle of the save, with the old rows deleted and the new ones written but not
// committed: the journal left behind is rolled back when the file is next opened.
TEST(PartFileDeathTest, ProcessKilledDuringSaveKeepsTheEarlierPart) {
    // Forked, not re-executed: the child must write the very file the parent then reads.
    GTEST_FLAG_SET(death_test_style, "fast");
    TempPath file;
    const Part first(0);
    ASSERT_TRUE(PartFile::Save(file.str(), first.patterns, first.loops).IsOk());
    const Part second(20);
    EXPECT_EXIT(PartFile::Save(file.str(), second.patterns, second.loops,
                               [](tagPartSaveStage stage) {
                                   if (stage == tagPartSaveStage::LoopsWritten) {
                                       std::_Exit(3);
                                   }
                                   return 1;
                               }),
                ::testing::ExitedWithCode(3), "");
    EXPECT_EQ(IdsIn(file.str()), IdsOf(first));
}

// A pattern whose values cannot be written (NaN) fails the save as a whole.
TEST(PartFile, UnwritableValueFailsTheWholeSave) {
    TempPath file;
    const Part first(0);
    ASSERT_TRUE(PartFile::Save(file.str(), first.patterns, first.loops).IsOk());
    const Part bad(20);
    bad.patterns->push_back(boost::make_shared<CirclePattern>(Point2D(std::nan(""), 0), 1.0));
    const PartFileResult result = PartFile::Save(file.str(), bad.patterns, bad.loops);
    EXPECT_EQ(result.status, tagPartFileStatus::WriteFailed);
    EXPECT_EQ(IdsIn(file.str()), IdsOf(first));
}

// Files that are no sound part: each is refused with its own status, the list is left alone.
struct BadFileCase {
    const char* name;
    // Writes the file; empty SQL means "leave no file", a leading '!' writes the rest as plain text.
    const char* content;
    tagPartFileStatus status;
    const char* messagePart;
};

void PrintTo(const BadFileCase& c, std::ostream* os) {
    *os << c.name;
}

#define GF_PART_TABLES                                                                    \
    "create table geometry_patternData (a, b, c, d, e, f, g, h, i, j, k, l);"             \
    "create table geometry_patrelation (a, b, c, d); create table geometry_loopData (a);" \
    "create table geometry_loopnodeData (a, b, c, d, e);"

const BadFileCase kBadFiles[] = {
    {"MissingFile", "", tagPartFileStatus::CannotOpen, "cannot open"},
    {"PlainText", "!this is a DXF file, not a database\n", tagPartFileStatus::NotADatabase, "not an SQLite"},
    {"EmptyDatabase", "create table other (x);", tagPartFileStatus::MissingTable,
     "geometry_patternData is missing"},
    {"NarrowPatternTable",
     "create table geometry_patternData (a, b, c, d, e, f, g, h, i, j, k);"
     "create table geometry_patrelation (a, b, c, d); create table geometry_loopData (a);"
     "create table geometry_loopnodeData (a, b, c, d, e);",
     tagPartFileStatus::BadTable, "11 columns instead of 12"},
    {"UnknownTypeCode",
     GF_PART_TABLES "insert into geometry_patternData values (1, 250, 0,0,0,0,0,0,0,0, 0,0);",
     tagPartFileStatus::BadData, "unknown type code 250"},
    {"InfiniteCoordinate",
     GF_PART_TABLES "insert into geometry_patternData values (1, 200, -1e999, 0,1,0,0,0,0,0, 0,0);",
     tagPartFileStatus::BadData, "column 2 is not finite"},
    {"RelationToMissingPattern",
     GF_PART_TABLES "insert into geometry_patternData values (1, 204, 0,0,1,0,0,0,0,0, 0,0);"
                    "insert into geometry_patrelation values (5, 1, 77, 101);",
     tagPartFileStatus::BadData, "related pattern 77"},
// Geometry the DXF reader would refuse is refused here too, with the same reasons.
#define GF_PATTERN_ROW(values) GF_PART_TABLES "insert into geometry_patternData values (" values ");"
    {"NegativeArcRadius", GF_PATTERN_ROW("1, 203, 0,0, -2,0,1, 0,0,0, 0,0"), tagPartFileStatus::BadData,
     "pattern 1: radius -2 is not positive"},
    {"CoordinateBeyondRange", GF_PATTERN_ROW("1, 200, 1e308,0, 1,0, 0,0,0,0, 0,0"),
     tagPartFileStatus::BadData, "column 2 lies beyond the kernel's range (1e+308)"},
    {"ZeroLengthLine", GF_PATTERN_ROW("1, 200, 0,0, 0,0, 0,0,0,0, 0,0"), tagPartFileStatus::BadData,
     "length 0 is not positive"},
    {"FullerThanAFullTurn", GF_PATTERN_ROW("1, 203, 0,0, 1,0,7, 0,0,0, 0,0"), tagPartFileStatus::BadData,
     "sweep 7 is zero or more than a full turn"},
    {"FlatOutsideItsCircle", GF_PATTERN_ROW("1, 205, 0,0, 1,1.5,0, 0,0,0, 0,0"), tagPartFileStatus::BadData,
     "flat distance 1.5 does not cut the circle of radius 1"},
    {"CornerRadiusTooLarge", GF_PATTERN_ROW("1, 206, 0,0, 10,4,3,0, 0,0, 0,0"), tagPartFileStatus::BadData,
     "corner radius 3 does not fit the 10 x 4 rectangle"},
    {"EllipseWithoutArcs", GF_PATTERN_ROW("1, 210, 0,0, 4,0,0.5, 0,0,0, 0,0"), tagPartFileStatus::BadData,
     "segment count 0 is below 1"},
    {"RowBeyondRange", GF_PATTERN_ROW("1, 207, 0,0, 1000,0, 0,0,0,0, 1048576,0"), tagPartFileStatus::BadData,
     "reaches beyond the kernel's range"},
    {"LoopNodeOnMissingPattern",
     GF_PART_TABLES "insert into geometry_loopData values (8);"
                    "insert into geometry_loopnodeData values (1, 3, 8, 0, 1);",
     tagPartFileStatus::BadData, "names pattern 3"},
};

class BadPartFile : public ::testing::TestWithParam<BadFileCase> {};

TEST_P(BadPartFile, IsRefusedWithAMessage) {
    const BadFileCase& c = GetParam();
    TempPath file;
    const std::string content = c.content;
    if (!content.empty() && content[0] == '!') {
        std::ofstream(file.str()) << content.substr(1);
    } else if (!content.empty()) {
        DBConnect(file.str()).Execute(content, 0);
    }
    const Part part(0);
    const PartFileResult result = PartFile::Load(file.str(), part.patterns, part.loops);
    EXPECT_EQ(result.status, c.status) << result.message;
    EXPECT_NE(result.message.find(c.messagePart), std::string::npos) << result.message;
    EXPECT_EQ(part.patterns->size(), 2u);
    EXPECT_EQ(part.loops->size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Files, BadPartFile, ::testing::ValuesIn(kBadFiles),
                         [](const auto& info) { return std::string(info.param.name); });

// A part file cut short (a copy that stopped half-way) is a damaged database, told apart from a file that
// is no database at all and from a failure to read.
TEST(PartFile, TruncatedFileIsDamaged) {
    TempPath whole;
    Part part(0);
    for (int i = 0; i < 200; ++i) {
        part.patterns->push_back(boost::make_shared<CirclePattern>(Point2D(i, 0), 0.25));
    }
    ASSERT_TRUE(PartFile::Save(whole.str(), part.patterns, part.loops).IsOk());
    std::ifstream in(whole.str(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    TempPath cut;
    std::ofstream(cut.str(), std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    const Part loaded(0);
    const PartFileResult result = PartFile::Load(cut.str(), loaded.patterns, loaded.loops);
    EXPECT_EQ(result.status, tagPartFileStatus::Damaged) << result.message;
    EXPECT_EQ(result.message.find(cut.str()), std::string::npos) << result.message;  // the caller names it
}

// The lenient policy loads what is sound and lists the rest.
TEST(PartFile, SkipBadRowsLoadsTheSoundRows) {
    TempPath file;
    DBConnect(file.str())
        .Execute(GF_PART_TABLES
                 "insert into geometry_patternData values (1, 204, 0,0,1,0,0,0,0,0, 0,0);"
                 "insert into geometry_patternData values (2, 999, 0,0,1,0,0,0,0,0, 0,0);",
                 0);
    auto list = boost::make_shared<PatternList>();
    const PartFileResult result =
        PartFile::Load(file.str(), list, PatLoopListPtr(), tagPartLoadPolicy::SkipBadRows);
    EXPECT_TRUE(result.IsOk());
    ASSERT_EQ(list->size(), 1u);
    EXPECT_EQ((*list)[0]->GetID(), 1);
    ASSERT_EQ(result.issues.size(), 1u);
    EXPECT_EQ(result.issues[0].row, 2);
}

// A file whose tables belong to something else is not overwritten by a save.
TEST(PartFile, SaveRefusesATableOfTheWrongWidth) {
    TempPath file;
    DBConnect(file.str())
        .Execute("create table geometry_loopData (a, b); insert into geometry_loopData values (1, 2);", 0);
    const Part part(0);
    const PartFileResult result = PartFile::Save(file.str(), part.patterns, part.loops);
    EXPECT_EQ(result.status, tagPartFileStatus::BadTable);
    DBConnect db(file.str());
    const DBResultPtr rows = db.ExecuteQuery("select count(*) from geometry_loopData;");
    EXPECT_EQ(db.GetNextRecord(rows)->GetDBFieldList()[0]->GetInt64(), 1);
}

}  // namespace
}  // namespace Norvane
