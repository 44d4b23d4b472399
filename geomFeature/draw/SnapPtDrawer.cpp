#include "geomFeature/draw/SnapPtDrawer.h"

#include "geomFeature/draw/DrawTolerance.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/optkit/NVOptionInfo.h"
#include "geomFeature/host/viewkit/ViewPenGuard.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

SnapPtDrawer::SnapPtDrawer(const GlViewPortPtr& viewPort) : m_viewPort(viewPort) {}

void SnapPtDrawer::DrawPatCtrlPt(const IPatternPtr& pattern) const {
    if (!pattern) {
        return;
    }
    ViewPenGuard pen(*m_viewPort);
    pen.SetLineWidth(kOutlineWidth);
    pen.SetDrawColor(NVOptionInfo::GetInstance()->GetDisplayParam()->CtrlPtColor);
    DrawCtrlPt(pattern);
}

void SnapPtDrawer::DrawPatListCtrlPt(const PatternListPtr& patterns) const {
    if (!patterns) {
        return;
    }
    ViewPenGuard pen(*m_viewPort);
    pen.SetLineWidth(kOutlineWidth);
    pen.SetDrawColor(NVOptionInfo::GetInstance()->GetDisplayParam()->CtrlPtColor);
    for (const IPatternPtr& pattern : *patterns) {
        if (pattern) {
            DrawCtrlPt(pattern);
        }
    }
}

void SnapPtDrawer::DrawSnapPt(const Point2D& point, unsigned long color) const {
    ViewPenGuard pen(*m_viewPort);
    pen.SetDrawColor(color);
    m_viewPort->DrawRectPoint2D(point.x, point.y, kSnapPtMarkPixels, 1);
}

void SnapPtDrawer::DrawCtrlPt(const IPatternPtr& pattern) const {
    if (pattern->IsControlPat()) {
        return;  // a seed's points are not offered: the array stands for it
    }
    Point2DList points;
    pattern->GetSnapPoints(points);
    for (const Point2D& p : points) {
        m_viewPort->DrawCrossPoint2D(p.x, p.y, kCtrlPtMarkPixels, 0.0);
    }
}

}  // namespace Norvane
