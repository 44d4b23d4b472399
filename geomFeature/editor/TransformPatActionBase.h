#pragma once

#include <string>

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/PreSelectActionBase.h"
#include "geomFeature/host/geomkit/Matrix2D.h"

namespace Norvane {

// The common base of the actions that move, turn or copy a selection by two points.
//
// First the selection: as PreSelectActionBase, confirmed by the right button (selection step -1). A
// selection handed over by the editor that is not empty counts as confirmed at once. While the selection
// is being made the drawing assistant is off; once it is confirmed the action snaps like a drawing tool.
// Then the transformation: the first point (transform step 0 or 2 -> 1) is the base point, and clones of
// the selected patterns follow the cursor as a preview; the second point (-> 2) fixes the transformation
// (the concrete action's CalcTransform of the two points), which is recorded (a TransformPatCommand under the
// action's command name, or the copy action's own command); then selection with the result selected. A
// transformation that changes nothing is not recorded. The end key takes typed points as clicks (see
// ConvertKBInput), the cancel key hands over to selection. After an undo or redo the selection drops what the
// part no longer holds and has to be confirmed again (prompt 12480).
class GF_API TransformPatActionBase : public PreSelectActionBase {
public:
    TransformPatActionBase(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                           const GlViewPortPtr& viewPort, const PatternListPtr& selection);

    int LButtonDown(double& x, double& y) override;
    int LButtonUp(double& x, double& y) override;
    int RButtonUp(double& x, double& y) override;
    int MovePoint(double& x, double& y) override;
    int OnKeyDown(unsigned int ch, unsigned int repeatCount, unsigned int flags) override;
    // While selecting, the selection drawing; then the selection, a line from the base point to the cursor,
    // the moving clones and the cross-line cursor.
    int DrawBeforeFinish() override;
    void UpdateForUndoRedo() override;

    int GetTransformStep() const { return m_transformStep; }
    // The clones that follow the cursor (empty list before the base point).
    const PatternListPtr& GetMovingClones() const { return m_clones; }

protected:
    // The transformation from the base point to the second point.
    virtual Matrix2D CalcTransform(const Point2D& base, const Point2D& second) const = 0;
    // The name of the command recorded.
    virtual std::wstring GetCommandName() const = 0;
    // The prompt while waiting for the base point (step 0) or the second point (step 1).
    virtual int GetTransformPrompt(int step) const = 0;
    // 1 when the selection may be acted on; the rotation refuses arrays (and says why).
    virtual int AcceptSelection(int showRefusal);
    // Records the transformation of the selection and hands over to selection with the result selected.
    virtual void RecordTransform(const Matrix2D& matrix);

    // Confirms a selection handed over at construction; concrete actions call it from their constructor.
    void ConfirmGivenSelection();
    bool IsConfirmed() const { return m_selectStep == -1; }

    int m_transformStep = 0;
    Point2D m_basePoint;
    Point2D m_secondPoint;
    Point2D m_currentPoint;
    PatternListPtr m_clones;

private:
    void Confirm();
    void UpdateClones();
};

using TransformPatActionBasePtr = boost::shared_ptr<TransformPatActionBase>;

}  // namespace Norvane
