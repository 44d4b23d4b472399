// The scenario format: what does not parse is reported with its line before anything runs; what fails
// while running stops the run at its line; the services the runner installs are put back.
#include <string>
#include <vector>

#include "geomFeature/editor/EditScript.h"
#include "geomFeature/host/uikit/XDialogBase.h"
#include "geomFeature/host/uikit/XMessageBox.h"
#include "tests/editor/ScenarioTestBase.h"

namespace Norvane {
namespace {

struct BadScript {
    const char* text;
    int line;
    const char* says;
};

TEST(EditScriptTest, BadStepsAreReportedWithTheirLineAndNothingParses) {
    const std::vector<BadScript> cases = {
        {"clik 1 2", 1, "unknown step 'clik'"},
        {"tool line\n\n# a comment\nclick 1", 4, "'click' needs 2 numbers"},
        {"click 1 2 3", 1, "'click' needs 2 numbers"},
        {"click 1 y", 1, "'y' is not a number"},
        {"click 1 nan", 1, "'nan' is not a number"},
        {"drag 0 0 1 1 shift", 1, "'drag' needs 4 numbers"},
        {"tool hexagon", 1, "unknown tool 'hexagon'"},
        {"tool 13", 1, "unknown tool '13'"},
        {"action 70", 1, "unknown action '70'"},
        {"view zoom", 1, "unknown view 'zoom'"},
        {"key f1", 1, "unknown key 'f1'"},
        {"type", 1, "'type' needs the text"},
        {"undo 0", 1, "optional count of at least 1"},
        {"snap maybe", 1, "'snap' needs on or off"},
        {"prop radius 2", 1, "'prop' needs the item number"},
        {"answer yes", 1, "'answer' needs ok or cancel"},
        {"answer ok 1313~2", 1, "neither ID=TEXT nor ID:INDEX"},
        {"expect colour 3", 1, "'expect' needs one of"},
        {"expect patterns many", 1, "'many' is not a whole number"},
    };
    for (const BadScript& c : cases) {
        EditScript script;
        EXPECT_EQ(script.Parse(c.text), 0) << c.text;
        EXPECT_EQ(script.GetErrorLine(), c.line) << c.text;
        EXPECT_NE(script.GetError().find(c.says), std::string::npos) << c.text << " -> " << script.GetError();
        EXPECT_TRUE(script.GetSteps().empty());
    }
    EditScript good;
    ASSERT_EQ(good.Parse("Tool CIRCLE # names in any case\nclick -1.5 +2 ctrl\nkey ctrl+A\ntype @1, 2 \n"
                         "answer ok 1313=0.5 1315:1\nexpect message none"),
              1);
    ASSERT_EQ(good.GetSteps().size(), 6u);
    EXPECT_EQ(good.GetSteps()[0].code, 9);
    EXPECT_EQ(good.GetSteps()[1].values, (std::vector<double>{-1.5, 2}));
    EXPECT_EQ(good.GetSteps()[1].ctrl, 1);
    EXPECT_EQ(good.GetSteps()[2].code, 'A');
    EXPECT_EQ(good.GetSteps()[3].text, "@1, 2");
    EXPECT_EQ(good.GetSteps()[4].choices.size(), 1u);
    EXPECT_EQ(good.GetSteps()[5].code, -1);
}

using EditScriptRunnerTest = testutil::ScenarioTestBase;

// A failing step stops the run at its line (what ran before it stays done); the services are put back.
TEST_F(EditScriptRunnerTest, FailuresStopTheRunAtTheirLine) {
    const IMessageBoxServicePtr boxes = XMessageBox::GetService();
    const IDialogServicePtr dialogs = XDialogBase::GetService();
    struct Failing {
        const char* text;
        int line;
        const char* says;
    };
    for (const Failing& f :
         {Failing{"tool circle\nclick 0 0\nclick 1 0\nexpect patterns 2", 4, "expected patterns 2, found 1"},
          Failing{"undo\nundo", 2, "nothing to undo"}, Failing{"redo\nredo", 2, "nothing to redo"},
          Failing{"key esc\nprop 12106 3", 2, "no editable row for item 12106"},
          Failing{"window 0 0 0 5", 1, "width and a height"},
          Failing{"tool line\nclick 10 10\nclick 20 10\naction explode\nclick 15 10\n"
                  "expect message 12440",
                  6, "expected message 12440, found 12500"}}) {
        EXPECT_EQ(runner.RunText(f.text), 0) << f.text;
        EXPECT_EQ(runner.GetErrorLine(), f.line) << f.text;
        EXPECT_NE(runner.GetError().find(f.says), std::string::npos) << f.text << " -> " << runner.GetError();
        EXPECT_EQ(XMessageBox::GetService(), boxes);
        EXPECT_EQ(XDialogBase::GetService(), dialogs);
    }
    EXPECT_EQ(patterns->size(), 2u);  // the circle and the line are kept
    EXPECT_EQ(runner.GetErrorText().rfind("line 6: ", 0), 0u);
    ASSERT_TRUE(Run("answer cancel\nwindow -5 -5 5 5\nsnap off\nview zoomin\nclick 0 0\nexpect action -2"));
    EXPECT_EQ(runner.GetDialogs()->GetPendingCount(), 1u);
    EXPECT_DOUBLE_EQ(view->DToW(5.0), 0.025);  // the window of 10 units on 1000 pixels, zoomed in once
}

}  // namespace
}  // namespace Norvane
