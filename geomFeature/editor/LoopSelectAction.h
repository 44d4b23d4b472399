#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/IPatManAction.h"
#include "geomFeature/editor/detail/SelectWindow.h"
#include "geomFeature/host/appframe/ActionBase.h"
#include "geomFeature/host/geomkit/Point2D.h"
#include "geomFeature/loop/IPatLoop.h"

namespace Norvane {

class PatLoopList;
using PatLoopListPtr = boost::shared_ptr<PatLoopList>;

// Picks whole loops (code 51), for a host that asks the user for contours (to offset, to cut, to nest). It
// is made by the host (GeometryEditor::SetLoopSelectAction), not by SetEditAction, and changes nothing in the
// part.
//
// The loop under the cursor is the loop of the pattern nearest to it (the loop list's own search) and is
// highlighted. A click selects that loop; a drag selects the loops lying wholly inside the window. Without
// the control key the loops picked replace the selection, with it they are added (a loop is never listed
// twice). Control+A selects every loop; the cancel key empties the selection. Undo and redo may rebuild
// loops, so the selection then follows each selected loop's first pattern to the loop that holds it now, and
// drops a loop whose patterns are gone. It does not use the drawing assistant.
class GF_API LoopSelectAction : public virtual IPatManAction, public ActionBase {
public:
    LoopSelectAction(const PatLoopListPtr& loops, const GlViewPortPtr& viewPort);

    int GetActionType() const override;
    int SupportDrawAssist() const override { return 0; }

    // Adds the loop to the selection (nothing when it is empty or already selected).
    void SelectLoop(const IPatLoopPtr& loop);
    const PatLoopListPtr& GetSelLoopList() const { return m_selection; }
    const IPatLoopPtr& GetLoopUnderCursor() const { return m_hover; }

    int LButtonDown(double& x, double& y) override;
    int LButtonUp(double& x, double& y) override;
    int MovePoint(double& x, double& y) override;
    int OnKeyDown(unsigned int ch, unsigned int repeatCount, unsigned int flags) override;
    int OnKeyUp(unsigned int ch, unsigned int repeatCount, unsigned int flags) override;
    // The window dashed while dragging, the loop under the cursor highlighted, the selected loops in the
    // selection colour, the pick-box cursor.
    int DrawBeforeFinish() override;
    void UpdateForUndoRedo() override;

private:
    IPatLoopPtr LoopAt(const Point2D& point) const;
    // Adds the loops not selected yet, in order.
    void AddLoops(const PatLoopList& loops);

    PatLoopListPtr m_loops;
    PatLoopListPtr m_selection;
    IPatLoopPtr m_hover;
    int m_selectStep = 0;
    detail::SelectWindow m_window;
};

using LoopSelectActionPtr = boost::shared_ptr<LoopSelectAction>;

}  // namespace Norvane
