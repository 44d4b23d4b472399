#pragma once

#include <cstddef>

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/processor/KerfReport.h"

namespace Norvane {

class PatternList;
class PatLoopList;
using PatternListPtr = boost::shared_ptr<PatternList>;
using PatLoopListPtr = boost::shared_ptr<PatLoopList>;

// Kerf compensation of a whole part: the contours become the paths of the cutter's centre, so that a cut
// as wide as the kerf leaves the part at its drawn size. Every closed loop moves half the kerf into the
// scrap: outer contours and islands out (they grow), holes in (they shrink), by their depth in the nesting
// tree. Convex corners on the scrap side are rounded at exactly half the kerf (the cutter's own radius), so
// the path keeps that distance everywhere.
//
// How each loop is offset:
// - a polygon loop by the polygon offset engine (LoopProcessor::OffsetPolyLoop): new line and arc patterns
//   replace its old ones;
// - a standard shape or an array by its own offset when that is exact for the side: circles, obrounds and
//   radius slots always; rectangles, triangles and D shapes when they shrink (growing them would keep sharp
//   corners); rounded rectangles when their corners stay round (the corner radius is then set to r + d or
//   r - d, where the shape's own offset would scale it);
// - any other standard shape or array (an ellipse, whose offset is no ellipse; a grown rectangle, triangle
//   or D shape; a shape whose own offset refuses) becomes the lines and arcs of its outline, offset by the
//   engine: one new polygon loop per shape or array copy, the shape (the array and its seed) leaving the
//   pattern list.
// A loop that cannot be offset (a hole no wider than the kerf, one whose shrinking falls apart) keeps its
// geometry; its outcome says why. Open loops are left as drawn. An offset loop keeps its identifier.
//
// The report also names what the cut will get wrong although every offset was made: gaps a grown contour
// closed over, drawn points the cutter cannot reach (a slit narrower than the kerf, a corner sharper than
// 60 degrees), and loops whose paths cross (scrap between them narrower than the kerf).
//
// The caches of the patterns and loops are brought up to date first; afterwards the lists are marked
// modified, the loop caches are current and the boundary loop is chosen again. The nesting tree is not
// kept: compute it afresh when needed. A class of static members; no state.
class GF_API KerfCompensator {
public:
    KerfCompensator() = delete;

    // Answers the number of loops offset. A kerf that is not a finite number above zero changes nothing
    // and answers 0 with an empty report.
    static std::size_t Compensate(const PatternListPtr& patterns, const PatLoopListPtr& loops, double kerf,
                                  KerfReport& report);
};

}  // namespace Norvane
