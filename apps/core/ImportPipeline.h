#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/appframe/IData.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopTopItemList.h"

namespace Norvane {

// A part as the programs hold it: its patterns, its loops and their nesting.
struct Part {
    PatternListPtr patterns;
    PatLoopListPtr loops;
    LoopTopItemListPtr tree;  // empty until nesting is computed
};

// Settings of the clean-up of imported geometry. The defaults suit drawings in millimetres.
struct ImportOptions {
    double joinTol = 1e-4;    // pieces whose ends are closer than this are chained into one contour
    double mergeTol = 1e-4;   // collinear lines / co-circular arcs touching within this become one piece
    double tinySize = 1e-3;   // pieces whose box fits in a square of this side are dropped as junk
    bool moveToOrigin = false;  // move the part so that its box starts at (0, 0)
    bool recognise = true;      // replace closed contours that are standard shapes by those shapes
};

// What the clean-up did, for the summary.
struct ImportReport {
    std::size_t piecesIn = 0;
    std::size_t duplicatesMerged = 0;  // pieces absorbed by another (duplicates, collinear, co-circular)
    std::size_t tinyRemoved = 0;
    std::size_t shapesRecognised = 0;
};

// Reports a stage name and a fraction done (0..1) of the whole clean-up.
using ProgressFn = std::function<void(const std::string& stage, double fraction)>;

// The clean-up every imported drawing goes through: merge duplicates and touching collinear pieces, drop
// tiny pieces, optionally move to the origin, chain loose pieces into loops, recognise standard shapes,
// compute the nesting tree and mark the boundary loop. The pattern list is changed in place.
class ImportPipeline {
public:
    static Part Run(const PatternListPtr& patterns, const ImportOptions& options, ImportReport& report,
                    const ProgressFn& progress = ProgressFn());

    // Makes every closed polygon loop of two or more pieces run clockwise, and every piece of it run the
    // way the loop does (pieces run backwards are turned round in place; their identifiers stay). Shape
    // recognition reads the pieces' own senses, and drawings list arcs counter-clockwise whatever the
    // contour, so without this a slot or obround drawn from DXF arcs would never be recognised. A closed
    // loop of one full arc is made counter-clockwise instead, which is how a lone circle is recognised.
    static void OrientClosedLoops(const PatLoopListPtr& loops);

    // Turns a line or arc round in place: same points, opposite sense, same identifier; its cache is
    // refreshed. Other patterns are left alone.
    static void ReversePiece(const IPatternPtr& pattern);

    // Refreshes loop caches, the nesting tree and the boundary mark of a part whose loops are known.
    static void ComputeNesting(Part& part);
};

}  // namespace Norvane
