#include "geomFeature/editor/detail/ShapeCheck.h"

#include <algorithm>
#include <cmath>

#include "geomFeature/editor/EditorTolerance.h"
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

bool Size(double v) {
    return std::isfinite(v) && std::fabs(v) > kShapeMinSize;
}

bool Sweep(double a) {
    return std::isfinite(a) && std::fabs(a) > kShapeMinAngle;
}

bool Copies(long long count) {
    return count >= 2 && count <= kMaxArrayCopies;
}

template <class T>
const T* As(const IPattern& pattern) {
    return dynamic_cast<const T*>(&pattern);
}

bool SoundKind(const IPattern& p) {
    switch (p.GetPatternType()) {
        case PAT_LINE:
            return As<LinePattern>(p) && Size(As<LinePattern>(p)->GetLength());
        case PAT_ARC: {
            const auto* arc = As<ArcPattern>(p);
            return arc && Size(arc->GetRadius()) && Sweep(arc->GetMoveAngle());
        }
        case PAT_CIRCLE:
            return As<CirclePattern>(p) && Size(As<CirclePattern>(p)->GetRadius());
        case PAT_ELLIPSE: {
            const auto* e = As<EllipsePattern>(p);
            return e && Size(e->GetLength()) && Size(e->GetWidth()) &&
                   e->GetSegCount() >= kMinEllipseSegments && e->GetSegCount() <= kMaxEllipseSegments;
        }
        case PAT_RECT_HOLE: {
            const auto* r = As<RectHolePattern>(p);
            return r && Size(r->GetLength()) && Size(r->GetWidth());
        }
        case PAT_RC_HOLE: {
            const auto* r = As<RCHolePattern>(p);
            // Corners that just fit (radius exactly half the smaller side) are an obround-like hole: allowed.
            return r && Size(r->GetLength()) && Size(r->GetWidth()) && std::isfinite(r->GetArcRadius()) &&
                   r->GetArcRadius() >= 0.0 &&
                   r->GetArcRadius() <= std::min(r->GetLength(), r->GetWidth()) / 2.0 + kShapeMinSize;
        }
        case PAT_SINGLE_D: {
            const auto* d = As<SingleDPattern>(p);
            return d && Size(d->GetRadius()) && std::isfinite(d->GetToChord()) &&
                   std::fabs(d->GetToChord()) < d->GetRadius() - kShapeMinSize;
        }
        case PAT_DOUBLE_D: {
            const auto* d = As<DoubleDPattern>(p);
            return d && Size(d->GetRadius()) && Size(d->GetToChord()) &&
                   std::fabs(d->GetToChord()) < d->GetRadius() - kShapeMinSize;
        }
        case PAT_OBROUND: {
            const auto* o = As<OBroundPattern>(p);
            return o && Size(o->GetLength()) && Size(o->GetWidth());
        }
        case PAT_TR_HOLE: {
            const auto* t = As<TRHolePattern>(p);
            return t && Size(t->GetLength()) && Size(t->GetHeight());
        }
        case PAT_RAD_SLOT: {
            const auto* s = As<RadSlotPattern>(p);
            return s && Size(s->GetRadius()) && Sweep(s->GetMoveAngle()) &&
                   std::fabs(s->GetMoveAngle()) < MathEx::PI2 - kShapeMinAngle && Size(s->GetWidth()) &&
                   s->GetWidth() > 0.0 && s->GetWidth() < 2.0 * s->GetRadius() - kShapeMinSize;
        }
        case PAT_LINE_ARRAY: {
            const auto* a = As<PatLinePattern>(p);
            return a && Size(a->GetSpace()) && Copies(a->GetRepeatNum());
        }
        case PAT_ARC_ARRAY: {
            const auto* a = As<PatArcPattern>(p);
            return a && Size(a->GetRadius()) && Sweep(a->GetRepeatAngle()) && Copies(a->GetRepeatNum()) &&
                   std::fabs(a->GetRepeatAngle()) * (a->GetRepeatNum() - 1) < MathEx::PI2 - kShapeMinAngle;
        }
        case PAT_CIRCLE_ARRAY: {
            const auto* a = As<PatCirclePattern>(p);
            return a && Size(a->GetRadius()) && Copies(a->GetRepeatNum());
        }
        case PAT_GRID_ARRAY: {
            const auto* g = As<PatGridPattern>(p);
            if (!g || g->GetRowCount() < 1 || g->GetColumnCount() < 1) {
                return false;
            }
            const bool rowsOk = g->GetRowCount() == 1 || Size(g->GetRowSpace());
            const bool columnsOk = g->GetColumnCount() == 1 || Size(g->GetColumnSpace());
            return rowsOk && columnsOk &&
                   Copies(static_cast<long long>(g->GetRowCount()) * g->GetColumnCount());
        }
    }
    return false;
}

}  // namespace

bool IsSoundShape(const IPattern& pattern) {
    const Point2D base = pattern.GetBasePoint();
    const Vector2D vector = pattern.GetBaseVector();
    if (!std::isfinite(base.x) || !std::isfinite(base.y) || !std::isfinite(vector.x) ||
        !std::isfinite(vector.y)) {
        return false;
    }
    return SoundKind(pattern);
}

}  // namespace detail
}  // namespace Norvane
