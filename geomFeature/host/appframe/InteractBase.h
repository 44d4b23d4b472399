#pragma once

#include "geomFeature/host/appframe/IInteract.h"

namespace Norvane {

// Input handlers that ignore their input and answer 1; receivers override the events they care about.
class InteractBase : public virtual IInteract {
public:
    ~InteractBase() override = default;

    int LButtonDown(double& /*x*/, double& /*y*/) override { return 1; }
    int LButtonUp(double& /*x*/, double& /*y*/) override { return 1; }
    int LButtonDBClk(double& /*x*/, double& /*y*/) override { return 1; }
    int RButtonUp(double& /*x*/, double& /*y*/) override { return 1; }
    int MovePoint(double& /*x*/, double& /*y*/) override { return 1; }
    int OnKeyDown(unsigned int /*ch*/, unsigned int /*repeatCount*/, unsigned int /*flags*/) override {
        return 1;
    }
    int OnKeyUp(unsigned int /*ch*/, unsigned int /*repeatCount*/, unsigned int /*flags*/) override {
        return 1;
    }
};

}  // namespace Norvane
