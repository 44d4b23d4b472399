#include "geomFeature/processor/detail/ArrayGroup.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "geomFeature/processor/ProcessorTolerance.h"

namespace Norvane {
namespace detail {

namespace {

// Cell coordinates are clamped: places beyond this many cells share the outermost cells, which costs
// comparisons but never a match.
constexpr double kCellClamp = 1e15;

bool Finite(const Point2D& p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

}  // namespace

ArrayGroup::ArrayGroup(const PatternList& sorted) {
    m_patterns.assign(sorted.begin(), sorted.end());
    m_places.reserve(m_patterns.size());
    for (const IPatternPtr& pattern : m_patterns) m_places.push_back(pattern->GetBasePoint());
    m_free.assign(m_patterns.size(), 1);

    // A uniform grid of about one place per cell over the group's box.
    bool any = false;
    Point2D low, high;
    for (const Point2D& p : m_places) {
        if (!Finite(p))
            continue;
        if (!any) {
            low = high = p;
            any = true;
        }
        low = Point2D(std::min(low.x, p.x), std::min(low.y, p.y));
        high = Point2D(std::max(high.x, p.x), std::max(high.y, p.y));
    }
    m_origin = low;
    const double extent = std::max(high.x - low.x, high.y - low.y);
    const double perSide = std::max(1.0, std::sqrt(static_cast<double>(m_places.size())));
    m_cell = extent / perSide;
    if (!(m_cell > 0.0) || !std::isfinite(m_cell)) {
        m_cell = 1.0;
    }
    m_span = static_cast<std::int64_t>(std::min(kCellClamp, std::ceil(extent / m_cell))) + 1;

    for (int i = 0; i < Size(); ++i) {
        const Point2D& p = Place(i);
        if (!Finite(p))
            continue;  // never matched
        m_cells[CellOf(p)].push_back(i);
        m_byX.emplace_back(p.x, i);
        m_byY.emplace_back(p.y, i);
    }
    std::sort(m_byX.begin(), m_byX.end());
    std::sort(m_byY.begin(), m_byY.end());
}

ArrayGroup::CellKey ArrayGroup::CellOf(const Point2D& p) const {
    const auto cell = [this](double v) {
        return static_cast<std::int64_t>(std::max(-kCellClamp, std::min(kCellClamp, std::floor(v / m_cell))));
    };
    return CellKey(cell(p.x - m_origin.x), cell(p.y - m_origin.y));
}

const std::vector<int>* ArrayGroup::Cell(std::int64_t x, std::int64_t y) const {
    const auto it = m_cells.find(CellKey(x, y));
    return it == m_cells.end() ? nullptr : &it->second;
}

int ArrayGroup::FindFree(const Point2D& place) const {
    if (!Finite(place)) {
        return -1;
    }
    const CellKey low = CellOf(Point2D(place.x - kArrayPlaceTol, place.y - kArrayPlaceTol));
    const CellKey high = CellOf(Point2D(place.x + kArrayPlaceTol, place.y + kArrayPlaceTol));
    int best = -1;
    double bestDistance = 0.0;
    for (std::int64_t x = low.first; x <= high.first; ++x) {
        for (std::int64_t y = low.second; y <= high.second; ++y) {
            const std::vector<int>* cell = Cell(x, y);
            if (!cell)
                continue;
            for (const int j : *cell) {
                if (!Free(j))
                    continue;
                const double d = Place(j).DistanceTo(place);
                if (d > kArrayPlaceTol)
                    continue;  // inclusive tolerance
                if (best < 0 || d < bestDistance || (d == bestDistance && j < best)) {
                    best = j;
                    bestDistance = d;
                }
            }
        }
    }
    return best;
}

std::vector<int> ArrayGroup::NearestFree(int i, int count) const {
    std::vector<std::pair<double, int>> found;
    const Point2D& p = Place(i);
    if (!Finite(p) || count <= 0) {
        return {};
    }
    const CellKey centre = CellOf(p);
    const auto visit = [&](std::int64_t x, std::int64_t y) {
        const std::vector<int>* cell = Cell(x, y);
        if (!cell)
            return;
        for (const int j : *cell) {
            if (j != i && Free(j))
                found.emplace_back(Place(j).DistanceTo(p), j);
        }
    };
    const std::size_t wanted = static_cast<std::size_t>(count);
    for (std::int64_t r = 0; r <= m_span + 1; ++r) {
        if (r == 0) {
            visit(centre.first, centre.second);
        } else {
            for (std::int64_t x = centre.first - r; x <= centre.first + r; ++x) {
                visit(x, centre.second - r);
                visit(x, centre.second + r);
            }
            for (std::int64_t y = centre.second - r + 1; y <= centre.second + r - 1; ++y) {
                visit(centre.first - r, y);
                visit(centre.first + r, y);
            }
        }
        // Every place not yet visited lies at least r cells away.
        if (found.size() >= wanted) {
            std::nth_element(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(wanted - 1),
                             found.end());
            if (found[wanted - 1].first <= static_cast<double>(r) * m_cell)
                break;
        }
    }
    std::sort(found.begin(), found.end());
    if (found.size() > wanted)
        found.resize(wanted);
    std::vector<int> nearest;
    nearest.reserve(found.size());
    for (const auto& entry : found) nearest.push_back(entry.second);
    return nearest;
}

int ArrayGroup::NextFreeAlong(int i, const std::vector<std::pair<double, int>>& byAcross,
                              bool vertical) const {
    const Point2D& p = Place(i);
    if (!Finite(p)) {
        return -1;
    }
    const double across = vertical ? p.x : p.y;
    const double along = vertical ? p.y : p.x;
    auto it = std::lower_bound(byAcross.begin(), byAcross.end(),
                               std::make_pair(across - kArrayPlaceTol, std::numeric_limits<int>::min()));
    int best = -1;
    double bestAlong = 0.0;
    for (; it != byAcross.end() && it->first <= across + kArrayPlaceTol; ++it) {
        const int j = it->second;
        if (j == i || !Free(j))
            continue;
        const double a = vertical ? Place(j).y : Place(j).x;
        if (!(a > along + kArrayPlaceTol))
            continue;
        if (best < 0 || a < bestAlong || (a == bestAlong && j < best)) {
            best = j;
            bestAlong = a;
        }
    }
    return best;
}

int ArrayGroup::NextFreeAbove(int i) const {
    return NextFreeAlong(i, m_byX, true);
}

int ArrayGroup::NextFreeRight(int i) const {
    return NextFreeAlong(i, m_byY, false);
}

bool IsRowSeed(const Point2D& a, const Point2D& b, const Point2D& c) {
    const Vector2D ab = b - a;
    const Vector2D bc = c - b;
    return std::fabs(ab.Angle() - bc.Angle()) < kArraySeedTol &&  // strict
           std::fabs(ab.Length() - bc.Length()) < kArraySeedTol;  // strict
}

}  // namespace detail
}  // namespace Norvane
