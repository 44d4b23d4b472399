#pragma once

#include <cstddef>
#include <vector>

#include <boost/make_shared.hpp>

#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/host/mathkit/MathEx.h"

namespace Norvane {
namespace testutil {

// Builders of element chains for kernel tests.

inline IGeom2DPtr Seg(double x1, double y1, double x2, double y2) {
    return boost::make_shared<Line2D>(Point2D(x1, y1), Point2D(x2, y2));
}

inline IGeom2DPtr ArcOf(double cx, double cy, double r, double base, double sweep) {
    return boost::make_shared<Arc2D>(Point2D(cx, cy), r, base, sweep);
}

inline Geom2DListPtr ListOf(const std::vector<IGeom2DPtr>& geoms) {
    auto list = boost::make_shared<Geom2DList>();
    for (const IGeom2DPtr& g : geoms) {
        list->push_back(g);
    }
    return list;
}

// Closed chain of lines through the corners in order.
inline Geom2DListPtr Polyline(const std::vector<Point2D>& corners) {
    auto list = boost::make_shared<Geom2DList>();
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const Point2D& a = corners[i];
        const Point2D& b = corners[(i + 1) % corners.size()];
        list->push_back(boost::make_shared<Line2D>(a, b));
    }
    return list;
}

// Axis-aligned rectangle, counter-clockwise from its lower left corner.
inline Geom2DListPtr Rect(double left, double bottom, double right, double top) {
    return Polyline({Point2D(left, bottom), Point2D(right, bottom), Point2D(right, top), Point2D(left, top)});
}

// Circle as two half arcs, counter-clockwise when ccw.
inline Geom2DListPtr Circle2(double cx, double cy, double r, bool ccw = true) {
    const double s = ccw ? MathEx::PI : -MathEx::PI;
    return ListOf({ArcOf(cx, cy, r, 0, s), ArcOf(cx, cy, r, s, s)});
}

}  // namespace testutil
}  // namespace Norvane
