#include "geomFeature/loop/PatLoopList.h"

#include <algorithm>
#include <unordered_map>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/mathkit/IntegerList.h"
#include "geomFeature/loop/PatLoopCache.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

namespace {

// The tolerance with which the list asks a loop whether it is open: joints and ends closer than this (plus
// the loop's own slack) count as closed.
constexpr double kListOpenTol = 0.0001;

// The loop's cached box; a loop whose cache was dropped answers the default box.
Rect2D LoopRect(const IPatLoopPtr& loop) {
    const PatLoopCachePtr cache = loop->GetCacheData();
    return cache ? cache->GetLoopRect() : Rect2D();
}

// Index of the first loop with that identifier, or -1.
int IndexOf(const PatLoopList& loops, DataID id) {
    for (std::size_t i = 0; i < loops.size(); ++i) {
        if (loops[i]->GetID() == id)
            return static_cast<int>(i);
    }
    return -1;
}

template <class Keep>
PatLoopListPtr Filter(const PatLoopList& loops, Keep keep) {
    auto result = boost::make_shared<PatLoopList>();
    for (const IPatLoopPtr& loop : loops) {
        if (keep(loop))
            result->push_back(loop);
    }
    return result;
}

}  // namespace

// --- Look-ups ----------------------------------------------------------------------------------------

IPatLoopPtr PatLoopList::GetLoopByID(DataID id) const {
    const int index = IndexOf(*this, id);
    return index < 0 ? IPatLoopPtr() : (*this)[static_cast<std::size_t>(index)];
}

int PatLoopList::GetPatLoopIndex(DataID id) const {
    return IndexOf(*this, id);
}

IPatLoopPtr PatLoopList::FindLoopByPat(const IPatternPtr& pattern) const {
    if (!pattern)
        return IPatLoopPtr();
    const DataID id = pattern->GetID();
    for (const IPatLoopPtr& loop : *this) {
        if (loop->GetNodeIdxByPatID(id) != -1)
            return loop;
    }
    return IPatLoopPtr();
}

int PatLoopList::GetBoundaryLoop() const {
    for (std::size_t i = 0; i < size(); ++i) {
        if ((*this)[i]->IsBoundaryLoop())
            return static_cast<int>(i);
    }
    return -1;
}

IPatLoopPtr PatLoopList::GetBoundaryLoopEx() const {
    const int index = GetBoundaryLoop();
    return index < 0 ? IPatLoopPtr() : (*this)[static_cast<std::size_t>(index)];
}

// --- Filters -----------------------------------------------------------------------------------------

PatLoopListPtr PatLoopList::GetPatLoopByType(tagLoopType type) const {
    return Filter(*this, [type](const IPatLoopPtr& loop) { return loop->GetLoopType() == type; });
}

PatLoopListPtr PatLoopList::GetLoopWithinPats(const PatternListPtr& patterns) const {
    return Filter(*this, [&patterns](const IPatLoopPtr& loop) { return loop->FromPatList(patterns) == 1; });
}

PatLoopListPtr PatLoopList::GetPatLoopsInRect(const Rect2D& rect) const {
    return Filter(*this, [&rect](const IPatLoopPtr& loop) { return rect.IncludeRect(LoopRect(loop)) != 0; });
}

PatLoopListPtr PatLoopList::GetOpenLoopLinkToPat(const IPatternPtr& pattern, double tolerance) const {
    return Filter(*this, [&pattern, tolerance](const IPatLoopPtr& loop) {
        const auto poly = boost::dynamic_pointer_cast<PolyPatLoop>(loop);
        return poly && poly->IsOpenPath(kListOpenTol) && poly->CanLinkWithPat(pattern, tolerance);
    });
}

// --- Collections -------------------------------------------------------------------------------------

PatternListPtr PatLoopList::GetPatList() const {
    auto patterns = boost::make_shared<PatternList>();
    for (const IPatLoopPtr& loop : *this) {
        patterns->AddPatterns(loop->GetPatternList());
    }
    return patterns;
}

