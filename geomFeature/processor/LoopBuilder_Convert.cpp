#include <cstddef>

#include <boost/make_shared.hpp>

#include "geomFeature/loop/ArrayPatLoop.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/loop/StdPatLoop.h"
#include "geomFeature/pattern/IArrayPattern.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/ProcessorTolerance.h"
#include "geomFeature/processor/LoopBuilder.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "geomFeature/processor/PatDecomposer.h"

namespace Norvane {

namespace {

// Two lines given as a polygon retrace one segment when each end of the second
// lies on an end of the first, crosswise (there and back) or in step (the
// second is a copy of the first), within the corner tolerance in x and y.
bool RetraceOneSegment(const IPatternPtr& first, const IPatternPtr& second) {
    const Point2D s1 = first->GetStartPoint();
    const Point2D e1 = first->GetEndPoint();
    const Point2D s2 = second->GetStartPoint();
    const Point2D e2 = second->GetEndPoint();
    const bool crosswise = s2.IsEqual(e1, kTwoLineCornerTol) && e2.IsEqual(s1, kTwoLineCornerTol);
    const bool inStep = s2.IsEqual(s1, kTwoLineCornerTol) && e2.IsEqual(e1, kTwoLineCornerTol);
    return crosswise || inStep;
}

}  // namespace

PolyPatLoopPtr LoopBuilder::BuildPolyLoopByStdPat(const IPatternPtr& pattern) {
    auto loop = boost::make_shared<PolyPatLoop>();
    PatternListPtr pieces = PatDecomposer::DecomposeStdPat(pattern);
    pieces->UpdateCache();
    for (const IPatternPtr& piece : *pieces) {
        loop->AppendPattern(piece, 1);
    }
    LoopProcessor::UpdateCache(IPatLoopPtr(loop));
    return loop;
}

PolyPatLoopPtr LoopBuilder::BuildPolyLoopByStdLoop(const StdPatLoopPtr& loop) {
    int follow = 1;
    const IPatternPtr shape = loop->GetPatByNodeIdx(0, follow);
    PolyPatLoopPtr poly = BuildPolyLoopByStdPat(shape);
    if (follow == 0) {
        poly->ReverseDirection();
    }
    return poly;
}

PolyPatLoopPtr LoopBuilder::BuildPolyLoopByArrayLoop(const ArrayPatLoopPtr& loop) {
    int follow = 1;
    const auto array = boost::dynamic_pointer_cast<IArrayPattern>(loop->GetPatByNodeIdx(0, follow));
    const IPatternPtr seed = array ? array->GetControlPat() : IPatternPtr();
    if (!seed) {
        return PolyPatLoopPtr();
    }
    PolyPatLoopPtr poly = BuildPolyLoopByStdPat(seed);
    if (follow == 0) {
        poly->ReverseDirection();
    }
    return poly;
}

PolyPatLoopPtr LoopBuilder::BuildPolyLoopByPatLoop(const IPatLoopPtr& loop) {
    switch (loop->GetLoopType()) {
        case LOOP_STD:
            return BuildPolyLoopByStdLoop(boost::dynamic_pointer_cast<StdPatLoop>(loop));
        case LOOP_ARRAY:
            return BuildPolyLoopByArrayLoop(boost::dynamic_pointer_cast<ArrayPatLoop>(loop));
        case LOOP_POLY:
            break;
    }
    return boost::dynamic_pointer_cast<PolyPatLoop>(loop);
}

PolyPatLoopPtr LoopBuilder::BuildPolyLoopByPolygon(const PatternListPtr& patterns) {
    auto loop = boost::make_shared<PolyPatLoop>();
    const PatternList& list = *patterns;
    if (list.empty()) {
        return loop;
    }
    loop->AppendPattern(list[0], 1);

    // Two lines that retrace one segment close on themselves at both ends, so
    // "the nearer end" is a coin toss decided by rounding. Settle it: the second
    // line always follows the first, entered at the first line's end.
    if (list.size() == 2 && list[0]->GetPatternType() == PAT_LINE && list[1]->GetPatternType() == PAT_LINE &&
        RetraceOneSegment(list[0], list[1])) {
        const Point2D end = list[0]->GetEndPoint();
        const bool entersAtStart =
            list[1]->GetStartPoint().DistanceTo(end) <= list[1]->GetEndPoint().DistanceTo(end);
        loop->AppendPattern(list[1], entersAtStart ? 1 : 0);
        return loop;
    }

    for (std::size_t k = 1; k < list.size(); ++k) {
        double d = 0.0;
        // No tolerance: the nearest end pair decides, whatever its distance.
        const tagPatConnectType action = NearestEndPair(loop->GetStartPt(), loop->GetEndPt(),
                                                        list[k]->GetStartPoint(), list[k]->GetEndPoint(), d);
        if (ConnectsInFront(action)) {
            loop->InsertPattern(list[k], ConnectFollowFlag(action));
        } else {
            loop->AppendPattern(list[k], ConnectFollowFlag(action));
        }
    }
    return loop;
}

}  // namespace Norvane
