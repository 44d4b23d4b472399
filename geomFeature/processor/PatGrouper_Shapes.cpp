// The recognisers of the hole shapes built from a few pieces: single-D, obround and double-D, radius slot,
// rectangle, triangle and rounded rectangle. Each reads its pieces in the patterns' own directions and
// answers a new shape with its cache filled, or an empty pointer.
#include <cmath>

#include <boost/make_shared.hpp>

#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/host/geomkit/Line2DList.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/DoubleDPattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/OBroundPattern.h"
#include "geomFeature/pattern/RCHolePattern.h"
#include "geomFeature/pattern/RadSlotPattern.h"
#include "geomFeature/pattern/RectHolePattern.h"
#include "geomFeature/pattern/SingleDPattern.h"
#include "geomFeature/pattern/TRHolePattern.h"
#include "geomFeature/processor/PatGrouper.h"
#include "geomFeature/processor/ProcessorTolerance.h"

namespace Norvane {

namespace {

bool Exact(double a, double b) {
    return MathEx::EqualA(a, b, kShapeExactTol) != 0;
}

// |v1 x v2| <= tol: the two directions are parallel (or one of them has no length).
bool Parallel(const Vector2D& v1, const Vector2D& v2) {
    return std::fabs(v1.CrossProduct(v2)) <= kShapeExactTol;
}

// |v1 . v2| <= tol: the two directions are perpendicular (or one of them has no length).
bool Perpendicular(const Vector2D& v1, const Vector2D& v2) {
    return std::fabs(v1.DotProduct(v2)) <= kShapeExactTol;
}

bool SameCentre(const Point2D& c1, const Point2D& c2) {
    return Exact(c1.x, c2.x) && Exact(c1.y, c2.y);
}

// |dx| + |dy| below the corner tolerance (strict).
bool SameCorner(const Point2D& p, const Point2D& q) {
    return std::fabs(p.x - q.x) + std::fabs(p.y - q.y) < kTriangleCornerMatchTol;
}

double Radius(const ArcPatternPtr& arc) {
    return arc->GetBaseVector().Length();
}

IPatternPtr Finish(const IPatternPtr& pattern) {
    pattern->UpdateCache();
    return pattern;
}

}  // namespace

// The flat and the arc of a single-D. The arc's middle point M lies opposite the flat, so its distance d
// to the middle C of the flat is the size across the flat, R + t. A flat beyond the centre (d < R) is no
// single-D. The shape's flat lies on the right of its direction, so the direction runs along the flat
// from S to E when the arc turns counter-clockwise (flat and arc then form one counter-clockwise chain)
// and from E to S otherwise.
IPatternPtr PatGrouper::GroupSingleD(const LinePatternPtr& line, const ArcPatternPtr& arc) {
    if (!line || !arc) {
        return IPatternPtr();
    }
    const double m = arc->GetMoveAngle();
    const Point2D M = arc->GetMiddlePoint();
    const double R = Radius(arc);
    const Point2D S = line->GetStartPoint();
    const Point2D E = line->GetEndPoint();
    const Point2D C = (S + E) * 0.5;
    const double d = M.DistanceTo(C);
    if (R > d) {  // strict: a flat through the centre (d == R, t = 0) is still a single-D
        return IPatternPtr();
    }
    auto shape = boost::make_shared<SingleDPattern>();
    shape->SetBasePoint(arc->GetBasePoint());
    shape->SetRadius(R);
    shape->SetWidth(d);
    shape->SetAngle(m > 0.0 ? (E - S).Angle() : (S - E).Angle());
    return Finish(shape);
}

// Arc, side, arc, side. The sides must be parallel and equally long. Two half arcs of sweep -pi with one
// radius whose middle points lie farther apart than the sides' length plus 1.5 radii are the ends of an
// obround (for an obround the middles are the side length plus a whole diameter apart). Otherwise two arcs
// on one circle are the two round parts of a double-D, whose flats are the sides.
IPatternPtr PatGrouper::GroupOBAndDoubleD(const ArcPatternPtr& a1, const LinePatternPtr& l1,
                                          const ArcPatternPtr& a2, const LinePatternPtr& l2) {
    if (!a1 || !l1 || !a2 || !l2) {
        return IPatternPtr();
    }
    const Vector2D V1 = l1->GetBaseVector();
    const Vector2D V2 = l2->GetBaseVector();
    if (!Parallel(V1, V2) || !Exact(V1.Length(), V2.Length())) {
        return IPatternPtr();
    }
    const Point2D c1 = a1->GetBasePoint();
    const Point2D c2 = a2->GetBasePoint();
    const double m1 = a1->GetMoveAngle();
    const double m2 = a2->GetMoveAngle();
    const double r1 = Radius(a1);
    const double r2 = Radius(a2);
    const double sideLength = V1.Length();
    const double middleGap = a1->GetMiddlePoint().DistanceTo(a2->GetMiddlePoint());
    // The fifth test (a side with length) keeps a pair of half circles with nothing between them from
    // becoming an obround without length, which its ratio W / L cannot hold; that pair falls through to
    // the double-D below, which describes the same circle.
    if (Exact(m1, -MathEx::PI) && Exact(m2, -MathEx::PI) && Exact(r1, r2) &&
        middleGap > sideLength + 1.5 * r1 &&  // strict
        sideLength > kShapeMinSideLength) {
        // The obround's length is the distance between its end-arc centres; each side joins the two end
        // arcs, so that distance is the side's length.
        const double angle = (l1->GetEndPoint() - l1->GetStartPoint()).Angle();
        return Finish(boost::make_shared<OBroundPattern>((c1 + c2) * 0.5, angle, sideLength, 2.0 * r1));
    }
    if (SameCentre(c1, c2) && Exact(r1, r2)) {
        auto shape = boost::make_shared<DoubleDPattern>();
        shape->SetBasePoint(c1);
        shape->SetRadius(r1);
        shape->SetWidth(a1->GetStartPoint().DistanceTo(a1->GetEndPoint()));  // the chord: flat to flat
        shape->SetAngle(V1.Angle());
        return Finish(shape);
    }
    return IPatternPtr();
}

// Four arcs: two edges on one centre (inner and outer) and two half-circle ends of sweep -pi, whose
// centres differ. The edges are either a1 and a3 or a2 and a4. Four arcs on one centre never form a slot.
// The slot's centre line runs where the first edge runs, from its start through its sweep.
IPatternPtr PatGrouper::GroupRadSlot(const ArcPatternPtr& a1, const ArcPatternPtr& a2,
                                     const ArcPatternPtr& a3, const ArcPatternPtr& a4) {
    if (!a1 || !a2 || !a3 || !a4) {
        return IPatternPtr();
    }
    const Point2D c1 = a1->GetBasePoint();
    const Point2D c2 = a2->GetBasePoint();
    const Point2D c3 = a3->GetBasePoint();
    const Point2D c4 = a4->GetBasePoint();
    const auto halfTurnBack = [](const ArcPatternPtr& arc) {
        return Exact(arc->GetMoveAngle(), -MathEx::PI);
    };

    ArcPatternPtr edge;
    ArcPatternPtr otherEdge;
    ArcPatternPtr end;
    if (SameCentre(c1, c3) && !SameCentre(c2, c4) && halfTurnBack(a2) && halfTurnBack(a4)) {
        edge = a1;
        otherEdge = a3;
        end = a2;
    } else if (SameCentre(c2, c4) && !SameCentre(c1, c3) && halfTurnBack(a1) && halfTurnBack(a3)) {
        edge = a2;
        otherEdge = a4;
        end = a1;
    } else {
        return IPatternPtr();
    }
    const double R = (Radius(edge) + Radius(otherEdge)) * 0.5;
    if (R <= kShapeMinSideLength) {  // no centre line to carry the width ratio
        return IPatternPtr();
    }
    const double width = 2.0 * Radius(end);
    auto shape = boost::make_shared<RadSlotPattern>();
    shape->SetBasePoint(edge->GetBasePoint());
    shape->SetRadius(R);
    shape->SetWidthRatio(width / R);
    shape->SetStartAngle(edge->GetBaseVector().Angle());
    shape->SetMoveAngle(edge->GetMoveAngle());
    return Finish(shape);
}

// Four lines A, B, C, D in loop order form a rectangle when opposite sides are parallel and A is
// perpendicular to B; in a closed chain that also makes opposite sides equally long. The rectangle is
// built from a corner of A, a first side along A and the ratio |B| / |A|. The shape always lies on the
// left of its first side, so the corner and the side's direction are chosen from A so that the far side
// C lies on their left: A's start and A's own vector when it does, A's end and the reversed vector when
// it lies on the right (a clockwise chain, or A drawn against the chain). Sides without length give no
// rectangle.
IPatternPtr PatGrouper::GroupRectHole(const Line2DListPtr& lines) {
    if (!lines || lines->size() != 4) {
        return IPatternPtr();
    }
    const Line2D& first = (*lines)[0];
    const Vector2D A = first.GetVector();
    const Vector2D B = (*lines)[1].GetVector();
    const Vector2D C = (*lines)[2].GetVector();
    const Vector2D D = (*lines)[3].GetVector();
    if (!Parallel(A, C) || !Parallel(B, D) || !Perpendicular(A, B)) {
        return IPatternPtr();
    }
    const double length = A.Length();
    const double width = B.Length();
    if (length <= kShapeMinSideLength || width <= kShapeMinSideLength) {
        return IPatternPtr();
    }
    const int side = first.CheckSide((*lines)[2].GetMidPoint(), kShapeExactTol);
    if (side == 0) {  // the far side on A's line: no area
        return IPatternPtr();
    }
    const Point2D corner = side > 0 ? first.GetStartPoint() : first.GetEndPoint();
    const Vector2D along = side > 0 ? A : -A;
    return Finish(boost::make_shared<RectHolePattern>(corner, along, width / length));
}

// Three lines of which two are equally long: an isosceles triangle whose base is the third line (l3 when
// all three are equal). The apex is the end of an equal side that is not a corner of the base; the shape
// is turned so that the apex lies on the left of the base's direction. Sides without length, three
// different lengths, or an apex on the base's line (no height) give nothing.
IPatternPtr PatGrouper::GroupTriangle(const LinePatternPtr& l1, const LinePatternPtr& l2,
                                      const LinePatternPtr& l3) {
    if (!l1 || !l2 || !l3) {
        return IPatternPtr();
    }
    const double a = l1->GetBaseVector().Length();
    const double b = l2->GetBaseVector().Length();
    const double c = l3->GetBaseVector().Length();
    if (Exact(a, 0.0) || Exact(b, 0.0) || Exact(c, 0.0)) {
        return IPatternPtr();
    }
    LinePatternPtr base;
    LinePatternPtr side1;
    LinePatternPtr side2;
    if (Exact(a, b)) {
        base = l3;
        side1 = l1;
        side2 = l2;
    } else if (Exact(a, c)) {
        base = l2;
        side1 = l1;
        side2 = l3;
    } else if (Exact(b, c)) {
        base = l1;
        side1 = l2;
        side2 = l3;
    } else {
        return IPatternPtr();
    }
    const Point2D baseStart = base->GetStartPoint();
    const Point2D baseEnd = base->GetEndPoint();
    bool found = false;
    Point2D apex;
    for (const Point2D& p :
         {side1->GetStartPoint(), side1->GetEndPoint(), side2->GetStartPoint(), side2->GetEndPoint()}) {
        if (!SameCorner(p, baseStart) && !SameCorner(p, baseEnd)) {
            apex = p;
            found = true;
            break;
        }
    }
    if (!found) {
        return IPatternPtr();
    }
    const Line2D baseLine(baseStart, baseEnd);
    const int side = baseLine.CheckSide(apex, kShapeExactTol);
    if (side == 0) {
        return IPatternPtr();
    }
    const Point2D middle = (baseStart + baseEnd) * 0.5;
    const double length = baseLine.GetLength();
    const double baseAngle = baseLine.GetVector().Angle();
    auto shape = boost::make_shared<TRHolePattern>();
    shape->SetBasePoint(middle);
    shape->SetLength(length);
    shape->SetOrthoRadio(middle.DistanceTo(apex) / length);
    shape->SetAngle(side > 0 ? baseAngle : baseAngle + MathEx::PI);
    return Finish(shape);
}

// Four sides and four corner arcs in loop order, starting with a side. Side l(i) joins corner a(i-1) to
// corner a(i), so it is parallel to, and as long as, the segment between those corners' centres: D1 =
// c4 - c1 for l1, D2 = c1 - c2 for l2 and so on. The sides must form a rectangle, the corner centres
// must form a rectangle, l1 must end on a1's circle, and each of the first two sides must be as long as
// the centre segment it runs along. The overall length lies along the longer pair of sides.
IPatternPtr PatGrouper::GroupRCHole(const LinePatternPtr& l1, const ArcPatternPtr& a1,
                                    const LinePatternPtr& l2, const ArcPatternPtr& a2,
                                    const LinePatternPtr& l3, const ArcPatternPtr& a3,
                                    const LinePatternPtr& l4, const ArcPatternPtr& a4) {
    if (!l1 || !a1 || !l2 || !a2 || !l3 || !a3 || !l4 || !a4) {
        return IPatternPtr();
    }
    const Vector2D V1 = l1->GetBaseVector();
    const Vector2D V2 = l2->GetBaseVector();
    const Vector2D V3 = l3->GetBaseVector();
    const Vector2D V4 = l4->GetBaseVector();
    if (!Parallel(V1, V3) || !Parallel(V2, V4) || !Perpendicular(V1, V2)) {
        return IPatternPtr();
    }
    const Point2D c1 = a1->GetBasePoint();
    const Point2D c2 = a2->GetBasePoint();
    const Point2D c3 = a3->GetBasePoint();
    const Point2D c4 = a4->GetBasePoint();
    const Vector2D D1 = c4 - c1;
    const Vector2D D2 = c1 - c2;
    const Vector2D D3 = c2 - c3;
    const Vector2D D4 = c3 - c4;
    if (!Parallel(D1, D3) || !Parallel(D2, D4) || !Perpendicular(D1, D2)) {
        return IPatternPtr();
    }
    const double r = Radius(a1);
    const double side1 = V1.Length();
    const double side2 = V2.Length();
    if (!Exact(l1->GetEndPoint().DistanceTo(c1), r) || !Exact(side1, D1.Length()) ||
        !Exact(side2, D2.Length())) {
        return IPatternPtr();
    }
    auto shape = boost::make_shared<RCHolePattern>();
    shape->SetBasePoint((c1 + c3) / 2.0);
    if (side1 < side2) {  // strict: a square takes its direction from the first side
        shape->SetLength(side2 + 2.0 * r);
        shape->SetWidth(side1 + 2.0 * r);
        shape->SetAngle((-V2).Angle());
    } else {
        shape->SetLength(side1 + 2.0 * r);
        shape->SetWidth(side2 + 2.0 * r);
        shape->SetAngle((-V1).Angle());
    }
    shape->SetArcRadius(r);
    return Finish(shape);
}

}  // namespace Norvane
