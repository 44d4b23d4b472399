#include "geomFeature/draw/DrawAssistor.h"

#include <cmath>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/draw/DrawTolerance.h"
#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/host/optkit/NVOptionInfo.h"
#include "geomFeature/host/viewkit/ViewPenGuard.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

namespace {

// The crossings of an alignment line with one element (a line or an arc).
Point2DList CrossingsWith(const Line2D& line, const IGeom2DPtr& geom) {
    if (const auto other = boost::dynamic_pointer_cast<Line2D>(geom)) {
        return line.GetLineCrossPoint(*other, kAssistLineCrossTol);
    }
    if (const auto arc = boost::dynamic_pointer_cast<Arc2D>(geom)) {
        return line.GetArcCrossPoint(*arc, kAssistLineCrossTol);
    }
    return Point2DList();
}

// The alignment lines are built exactly horizontal (both ends at the feature point's y), so an exact test
// tells them apart from the vertical ones, whichever way they point.
bool IsHorizontal(const Line2D& line) {
    return line.GetVector().y == 0.0;
}

}  // namespace

DrawAssistor::DrawAssistor(const GlViewPortPtr& viewPort)
    : m_viewPort(viewPort),
      m_featurePts(boost::make_shared<Point2DList>()),
      m_assistLines(boost::make_shared<Line2DList>()),
      m_nearGeoms(boost::make_shared<Geom2DList>()) {}

void DrawAssistor::Init(const PatternListPtr& patterns, const Point2DPtr& first) {
    m_patterns = patterns;
    m_firstPt = first;
}

void DrawAssistor::RefreshAssistor(double x, double y) {
    m_snapPt.reset();
    m_featurePts->clear();
    m_assistLines->clear();
    m_nearGeoms->clear();
    m_cursor = boost::make_shared<Point2D>(x, y);

    if (m_firstPt) {
        m_featurePts->push_back(*m_firstPt);
    }
    m_snapPt = CheckPatCtrlPt();
    const Point2DPtr cross = CheckPatCrossPt();
    if (!m_snapPt) {
        m_snapPt = cross;
    }
    CalcAssistLines();
    const Point2DPtr lineCross = CheckAssistLineCrossPt();
    if (!m_snapPt) {
        m_snapPt = lineCross;
    }
    if (!m_snapPt && !m_assistLines->empty()) {
        const Line2D& first = (*m_assistLines)[0];
        const Point2D onLine = first.GetStartPoint();
        m_snapPt = IsHorizontal(first) ? boost::make_shared<Point2D>(x, onLine.y)
                                       : boost::make_shared<Point2D>(onLine.x, y);
    }
}

void DrawAssistor::Reset() {
    m_featurePts->clear();
    m_assistLines->clear();
}

void DrawAssistor::Clear() {
    Reset();
    m_snapPt.reset();
    m_nearGeoms->clear();
}

void DrawAssistor::DrawAssistInfo() const {
    if (!m_viewPort || (!m_snapPt && m_featurePts->empty() && m_assistLines->empty())) {
        return;
    }
    ViewPenGuard pen(*m_viewPort);
    pen.SetDrawColor(NVOptionInfo::GetInstance()->GetDisplayParam()->CtrlPtColor);
    if (m_snapPt) {
        m_viewPort->DrawRectPoint2D(m_snapPt->x, m_snapPt->y, kSnapPtMarkPixels, 1);
    }
    for (const Point2D& p : *m_featurePts) {
        m_viewPort->DrawCrossPoint2D(p.x, p.y, kFeaturePtMarkPixels, 0.0);
    }
    if (m_assistLines->empty()) {
        return;
    }
    pen.SetLineStipple(1, kAssistLineStippleFactor, kAssistLineStipplePattern);
    for (const Line2D& line : *m_assistLines) {
        const Point2D a = line.GetStartPoint();
        const Point2D b = line.GetEndPoint();
        m_viewPort->DrawLinePoint2D(a.x, a.y, b.x, b.y);
    }
}

Point2DPtr DrawAssistor::CheckPatCtrlPt() {
    if (!m_patterns) {
        return Point2DPtr();
    }
    const Point2DPtr found = m_patterns->GetCtrlPtClosestTo(*m_cursor, SnapDistance());
    if (found) {
        AddFeaturePoint(*found);
    }
    return found;
}

