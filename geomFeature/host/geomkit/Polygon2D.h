#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/geomkit/Point2D.h"
#include "geomFeature/host/geomkit/Rect2D.h"

namespace Norvane {

// A plane polygon: its vertices in order, closed implicitly (the last vertex joins the first, which is not
// repeated). Either orientation; counter-clockwise is the positive one. Polygons built from lines and arcs
// (PolygonBuilder) remember how far they may stray from that geometry (the approximation tolerance), and the
// enclosure test allows for it.
//
// A polygon of fewer than three distinct vertices, or of zero area, is degenerate: it has no inside, contains
// no point, encloses nothing and is enclosed by nothing.
class Polygon2D {
public:
    std::vector<Point2D> pts;

    Polygon2D() = default;
    explicit Polygon2D(std::vector<Point2D> vertices, double approxTol = 0)
        : pts(std::move(vertices)), m_approxTol(approxTol) {}

    std::size_t size() const { return pts.size(); }
    bool empty() const { return pts.empty(); }

    // Largest distance between this polygon and the geometry it stands for (0 for an exact polygon).
    double GetApproxTol() const { return m_approxTol; }
    void SetApproxTol(double tol) { m_approxTol = tol; }

    // Signed area: positive when the vertices run counter-clockwise, negative when clockwise; 0 for fewer
    // than three vertices. A self-crossing polygon gives the sum of its lobes, each signed by its own sense.
    double GetArea() const;
    // Length of the closed boundary (0 for fewer than two vertices).
    double GetPerimeter() const;
    // Box of the vertices; (0, 0, 0, 0) when there are none.
    Rect2D GetRect() const;
    // 1 when p lies inside or exactly on the boundary (closed region); 0 outside and for a degenerate
    // polygon.
    int IsPointInside(const Point2D& p) const;
    // 1 when this polygon encloses `other`: every point of `other` lies in this polygon's closed region.
    // Touching boundaries count as enclosed: a hole whose edge lies on this boundary, an edge shared from the
    // inside, and an equal outline (so two equal polygons enclose each other). An edge shared from the
    // outside, an overlap or a crossing do not. The boundaries may cross by up to a slack, the sum of the two
    // approximation tolerances and at least kGeomEqualTol, so that the chords of arcs that touch do not break
    // the test: `other` may stray outside by that much, and this boundary may reach that far into `other`,
    // but no farther (a narrow slit of this polygon running deep into `other` still separates them). 0 when
    // either polygon is degenerate.
    int IncludePolygon(const Polygon2D& other) const;
    // Number of distinct points where the boundary meets itself other than at the joints of consecutive edges
    // (crossings and touchings; the end of an overlap where an edge doubles back). 0 for a simple polygon; a
    // figure of eight gives 1.
    int GetSelfCrossNum() const;
    // Reverses the order of the vertices (negates the signed area), keeping the first vertex first.
    void Reverse();

private:
    double m_approxTol = 0;
};

using Polygon2DPtr = boost::shared_ptr<Polygon2D>;

}  // namespace Norvane
