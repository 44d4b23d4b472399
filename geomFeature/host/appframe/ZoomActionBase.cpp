#include "geomFeature/host/appframe/ZoomActionBase.h"

namespace Norvane {

ZoomActionBase::ZoomActionBase(const GlViewPortPtr& viewPort, double factor, int promptID)
    : ActionBase(viewPort), m_factor(factor) {
    SetPromptMsg(promptID);
}

int ZoomActionBase::LButtonDown(double& x, double& y) {
    if (m_viewPort) {
        m_viewPort->ZoomAt(m_factor, Point2D(x, y));
    }
    return 1;
}

}  // namespace Norvane
