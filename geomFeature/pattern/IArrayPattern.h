#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/pattern/IPattern.h"

namespace Norvane {

class RepeatData;
using RepeatDataPtr = boost::shared_ptr<RepeatData>;

// A pattern that repeats another pattern, its control pattern (the seed), at regular places. The copies
// are never stored: they are computed from the seed and the array's own parameters whenever the first
// copy, the repeat matrices or the base geometry are asked for. One pattern object implements both this
// interface and IPattern; IPattern is a virtual base so that the two meet in one subobject.
// The order of the virtual operations below is fixed.
class GF_API IArrayPattern : public virtual IPattern {
public:
    ~IArrayPattern() override = default;

    // The seed this array repeats, or an empty pointer when none is set.
    virtual IPatternPtr GetControlPat() const = 0;  // 0
    // Makes pat the seed. Only this array's side of the link changes: the caller also tells the seed
    // through pat->SetBeControlPat(array).
    virtual void SetControlPat(const IPatternPtr& pat) = 0;  // 1
    // A new, free pattern (fresh identifier, no link to this array, cache filled): the first copy.
    virtual IPatternPtr GetFirstInst() const = 0;  // 2
    // The transform that carries the seed onto the first copy.
    virtual Matrix2D GetFirstInstMat() const = 0;  // 3
    // One matrix per further copy, in copy order, each relative to the first copy.
    virtual RepeatDataPtr GetRepeatData() const = 0;  // 4
    // Grows or shrinks the seed (a standard shape) in place while the copies keep their centres;
    // answers 1 on success, 0 (nothing changed) when the seed is no standard shape or refuses.
    virtual int OffsetArrayPat(int direction, double distance) = 0;  // 5
};

using IArrayPatternPtr = boost::shared_ptr<IArrayPattern>;

}  // namespace Norvane
