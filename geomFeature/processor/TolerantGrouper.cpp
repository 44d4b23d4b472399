// Tolerant recognition: reading a loop's pieces in travel order, merging pieces that continue each other,
// checking a fitted shape against the drawing, and replacing the recognised loops.
#include "geomFeature/processor/TolerantGrouper.h"

#include <algorithm>
#include <cmath>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/appframe/ProgressMeter.h"
#include "geomFeature/host/mathkit/IntegerList.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PatLoopNode.h"
#include "geomFeature/loop/PatLoopNodeList.h"
#include "geomFeature/loop/StdPatLoop.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/FittedShapeCanonical.h"
#include "geomFeature/processor/ImportTolerance.h"
#include "geomFeature/processor/PatDecomposer.h"
#include "geomFeature/processor/ProcessorTolerance.h"
#include "geomFeature/processor/detail/FitPiece.h"
#include "geomFeature/processor/detail/OffsetCurve.h"

namespace Norvane {

namespace detail {

// The same element as the offset curves use, whose point and distance queries serve here.
OffsetSeg FitPiece::Seg() const {
    OffsetSeg seg;
    seg.a = p0;
    seg.b = p1;
    seg.c = centre;
    seg.r = radius;
    seg.a0 = start;
    seg.sweep = sweep;
    seg.arc = arc;
    return seg;
}

Point2D FitPiece::At(double t) const {
    return SegPointAt(Seg(), t);
}

double FitPiece::DistanceTo(const Point2D& p) const {
    return SegDistance(Seg(), p);
}

bool FitPiece::From(const IPatternPtr& pattern, bool forward, FitPiece& piece) {
    piece = FitPiece();
    if (const auto line = boost::dynamic_pointer_cast<LinePattern>(pattern)) {
        piece.p0 = forward ? line->GetStartPoint() : line->GetEndPoint();
        piece.p1 = forward ? line->GetEndPoint() : line->GetStartPoint();
        return true;
    }
    if (const auto arc = boost::dynamic_pointer_cast<ArcPattern>(pattern)) {
        piece.arc = true;
        piece.centre = arc->GetBasePoint();
        piece.radius = arc->GetBaseVector().Length();
        piece.sweep = forward ? arc->GetMoveAngle() : -arc->GetMoveAngle();
        piece.start = forward ? arc->GetStartAngle() : arc->GetStartAngle() + arc->GetMoveAngle();
        piece.p0 = forward ? arc->GetStartPoint() : arc->GetEndPoint();
        piece.p1 = forward ? arc->GetEndPoint() : arc->GetStartPoint();
        return true;
    }
    return false;
}

namespace {

// The greatest distance from a sample point of `from` to the nearest piece of `to`.
double OneWay(const std::vector<FitPiece>& from, const std::vector<FitPiece>& to) {
    double worst = 0.0;
    for (const FitPiece& piece : from) {
        for (int k = 0; k <= kFitInnerSamples + 1; ++k) {
            const Point2D p = piece.At(static_cast<double>(k) / (kFitInnerSamples + 1));
            double nearest = HUGE_VAL;
            for (const FitPiece& other : to) {
                nearest = std::min(nearest, other.DistanceTo(p));
            }
            worst = std::max(worst, nearest);
        }
    }
    return worst;
}

}  // namespace

double OutlineDistance(const std::vector<FitPiece>& a, const std::vector<FitPiece>& b) {
    if (a.empty() || b.empty()) {
        return HUGE_VAL;
    }
    return std::max(OneWay(a, b), OneWay(b, a));
}

}  // namespace detail

namespace {

using detail::FitPiece;

// b continues a within tolerance: two lines on one line running the same way, or two arcs on one circle
// turning the same way.
bool Continues(const FitPiece& a, const FitPiece& b, double tolerance) {
    if (a.arc != b.arc) {
        return false;
    }
    if (!a.arc) {
        FitPiece whole;
        whole.p0 = a.p0;
        whole.p1 = b.p1;
        return (a.p1 - a.p0).DotProduct(b.p1 - b.p0) > 0.0 && whole.DistanceTo(a.p1) <= tolerance &&
               whole.DistanceTo(b.p0) <= tolerance;
    }
    return a.sweep * b.sweep > 0.0 && a.centre.DistanceTo(b.centre) <= tolerance &&
           std::fabs(a.radius - b.radius) <= tolerance;
}

// One piece for a followed by b; an arc's centre and radius are the sweep-weighted means.
FitPiece Join(const FitPiece& a, const FitPiece& b) {
    FitPiece joined = a;
    joined.p1 = b.p1;
    if (a.arc) {
        const double wa = std::fabs(a.sweep);
        const double wb = std::fabs(b.sweep);
        joined.centre = (a.centre * wa + b.centre * wb) / (wa + wb);
        joined.radius = (a.radius * wa + b.radius * wb) / (wa + wb);
        joined.start = (a.p0 - joined.centre).Angle();
        joined.sweep = a.sweep + b.sweep;
    }
    return joined;
}

// The loop's pieces with every run of pieces that continue each other made one, around the loop (the last
// may join the first).
std::vector<FitPiece> MergeRuns(const std::vector<FitPiece>& pieces, double tolerance) {
    std::vector<FitPiece> merged;
    for (const FitPiece& piece : pieces) {
        if (!merged.empty() && Continues(merged.back(), piece, tolerance)) {
            merged.back() = Join(merged.back(), piece);
        } else {
            merged.push_back(piece);
        }
    }
    while (merged.size() > 1 && Continues(merged.back(), merged.front(), tolerance)) {
        merged.front() = Join(merged.back(), merged.front());
        merged.pop_back();
    }
    return merged;
}

bool ReadPieces(const IPatLoopPtr& loop, std::vector<FitPiece>& pieces) {
    const PatLoopNodeListPtr nodes = loop->GetLoopNodes();
    if (!nodes || nodes->empty()) {
        return false;
    }
    for (const PatLoopNodePtr& node : *nodes) {
        FitPiece piece;
        if (!node || !FitPiece::From(node->GetPat(), node->FollowLoopDir() != 0, piece)) {
            return false;
        }
        pieces.push_back(piece);
    }
    return true;
}

// Chains that may be curves: lines only, as many as the exact ellipse recogniser takes.
bool CurveChain(const std::vector<FitPiece>& pieces) {
    if (pieces.size() < static_cast<std::size_t>(kEllipseMinLines) ||
        pieces.size() > static_cast<std::size_t>(kEllipseMaxLines)) {
        return false;
    }
    return std::none_of(pieces.begin(), pieces.end(), [](const FitPiece& p) { return p.arc; });
}

}  // namespace

IPatternPtr TolerantGrouper::FitLoop(const IPatLoopPtr& loop, double tolerance) {
    if (!loop || loop->GetLoopType() != LOOP_POLY || loop->IsOpenPath(tolerance) != 0) {
        return IPatternPtr();
    }
    std::vector<FitPiece> pieces;
    if (!ReadPieces(loop, pieces)) {
        return IPatternPtr();
    }
    IPatternPtr shape;
    if (CurveChain(pieces)) {
        std::vector<Point2D> vertices;
        vertices.reserve(pieces.size());
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            const Point2D& before = pieces[(i + pieces.size() - 1) % pieces.size()].p1;
            vertices.push_back((before + pieces[i].p0) * 0.5);
        }
        shape = detail::FitCurveChain(vertices, tolerance);
    } else {
        shape = detail::FitFewPieces(MergeRuns(pieces, tolerance), tolerance);
        if (shape) {
            shape->UpdateCache();
            std::vector<FitPiece> outline;
            const PatternListPtr parts = PatDecomposer::DecomposeStdPat(shape);
            for (const IPatternPtr& part : *parts) {
                FitPiece piece;
                if (!FitPiece::From(part, true, piece)) {
                    return IPatternPtr();
                }
                outline.push_back(piece);
            }
            if (!(detail::OutlineDistance(pieces, outline) <= tolerance)) {  // inclusive; NaN refuses
                return IPatternPtr();
            }
        }
    }
    if (!shape) {
        return IPatternPtr();
    }
    CanonicaliseFittedShape(shape, tolerance);
    shape->UpdateCache();
    return shape;
}

