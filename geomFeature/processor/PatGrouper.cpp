// Grouping a part: which loops are tried, which recogniser each piece sequence goes to, the circles made
// of one, two or four arcs, and the replacement of the pieces and loops.
#include "geomFeature/processor/PatGrouper.h"

#include <cmath>
#include <cstddef>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/appframe/ProgressMeter.h"
#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/host/geomkit/Line2DList.h"
#include "geomFeature/host/mathkit/IntegerList.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PatLoopNode.h"
#include "geomFeature/loop/PatLoopNodeList.h"
#include "geomFeature/loop/StdPatLoop.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/ProcessorTolerance.h"

namespace Norvane {

namespace {

// The pieces of one closed polygon loop in loop order, each seen as a line or an arc (or neither).
struct Pieces {
    std::vector<IPatternPtr> patterns;
    std::vector<LinePatternPtr> lines;  // empty where the piece is no line
    std::vector<ArcPatternPtr> arcs;    // empty where the piece is no arc

    std::size_t size() const { return patterns.size(); }
    // 1 when piece i is a line pattern (type code 200) / an arc pattern (203).
    bool IsLine(std::size_t i) const { return patterns[i]->GetPatternType() == PAT_LINE && lines[i]; }
    bool IsArc(std::size_t i) const { return patterns[i]->GetPatternType() == PAT_ARC && arcs[i]; }
    bool AllLines() const {
        for (std::size_t i = 0; i < size(); ++i) {
            if (!IsLine(i)) {
                return false;
            }
        }
        return true;
    }
    bool AllArcs() const {
        for (std::size_t i = 0; i < size(); ++i) {
            if (!IsArc(i)) {
                return false;
            }
        }
        return true;
    }
    // Lines and arcs alternate, the first piece being a line (lineFirst) or an arc.
    bool Alternating(bool lineFirst) const {
        for (std::size_t i = 0; i < size(); ++i) {
            const bool wantLine = (i % 2 == 0) == lineFirst;
            if (wantLine ? !IsLine(i) : !IsArc(i)) {
                return false;
            }
        }
        return true;
    }
    // One Line2D per piece, from the pattern's start point to its end point.
    Line2DListPtr LineList() const {
        auto list = boost::make_shared<Line2DList>();
        for (const IPatternPtr& pattern : patterns) {
            list->push_back(Line2D(pattern->GetStartPoint(), pattern->GetEndPoint()));
        }
        return list;
    }
};

Pieces ReadPieces(const IPatLoopPtr& loop) {
    Pieces pieces;
    const PatLoopNodeListPtr nodes = loop->GetLoopNodes();
    if (!nodes) {
        return pieces;
    }
    for (const PatLoopNodePtr& node : *nodes) {
        const IPatternPtr pattern = node ? node->GetPat() : IPatternPtr();
        if (!pattern) {  // a loop with a hole in its chain is no shape
            return Pieces();
        }
        pieces.patterns.push_back(pattern);
        pieces.lines.push_back(boost::dynamic_pointer_cast<LinePattern>(pattern));
        pieces.arcs.push_back(boost::dynamic_pointer_cast<ArcPattern>(pattern));
    }
    return pieces;
}

double Radius(const ArcPatternPtr& arc) {
    return arc->GetBaseVector().Length();
}

double Manhattan(const Point2D& p, const Point2D& q) {
    return std::fabs(p.x - q.x) + std::fabs(p.y - q.y);
}

// Arcs that are the equal parts of one circle: each |sweep| within kCirclePieceSweepTol of part (pi for
// halves, pi/2 for quarters) and each centre within kCirclePieceCentreTol of the first arc's centre, as
// |dx| + |dy|; all inclusive. The circle is the first arc's.
IPatternPtr CircleFromParts(const std::vector<ArcPatternPtr>& arcs, double part) {
    const Point2D centre = arcs.front()->GetBasePoint();
    for (const ArcPatternPtr& arc : arcs) {
        if (std::fabs(std::fabs(arc->GetMoveAngle()) - part) > kCirclePieceSweepTol ||
            Manhattan(arc->GetBasePoint(), centre) > kCirclePieceCentreTol) {
            return IPatternPtr();
        }
    }
    return boost::make_shared<CirclePattern>(centre, Radius(arcs.front()));
}

// The shape that the pieces of one closed polygon loop form, trying the shapes in a fixed order; the
// first that answers wins. Empty when they form none.
IPatternPtr RecogniseShape(const Pieces& p) {
    const std::size_t n = p.size();
    if (n >= static_cast<std::size_t>(kEllipseMinLines) && n <= static_cast<std::size_t>(kEllipseMaxLines) &&
        p.AllLines()) {
        return PatGrouper::GroupEllipse(p.LineList());
    }
    if (n == 1 && p.IsArc(0)) {
        const ArcPatternPtr& arc = p.arcs[0];
        if (std::fabs(arc->GetMoveAngle() - MathEx::PI2) <= kFullCircleSweepTol) {  // inclusive
            // The radius is measured to the start point, which is where the arc meets itself.
            const double radius = (arc->GetStartPoint() - arc->GetBasePoint()).Length();
            return boost::make_shared<CirclePattern>(arc->GetBasePoint(), radius);
        }
        return IPatternPtr();
    }
    if (n == 2) {
        if (p.AllArcs()) {
            return CircleFromParts(p.arcs, MathEx::PI);
        }
        if (p.IsLine(0) && p.IsArc(1)) {
            return PatGrouper::GroupSingleD(p.lines[0], p.arcs[1]);
        }
        if (p.IsArc(0) && p.IsLine(1)) {
            return PatGrouper::GroupSingleD(p.lines[1], p.arcs[0]);
        }
        return IPatternPtr();
    }
    if (n == 3) {
        return p.AllLines() ? PatGrouper::GroupTriangle(p.lines[0], p.lines[1], p.lines[2]) : IPatternPtr();
    }
    if (n == 4) {
        if (p.AllArcs()) {
            const IPatternPtr slot = PatGrouper::GroupRadSlot(p.arcs[0], p.arcs[1], p.arcs[2], p.arcs[3]);
            return slot ? slot : CircleFromParts(p.arcs, MathEx::PI / 2.0);
        }
        if (p.AllLines()) {
            return PatGrouper::GroupRectHole(p.LineList());
        }
        if (p.Alternating(false)) {
            return PatGrouper::GroupOBAndDoubleD(p.arcs[0], p.lines[1], p.arcs[2], p.lines[3]);
        }
        if (p.Alternating(true)) {
            return PatGrouper::GroupOBAndDoubleD(p.arcs[1], p.lines[2], p.arcs[3], p.lines[0]);
        }
        return IPatternPtr();
    }
    if (n == 8) {
        if (p.Alternating(true)) {
            return PatGrouper::GroupRCHole(p.lines[0], p.arcs[1], p.lines[2], p.arcs[3], p.lines[4],
                                           p.arcs[5], p.lines[6], p.arcs[7]);
        }
        if (p.Alternating(false)) {
            return PatGrouper::GroupRCHole(p.lines[1], p.arcs[2], p.lines[3], p.arcs[4], p.lines[5],
                                           p.arcs[6], p.lines[7], p.arcs[0]);
        }
    }
    return IPatternPtr();
}

}  // namespace

// Every loop is judged on its own, in list order, and the lists change only after the last one, so a loop
// never sees the result of another. Only closed polygon loops are tried (standard and array loops are
// shapes already, open loops bound nothing).
void PatGrouper::GroupPat(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                          ProgressMeter* progress) {
    if (!patterns || !loops) {
        return;
    }
    auto newPatterns = boost::make_shared<PatternList>();
    std::vector<IPatLoopPtr> newLoops;
    auto replacedIds = boost::make_shared<IntegerList>();
    auto replacedLoops = boost::make_shared<PatLoopList>();

    // Progress counts the loops tried and then the replaced loops let go (with their pieces, a good part of
    // the work on a large drawing).
    const std::size_t count = loops->size();
    for (std::size_t i = 0; i < count; ++i) {
        if (progress && !progress->Step(i, 2 * count)) {
            break;
        }
        const IPatLoopPtr& loop = (*loops)[i];
        if (!loop || loop->GetLoopType() != LOOP_POLY || loop->IsOpenPath(kGroupClosedLoopTol) != 0) {
            continue;
        }
        const Pieces pieces = ReadPieces(loop);
        if (pieces.size() == 0) {
            continue;
        }
        IPatternPtr shape = RecogniseShape(pieces);
        if (!shape) {
            continue;
        }
        shape->UpdateCache();
        // The loop's patterns, as read above in node order.
        for (const IPatternPtr& piece : pieces.patterns) {
            replacedIds->AddInt(piece->GetID());
        }
        replacedLoops->push_back(loop);
        newPatterns->push_back(shape);
        newLoops.push_back(boost::make_shared<StdPatLoop>(boost::make_shared<PatLoopNode>(shape, 1)));
    }

    if (newPatterns->empty()) {
        return;
    }
    patterns->RemovePatternsEx(replacedIds);
    loops->DeleteLoopList(replacedLoops);
    patterns->AddPatterns(newPatterns);
    loops->insert(loops->end(), newLoops.begin(), newLoops.end());
    if (progress) {
        // The replaced loops hold the last references to themselves and their pieces.
        const std::size_t replaced = replacedLoops->size();
        for (std::size_t k = 0; k < replaced; ++k) {
            replacedLoops->pop_back();
            progress->Step(count + k * count / replaced, 2 * count);
        }
    }
}

}  // namespace Norvane
