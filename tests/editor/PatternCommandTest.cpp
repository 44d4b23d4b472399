// The pattern commands one by one: names, editor data, notifications and modified flags of every kind, and
// the cases where identity matters (rebuilt pieces, property values shown in degrees, recorded edits).
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/editor/AddPatternCommand.h"
#include "geomFeature/editor/ArrayPatternCommand.h"
#include "geomFeature/editor/CopyPatternCommand.h"
#include "geomFeature/editor/DeletePatternCommand.h"
#include "geomFeature/editor/ExplodeArrayPatCommand.h"
#include "geomFeature/editor/ExplodeStdPatCommand.h"
#include "geomFeature/editor/GripEditCommand.h"
#include "geomFeature/editor/PartEditCommand.h"
#include "geomFeature/editor/PatPropEditCommand.h"
#include "geomFeature/editor/PatternForwarding.h"
#include "geomFeature/editor/TransformPatCommand.h"
#include "geomFeature/host/appframe/IObserver.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatLinePattern.h"
#include "geomFeature/pattern/PatRelationList.h"
#include "geomFeature/pattern/PatternPropID.h"
#include "geomFeature/pattern/RectHolePattern.h"
#include "geomFeature/processor/LoopBuilder.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "tests/editor/PartFacts.h"
#include "tests/support/DrawTestEnv.h"

namespace Norvane {
namespace {

using testutil::CachedLine;

class CountingObserver : public IObserver {
public:
    DataID GetObserverID() const override { return 424242; }
    void OnSubjectChanged(ISubject* /*subject*/) override { ++count; }
    int count = 0;
};

IPatternPtr Cached(const IPatternPtr& p) {
    p->UpdateCache();
    return p;
}

Matrix2D Move(double dx, double dy) {
    Matrix2D m;
    m.SetTransfer(Vector2D(dx, dy));
    return m;
}

// A part with an open chain of two lines, a closed triangle, a circle, a rectangular hole and a row of
// three circles over a seed.
struct Part {
    PatternListPtr patterns = boost::make_shared<PatternList>();
    PatLoopListPtr loops;
    IPatternPtr chainEnd, triangleSide, circle, rect, seed;
    IArrayPatternPtr row;
    EditorData editorData{reinterpret_cast<WindowHandle>(0x1234), L"editor"};

