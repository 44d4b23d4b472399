#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/PreSelectActionBase.h"

namespace Norvane {

// The editor's resting action (code 50): it selects patterns (click, window, control key, control+A, as
// PreSelectActionBase; a click picks the pattern nearest to it through the loop list), shows the selection
// in the pattern property bar, and starts grip editing. It does not use the drawing assistant.
//
// - Grips: after each move, the first snap point (selected patterns in order, each one's snap points in
//   order) closer than 5 device pixels to the cursor is the grip under the cursor. The button pressed on a
//   grip hands over to the drawing tool of the owner's kind, in grip mode on that point.
// - Double click: the pattern under the click is selected as a click selects it and shown in the bar.
// - The delete key deletes the selection (the seeds of selected arrays go with them).
// - After an undo or redo the bar is hidden and patterns the part no longer holds leave the selection.
//
// The list of selected patterns is the one the editor hands to the next action it is asked for (delete,
// copy, move, rotate), so that action works on exactly this selection.
class GF_API PatternSelectAction : public PreSelectActionBase {
public:
    PatternSelectAction(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                        const GlViewPortPtr& viewPort);

    int GetActionType() const override;

    // Selects the patterns of list (in its order, replacing the selection), makes the pattern property bar
    // visible and shows their properties.
    void SelectPatList(const PatternListPtr& list);

    int LButtonDown(double& x, double& y) override;
    int LButtonDBClk(double& x, double& y) override;
    int MovePoint(double& x, double& y) override;
    int OnKeyDown(unsigned int ch, unsigned int repeatCount, unsigned int flags) override;
    void UpdateForUndoRedo() override;
    // The selection drawing, and the grip under the cursor as a filled square.
    int DrawBeforeFinish() override;

    // The grip under the cursor after the last move (empty when none) and the selected pattern it belongs to.
    const Point2DPtr& GetGripPoint() const { return m_gripPoint; }
    const IPatternPtr& GetGripOwner() const { return m_gripOwner; }

protected:
    IPatternPtr PatternAt(const Point2D& point) const override;
    // Prompt 12480; the selection shown in the property bar (the bar is hidden when nothing is selected).
    void AfterSelect() override;

private:
    // The grip near point, as after a move there.
    void FindGrip(const Point2D& point);
    // Shows the selection in the property bar, or hides the bar when nothing is selected.
    void ShowSelection();

    Point2DPtr m_gripPoint;
    IPatternPtr m_gripOwner;
};

using PatternSelectActionPtr = boost::shared_ptr<PatternSelectAction>;

}  // namespace Norvane
