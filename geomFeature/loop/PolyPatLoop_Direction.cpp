// Turning sense of a polygon loop, its direction of travel at a point, and the angles at its corners.
#include <cmath>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/loop/LoopTolerance.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/LinePattern.h"

namespace Norvane {

namespace {

// Arcs wider than a quarter turn can carry the loop round the far side of their chord, so the chord
// polygon may turn the other way: such loops are tested on quarter pieces instead.
constexpr double kQuarterTurn = 1.5707963267948966;

// Split loops made below one direction test. Real chains need at most three levels (split all, then split
// the arcs that are still wide, then once more at a new degenerate corner); beyond this the chain is
// degenerate everywhere and the corner test answers whatever it gives.
constexpr int kMaxSplitDepth = 6;

// Index of the leftmost control point: least x, where x values within kLoopLeftmostTieTol of the least count
// as equal and the least y among them wins (the first of exact ties). Without the tolerance, rounding in
// computed end points (1e-16) could pick the middle of a vertical run at the least x, a straight "corner"
// that says nothing about the sense; with it, the choice falls on the lower end of the run, a true corner.
int LeftmostCorner(const Point2DList& points) {
    const int left = points.GetLeftPtIndex();
    int best = left;
    for (std::size_t k = 0; k < points.size(); ++k) {
        // Non-strict: x exactly kLoopLeftmostTieTol right of the least still ties.
        if (points[k].x - points[left].x <= kLoopLeftmostTieTol && points[k].y < points[best].y) {
            best = static_cast<int>(k);
        }
    }
    return best;
}

// Direction of travel of a loop through pattern at point `at` on it (not normalised). A line runs start to
// end when followed, else backwards. An arc's travel is its radius at `at` turned a quarter turn: to the
// left when the arc is followed and sweeps counter-clockwise, to the right when followed clockwise; when the
// loop runs against the arc the senses swap. A zero sweep counts as clockwise when followed and as
// counter-clockwise when run against.
Vector2D TravelVector(const IPatternPtr& pattern, int follow, const Point2D& at) {
    if (pattern->GetPatternType() == PAT_ARC) {
        const ArcPatternPtr arc = boost::dynamic_pointer_cast<ArcPattern>(pattern);
        const double sweep = arc ? arc->GetMoveAngle() : 0.0;
        const Vector2D radial(pattern->GetBasePoint(), at);
        const bool turnLeft = follow != 0 ? sweep > 0.0 : sweep < 0.0;
        // Orthogonal() is the exact quarter turn counter-clockwise (-y, x); its negation the clockwise one.
        return turnLeft ? radial.Orthogonal() : -radial.Orthogonal();
    }
    const Vector2D along(pattern->GetStartPoint(), pattern->GetEndPoint());
    return follow != 0 ? along : -along;
}

// Puts pieces (listed in the pattern's own direction) into loop in loop order with the node's follow flag.
void AppendPieces(PolyPatLoop& loop, const std::vector<IPatternPtr>& pieces, int follow) {
    if (follow != 0) {
        for (const IPatternPtr& piece : pieces) loop.AppendPattern(piece, follow);
    } else {
        for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) loop.AppendPattern(*it, follow);
    }
}

// The arc cut into `count` equal pieces of the same circle, in the arc's own direction.
std::vector<IPatternPtr> SplitArc(const ArcPattern& arc, int count) {
    const double piece = arc.GetMoveAngle() * (1.0 / count);
    std::vector<IPatternPtr> pieces;
    for (int k = 0; k < count; ++k) {
        pieces.push_back(boost::make_shared<ArcPattern>(arc.GetBasePoint(), arc.GetRadius(),
                                                        arc.GetStartAngle() + k * piece, piece));
    }
    return pieces;
}

}  // namespace

tagDirection PolyPatLoop::GetDirection() {
    return DirectionAtDepth(0);
}

