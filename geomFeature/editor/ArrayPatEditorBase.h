#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/GripEditActionBase.h"

namespace Norvane {

// The common base of the array tools. Their first click picks the shape to repeat (the base pattern): the
// standard shape nearest to the click, when it lies closer than 5 device pixels; the base pattern's base
// point is the first point of the array, whose first copy stands on the base pattern. A click that finds no
// standard shape there shows message 12440 and is not taken (the handler answers 0). The later points are the
// concrete tool's; the finished array is recorded by an ArrayPatternCommand (the base pattern becomes its
// seed) and selected.
class GF_API ArrayPatEditorBase : public GripEditActionBase {
public:
    ArrayPatEditorBase(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                       const GlViewPortPtr& viewPort);

    int LButtonDown(double& x, double& y) override;
    int MovePoint(double& x, double& y) override;
    // Before the base pattern is chosen: the candidate under the cursor highlighted and the pick-box cursor;
    // afterwards the base pattern in the selection colour, then the rubber band and the cross-line cursor.
    int DrawBeforeFinish() override;
    // Also forgets a base pattern the undo or redo took out of the part (or made another array's seed).
    void UpdateForUndoRedo() override;

    const IPatternPtr& GetBasePat() const { return m_base; }
    const IPatternPtr& GetCandidate() const { return m_candidate; }

protected:
    void Record(const PatternListPtr& made) override;
    // The pattern nearest to the point (seeds skipped) when it lies closer than the pick distance.
    IPatternPtr PatternUnder(const Point2D& point) const;

    IPatternPtr m_candidate;
    IPatternPtr m_base;
};

}  // namespace Norvane
