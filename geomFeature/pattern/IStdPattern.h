#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/pattern/IPattern.h"

namespace Norvane {

// Closed standard shapes (circle, ellipse and the hole shapes). One pattern object implements both this
// interface and IPattern; IPattern is a virtual base so that the two meet in one subobject.
class GF_API IStdPattern : public virtual IPattern {
public:
    ~IStdPattern() override = default;

    // The shape's point of symmetry (its base point unless the shape defines another centre).
    virtual Point2D GetSymmetryPt() const = 0;                   // 0
    // Grows (direction 0) or shrinks (any other direction) the outline in place by distance; answers 1
    // on success and 0, leaving the shape unchanged, when the shape refuses.
    virtual int OffsetStdPat(int direction, double distance) = 0;  // 1
};

using IStdPatternPtr = boost::shared_ptr<IStdPattern>;

}  // namespace Norvane
