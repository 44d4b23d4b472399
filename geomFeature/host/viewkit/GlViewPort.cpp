#include "geomFeature/host/viewkit/GlViewPort.h"

#include <cmath>

namespace Norvane {

namespace {

// Only the three colour bytes are meaningful.
constexpr unsigned long kColorMask = 0xFFFFFFul;

}  // namespace

void GlViewPort::SetDrawColor(unsigned long color) {
    m_pen.color = color & kColorMask;
}

void GlViewPort::SetLineWidth(double width) {
    if (std::isfinite(width) && width > 0.0) {
        m_pen.lineWidth = width;
    }
}

void GlViewPort::SetROP(tagRopMode mode) {
    m_pen.rop = mode;
}

void GlViewPort::SetLineStipple(int enabled, int factor, unsigned short pattern) {
    m_pen.stippleEnabled = enabled != 0 ? 1 : 0;
    m_pen.stippleFactor = factor;
    m_pen.stipplePattern = pattern;
}

void GlViewPort::GetLineStipple(int& enabled, int& factor, unsigned short& pattern) const {
    enabled = m_pen.stippleEnabled;
    factor = m_pen.stippleFactor;
    pattern = m_pen.stipplePattern;
}

void GlViewPort::SetPen(const ViewPen& pen) {
    SetDrawColor(pen.color);
    SetLineWidth(pen.lineWidth);
    SetROP(pen.rop);
    SetLineStipple(pen.stippleEnabled, pen.stippleFactor, pen.stipplePattern);
}

void GlViewPort::GetCursorPos(double& x, double& y) const {
    x = m_cursor.x;
    y = m_cursor.y;
}

void GlViewPort::SetCursorPos(double x, double y) {
    m_cursor = Point2D(x, y);
}

void GlViewPort::ZoomAt(double factor, const Point2D& worldPoint) {
    ViewTransform view = m_view;
    view.ZoomAt(factor, view.WorldToDevice(worldPoint));
    SetViewTransform(view);
}

void GlViewPort::Pan(double dx, double dy) {
    ViewTransform view = m_view;
    view.Pan(dx, dy);
    SetViewTransform(view);
}

void GlViewPort::ZoomToFit(const Rect2D& world, double marginPixels) {
    ViewTransform view = m_view;
    view.FitWorldRect(world, marginPixels);
    SetViewTransform(view);
}

void GlViewPort::SetDeviceSize(int width, int height) {
    ViewTransform view = m_view;
    view.SetDeviceSize(width, height);
    SetViewTransform(view);
}

}  // namespace Norvane
