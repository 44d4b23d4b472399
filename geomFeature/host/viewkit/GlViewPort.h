#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/appframe/WindowHandle.h"
#include "geomFeature/host/geomkit/Point2D.h"
#include "geomFeature/host/geomkit/Rect2D.h"
#include "geomFeature/host/viewkit/RopMode.h"
#include "geomFeature/host/viewkit/ViewPen.h"
#include "geomFeature/host/viewkit/ViewTransform.h"

namespace Norvane {

// A drawing surface showing a window of the world: the view the module draws patterns, loops, markers and
// cursors on. Implementations render to a file (CairoViewPort), record the calls (RecordingViewPort) or,
// in an interactive host, paint a window.
//
// Coordinates: geometry is given in world units (y up, angles in radians counter-clockwise from +x); line
// widths and marker sizes in device pixels, so markers keep their size on screen whatever the zoom. The
// view (zoom and pan) is a ViewTransform held here; an interactive implementation edits it as the user
// zooms and pans.
//
// The pen (colour, width, raster mode, stipple) is state of the surface that stays until changed. The base
// class keeps it; implementations override the setters only to pass a change on to their device, and must
// call the base setter.
class GlViewPort {
public:
    GlViewPort() = default;
    explicit GlViewPort(const ViewTransform& view) : m_view(view) {}
    virtual ~GlViewPort() = default;
    GlViewPort(const GlViewPort&) = delete;
    GlViewPort& operator=(const GlViewPort&) = delete;

    // --- pen ---
    // 0x00BBGGRR: red in the low byte (the bits above blue are ignored).
    virtual void SetDrawColor(unsigned long color);
    unsigned long GetDrawColor() const { return m_pen.color; }
    // Device pixels; values that are not positive and finite are ignored.
    virtual void SetLineWidth(double width);
    double GetLineWidth() const { return m_pen.lineWidth; }
    virtual void SetROP(tagRopMode mode);
    tagRopMode GetROP() const { return m_pen.rop; }
    // Dashed lines: `pattern` is a 16-bit mask read from bit 0, each bit `factor` pixels long (a factor
    // below 1 counts as 1). Applies to lines, arcs, circles, ellipses and rectangles, not to markers.
    virtual void SetLineStipple(int enabled, int factor, unsigned short pattern);
    void GetLineStipple(int& enabled, int& factor, unsigned short& pattern) const;
    // The whole pen at once; SetPen goes through the four setters above.
    const ViewPen& GetPen() const { return m_pen; }
    void SetPen(const ViewPen& pen);

    // --- geometry, in world coordinates ---
    virtual void DrawLinePoint2D(double x1, double y1, double x2, double y2) = 0;
    // Arc of the circle (cx, cy, radius) from direction `startAngle`, sweeping `sweepAngle` (positive
    // counter-clockwise; ±2π or more is the full circle).
    virtual void DrawArc2D(double cx, double cy, double radius, double startAngle, double sweepAngle) = 0;
    virtual void DrawCircle2D(double cx, double cy, double radius) = 0;
    // Ellipse with semi-axes `radiusX` along direction `angle` and `radiusY` across it.
    virtual void DrawEllipse2D(double cx, double cy, double radiusX, double radiusY, double angle) = 0;
    // Axis-aligned rectangle with opposite corners (x1, y1) and (x2, y2), in any order.
    virtual void DrawRect(double x1, double y1, double x2, double y2) = 0;

    // --- markers: placed at a world point, sized in device pixels, always solid ---
    // A cross of two strokes `size` pixels long through the point, turned by `angle` (counter-clockwise;
    // π/4 gives an X).
    virtual void DrawCrossPoint2D(double x, double y, double size, double angle) = 0;
    // The same cross framed by a circle through the ends of its strokes: a mark that stays visible on top
    // of the geometry it sits on.
    virtual void DrawCrossPoint2DEx(double x, double y, double size, double angle) = 0;
    // An axis-aligned square `size` pixels wide centred on the point: its outline when `hollow` is
    // non-zero, filled otherwise.
    virtual void DrawRectPoint2D(double x, double y, double size, int hollow) = 0;

    // --- view ---
    const ViewTransform& GetViewTransform() const { return m_view; }
    // Virtual so that a window can repaint when its view changes.
    virtual void SetViewTransform(const ViewTransform& view) { m_view = view; }
    // Pixels to world length and back.
    double DToW(double pixels) const { return m_view.DToW(pixels); }
    double WToD(double length) const { return m_view.WToD(length); }
    Point2D PointWToD(const Point2D& world) const { return m_view.WorldToDevice(world); }
    Point2D PointDToW(const Point2D& device) const { return m_view.DeviceToWorld(device); }
    // Device boxes are normalised: left < right and bottom < top numerically (bottom is the upper edge on
    // screen, device y growing downwards).
    Rect2D RectWToD(const Rect2D& world) const { return m_view.RectWToD(world); }
    Rect2D RectDToW(const Rect2D& device) const { return m_view.RectDToW(device); }
    // The client area in device pixels: (0, width, 0, height).
    Rect2D GetClientArea() const { return m_view.GetDeviceRect(); }
    // The world box the client area shows.
    Rect2D GetDrawingArea() const { return m_view.GetVisibleWorldRect(); }
    // The cursor in world coordinates. A surface without a pointer answers the last position set; an
    // interactive one asks its window.
    virtual void GetCursorPos(double& x, double& y) const;
    virtual void SetCursorPos(double x, double y);

    // --- interactive view: what a window drives as the user zooms, pans and resizes; each goes through
    // SetViewTransform, so a window repaints ---
    // Multiplies the scale by `factor` (> 1 zooms in) keeping `worldPoint` where it is on the device.
    void ZoomAt(double factor, const Point2D& worldPoint);
    // Moves the picture by (dx, dy) device pixels (right and down positive).
    void Pan(double dx, double dy);
    // Shows the whole world box with `marginPixels` free around it.
    void ZoomToFit(const Rect2D& world, double marginPixels);
    // The device was resized; the world centre and the scale stay.
    void SetDeviceSize(int width, int height);

    // --- window ---
    // The window the surface belongs to: owner of the message boxes that actions in it show. Empty for a
    // surface without a window.
    WindowHandle GetWindow() const { return m_window; }
    void SetWindow(WindowHandle window) { m_window = window; }
    // Asks for the whole surface to be repainted soon (after the data it shows changed). Nothing happens
    // on a surface that does not repaint by itself.
    virtual void Invalidate() {}

private:
    ViewPen m_pen;
    ViewTransform m_view;
    Point2D m_cursor;
    WindowHandle m_window = nullptr;
};

using GlViewPortPtr = boost::shared_ptr<GlViewPort>;

}  // namespace Norvane
