#pragma once

#include <string>

#include <boost/shared_ptr.hpp>

#include "geomFeature/GeomFeatureExport.h"
#include "geomFeature/host/appframe/ProgressMeter.h"
#include "geomFeature/loop/IPatLoop.h"
#include "geomFeature/pattern/IPattern.h"
#include "geomFeature/processor/ImportOptions.h"
#include "geomFeature/processor/ImportReport.h"
#include "geomFeature/processor/ImportStage.h"
#include "geomFeature/processor/Part.h"
#include "geomFeature/processor/ProcessorTolerance.h"

namespace Norvane {

class ProgressData;

// The clean-up every imported drawing goes through, stage by stage (tagImportStage, each switchable in
// ImportOptions): merge duplicates and pieces that continue each other, drop tiny pieces, optionally move to
// the origin, chain loose pieces into loops, orient the closed loops, recognise standard shapes, compute the
// nesting tree and mark the boundary loop. The pattern list is changed in place. Every stage scales with the
// size of the drawing (about n log n) and gives exactly what the module's processors state.
//
// Progress goes to a ProgressData, within each stage as well as between them, several times a second; a
// cancel asked there stops the run at the next step. The pipeline can run on a worker thread as long as
// nothing else touches its lists meanwhile.
class GF_API ImportPipeline {
public:
    ImportPipeline() = delete;

    // Runs the enabled stages on patterns, whose caches must be current (as a reader or loader leaves them).
    // The report is filled in (times per stage included). progress may be empty; notify, when given, is
    // called on this thread after each change of progress (see ProgressMeter). When cancelled, the run stops
    // early with report.cancelled set; the part then holds consistent lists of what was done so far, fit
    // only to be thrown away.
    static Part Run(const PatternListPtr& patterns, const ImportOptions& options, ImportReport& report,
                    const boost::shared_ptr<ProgressData>& progress = boost::shared_ptr<ProgressData>(),
                    const ProgressMeter::Notify& notify = ProgressMeter::Notify());

    // What a stage is called in progress displays and summaries ("Chaining pieces into loops").
    static std::wstring StageText(tagImportStage stage);

    // Makes every closed polygon loop of two or more pieces run clockwise, and every piece of it run the
    // way the loop does (pieces run backwards are turned round in place; their identifiers stay). Shape
    // recognition reads the pieces' own senses, and drawings list arcs counter-clockwise whatever the
    // contour, so without this a slot or obround drawn from DXF arcs would never be recognised. A closed
    // loop of one full arc is made counter-clockwise instead, which is how a lone circle is recognised.
    // A loop is closed when IsOpenPath answers 0 at closeTol.
    static void OrientClosedLoops(const PatLoopListPtr& loops, ProgressMeter* progress = nullptr,
                                  double closeTol = kOpenLoopTol);

    // For the chained loops of a real drawing: an open polygon loop (open at tolerance) loses the tiny
    // pieces (box within tinySize) at its free ends, and goes when nothing is left. A piece of a closed
    // contour is never dropped for its size. Answers the pieces dropped (and removed from patterns).
    static std::size_t DropTinyChainEnds(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                         double tolerance, double tinySize);
    // Closes every polygon loop that is closed within tolerance exactly (LoopProcessor::ClampPolygonLoop),
    // so that every later reader sees its joints meet; the pieces' and loops' caches are refreshed.
    static void CloseJoints(const PatLoopListPtr& loops, double tolerance);

    // Turns a line or arc round in place: same points, opposite sense, same identifier; its cache is
    // refreshed. Other patterns are left alone.
    static void ReversePiece(const IPatternPtr& pattern);

    // Refreshes every cache of a part whose loops are known (patterns, then loops), then its nesting tree
    // and boundary mark; for a part that was loaded or edited.
    static void ComputeNesting(Part& part);
};

}  // namespace Norvane
