#include "geomFeature/host/viewkit/GeomBaseDrawer.h"

#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Line2D.h"

namespace Norvane {

namespace {

// Side of the filled square that stands for a point, in pixels.
constexpr double kPointDotPixels = 2.0;

// The identity leaves geometry untouched; compared exactly so that any real transform is applied.
bool IsIdentity(const Matrix2D& m) {
    return m == Matrix2D();
}

}  // namespace

void GeomBaseDrawer::DrawBaseGeoms(const Geom2DListPtr& geoms, const Matrix2D& matrix) const {
    if (geoms) {
        DrawBaseGeoms(*geoms, matrix);
    }
}

void GeomBaseDrawer::DrawBaseGeoms(const Geom2DList& geoms, const Matrix2D& matrix) const {
    for (const IGeom2DPtr& geom : geoms) {
        if (!geom) {
            continue;
        }
        switch (geom->GetGeomType()) {
            case GeomType::Line:
                DrawLine(static_cast<const Line2D&>(*geom), matrix);
                break;
            case GeomType::Arc:
                DrawArc(static_cast<const Arc2D&>(*geom), matrix);
                break;
        }
    }
}

void GeomBaseDrawer::DrawLine(const Line2D& line, const Matrix2D& matrix) const {
    const Point2D start = matrix.TransformPoint(line.GetStartPoint());
    const Point2D end = matrix.TransformPoint(line.GetEndPoint());
    m_viewPort->DrawLinePoint2D(start.x, start.y, end.x, end.y);
}

void GeomBaseDrawer::DrawArc(const Arc2D& arc, const Matrix2D& matrix) const {
    if (IsIdentity(matrix)) {
        m_viewPort->DrawArc2D(arc.GetCenter().x, arc.GetCenter().y, arc.GetRadius(), arc.GetBaseAngle(),
                              arc.GetSweepAngle());
        return;
    }
    Arc2D moved(arc);
    moved.Transform(matrix);
    m_viewPort->DrawArc2D(moved.GetCenter().x, moved.GetCenter().y, moved.GetRadius(), moved.GetBaseAngle(),
                          moved.GetSweepAngle());
}

void GeomBaseDrawer::DrawPoint(const Point2D& point, const Matrix2D& matrix) const {
    const Point2D p = matrix.TransformPoint(point);
    m_viewPort->DrawRectPoint2D(p.x, p.y, kPointDotPixels, 0);
}

Rect2D GeomBaseDrawer::GetClientAreaRect() const {
    return m_viewPort->GetClientArea();
}

Rect2D GeomBaseDrawer::RectWToD(const Rect2D& world) const {
    return m_viewPort->RectWToD(world);
}

}  // namespace Norvane
