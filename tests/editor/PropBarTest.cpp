// The pattern property bar as the grid model a window renders, its edits (taken as commands, or refused
// with message 12441 and shown again), and the options dialog.
#include <string>
#include <tuple>
#include <vector>

#include <boost/make_shared.hpp>

#include "geomFeature/editor/EditorResource.h"
#include "geomFeature/editor/GeomOptDlg.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/host/uikit/ScriptedDialogService.h"
#include "geomFeature/pattern/LinePattern.h"
#include "tests/editor/ScenarioTestBase.h"

namespace Norvane {
namespace {

class PropBarTest : public testutil::ScenarioTestBase {
protected:
    PropBarTest() {
        std::tie(seed, row) = CircleRow(Point2D(0, 30), Vector2D(5, 0), 3);
        Build({boost::make_shared<LinePattern>(Point2D(0, 0), Point2D(10, 0)),
               boost::make_shared<LinePattern>(Point2D(0, 5), Point2D(10, 5)),
               boost::make_shared<CirclePattern>(Point2D(25, 5), 2.0), seed, row});
        circle = (*patterns)[2];
    }
    static const PropGrid& Grid() { return PatternPropBar::GetInstance()->GetGrid(); }
    static const PropGrid::Entry& Row(int item) {
        std::size_t g = 0;
        std::size_t e = 0;
        EXPECT_EQ(Grid().FindEntry(item, g, e), 1) << item;
        return *Grid().GetEntry(g, e);
    }

