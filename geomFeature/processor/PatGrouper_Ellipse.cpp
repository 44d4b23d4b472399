// Ellipses drawn as chains of lines: the fit from the end points, the focal-sum test and the arc count of
// the new ellipse.
#include <cmath>
#include <cstddef>
#include <vector>

#include <boost/make_shared.hpp>

#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/host/geomkit/Line2DList.h"
#include "geomFeature/host/geomkit/Rect2D.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/EllipsePattern.h"
#include "geomFeature/processor/PatGrouper.h"
#include "geomFeature/processor/ProcessorTolerance.h"

namespace Norvane {

namespace {

// Distance from p to the nearest of the lines.
double DistanceToLines(const Line2DList& lines, const Point2D& p) {
    double best = lines[0].DistanceTo(p);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        best = std::fmin(best, lines[i].DistanceTo(p));
    }
    return best;
}

}  // namespace

// The fit, from the end points of all lines (each vertex of a chain counts twice, which changes nothing):
// the centre is the middle of their box, the farthest end point from it is the end of the major axis
// (half axis a, direction atan(dy/dx), so in (-pi/2, pi/2]), the nearest distance is the half axis b.
// Half axes equal within kEllipseCircleTol make a circle, which is not this recogniser's shape.
//
// The test: with the foci at the centre +- sqrt(a^2 - b^2) along the axis, every end point and every
// line midpoint must have a focal sum within EllipseFitTolerance of 2a. The focal sum measures distance
// from the curve well near the ends of the major axis but only by the factor b/a near the ends of the
// minor axis, where a thin ellipse drawn with few lines can get a b far too large (no vertex near the
// minor axis) and still pass. So the four ends of the fitted axes must also lie within the same bound of
// the lines: the new ellipse then traces the lines it replaces.
IPatternPtr PatGrouper::GroupEllipse(const Line2DListPtr& lines) {
    if (!lines) {
        return IPatternPtr();
    }
    const Line2DList& chain = *lines;
    const int count = static_cast<int>(chain.size());
    if (count < kEllipseMinLines || count > kEllipseMaxLines) {
        return IPatternPtr();
    }

    std::vector<Point2D> points;
    points.reserve(2 * chain.size());
    for (const Line2D& line : chain) {
        points.push_back(line.GetStartPoint());
        points.push_back(line.GetEndPoint());
    }
    Rect2D box = Rect2D::FromPoints(points[0], points[0]);
    for (const Point2D& p : points) {
        box.Union(p);
    }
    const Point2D centre = box.GetCenterPt();

    double a = -1.0;
    double b = 0.0;
    Point2D farthest;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double d = centre.DistanceTo(points[i]);
        if (d > a) {  // strict: of equally far points the first is the axis end
            a = d;
            farthest = points[i];
        }
        if (i == 0 || d < b) {
            b = d;
        }
    }
    if (MathEx::EqualA(a, b, kEllipseCircleTol) != 0) {
        return IPatternPtr();
    }
    const double dx = farthest.x - centre.x;
    const double dy = farthest.y - centre.y;
    const double angle =
        dx == 0.0 ? kEllipseVerticalAxisAngle : std::atan(dy / dx);  // exact: a vertical axis

    const Vector2D axis(std::cos(angle), std::sin(angle));
    const double focal = std::sqrt(a * a - b * b);
    const Point2D focus1 = centre + axis * focal;
    const Point2D focus2 = centre - axis * focal;
    const double bound = EllipseFitTolerance(count, a, b);
    const auto onCurve = [&](const Point2D& p) {
        return std::fabs(p.DistanceTo(focus1) + p.DistanceTo(focus2) - 2.0 * a) <= bound;  // inclusive
    };
    for (const Line2D& line : chain) {
        if (!onCurve(line.GetStartPoint()) || !onCurve(line.GetEndPoint()) || !onCurve(line.GetMidPoint())) {
            return IPatternPtr();
        }
    }
    const Vector2D minor = axis.Orthogonal();
    for (const Point2D& end :
         {centre + axis * a, centre - axis * a, centre + minor * b, centre - minor * b}) {
        if (DistanceToLines(chain, end) > bound) {  // inclusive: an axis end exactly at the bound passes
            return IPatternPtr();
        }
    }

    auto ellipse = boost::make_shared<EllipsePattern>(centre, angle, 2.0 * a, 2.0 * b);
    ellipse->SetSegCount(SnapEllipseSegCount(count));
    ellipse->UpdateCache();
    return ellipse;
}

// A count between two listed values goes to the nearer one, so the new ellipse is drawn about as finely as
// the lines were; on a tie to the larger, which never draws it coarser. The fitted ellipse's outline does
// not depend on the choice beyond the arcs' own error, which for 18 arcs or more is far inside the bound.
int PatGrouper::SnapEllipseSegCount(int lineCount) {
    if (lineCount <= kEllipseSegCounts.front()) {
        return kEllipseSegCounts.front();
    }
    if (lineCount >= kEllipseSegCounts.back()) {
        return kEllipseSegCounts.back();
    }
    for (std::size_t i = 1; i < kEllipseSegCounts.size(); ++i) {
        const int upper = kEllipseSegCounts[i];
        if (lineCount <= upper) {
            const int lower = kEllipseSegCounts[i - 1];
            return (lineCount - lower < upper - lineCount) ? lower : upper;  // strict: a tie goes up
        }
    }
    return kEllipseSegCounts.back();
}

}  // namespace Norvane
