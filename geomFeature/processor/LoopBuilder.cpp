#include "geomFeature/processor/LoopBuilder.h"

#include <cmath>
#include <cstddef>
#include <deque>
#include <iterator>
#include <utility>
#include <vector>

#include <boost/make_shared.hpp>

#include "geomFeature/host/appframe/ProgressMeter.h"
#include "geomFeature/loop/ArrayPatLoop.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PatLoopNode.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/loop/StdPatLoop.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/ProcessorTolerance.h"
#include "geomFeature/processor/detail/PointGrid.h"

namespace Norvane {

PatLoopListPtr LoopBuilder::BuildPatLoops(const PatternListPtr& patterns, double tolerance,
                                          ProgressMeter* progress) {
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
        PatLoopListPtr chains = BuildPolyPatLoops(loose, tolerance, progress);
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

// The chaining rule needs, for each joint, the free patterns with an end within tolerance of one of the
// chain's ends; an index of all end points answers that without looking at the others. The list is
// permuted exactly as a plain scan would permute it (the taken pattern is swapped to the front of the free
// ones), and among the patterns the index finds, the choice is the one the scan in list order would make:
// the first exact joint in list order, else the nearest, ties going to the earlier in the list. A pattern
// the index does not report has no end within tolerance, so the scan would have passed over it.
PatLoopListPtr LoopBuilder::BuildPolyPatLoops(const PatternListPtr& patterns, double tolerance,
                                              ProgressMeter* progress) {
    auto result = boost::make_shared<PatLoopList>();
    PatternList& list = *patterns;
    const std::size_t n = list.size();
    if (n == 0) {
        return result;
    }

    // Patterns are known by their number in the given order (o); the list's current order is tracked both
    // ways, since the swaps move them.
    // Progress: the end points and their index in the first tenth, the chains in the rest.
    std::vector<Point2D> ends(2 * n);
    for (std::size_t o = 0; o < n; ++o) {
        if (progress) {
            progress->Step(o, 10 * n);
        }
        ends[2 * o] = list[o]->GetStartPoint();
        ends[2 * o + 1] = list[o]->GetEndPoint();
    }
    const detail::PointGrid grid(ends, detail::PointGrid::CellFor(tolerance), [&] {
        if (progress) {
            progress->Step(n, 10 * n);
        }
    });
    std::vector<std::size_t> positionOf(n);
    std::vector<std::size_t> numberAt(n);
    for (std::size_t o = 0; o < n; ++o) {
        positionOf[o] = numberAt[o] = o;
    }
    std::vector<std::size_t> seenAt(n,
                                    n);  // per pattern, the step (its value of placed) that last weighed it

    // list[0..placed] are in chains (the last of them in the current one); the rest are free.
    std::size_t placed = 0;
    std::deque<std::pair<std::size_t, int>> chain;  // (pattern number, follow flag) in chain order
    Point2D chainStart;
    Point2D chainEnd;
    auto startChain = [&](std::size_t o) {
        chain.assign(1, {o, 1});
        chainStart = ends[2 * o];
        chainEnd = ends[2 * o + 1];
    };
    auto finishChain = [&]() {
        auto loop = boost::make_shared<PolyPatLoop>();
        loop->GetLoopNodes()->reserve(chain.size());
        for (const auto& [o, follow] : chain) {
            loop->AppendPattern(list[positionOf[o]], follow);
        }
        result->push_back(loop);
    };
    startChain(0);
    for (;;) {
        if (progress && !progress->Step(n + 9 * placed, 10 * n)) {
            finishChain();
            return result;
        }
        std::size_t exactAt = n;  // position of the first exact joint
        tagPatConnectType exactAction = CONNECT_NONE;
        std::size_t nearestAt = n;  // position of the nearest other joint
        tagPatConnectType nearestAction = CONNECT_NONE;
        double best = kNoCandidateYet;
        auto consider = [&](std::size_t end) {
            const std::size_t o = end / 2;
            const std::size_t at = positionOf[o];
            if (at <= placed || seenAt[o] == placed) {
                return;
            }
            seenAt[o] = placed;
            double d = 0.0;
            const tagPatConnectType type =
                NearestEndPair(chainStart, chainEnd, ends[2 * o], ends[2 * o + 1], d);
            if (!(d < tolerance)) {  // strict, as GetPatConnectInfo
                return;
            }
            if (d <= kExactJointTol) {
                if (at < exactAt) {
                    exactAt = at;
                    exactAction = type;
                }
            } else if (d < best || (d == best && nearestAt != n && at < nearestAt)) {
                best = d;
                nearestAt = at;
                nearestAction = type;
            }
        };
        grid.ForEachNear(chainStart, tolerance, consider);
        grid.ForEachNear(chainEnd, tolerance, consider);

        const std::size_t candidate = exactAt != n ? exactAt : nearestAt;
        if (candidate != n) {
            const tagPatConnectType action = exactAt != n ? exactAction : nearestAction;
            const std::size_t o = numberAt[candidate];
            const int follow = ConnectFollowFlag(action);
            // The chain end the piece now forms: where it is left (in front) or where it leaves (behind).
            if (ConnectsInFront(action)) {
                chain.emplace_front(o, follow);
                chainStart = follow ? ends[2 * o] : ends[2 * o + 1];
            } else {
                chain.emplace_back(o, follow);
                chainEnd = follow ? ends[2 * o + 1] : ends[2 * o];
            }
            const std::size_t front = placed + 1;
            std::swap(list[candidate], list[front]);
            std::swap(numberAt[candidate], numberAt[front]);
            positionOf[numberAt[candidate]] = candidate;
            positionOf[numberAt[front]] = front;
            ++placed;
            continue;
        }

        finishChain();
        if (placed + 1 >= n) {
            return result;
        }
        ++placed;
        startChain(numberAt[placed]);
    }
}

namespace {

// Where a loop node is entered and left, as PolyPatLoop reads its chain ends.
Point2D EntryPoint(const PatLoopNode& node) {
    return node.FollowLoopDir() != 0 ? node.GetPat()->GetStartPoint() : node.GetPat()->GetEndPoint();
}
Point2D ExitPoint(const PatLoopNode& node) {
    return node.FollowLoopDir() != 0 ? node.GetPat()->GetEndPoint() : node.GetPat()->GetStartPoint();
}

}  // namespace

// As in BuildPolyPatLoops, an index of the free loops' end points finds the loops that can meet a chain
// end; of those, the first in the list's current order is taken, which is the one a scan of the list would
// take first.
PatLoopListPtr LoopBuilder::BuildClosedLoopByOpenLoop(const PatLoopListPtr& openLoops, double tolerance) {
    auto result = boost::make_shared<PatLoopList>();
    PatLoopList& loops = *openLoops;
    const std::size_t m = loops.size();
    if (m == 0) {
        return result;
    }

    // Only non-empty polygon loops can be joined; the others have no ends in the index.
    std::vector<PolyPatLoopPtr> polys(m);
    std::vector<Point2D> ends(2 * m, Point2D(std::nan(""), std::nan("")));
    for (std::size_t o = 0; o < m; ++o) {
        polys[o] = boost::dynamic_pointer_cast<PolyPatLoop>(loops[o]);
        if (polys[o] && !polys[o]->GetLoopNodes()->empty()) {
            ends[2 * o] = polys[o]->GetStartPt();
            ends[2 * o + 1] = polys[o]->GetEndPt();
        } else {
            polys[o].reset();
        }
    }
    const detail::PointGrid grid(ends, detail::PointGrid::CellFor(tolerance));
    std::vector<std::size_t> positionOf(m);
    std::vector<std::size_t> numberAt(m);
    for (std::size_t o = 0; o < m; ++o) {
        positionOf[o] = numberAt[o] = o;
    }

    // As in BuildPolyPatLoops, loops[0..placed] are used and the last of them is in the current chain.
    std::size_t placed = 0;
    bool chaining = false;             // the current chain is a polygon loop being grown
    std::deque<PatLoopNodePtr> chain;  // its nodes (the very node objects of the joined loops)
    IPatLoopPtr passOn;                // or a loop of another kind, which joins nothing
    auto startChain = [&](std::size_t o) {
        chain.clear();
        passOn.reset();
        chaining = loops[positionOf[o]]->GetLoopType() == LOOP_POLY;
        if (!chaining) {
            passOn = loops[positionOf[o]];
            return;
        }
        const PatLoopNodeListPtr from = loops[positionOf[o]]->GetLoopNodes();
        chain.assign(from->begin(), from->end());
    };
    startChain(0);
    for (;;) {
        std::size_t takenAt = m;
        tagLoopConnectType action = CONNECT_NONE;
        if (chaining && !chain.empty()) {
            const Point2D chainStart = EntryPoint(*chain.front());
            const Point2D chainEnd = ExitPoint(*chain.back());
            auto consider = [&](std::size_t end) {
                const std::size_t o = end / 2;
                const std::size_t at = positionOf[o];
                if (at <= placed || at >= takenAt) {
                    return;
                }
                double d = 0.0;
                const tagLoopConnectType type =
                    NearestEndPair(chainStart, chainEnd, ends[2 * o], ends[2 * o + 1], d);
                if (d < tolerance) {  // strict, as GetLoopConnectInfo
                    takenAt = at;
                    action = type;
                }
            };
            grid.ForEachNear(chainStart, tolerance, consider);
            grid.ForEachNear(chainEnd, tolerance, consider);
        }

        if (takenAt != m) {
            const std::size_t o = numberAt[takenAt];
            const PolyPatLoopPtr& other = polys[o];
            if (ConnectFollowFlag(action) == 0) {
                other->ReverseDirection();
            }
            const PatLoopNodeListPtr from = other->GetLoopNodes();
            if (ConnectsInFront(action)) {
                chain.insert(chain.begin(), from->begin(), from->end());
            } else {
                chain.insert(chain.end(), from->begin(), from->end());
            }
            const std::size_t front = placed + 1;
            std::swap(loops[takenAt], loops[front]);
            std::swap(numberAt[takenAt], numberAt[front]);
            positionOf[numberAt[takenAt]] = takenAt;
            positionOf[numberAt[front]] = front;
            ++placed;
            continue;
        }

        if (chaining) {
            auto loop = boost::make_shared<PolyPatLoop>();
            loop->GetLoopNodes()->assign(chain.begin(), chain.end());
            result->push_back(loop);
        } else {
            result->push_back(passOn);
        }
        if (placed + 1 >= m) {
            return result;
        }
        ++placed;
        startChain(numberAt[placed]);
    }
}

}  // namespace Norvane
