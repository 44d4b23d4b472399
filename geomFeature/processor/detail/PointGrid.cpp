#include "geomFeature/processor/detail/PointGrid.h"

#include <algorithm>

namespace Norvane {
namespace detail {

namespace {

bool Finite(const Point2D& p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

// A 64-bit mix (the finaliser of MurmurHash3), so that neighbouring cells spread over the table.
std::uint64_t Mix(std::uint64_t k) {
    k ^= k >> 33;
    k *= 0xff51afd7ed558ccdULL;
    k ^= k >> 33;
    k *= 0xc4ceb9fe1a85ec53ULL;
    k ^= k >> 33;
    return k;
}

// Cell coordinates stay below this in magnitude, leaving room for the +-1 of a query.
constexpr double kCoordRange = 1073741824.0;  // 2^30

}  // namespace

PointGrid::PointGrid(const std::vector<Point2D>& points, double cellHint, const std::function<void()>& tick) {
    // Ticks every so many points of each pass.
    constexpr std::size_t kTickEvery = 256;
    const auto maybeTick = [&tick](std::size_t i) {
        if (tick && i % kTickEvery == 0) {
            tick();
        }
    };
    double extent = 0.0;
    std::size_t stored = 0;
    for (const Point2D& p : points) {
        if (Finite(p)) {
            extent = std::max({extent, std::fabs(p.x), std::fabs(p.y)});
            ++stored;
        }
    }
    m_cell = std::max(cellHint, extent / kCoordRange);
    if (!(m_cell > 0.0) || !std::isfinite(m_cell)) {
        m_cell = extent > 0.0 ? extent / kCoordRange : 1.0;
    }
    if (stored == 0) {
        return;
    }

    std::size_t capacity = 16;
    while (capacity < 2 * stored) {
        capacity *= 2;
    }
    m_slots.assign(capacity, Slot());
    // Count the points of every cell; then give each cell its run, ending where the next one starts; then
    // fill the runs from their ends, walking the points backwards so that each run lists its points in
    // ascending order.
    for (std::size_t i = 0; i < points.size(); ++i) {
        maybeTick(i);
        if (Finite(points[i])) {
            ++FindOrAdd(Key(Coord(points[i].x), Coord(points[i].y))).count;
        }
    }
    std::uint32_t end = 0;
    for (Slot& slot : m_slots) {
        if (slot.begin != kFree) {
            end += slot.count;
            slot.begin = end;
        }
    }
    m_ids.resize(stored);
    for (std::size_t i = points.size(); i-- > 0;) {
        maybeTick(i);
        if (Finite(points[i])) {
            Slot& slot = FindOrAdd(Key(Coord(points[i].x), Coord(points[i].y)));
            m_ids[--slot.begin] = static_cast<std::uint32_t>(i);
        }
    }
}

// floor(v / cell) is monotonic in v, so a point within r of p always falls in the cells between those of
// p - r and p + r, clamped or not.
std::int32_t PointGrid::Coord(double v) const {
    const double c = std::floor(v / m_cell);
    return static_cast<std::int32_t>(std::clamp(c, -kCoordRange, kCoordRange));
}

const PointGrid::Slot* PointGrid::Find(std::uint64_t key) const {
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = Mix(key) & mask;; i = (i + 1) & mask) {
        const Slot& slot = m_slots[i];
        if (slot.begin == kFree) {
            return nullptr;
        }
        if (slot.key == key) {
            return &slot;
        }
    }
}

PointGrid::Slot& PointGrid::FindOrAdd(std::uint64_t key) {
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = Mix(key) & mask;; i = (i + 1) & mask) {
        Slot& slot = m_slots[i];
        if (slot.begin == kFree) {
            slot.key = key;
            slot.begin = 0;
            return slot;
        }
        if (slot.key == key) {
            return slot;
        }
    }
}

}  // namespace detail
}  // namespace Norvane
