#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/pattern/IPattern.h"

namespace Norvane {

// A drawing tool that can also reshape an existing pattern of its kind by one of its snap points (grip
// editing). The selection action starts it when the user presses the button on a grip: first the pattern,
// then the grip point. The order of the operations is fixed.
class GF_API IGripEditAction {
public:
    virtual ~IGripEditAction() = default;

    // The pattern to edit (the object in the part; it stays the same object through the edit).
    virtual void SetGripEditPat(const IPatternPtr& pattern) = 0;
    // Chooses the grip: the first snap point of the pattern whose Manhattan distance to (x, y) is below
    // 0.0001. No such point leaves the grip as it was.
    virtual void SetGripEditPt(double x, double y) = 0;
};

using IGripEditActionPtr = boost::shared_ptr<IGripEditAction>;

}  // namespace Norvane
