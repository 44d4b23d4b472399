#include "geomFeature/host/viewkit/RecordingViewPort.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace Norvane {

RecordingViewPort::RecordingViewPort(int width, int height, const Rect2D& world, double marginPixels) {
    ViewTransform view(width, height);
    view.FitWorldRect(world, marginPixels);
    GlViewPort::SetViewTransform(view);  // set up, not a call to remember
}

std::vector<RecordingViewPort::Call> RecordingViewPort::GetCalls(const std::string& name) const {
    std::vector<Call> found;
    std::copy_if(m_calls.begin(), m_calls.end(), std::back_inserter(found),
                 [&name](const Call& call) { return call.name == name; });
    return found;
}

std::vector<RecordingViewPort::Call> RecordingViewPort::GetDrawCalls() const {
    std::vector<Call> found;
    std::copy_if(m_calls.begin(), m_calls.end(), std::back_inserter(found),
                 [](const Call& call) { return call.name.starts_with("Draw"); });
    return found;
}

std::size_t RecordingViewPort::CountCalls(const std::string& name) const {
    return static_cast<std::size_t>(std::count_if(m_calls.begin(), m_calls.end(),
                                                  [&name](const Call& call) { return call.name == name; }));
}

void RecordingViewPort::Record(const char* name, std::vector<double> args) {
    m_calls.push_back(Call{name, std::move(args), GetPen()});
}

void RecordingViewPort::SetDrawColor(unsigned long color) {
    GlViewPort::SetDrawColor(color);
    Record("SetDrawColor", {static_cast<double>(color)});
}

void RecordingViewPort::SetLineWidth(double width) {
    GlViewPort::SetLineWidth(width);
    Record("SetLineWidth", {width});
}

void RecordingViewPort::SetROP(tagRopMode mode) {
    GlViewPort::SetROP(mode);
    Record("SetROP", {static_cast<double>(mode)});
}

void RecordingViewPort::SetLineStipple(int enabled, int factor, unsigned short pattern) {
    GlViewPort::SetLineStipple(enabled, factor, pattern);
    Record("SetLineStipple",
           {static_cast<double>(enabled), static_cast<double>(factor), static_cast<double>(pattern)});
}

void RecordingViewPort::DrawLinePoint2D(double x1, double y1, double x2, double y2) {
    Record("DrawLinePoint2D", {x1, y1, x2, y2});
}

void RecordingViewPort::DrawArc2D(double cx, double cy, double radius, double startAngle, double sweepAngle) {
    Record("DrawArc2D", {cx, cy, radius, startAngle, sweepAngle});
}

void RecordingViewPort::DrawCircle2D(double cx, double cy, double radius) {
    Record("DrawCircle2D", {cx, cy, radius});
}

void RecordingViewPort::DrawEllipse2D(double cx, double cy, double radiusX, double radiusY, double angle) {
    Record("DrawEllipse2D", {cx, cy, radiusX, radiusY, angle});
}

void RecordingViewPort::DrawRect(double x1, double y1, double x2, double y2) {
    Record("DrawRect", {x1, y1, x2, y2});
}

void RecordingViewPort::DrawCrossPoint2D(double x, double y, double size, double angle) {
    Record("DrawCrossPoint2D", {x, y, size, angle});
}

void RecordingViewPort::DrawCrossPoint2DEx(double x, double y, double size, double angle) {
    Record("DrawCrossPoint2DEx", {x, y, size, angle});
}

void RecordingViewPort::DrawRectPoint2D(double x, double y, double size, int hollow) {
    Record("DrawRectPoint2D", {x, y, size, static_cast<double>(hollow)});
}

void RecordingViewPort::SetViewTransform(const ViewTransform& view) {
    GlViewPort::SetViewTransform(view);
    const Point2D& centre = view.GetWorldCenter();
    Record("SetViewTransform",
           {static_cast<double>(view.GetDeviceWidth()), static_cast<double>(view.GetDeviceHeight()), centre.x,
            centre.y, view.GetScale()});
}

void RecordingViewPort::SetCursorPos(double x, double y) {
    GlViewPort::SetCursorPos(x, y);
    Record("SetCursorPos", {x, y});
}

void RecordingViewPort::Invalidate() {
    Record("Invalidate", {});
}

}  // namespace Norvane
