#include "geomFeature/host/appframe/ActionBase.h"

#include <boost/make_shared.hpp>

#include "geomFeature/host/appframe/ValInputMgr.h"

namespace Norvane {

ActionBase::ActionBase(const GlViewPortPtr& viewPort) : m_viewPort(viewPort) {}

Point2DPtr ActionBase::GetFstInput() const {
    if (m_inputs.empty()) {
        return Point2DPtr();
    }
    return boost::make_shared<Point2D>(m_inputs[0]);
}

int ActionBase::GetPromptMsg(int& messageID, int& secondID) const {
    messageID = m_promptID;
    secondID = m_secondPromptID;
    return 1;
}

int ActionBase::ConvertKBInput(double& x, double& y) {
    const ValInputMgr& input = *ValInputMgr::GetInstance();
    double a = 0.0;
    double b = 0.0;
    const int count = input.GetInput(a, b);
    const Point2D last = m_inputs.empty() ? Point2D() : m_inputs[m_inputs.size() - 1];
    if (count == 2 && input.IsRelativeInput() != 0) {
        x = last.x + a;
        y = last.y + b;
    } else if (count == 1) {
        // Direct distance entry: the typed length along the direction from the last point to the cursor.
        Point2D cursor;
        if (m_viewPort) {
            m_viewPort->GetCursorPos(cursor.x, cursor.y);
        }
        Vector2D direction = cursor - last;
        if (m_inputs.empty() || direction.Length() == 0.0) {  // exact: no direction at all
            direction = Vector2D(1.0, 0.0);
        }
        direction.Magnitude(a);
        x = last.x + direction.x;
        y = last.y + direction.y;
    }
    return 1;
}

}  // namespace Norvane
