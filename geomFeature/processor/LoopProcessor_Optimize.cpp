// Loop optimisation: cutting polygon loops into segments, merging collinear lines, collapsing runs of lines
// into single lines, and the list-wide forms that keep the pattern list in step.
#include <algorithm>
#include <cmath>
#include <unordered_set>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/logkit/LogMgr.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "geomFeature/processor/ProcessorTolerance.h"
#include "geomFeature/processor/detail/LoopNodeTravel.h"

namespace Norvane {

using detail::IsLineNode;
using detail::TravelEnd;
using detail::TravelStart;
using detail::TravelVector;

namespace {

PatLoopNodeListPtr SegmentOf(const PatLoopNodePtr& node) {
    auto segment = boost::make_shared<PatLoopNodeList>();
    segment->push_back(node);
    return segment;
}

// The inside angle at `at` between the way back to `from` and the way on to `to`, in [0, 2pi): pi for a
// straight continuation.
double JointAngle(const Point2D& from, const Point2D& at, const Point2D& to) {
    const double a = (to - at).Angle() - (from - at).Angle();
    return MathEx::GetUnsignedAng(MathEx::GetSignedAng(a, kOptAngleTol), kOptAngleTol);
}

// The current line of OptimizeToLine: a node whose far end may have been carried on to a later point.
struct CurrentLine {
    PatLoopNodePtr node;
    bool stretched = false;
    Point2D end;  // the travel end it has been carried to

