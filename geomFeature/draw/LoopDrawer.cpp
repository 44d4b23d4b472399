#include "geomFeature/draw/LoopDrawer.h"

#include <boost/pointer_cast.hpp>

#include "geomFeature/draw/DrawTolerance.h"
#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/host/optkit/NVOptionInfo.h"
#include "geomFeature/host/viewkit/ViewPenGuard.h"
#include "geomFeature/loop/PatLoopCache.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PolyPatLoop.h"

namespace Norvane {

LoopDrawer::LoopDrawer(const GlViewPortPtr& viewPort) : GeomBaseDrawer(viewPort) {}

void LoopDrawer::DrawPatLoop(const IPatLoopPtr& loop, const Matrix2D& matrix) const {
    if (!loop) {
        return;
    }
    ViewPenGuard pen(*m_viewPort);
    pen.SetDrawColor(NVOptionInfo::GetInstance()->GetDisplayParam()->PatColor);
    pen.SetLineWidth(kOutlineWidth);
    DrawLoopData(loop, matrix);
}

void LoopDrawer::DrawPatLoopList(const PatLoopListPtr& loops, const Matrix2D& matrix) const {
    if (!loops) {
        return;
    }
    ViewPenGuard pen(*m_viewPort);
    pen.SetDrawColor(NVOptionInfo::GetInstance()->GetDisplayParam()->PatColor);
    pen.SetLineWidth(kOutlineWidth);
    for (const IPatLoopPtr& loop : *loops) {
        DrawLoopData(loop, matrix);
    }
}

void LoopDrawer::DrawActiveLoop(const IPatLoopPtr& loop, const Matrix2D& matrix) const {
    if (!loop) {
        return;
    }
    ViewPenGuard pen(*m_viewPort);
    pen.SetROP(kActiveRopMode);
    pen.SetLineWidth(kActiveOutlineWidth);
    pen.SetDrawColor(NVOptionInfo::GetInstance()->GetDisplayParam()->ActivePatColor);
    DrawLoopData(loop, matrix);
}

void LoopDrawer::DrawSelectedLoop(const IPatLoopPtr& loop, const Matrix2D& matrix) const {
    if (!loop) {
        return;
    }
    ViewPenGuard pen(*m_viewPort);
    pen.SetLineWidth(kOutlineWidth);
    pen.SetDrawColor(NVOptionInfo::GetInstance()->GetDisplayParam()->SelPatColor);
    DrawLoopData(loop, matrix);
}

void LoopDrawer::DrawLoopData(const IPatLoopPtr& loop, const Matrix2D& matrix) const {
    if (!loop) {
        return;
    }
    const PatLoopCachePtr cache = loop->GetCacheData();
    if (!cache) {
        return;
    }
    Rect2D box = cache->GetLoopRect();
    box.Transform(matrix);
    const Rect2D device = RectWToD(box);
    if ((device & GetClientAreaRect()) == 0) {
        return;  // off screen, whatever its size
    }

    const Matrix2D identity;
    // Both thresholds are non-strict: a box exactly 3 pixels square is a point, exactly 6 a circle.
    if (device.Width() <= kLoopPointMaxPixels && device.Height() <= kLoopPointMaxPixels) {
        DrawPoint(box.GetCenterPt(), identity);
    } else if (device.Width() <= kLoopCircleMaxPixels && device.Height() <= kLoopCircleMaxPixels) {
        DrawArc(Arc2D(box.GetCenterPt(), 0.5 * box.Width(), 0.0, MathEx::PI2), identity);
    } else {
        DrawBaseGeoms(cache->GetLoopBaseGeom(), matrix);
    }
}

void LoopDrawer::FlagOpenLoops(const PatLoopListPtr& loops) const {
    if (!loops) {
        return;
    }
    ViewPenGuard pen(*m_viewPort);
    pen.SetDrawColor(kOpenLoopMarkColor);
    pen.SetLineWidth(kOutlineWidth);
    for (const IPatLoopPtr& loop : *loops) {
        if (!loop || loop->IsOpenPath(kOpenLoopMarkTol) == 0) {
            continue;
        }
        // Only polygon loops can be open; their chain has a start and an end.
        const PolyPatLoopPtr poly = boost::dynamic_pointer_cast<PolyPatLoop>(loop);
        if (!poly) {
            continue;
        }
        const Point2D start = poly->GetStartPt();
        const Point2D end = poly->GetEndPt();
        m_viewPort->DrawCrossPoint2DEx(start.x, start.y, kOpenLoopMarkPixels, kOpenLoopMarkAngle);
        m_viewPort->DrawCrossPoint2DEx(end.x, end.y, kOpenLoopMarkPixels, kOpenLoopMarkAngle);
    }
}

}  // namespace Norvane