Point2DPtr DrawAssistor::CheckPatCrossPt() {
    *m_nearGeoms = LineArcsNearCursor(SnapDistance());
    const Point2DPtr cross = m_nearGeoms->GetCrossClosestTo(*m_cursor);
    if (cross) {
        AddFeaturePoint(*cross);
    }
    return cross;
}

void DrawAssistor::CalcAssistLines() {
    const double d = SnapDistance();
    const double overshoot = m_viewPort ? m_viewPort->DToW(kAssistLineOvershootPixels) : d;
    const Point2D& c = *m_cursor;
    bool hasVertical = false;
    bool hasHorizontal = false;
    Line2D vertical;
    Line2D horizontal;
    double bestVertical = 0.0;
    double bestHorizontal = 0.0;
    for (const Point2D& p : *m_featurePts) {
        const double dx = std::fabs(c.x - p.x);
        const double dy = std::fabs(c.y - p.y);
        // Non-strict within d, strict beyond it: a cursor within d of P both ways gives no line through P.
        if (dx <= d && dy > d) {
            const double towards = c.y > p.y ? 1.0 : -1.0;
            const Line2D line(p, Point2D(p.x, c.y + towards * overshoot));
            const double distance = line.GetDistance(c);
            if (!hasVertical || distance <= bestVertical) {  // <=: the later of equal candidates wins
                vertical = line;
                bestVertical = distance;
                hasVertical = true;
            }
        }
        if (dy <= d && dx > d) {
            const double towards = c.x > p.x ? 1.0 : -1.0;
            const Line2D line(p, Point2D(c.x + towards * overshoot, p.y));
            const double distance = line.GetDistance(c);
            if (!hasHorizontal || distance <= bestHorizontal) {
                horizontal = line;
                bestHorizontal = distance;
                hasHorizontal = true;
            }
        }
    }
    // Nearest line first (the one the cursor is projected onto); the vertical one on a tie.
    if (hasVertical && hasHorizontal && bestHorizontal < bestVertical) {
        m_assistLines->push_back(horizontal);
        m_assistLines->push_back(vertical);
        return;
    }
    if (hasVertical) {
        m_assistLines->push_back(vertical);
    }
    if (hasHorizontal) {
        m_assistLines->push_back(horizontal);
    }
}

Point2DPtr DrawAssistor::CheckAssistLineCrossPt() {
    const Point2D& c = *m_cursor;
    Point2DPtr best;
    double bestDistance = 0.0;
    const auto consider = [&](const Point2DList& points) {
        for (const Point2D& p : points) {
            const double distance = p.DistanceTo(c);
            if (!best || distance < bestDistance) {  // strict: the first of equally near crossings stays
                best = boost::make_shared<Point2D>(p);
                bestDistance = distance;
            }
        }
    };
    for (const Line2D& line : *m_assistLines) {
        for (const IGeom2DPtr& geom : *m_nearGeoms) {
            consider(CrossingsWith(line, geom));
        }
    }
    if (m_assistLines->size() == 2) {
        consider((*m_assistLines)[0].GetLineCrossPoint((*m_assistLines)[1], kAssistLineCrossTol));
    }
    if (best && bestDistance < SnapDistance()) {  // strict, unlike the inclusive searches of steps 1 and 2
        return best;
    }
    return Point2DPtr();
}

double DrawAssistor::SnapDistance() const {
    return m_viewPort ? m_viewPort->DToW(kSnapDistancePixels) : 0.0;
}

void DrawAssistor::AddFeaturePoint(const Point2D& point) {
    if (m_featurePts->IsExist(point, kFeaturePtDuplicateTol) == 0) {
        m_featurePts->push_back(point);
    }
}

// The same elements, in the same order, as the pattern list's combined outline filtered by distance; the
// box test only spares measuring the elements of patterns that cannot come near.
Geom2DList DrawAssistor::LineArcsNearCursor(double distance) const {
    Geom2DList near;
    if (!m_patterns) {
        return near;
    }
    const Point2D& c = *m_cursor;
    const double boxReach = distance * (1.0 + kSnapBoxSlack);
    for (const IPatternPtr& pattern : *m_patterns) {
        if (!pattern || pattern->IsControlPat()) {
            continue;
        }
        const PatternCachePtr cache = pattern->GetCacheData();
        const Geom2DListPtr& geoms = cache->GetBaseGeom();
        if (!geoms || geoms->empty() || cache->GetRect().DistanceTo(c) > boxReach) {
            continue;
        }
        near.Append(geoms->GetLineArcsCloseTo(c, distance));
    }
    return near;
}

}  // namespace Norvane