// Every loop is judged on its own and the lists change only after the last one, as in PatGrouper.
std::size_t TolerantGrouper::GroupPat(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                      double tolerance, ProgressMeter* progress) {
    if (!patterns || !loops) {
        return 0;
    }
    auto shapes = boost::make_shared<PatternList>();
    std::vector<IPatLoopPtr> newLoops;
    auto replacedIds = boost::make_shared<IntegerList>();
    auto replacedLoops = boost::make_shared<PatLoopList>();
    const std::size_t count = loops->size();
    for (std::size_t i = 0; i < count; ++i) {
        if (progress && !progress->Step(i, count)) {
            break;
        }
        const IPatLoopPtr& loop = (*loops)[i];
        const IPatternPtr shape = FitLoop(loop, tolerance);
        if (!shape) {
            continue;
        }
        for (const PatLoopNodePtr& node : *loop->GetLoopNodes()) {
            replacedIds->AddInt(node->GetPat()->GetID());
        }
        replacedLoops->push_back(loop);
        shapes->push_back(shape);
        newLoops.push_back(boost::make_shared<StdPatLoop>(boost::make_shared<PatLoopNode>(shape, 1)));
    }
    if (shapes->empty()) {
        return 0;
    }
    patterns->RemovePatternsEx(replacedIds);
    loops->DeleteLoopList(replacedLoops);
    patterns->AddPatterns(shapes);
    loops->insert(loops->end(), newLoops.begin(), newLoops.end());
    return shapes->size();
}

}  // namespace Norvane
