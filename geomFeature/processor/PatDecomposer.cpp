#include "geomFeature/processor/PatDecomposer.h"

#include <cmath>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/geomkit/RepeatData.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

PatternListPtr PatDecomposer::DecomposeStdPat(const IPatternPtr& pattern) {
    auto pieces = boost::make_shared<PatternList>();
    if (!pattern) {
        return pieces;
    }
    Geom2DListPtr outline = pattern->GetCacheData()->GetBaseGeom();
    if (!outline) {
        outline = pattern->CalcBaseGeomList();
    }
    if (!outline) {
        return pieces;
    }
    for (const IGeom2DPtr& element : *outline) {
        if (const auto line = boost::dynamic_pointer_cast<Line2D>(element)) {
            pieces->push_back(boost::make_shared<LinePattern>(line->GetStartPoint(), line->GetEndPoint()));
        } else if (const auto arc = boost::dynamic_pointer_cast<Arc2D>(element)) {
            // The start angle is the direction of the vector from the centre to the start point. It is
            // taken from the base angle's sine and cosine rather than from that vector, which a corner arc
            // of radius 0 (a sharp rounded-rectangle corner) does not have.
            const double base = arc->GetBaseAngle();
            const double startAngle = std::atan2(std::sin(base), std::cos(base));
            pieces->push_back(boost::make_shared<ArcPattern>(arc->GetCenter(), std::fabs(arc->GetRadius()),
                                                             startAngle, arc->GetSweepAngle()));
        }
    }
    return pieces;
}

// Copy i of the seed stands where the array's first-copy transform and then repeat matrix i - 1 carry it
// (the repeat matrices place the further copies relative to the first). A nested array seed is first
// broken into its own copies, which then travel together as one seed.
PatternListPtr PatDecomposer::DecomposeGridPat(const IArrayPatternPtr& array) {
    auto copies = boost::make_shared<PatternList>();
    if (!array) {
        return copies;
    }
    const IPatternPtr control = array->GetControlPat();
    if (!control) {
        return copies;
    }
    PatternListPtr seeds;
    if (const auto nested = boost::dynamic_pointer_cast<IArrayPattern>(control)) {
        seeds = DecomposeGridPat(nested);
    } else {
        seeds = boost::make_shared<PatternList>();
        seeds->push_back(control);
    }

    const Matrix2D first = array->GetFirstInstMat();
    std::vector<Matrix2D> places{first};
    if (const RepeatDataPtr repeat = array->GetRepeatData()) {
        for (const Matrix2D& m : *repeat) {
            places.push_back(m * first);  // first carries the seed to the first copy, then m moves it on
        }
    }
    for (const Matrix2D& place : places) {
        for (const IPatternPtr& seed : *seeds) {
            const IPatternPtr copy = boost::dynamic_pointer_cast<IPattern>(seed->Clone());
            if (!copy) {
                continue;
            }
            copy->Transform(place);
            // A clone shares the seed's relations; the copy is free, so its link back to the array goes.
            copy->SetBeControlPat(IPatternPtr());
            copies->push_back(copy);
        }
    }
    return copies;
}

}  // namespace Norvane