    // The node to emit: the original, or a new line that runs like the original (same orientation of the
    // pattern, same follow flag) from the original's travel start to the new end.
    PatLoopNodePtr Emit() const {
        if (!stretched) {
            return node;
        }
        const IPatternPtr& old = node->GetPat();
        const bool follow = node->FollowLoopDir() != 0;
        auto line = follow ? boost::make_shared<LinePattern>(old->GetStartPoint(), end)
                           : boost::make_shared<LinePattern>(end, old->GetEndPoint());
        PatLoopNodePtr fresh = detail::ReplacementNode(line, old);
        fresh->FollowLoopDir(follow ? 1 : 0);
        return fresh;
    }
};

void OptimizeLineSegment(const PatLoopNodeList& segment, double tolerance, std::vector<PatLoopNodePtr>& out) {
    const std::size_t count = segment.size();
    if (count < 3) {
        out.insert(out.end(), segment.begin(), segment.end());
        return;
    }
    CurrentLine current{segment[0], false, TravelEnd(*segment[0])};
    Point2D start = TravelStart(*segment[0]);
    Vector2D direction = (TravelEnd(*segment[1]) - start).GetUnit();
    double joint = JointAngle(start, TravelEnd(*segment[0]), TravelEnd(*segment[1]));

    for (std::size_t k = 1; k < count; ++k) {
        const Point2D end = TravelEnd(*segment[k]);
        const Vector2D w = (end - start).GetUnit();
        const double dx = w.x - direction.x;
        const double dy = w.y - direction.y;
        // Inclusive on both: the bound is the tolerance itself, compared with a squared distance.
        const bool inLine = dx * dx + dy * dy <= tolerance;
        const bool gentle = std::fabs(joint - MathEx::PI) <= kLineJointMaxBend;
        if (inLine && gentle) {
            current.stretched = true;
            current.end = end;
            // The joint now lies at the stretched line's new end, between the line and node k+1.
            if (k + 1 < count) {
                joint = JointAngle(start, end, TravelEnd(*segment[k + 1]));
            }
            continue;
        }
        out.push_back(current.Emit());
        // Node k stays and starts the next current line, measured from its own start.
        current = CurrentLine{segment[k], false, end};
        start = TravelStart(*segment[k]);
        direction = (end - start).GetUnit();
        if (k + 1 < count) {
            const Vector2D back = start - end;
            const Vector2D on = TravelEnd(*segment[k + 1]) - end;
            joint = MathEx::GetUnsignedAng(back.AngleTo(on), kOptAngleTol);
        }
    }
    out.push_back(current.Emit());
}

// Refills patterns with the patterns the loops use, loop by loop and each once, followed by the seeds of
// arrays that no loop brought in.
void RefillPatterns(const PatLoopListPtr& loops, const PatternListPtr& patterns) {
    const PatternListPtr seeds = patterns->GetAllCtrlPat();
    auto kept = boost::make_shared<PatternList>();
    std::unordered_set<DataID> seen;
    const auto keep = [&](const IPatternPtr& pattern) {
        if (pattern && seen.insert(pattern->GetID()).second) {
            kept->push_back(pattern);
        }
    };
    for (const IPatLoopPtr& loop : *loops) {
        const PatternListPtr own = loop->GetPatternList();
        for (const IPatternPtr& pattern : *own) keep(pattern);
    }
    for (const IPatternPtr& seed : *seeds) keep(seed);
    patterns->clear();
    patterns->AddPatterns(kept);
}

}  // namespace

std::vector<PatLoopNodeListPtr> LoopProcessor::SeparateLoop(const PolyPatLoopPtr& loop, int signChange,
                                                            int lengthRatio) {
    std::vector<PatLoopNodeListPtr> segments;
    if (!loop) {
        return segments;
    }
    PatLoopNodeListPtr open;  // the segment of lines being collected, if any
    Vector2D lastDirection;
    double previousTurn = kNoTurnYet;
    for (const PatLoopNodePtr& node : *loop->GetLoopNodes()) {
        if (!IsLineNode(*node)) {
            // Arcs, and anything else a polygon loop might hold, stand alone.
            open.reset();
            segments.push_back(SegmentOf(node));
            continue;
        }
        const Vector2D direction = TravelVector(*node);
        bool split = !open;
        if (open) {
            const double turn = lastDirection.AngleTo(direction);
            split = std::fabs(turn) > kSegmentMaxTurn;  // strict: exactly ten degrees stays
            if (!split && lengthRatio != 0) {
                const double a = lastDirection.Length();
                const double b = direction.Length();
                split = std::max(a, b) > kSegmentMaxLengthRatio * std::min(a, b);  // strict
            }
            const bool noTurnYet = std::fabs(previousTurn - kNoTurnYet) <= kNoTurnYetTol;
            if (!split && signChange != 0 && !noTurnYet) {
                split = turn * previousTurn < 0.0;  // a straight step (turn 0) never changes the sense
            }
            if (!split) {
                if (!IsLineNode(*open->back())) {
                    LogMgr::DebugWarn(L"SeparateLoop: a line joins a segment that does not end in a line");
                }
                open->push_back(node);
                previousTurn = turn;
            }
        }
        if (split) {
            open = SegmentOf(node);
            segments.push_back(open);
            previousTurn = kNoTurnYet;
        }
        lastDirection = direction;
    }
    return segments;
}

void LoopProcessor::MergeCoLineNode(const PolyPatLoopPtr& loop) {
    if (!loop) {
        return;
    }
    std::vector<PatLoopNodePtr> out;
    for (const PatLoopNodeListPtr& segment : SeparateLoop(loop, 1, 0)) {
        PatLoopNodePtr current = segment->front();
        for (std::size_t k = 1; k < segment->size(); ++k) {
            const PatLoopNodePtr& next = (*segment)[k];
            // Raw difference of the two atan2 angles, inclusive; no wrap-around at +-pi.
            if (std::fabs(TravelVector(*current).Angle() - TravelVector(*next).Angle()) <= kCoLineAngleTol) {
                auto line = boost::make_shared<LinePattern>(TravelStart(*current), TravelEnd(*next));
                current = detail::ReplacementNode(line, current->GetPat());
            } else {
                out.push_back(current);
                current = next;
            }
        }
        out.push_back(current);
    }
    detail::ReplaceNodes(loop, out);
    UpdateCache(IPatLoopPtr(loop));
}

void LoopProcessor::OptimizeToLine(const PolyPatLoopPtr& loop, double tolerance) {
    if (!loop) {
        return;
    }
    std::vector<PatLoopNodePtr> out;
    for (const PatLoopNodeListPtr& segment : SeparateLoop(loop, 0, 0)) {
        OptimizeLineSegment(*segment, tolerance, out);
    }
    detail::ReplaceNodes(loop, out);
    UpdateCache(IPatLoopPtr(loop));
}

void LoopProcessor::OptimizeToLine(const PatLoopListPtr& loops, const PatternListPtr& patterns,
                                   double tolerance) {
    if (!loops || !patterns) {
        return;
    }
    for (const IPatLoopPtr& loop : *loops) {
        if (const auto poly = boost::dynamic_pointer_cast<PolyPatLoop>(loop)) {
            OptimizeToLine(poly, tolerance);
            MergeCoLineNode(poly);
        }
    }
    RefillPatterns(loops, patterns);
}

void LoopProcessor::OptimizeToArc(const PatLoopListPtr& loops, const PatternListPtr& patterns,
                                  double tolerance, double arcTolerance) {
    if (!loops || !patterns) {
        return;
    }
    for (const IPatLoopPtr& loop : *loops) {
        if (const auto poly = boost::dynamic_pointer_cast<PolyPatLoop>(loop)) {
            OptimizeToArc(poly, arcTolerance);
            OptimizeToLine(poly, tolerance);
            MergeCoLineNode(poly);
        }
    }
    RefillPatterns(loops, patterns);
}

}  // namespace Norvane
