#include "geomFeature/processor/PatArrayBuilder.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/loop/ArrayPatLoop.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/pattern/IArrayPattern.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "geomFeature/processor/ProcessorTolerance.h"
#include "geomFeature/processor/detail/ArrayGroup.h"

namespace Norvane {

namespace {

// Orders patterns by base point: x first; a run of x values each within kArraySortTieTol of the one before
// (a column) is ordered by y. Sorting by exact x and then settling each run keeps the comparison a strict
// weak order; for columns whose x differ by less than the tie from each other, which is every real column,
// the order is the one the tie rule asks for.
void SortByBasePoint(std::vector<IPatternPtr>& patterns) {
    const auto byX = [](const IPatternPtr& a, const IPatternPtr& b) {
        const Point2D pa = a->GetBasePoint();
        const Point2D pb = b->GetBasePoint();
        return pa.x < pb.x || (pa.x == pb.x && pa.y < pb.y);
    };
    std::stable_sort(patterns.begin(), patterns.end(), byX);
    const auto byY = [](const IPatternPtr& a, const IPatternPtr& b) {
        return a->GetBasePoint().y < b->GetBasePoint().y;
    };
    for (std::size_t first = 0; first < patterns.size();) {
        std::size_t last = first + 1;
        while (last < patterns.size() &&
               std::fabs(patterns[last]->GetBasePoint().x - patterns[last - 1]->GetBasePoint().x) <
                   kArraySortTieTol) {  // strict
            ++last;
        }
        if (last - first > 1) {
            std::stable_sort(patterns.begin() + static_cast<std::ptrdiff_t>(first),
                             patterns.begin() + static_cast<std::ptrdiff_t>(last), byY);
        }
        first = last;
    }
}

}  // namespace

PatternListPtr PatArrayBuilder::GetSameShapePat(const PatternListPtr& work) {
    auto group = boost::make_shared<PatternList>();
    if (!work || work->size() <= 2) {
        return group;
    }
    const IPatternPtr leader = work->front();
    const tagPatternType type = leader->GetPatternType();
    std::unordered_set<DataID> ids;
    for (const IPatternPtr& pattern : *work) {
        if (pattern == leader || (pattern->GetPatternType() == type && leader->IsSameShape(pattern) == 1)) {
            group->push_back(pattern);
            ids.insert(pattern->GetID());
        }
    }
    work->erase(std::remove_if(work->begin(), work->end(),
                               [&ids](const IPatternPtr& p) { return ids.count(p->GetID()) != 0; }),
                work->end());
    return group;
}

PatternListPtr PatArrayBuilder::SortSameShpPat(const PatternListPtr& group) {
    std::vector<IPatternPtr> sorted(group->begin(), group->end());
    SortByBasePoint(sorted);
    auto list = boost::make_shared<PatternList>();
    list->assign(sorted.begin(), sorted.end());
    return list;
}

void PatArrayBuilder::ProcessSameShpPat(const PatternListPtr& group, const PatternListPtr& arrays,
                                        const PatternListPtr& absorbed) {
    detail::ArrayGroup work(*SortSameShpPat(group));
    detail::FindGrids(work, *arrays, *absorbed);
    detail::FindRows(work, *arrays, *absorbed);
    detail::FindArcs(work, *arrays, *absorbed);
}

void PatArrayBuilder::GridPat(const PatternListPtr& patterns, const PatLoopListPtr& loops) {
    if (!patterns || !loops) {
        return;
    }
    // The work list in a fixed order of its own (by type, then by base point), so that which pattern
    // leads a group, and so everything after, depends on the patterns and not on the list's order.
    const PatternListPtr work = patterns->GetClosedPatList(1);
    std::vector<IPatternPtr> ordered(work->begin(), work->end());
    SortByBasePoint(ordered);
    std::stable_sort(ordered.begin(), ordered.end(), [](const IPatternPtr& a, const IPatternPtr& b) {
        return a->GetPatternType() < b->GetPatternType();
    });
    work->assign(ordered.begin(), ordered.end());

    auto absorbed = boost::make_shared<PatternList>();
    auto arrays = boost::make_shared<PatternList>();
    for (PatternListPtr group = GetSameShapePat(work); !group->empty(); group = GetSameShapePat(work)) {
        if (group->size() <= 2) continue;
        auto made = boost::make_shared<PatternList>();
        auto used = boost::make_shared<PatternList>();
        ProcessSameShpPat(group, made, used);
        if (!made->empty()) {
            arrays->AddPatterns(made);
            absorbed->AddPatterns(used);
        }
    }
    if (arrays->empty()) {
        return;
    }

    // The loop of each absorbed pattern: the first loop holding it, as FindLoopByPat would answer, found in
    // one pass over the loops.
    std::unordered_set<DataID> absorbedIds;
    for (const IPatternPtr& p : *absorbed) absorbedIds.insert(p->GetID());
    auto doomedLoops = boost::make_shared<PatLoopList>();
    std::unordered_set<DataID> seenLoops;
    std::unordered_set<DataID> placed;
    for (const IPatLoopPtr& loop : *loops) {
        for (const PatLoopNodePtr& node : *loop->GetLoopNodes()) {
            const IPatternPtr& pattern = node->GetPat();
            if (!pattern || absorbedIds.count(pattern->GetID()) == 0 || !placed.insert(pattern->GetID()).second) {
                continue;
            }
            if (seenLoops.insert(loop->GetID()).second) doomedLoops->push_back(loop);
        }
    }

    // The seeds stay, now controlled by their arrays. (What RemovePatternsEx does, with the identifiers
    // hashed: a part may lose tens of thousands of patterns here.)
    std::unordered_set<DataID> removed;
    for (const IPatternPtr& p : *absorbed) {
        if (!p->IsControlPat()) removed.insert(p->GetID());
    }
    patterns->erase(std::remove_if(patterns->begin(), patterns->end(),
                                   [&removed](const IPatternPtr& p) { return p && removed.count(p->GetID()) != 0; }),
                    patterns->end());
    loops->DeleteLoopList(doomedLoops);
    patterns->AddPatterns(arrays);
    for (const IPatternPtr& array : *arrays) {
        if (const auto a = boost::dynamic_pointer_cast<IArrayPattern>(array)) {
            if (const IPatternPtr seed = a->GetControlPat()) seed->UpdateCache();
        }
        array->UpdateCache();
        auto loop = boost::make_shared<ArrayPatLoop>(boost::make_shared<PatLoopNode>(array, 1));
        LoopProcessor::UpdateCache(IPatLoopPtr(loop));
        loops->push_back(loop);
    }
}

}  // namespace Norvane