Geom2DListPtr PatLoopList::CalcBaseGeomList() const {
    auto geoms = boost::make_shared<Geom2DList>();
    for (const IPatLoopPtr& loop : *this) {
        const PatLoopCachePtr cache = loop->GetCacheData();
        if (cache && cache->GetLoopBaseGeom())
            geoms->Append(*cache->GetLoopBaseGeom());
    }
    return geoms;
}

Rect2D PatLoopList::GetRectBox() const {
    // The default box is a point at the origin, not an empty box: the union starts from the first loop's
    // box so that a part far from the origin does not get stretched to it.
    Rect2D box;
    bool first = true;
    for (const IPatLoopPtr& loop : *this) {
        const Rect2D rect = LoopRect(loop);
        if (first) {
            box = rect;
            first = false;
        } else {
            box.Union(rect);
        }
    }
    return box;
}

Vector2D PatLoopList::GetVectToOrigin() const {
    const Rect2D box = GetRectBox();
    return Vector2D(box.left, box.bottom);
}

IPatternPtr PatLoopList::GetClosestPat(const Point2D& point, double& distance) const {
    // Candidates: the loops whose box holds the point (closed box), then the one other loop whose box is
    // nearest. A pattern far outside every box the point is in cannot be nearer than the box distance, so
    // the nearest other box is the only outside candidate worth measuring.
    std::vector<IPatLoopPtr> candidates;
    IPatLoopPtr nearest;
    double nearestDistance = 0.0;
    for (const IPatLoopPtr& loop : *this) {
        const Rect2D rect = LoopRect(loop);
        if (rect.ContainPt(point)) {
            candidates.push_back(loop);
            continue;
        }
        const double d = rect.DistanceTo(point);
        // Strictly nearer only: of equally near boxes the earlier loop stays.
        if (!nearest || d < nearestDistance) {
            nearest = loop;
            nearestDistance = d;
        }
    }
    if (nearest)
        candidates.push_back(nearest);

    IPatternPtr best;
    distance = -1.0;  // below zero: nothing measured yet
    for (const IPatLoopPtr& loop : candidates) {
        for (const PatLoopNodePtr& node : *loop->GetLoopNodes()) {
            const IPatternPtr& pattern = node->GetPat();
            if (!pattern)
                continue;
            const double d = pattern->DistanceTo(point);
            // Non-strict on purpose: of equally near patterns the last one measured wins.
            if (!best || d <= distance) {
                best = pattern;
                distance = d;
            }
        }
    }
    return best;
}

// --- Removal -----------------------------------------------------------------------------------------

void PatLoopList::DeleteLoop(DataID id) {
    const int index = IndexOf(*this, id);
    if (index >= 0)
        erase(begin() + index);
}

void PatLoopList::DeleteLoop(const IPatLoopPtr& loop) {
    if (loop)
        DeleteLoop(loop->GetID());
}

void PatLoopList::DeleteLoopEx(const IPatLoopPtr& loop) {
    if (!loop)
        return;
    const int index = IndexOf(*this, loop->GetID());
    if (index < 0)
        return;
    // Swap and drop: the former last loop takes the freed place (a no-op swap when it is the last).
    std::swap((*this)[static_cast<std::size_t>(index)], back());
    pop_back();
}

