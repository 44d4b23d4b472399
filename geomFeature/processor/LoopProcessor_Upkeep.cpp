// Loop upkeep: keeping a part's loops in step with single pattern edits (add, delete, change) and dropping
// degenerate nodes, without rebuilding every loop from scratch.

#include <algorithm>
#include <vector>

#include <boost/make_shared.hpp>

#include "geomFeature/loop/ArrayPatLoop.h"
#include "geomFeature/loop/LoopTolerance.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PatLoopNode.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/loop/StdPatLoop.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/ProcessorTolerance.h"
#include "geomFeature/processor/LoopBuilder.h"
#include "geomFeature/processor/LoopProcessor.h"

namespace Norvane {

namespace {

bool IsOpen(const IPatLoopPtr& loop) {
    return loop->IsOpenPath(kLoopClosedTol) != 0;
}

// Chains patterns into polygon loops and appends them at the end of loops.
void AppendRebuiltChains(PatLoopList& loops, const PatternListPtr& patterns, double tolerance) {
    PatLoopListPtr chains = LoopBuilder::BuildPolyPatLoops(patterns, tolerance);
    loops.insert(loops.end(), chains->begin(), chains->end());
}

// A pattern is tiny when its cached box fits within size in both extents.
bool IsTinyPattern(const IPatternPtr& pattern, double size) {
    return pattern->GetCacheData()->GetRect().InRange(size, size) != 0;
}

// Keeps, in order, the nodes of a polygon loop whose pattern is not tiny; other loops are left alone.
void DropTinyNodes(const IPatLoopPtr& loop, double size) {
    if (loop->GetLoopType() != LOOP_POLY) {
        return;
    }
    PatLoopNodeList& nodes = *loop->GetLoopNodes();
    std::vector<PatLoopNodePtr> kept;
    kept.reserve(nodes.size());
    for (const PatLoopNodePtr& node : nodes) {
        if (!IsTinyPattern(node->GetPat(), size)) {
            kept.push_back(node);
        }
    }
    nodes.clear();
    nodes.insert(nodes.end(), kept.begin(), kept.end());
}

}  // namespace

void LoopProcessor::AddPatToLoopList(const PatLoopListPtr& loops, const IPatternPtr& pattern,
                                     double tolerance) {
    if (pattern->IsStdPat()) {
        loops->push_back(boost::make_shared<StdPatLoop>(boost::make_shared<PatLoopNode>(pattern, 1)));
        return;
    }
    if (pattern->IsArrayPat()) {
        loops->push_back(boost::make_shared<ArrayPatLoop>(boost::make_shared<PatLoopNode>(pattern, 1)));
        return;
    }

    PatLoopListPtr touched = loops->GetOpenLoopLinkToPat(pattern, tolerance);
    if (touched->size() == 1) {
        boost::dynamic_pointer_cast<PolyPatLoop>(touched->front())->AddPattern(pattern, tolerance);
        return;
    }

    // No loop to join (a lone pattern starts one) or several (the pattern may bridge them): chain the
    // touched loops' patterns and the new one afresh.
    auto collected = boost::make_shared<PatternList>();
    for (const IPatLoopPtr& loop : *touched) {
        collected->AddPatterns(loop->GetPatternList());
    }
    collected->push_back(pattern);
    for (const IPatLoopPtr& loop : *touched) {
        loops->DeleteLoop(loop);
    }
    AppendRebuiltChains(*loops, collected, tolerance);
}

void LoopProcessor::AddPatToLoopListEx(const PatLoopListPtr& loops, const IPatternPtr& pattern,
                                       double tolerance) {
    AddPatToLoopList(loops, pattern, tolerance);
    UpdateCache(loops);
    loops->UpdateBoundaryLoop();
}

void LoopProcessor::DelPatFromLoopList(const PatLoopListPtr& loops, const IPatternPtr& pattern,
                                       double tolerance) {
    const IPatLoopPtr loop = loops->FindLoopByPat(pattern);
    if (!loop) {
        return;
    }
    if (pattern->IsStdPat() || pattern->IsArrayPat()) {
        loops->DeleteLoop(loop);
        return;
    }
    const PolyPatLoopPtr poly = boost::dynamic_pointer_cast<PolyPatLoop>(loop);
    if (loop->GetLoopType() != LOOP_POLY || !poly) {
        return;
    }

    if (!IsOpen(loop)) {
        // Open the ring where the pattern was: rotating it to the head first makes the remaining chain run
        // from its successor round to its predecessor.
        AdjustToHead(loop, pattern);
        poly->RemovePattern(pattern);
    } else if (poly->PatAtOpenLoopEnd(pattern)) {
        poly->RemovePattern(pattern);
    } else {
        // Inside an open chain: what lies on either side becomes a chain of its own.
        loops->DeleteLoop(loop);
        PatternListPtr rest = loop->GetPatternList();
        rest->RemovePattern(pattern);
        if (!rest->empty()) {
            AppendRebuiltChains(*loops, rest, tolerance);
        }
        return;
    }
    if (loop->GetPatternList()->empty()) {
        loops->DeleteLoop(loop);
    }
}

void LoopProcessor::DelPatFromLoopListEx(const PatLoopListPtr& loops, const IPatternPtr& pattern,
                                         double tolerance) {
    DelPatFromLoopList(loops, pattern, tolerance);
    UpdateCache(loops);
    if (!loops->empty()) {
        loops->UpdateBoundaryLoop();
    }
}

void LoopProcessor::ChangePatInLoopList(const PatLoopListPtr& loops, const PatternListPtr& changed) {
    // A closed loop all of whose patterns changed moved (or turned) as a whole: its chain still holds.
    PatLoopListPtr whole = loops->GetLoopWithinPats(changed);
    for (const IPatLoopPtr& loop : *whole) {
        if (!IsOpen(loop)) {
            changed->RemovePatterns(loop->GetPatternList());
        }
    }
    for (const IPatternPtr& pattern : *changed) {
        DelPatFromLoopList(loops, pattern, kEditJoinTol);
        AddPatToLoopList(loops, pattern, kEditJoinTol);
    }
    UpdateCache(loops);
    loops->UpdateBoundaryLoop();
}

void LoopProcessor::AdjustToHead(const IPatLoopPtr& loop, const IPatternPtr& pattern) {
    const int head = loop->GetNodeIdxByPatID(pattern->GetID());
    if (head <= 0) {
        return;  // first already, or not in the loop
    }
    PatLoopNodeList& nodes = *loop->GetLoopNodes();
    std::rotate(nodes.begin(), nodes.begin() + head, nodes.end());
}

void LoopProcessor::RemoveTinyLoopNode(const PatLoopListPtr& loops, double size) {
    for (const IPatLoopPtr& loop : *loops) {
        DropTinyNodes(loop, size);
    }
}

void LoopProcessor::RemoveTinyLoopNode(const PatLoopListPtr& loops, const PatternListPtr& patterns,
                                       double size) {
    auto kept = boost::make_shared<PatternList>();
    PatternListPtr seeds = patterns->GetAllCtrlPat();
    for (const IPatLoopPtr& loop : *loops) {
        DropTinyNodes(loop, size);
        kept->AddPatterns(loop->GetPatternList());
    }
    // An array loop already lists its seed; a seed is appended only when no loop brought it in, so that
    // the pattern list never holds one pattern twice.
    for (const IPatternPtr& seed : *seeds) {
        if (kept->GetPatternIndex(seed) < 0) {
            kept->push_back(seed);
        }
    }
    patterns->clear();
    patterns->AddPatterns(kept);
}

}  // namespace Norvane
