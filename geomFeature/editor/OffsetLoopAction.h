#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/PatternActionBase.h"
#include "geomFeature/loop/IPatLoop.h"

namespace Norvane {

// Offsets one closed loop of the part (action code 65). The loop under the cursor is the loop of the
// pattern nearest to it, however far away (seeds of arrays are not picked; an array is picked through its
// own pattern); it is drawn highlighted. A click on it:
// - an open loop is refused with a warning (12526);
// - otherwise LoopOffsetDlg asks for the distance and the side; when confirmed, the loop is offset through
//   an undoable OffsetLoopCommand: inside (the first side choice) shrinks the region the loop encloses,
//   outside grows it. When the offset cannot be made (the loop would vanish or fall apart, a shape would
//   lose a dimension, the distance is not above zero) a warning (12527) says so and nothing changes.
// In every case, cancelled dialog included, the click hands over to selection with the loop's patterns
// (after an offset, the new ones) selected. A click with no loop under the cursor does nothing.
//
// It does not use the drawing assistant; keys are the base's (the cancel key returns to selection).
class GF_API OffsetLoopAction : public PatternActionBase {
public:
    OffsetLoopAction(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                     const GlViewPortPtr& viewPort);

    int GetActionType() const override;
    int MovePoint(double& x, double& y) override;
    int LButtonDown(double& x, double& y) override;
    int DrawBeforeFinish() override;
    // After an undo or redo the loop under the cursor is let go when the loop list no longer holds it.
    void UpdateForUndoRedo() override;

    const IPatLoopPtr& GetLoopUnderCursor() const { return m_loop; }

private:
    // Runs the dialog and the offset for a closed loop; shows 12527 when the offset fails.
    void OffsetClosedLoop(const IPatLoopPtr& loop);

    IPatLoopPtr m_loop;
};

using OffsetLoopActionPtr = boost::shared_ptr<OffsetLoopAction>;

}  // namespace Norvane
