#include "tests/import/reference/ReferenceAlgorithms.h"

#include <cstddef>
#include <iterator>
#include <utility>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/Polygon2D.h"
#include "geomFeature/host/geomkit/PolygonBuilder.h"
#include "geomFeature/host/mathkit/IntegerList.h"
#include "geomFeature/loop/ArrayPatLoop.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PatLoopNode.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/loop/StdPatLoop.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/ImportPipeline.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "geomFeature/processor/LoopTopItem.h"
#include "geomFeature/processor/LoopTopItemList.h"
#include "geomFeature/processor/PatConnectType.h"
#include "geomFeature/processor/PatGrouper.h"
#include "geomFeature/processor/PatProcessor.h"
#include "geomFeature/processor/ProcessorTolerance.h"

namespace Norvane {
namespace reference {

namespace {

bool Absorbs(const IPatternPtr& a, const IPatternPtr& b, double tolerance) {
    if (const auto line = boost::dynamic_pointer_cast<LinePattern>(a)) {
        return line->MergeWith(b, tolerance) != 0;
    }
    if (const auto arc = boost::dynamic_pointer_cast<ArcPattern>(a)) {
        return arc->MergeWith(b) != 0;
    }
    return false;
}

tagPatConnectType NearestEndPair(const Point2D& chainStart, const Point2D& chainEnd, const Point2D& start,
                                 const Point2D& end, double& distance) {
    const std::pair<tagPatConnectType, double> pairs[] = {
        {CONNECT_START_AT_END, start.DistanceTo(chainEnd)},
        {CONNECT_END_AT_END, end.DistanceTo(chainEnd)},
        {CONNECT_START_AT_START, start.DistanceTo(chainStart)},
        {CONNECT_END_AT_START, end.DistanceTo(chainStart)},
    };
    tagPatConnectType best = pairs[0].first;
    distance = pairs[0].second;
    for (std::size_t k = 1; k < std::size(pairs); ++k) {
        if (pairs[k].second < distance) {
            best = pairs[k].first;
            distance = pairs[k].second;
        }
    }
    return best;
}

bool Encloses(const IPatLoopPtr& outer, const IPatLoopPtr& inner) {
    if (outer->IsOpenPath(kTopologyOpenTol))
        return false;
    const PatLoopCachePtr outerCache = outer->GetCacheData();
    const PatLoopCachePtr innerCache = inner->GetCacheData();
    if (!outerCache || !innerCache)
        return false;
    if (!outerCache->GetLoopRect().IncludeRect(innerCache->GetLoopRect()))
        return false;
    if (inner->IsOpenPath(kTopologyOpenTol))
        return true;
    const Poly2DList outerPolys =
        PolygonBuilder::BuildPolyListFromLineArc(outerCache->GetLoopBaseGeom(), kTopologyPolygonTol);
    const Poly2DList innerPolys =
        PolygonBuilder::BuildPolyListFromLineArc(innerCache->GetLoopBaseGeom(), kTopologyPolygonTol);
    if (outerPolys.empty() || innerPolys.empty() || !outerPolys[0] || !innerPolys[0])
        return false;
    return outerPolys[0]->IncludePolygon(*innerPolys[0]) != 0;
}

void AddLoopToTop(const LoopTopItemListPtr& level, const LoopTopItemPtr& item) {
    const IPatLoopPtr& loop = item->GetPatLoop();
    bool gathered = false;
    for (auto it = level->begin(); it != level->end();) {
        if (Encloses(loop, (*it)->GetPatLoop())) {
            item->GetSubItemList()->push_back(*it);
            it = level->erase(it);
            gathered = true;
        } else {
            ++it;
        }
    }
    if (!gathered) {
        for (const LoopTopItemPtr& existing : *level) {
            if (Encloses(existing->GetPatLoop(), loop)) {
                AddLoopToTop(existing->GetSubItemList(), item);
                return;
            }
        }
    }
    if (!level->TopItemExist(item))
        level->push_back(item);
}

}  // namespace

void MergePattern(const PatternListPtr& patterns, double tolerance, std::vector<DataID>& removedIds) {
    PatternList& list = *patterns;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const IPatternPtr a = list[i];
        if (!a)
            continue;
        std::size_t j = i + 1;
        while (j < list.size()) {
            const IPatternPtr b = list[j];
            if (!b || b->GetPatternType() != a->GetPatternType()) {
                ++j;
                continue;
            }
            const bool duplicate = a->IsDuplicate(b) != 0;
            const bool absorbed = !duplicate && Absorbs(a, b, tolerance);
            if (!duplicate && !absorbed) {
                ++j;
                continue;
            }
            removedIds.push_back(b->GetID());
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(j));
            if (absorbed) {
                a->UpdateCache();
                j = i + 1;
            }
        }
    }
}

