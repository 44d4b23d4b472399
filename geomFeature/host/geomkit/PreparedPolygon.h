#pragma once

#include <cstddef>
#include <vector>

#include "geomFeature/host/geomkit/Polygon2D.h"
#include "geomFeature/host/geomkit/Rect2D.h"

namespace Norvane {

// A polygon made ready to be asked many times whether it encloses other polygons: IncludePolygon answers
// exactly what Polygon2D::IncludePolygon answers, but decides the plain cases without the general test. When
// the other polygon's box keeps clear of this boundary by more than the test's slack, it lies wholly inside
// or wholly outside, and one point decides which; that needs this polygon to be simple (no crossing or
// touching of its own boundary), which is checked once. Every other case goes to the general test.
//
// The edges are bucketed in a grid over the polygon's box, so a test looks only at the edges near the
// other polygon (and along one ray). Not safe to share between threads.
class PreparedPolygon {
public:
    explicit PreparedPolygon(const Polygon2D& polygon);

    const Polygon2D& GetPolygon() const { return m_polygon; }
    // Same answer as GetPolygon().IncludePolygon(other).
    int IncludePolygon(const Polygon2D& other) const;

private:
    enum class Side { Inside, Outside, Unknown };
    // Where a box lies when it keeps clear of every edge by more than margin.
    Side SideOfBox(const Rect2D& box, double margin) const;
    bool EdgeNear(std::size_t edge, const Rect2D& box) const;
    bool RayCrosses(std::size_t edge, const Point2D& p) const;
    std::size_t Cell(double v, double lo, double size, std::size_t count) const;
    void BuildGrid() const;

    Polygon2D m_polygon;
    bool m_valid = false;       // a proper ring (the general test answers 0 for everything otherwise)
    mutable int m_simple = -1;  // -1 unknown; found on first use
    Rect2D m_box;
    double m_scale = 0.0;  // size of the coordinates, for the rounding margin

    // Grid of edges (built on first use): cells of the box, each listing the edges whose box meets it.
    mutable bool m_gridBuilt = false;
    mutable std::size_t m_columns = 0;
    mutable std::size_t m_rows = 0;
    mutable double m_cellW = 0.0;
    mutable double m_cellH = 0.0;
    mutable std::vector<std::size_t> m_cellStart;  // CSR offsets, m_columns * m_rows + 1
    mutable std::vector<std::size_t> m_cellEdges;
    mutable std::vector<std::size_t> m_seen;  // per edge: the query that last looked at it
    mutable std::size_t m_query = 0;
};

}  // namespace Norvane
