// Duplicate loops: a contour drawn twice gives two loops with the same box, length and element count.
#include <cmath>
#include <cstdint>
#include <set>
#include <unordered_map>
#include <vector>

#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "geomFeature/processor/ProcessorTolerance.h"

namespace Norvane {

namespace {

// The cache of a loop seen through a const pointer. IPatLoop's cache getter is not const (its slot order
// is fixed), but reading the cache changes nothing.
PatLoopCachePtr CacheOf(const IPatLoop* loop) {
    return loop ? const_cast<IPatLoop*>(loop)->GetCacheData() : PatLoopCachePtr();
}

bool Near(double a, double b) {
    return std::fabs(a - b) <= kOverlapLoopTol;  // inclusive
}

// Box corners are bucketed on a grid of cells wider than twice the tolerance, so that two corners within
// the tolerance of each other in x and y fall into the same or neighbouring cells. Far-out coordinates are
// clamped: their loops share edge cells, which costs comparisons but never a match.
constexpr double kOverlapCell = 4.0 * kOverlapLoopTol;
constexpr double kCellClamp = 1e15;

std::int64_t CellOf(double v) {
    const double c = std::floor(v / kOverlapCell);
    return static_cast<std::int64_t>(std::max(-kCellClamp, std::min(kCellClamp, c)));
}

struct CellKey {
    std::size_t count;
    std::int64_t x;
    std::int64_t y;
    bool operator==(const CellKey& o) const { return count == o.count && x == o.x && y == o.y; }
};

struct CellKeyHash {
    std::size_t operator()(const CellKey& k) const {
        std::size_t h = std::hash<std::size_t>()(k.count);
        h = h * 1000003u ^ std::hash<std::int64_t>()(k.x);
        return h * 1000003u ^ std::hash<std::int64_t>()(k.y);
    }
};

}  // namespace

bool LoopProcessor::TwoLoopsOverlapped(const IPatLoop* a, const IPatLoop* b) {
    const PatLoopCachePtr ca = CacheOf(a);
    const PatLoopCachePtr cb = CacheOf(b);
    if (!ca || !cb || !ca->GetLoopBaseGeom() || !cb->GetLoopBaseGeom()) {
        return false;
    }
    const Rect2D& ra = ca->GetLoopRect();
    const Rect2D& rb = cb->GetLoopRect();
    if (!Near(ra.left, rb.left) || !Near(ra.right, rb.right) || !Near(ra.bottom, rb.bottom) ||
        !Near(ra.top, rb.top)) {
        return false;
    }
    const Geom2DList& ga = *ca->GetLoopBaseGeom();
    const Geom2DList& gb = *cb->GetLoopBaseGeom();
    return Near(ga.GetTotalLength(), gb.GetTotalLength()) && ga.size() == gb.size();
}

// Every loop j that overlaps some earlier loop i is removed: loop j is compared only with the earlier loops
// of its own element count whose lower-left box corner lies in its cell or a neighbouring one (every loop it
// can match), and the first match settles it. Earlier loops count whether or not they go themselves.
void LoopProcessor::DeleteOverlappedLoops(const PatLoopListPtr& loops) {
    if (!loops || loops->size() < 2) {
        return;
    }
    std::unordered_map<CellKey, std::vector<std::size_t>, CellKeyHash> cells;
    std::set<DataID> doomed;
    const PatLoopList& list = *loops;
    for (std::size_t j = 0; j < list.size(); ++j) {
        const PatLoopCachePtr cache = list[j]->GetCacheData();
        if (!cache || !cache->GetLoopBaseGeom()) {
            continue;
        }
        const Rect2D& box = cache->GetLoopRect();
        if (!std::isfinite(box.left) || !std::isfinite(box.bottom)) {
            continue;  // a comparison with NaN never holds
        }
        const CellKey key{cache->GetLoopBaseGeom()->size(), CellOf(box.left), CellOf(box.bottom)};
        bool duplicate = false;
        for (std::int64_t dx = -1; dx <= 1 && !duplicate; ++dx) {
            for (std::int64_t dy = -1; dy <= 1 && !duplicate; ++dy) {
                const auto cell = cells.find(CellKey{key.count, key.x + dx, key.y + dy});
                if (cell == cells.end()) {
                    continue;
                }
                for (const std::size_t i : cell->second) {
                    if (TwoLoopsOverlapped(list[i].get(), list[j].get())) {
                        duplicate = true;
                        break;
                    }
                }
            }
        }
        if (duplicate) {
            doomed.insert(list[j]->GetID());
        }
        cells[key].push_back(j);
    }
    if (doomed.empty()) {
        return;
    }
    // Removing the IDs one by one, each the first loop that carries it, keeps the others' order; one pass
    // over the list does the same.
    std::vector<char> drop(list.size(), 0);
    std::set<DataID> pending = doomed;
    for (std::size_t k = 0; k < list.size() && !pending.empty(); ++k) {
        if (pending.erase(list[k]->GetID()) != 0) {
            drop[k] = 1;
        }
    }
    std::size_t kept = 0;
    for (std::size_t k = 0; k < loops->size(); ++k) {
        if (!drop[k]) {
            (*loops)[kept++] = (*loops)[k];
        }
    }
    loops->resize(kept);
}

}  // namespace Norvane
