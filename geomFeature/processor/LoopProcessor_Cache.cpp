// Loop cache refresh: a loop's box and outline are derived from its patterns' caches.
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/pattern/IArrayPattern.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/processor/LoopProcessor.h"

namespace Norvane {

namespace {

void RefreshLoop(const IPatLoopPtr& loop, bool refreshPatterns) {
    if (!loop) return;
    PatLoopCachePtr cache = loop->GetCacheData();
    if (!cache) {
        cache = boost::make_shared<PatLoopCache>();
        loop->SetCacheData(cache);
    }
    Geom2DListPtr geoms = cache->GetLoopBaseGeom();
    if (!geoms) {
        geoms = boost::make_shared<Geom2DList>();
        cache->SetLoopBaseGeom(geoms);
    }
    geoms->clear();

    // A loop without nodes keeps the default (empty) box: no pattern starts the union.
    Rect2D rect;
    bool first = true;
    for (const PatLoopNodePtr& node : *loop->GetLoopNodes()) {
        const IPatternPtr& pattern = node->GetPat();
        if (!pattern) continue;
        if (refreshPatterns) {
            // An array draws its copies from the seed, so the seed must be current first.
            if (auto array = boost::dynamic_pointer_cast<IArrayPattern>(pattern)) {
                if (IPatternPtr seed = array->GetControlPat()) seed->UpdateCache();
            }
            pattern->UpdateCache();
        }
        const PatternCachePtr patCache = pattern->GetCacheData();
        if (!patCache) continue;
        if (first) {
            rect = patCache->GetRect();
            first = false;
        } else {
            rect.Union(patCache->GetRect());
        }
        if (patCache->GetBaseGeom()) geoms->Append(*patCache->GetBaseGeom());
    }
    cache->SetLoopRect(first ? Rect2D() : rect);
}

}  // namespace

void LoopProcessor::UpdateCache(const IPatLoopPtr& loop) { RefreshLoop(loop, false); }

void LoopProcessor::UpdateCacheEx(const IPatLoopPtr& loop) { RefreshLoop(loop, true); }

void LoopProcessor::UpdateCache(const PatLoopListPtr& loops) {
    if (!loops) return;
    for (const IPatLoopPtr& loop : *loops) UpdateCache(loop);
}

void LoopProcessor::UpdateCacheEx(const PatLoopListPtr& loops) {
    if (!loops) return;
    for (const IPatLoopPtr& loop : *loops) UpdateCacheEx(loop);
}

}  // namespace Norvane
