#include "geomFeature/editor/detail/PatternGrips.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/editor/EditorResource.h"
#include "geomFeature/editor/EditorTolerance.h"
#include "geomFeature/editor/detail/CommandSupport.h"
#include "geomFeature/editor/detail/ShapeBuild.h"
#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/geomkit/Point2DList.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/DoubleDPattern.h"
#include "geomFeature/pattern/IArrayPattern.h"
#include "geomFeature/pattern/PatArcPattern.h"
#include "geomFeature/pattern/PatCirclePattern.h"
#include "geomFeature/pattern/PatGridPattern.h"
#include "geomFeature/pattern/PatLinePattern.h"
#include "geomFeature/pattern/RCHolePattern.h"
#include "geomFeature/pattern/RadSlotPattern.h"
#include "geomFeature/pattern/RectHolePattern.h"
#include "geomFeature/pattern/SingleDPattern.h"

namespace Norvane {
namespace detail {

namespace {

// Prompts by snap index, kind by kind (11511: the grip moves the whole pattern).
struct GripPrompts {
    tagPatternType type;
    std::vector<int> prompts;
};

const std::vector<GripPrompts>& PromptTable() {
    static const std::vector<GripPrompts> table = {
        {PAT_LINE, {12301, 11511, 12302}},
        {PAT_ARC, {11511, 12471, 12341, 12472}},
        {PAT_CIRCLE, {11511, 12464, 12464, 12464, 12464}},
        {PAT_ELLIPSE, {11511, 12371, 12371, 12372, 12372}},
        {PAT_RECT_HOLE, {12411, 12411, 12411, 12411, 11511}},
        {PAT_RC_HOLE, {11511, 12401, 12401, 12401, 12401, 12401, 12401, 12401, 12401}},
        {PAT_SINGLE_D, {11511, 12432, 12431, 12431, 12431}},
        {PAT_DOUBLE_D, {11511, 12362, 12362, 12361, 12361}},
        {PAT_OBROUND, {11511, 12381, 12381, 12382, 12382}},
        {PAT_TR_HOLE, {11511, 12421, 12421, 12423}},
        {PAT_RAD_SLOT, {11511, 12391, 12391, 12393}},
        {PAT_LINE_ARRAY, {11511, 12322, 12321}},
        {PAT_ARC_ARRAY, {11511, 12332, 12332, 12333}},
        {PAT_CIRCLE_ARRAY, {11511, 12462, 12462}},
        {PAT_GRID_ARRAY, {11511, 12452, 12452, 12452}},
    };
    return table;
}

IPatternPtr Moved(const IPatternPtr& pattern, const Vector2D& by) {
    const IPatternPtr copy = GeometryCopy(pattern);
    if (!copy) {
        return copy;
    }
    Matrix2D m;
    m.SetTransfer(by);
    copy->Transform(m);
    return Sound(copy);
}

Point2D Reflected(const Point2D& centre, const Point2D& p) {
    return centre - (p - centre);
}

// The counter-clockwise sweep from direction a to direction b, in [0, 2pi).
double SweepCcw(double a, double b) {
    return MathEx::GetUnsignedAng(b - a, kShapeMinAngle);
}

double Direction(const Point2D& from, const Point2D& to) {
    return (to - from).Angle();
}

IPatternPtr SeedOf(const IPatternPtr& pattern) {
    const auto array = boost::dynamic_pointer_cast<IArrayPattern>(pattern);
    return array ? array->GetControlPat() : IPatternPtr();
}

// An array rebuilt around the original's seed, for drawing; the seed is not told.
IPatternPtr SoundArray(const IArrayPatternPtr& array, const IPatternPtr& original) {
    array->SetControlPat(SeedOf(original));
    return Sound(array);
}

// Rounded rectangle: the corner arcs' ends move with the cursor along both sides; the sides change by as much
// as the point moved away from (or towards) the centre, measured in the hole's own axes.
IPatternPtr DragRCHole(const RCHolePattern& hole, const Point2D& grip, const Point2D& to) {
    const Point2D c = hole.GetBasePoint();
    Vector2D along(1.0, 0.0);
    along.Rotate(hole.GetAngle());
    const Vector2D across = along.Orthogonal();
    const double halfLength = hole.GetLength() / 2.0 + std::fabs((to - c).DotProduct(along)) -
                              std::fabs((grip - c).DotProduct(along));
    const double halfWidth = hole.GetWidth() / 2.0 + std::fabs((to - c).DotProduct(across)) -
                             std::fabs((grip - c).DotProduct(across));
    const double radius = std::min(hole.GetArcRadius(), std::min(halfLength, halfWidth));
    return Sound(boost::make_shared<RCHolePattern>(c, 2.0 * halfLength, 2.0 * halfWidth,
                                                   std::max(radius, 0.0), hole.GetAngle()));
}

IPatternPtr DragRadSlot(const RadSlotPattern& slot, int index, const Point2D& to) {
    const Point2D c = slot.GetBasePoint();
    const double sweep = slot.GetMoveAngle();
    double start = slot.GetStartAngle();
    double newSweep = sweep;
    const double toAngle = Direction(c, to);
    if (index == 1) {  // the start moves, the end stays
        const double end = start + sweep;
        newSweep = sweep > 0.0 ? SweepCcw(toAngle, end) : -SweepCcw(end, toAngle);
        start = toAngle;
    } else if (index == 3) {  // the end moves
        newSweep = sweep > 0.0 ? SweepCcw(start, toAngle) : -SweepCcw(toAngle, start);
    }
    return Sound(boost::make_shared<RadSlotPattern>(c, c.DistanceTo(to), start, newSweep, slot.GetWidth()));
}

IPatternPtr DragArray(const IPatternPtr& pattern, int index, const Point2D& to, const Point2DList& snaps) {
    const IPatternPtr seed = SeedOf(pattern);
    if (const auto row = boost::dynamic_pointer_cast<PatLinePattern>(pattern)) {
        const Point2D base = row->GetBasePoint();
        if (index == 1) {
            return MakePatLine(seed, base, base + row->GetBaseVector(), to);
        }
        return SoundArray(boost::make_shared<PatLinePattern>(base, to - base, row->GetRepeatNum()), pattern);
    }
    if (const auto arc = boost::dynamic_pointer_cast<PatArcPattern>(pattern)) {
        const Point2D c = arc->GetBasePoint();
        if (index == 1) {
            return SoundArray(boost::make_shared<PatArcPattern>(c, c.DistanceTo(to), Direction(c, to),
                                                                arc->GetRepeatAngle(), arc->GetRepeatNum()),
                              pattern);
        }
        if (index == 2) {
            const double step = MathEx::GetSignedAng(Direction(c, to) - arc->GetStartAngle(), kShapeMinAngle);
            return SoundArray(boost::make_shared<PatArcPattern>(c, arc->GetRadius(), arc->GetStartAngle(),
                                                                step, arc->GetRepeatNum()),
                              pattern);
        }
        return MakePatArc(seed, snaps[1], c, snaps[2], to);
    }
    if (const auto circle = boost::dynamic_pointer_cast<PatCirclePattern>(pattern)) {
        const Point2D c = circle->GetBasePoint();
        if (index == 1) {
            return SoundArray(boost::make_shared<PatCirclePattern>(c, c.DistanceTo(to), Direction(c, to),
                                                                   circle->GetRepeatNum()),
                              pattern);
        }
        return MakePatCircle(seed, snaps[1], c, to);
    }
    if (const auto grid = boost::dynamic_pointer_cast<PatGridPattern>(pattern)) {
        const Point2D base = grid->GetBasePoint();
        const Point2D diagonal = base + Vector2D(grid->GetColumnSpace(), grid->GetRowSpace());
        // Corners 1 and 2 set the columns, 2 and 3 the rows; the other count stays.
        const Point2D last(index == 3 ? snaps[2].x : to.x, index == 1 ? snaps[2].y : to.y);
        return MakePatGrid(seed, base, diagonal, last);
    }
    return IPatternPtr();
}

IPatternPtr Reshape(const IPatternPtr& pattern, int index, const Point2D& to, const Point2DList& snaps) {
    const Point2D c = snaps[0];
    switch (pattern->GetPatternType()) {
        case PAT_LINE:
            return index == 0 ? MakeLine(to, snaps[2]) : MakeLine(snaps[0], to);
        case PAT_ARC: {
            Point2D through[3] = {snaps[1], snaps[2], snaps[3]};
            through[index - 1] = to;
            return MakeArcThrough(through[0], through[1], through[2]);
        }
        case PAT_CIRCLE:
            return MakeCircle(c, to);
        case PAT_ELLIPSE:
            if (index <= 2) {
                return MakeEllipse(c, index == 1 ? to : Reflected(c, to), snaps[3]);
            }
            return MakeEllipse(c, snaps[1], to);
        case PAT_RECT_HOLE: {
            const auto rect = boost::dynamic_pointer_cast<RectHolePattern>(pattern);
            return Sound(boost::make_shared<RectHolePattern>(snaps[(index + 2) % 4], to, rect->GetAngle()));
        }
        case PAT_RC_HOLE:
            return DragRCHole(*boost::dynamic_pointer_cast<RCHolePattern>(pattern), snaps[index], to);
        case PAT_SINGLE_D: {
            const auto d = boost::dynamic_pointer_cast<SingleDPattern>(pattern);
            if (index == 1) {
                return MakeSingleD(c, snaps[3], to);
            }
            return Sound(
                boost::make_shared<SingleDPattern>(c, c.DistanceTo(to), d->GetToChord(), d->GetAngle()));
        }
        case PAT_DOUBLE_D: {
            const auto d = boost::dynamic_pointer_cast<DoubleDPattern>(pattern);
            if (index <= 2) {
                return MakeDoubleD(c, snaps[4], index == 1 ? to : Reflected(c, to));
            }
            return Sound(
                boost::make_shared<DoubleDPattern>(c, c.DistanceTo(to), d->GetToChord(), d->GetAngle()));
        }
        case PAT_OBROUND:
            if (index <= 2) {
                return MakeOBround(c, index == 1 ? to : Reflected(c, to), snaps[3]);
            }
            return MakeOBround(c, snaps[1], to);
        case PAT_TR_HOLE:
            if (index <= 2) {
                return MakeTRHole(c, index == 1 ? to : Reflected(c, to), snaps[3]);
            }
            return MakeTRHole(c, snaps[1], to);
        case PAT_RAD_SLOT:
            return DragRadSlot(*boost::dynamic_pointer_cast<RadSlotPattern>(pattern), index, to);
        case PAT_LINE_ARRAY:
        case PAT_ARC_ARRAY:
        case PAT_CIRCLE_ARRAY:
        case PAT_GRID_ARRAY:
            return DragArray(pattern, index, to, snaps);
    }
    return IPatternPtr();
}

}  // namespace

int GripPrompt(tagPatternType type, int index) {
    for (const GripPrompts& row : PromptTable()) {
        if (row.type == type && index >= 0 && index < static_cast<int>(row.prompts.size())) {
            return row.prompts[static_cast<std::size_t>(index)];
        }
    }
    return kResGripMovePrompt;
}

// A grip whose prompt is the move prompt moves the whole pattern with it; the others reshape it.
IPatternPtr DragGrip(const IPatternPtr& pattern, int index, const Point2D& to) {
    if (!pattern || !std::isfinite(to.x) || !std::isfinite(to.y)) {
        return IPatternPtr();
    }
    Point2DList snaps;
    pattern->GetSnapPoints(snaps);
    if (index < 0 || index >= static_cast<int>(snaps.size())) {
        return IPatternPtr();
    }
    if (GripPrompt(pattern->GetPatternType(), index) == kResGripMovePrompt) {
        return Moved(pattern, to - snaps[static_cast<std::size_t>(index)]);
    }
    return Reshape(pattern, index, to, snaps);
}

}  // namespace detail
}  // namespace Norvane
