#include "geomFeature/editor/detail/ShapeBuild.h"

#include <algorithm>
#include <cmath>

#include <boost/make_shared.hpp>

#include "geomFeature/editor/EditorTolerance.h"
#include "geomFeature/editor/detail/ShapeCheck.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/DoubleDPattern.h"
#include "geomFeature/pattern/EllipsePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/OBroundPattern.h"
#include "geomFeature/pattern/PatArcPattern.h"
#include "geomFeature/pattern/PatCirclePattern.h"
#include "geomFeature/pattern/PatGridPattern.h"
#include "geomFeature/pattern/PatLinePattern.h"
#include "geomFeature/pattern/RCHolePattern.h"
#include "geomFeature/pattern/RadSlotPattern.h"
#include "geomFeature/pattern/RectHolePattern.h"
#include "geomFeature/pattern/SingleDPattern.h"
#include "geomFeature/pattern/TRHolePattern.h"

namespace Norvane {
namespace detail {

namespace {

// Direction from `from` to `to`, in (-pi, pi].
double Direction(const Point2D& from, const Point2D& to) {
    return (to - from).Angle();
}

// The counter-clockwise sweep from direction a to direction b, in [0, 2pi).
double SweepCcw(double a, double b) {
    return MathEx::GetUnsignedAng(b - a, kShapeMinAngle);
}

// The array also points at the seed, so that its preview and its cache show the copies. Only the array's
// side of the link is made: the seed learns of its array when the command makes it the array's seed.
IPatternPtr SoundArray(const IArrayPatternPtr& array, const IPatternPtr& seed) {
    if (!seed) {
        return IPatternPtr();
    }
    array->SetControlPat(seed);
    return Sound(array);
}

}  // namespace

IPatternPtr Sound(const IPatternPtr& pattern) {
    if (!pattern || !IsSoundShape(*pattern)) {
        return IPatternPtr();
    }
    pattern->UpdateCache();
    return pattern;
}

IPatternPtr MakeLine(const Point2D& start, const Point2D& end) {
    return Sound(boost::make_shared<LinePattern>(start, end - start));
}

PatternListPtr MakeRectLines(const Point2D& a, const Point2D& b, double radius) {
    auto pieces = boost::make_shared<PatternList>();
    const double x0 = std::min(a.x, b.x);
    const double x1 = std::max(a.x, b.x);
    const double y0 = std::min(a.y, b.y);
    const double y1 = std::max(a.y, b.y);
    const double half = std::min(x1 - x0, y1 - y0) / 2.0;
    // Strict: corners exactly as large as half the smaller side still fit (the short sides vanish).
    if (half * 2.0 <= kShapeMinSize || !std::isfinite(radius) || radius < 0.0 || radius > half) {
        return pieces;
    }
    const double r = radius;
    const Point2D corners[4] = {Point2D(x0, y0), Point2D(x1, y0), Point2D(x1, y1), Point2D(x0, y1)};
    // Counter-clockwise: side i runs from corner i to corner i + 1, then the corner arc at corner i + 1.
    for (int i = 0; i < 4; ++i) {
        const Point2D& from = corners[i];
        const Point2D& to = corners[(i + 1) % 4];
        const Vector2D along = (to - from).GetUnit();
        if (IPatternPtr side = MakeLine(from + along * r, to - along * r)) {
            pieces->push_back(side);
        }
        if (r > kShapeMinSize) {
            const Vector2D next = (corners[(i + 2) % 4] - to).GetUnit();
            const Point2D centre = to - along * r + next * r;
            const double start = MathEx::GetSignedAng((-next).Angle(), kShapeMinAngle);
            if (IPatternPtr arc = Sound(boost::make_shared<ArcPattern>(centre, r, start, MathEx::PI / 2.0))) {
                pieces->push_back(arc);
            }
        }
    }
    return pieces;
}

IPatternPtr MakeRectHole(const Point2D& a, const Point2D& b) {
    return Sound(boost::make_shared<RectHolePattern>(a, b, 0.0));
}

IPatternPtr MakeArcByCentre(const Point2D& centre, const Point2D& start, const Point2D& end) {
    const double startAngle = Direction(centre, start);
    const double sweep = SweepCcw(startAngle, Direction(centre, end));
    return Sound(boost::make_shared<ArcPattern>(centre, centre.DistanceTo(start), startAngle, sweep));
}

IPatternPtr MakeArcThrough(const Point2D& p1, const Point2D& p2, const Point2D& p3) {
    Point2D centre;
    double radius = 0.0;
    double baseAngle = 0.0;
    double sweep = 0.0;
    MathEx::GetArcFrom3Point(p1, p2, p3, centre, radius, baseAngle, sweep);
    if (radius == 0.0) {  // exact: the kernel's answer for points on one line
        return IPatternPtr();
    }
    return Sound(boost::make_shared<ArcPattern>(centre, radius, baseAngle, sweep));
}

IPatternPtr MakeRCHole(const Point2D& centre, const Point2D& corner, const Point2D& radiusPoint) {
    const double length = 2.0 * std::fabs(corner.x - centre.x);
    const double width = 2.0 * std::fabs(corner.y - centre.y);
    const double radius = std::min(corner.DistanceTo(radiusPoint), std::min(length, width) / 2.0);
    return Sound(boost::make_shared<RCHolePattern>(centre, length, width, radius, 0.0));
}

IPatternPtr MakeCircle(const Point2D& centre, const Point2D& onCircle) {
    return Sound(boost::make_shared<CirclePattern>(centre, centre.DistanceTo(onCircle)));
}

IPatternPtr MakeEllipse(const Point2D& centre, const Point2D& axisEnd, const Point2D& widthPoint) {
    return Sound(boost::make_shared<EllipsePattern>(centre, Direction(centre, axisEnd),
                                                    2.0 * centre.DistanceTo(axisEnd),
                                                    2.0 * centre.DistanceTo(widthPoint)));
}

// The flat's middle is the centre minus the base vector turned a quarter turn counter-clockwise (scaled to
// the distance to the flat), so the base vector points a quarter turn counter-clockwise of the flat's
// direction.
IPatternPtr MakeSingleD(const Point2D& centre, const Point2D& radiusPoint, const Point2D& flatPoint) {
    const double angle =
        MathEx::GetSignedAng(Direction(centre, flatPoint) + MathEx::PI / 2.0, kShapeMinAngle);
    return Sound(boost::make_shared<SingleDPattern>(centre, centre.DistanceTo(radiusPoint),
                                                    centre.DistanceTo(flatPoint), angle));
}

// The point given is the middle of the flat at the centre minus the to-chord vector, as for the single D.
IPatternPtr MakeDoubleD(const Point2D& centre, const Point2D& radiusPoint, const Point2D& flatPoint) {
    const double angle =
        MathEx::GetSignedAng(Direction(centre, flatPoint) + MathEx::PI / 2.0, kShapeMinAngle);
    return Sound(boost::make_shared<DoubleDPattern>(centre, centre.DistanceTo(radiusPoint),
                                                    centre.DistanceTo(flatPoint), angle));
}

IPatternPtr MakeOBround(const Point2D& centre, const Point2D& endCentre, const Point2D& widthPoint) {
    return Sound(boost::make_shared<OBroundPattern>(centre, Direction(centre, endCentre),
                                                    2.0 * centre.DistanceTo(endCentre),
                                                    2.0 * centre.DistanceTo(widthPoint)));
}

// The apex stands on the left of the base vector; an apex point on the right turns the base round, so the
// height stays positive whichever side the user chose.
IPatternPtr MakeTRHole(const Point2D& baseMid, const Point2D& baseEnd, const Point2D& apexPoint) {
    double angle = Direction(baseMid, baseEnd);
    if ((baseEnd - baseMid).CrossProduct(apexPoint - baseMid) < 0.0) {
        angle = MathEx::GetSignedAng(angle + MathEx::PI, kShapeMinAngle);
    }
    return Sound(boost::make_shared<TRHolePattern>(baseMid, angle, 2.0 * baseMid.DistanceTo(baseEnd),
                                                   baseMid.DistanceTo(apexPoint)));
}

IPatternPtr MakeRadSlot(const Point2D& centre, const Point2D& start, const Point2D& end,
                        const Point2D& edgePoint) {
    const double radius = centre.DistanceTo(start);
    const double startAngle = Direction(centre, start);
    const double sweep = SweepCcw(startAngle, Direction(centre, end));
    const double width = 2.0 * std::fabs(centre.DistanceTo(edgePoint) - radius);
    return Sound(boost::make_shared<RadSlotPattern>(centre, radius, startAngle, sweep, width));
}

int CopiesForSteps(double steps) {
    if (!std::isfinite(steps) || std::fabs(steps) > kMaxArrayCopies) {
        return kMaxArrayCopies + 1;
    }
    return std::max(2, static_cast<int>(std::lround(steps)) + 1);
}

IPatternPtr MakePatLine(const IPatternPtr& seed, const Point2D& basePoint, const Point2D& second,
                        const Point2D& last) {
    const Vector2D step = second - basePoint;
    const double length2 = step.DotProduct(step);
    if (!(length2 > kShapeMinSize * kShapeMinSize)) {
        return IPatternPtr();
    }
    const int count = CopiesForSteps((last - basePoint).DotProduct(step) / length2);
    return SoundArray(boost::make_shared<PatLinePattern>(basePoint, step, count), seed);
}

IPatternPtr MakePatArc(const IPatternPtr& seed, const Point2D& basePoint, const Point2D& centre,
                       const Point2D& second, const Point2D& last) {
    const double start = Direction(centre, basePoint);
    const double step = MathEx::GetSignedAng(Direction(centre, second) - start, kShapeMinAngle);
    if (!(std::fabs(step) > kShapeMinAngle)) {
        return IPatternPtr();
    }
    // The angle to the last copy, travelled the way the step turns.
    const double toLast =
        step > 0.0 ? SweepCcw(start, Direction(centre, last)) : SweepCcw(Direction(centre, last), start);
    int count = CopiesForSteps(toLast / std::fabs(step));
    // Copies may not come round onto the first one: as many as fit in less than a full turn.
    const int fitting = static_cast<int>(std::ceil((MathEx::PI2 - kShapeMinAngle) / std::fabs(step)));
    count = std::min(count, std::max(2, fitting));
    return SoundArray(
        boost::make_shared<PatArcPattern>(centre, centre.DistanceTo(basePoint), start, step, count), seed);
}

IPatternPtr MakePatCircle(const IPatternPtr& seed, const Point2D& basePoint, const Point2D& centre,
                          const Point2D& second) {
    const double start = Direction(centre, basePoint);
    const double step = std::fabs(MathEx::GetSignedAng(Direction(centre, second) - start, kShapeMinAngle));
    if (!(step > kShapeMinAngle)) {
        return IPatternPtr();
    }
    const int count = CopiesForSteps(MathEx::PI2 / step - 1.0);
    return SoundArray(
        boost::make_shared<PatCirclePattern>(centre, centre.DistanceTo(basePoint), start, count), seed);
}

IPatternPtr MakePatGrid(const IPatternPtr& seed, const Point2D& basePoint, const Point2D& diagonal,
                        const Point2D& last) {
    const double columnSpace = diagonal.x - basePoint.x;
    const double rowSpace = diagonal.y - basePoint.y;
    // An axis without spacing holds one copy; otherwise as many as reach the last copy, at least one.
    const auto along = [](double reach, double space) {
        if (!(std::fabs(space) > kShapeMinSize)) {
            return 1;
        }
        const double steps = reach / space;
        if (!std::isfinite(steps) || std::fabs(steps) > kMaxArrayCopies) {
            return kMaxArrayCopies + 1;
        }
        return std::max(1, static_cast<int>(std::lround(steps)) + 1);
    };
    const int columns = along(last.x - basePoint.x, columnSpace);
    const int rows = along(last.y - basePoint.y, rowSpace);
    return SoundArray(boost::make_shared<PatGridPattern>(basePoint, rowSpace, rows, columnSpace, columns),
                      seed);
}

int TypedCount(double value) {
    if (!std::isfinite(value) || std::fabs(value) > kMaxArrayCopies) {
        return kMaxArrayCopies + 1;
    }
    return static_cast<int>(std::lround(value));
}

Point2D RowPlace(const Point2D& basePoint, const Point2D& second, int count) {
    return basePoint + (second - basePoint) * static_cast<double>(count - 1);
}

Point2D ArcPlace(const Point2D& basePoint, const Point2D& centre, const Point2D& second, int count) {
    const double start = Direction(centre, basePoint);
    const double step = MathEx::GetSignedAng(Direction(centre, second) - start, kShapeMinAngle);
    Point2D place = basePoint;
    place.RotateBasedPt(centre, step * (count - 1));
    return place;
}

Point2D CirclePlace(const Point2D& basePoint, const Point2D& centre, int count) {
    Point2D place = basePoint;
    place.RotateBasedPt(centre, count > 0 ? MathEx::PI2 / count : 0.0);
    return place;
}

}  // namespace detail
}  // namespace Norvane
