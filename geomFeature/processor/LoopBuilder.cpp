#include "geomFeature/processor/LoopBuilder.h"

#include <cstddef>
#include <iterator>
#include <utility>

#include <boost/make_shared.hpp>

#include "geomFeature/loop/ArrayPatLoop.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PatLoopNode.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/loop/StdPatLoop.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/ProcessorTolerance.h"

namespace Norvane {

PatLoopListPtr LoopBuilder::BuildPatLoops(const PatternListPtr& patterns, double tolerance) {
    auto result = boost::make_shared<PatLoopList>();
    auto loose = boost::make_shared<PatternList>();
    for (const IPatternPtr& pattern : *patterns) {
        if (pattern->IsControlPat()) {
            continue;  // a seed is drawn only through its array, whose loop stands for it
        }
        if (pattern->IsStdPat()) {
            result->push_back(boost::make_shared<StdPatLoop>(boost::make_shared<PatLoopNode>(pattern, 1)));
        } else if (pattern->IsArrayPat()) {
            result->push_back(boost::make_shared<ArrayPatLoop>(boost::make_shared<PatLoopNode>(pattern, 1)));
        } else {
            loose->push_back(pattern);
        }
    }
    if (!loose->empty()) {
        PatLoopListPtr chains = BuildPolyPatLoops(loose, tolerance);
        result->insert(result->end(), chains->begin(), chains->end());
    }
    return result;
}

tagPatConnectType LoopBuilder::NearestEndPair(const Point2D& chainStart, const Point2D& chainEnd,
                                              const Point2D& start, const Point2D& end, double& distance) {
    // The order matters for ties: joints at the chain's end are preferred to joints at its start, and the
    // piece's start to its end.
    const std::pair<tagPatConnectType, double> pairs[] = {
        {CONNECT_START_AT_END, start.DistanceTo(chainEnd)},
        {CONNECT_END_AT_END, end.DistanceTo(chainEnd)},
        {CONNECT_START_AT_START, start.DistanceTo(chainStart)},
        {CONNECT_END_AT_START, end.DistanceTo(chainStart)},
    };
    tagPatConnectType best = pairs[0].first;
    distance = pairs[0].second;
    for (std::size_t k = 1; k < std::size(pairs); ++k) {
        if (pairs[k].second < distance) {  // strict: an equal distance keeps the earlier pair
            best = pairs[k].first;
            distance = pairs[k].second;
        }
    }
    return best;
}

tagPatConnectType LoopBuilder::GetPatConnectInfo(const Point2D& chainStart, const Point2D& chainEnd,
                                                 const IPatternPtr& pattern, double tolerance,
                                                 double& distance) {
    const tagPatConnectType nearest =
        NearestEndPair(chainStart, chainEnd, pattern->GetStartPoint(), pattern->GetEndPoint(), distance);
    // Strict: ends exactly `tolerance` apart do not meet.
    return distance < tolerance ? nearest : CONNECT_NONE;
}

tagLoopConnectType LoopBuilder::GetLoopConnectInfo(const Point2D& chainStart, const Point2D& chainEnd,
                                                   const PolyPatLoopPtr& loop, double tolerance,
                                                   double& distance) {
    const tagLoopConnectType nearest =
        NearestEndPair(chainStart, chainEnd, loop->GetStartPt(), loop->GetEndPt(), distance);
    return distance < tolerance ? nearest : CONNECT_NONE;
}

PatLoopListPtr LoopBuilder::BuildPolyPatLoops(const PatternListPtr& patterns, double tolerance) {
    auto result = boost::make_shared<PatLoopList>();
    PatternList& list = *patterns;
    const std::size_t n = list.size();
    if (n == 0) {
        return result;
    }

    // list[0..placed] are in chains (the last of them, list[placed], in the current one); the rest are
    // free. Every joint moves the joined pattern to list[placed + 1], so each scan sees only free patterns.
    std::size_t placed = 0;
    auto chain = boost::make_shared<PolyPatLoop>();
    chain->AppendPattern(list[0], 1);
    for (;;) {
        const Point2D chainStart = chain->GetStartPt();
        const Point2D chainEnd = chain->GetEndPt();
        double best = kNoCandidateYet;
        std::size_t candidate = n;  // none
        tagPatConnectType action = CONNECT_NONE;
        for (std::size_t j = placed + 1; j < n; ++j) {
            double d = 0.0;
            const tagPatConnectType type = GetPatConnectInfo(chainStart, chainEnd, list[j], tolerance, d);
            if (type == CONNECT_NONE) {
                continue;
            }
            if (d <= kExactJointTol) {  // inclusive: an exact joint ends the scan, first in list order wins
                candidate = j;
                action = type;
                break;
            }
            if (d < best) {  // strict: of equally near candidates the earlier stays
                best = d;
                candidate = j;
                action = type;
            }
        }

        if (candidate != n) {
            if (ConnectsInFront(action)) {
                chain->InsertPattern(list[candidate], ConnectFollowFlag(action));
            } else {
                chain->AppendPattern(list[candidate], ConnectFollowFlag(action));
            }
            std::swap(list[candidate], list[placed + 1]);
            ++placed;
            continue;
        }

        result->push_back(chain);
        if (placed + 1 >= n) {
            return result;
        }
        ++placed;
        chain = boost::make_shared<PolyPatLoop>();
        chain->AppendPattern(list[placed], 1);
    }
}

PatLoopListPtr LoopBuilder::BuildClosedLoopByOpenLoop(const PatLoopListPtr& openLoops, double tolerance) {
    auto result = boost::make_shared<PatLoopList>();
    PatLoopList& loops = *openLoops;
    const std::size_t m = loops.size();
    if (m == 0) {
        return result;
    }

    // As in BuildPolyPatLoops, loops[0..placed] are used and the last of them is in the current chain.
    std::size_t placed = 0;
    PolyPatLoopPtr chain;
    IPatLoopPtr passOn;  // a loop of another kind: it joins nothing and nothing joins it
    // A chain takes over the node objects of the loop it starts from.
    auto startChain = [&](const IPatLoopPtr& first) {
        chain.reset();
        passOn.reset();
        if (first->GetLoopType() != LOOP_POLY) {
            passOn = first;
            return;
        }
        chain = boost::make_shared<PolyPatLoop>();
        PatLoopNodeListPtr from = first->GetLoopNodes();
        chain->GetLoopNodes()->insert(chain->GetLoopNodes()->end(), from->begin(), from->end());
    };
    startChain(loops[0]);
    for (;;) {
        std::size_t taken = m;  // none
        tagLoopConnectType action = CONNECT_NONE;
        PolyPatLoopPtr other;
        if (chain && !chain->GetLoopNodes()->empty()) {
            const Point2D chainStart = chain->GetStartPt();
            const Point2D chainEnd = chain->GetEndPt();
            for (std::size_t j = placed + 1; j < m; ++j) {
                other = boost::dynamic_pointer_cast<PolyPatLoop>(loops[j]);
                if (!other || other->GetLoopNodes()->empty()) {
                    continue;
                }
                double d = 0.0;
                action = GetLoopConnectInfo(chainStart, chainEnd, other, tolerance, d);
                if (action != CONNECT_NONE) {  // the first loop that meets an end, not the nearest
                    taken = j;
                    break;
                }
            }
        }

        if (taken != m) {
            if (ConnectFollowFlag(action) == 0) {
                other->ReverseDirection();
            }
            PatLoopNodeListPtr nodes = chain->GetLoopNodes();
            PatLoopNodeListPtr from = other->GetLoopNodes();
            nodes->insert(ConnectsInFront(action) ? nodes->begin() : nodes->end(), from->begin(),
                          from->end());
            std::swap(loops[taken], loops[placed + 1]);
            ++placed;
            continue;
        }

        result->push_back(chain ? IPatLoopPtr(chain) : passOn);
        if (placed + 1 >= m) {
            return result;
        }
        ++placed;
        startChain(loops[placed]);
    }
}

}  // namespace Norvane
