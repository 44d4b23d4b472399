#pragma once

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/editor/TransformPatActionBase.h"

namespace Norvane {

// Copies the selection (code 62) by the vector from a base point to a target point: the selection as the
// transform actions make it (prompts 12483, 12481), then the base point (12490) and the target point
// (12491). The copies are new patterns recorded by one CopyPatternCommand; a copied array gets a copy of
// its seed of its own. Then selection with the copies selected (copy again to make more).
class GF_API PatternCopyAction : public TransformPatActionBase {
public:
    PatternCopyAction(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                      const GlViewPortPtr& viewPort, const PatternListPtr& selection);

    int GetActionType() const override;

protected:
    Matrix2D CalcTransform(const Point2D& base, const Point2D& second) const override;
    std::wstring GetCommandName() const override;
    int GetTransformPrompt(int step) const override;
    void RecordTransform(const Matrix2D& matrix) override;
};

}  // namespace Norvane