    Part() {
        patterns->push_back(CachedLine(0, 0, 2, 0));
        chainEnd = CachedLine(2, 0, 2, 2);
        patterns->push_back(chainEnd);
        triangleSide = CachedLine(5, 0, 8, 0);
        patterns->push_back(triangleSide);
        patterns->push_back(CachedLine(8, 0, 5, 3));
        patterns->push_back(CachedLine(5, 3, 5, 0));
        circle = Cached(boost::make_shared<CirclePattern>(Point2D(0, 6), 1.0));
        patterns->push_back(circle);
        rect = Cached(boost::make_shared<RectHolePattern>(Point2D(4, 5), Point2D(6, 6), 0.0));
        patterns->push_back(rect);
        seed = Cached(boost::make_shared<CirclePattern>(Point2D(0, 10), 0.25));
        row = boost::make_shared<PatLinePattern>(Point2D(0, 10), Vector2D(1, 0), 3);
        row->SetControlPat(seed);
        seed->SetBeControlPat(row);
        row->UpdateCache();
        patterns->push_back(seed);
        patterns->push_back(row);
        loops = LoopBuilder::BuildPatLoops(patterns, 1e-4);
        LoopProcessor::UpdateCache(loops);
        loops->UpdateBoundaryLoop();
    }
    ~Part() {
        for (const IPatternPtr& p : *patterns) p->GetPatRelationList()->Clear();
        row->GetPatRelationList()->Clear();
        seed->GetPatRelationList()->Clear();
    }
    testutil::PartFacts Facts() const { return testutil::CaptureFacts(*patterns, *loops); }
    static PatternListPtr ListOf(std::initializer_list<IPatternPtr> items) {
        auto list = boost::make_shared<PatternList>();
        for (const IPatternPtr& p : items) list->push_back(p);
        return list;
    }
};

struct CommandCase {
    const char* name;
    std::function<ICommandPtr(Part&)> make;
    std::wstring expectedName;
    // Grip, property and transform edits notify the changed pattern instead of the pattern list.
    bool notifiesPattern;
};

IPatternPtr Moved(const IPatternPtr& p, double dx, double dy) {
    const IPatternPtr copy = boost::dynamic_pointer_cast<IPattern>(p->Clone());
    copy->Transform(Move(dx, dy));
    return copy;
}

const CommandCase kCommands[] = {
    {"Add",
     [](Part& p) {
         return boost::make_shared<AddPatternCommand>(p.editorData, p.patterns, p.loops,
                                                      CachedLine(2, 2, 3, 3));
     },
     ResourceString::Load(12252), false},
    {"Copy",
     [](Part& p) {
         return boost::make_shared<CopyPatternCommand>(
             p.editorData, p.patterns, p.loops, Part::ListOf({Moved(p.circle, 3, 0), Moved(p.rect, 0, 3)}));
     },
     ResourceString::Load(12253), false},
    {"Delete",
     [](Part& p) {
         return boost::make_shared<DeletePatternCommand>(p.editorData, p.patterns, p.loops,
                                                         Part::ListOf({p.triangleSide, p.row, p.seed}));
     },
     ResourceString::Load(12254), false},
    {"GripEdit",
     [](Part& p) {
         const IPatternPtr geometry = CachedLine(2, 0, 3, 2);
         return boost::make_shared<GripEditCommand>(p.editorData, p.loops, p.chainEnd, geometry);
     },
     ResourceString::Load(12255), true},
    {"PropEdit",
     [](Part& p) {
         DataPropItem oldItem(kPropGroupValues, kPropShapeRadius, 1.0);
         DataPropItem newItem(kPropGroupValues, kPropShapeRadius, 1.5);
         return boost::make_shared<PatPropEditCommand>(p.editorData, p.loops, p.circle, newItem, oldItem);
     },
     ResourceString::Load(12256), true},
    {"ExplodeStd",
     [](Part& p) {
         return boost::make_shared<ExplodeStdPatCommand>(p.editorData, p.patterns, p.loops, p.rect);
     },
     ResourceString::Load(12257), false},
    {"ExplodeArray",
     [](Part& p) {
         return boost::make_shared<ExplodeArrayPatCommand>(p.editorData, p.patterns, p.loops, p.row);
     },
     ResourceString::Load(12258), false},
    {"Array",
     [](Part& p) {
         auto array = boost::make_shared<PatLinePattern>(p.circle->GetBasePoint(), Vector2D(3, 0), 2);
         return boost::make_shared<ArrayPatternCommand>(p.editorData, p.patterns, p.loops, array, p.circle);
     },
     ResourceString::Load(12259), false},
    {"Transform",
     [](Part& p) {
         // The whole triangle, twice named: it is moved once.
         const PatternListPtr moved = p.loops->FindLoopByPat(p.triangleSide)->GetPatternList();
         moved->push_back(p.triangleSide);
         auto geometry = boost::make_shared<PatternList>();
         for (const IPatternPtr& q : *moved) geometry->push_back(Moved(q, 0.5, 7));
         return boost::make_shared<TransformPatCommand>(p.editorData, L"Move Patterns", p.loops, moved,
                                                        geometry);
     },
     L"Move Patterns", true},
};

class PatternCommandKinds : public ::testing::TestWithParam<CommandCase> {};

// Do, undo and redo: the name and editor data, one notification of each list (or of the changed patterns
// and the loop list) per call, the lists (or the pattern) marked modified, and undo and redo giving back
// exactly the part before and after.
TEST_P(PatternCommandKinds, DoUndoRedoNotifyAndRestore) {
    Part part;
    CountingObserver patternsHeard;
    CountingObserver loopsHeard;
    part.patterns->AddObserver(&patternsHeard);
    part.loops->AddObserver(&loopsHeard);
    const testutil::PartFacts before = part.Facts();
    const ICommandPtr command = GetParam().make(part);
    EXPECT_EQ(command->GetCommandName(), GetParam().expectedName);
    EXPECT_EQ(command->GetEditorData().GetWindow(), part.editorData.GetWindow());
    EXPECT_EQ(command->GetEditorData().GetEditorName(), L"editor");

    command->Do();
    const testutil::PartFacts after = part.Facts();
    EXPECT_EQ(testutil::CheckInvariants(*part.patterns, *part.loops, after), "");
    EXPECT_NE(testutil::CompareFacts(before, after), "");
    EXPECT_EQ(loopsHeard.count, 1);
    EXPECT_EQ(patternsHeard.count, GetParam().notifiesPattern ? 0 : 1);
    EXPECT_TRUE(part.patterns->IsModified() != 0);

    command->UnDo();
    EXPECT_EQ(testutil::CompareFacts(before, part.Facts()), "");
    EXPECT_EQ(loopsHeard.count, 2);
    command->Do();
    EXPECT_EQ(testutil::CompareFacts(after, part.Facts()), "");
    EXPECT_EQ(loopsHeard.count, 3);
    part.patterns->RemoveObserver(patternsHeard.GetObserverID());
    part.loops->RemoveObserver(loopsHeard.GetObserverID());
}

INSTANTIATE_TEST_SUITE_P(Commands, PatternCommandKinds, ::testing::ValuesIn(kCommands),
                         [](const ::testing::TestParamInfo<CommandCase>& info) {
                             return std::string(info.param.name);
                         });

// A seed has no loop of its own (its array's loop stands for it): deleting it alone leaves the loops as
// they are.
TEST(PatternCommandTest, DeletingASeedLeavesTheLoopsAlone) {
    Part part;
    const std::multiset<testutil::LoopKey> loops = testutil::LoopKeys(part.Facts().loops);
    DeletePatternCommand command(part.editorData, part.patterns, part.loops, Part::ListOf({part.seed}));
    command.Do();
    EXPECT_EQ(part.patterns->GetPatternIndex(part.seed), -1);
    EXPECT_EQ(testutil::LoopKeys(part.Facts().loops), loops);
}

// Redoing an explode builds new pieces; a command recorded later on a piece of the first explode acts on
// the piece that stands for it now.
TEST(PatternCommandTest, RedoneExplodeMakesNewPiecesThatLaterCommandsFollow) {
    PatternForwarding::Clear();
    Part part;
    ExplodeArrayPatCommand explode(part.editorData, part.patterns, part.loops, part.row);
    explode.Do();
    const PatternListPtr firstPieces = explode.GetPieces();
    ASSERT_EQ(firstPieces->size(), 3u);
    const IPatternPtr piece = (*firstPieces)[1];
    TransformPatCommand move(part.editorData, L"Move", part.loops, Part::ListOf({piece}),
                             Part::ListOf({Moved(piece, 0, -2)}));
    move.Do();
    const testutil::PartFacts moved = part.Facts();
    move.UnDo();
    explode.UnDo();
    explode.Do();
    const PatternListPtr secondPieces = explode.GetPieces();
    ASSERT_EQ(secondPieces->size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NE((*secondPieces)[i], (*firstPieces)[i]);
        EXPECT_EQ(PatternForwarding::Resolve((*firstPieces)[i]), (*secondPieces)[i]);
    }
    move.Do();
    EXPECT_EQ(testutil::CompareFacts(moved, part.Facts()), "");
    EXPECT_EQ((*secondPieces)[1]->GetBasePoint(), Point2D(1, 8));
    EXPECT_EQ(piece->GetBasePoint(), Point2D(1, 10));  // the replaced piece was left alone
    PatternForwarding::Clear();
}

// A recorded edit runs once; undo puts the very same patterns back at their places, redo the patterns the
// edit made, without running it again.
TEST(PatternCommandTest, RecordedEditRunsOnceAndRestoresOrder) {
    Part part;
    int runs = 0;
    const PatternListPtr patterns = part.patterns;
    const PatLoopListPtr loops = part.loops;
    const IPatternPtr replaced = (*patterns)[0];
    const IPatternPtr replacement = CachedLine(0, 0, 2, 0);
    auto edit = [&runs, patterns, loops, replaced, replacement] {
        ++runs;
        patterns->RemovePattern(replaced);
        LoopProcessor::DelPatFromLoopListEx(loops, replaced, 1e-4);
        patterns->push_back(replacement);
        LoopProcessor::AddPatToLoopListEx(loops, replacement, 1e-4);
        return 7;
    };
    const std::vector<IPatternPtr> order(patterns->begin(), patterns->end());
    const testutil::PartFacts before = part.Facts();
    PartEditCommand command(part.editorData, L"Replace", patterns, loops, edit, PatternListPtr());
    command.Do();
    EXPECT_EQ(command.GetResult(), 7);
    const testutil::PartFacts after = part.Facts();
    command.UnDo();
    EXPECT_EQ(std::vector<IPatternPtr>(patterns->begin(), patterns->end()), order);
    EXPECT_EQ(testutil::CompareFacts(before, part.Facts()), "");
    command.Do();
    EXPECT_EQ(testutil::CompareFacts(after, part.Facts()), "");
    EXPECT_EQ(patterns->back(), replacement);
    EXPECT_EQ(runs, 1);
}

}  // namespace
}  // namespace Norvane
