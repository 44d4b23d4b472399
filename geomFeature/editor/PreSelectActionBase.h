#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/PatternActionBase.h"
#include "geomFeature/editor/detail/SelectWindow.h"
#include "geomFeature/host/geomkit/Point2D.h"

namespace Norvane {

// The common base of the actions that let the user pick patterns (click or window) before acting on them.
//
// Selection step: 0 nothing in progress; 1 the button is down (a window is being dragged); 2 something was
// selected; -1 the selection is confirmed (the acting actions). A button-down in step 0 or 2 starts a
// window (prompt 12481); the button-up collects: a drag wider or higher than 1e-9 takes the patterns lying
// wholly inside the window, a click the one nearest pattern (seeds of arrays are never picked; the
// array stands for them). Without the control key the collected patterns replace the selection, with it they
// are added (patterns already selected are not added twice). Nothing collected leaves the selection and
// goes back to step 0. Control+A selects every pattern but the seeds, as a window over the whole part does.
// The cancel key hands over to selection.
//
// The list of selected patterns is the one the action was given (shared with whoever gave it).
class GF_API PreSelectActionBase : public PatternActionBase {
public:
    PreSelectActionBase(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                        const GlViewPortPtr& viewPort, const PatternListPtr& selection);

    int LButtonDown(double& x, double& y) override;
    int LButtonUp(double& x, double& y) override;
    int MovePoint(double& x, double& y) override;
    int OnKeyDown(unsigned int ch, unsigned int repeatCount, unsigned int flags) override;
    // The window dashed while dragging, the pattern under the cursor highlighted unless selected, the
    // selection in the selection colour, the pick-box cursor.
    int DrawBeforeFinish() override;
    int IsProcessRightClickEvent() const override { return 1; }

    // The selected patterns (never an empty pointer).
    const PatternListPtr& GetSelPatList() const { return m_selection; }
    int GetSelectStep() const { return m_selectStep; }
    // The pattern under the cursor after the last move (may be empty).
    const IPatternPtr& GetPatUnderCursor() const { return m_hover; }

protected:
    // The pattern a click at point picks: the nearest pattern, seeds skipped.
    virtual IPatternPtr PatternAt(const Point2D& point) const;
    // After a button-up or control+A: prompt 12484 with a selection, 12482 without.
    virtual void AfterSelect();
    // Replaces the selection by the patterns or, with the control key held, adds those not yet selected.
    void Collect(const PatternListPtr& found);
    // Every pattern but the seeds.
    void SelectAll();
    // Resolves the selection through explode forwarding and drops what the part no longer holds.
    void PruneSelection();
    // The selection as a new list of distinct patterns (what commands are given: the selection list
    // itself may change later).
    PatternListPtr SelectionCopy() const;

    int m_selectStep = 0;
    detail::SelectWindow m_window;
    IPatternPtr m_hover;
    PatternListPtr m_selection;
};

using PreSelectActionBasePtr = boost::shared_ptr<PreSelectActionBase>;

}  // namespace Norvane
