#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/TransformPatActionBase.h"

namespace Norvane {

// Turns the selection (code 64) about a centre (the base point) by the angle of the second point seen from
// the centre, counter-clockwise from +x (TransformPatActionBase). After the centre, the first typed value is
// the angle in degrees: the end key then acts as a click at that angle from the centre. A selection holding
// an array is refused with message 12522 (arrays keep their axes; they cannot turn).
class GF_API PatternRotateAction : public TransformPatActionBase {
public:
    PatternRotateAction(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                        const GlViewPortPtr& viewPort, const PatternListPtr& selection);

    int GetActionType() const override;
    int ConvertKBInput(double& x, double& y) override;

protected:
    Matrix2D CalcTransform(const Point2D& base, const Point2D& second) const override;
    std::wstring GetCommandName() const override;
    int GetTransformPrompt(int step) const override;
    int AcceptSelection(int showRefusal) override;
};

}  // namespace Norvane
