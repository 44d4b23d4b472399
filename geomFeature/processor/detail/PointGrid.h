#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "geomFeature/host/geomkit/Point2D.h"

namespace Norvane {
namespace detail {

// A fixed set of points bucketed in square cells, for the question "which points may lie within r of p?".
// The cells are found through a hash of their coordinates, and the points of one cell are one run of an
// array, so the whole index is a few flat arrays.
//
// ForEachNear reports a superset: every point within r of p (Euclidean or per coordinate alike), plus others
// from the same cells; the caller applies its exact test. A radius is widened by a relative 1e-12 so that
// the caller's rounding of a distance can never make a reported-as-far point pass its test. Points with a
// non-finite coordinate are not stored and a non-finite query point finds nothing: no distance from or to
// them compares as small.
class PointGrid {
public:
    // cellHint: the side of a cell when the drawing allows it (a query radius at most this side visits at
    // most 2 x 2 cells); the side is raised where needed so that every cell coordinate fits in 32 bits.
    // tick, when given, is called now and then while the grid is built (for a progress display).
    PointGrid(const std::vector<Point2D>& points, double cellHint, const std::function<void()>& tick = {});

    // A good cell side for queries of radius reach: eight times it, so that a query falls within one cell
    // in each direction three times out of four, while a cell still holds few points.
    static double CellFor(double reach) { return 8.0 * reach; }

    template <class Visit>
    void ForEachNear(const Point2D& p, double radius, Visit&& visit) const {
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || m_ids.empty() || !(radius >= 0.0)) {
            return;  // a negative or NaN radius admits no point
        }
        const double r = radius + (std::fabs(p.x) + std::fabs(p.y) + radius) * kRadiusSlack;
        const std::int32_t x0 = Coord(p.x - r);
        const std::int32_t x1 = Coord(p.x + r);
        const std::int32_t y0 = Coord(p.y - r);
        const std::int32_t y1 = Coord(p.y + r);
        // A radius far larger than the cells: every point is a candidate anyway.
        if (static_cast<double>(x1 - x0 + 1) * static_cast<double>(y1 - y0 + 1) >
            static_cast<double>(m_ids.size())) {
            for (const std::uint32_t id : m_ids) {
                visit(static_cast<std::size_t>(id));
            }
            return;
        }
        for (std::int64_t x = x0; x <= x1; ++x) {
            for (std::int64_t y = y0; y <= y1; ++y) {
                const Slot* slot = Find(Key(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)));
                if (!slot) {
                    continue;
                }
                for (std::uint32_t k = slot->begin; k < slot->begin + slot->count; ++k) {
                    visit(static_cast<std::size_t>(m_ids[k]));
                }
            }
        }
    }

private:
    static constexpr double kRadiusSlack = 1e-12;

    static constexpr std::uint32_t kFree = 0xFFFFFFFFu;
    struct Slot {
        std::uint64_t key = 0;
        std::uint32_t begin = kFree;  // kFree: the slot is unused
        std::uint32_t count = 0;
    };

    std::int32_t Coord(double v) const;
    static std::uint64_t Key(std::int32_t x, std::int32_t y) {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(x)) << 32) |
               static_cast<std::uint32_t>(y);
    }
    const Slot* Find(std::uint64_t key) const;
    Slot& FindOrAdd(std::uint64_t key);  // while building

    double m_cell = 1.0;
    std::vector<Slot> m_slots;         // open addressing, size a power of two
    std::vector<std::uint32_t> m_ids;  // point numbers, grouped by cell
};

}  // namespace detail
}  // namespace Norvane
