#pragma once

// The work state of array recognition over one group of same-shape patterns: their base points, which are
// still free, look-ups by place, and the three passes that turn them into arrays.

#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "geomFeature/host/geomkit/Point2D.h"
#include "geomFeature/host/geomkit/Vector2D.h"
#include "geomFeature/pattern/IPattern.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {
namespace detail {

// A group of same-shape patterns in base-point order. Indices are positions in that order, so "earlier"
// means smaller x (or, within the x tie, smaller y). Patterns are taken (no longer free) as arrays absorb
// them.
class ArrayGroup {
public:
    explicit ArrayGroup(const PatternList& sorted);

    int Size() const { return static_cast<int>(m_patterns.size()); }
    const IPatternPtr& Pattern(int i) const { return m_patterns[static_cast<std::size_t>(i)]; }
    const Point2D& Place(int i) const { return m_places[static_cast<std::size_t>(i)]; }
    bool Free(int i) const { return m_free[static_cast<std::size_t>(i)] != 0; }
    void Take(int i) { m_free[static_cast<std::size_t>(i)] = 0; }

    // The free pattern whose base point is nearest to place, within kArrayPlaceTol (inclusive); of equally
    // near ones the earlier. -1 when there is none.
    int FindFree(const Point2D& place) const;
    // Up to count free patterns other than i, nearest to i's base point first (ties: the earlier).
    std::vector<int> NearestFree(int i, int count) const;
    // The nearest free pattern straight above i (|dx| within kArrayPlaceTol, dy beyond it), and straight to
    // its right (|dy| within, dx beyond); -1 when there is none.
    int NextFreeAbove(int i) const;
    int NextFreeRight(int i) const;

private:
    using CellKey = std::pair<std::int64_t, std::int64_t>;
    struct CellHash {
        std::size_t operator()(const CellKey& k) const {
            return std::hash<std::int64_t>()(k.first) * 1000003u ^ std::hash<std::int64_t>()(k.second);
        }
    };
    CellKey CellOf(const Point2D& p) const;
    const std::vector<int>* Cell(std::int64_t x, std::int64_t y) const;
    // The nearest free pattern along one axis: coordinate `along` larger than i's, `across` within tolerance.
    int NextFreeAlong(int i, const std::vector<std::pair<double, int>>& byAcross, bool vertical) const;

    std::vector<IPatternPtr> m_patterns;
    std::vector<Point2D> m_places;
    std::vector<char> m_free;
    Point2D m_origin;
    double m_cell = 1.0;
    std::int64_t m_span = 0;  // cells across the group's box, the farthest ring a search needs
    std::unordered_map<CellKey, std::vector<int>, CellHash> m_cells;
    std::vector<std::pair<double, int>> m_byX;  // (x, index) sorted: columns for NextFreeAbove
    std::vector<std::pair<double, int>> m_byY;  // (y, index) sorted: rows for NextFreeRight
};

// The row seed: A, B, C stand at equal steps in one direction, the directions A->B and B->C (atan2) and the
// lengths |AB| and |BC| each differing by less than kArraySeedTol (strict).
bool IsRowSeed(const Point2D& a, const Point2D& b, const Point2D& c);

// The passes, in the order they run. Each appends its arrays to arrays and every pattern it used (seeds
// included) to absorbed, and takes those patterns out of the group.
void FindGrids(ArrayGroup& group, PatternList& arrays, PatternList& absorbed);
void FindRows(ArrayGroup& group, PatternList& arrays, PatternList& absorbed);
void FindArcs(ArrayGroup& group, PatternList& arrays, PatternList& absorbed);

}  // namespace detail
}  // namespace Norvane
