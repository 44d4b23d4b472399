#pragma once

#include "geomFeature/host/geomkit/Point2D.h"
#include "geomFeature/host/viewkit/GlViewPort.h"

namespace Norvane {

// Draws the cursor shapes of the interactive tools at a world point (by default the viewport's cursor).
// Cursors use the viewport's colour and raster mode; they are always one pixel wide and solid, and the
// width and stipple are put back afterwards. Copies share the viewport.
class CursorDrawer {
public:
    explicit CursorDrawer(const GlViewPortPtr& viewPort) : m_viewPort(viewPort) {}

    // A horizontal and a vertical line through the point across the whole drawing area: the cursor of the
    // drawing tools, for lining points up by eye.
    void DrawCrossLineCursor() const;
    void DrawCrossLineCursor(const Point2D& cursor) const;
    // The pick box: a small hollow square, the cursor of selection.
    void DrawRectSelCursor() const;
    void DrawRectSelCursor(const Point2D& cursor) const;
    // A short cross with the pick box at its centre: picking one item precisely.
    void DrawAimSelCursor() const;
    void DrawAimSelCursor(const Point2D& cursor) const;

private:
    Point2D CursorPos() const;

    GlViewPortPtr m_viewPort;
};

}  // namespace Norvane
