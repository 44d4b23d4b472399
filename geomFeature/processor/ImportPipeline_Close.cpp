// Closing the loops of a real drawing exactly, and the only clean-up of tiny pieces that cannot damage a
// contour.
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/mathkit/IntegerList.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PatLoopNode.h"
#include "geomFeature/loop/PatLoopNodeList.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/ImportPipeline.h"
#include "geomFeature/processor/LoopProcessor.h"

namespace Norvane {

namespace {

bool IsTinyPiece(const IPatternPtr& pattern, double size) {
    const PatternCachePtr cache = pattern ? pattern->GetCacheData() : PatternCachePtr();
    return cache && cache->GetRect().InRange(size, size) != 0;
}

// Drops the tiny pieces at both free ends of an open chain, noting their identifiers.
void StripTinyEnds(PatLoopNodeList& nodes, double size, IntegerList& dropped) {
    while (!nodes.empty() && IsTinyPiece(nodes.front()->GetPat(), size)) {
        dropped.AddInt(nodes.front()->GetPat()->GetID());
        nodes.erase(nodes.begin());
    }
    while (!nodes.empty() && IsTinyPiece(nodes.back()->GetPat(), size)) {
        dropped.AddInt(nodes.back()->GetPat()->GetID());
        nodes.pop_back();
    }
}

}  // namespace

std::size_t ImportPipeline::DropTinyChainEnds(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                              double tolerance, double tinySize) {
    if (!patterns || !loops || !(tinySize > 0.0)) {
        return 0;
    }
    auto dropped = boost::make_shared<IntegerList>();
    auto emptied = boost::make_shared<PatLoopList>();
    for (const IPatLoopPtr& loop : *loops) {
        const PolyPatLoopPtr poly = boost::dynamic_pointer_cast<PolyPatLoop>(loop);
        if (!poly || poly->GetLoopNodes()->empty() || poly->IsOpenPath(tolerance) == 0) {
            continue;
        }
        StripTinyEnds(*poly->GetLoopNodes(), tinySize, *dropped);
        if (poly->GetLoopNodes()->empty()) {
            emptied->push_back(loop);
        }
    }
    if (!dropped->empty()) {
        patterns->RemovePatternsEx(dropped);
    }
    if (!emptied->empty()) {
        loops->DeleteLoopList(emptied);
    }
    return dropped->size();
}

// Clamping moves an arc's end by re-centring it, which would spoil the arcs a fit reads: the import
// therefore closes the joints after recognition, on the loops that stay polygons.
void ImportPipeline::CloseJoints(const PatLoopListPtr& loops, double tolerance) {
    if (!loops) {
        return;
    }
    for (const IPatLoopPtr& loop : *loops) {
        const PolyPatLoopPtr poly = boost::dynamic_pointer_cast<PolyPatLoop>(loop);
        if (!poly || poly->GetLoopNodes()->size() < 2 || poly->IsOpenPath(tolerance) != 0) {
            continue;
        }
        LoopProcessor::ClampPolygonLoop(poly, tolerance);
        for (const PatLoopNodePtr& node : *poly->GetLoopNodes()) {
            if (node->GetPat()) {
                node->GetPat()->UpdateCache();
            }
        }
        LoopProcessor::UpdateCache(loop);
    }
}

}  // namespace Norvane
