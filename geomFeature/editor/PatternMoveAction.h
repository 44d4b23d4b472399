#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/TransformPatActionBase.h"

namespace Norvane {

// Moves the selection (code 63) by the vector from a base point to a target point (TransformPatActionBase).
// Typed points are taken as they are ("x,y"; "@dx,dy" from the base point).
class GF_API PatternMoveAction : public TransformPatActionBase {
public:
    PatternMoveAction(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                      const GlViewPortPtr& viewPort, const PatternListPtr& selection);

    int GetActionType() const override;

protected:
    Matrix2D CalcTransform(const Point2D& base, const Point2D& second) const override;
    std::wstring GetCommandName() const override;
    int GetTransformPrompt(int step) const override;
};

}  // namespace Norvane
