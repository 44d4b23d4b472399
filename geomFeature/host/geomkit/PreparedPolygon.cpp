#include "geomFeature/host/geomkit/PreparedPolygon.h"

#include <algorithm>
#include <cmath>

#include "geomFeature/host/geomkit/GeomTolerance.h"
#include "geomFeature/host/geomkit/detail/PolygonAlgo.h"

namespace Norvane {

namespace {

// Below this many edges every test simply looks at all of them.
constexpr std::size_t kGridFromEdges = 16;
// A box must keep clear of the boundary by this multiple of the enclosure test's slack before its side is
// decided from one point: far enough that the tolerant part of the general test cannot accept it either.
constexpr double kClearSlackFactor = 1.5;
// Relative size of the rounding margin added to that clearance (against the coordinates' magnitude).
constexpr double kRoundingMargin = 1e-9;

double MaxAbs(const Rect2D& r) {
    return std::max({std::fabs(r.left), std::fabs(r.right), std::fabs(r.bottom), std::fabs(r.top)});
}

}  // namespace

PreparedPolygon::PreparedPolygon(const Polygon2D& polygon) : m_polygon(polygon) {
    m_valid = detail::RingIsProper(m_polygon.pts) != 0;
    if (m_valid) {
        m_box = m_polygon.GetRect();
        m_scale = MaxAbs(m_box);
    }
}

int PreparedPolygon::IncludePolygon(const Polygon2D& other) const {
    // The general test refuses a degenerate ring on either side before anything else.
    if (!m_valid || !detail::RingIsProper(other.pts)) {
        return 0;
    }
    if (m_simple < 0) {
        m_simple = detail::RingSelfCrossCount(m_polygon.pts) == 0 ? 1 : 0;
    }
    if (m_simple == 1) {
        const double slack = std::max(kGeomEqualTol, m_polygon.GetApproxTol() + other.GetApproxTol());
        const Rect2D box = other.GetRect();
        const double margin =
            kClearSlackFactor * slack + kRoundingMargin * (std::max(m_scale, MaxAbs(box)) + 1.0);
        switch (SideOfBox(box, margin)) {
            case Side::Inside:
                return 1;  // every point of other is inside, clear of the boundary: covered
            case Side::Outside:
                return 0;  // every vertex of other is farther than the slack outside
            case Side::Unknown:
                break;
        }
    }
    return m_polygon.IncludePolygon(other);
}

std::size_t PreparedPolygon::Cell(double v, double lo, double size, std::size_t count) const {
    if (!(size > 0.0)) {
        return 0;
    }
    const double c = std::floor((v - lo) / size);
    if (!(c > 0.0)) {
        return 0;
    }
    return std::min(count - 1, static_cast<std::size_t>(std::min(c, static_cast<double>(count - 1))));
}

void PreparedPolygon::BuildGrid() const {
    m_gridBuilt = true;
    const std::size_t n = m_polygon.pts.size();
    m_seen.assign(n, 0);
    if (n < kGridFromEdges) {
        m_columns = m_rows = 0;
        return;
    }
    // About one cell per edge, shaped like the box.
    const double w = m_box.Width();
    const double h = m_box.Height();
    const double aspect = (w > 0.0 && h > 0.0) ? w / h : 1.0;
    m_columns = std::clamp<std::size_t>(static_cast<std::size_t>(std::sqrt(n * aspect)), 1, n);
    m_rows = std::clamp<std::size_t>(n / m_columns, 1, n);
    m_cellW = w / static_cast<double>(m_columns);
    m_cellH = h / static_cast<double>(m_rows);

    std::vector<std::size_t> counts(m_columns * m_rows + 1, 0);
    auto forCells = [&](std::size_t edge, auto&& action) {
        const Point2D& a = m_polygon.pts[edge];
        const Point2D& b = m_polygon.pts[(edge + 1) % n];
        const std::size_t c0 = Cell(std::min(a.x, b.x), m_box.left, m_cellW, m_columns);
        const std::size_t c1 = Cell(std::max(a.x, b.x), m_box.left, m_cellW, m_columns);
        const std::size_t r0 = Cell(std::min(a.y, b.y), m_box.bottom, m_cellH, m_rows);
        const std::size_t r1 = Cell(std::max(a.y, b.y), m_box.bottom, m_cellH, m_rows);
        for (std::size_t r = r0; r <= r1; ++r) {
            for (std::size_t c = c0; c <= c1; ++c) {
                action(r * m_columns + c);
            }
        }
    };
    for (std::size_t e = 0; e < n; ++e) {
        forCells(e, [&](std::size_t cell) { ++counts[cell + 1]; });
    }
    for (std::size_t k = 1; k < counts.size(); ++k) {
        counts[k] += counts[k - 1];
    }
    m_cellStart = counts;
    m_cellEdges.resize(counts.back());
    for (std::size_t e = 0; e < n; ++e) {
        forCells(e, [&](std::size_t cell) { m_cellEdges[counts[cell]++] = e; });
    }
}

// An edge is near the box unless its box misses the box or the whole box lies strictly on one side of the
// edge's line. Borderline cases count as near, which only sends a test to the general path.
bool PreparedPolygon::EdgeNear(std::size_t edge, const Rect2D& box) const {
    const std::size_t n = m_polygon.pts.size();
    const Point2D& a = m_polygon.pts[edge];
    const Point2D& b = m_polygon.pts[(edge + 1) % n];
    if (std::max(a.x, b.x) < box.left || std::min(a.x, b.x) > box.right || std::max(a.y, b.y) < box.bottom ||
        std::min(a.y, b.y) > box.top) {
        return false;
    }
    const double nx = a.y - b.y;
    const double ny = b.x - a.x;
    const double s[4] = {
        nx * (box.left - a.x) + ny * (box.bottom - a.y), nx * (box.right - a.x) + ny * (box.bottom - a.y),
        nx * (box.left - a.x) + ny * (box.top - a.y), nx * (box.right - a.x) + ny * (box.top - a.y)};
    const bool allAbove = s[0] > 0 && s[1] > 0 && s[2] > 0 && s[3] > 0;
    const bool allBelow = s[0] < 0 && s[1] < 0 && s[2] < 0 && s[3] < 0;
    return !allAbove && !allBelow;
}

// Even-odd count of the ray from p towards +x; each vertex belongs to the side above or not above p, so a ray
// through a vertex counts it once or not at all, consistently.
bool PreparedPolygon::RayCrosses(std::size_t edge, const Point2D& p) const {
    const std::size_t n = m_polygon.pts.size();
    const Point2D& a = m_polygon.pts[edge];
    const Point2D& b = m_polygon.pts[(edge + 1) % n];
    if ((a.y > p.y) == (b.y > p.y)) {
        return false;
    }
    const double x = a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y);
    return x > p.x;
}

