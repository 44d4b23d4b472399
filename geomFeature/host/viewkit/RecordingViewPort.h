#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/geomkit/Rect2D.h"
#include "geomFeature/host/viewkit/GlViewPort.h"
#include "geomFeature/host/viewkit/ViewPen.h"

namespace Norvane {

// A headless viewport that draws nothing and remembers every call made to it, in order: the operation's
// name, its arguments as numbers (in declaration order; colours, modes and flags converted exactly) and
// the pen in effect once the call was made (for a setter, the pen after the change). Its world/device
// mapping is the same as any viewport's, so conversions and culling behave as they would on screen.
class RecordingViewPort : public GlViewPort {
public:
    struct Call {
        std::string name;
        std::vector<double> args;
        ViewPen pen;
    };

    // A device of width x height pixels showing the world box fitted with `marginPixels` on each side.
    RecordingViewPort(int width, int height, const Rect2D& world, double marginPixels = 0.0);

    const std::vector<Call>& GetCalls() const { return m_calls; }
    // The calls of one operation, in order.
    std::vector<Call> GetCalls(const std::string& name) const;
    // The calls that put something on the surface (every name beginning with "Draw"), in order.
    std::vector<Call> GetDrawCalls() const;
    std::size_t CountCalls(const std::string& name) const;
    void Clear() { m_calls.clear(); }

    void SetDrawColor(unsigned long color) override;
    void SetLineWidth(double width) override;
    void SetROP(tagRopMode mode) override;
    void SetLineStipple(int enabled, int factor, unsigned short pattern) override;

    void DrawLinePoint2D(double x1, double y1, double x2, double y2) override;
    void DrawArc2D(double cx, double cy, double radius, double startAngle, double sweepAngle) override;
    void DrawCircle2D(double cx, double cy, double radius) override;
    void DrawEllipse2D(double cx, double cy, double radiusX, double radiusY, double angle) override;
    void DrawRect(double x1, double y1, double x2, double y2) override;
    void DrawCrossPoint2D(double x, double y, double size, double angle) override;
    void DrawCrossPoint2DEx(double x, double y, double size, double angle) override;
    void DrawRectPoint2D(double x, double y, double size, int hollow) override;

    void SetViewTransform(const ViewTransform& view) override;
    void SetCursorPos(double x, double y) override;
    void Invalidate() override;

private:
    void Record(const char* name, std::vector<double> args);

    std::vector<Call> m_calls;
};

using RecordingViewPortPtr = boost::shared_ptr<RecordingViewPort>;

}  // namespace Norvane