// The sense is read at the leftmost control point C, with B the control point before it and A the one after:
// C is a convex corner of the chord polygon, which turns left there exactly when it runs counter-clockwise.
// Two things can spoil that reading and are handled by testing a finer copy of the chain:
//  - a degenerate corner (C on the line BA, or B and A coincide as in a two-piece loop) next to an arc,
//    where the chords say nothing: every piece is halved, which moves control points off the line;
//  - an arc wider than a quarter turn, whose chord may lie on the wrong side of the contour: every arc is
//    cut in quarters.
tagDirection PolyPatLoop::DirectionAtDepth(int depth) {
    if (m_nodes->empty()) {
        return DIR_CW;
    }
    const Point2DListPtr points = GetCtrlPtList(0);
    const int count = static_cast<int>(points->size());
    const int i = LeftmostCorner(*points);
    const Point2D c = (*points)[i];
    const Point2D b = (*points)[i == 0 ? count - 1 : i - 1];
    const Point2D a = (*points)[i == count - 1 ? 0 : i + 1];
    const bool canSplit = depth < kMaxSplitDepth;

    // Non-strict: C within the tolerance of the line BA is degenerate. B and A coinciding leaves no line BA
    // at all; the corner then gives no sense either (a lens of two arcs, a line closed by one arc).
    const bool degenerate =
        b.DistanceTo(a) <= kLoopCollinearTol || Line2D(b, a).GetDistance(c) <= kLoopCollinearTol;
    if (degenerate && canSplit) {
        DataID firstId = 0;
        DataID secondId = 0;
        if (GetTwoPatAtConPt(i, firstId, secondId) == 0) {
            // Only an open chain gets here (its last point pairs with nothing): take the closing pair.
            firstId = (*m_nodes)[i == 0 ? count - 1 : i - 1]->GetPat()->GetID();
            secondId = (*m_nodes)[i]->GetPat()->GetID();
        }
        const IPatternPtr first = GetPatByPatID(firstId);
        const IPatternPtr second = GetPatByPatID(secondId);
        if (first->GetPatternType() != PAT_LINE || second->GetPatternType() != PAT_LINE) {
            return SplitAllNodes()->DirectionAtDepth(depth + 1);
        }
    }

    if (canSplit) {
        for (const PatLoopNodePtr& node : *m_nodes) {
            const IPatternPtr& pattern = node->GetPat();
            if (pattern->GetPatternType() != PAT_ARC) {
                continue;
            }
            const ArcPatternPtr arc = boost::dynamic_pointer_cast<ArcPattern>(pattern);
            // Strict: an arc of exactly a quarter turn is still read from its chord.
            if (arc && std::fabs(arc->GetMoveAngle()) > kQuarterTurn) {
                return SplitArcNodes()->DirectionAtDepth(depth + 1);
            }
        }
    }

    const double arriving = std::atan2(c.y - b.y, c.x - b.x);
    const double leaving = std::atan2(a.y - c.y, a.x - c.x);
    // r is the angle on the left of travel at C: above pi for a left turn, below for a right turn.
    const double r = MathEx::GetUnsignedAng(leaving - arriving + MathEx::PI, kLoopAngleTol);
    // Strict against pi - tol: a straight run through C (r = pi) counts as counter-clockwise.
    return r > MathEx::PI - kLoopAngleTol ? DIR_CCW : DIR_CW;
}

PolyPatLoopPtr PolyPatLoop::SplitAllNodes() const {
    auto loop = boost::make_shared<PolyPatLoop>();
    for (const PatLoopNodePtr& node : *m_nodes) {
        const IPatternPtr& pattern = node->GetPat();
        std::vector<IPatternPtr> pieces;
        const ArcPatternPtr arc = pattern->GetPatternType() == PAT_ARC
                                      ? boost::dynamic_pointer_cast<ArcPattern>(pattern)
                                      : ArcPatternPtr();
        if (arc) {
            pieces = SplitArc(*arc, 2);
        } else if (pattern->GetPatternType() == PAT_LINE) {
            const Point2D s = pattern->GetStartPoint();
            const Point2D e = pattern->GetEndPoint();
            const Point2D mid((s.x + e.x) / 2.0, (s.y + e.y) / 2.0);
            pieces = {boost::make_shared<LinePattern>(s, mid), boost::make_shared<LinePattern>(mid, e)};
        } else {
            pieces = {pattern};
        }
        AppendPieces(*loop, pieces, node->FollowLoopDir());
    }
    return loop;
}

