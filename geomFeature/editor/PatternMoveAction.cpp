#include "geomFeature/editor/PatternMoveAction.h"

#include "geomFeature/editor/EditorResource.h"
#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/host/appframe/ResourceString.h"

namespace Norvane {

PatternMoveAction::PatternMoveAction(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                     const GlViewPortPtr& viewPort, const PatternListPtr& selection)
    : TransformPatActionBase(patterns, loops, viewPort, selection) {
    ConfirmGivenSelection();
}

int PatternMoveAction::GetActionType() const {
    return EDIT_MOVE;
}

Matrix2D PatternMoveAction::CalcTransform(const Point2D& base, const Point2D& second) const {
    Matrix2D m;
    m.SetTransfer(second - base);
    return m;
}

std::wstring PatternMoveAction::GetCommandName() const {
    return ResourceString::Load(kResMovePatternCmd);
}

int PatternMoveAction::GetTransformPrompt(int step) const {
    return step == 0 ? kResBasePointPrompt : kResTargetPointPrompt;
}

}  // namespace Norvane