    IPatternPtr seed, circle;
    IArrayPatternPtr row;
};

// One pattern: its title group, then its values as numeric entries with four decimals (counts as whole
// numbers). Several: one read-only summary of the kinds.
TEST_F(PropBarTest, OnePatternShowsItsGroupsSeveralShowTheSummary) {
    ASSERT_TRUE(Run("click 26.7 6.7"));
    ASSERT_EQ(Grid().GetGroups().size(), 2u);
    EXPECT_EQ(Grid().GetGroups()[0].titleID, 11501);
    EXPECT_EQ(Grid().GetGroups()[1].titleID, 12099);
    EXPECT_EQ(Grid().GetGroups()[0].entries[0].kind, PropGrid::EntryKind::ReadOnly);
    EXPECT_EQ(Grid().GetGroups()[0].entries[0].shown, ResourceString::Load(12028));
    EXPECT_EQ(Row(12106).kind, PropGrid::EntryKind::Number);
    EXPECT_EQ(Row(12106).shown, L"2.0000");
    EXPECT_EQ(Row(12106).caption, ResourceString::Load(12106));

    ASSERT_TRUE(Run("click 2.5 30.9"));
    EXPECT_EQ(Row(12122).shown, L"3");

    ASSERT_TRUE(Run("drag -1 -1 11 6\nclick 26.7 6.7 ctrl\nexpect selected 3"));
    ASSERT_EQ(Grid().GetGroups().size(), 1u);
    const PropGrid::Group& summary = Grid().GetGroups()[0];
    EXPECT_EQ(summary.titleID, 12007);
    ASSERT_EQ(summary.entries.size(), 2u);
    EXPECT_EQ(summary.entries[0].caption, L"Line");
    EXPECT_EQ(summary.entries[0].shown, L"2");
    EXPECT_EQ(summary.entries[1].caption, L"Circle");
    EXPECT_EQ(summary.entries[0].kind, PropGrid::EntryKind::ReadOnly);
    EXPECT_EQ(PatternPropBar::GetInstance()->EditProperty(12024, L"3"), 0);  // nothing to edit there
}

// An edit is a PatPropEditCommand on the same object; undo and redo bring each value back.
TEST_F(PropBarTest, AnEditIsRecordedAndUndone) {
    ASSERT_TRUE(Run("click 26.7 6.7\nprop 12106 7.5\nexpect undo 1\nexpect message none"));
    EXPECT_EQ((*patterns)[2], circle);
    EXPECT_DOUBLE_EQ(Prop(circle, 12106), 7.5);
    EXPECT_EQ(CommandManager::GetInstance()->GetUndoCommand()->GetCommandName(), ResourceString::Load(12256));
    EXPECT_EQ(Row(12106).shown, L"7.5000");  // shown again with the new value
    EXPECT_GT(view->CountCalls("Invalidate"), 0u);
    ASSERT_TRUE(Run("undo"));
    EXPECT_DOUBLE_EQ(Prop(circle, 12106), 2.0);
    ASSERT_TRUE(Run("redo\nclick 2.5 30.9\nprop 12122 5\nprop 12117 90"));
    EXPECT_DOUBLE_EQ(Prop(row, 12122), 5);
    EXPECT_NEAR(Prop(row, 12117), 90, 1e-9);
    EXPECT_EQ(CommandManager::GetInstance()->GetUndoCount(), 3u);
}

// Values that are no value for the row, or that the pattern refuses, clamps or cannot stay sound with.
TEST_F(PropBarTest, RefusedValuesShowTheMessageAndTheOldValues) {
    struct Refusal {
        const char* select;
        int item;
        const char* text;
    };
    for (const Refusal& r : {Refusal{"click 26.7 6.7", 12106, "-1"}, Refusal{"click 26.7 6.7", 12106, "abc"},
                             Refusal{"click 26.7 6.7", 12106, "1e3"}, Refusal{"click 2.5 30.9", 12122, "2.5"},
                             Refusal{"click 2.5 30.9", 12122, "0"}, Refusal{"click 2.5 30.9", 12121, "0"},
                             Refusal{"click 3 0.2", 12105, "0"}}) {
        SCOPED_TRACE(std::string(r.select) + " " + r.text);
        ASSERT_TRUE(Run(std::string(r.select) + "\nprop " + std::to_string(r.item) + " " + r.text +
                        "\nexpect message 12441\nexpect undo 0"));
        EXPECT_EQ(Row(r.item).text, Row(r.item).shown);
    }
    // An unchanged text is no edit at all.
    ASSERT_TRUE(Run("click 26.7 6.7\nprop 12106 2.0000\nexpect message none\nexpect undo 0"));
}

// Rows with options are drop-downs: the option chosen stands for its index (integer items) or for itself
// (text items); a format of the item's own is used when it is one conversion of the item's kind.
TEST(PropGridTest, DropDownsAndFormats) {
    DataPropItem choice(12099, 12132, 1);
    choice.SetOptions({L"Fine", L"Coarse"});
    PropGrid::Entry entry = PropGrid::MakeEntry(choice, false);
    EXPECT_EQ(entry.kind, PropGrid::EntryKind::Choice);
    EXPECT_EQ(entry.shown, L"Coarse");
    DataPropItem value;
    entry.text = L"Fine";
    ASSERT_EQ(PropGrid::ParseEntry(entry, value), 1);
    EXPECT_EQ(value.GetInt(), 0);
    entry.text = L"Medium";
    EXPECT_EQ(PropGrid::ParseEntry(entry, value), 0);

    DataPropItem named(12099, 12132, std::wstring(L"Fine"));
    named.SetOptions({L"Fine", L"Coarse"});
    entry = PropGrid::MakeEntry(named, false);
    entry.text = L"Coarse";
    ASSERT_EQ(PropGrid::ParseEntry(entry, value), 1);
    EXPECT_EQ(value.GetString(), L"Coarse");

    for (const auto& [format, shown] : {std::pair{L"%.2f mm", L"1.50 mm"}, std::pair{L"%s", L"1.5000"},
                                        std::pair{L"%f%n", L"1.5000"}, std::pair{L"%d", L"1.5000"}}) {
        std::wstring used;
        EXPECT_EQ(PropGrid::FormatValue(DataPropItem(12099, 12106, 1.5, format), used), shown) << format;
    }
}

// The options dialog offers its distance with four decimals on its background colour, and keeps what the
// user confirmed.
TEST(GeomOptDlgTest, KeepsTheConfirmedDistance) {
    const auto script = boost::make_shared<ScriptedDialogService>();
    const IDialogServicePtr previous = XDialogBase::SetService(script);
    GeomOptDlg dialog;
    dialog.SetdAllowOffset(0.5);
    ScriptedDialogService::Answer answer;
    answer.texts = {{10901, L"0.25"}};
    script->QueueAnswer(answer);
    EXPECT_EQ(dialog.DoModal(), MSGBOX_RESULT_OK);
    EXPECT_DOUBLE_EQ(dialog.GetdAllowOffset(), 0.25);
    ASSERT_EQ(script->GetShown().size(), 1u);
    EXPECT_EQ(script->GetShown()[0].templateID, 30145);
    EXPECT_EQ(script->GetShown()[0].controls[0].edit.GetText(), L"0.5000");
    EXPECT_EQ(script->GetShown()[0].controls[0].edit.GetDigits(), 4);
    EXPECT_EQ(dialog.GetBackgroundColor(), 16644079ul);

    answer.result = MSGBOX_RESULT_CANCEL;
    answer.texts = {{10901, L"9"}};
    script->QueueAnswer(answer);
    EXPECT_EQ(dialog.DoModal(), MSGBOX_RESULT_CANCEL);
    answer.result = MSGBOX_RESULT_OK;
    answer.texts = {{10901, L"-3"}};  // not a distance: the edit keeps its number
    script->QueueAnswer(answer);
    dialog.DoModal();
    EXPECT_DOUBLE_EQ(dialog.GetdAllowOffset(), 0.25);
    XDialogBase::SetService(previous);
}

}  // namespace
}  // namespace Norvane