PolyPatLoopPtr PolyPatLoop::SplitArcNodes() const {
    auto loop = boost::make_shared<PolyPatLoop>();
    for (const PatLoopNodePtr& node : *m_nodes) {
        const IPatternPtr& pattern = node->GetPat();
        const ArcPatternPtr arc = pattern->GetPatternType() == PAT_ARC
                                      ? boost::dynamic_pointer_cast<ArcPattern>(pattern)
                                      : ArcPatternPtr();
        AppendPieces(*loop, arc ? SplitArc(*arc, 4) : std::vector<IPatternPtr>{pattern},
                     node->FollowLoopDir());
    }
    return loop;
}

Vector2D PolyPatLoop::GetDirectionOnPt(DataID patternId, const PatPosition& pos) {
    int follow = 1;
    const IPatternPtr pattern = GetPatByPatID(patternId, follow);
    if (!pattern) {
        return Vector2D(0.0, 0.0);
    }
    // Lines ignore the point; arcs need it on the cached outline.
    const Point2D at = pattern->GetPatternType() == PAT_ARC ? pattern->GetPointByPatPos(pos) : Point2D();
    const Vector2D travel = TravelVector(pattern, follow, at);
    const double length = std::sqrt(travel.x * travel.x + travel.y * travel.y);
    return length > 0.0 ? travel / length : travel;  // exact zero test: only a degenerate piece has none
}

double PolyPatLoop::TravelAngleAt(int nodeIndex, bool atEntry) const {
    const PatLoopNode& node = *(*m_nodes)[nodeIndex];
    const IPatternPtr& pattern = node.GetPat();
    const bool atStart = atEntry == (node.FollowLoopDir() != 0);
    const Point2D at = atStart ? pattern->GetStartPoint() : pattern->GetEndPoint();
    const Vector2D travel = TravelVector(pattern, node.FollowLoopDir(), at);
    return std::atan2(travel.y, travel.x);
}

// t1 is the direction in which the loop arrives at the joint, t2 the one in which it leaves; t1 - t2 + pi is
// the angle swept on the left of travel from the leaving piece round to the arriving one.
double PolyPatLoop::GetTwoPatLeftAng(int index) {
    const int count = static_cast<int>(m_nodes->size());
    if (index < 1 || index >= count) {
        return -1.0;
    }
    const double t1 = TravelAngleAt(index - 1, false);
    const double t2 = TravelAngleAt(index, true);
    return MathEx::GetUnsignedAng(t1 - t2 + MathEx::PI, kLoopAngleTol);
}

// The inside lies on the left of travel for a counter-clockwise loop and on the right for a clockwise one;
// the right-hand angle is the left-hand formula with the two directions swapped (2*pi minus the left angle,
// brought into [0, 2*pi)), so a straight joint answers pi either way.
double PolyPatLoop::GetTwoPatInsideAng(int index) {
    const int count = static_cast<int>(m_nodes->size());
    if (index < 0 || index >= count) {
        return -1.0;
    }
    const double t1 = TravelAngleAt(index == 0 ? count - 1 : index - 1, false);
    const double t2 = TravelAngleAt(index, true);
    if (GetDirection() == DIR_CCW) {
        return MathEx::GetUnsignedAng(t1 - t2 + MathEx::PI, kLoopAngleTol);
    }
    return MathEx::GetUnsignedAng(t2 - t1 + MathEx::PI, kLoopAngleTol);
}

}  // namespace Norvane
