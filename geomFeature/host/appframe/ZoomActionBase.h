#pragma once

#include "geomFeature/host/appframe/ActionBase.h"

namespace Norvane {

// A view action that zooms the viewport by a fixed factor about every click: the world point under the
// click stays where it is on screen. It stays current until the editor is given another action.
class ZoomActionBase : public ActionBase {
public:
    // factor > 1 zooms in; promptID is the string resource shown while the action is current.
    ZoomActionBase(const GlViewPortPtr& viewPort, double factor, int promptID);

    int LButtonDown(double& x, double& y) override;

    double GetFactor() const { return m_factor; }

private:
    double m_factor;
};

}  // namespace Norvane