void PatLoopList::DeleteLoopList(const PatLoopListPtr& loops) {
    if (!loops || loops->empty())
        return;
    // Copy first: loops may be this very list, which shrinks as we go.
    const std::vector<IPatLoopPtr> doomed(loops->begin(), loops->end());
    // Each removal moves the last loop into the freed place. With an index from identifier to place, each
    // step is what DeleteLoopEx does, without its search. The index needs every identifier once; a list
    // holding one twice is rare enough to take the plain way.
    std::unordered_map<DataID, std::size_t> placeOf;
    placeOf.reserve(size());
    for (std::size_t i = 0; i < size(); ++i) {
        if (!placeOf.emplace((*this)[i]->GetID(), i).second) {
            for (const IPatLoopPtr& loop : doomed) DeleteLoopEx(loop);
            return;
        }
    }
    for (const IPatLoopPtr& loop : doomed) {
        if (!loop)
            continue;
        const auto it = placeOf.find(loop->GetID());
        if (it == placeOf.end())
            continue;
        const std::size_t place = it->second;
        placeOf.erase(it);
        if (place + 1 != size()) {
            std::swap((*this)[place], back());
            placeOf[(*this)[place]->GetID()] = place;
        }
        pop_back();
    }
}

void PatLoopList::DeleteOpenLoops() {
    erase(std::remove_if(begin(), end(),
                         [](const IPatLoopPtr& loop) { return loop->IsOpenPath(kListOpenTol) == 1; }),
          end());
}

void PatLoopList::RemoveTinyLoops(double size) {
    RemoveTinyLoops(PatternListPtr(), size);
}

void PatLoopList::RemoveTinyLoops(const PatternListPtr& patterns, double size) {
    IntegerListPtr doomedPatterns = boost::make_shared<IntegerList>();
    auto isTiny = [&](const IPatLoopPtr& loop) {
        // InRange is non-strict: a loop exactly size wide and high is tiny.
        if (!LoopRect(loop).InRange(size, size))
            return false;
        if (patterns) {
            const PatternListPtr own = loop->GetPatternList();  // kept alive while walked
            for (const IPatternPtr& pattern : *own) {
                if (pattern)
                    doomedPatterns->AddInt(pattern->GetID());
            }
        }
        return true;
    };
    erase(std::remove_if(begin(), end(), isTiny), end());
    if (patterns && !doomedPatterns->empty())
        patterns->RemovePatternsEx(doomedPatterns);
}

// --- Boundary ----------------------------------------------------------------------------------------

int PatLoopList::UpdateBoundaryLoop() {
    std::vector<Rect2D> rects;
    rects.reserve(size());
    for (const IPatLoopPtr& loop : *this) {
        loop->IsBoundaryLoop(0);
        rects.push_back(LoopRect(loop));
    }

    // Strictly larger only, starting from zero: ties keep the earlier loop, and a flat (zero-area) box can
    // never be the boundary.
    int candidate = -1;
    double largestArea = 0.0;
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const double area = rects[i].Width() * rects[i].Height();
        if (area > largestArea) {
            largestArea = area;
            candidate = static_cast<int>(i);
        }
    }
    if (candidate < 0)
        return -1;

    const IPatLoopPtr& outer = (*this)[static_cast<std::size_t>(candidate)];
    // An open outline encloses nothing, and an array's copies are separate shapes, none of which is the
    // part's outline.
    if (outer->IsOpenPath(kListOpenTol) || outer->GetLoopType() == LOOP_ARRAY)
        return -1;

    // Closed inclusion: a loop whose box touches the outer box from inside is still enclosed.
    const Rect2D& outerRect = rects[static_cast<std::size_t>(candidate)];
    for (const Rect2D& rect : rects) {
        if (!outerRect.IncludeRect(rect))
            return -1;
    }

    outer->IsBoundaryLoop(1);
    return candidate;
}

// --- IData -------------------------------------------------------------------------------------------

int PatLoopList::IsModified() const {
    if (DataBase::IsModified())
        return 1;
    for (const IPatLoopPtr& loop : *this) {
        if (loop->IsModified())
            return 1;
    }
    return 0;
}

IDataPtr PatLoopList::Clone() const {
    auto copy = boost::make_shared<PatLoopList>();
    copy->reserve(size());
    for (const IPatLoopPtr& loop : *this) {
        copy->push_back(boost::dynamic_pointer_cast<IPatLoop>(loop->Clone()));
    }
    return copy;
}

}  // namespace Norvane
