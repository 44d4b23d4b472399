#pragma once

// A fixture for editing scenarios: a part, a geometry editor on a recording viewport and a scenario runner.
// The view is 1000 pixels wide and shows (-50, -50) to (50, 50): one pixel is 0.1 drawing units, so the
// 5-pixel pick and snap distances are 0.5 units.

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>

#include "geomFeature/draw/DrawAssistor.h"
#include "geomFeature/editor/EditScriptRunner.h"
#include "geomFeature/editor/GeometryEditor.h"
#include "geomFeature/editor/PatternForwarding.h"
#include "geomFeature/editor/PatternPropBar.h"
#include "geomFeature/host/appframe/CommandManager.h"
#include "geomFeature/host/appframe/DataProperty.h"
#include "geomFeature/host/appframe/ValInputMgr.h"
#include "geomFeature/host/viewkit/RecordingViewPort.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/PatLinePattern.h"
#include "geomFeature/pattern/PatRelationList.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopBuilder.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "tests/support/DrawTestEnv.h"

namespace Norvane {
namespace testutil {

class ScenarioTestBase : public ::testing::Test {
protected:
    ScenarioTestBase() {
        CommandManager::GetInstance()->Clear();
        PatternForwarding::Clear();
        ValInputMgr::GetInstance()->Clear();
        view->SetWindow(&window);
        editor->SetPatternList(patterns);
        editor->SetPatLoopList(loops);
        editor->SetEditAction(EDIT_SELECT);
    }
    ~ScenarioTestBase() override {
        CommandManager::GetInstance()->Clear();
        ValInputMgr::GetInstance()->Clear();
        PatternPropBar::GetInstance()->ShowBar(0);
        // Arrays and seeds point at each other; undo history aside, nothing else frees them.
        for (const IPatternPtr& p : *patterns) {
            p->GetPatRelationList()->Clear();
        }
    }

    // Runs the scenario; a failure is reported with its line and text, and answers false.
    bool Run(const std::string& script) {
        if (runner.RunText(script) != 0) {
            return true;
        }
        ADD_FAILURE() << runner.GetErrorText() << "\nin:\n" << script;
        return false;
    }

    // Puts patterns into the part and chains its loops afresh.
    void Build(const std::vector<IPatternPtr>& add) {
        for (const IPatternPtr& p : add) {
            p->UpdateCache();
            patterns->push_back(p);
        }
        loops->clear();
        const PatLoopListPtr built = LoopBuilder::BuildPatLoops(patterns, 1e-4);
        loops->insert(loops->end(), built->begin(), built->end());
        LoopProcessor::UpdateCache(loops);
        loops->UpdateBoundaryLoop();
    }

    // A row of `count` circles of radius 1, `step` apart, over a seed at `first` (not yet in the part).
    static std::pair<IPatternPtr, IArrayPatternPtr> CircleRow(const Point2D& first, const Vector2D& step,
                                                              int count) {
        const IPatternPtr seed = boost::make_shared<CirclePattern>(first, 1.0);
        seed->UpdateCache();
        const auto row = boost::make_shared<PatLinePattern>(first, step, count);
        row->SetControlPat(seed);
        seed->SetBeControlPat(row);
        return {seed, row};
    }

    int Current() const { return editor->GetActionObject()->GetActionType(); }
    IPatternPtr Last() const { return patterns->empty() ? IPatternPtr() : patterns->back(); }
    static double Prop(const IPatternPtr& p, int item) {
        const DataProperty property = p->GetProperty();
        const DataPropItem* found = property.GetItemByName(item);
        return found ? found->GetDouble() : -1.0e300;
    }

    DisplayColorGuard colors;
    int window = 0;  // its address is the view's window handle
    RecordingViewPortPtr view = boost::make_shared<RecordingViewPort>(1000, 1000, Rect2D(-50, 50, -50, 50));
    GeometryEditorPtr editor =
        boost::make_shared<GeometryEditor>(view, boost::make_shared<DrawAssistor>(view));
    PatternListPtr patterns = boost::make_shared<PatternList>();
    PatLoopListPtr loops = boost::make_shared<PatLoopList>();
    EditScriptRunner runner{editor};
};

}  // namespace testutil
}  // namespace Norvane
