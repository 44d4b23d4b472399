#pragma once

// Fingerprints of a part (its pattern list and loop list) for the editor tests: what the undo/redo model
// check compares after every step, and the invariants every edited part must keep.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

#include <boost/pointer_cast.hpp>

#include "geomFeature/editor/PatternForwarding.h"
#include "geomFeature/host/appframe/DataProperty.h"
#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/loop/LoopTolerance.h"
#include "geomFeature/loop/PatLoopCache.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PatLoopNode.h"
#include "geomFeature/pattern/PatRelation.h"
#include "geomFeature/pattern/PatRelationList.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {
namespace testutil {

inline void PushBits(std::vector<std::uint64_t>& bits, double v) {
    bits.push_back(std::bit_cast<std::uint64_t>(v));
}

inline void PushOutline(std::vector<std::uint64_t>& bits, const Geom2DList& geoms) {
    bits.push_back(geoms.size());
    for (const IGeom2DPtr& g : geoms) {
        const Point2D s = g->GetStartPoint();
        const Point2D e = g->GetEndPoint();
        PushBits(bits, s.x);
        PushBits(bits, s.y);
        PushBits(bits, e.x);
        PushBits(bits, e.y);
        if (const auto arc = boost::dynamic_pointer_cast<Arc2D>(g)) {
            PushBits(bits, arc->GetRadius());
            PushBits(bits, arc->GetSweepAngle());
        }
    }
}

// Everything a pattern's geometry consists of, bit for bit: type, reference point and vector, colour, and
// its outline (which every other value of a shape or an array shapes): freshly computed, or as cached.
inline std::vector<std::uint64_t> GeometryBits(const IPatternPtr& p, bool cached = false) {
    std::vector<std::uint64_t> bits;
    bits.push_back(static_cast<std::uint64_t>(p->GetPatternType()));
    PushBits(bits, p->GetBasePoint().x);
    PushBits(bits, p->GetBasePoint().y);
    PushBits(bits, p->GetBaseVector().x);
    PushBits(bits, p->GetBaseVector().y);
    bits.push_back(static_cast<std::uint64_t>(p->GetColorIndex()));
    PushOutline(bits, cached ? *p->GetCacheData()->GetBaseGeom() : *p->CalcBaseGeomList());
    return bits;
}

struct PatternFacts {
    IPatternPtr object;
    std::vector<std::uint64_t> bits;
    std::vector<std::pair<int, IPatternPtr>> relations;  // type, target
};

struct LoopFacts {
    int type = 0;
    bool closed = false;
    std::vector<IPatternPtr> patterns;
    std::vector<int> follows;
};

struct PartFacts {
    std::vector<PatternFacts> patterns;
    std::vector<LoopFacts> loops;
    std::optional<LoopFacts> boundary;
};

inline LoopFacts FactsOf(const IPatLoopPtr& loop) {
    LoopFacts facts;
    facts.type = loop->GetLoopType();
    facts.closed = loop->IsOpenPath(kLoopClosedTol) == 0;
    for (const PatLoopNodePtr& node : *loop->GetLoopNodes()) {
        facts.patterns.push_back(node->GetPat());
        facts.follows.push_back(node->FollowLoopDir() != 0 ? 1 : 0);
    }
    return facts;
}

inline PartFacts CaptureFacts(const PatternList& patterns, const PatLoopList& loops) {
    PartFacts facts;
    for (const IPatternPtr& p : patterns) {
        PatternFacts pf{p, GeometryBits(p), {}};
        const PatRelationListPtr relations = p->GetPatRelationList();
        for (int i = 0; i < relations->GetCount(); ++i) {
            const PatRelationPtr r = relations->GetPatRelationByIndex(i);
            pf.relations.emplace_back(r->GetRelationType(), r->GetTargetPat());
        }
        facts.patterns.push_back(pf);
    }
    for (const IPatLoopPtr& loop : loops) {
        facts.loops.push_back(FactsOf(loop));
        if (loop->IsBoundaryLoop() != 0) {
            facts.boundary = facts.loops.back();
        }
    }
    return facts;
}

// A loop as numbers that are the same for the same chain read from any start (closed) and in either sense:
// kind, closedness, then (identifier, follow flag) pairs read from the smallest identifier (closed) or
// from either end (open), in the sense that gives the smaller sequence.
using LoopKey = std::vector<long long>;

inline LoopKey KeyOfLoop(const LoopFacts& loop) {
    const std::size_t n = loop.patterns.size();
    std::vector<long long> ids(n);
    for (std::size_t i = 0; i < n; ++i) {
        ids[i] = PatternForwarding::Resolve(loop.patterns[i])->GetID();
    }
    const auto read = [&](std::size_t start, bool back) {
        LoopKey seq;
        for (std::size_t k = 0; k < n; ++k) {
            const std::size_t i = back ? (start + n - k) % n : (start + k) % n;
            seq.push_back(ids[i]);
            seq.push_back(back ? 1 - loop.follows[i] : loop.follows[i]);
        }
        return seq;
    };
    LoopKey key{loop.type, loop.closed ? 1 : 0};
    if (n > 0) {
        const std::size_t first =
            loop.closed ? static_cast<std::size_t>(std::min_element(ids.begin(), ids.end()) - ids.begin())
                        : 0;
        const LoopKey best = std::min(read(first, false), read(loop.closed ? first : n - 1, true));
        key.insert(key.end(), best.begin(), best.end());
    }
    return key;
}

inline std::string LoopText(const LoopFacts& loop) {
    const LoopKey key = KeyOfLoop(loop);
    std::ostringstream os;
    os << "kind " << key[0] << (key[1] ? " closed [" : " open [");
    for (std::size_t i = 2; i + 1 < key.size(); i += 2) {
        os << key[i] << (key[i + 1] ? '+' : '-') << ' ';
    }
    os << ']';
    return os.str();
}

inline std::multiset<LoopKey> LoopKeys(const std::vector<LoopFacts>& loops) {
    std::multiset<LoopKey> keys;
    for (const LoopFacts& loop : loops) {
        keys.insert(KeyOfLoop(loop));
    }
    return keys;
}

// "" when the part matches the facts recorded earlier: the same pattern objects (a pattern rebuilt by a redo
// standing for the one it replaces), their geometry bit for bit and their relations, and loops chaining the
// same patterns in the same order (either sense) with the same boundary loop. Otherwise what differs.
inline std::string CompareFacts(const PartFacts& expected, const PartFacts& now) {
    std::ostringstream out;
    std::map<const IPattern*, const PatternFacts*> present;
    for (const PatternFacts& pf : now.patterns) {
        present[pf.object.get()] = &pf;
    }
    if (now.patterns.size() != expected.patterns.size()) {
        out << "pattern count " << now.patterns.size() << ", expected " << expected.patterns.size() << "; ";
    }
    for (const PatternFacts& want : expected.patterns) {
        const IPatternPtr object = PatternForwarding::Resolve(want.object);
        const auto it = present.find(object.get());
        if (it == present.end()) {
            out << "pattern " << want.object->GetID() << " (type " << want.object->GetPatternType()
                << ") is missing; ";
            continue;
        }
        if (it->second->bits != want.bits) {
            out << "pattern " << object->GetID() << " has other geometry; ";
        }
        std::vector<std::pair<int, IPattern*>> wantRel;
        std::vector<std::pair<int, IPattern*>> haveRel;
        for (const auto& [type, target] : want.relations) {
            wantRel.emplace_back(type, PatternForwarding::Resolve(target).get());
        }
        for (const auto& [type, target] : it->second->relations) {
            haveRel.emplace_back(type, PatternForwarding::Resolve(target).get());
        }
        if (wantRel != haveRel) {
            out << "pattern " << object->GetID() << " has other relations; ";
        }
    }
    if (LoopKeys(expected.loops) != LoopKeys(now.loops)) {
        out << "loops differ: expected {";
        for (const LoopFacts& loop : expected.loops) out << LoopText(loop) << "; ";
        out << "} got {";
        for (const LoopFacts& loop : now.loops) out << LoopText(loop) << "; ";
        out << "}; ";
    }
    const LoopKey wantBoundary = expected.boundary ? KeyOfLoop(*expected.boundary) : LoopKey();
    const LoopKey haveBoundary = now.boundary ? KeyOfLoop(*now.boundary) : LoopKey();
    if (wantBoundary != haveBoundary) {
        out << "boundary " << (now.boundary ? LoopText(*now.boundary) : "none") << ", expected "
            << (expected.boundary ? LoopText(*expected.boundary) : "none") << "; ";
    }
    return out.str();
}

// "" when the part is consistent: no pattern twice, every loop node on a pattern of the list, every
// pattern that is not an array's seed in exactly one loop, at most one boundary loop, and every cache
// current (each pattern's outline as it would be computed now, as captured in `facts`, each loop's box and
// outline those of its patterns' caches).
inline std::string CheckInvariants(const PatternList& patterns, const PatLoopList& loops,
                                   const PartFacts& facts) {
    std::ostringstream out;
    std::unordered_map<const IPattern*, const std::vector<std::uint64_t>*> fresh;
    fresh.reserve(facts.patterns.size());
    for (const PatternFacts& pf : facts.patterns) {
        fresh[pf.object.get()] = &pf.bits;
    }
    std::unordered_map<DataID, int> inList;
    inList.reserve(patterns.size());
    for (const IPatternPtr& p : patterns) {
        if (++inList[p->GetID()] > 1) {
            out << "pattern " << p->GetID() << " listed twice; ";
        }
        if (fresh.count(p.get()) != 0 && GeometryBits(p, true) != *fresh.at(p.get())) {
            out << "pattern " << p->GetID() << " has a stale cache; ";
        }
    }
    std::unordered_map<DataID, int> inLoops;
    inLoops.reserve(patterns.size());
    int boundaries = 0;
    for (const IPatLoopPtr& loop : loops) {
        boundaries += loop->IsBoundaryLoop() != 0 ? 1 : 0;
        std::vector<const IGeom2D*> expectedGeoms;
        Rect2D box;
        bool first = true;
        for (const PatLoopNodePtr& node : *loop->GetLoopNodes()) {
            const IPatternPtr& p = node->GetPat();
            ++inLoops[p->GetID()];
            if (inList.count(p->GetID()) == 0) {
                out << "loop node on pattern " << p->GetID() << " that is not in the list; ";
            }
            for (const IGeom2DPtr& g : *p->GetCacheData()->GetBaseGeom()) {
                expectedGeoms.push_back(g.get());
            }
            if (first) {
                box = p->GetCacheData()->GetRect();
                first = false;
            } else {
                box.Union(p->GetCacheData()->GetRect());
            }
        }
        std::vector<const IGeom2D*> cachedGeoms;
        for (const IGeom2DPtr& g : *loop->GetCacheData()->GetLoopBaseGeom()) {
            cachedGeoms.push_back(g.get());
        }
        const Rect2D cachedBox = loop->GetCacheData()->GetLoopRect();
        if (cachedGeoms != expectedGeoms ||
            (!first && !(cachedBox.left == box.left && cachedBox.right == box.right &&
                         cachedBox.bottom == box.bottom && cachedBox.top == box.top))) {
            out << "a loop (" << LoopText(FactsOf(loop)) << ") has a stale cache; ";
        }
    }
    for (const IPatternPtr& p : patterns) {
        const int count = inLoops.count(p->GetID()) != 0 ? inLoops[p->GetID()] : 0;
        if (!p->IsControlPat() && count != 1) {
            out << "pattern " << p->GetID() << " is in " << count << " loops; ";
        }
    }
    if (boundaries > 1) {
        out << boundaries << " boundary loops; ";
    }
    return out.str();
}

}  // namespace testutil
}  // namespace Norvane
