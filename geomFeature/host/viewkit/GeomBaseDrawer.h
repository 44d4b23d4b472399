#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/geomkit/Point2D.h"
#include "geomFeature/host/geomkit/Rect2D.h"
#include "geomFeature/host/viewkit/GlViewPort.h"

namespace Norvane {

class Arc2D;
class Line2D;

// Draws kernel geometry on a viewport with whatever pen the viewport holds; the base of the module's
// drawers. Copies share the viewport.
//
// Every drawing operation takes a transform applied to the geometry first (the geometry itself is left
// alone), so one outline can be drawn at many places, as arrays and moved previews need.
class GeomBaseDrawer {
public:
    explicit GeomBaseDrawer(const GlViewPortPtr& viewPort) : m_viewPort(viewPort) {}

    const GlViewPortPtr& GetViewPort() const { return m_viewPort; }

    // Each line and arc of the list, in order. An empty pointer draws nothing.
    void DrawBaseGeoms(const Geom2DListPtr& geoms, const Matrix2D& matrix) const;
    void DrawBaseGeoms(const Geom2DList& geoms, const Matrix2D& matrix) const;
    void DrawLine(const Line2D& line, const Matrix2D& matrix) const;
    // A mirroring transform reverses the arc's sweep; the arc drawn covers the same points either way.
    void DrawArc(const Arc2D& arc, const Matrix2D& matrix) const;
    // A dot a couple of pixels wide, whatever the zoom: how geometry too small to show its shape is drawn.
    void DrawPoint(const Point2D& point, const Matrix2D& matrix) const;

    // The viewport's client area in device pixels, (0, width, 0, height).
    Rect2D GetClientAreaRect() const;
    // A world box in device pixels (normalised: left < right, bottom < top numerically).
    Rect2D RectWToD(const Rect2D& world) const;

protected:
    GlViewPortPtr m_viewPort;
};

}  // namespace Norvane
