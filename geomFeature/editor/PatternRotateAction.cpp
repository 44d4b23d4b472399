#include "geomFeature/editor/PatternRotateAction.h"

#include <algorithm>

#include "geomFeature/editor/EditorResource.h"
#include "geomFeature/editor/EditorTolerance.h"
#include "geomFeature/editor/PatternActionType.h"
#include "geomFeature/host/appframe/ResourceString.h"
#include "geomFeature/host/appframe/ValInputMgr.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

PatternRotateAction::PatternRotateAction(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                         const GlViewPortPtr& viewPort, const PatternListPtr& selection)
    : TransformPatActionBase(patterns, loops, viewPort, selection) {
    ConfirmGivenSelection();
}

int PatternRotateAction::GetActionType() const {
    return EDIT_ROTATE;
}

Matrix2D PatternRotateAction::CalcTransform(const Point2D& base, const Point2D& second) const {
    Matrix2D m;
    const double angle = (second - base).Angle();
    if (angle != 0.0) {  // exact: no turn at all leaves the identity
        m.RotateBy(base, angle);
    }
    return m;
}

std::wstring PatternRotateAction::GetCommandName() const {
    return ResourceString::Load(kResRotatePatternCmd);
}

int PatternRotateAction::GetTransformPrompt(int step) const {
    return step == 0 ? kResRotateCentrePrompt : kResRotateAnglePrompt;
}

int PatternRotateAction::AcceptSelection(int showRefusal) {
    const bool hasArray = std::any_of(m_selection->begin(), m_selection->end(),
                                      [](const IPatternPtr& p) { return p && p->IsArrayPat() != 0; });
    if (hasArray && showRefusal != 0) {
        ShowWarning(kResRotateArrayRefused);
    }
    return hasArray ? 0 : 1;
}

// After the centre: the first typed value is an angle in degrees, turned into the point at that angle from
// the centre (at distance 1, only the direction counts).
int PatternRotateAction::ConvertKBInput(double& x, double& y) {
    double angle = 0.0;
    double unused = 0.0;
    if (IsConfirmed() && m_transformStep == 1 && ValInputMgr::GetInstance()->GetInput(angle, unused) != 0) {
        Vector2D direction(1.0, 0.0);
        direction.SetAngle(angle * kTypedDegToRad);
        Point2D point = m_basePoint;
        point.Transfer(direction);
        x = point.x;
        y = point.y;
        return 1;
    }
    return TransformPatActionBase::ConvertKBInput(x, y);
}

}  // namespace Norvane
