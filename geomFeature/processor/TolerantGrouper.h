#pragma once

#include <cstddef>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/geomkit/Point2D.h"
#include "geomFeature/loop/IPatLoop.h"
#include "geomFeature/pattern/IPattern.h"

namespace Norvane {

class ProgressMeter;
class PatternList;
class PatLoopList;
using PatternListPtr = boost::shared_ptr<PatternList>;
using PatLoopListPtr = boost::shared_ptr<PatLoopList>;

// Recognises the standard shapes in closed polygon loops of drawings as they really arrive: joints with
// small gaps, pieces split in two or drawn the other way, shapes far from the origin or in inches. Where
// PatGrouper asks for equality within 1e-9, this fits the exact shape to the drawn pieces and accepts it
// only when the two outlines agree within the closing tolerance both ways (every drawn point near the
// shape, every point of the shape near the drawing). So lengths and centres agree within the tolerance and
// angles within tolerance / size; anything else (a free-form contour, a rectangle with one corner off)
// stays a polygon. Chains of 21 to 499 lines whose vertices lie on an ellipse (least-squares fit to every
// vertex) become that ellipse, or a circle when its axes agree within the tolerance.
//
// The fitted shape is canonical (CanonicaliseFittedShape), so that equal holes drawn from different
// corners compare equal. A class of static members; no state.
class GF_API TolerantGrouper {
public:
    TolerantGrouper() = delete;

    // The standard shape fitted to a closed polygon loop (closed within tolerance), or empty when the
    // loop is none within tolerance. The shape's cache is filled.
    static IPatternPtr FitLoop(const IPatLoopPtr& loop, double tolerance);

    // Replaces each closed polygon loop of loops that FitLoop accepts, as PatGrouper::GroupPat does: the
    // loop leaves loops (the last loop moves into its place), its pieces leave patterns, the shape joins
    // patterns and, in a new standard loop, the end of loops. Answers the number of loops replaced. With
    // a progress meter it reports the loops tried and stops trying when cancelled.
    static std::size_t GroupPat(const PatternListPtr& patterns, const PatLoopListPtr& loops, double tolerance,
                                ProgressMeter* progress = nullptr);

    // Least-squares ellipse through points (algebraic fit of a conic to every point, centred and scaled
    // for conditioning): centre, half axes a >= b and the angle of the a axis. Answers false when the
    // points lie on no ellipse (fewer than five, or the conic is no ellipse).
    struct Ellipse {
        Point2D centre;
        double a = 0.0;
        double b = 0.0;
        double angle = 0.0;
    };
    static bool FitEllipse(const std::vector<Point2D>& points, Ellipse& ellipse);
};

}  // namespace Norvane
