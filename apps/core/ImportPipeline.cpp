#include "apps/core/ImportPipeline.h"

#include <boost/pointer_cast.hpp>

#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/processor/ProcessorTolerance.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/processor/LoopBuilder.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "geomFeature/processor/PatGrouper.h"
#include "geomFeature/processor/PatProcessor.h"

namespace Norvane {

namespace {

void Report(const ProgressFn& progress, const char* stage, double fraction) {
    if (progress) progress(stage, fraction);
}

}  // namespace

void ImportPipeline::ReversePiece(const IPatternPtr& pattern) {
    if (auto line = boost::dynamic_pointer_cast<LinePattern>(pattern)) {
        const Point2D end = line->GetEndPoint();
        const Vector2D v = line->GetBaseVector();
        line->SetBasePoint(end);
        line->SetBaseVector(Vector2D(-v.x, -v.y));
    } else if (auto arc = boost::dynamic_pointer_cast<ArcPattern>(pattern)) {
        const double sweep = arc->GetMoveAngle();
        arc->SetStartAngle(arc->GetEndAngle());
        arc->SetMoveAngle(-sweep);
    }
    pattern->UpdateCache();
}

void ImportPipeline::OrientClosedLoops(const PatLoopListPtr& loops) {
    for (const IPatLoopPtr& loop : *loops) {
        auto poly = boost::dynamic_pointer_cast<PolyPatLoop>(loop);
        if (!poly || poly->IsOpenPath(kOpenLoopTol)) continue;
        const PatLoopNodeListPtr nodes = poly->GetLoopNodes();
        if (nodes->empty()) continue;
        const tagDirection wanted = nodes->size() == 1 ? DIR_CCW : DIR_CW;
        if (poly->GetDirection() != wanted) poly->ReverseDirection();
        for (const PatLoopNodePtr& node : *nodes) {
            if (node->FollowLoopDir()) continue;
            ReversePiece(node->GetPat());
            node->FollowLoopDir(1);
        }
        LoopProcessor::UpdateCache(loop);
    }
}

void ImportPipeline::ComputeNesting(Part& part) {
    LoopProcessor::UpdateCacheEx(part.loops);
    part.tree = LoopProcessor::CalcLoopTopStruct(part.loops);
    if (!part.loops->empty()) part.loops->UpdateBoundaryLoop();
}

Part ImportPipeline::Run(const PatternListPtr& patterns, const ImportOptions& options, ImportReport& report,
                         const ProgressFn& progress) {
    Part part;
    part.patterns = patterns;
    report.piecesIn = patterns->size();

    Report(progress, "merging duplicate and touching pieces", 0.0);
    patterns->UpdateCache();
    std::vector<DataID> merged;
    PatProcessor::MergePattern(patterns, options.mergeTol, merged);
    report.duplicatesMerged = merged.size();

    Report(progress, "removing tiny pieces", 0.35);
    const std::size_t beforeTiny = patterns->size();
    patterns->UpdateCache();
    PatProcessor::RemoveTinyPatterns(patterns, options.tinySize);
    report.tinyRemoved = beforeTiny - patterns->size();

    if (options.moveToOrigin && !patterns->empty()) {
        PatProcessor::AdjustOriginToLB(patterns);
        patterns->UpdateCache();
    }

    Report(progress, "chaining loops", 0.4);
    part.loops = patterns->empty() ? boost::make_shared<PatLoopList>()
                                   : LoopBuilder::BuildPatLoops(patterns, options.joinTol);
    LoopProcessor::UpdateCache(part.loops);

    if (options.recognise) {
        Report(progress, "recognising standard shapes", 0.7);
        OrientClosedLoops(part.loops);
        const std::size_t standardBefore = part.loops->GetPatLoopByType(LOOP_STD)->size();
        PatGrouper::GroupPat(patterns, part.loops);
        report.shapesRecognised = part.loops->GetPatLoopByType(LOOP_STD)->size() - standardBefore;
    }

    Report(progress, "computing nesting", 0.85);
    ComputeNesting(part);
    Report(progress, "done", 1.0);
    return part;
}

}  // namespace Norvane