PatLoopListPtr BuildPolyPatLoops(const PatternListPtr& patterns, double tolerance) {
    auto result = boost::make_shared<PatLoopList>();
    PatternList& list = *patterns;
    const std::size_t n = list.size();
    if (n == 0)
        return result;
    std::size_t placed = 0;
    auto chain = boost::make_shared<PolyPatLoop>();
    chain->AppendPattern(list[0], 1);
    for (;;) {
        const Point2D chainStart = chain->GetStartPt();
        const Point2D chainEnd = chain->GetEndPt();
        double best = kNoCandidateYet;
        std::size_t candidate = n;
        tagPatConnectType action = CONNECT_NONE;
        for (std::size_t j = placed + 1; j < n; ++j) {
            double d = 0.0;
            const tagPatConnectType nearest =
                NearestEndPair(chainStart, chainEnd, list[j]->GetStartPoint(), list[j]->GetEndPoint(), d);
            if (!(d < tolerance))
                continue;
            if (d <= kExactJointTol) {
                candidate = j;
                action = nearest;
                break;
            }
            if (d < best) {
                best = d;
                candidate = j;
                action = nearest;
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
        if (placed + 1 >= n)
            return result;
        ++placed;
        chain = boost::make_shared<PolyPatLoop>();
        chain->AppendPattern(list[placed], 1);
    }
}

PatLoopListPtr BuildPatLoops(const PatternListPtr& patterns, double tolerance) {
    auto result = boost::make_shared<PatLoopList>();
    auto loose = boost::make_shared<PatternList>();
    for (const IPatternPtr& pattern : *patterns) {
        if (pattern->IsControlPat())
            continue;
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

PatLoopListPtr BuildClosedLoopByOpenLoop(const PatLoopListPtr& openLoops, double tolerance) {
    auto result = boost::make_shared<PatLoopList>();
    PatLoopList& loops = *openLoops;
    const std::size_t m = loops.size();
    if (m == 0)
        return result;
    std::size_t placed = 0;
    PolyPatLoopPtr chain;
    IPatLoopPtr passOn;
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
        std::size_t taken = m;
        tagPatConnectType action = CONNECT_NONE;
        PolyPatLoopPtr other;
        if (chain && !chain->GetLoopNodes()->empty()) {
            const Point2D chainStart = chain->GetStartPt();
            const Point2D chainEnd = chain->GetEndPt();
            for (std::size_t j = placed + 1; j < m; ++j) {
                other = boost::dynamic_pointer_cast<PolyPatLoop>(loops[j]);
                if (!other || other->GetLoopNodes()->empty())
                    continue;
                double d = 0.0;
                const tagPatConnectType nearest =
                    NearestEndPair(chainStart, chainEnd, other->GetStartPt(), other->GetEndPt(), d);
                if (d < tolerance) {
                    taken = j;
                    action = nearest;
                    break;
                }
            }
        }
        if (taken != m) {
            if (ConnectFollowFlag(action) == 0)
                other->ReverseDirection();
            PatLoopNodeListPtr nodes = chain->GetLoopNodes();
            PatLoopNodeListPtr from = other->GetLoopNodes();
            nodes->insert(ConnectsInFront(action) ? nodes->begin() : nodes->end(), from->begin(),
                          from->end());
            std::swap(loops[taken], loops[placed + 1]);
            ++placed;
            continue;
        }
        result->push_back(chain ? IPatLoopPtr(chain) : passOn);
        if (placed + 1 >= m)
            return result;
        ++placed;
        startChain(loops[placed]);
    }
}

LoopTopItemListPtr CalcLoopTopStruct(const PatLoopListPtr& loops) {
    auto top = boost::make_shared<LoopTopItemList>();
    for (const IPatLoopPtr& loop : *loops) {
        auto item = boost::make_shared<LoopTopItem>(loop);
        if (top->empty()) {
            top->push_back(item);
        } else {
            AddLoopToTop(top, item);
        }
    }
    return top;
}

void RemovePatternsEx(PatternList& patterns, const IntegerListPtr& ids) {
    for (std::size_t i = 0; i < patterns.size();) {
        if (patterns[i] && ids->Include(patterns[i]->GetID())) {
            patterns.erase(patterns.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
}

void RemovePatterns(PatternList& patterns, const PatternListPtr& other) {
    std::vector<DataID> ids;
    for (const IPatternPtr& pattern : *other) {
        if (pattern)
            ids.push_back(pattern->GetID());
    }
    for (const DataID id : ids) {
        for (std::size_t i = 0; i < patterns.size(); ++i) {
            if (patterns[i] && patterns[i]->GetID() == id) {
                patterns.erase(patterns.begin() + static_cast<std::ptrdiff_t>(i));
                break;
            }
        }
    }
}

void DeleteLoopList(PatLoopList& loops, const PatLoopListPtr& doomed) {
    const std::vector<IPatLoopPtr> copy(doomed->begin(), doomed->end());
    for (const IPatLoopPtr& loop : copy) {
        for (std::size_t i = 0; i < loops.size(); ++i) {
            if (loops[i]->GetID() == loop->GetID()) {
                std::swap(loops[i], loops.back());
                loops.pop_back();
                break;
            }
        }
    }
}

Part RunImport(const PatternListPtr& patterns, const ImportOptions& options) {
    Part part;
    part.patterns = patterns;
    patterns->UpdateCache();
    if (options.merge) {
        std::vector<DataID> merged;
        MergePattern(patterns, options.mergeTol, merged);
    }
    if (options.removeTiny) {
        patterns->UpdateCache();
        PatProcessor::RemoveTinyPatterns(patterns, options.tinySize);
    }
    if (options.moveToOrigin && !patterns->empty()) {
        PatProcessor::AdjustOriginToLB(patterns);
    }
    part.loops =
        patterns->empty() ? boost::make_shared<PatLoopList>() : BuildPatLoops(patterns, options.joinTol);
    LoopProcessor::UpdateCache(part.loops);
    if (options.recognise) {
        ImportPipeline::OrientClosedLoops(part.loops);
        PatGrouper::GroupPat(patterns, part.loops);
    }
    if (options.nest) {
        LoopProcessor::UpdateCache(part.loops);
        part.tree = CalcLoopTopStruct(part.loops);
        if (!part.loops->empty())
            part.loops->UpdateBoundaryLoop();
    }
    return part;
}

}  // namespace reference
}  // namespace Norvane
