#include "geomFeature/pattern/PatternList.h"

#include <algorithm>
#include <cstddef>
#include <functional>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/mathkit/IntegerList.h"
#include "geomFeature/pattern/IArrayPattern.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/PatternTolerance.h"

namespace Norvane {

namespace {

using PatternVector = std::vector<IPatternPtr>;

bool HasID(const IPatternPtr& pattern, DataID id) {
    return pattern && pattern->GetID() == id;
}

// Family of a pattern: standard shapes first, then everything that is not an array is plain.
tagGeometryCategory CategoryOf(const IPattern& pattern) {
    if (pattern.IsStdPat() != 0) {
        return GEOM_CATEGORY_STD;
    }
    if (pattern.IsArrayPat() == 0) {
        return GEOM_CATEGORY_PLAIN;
    }
    return GEOM_CATEGORY_ARRAY;
}

}  // namespace

bool PatternList::IsSkipped(const IPatternPtr& pattern, int skipControlled) {
    if (!pattern) {
        return true;
    }
    return skipControlled != 0 && pattern->IsControlPat();
}

void PatternList::AddPatterns(const PatternListPtr& other) {
    if (!other) {
        return;
    }
    // Copy first: appending a list to itself must not walk a vector that is growing.
    const PatternVector added(other->begin(), other->end());
    insert(end(), added.begin(), added.end());
}

void PatternList::InsertBefore(const IPatternPtr& pattern, int index) {
    const int count = static_cast<int>(size());
    const int position = std::clamp(index, 0, count);
    insert(begin() + position, pattern);
}

void PatternList::RemovePattern(const IPatternPtr& pattern) {
    if (pattern) {
        RemovePattern(pattern->GetID());
    }
}

void PatternList::RemovePattern(DataID id) {
    const auto it = std::find_if(begin(), end(), [id](const IPatternPtr& p) { return HasID(p, id); });
    if (it != end()) {
        erase(it);
    }
}

// Removing the first entry of each identifier in turn removes, for an identifier listed k times in other,
// the first k entries with it; so the list is walked once, with the identifiers to remove sorted and a count
// of those still to go per identifier.
void PatternList::RemovePatterns(const PatternListPtr& other) {
    if (!other) {
        return;
    }
    // Collect first: other may be this very list.
    std::vector<DataID> ids;
    ids.reserve(other->size());
    for (const IPatternPtr& pattern : *other) {
        if (pattern) {
            ids.push_back(pattern->GetID());
        }
    }
    if (ids.empty()) {
        return;
    }
    std::sort(ids.begin(), ids.end());
    std::vector<std::size_t> removed(ids.size(), 0);  // per first occurrence of an identifier in ids
    erase(std::remove_if(begin(), end(),
                         [&](const IPatternPtr& p) {
                             if (!p) {
                                 return false;
                             }
                             const auto range = std::equal_range(ids.begin(), ids.end(), p->GetID());
                             const std::size_t listed = static_cast<std::size_t>(range.second - range.first);
                             if (listed == 0) {
                                 return false;
                             }
                             std::size_t& done = removed[static_cast<std::size_t>(range.first - ids.begin())];
                             if (done >= listed) {
                                 return false;
                             }
                             ++done;
                             return true;
                         }),
          end());
}

void PatternList::RemovePatternsEx(const IntegerListPtr& ids) {
    if (!ids || ids->empty()) {
        return;
    }
    std::vector<DataID> listed(ids->begin(), ids->end());
    std::sort(listed.begin(), listed.end());
    const auto doomed = [&listed](const IPatternPtr& p) {
        return p && std::binary_search(listed.begin(), listed.end(), p->GetID());
    };
    erase(std::remove_if(begin(), end(), doomed), end());
}

IPatternPtr PatternList::GetPatFromID(DataID id) const {
    const int index = GetIndexByID(id);
    return index < 0 ? IPatternPtr() : at(static_cast<std::size_t>(index));
}

int PatternList::GetPatternIndex(const IPatternPtr& pattern) const {
    return pattern ? GetIndexByID(pattern->GetID()) : -1;
}

int PatternList::GetIndexByID(DataID id) const {
    const auto it = std::find_if(begin(), end(), [id](const IPatternPtr& p) { return HasID(p, id); });
    return it == end() ? -1 : static_cast<int>(it - begin());
}

namespace {

// A new list of the entries of source that keep() accepts, in order. The entries are shared.
PatternListPtr Filter(const PatternVector& source, const std::function<bool(const IPatternPtr&)>& keep) {
    auto result = boost::make_shared<PatternList>();
    for (const IPatternPtr& pattern : source) {
        if (keep(pattern)) {
            result->push_back(pattern);
        }
    }
    return result;
}

}  // namespace

PatternListPtr PatternList::GetPatByCategory(tagGeometryCategory category, int skipControlled) const {
    return Filter(*this, [=](const IPatternPtr& p) {
        return !IsSkipped(p, skipControlled) && CategoryOf(*p) == category;
    });
}

PatternListPtr PatternList::GetPatByType(tagPatternType type, int skipControlled) const {
    return Filter(*this, [=](const IPatternPtr& p) {
        return !IsSkipped(p, skipControlled) && p->GetPatternType() == type;
    });
}

PatternListPtr PatternList::GetAllCtrlPat() const {
    return Filter(*this, [](const IPatternPtr& p) { return p && p->IsControlPat(); });
}

PatternListPtr PatternList::GetClosedPatList(int skipControlled) const {
    return Filter(*this,
                  [=](const IPatternPtr& p) { return !IsSkipped(p, skipControlled) && p->IsStdPat() != 0; });
}

PatternListPtr PatternList::GetPatternInRect(const Rect2D& rect, int skipControlled) const {
    return Filter(*this, [&rect, skipControlled](const IPatternPtr& p) {
        return !IsSkipped(p, skipControlled) && rect.IncludeRect(p->GetCacheData()->GetRect()) != 0;
    });
}

IntegerListPtr PatternList::GetPatTypeList(int skipControlled) const {
    auto types = boost::make_shared<IntegerList>();
    for (const IPatternPtr& pattern : *this) {
        if (IsSkipped(pattern, skipControlled)) {
            continue;
        }
        const int type = pattern->GetPatternType();
        if (types->Include(type) == 0) {
            types->AddInt(type);
        }
    }
    return types;
}

// Nearest pattern by DistanceTo (base point or cached outline, whichever is nearer). The running best
// starts at the "none yet" sentinel and is replaced when it is >= the new distance, so of equally near
// patterns the one drawn last, which lies on top in the view, is picked.
IPatternPtr PatternList::GetPatternClosestTo(const Point2D& point, int skipControlled) const {
    IPatternPtr nearest;
    double best = kNoDistanceYet;
    for (const IPatternPtr& pattern : *this) {
        if (IsSkipped(pattern, skipControlled)) {
            continue;
        }
        const double d = pattern->DistanceTo(point);
        if (best == kNoDistanceYet || best >= d) {  // >=: the last of equally near patterns wins
            best = d;
            nearest = pattern;
        }
    }
    return nearest;
}

// Nearest snap point of the part within tolerance of point. Seeds are always passed over: their copies
// are snapped to through the array. Each pattern offers its own nearest snap point within tolerance;
// among those, ties go to the later pattern, as in GetPatternClosestTo.
boost::shared_ptr<Point2D> PatternList::GetCtrlPtClosestTo(const Point2D& point, double tolerance) const {
    boost::shared_ptr<Point2D> nearest;
    double best = kNoDistanceYet;
    for (const IPatternPtr& pattern : *this) {
        if (IsSkipped(pattern, 1)) {
            continue;
        }
        const boost::shared_ptr<Point2D> snap = pattern->GetSnapPtClosestTo(point, tolerance);
        if (!snap) {
            continue;
        }
        const double d = snap->DistanceTo(point);
        if (best == kNoDistanceYet || best >= d) {  // >=: the last of equally near points wins
            best = d;
            nearest = snap;
        }
    }
    return nearest;  // each pattern already answered a point of its own
}

// The first pattern's box is taken whole so that the default box (the origin) does not leak into a
// union that does not contain it.
Rect2D PatternList::GetRectBox() const {
    Rect2D box;
    bool first = true;
    for (const IPatternPtr& pattern : *this) {
        if (!pattern) {
            continue;
        }
        const Rect2D& r = pattern->GetCacheData()->GetRect();
        if (first) {
            box = r;
            first = false;
        } else {
            box.Union(r);
        }
    }
    return box;
}

void PatternList::Transform(const Matrix2D& matrix, int skipControlled) {
    for (const IPatternPtr& pattern : *this) {
        if (!IsSkipped(pattern, skipControlled)) {
            pattern->Transform(matrix);
        }
    }
}

void PatternList::UpdateCache() {
    for (const IPatternPtr& pattern : *this) {
        if (pattern) {
            pattern->UpdateCache();
        }
    }
}

void PatternList::Accept(const IPatternVisitorPtr& visitor) {
    for (const IPatternPtr& pattern : *this) {
        if (pattern) {
            pattern->Accept(visitor);
        }
    }
}

// Seeds are left out: their copies are part of the array's own outline, which already includes the
// first copy, so drawing the seed as well would draw it twice.
Geom2DListPtr PatternList::CalcBaseGeomList() const {
    auto geoms = boost::make_shared<Geom2DList>();
    for (const IPatternPtr& pattern : *this) {
        if (IsSkipped(pattern, 1)) {
            continue;
        }
        if (const Geom2DListPtr& cached = pattern->GetCacheData()->GetBaseGeom()) {
            geoms->Append(*cached);
        }
    }
    return geoms;
}

int PatternList::IsModified() const {
    if (DataBase::IsModified() != 0) {
        return 1;
    }
    const bool any =
        std::any_of(begin(), end(), [](const IPatternPtr& p) { return p && p->IsModified() != 0; });
    return any ? 1 : 0;
}

// Two passes. First every pattern is cloned in order; a clone keeps the relation objects of its source,
// so at that point a cloned array still repeats the ORIGINAL seed and a cloned seed still names the
// ORIGINAL array. Second, each cloned array whose seed is in this list is rewired, on both sides, to the
// clone that stands at the seed's index. An array whose seed is not in this list keeps the original.
IDataPtr PatternList::Clone() const {
    auto copy = boost::make_shared<PatternList>();
    copy->reserve(size());
    for (const IPatternPtr& pattern : *this) {
        copy->push_back(pattern ? boost::dynamic_pointer_cast<IPattern>(pattern->Clone()) : IPatternPtr());
    }

    for (const IPatternPtr& pattern : *copy) {
        if (!pattern || pattern->IsArrayPat() == 0) {
            continue;
        }
        const IArrayPatternPtr array = boost::dynamic_pointer_cast<IArrayPattern>(pattern);
        const IPatternPtr seed = array ? array->GetControlPat() : IPatternPtr();
        if (!seed) {
            continue;
        }
        const int index = GetIndexByID(seed->GetID());
        if (index < 0) {
            continue;
        }
        const IPatternPtr& seedCopy = copy->at(static_cast<std::size_t>(index));
        array->SetControlPat(seedCopy);
        seedCopy->SetBeControlPat(pattern);
    }
    return copy;
}

}  // namespace Norvane
