#include "geomFeature/processor/PatArrayBuilder.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/loop/ArrayPatLoop.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/pattern/EllipsePattern.h"
#include "geomFeature/pattern/IArrayPattern.h"
#include "geomFeature/pattern/PatternCache.h"
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

// What PatLoopList::DeleteLoopList does, in time proportional to the loops removed: for each loop of doomed
// in order, the first loop of the list with its identifier is replaced by the list's last loop, which is
// then dropped. The positions of every identifier are kept in ordered sets so that "first" stays right when
// a loop object occurs more than once.
void DeleteLoopList(PatLoopList& loops, const PatLoopList& doomed) {
    std::unordered_map<DataID, std::set<std::size_t>> positions;
    for (std::size_t i = 0; i < loops.size(); ++i) positions[loops[i]->GetID()].insert(i);
    for (const IPatLoopPtr& loop : doomed) {
        const auto found = positions.find(loop->GetID());
        if (found == positions.end() || found->second.empty())
            continue;
        const std::size_t freed = *found->second.begin();
        const std::size_t last = loops.size() - 1;
        found->second.erase(freed);
        if (freed != last) {
            std::set<std::size_t>& moved = positions[loops[last]->GetID()];
            moved.erase(last);
            moved.insert(freed);
            loops[freed] = loops[last];
        }
        loops.pop_back();
    }
}

// A size that IsSameShape keeps (nearly) equal, so that shapes can be ordered and compared only with their
// neighbours in that order: the half-perimeter (width + height) of the outline's box; for an ellipse, whose
// IsSameShape also pairs ellipses with exchanged axes, the sum of its axes. A key that is not a number sorts
// last (such a shape is the same as nothing).
double SizeKey(const IPatternPtr& pattern) {
    double key = 0.0;
    if (const auto ellipse = boost::dynamic_pointer_cast<EllipsePattern>(pattern)) {
        key = ellipse->GetLength() + ellipse->GetWidth();
    } else {
        const PatternCachePtr cache = pattern->GetCacheData();
        const Rect2D box = cache ? cache->GetRect() : pattern->CalcBaseGeomList()->GetRect();
        key = box.Width() + box.Height();
    }
    return std::isfinite(key) ? key : std::numeric_limits<double>::infinity();
}

// How far the size keys of two shapes IsSameShape pairs may lie apart (see kSameShapeKeyAbs).
double SizeKeySlack(double key) {
    return kSameShapeKeyAbs + kSameShapeKeyRel * std::fabs(key);
}

}  // namespace

PatternListPtr PatArrayBuilder::GetSameShapePat(const PatternListPtr& work) {
    auto group = boost::make_shared<PatternList>();
    if (!work || work->size() <= 2) {
        return group;
    }
    const IPatternPtr leader = work->front();
    const tagPatternType type = leader->GetPatternType();
    const double last = SizeKey(leader) + SizeKeySlack(SizeKey(leader));
    std::unordered_set<DataID> ids;
    for (const IPatternPtr& pattern : *work) {
        if (pattern == leader) {
            group->push_back(pattern);
            ids.insert(pattern->GetID());
            continue;
        }
        // Ordered by type and size key: nothing further on can be the leader's shape.
        if (pattern->GetPatternType() != type || SizeKey(pattern) > last)
            break;
        if (leader->IsSameShape(pattern) == 1) {
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
    // The work list in an order of its own, so that which pattern leads a group, and so everything after,
    // depends on the patterns and not on the list's order: by type, then by size key, then by base point.
    // A group's members all lie within its leader's key band, so GetSameShapePat is handed a window of the
    // ordered list that covers the band of its first pattern (and holds three patterns at least, so that it
    // stops only where the whole list would): it finds the same groups as on the whole list, and removing
    // them costs the window's length instead of the list's.
    const PatternListPtr closed = patterns->GetClosedPatList(1);
    struct Keyed {
        IPatternPtr pattern;
        double key;
    };
    std::vector<Keyed> ordered;
    ordered.reserve(closed->size());
    for (const IPatternPtr& p : *closed) ordered.push_back({p, SizeKey(p)});
    std::sort(ordered.begin(), ordered.end(), [](const Keyed& a, const Keyed& b) {
        const Point2D pa = a.pattern->GetBasePoint();
        const Point2D pb = b.pattern->GetBasePoint();
        return std::make_tuple(a.pattern->GetPatternType(), a.key, pa.x, pa.y) <
               std::make_tuple(b.pattern->GetPatternType(), b.key, pb.x, pb.y);
    });

    auto absorbed = boost::make_shared<PatternList>();
    auto arrays = boost::make_shared<PatternList>();
    auto window = boost::make_shared<PatternList>();
    std::size_t next = 0;
    const auto fill = [&] {
        while (next < ordered.size() &&
               (window->size() < 3 ||
                (ordered[next].pattern->GetPatternType() == window->front()->GetPatternType() &&
                 ordered[next].key <= SizeKey(window->front()) + SizeKeySlack(SizeKey(window->front()))))) {
            window->push_back(ordered[next++].pattern);
        }
    };
    for (fill(); !window->empty(); fill()) {
        const PatternListPtr group = GetSameShapePat(window);
        if (group->empty())
            break;  // two patterns or fewer left in all
        if (group->size() <= 2)
            continue;
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
            if (!pattern || absorbedIds.count(pattern->GetID()) == 0 ||
                !placed.insert(pattern->GetID()).second) {
                continue;
            }
            if (seenLoops.insert(loop->GetID()).second)
                doomedLoops->push_back(loop);
        }
    }

    // The seeds stay, now controlled by their arrays. (What RemovePatternsEx does, with the identifiers
    // hashed: a part may lose tens of thousands of patterns here.)
    std::unordered_set<DataID> removed;
    for (const IPatternPtr& p : *absorbed) {
        if (!p->IsControlPat())
            removed.insert(p->GetID());
    }
    patterns->erase(
        std::remove_if(patterns->begin(), patterns->end(),
                       [&removed](const IPatternPtr& p) { return p && removed.count(p->GetID()) != 0; }),
        patterns->end());
    DeleteLoopList(*loops, *doomedLoops);
    patterns->AddPatterns(arrays);
    for (const IPatternPtr& array : *arrays) {
        if (const auto a = boost::dynamic_pointer_cast<IArrayPattern>(array)) {
            if (const IPatternPtr seed = a->GetControlPat())
                seed->UpdateCache();
        }
        array->UpdateCache();
        auto loop = boost::make_shared<ArrayPatLoop>(boost::make_shared<PatLoopNode>(array, 1));
        LoopProcessor::UpdateCache(IPatLoopPtr(loop));
        loops->push_back(loop);
    }
}

}  // namespace Norvane
