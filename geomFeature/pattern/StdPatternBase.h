#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/pattern/IStdPattern.h"
#include "geomFeature/pattern/PatternBase.h"

namespace Norvane {

// Common base of the closed standard shapes: they are standard (not arrays) and, unless a shape says
// otherwise, symmetric about their base point.
class GF_API StdPatternBase : public PatternBase, public IStdPattern {
public:
    StdPatternBase() = default;
    explicit StdPatternBase(DataID id) : PatternBase(id) {}

    Point2D GetSymmetryPt() const override;
    int IsStdPat() const override;
    int IsArrayPat() const override;
};

using StdPatternBasePtr = boost::shared_ptr<StdPatternBase>;

}  // namespace Norvane
