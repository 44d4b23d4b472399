#pragma once

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/viewkit/GlViewPort.h"

namespace Norvane {

// A viewport that draws nothing: for running the editor without a screen (scripted edits, benchmarks). Its
// view transform, cursor and pen behave as any viewport's, so picking and snapping work as on screen.
class NullViewPort : public GlViewPort {
public:
    using GlViewPort::GlViewPort;

    void DrawLinePoint2D(double, double, double, double) override {}
    void DrawArc2D(double, double, double, double, double) override {}
    void DrawCircle2D(double, double, double) override {}
    void DrawEllipse2D(double, double, double, double, double) override {}
    void DrawRect(double, double, double, double) override {}
    void DrawCrossPoint2D(double, double, double, double) override {}
    void DrawCrossPoint2DEx(double, double, double, double) override {}
    void DrawRectPoint2D(double, double, double, int) override {}
};

using NullViewPortPtr = boost::shared_ptr<NullViewPort>;

}  // namespace Norvane
