// Nesting of loops: which closed loop lies inside which, as a tree.
#include <boost/make_shared.hpp>

#include "geomFeature/host/geomkit/Polygon2D.h"
#include "geomFeature/host/geomkit/PolygonBuilder.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "geomFeature/processor/LoopTopItem.h"
#include "geomFeature/processor/LoopTopItemList.h"
#include "geomFeature/processor/ProcessorTolerance.h"

namespace Norvane {

namespace {

// Does `outer` enclose `inner`? An open loop encloses nothing; boxes decide first (closed: a shared or equal
// box counts), and for an open inner loop the box decides alone. Two closed loops are compared by the first
// polygon of each outline; an outline that yields no polygon encloses nothing and is enclosed by nothing.
bool Encloses(const IPatLoopPtr& outer, const IPatLoopPtr& inner) {
    if (outer->IsOpenPath(kTopologyOpenTol)) return false;
    const PatLoopCachePtr outerCache = outer->GetCacheData();
    const PatLoopCachePtr innerCache = inner->GetCacheData();
    if (!outerCache || !innerCache) return false;
    if (!outerCache->GetLoopRect().IncludeRect(innerCache->GetLoopRect())) return false;
    if (inner->IsOpenPath(kTopologyOpenTol)) return true;

    const Poly2DList outerPolys =
        PolygonBuilder::BuildPolyListFromLineArc(outerCache->GetLoopBaseGeom(), kTopologyPolygonTol);
    const Poly2DList innerPolys =
        PolygonBuilder::BuildPolyListFromLineArc(innerCache->GetLoopBaseGeom(), kTopologyPolygonTol);
    if (outerPolys.empty() || innerPolys.empty() || !outerPolys[0] || !innerPolys[0]) return false;
    return outerPolys[0]->IncludePolygon(*innerPolys[0]) != 0;
}

}  // namespace

LoopTopItemListPtr LoopProcessor::CalcLoopTopStruct(const PatLoopListPtr& loops) {
    auto top = boost::make_shared<LoopTopItemList>();
    if (!loops) return top;
    for (const IPatLoopPtr& loop : *loops) {
        if (!loop) continue;
        auto item = boost::make_shared<LoopTopItem>(loop);
        if (top->empty()) {
            top->push_back(item);
        } else {
            AddLoopToTop(top, item);
        }
    }
    return top;
}

void LoopProcessor::AddLoopToTop(const LoopTopItemListPtr& level, const LoopTopItemPtr& item) {
    const IPatLoopPtr& loop = item->GetPatLoop();

    // Phase 1: the new loop takes in every item of this level it encloses, in their order, with their
    // whole sub-trees. Enclosure is tested in this direction first, so of two loops that enclose each
    // other (equal outlines) the newer one becomes the container.
    bool gathered = false;
    for (auto it = level->begin(); it != level->end();) {
        if (Encloses(loop, (*it)->GetPatLoop())) {
            item->GetSubItemList()->push_back(*it);
            it = level->erase(it);
            gathered = true;
        } else {
            ++it;
        }
    }

    // Phase 2: a loop that gathered nothing goes down into the first item of this level that encloses it.
    if (!gathered) {
        for (const LoopTopItemPtr& existing : *level) {
            if (Encloses(existing->GetPatLoop(), loop)) {
                AddLoopToTop(existing->GetSubItemList(), item);
                return;
            }
        }
    }

    if (!level->TopItemExist(item)) level->push_back(item);
}

}  // namespace Norvane
