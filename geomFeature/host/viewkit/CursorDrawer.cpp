#include "geomFeature/host/viewkit/CursorDrawer.h"

#include "geomFeature/host/geomkit/Rect2D.h"
#include "geomFeature/host/viewkit/ViewPenGuard.h"

namespace Norvane {

namespace {

// Side of the pick box and length of the aim cross, in pixels.
constexpr double kPickBoxPixels = 8.0;
constexpr double kAimCrossPixels = 24.0;

constexpr double kCursorLineWidth = 1.0;

// Cursors are thin and solid whatever pen the caller left.
void SetCursorPen(ViewPenGuard& pen) {
    pen.SetLineWidth(kCursorLineWidth);
    pen.SetLineStipple(0, 1, 0xFFFF);
}

}  // namespace

Point2D CursorDrawer::CursorPos() const {
    Point2D cursor;
    m_viewPort->GetCursorPos(cursor.x, cursor.y);
    return cursor;
}

void CursorDrawer::DrawCrossLineCursor() const {
    DrawCrossLineCursor(CursorPos());
}

void CursorDrawer::DrawCrossLineCursor(const Point2D& cursor) const {
    ViewPenGuard pen(*m_viewPort);
    SetCursorPen(pen);
    const Rect2D area = m_viewPort->GetDrawingArea();
    m_viewPort->DrawLinePoint2D(area.left, cursor.y, area.right, cursor.y);
    m_viewPort->DrawLinePoint2D(cursor.x, area.bottom, cursor.x, area.top);
}

void CursorDrawer::DrawRectSelCursor() const {
    DrawRectSelCursor(CursorPos());
}

void CursorDrawer::DrawRectSelCursor(const Point2D& cursor) const {
    ViewPenGuard pen(*m_viewPort);
    SetCursorPen(pen);
    m_viewPort->DrawRectPoint2D(cursor.x, cursor.y, kPickBoxPixels, 1);
}

void CursorDrawer::DrawAimSelCursor() const {
    DrawAimSelCursor(CursorPos());
}

void CursorDrawer::DrawAimSelCursor(const Point2D& cursor) const {
    ViewPenGuard pen(*m_viewPort);
    SetCursorPen(pen);
    m_viewPort->DrawCrossPoint2D(cursor.x, cursor.y, kAimCrossPixels, 0.0);
    m_viewPort->DrawRectPoint2D(cursor.x, cursor.y, kPickBoxPixels, 1);
}

}  // namespace Norvane
