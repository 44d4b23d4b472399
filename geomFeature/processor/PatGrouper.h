#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/pattern/IPattern.h"

namespace Norvane {

class Line2DList;
class ProgressMeter;
class PatternList;
class PatLoopList;
class LinePattern;
class ArcPattern;
using Line2DListPtr = boost::shared_ptr<Line2DList>;
using PatternListPtr = boost::shared_ptr<PatternList>;
using PatLoopListPtr = boost::shared_ptr<PatLoopList>;
using LinePatternPtr = boost::shared_ptr<LinePattern>;
using ArcPatternPtr = boost::shared_ptr<ArcPattern>;

// Recognises circles, ellipses and the standard hole shapes in closed polygon loops of loose lines and
// arcs (as an imported drawing delivers them) and replaces the pieces by one standard pattern each.
//
// The recognisers read the pieces as patterns, in loop order, each in its OWN direction (start point to
// end point of the pattern, whatever the loop's follow flag): sweeps, middle points and side vectors are
// the patterns' own. Every equality test is absolute (lengths, coordinates, products of vectors). A
// recogniser that does not see its shape answers an empty pointer; the new pattern's cache is filled.
// A class of static members; no state.
class GF_API PatGrouper {
public:
    PatGrouper() = delete;

    // Tries every closed polygon loop of loops, in order. Each loop that forms a shape loses its place in
    // loops (the last loop moves into it) and its pieces leave patterns; the new shapes are appended to
    // patterns and, each in a new standard loop run in the shape's own sense, to the end of loops.
    // With a progress meter, it reports the loops tried and, when cancelled, stops trying and replaces
    // only what it has recognised so far.
    static void GroupPat(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                         ProgressMeter* progress = nullptr);

    // An EllipsePattern through 21 to 499 lines that join end to end around an ellipse, else empty. The
    // lines may come in any direction. The fitted ellipse lies within EllipseFitTolerance of the lines.
    static IPatternPtr GroupEllipse(const Line2DListPtr& lines);
    // A SingleDPattern from the flat and the arc of a circle with one flat.
    static IPatternPtr GroupSingleD(const LinePatternPtr& line, const ArcPatternPtr& arc);
    // A RadSlotPattern from four arcs in loop order: two edges on one centre and two half-circle ends of
    // sweep -pi.
    static IPatternPtr GroupRadSlot(const ArcPatternPtr& a1, const ArcPatternPtr& a2, const ArcPatternPtr& a3,
                                    const ArcPatternPtr& a4);
    // A RectHolePattern from four lines in loop order forming a rectangle.
    static IPatternPtr GroupRectHole(const Line2DListPtr& lines);
    // From arc, side, arc, side in loop order: an OBroundPattern when the arcs are half circles of sweep
    // -pi at the two ends, else a DoubleDPattern when both arcs lie on one circle.
    static IPatternPtr GroupOBAndDoubleD(const ArcPatternPtr& a1, const LinePatternPtr& l1,
                                         const ArcPatternPtr& a2, const LinePatternPtr& l2);
    // A TRHolePattern from three lines of which at least two have the same length.
    static IPatternPtr GroupTriangle(const LinePatternPtr& l1, const LinePatternPtr& l2,
                                     const LinePatternPtr& l3);
    // An RCHolePattern from four sides and four corner arcs in loop order, starting with a side.
    static IPatternPtr GroupRCHole(const LinePatternPtr& l1, const ArcPatternPtr& a1,
                                   const LinePatternPtr& l2, const ArcPatternPtr& a2,
                                   const LinePatternPtr& l3, const ArcPatternPtr& a3,
                                   const LinePatternPtr& l4, const ArcPatternPtr& a4);

    // The arc count given to an ellipse fitted to lineCount lines: one of 18, 21, 24, 27, 30, 33, 36, 48,
    // 60, 66, 72, 81, 90, 105, 120; 18 for 18 lines or fewer, 120 above 120, else the nearer of the two
    // listed values around lineCount (the larger one on a tie).
    static int SnapEllipseSegCount(int lineCount);
};

}  // namespace Norvane