PreparedPolygon::Side PreparedPolygon::SideOfBox(const Rect2D& other, double margin) const {
    if (!m_gridBuilt) {
        BuildGrid();
    }
    Rect2D box = other;
    box.Inflate(margin);
    if (!(box.left <= box.right && box.bottom <= box.top)) {
        return Side::Unknown;  // not a number somewhere
    }
    const std::size_t n = m_polygon.pts.size();
    ++m_query;
    if (m_columns == 0) {
        for (std::size_t e = 0; e < n; ++e) {
            if (EdgeNear(e, box)) {
                return Side::Unknown;
            }
        }
    } else if (box.right >= m_box.left && box.left <= m_box.right && box.top >= m_box.bottom &&
               box.bottom <= m_box.top) {
        const std::size_t c0 = Cell(box.left, m_box.left, m_cellW, m_columns);
        const std::size_t c1 = Cell(box.right, m_box.left, m_cellW, m_columns);
        const std::size_t r0 = Cell(box.bottom, m_box.bottom, m_cellH, m_rows);
        const std::size_t r1 = Cell(box.top, m_box.bottom, m_cellH, m_rows);
        for (std::size_t r = r0; r <= r1; ++r) {
            for (std::size_t c = c0; c <= c1; ++c) {
                const std::size_t cell = r * m_columns + c;
                for (std::size_t k = m_cellStart[cell]; k < m_cellStart[cell + 1]; ++k) {
                    const std::size_t e = m_cellEdges[k];
                    if (m_seen[e] != m_query) {
                        m_seen[e] = m_query;
                        if (EdgeNear(e, box)) {
                            return Side::Unknown;
                        }
                    }
                }
            }
        }
    }

    const Point2D p = other.GetCenterPt();
    ++m_query;
    bool inside = false;
    if (m_columns == 0) {
        for (std::size_t e = 0; e < n; ++e) {
            inside ^= RayCrosses(e, p);
        }
    } else if (p.y >= m_box.bottom && p.y <= m_box.top && p.x <= m_box.right) {
        const std::size_t r = Cell(p.y, m_box.bottom, m_cellH, m_rows);
        for (std::size_t c = Cell(p.x, m_box.left, m_cellW, m_columns); c < m_columns; ++c) {
            const std::size_t cell = r * m_columns + c;
            for (std::size_t k = m_cellStart[cell]; k < m_cellStart[cell + 1]; ++k) {
                const std::size_t e = m_cellEdges[k];
                if (m_seen[e] != m_query) {
                    m_seen[e] = m_query;
                    inside ^= RayCrosses(e, p);
                }
            }
        }
    }
    return inside ? Side::Inside : Side::Outside;
}

}  // namespace Norvane
