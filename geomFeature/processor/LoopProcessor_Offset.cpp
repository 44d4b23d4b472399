// Loop offsetting: every loop kind grown or shrunk by a distance, and closing polygon loops exactly.
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/mathkit/IntegerList.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/pattern/IArrayPattern.h"
#include "geomFeature/pattern/IStdPattern.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "geomFeature/processor/PolyLoopOffsetter.h"

namespace Norvane {

namespace {

// Offsets the loop's one standard shape or array by its own operation.
int OffsetShapeLoop(const IPatLoopPtr& loop, int side, double distance, LoopOffsetReport& report) {
    const IPatternPtr pattern = loop->GetLoopNodes()->empty() ? IPatternPtr() : loop->GetPatByNodeIdx(0);
    int done = 0;
    if (loop->GetLoopType() == LOOP_STD) {
        if (const IStdPatternPtr shape = boost::dynamic_pointer_cast<IStdPattern>(pattern)) {
            done = shape->OffsetStdPat(side, distance);
        }
    } else if (const IArrayPatternPtr array = boost::dynamic_pointer_cast<IArrayPattern>(pattern)) {
        done = array->OffsetArrayPat(side, distance);
    }
    if (done == 0) {
        report.failure = pattern ? LoopOffsetFailure::ShapeRefuses : LoopOffsetFailure::Degenerate;
        return 0;
    }
    loop->SetModified(1);
    LoopProcessor::UpdateCacheEx(loop);
    return done;
}

// The walk shared by both clamps: each line or arc starts where the travel of the one before it ended;
// the last one ends at start when tieLast.
void ClampWalk(PolyPatLoop& loop, const Point2D& start, bool tieLast) {
    const PatLoopNodeListPtr nodes = loop.GetLoopNodes();
    const std::size_t count = nodes->size();
    Point2D end = start;
    for (std::size_t i = 0; i < count; ++i) {
        const PatLoopNode& node = *(*nodes)[i];
        const IPatternPtr& pattern = node.GetPat();
        if (!pattern)
            continue;
        const tagPatternType type = pattern->GetPatternType();
        if (type != PAT_LINE && type != PAT_ARC)
            continue;
        const bool last = i + 1 == count;
        if (node.FollowLoopDir() != 0) {
            if (i > 0)
                pattern->SetStartPoint(end);
            if (last && tieLast)
                pattern->SetEndPoint(start);
            end = pattern->GetEndPoint();
        } else {
            if (i > 0)
                pattern->SetEndPoint(end);
            if (last && tieLast)
                pattern->SetStartPoint(start);
            end = pattern->GetStartPoint();
        }
    }
}

}  // namespace

int LoopProcessor::OffsetPolyLoop(const PatternListPtr& patterns, const IPatLoopPtr& loop, int side,
                                  double distance) {
    LoopOffsetReport report;
    return OffsetPolyLoop(patterns, loop, side, distance, report);
}

int LoopProcessor::OffsetPolyLoop(const PatternListPtr& patterns, const IPatLoopPtr& loop, int side,
                                  double distance, LoopOffsetReport& report) {
    report = LoopOffsetReport();
    if (!loop) {
        report.failure = LoopOffsetFailure::NoLoop;
        return 0;
    }
    if (loop->GetLoopType() != LOOP_POLY)
        return OffsetShapeLoop(loop, side, distance, report);

    auto oldIds = boost::make_shared<IntegerList>();
    for (const PatLoopNodePtr& node : *loop->GetLoopNodes()) {
        if (node->GetPat())
            oldIds->AddInt(node->GetPat()->GetID());
    }
    PatIDPairList pairs;
    const int done = PolyLoopOffsetter::Offset(boost::dynamic_pointer_cast<PolyPatLoop>(loop), side, distance,
                                               pairs, report);
    if (done == 0)
        return 0;
    if (patterns) {
        patterns->RemovePatternsEx(oldIds);
        for (const PatLoopNodePtr& node : *loop->GetLoopNodes()) patterns->push_back(node->GetPat());
        patterns->SetModified(1);
    }
    ClampClosePolyLoop(boost::dynamic_pointer_cast<PolyPatLoop>(loop));
    UpdateCacheEx(loop);
    return done;
}

int LoopProcessor::OffsetPolyLoop(const IPatLoopPtr& loop, int side, double distance, PatIDPairList& pairs) {
    LoopOffsetReport report;
    return OffsetPolyLoop(loop, side, distance, pairs, report);
}

int LoopProcessor::OffsetPolyLoop(const IPatLoopPtr& loop, int side, double distance, PatIDPairList& pairs,
                                  LoopOffsetReport& report) {
    report = LoopOffsetReport();
    const PolyPatLoopPtr poly = boost::dynamic_pointer_cast<PolyPatLoop>(loop);
    if (!poly) {
        report.failure = LoopOffsetFailure::NoLoop;
        return 0;
    }
    const int done = PolyLoopOffsetter::Offset(poly, side, distance, pairs, report);
    if (done == 0)
        return 0;
    ClampClosePolyLoop(poly);
    UpdateCacheEx(loop);
    return done;
}

void LoopProcessor::ClampClosePolyLoop(const PolyPatLoopPtr& loop) {
    if (!loop || loop->GetLoopNodes()->size() <= 1)
        return;
    ClampWalk(*loop, loop->GetStartPt(), true);
}

void LoopProcessor::ClampPolygonLoop(const PolyPatLoopPtr& loop, double tolerance) {
    if (!loop || loop->GetLoopNodes()->size() < 2)
        return;
    const bool closed = loop->IsOpenPath(tolerance) == 0;
    ClampWalk(*loop, loop->GetStartPt(), closed);
}

}  // namespace Norvane
