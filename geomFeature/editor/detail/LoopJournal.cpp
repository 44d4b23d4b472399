#include "geomFeature/editor/detail/LoopJournal.h"

#include <algorithm>
#include <cstddef>
#include <map>

#include <boost/make_shared.hpp>

#include "geomFeature/editor/PatternForwarding.h"
#include "geomFeature/host/logkit/LogMgr.h"
#include "geomFeature/loop/ArrayPatLoop.h"
#include "geomFeature/loop/LoopTolerance.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PatLoopNode.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/loop/StdPatLoop.h"
#include "geomFeature/processor/LoopProcessor.h"

namespace Norvane {
namespace detail {

namespace {

using Key = std::vector<std::int64_t>;

// A multiset of keys: how many loops of each shape.
using KeyCount = std::map<Key, int>;

void Count(KeyCount& counts, const Key& key, int delta) {
    counts[key] += delta;
}

}  // namespace

void LoopJournal::Begin(const PatLoopList& loops) {
    m_before = Capture(loops);
}

void LoopJournal::End(PatLoopList& loops, bool forward) {
    std::vector<Shape> after = Capture(loops);
    std::vector<Shape> gone;
    std::vector<Shape> made;
    Diff(m_before, after, gone, made);

    if (!m_recorded) {
        m_removed = std::move(gone);
        m_added = std::move(made);
        m_boundaryBefore = BoundaryOf(m_before);
        m_boundaryAfter = BoundaryOf(after);
        // The record keeps shapes, not loop objects: those may be rebuilt or released meanwhile.
        for (std::vector<Shape>* shapes : {&m_removed, &m_added}) {
            for (Shape& s : *shapes) {
                s.loop.reset();
            }
        }
        for (std::optional<Shape>* boundary : {&m_boundaryBefore, &m_boundaryAfter}) {
            if (boundary->has_value()) {
                (*boundary)->loop.reset();
            }
        }
        m_recorded = true;
        m_before.clear();
        return;
    }

    // The loops now equal before - gone + made; they should equal before - expectGone + expectMade. Both
    // agree exactly when made + expectGone and gone + expectMade are the same multiset of shapes; what is
    // left over on the first side is there and should not be, what is left over on the second is missing.
    const std::vector<Shape>& expectGone = forward ? m_removed : m_added;
    const std::vector<Shape>& expectMade = forward ? m_added : m_removed;
    KeyCount balance;
    for (const Shape& s : made) Count(balance, KeyOf(s), 1);
    for (const Shape& s : expectGone) Count(balance, KeyOf(s), 1);
    for (const Shape& s : gone) Count(balance, KeyOf(s), -1);
    for (const Shape& s : expectMade) Count(balance, KeyOf(s), -1);
    const bool agree =
        std::all_of(balance.begin(), balance.end(), [](const auto& e) { return e.second == 0; });

    if (!agree) {
        // Delete the surplus loops (found among the present ones by shape).
        for (auto& [key, surplus] : balance) {
            for (std::size_t i = 0; i < after.size() && surplus > 0; ++i) {
                if (after[i].loop && KeyOf(after[i]) == key) {
                    loops.DeleteLoop(after[i].loop);
                    after[i].loop.reset();
                    --surplus;
                }
            }
            if (surplus > 0) {
                LogMgr::DebugWarn(L"loop journal: a loop to take back was not found");
            }
        }
        // Rebuild the missing ones from their recorded or captured shapes.
        const auto rebuildFrom = [&](const std::vector<Shape>& shapes) {
            for (const Shape& s : shapes) {
                int& missing = balance[KeyOf(s)];
                if (missing < 0) {
                    const IPatLoopPtr loop = Rebuild(s);
                    LoopProcessor::UpdateCache(loop);
                    loops.push_back(loop);
                    ++missing;
                }
            }
        };
        rebuildFrom(expectMade);
        rebuildFrom(gone);
        after = Capture(loops);
    }
    RestoreBoundary(loops, after, forward ? m_boundaryAfter : m_boundaryBefore);
    m_before.clear();
}

std::vector<LoopJournal::Shape> LoopJournal::Capture(const PatLoopList& loops) {
    std::vector<Shape> shapes;
    shapes.reserve(loops.size());
    for (const IPatLoopPtr& loop : loops) {
        shapes.push_back(CaptureLoop(loop));
    }
    return shapes;
}

LoopJournal::Shape LoopJournal::CaptureLoop(const IPatLoopPtr& loop) {
    Shape shape;
    shape.loop = loop;
    shape.type = loop->GetLoopType();
    shape.closed = loop->IsOpenPath(kLoopClosedTol) == 0;
    shape.boundary = loop->IsBoundaryLoop() != 0;
    const PatLoopNodeListPtr nodes = loop->GetLoopNodes();
    shape.patterns.reserve(nodes->size());
    shape.follows.reserve(nodes->size());
    for (const PatLoopNodePtr& node : *nodes) {
        shape.patterns.push_back(node->GetPat());
        shape.follows.push_back(node->FollowLoopDir() != 0 ? 1 : 0);
    }
    return shape;
}

// Same loop object with the same chain, read the same way. Closedness counts too: a chain whose patterns
// moved may close or open without a node changing, and the key (which depends on it) must not differ
// between two shapes taken as the same.
bool LoopJournal::SameNodes(const Shape& a, const Shape& b) {
    return a.loop == b.loop && a.closed == b.closed && a.patterns == b.patterns && a.follows == b.follows;
}

// Kind, closedness, then the (identifier, follow) pairs in a normal order: an open chain read in the sense
// that gives the smaller sequence, a closed one from its smallest identifier in the sense whose next pair
// is smaller. Reading a chain backwards flips every follow flag. Identifiers are those of the patterns
// standing for the recorded ones now.
LoopJournal::Key LoopJournal::KeyOf(const Shape& shape) {
    const std::size_t n = shape.patterns.size();
    std::vector<std::int64_t> ids(n);
    for (std::size_t i = 0; i < n; ++i) {
        const IPatternPtr pattern = PatternForwarding::Resolve(shape.patterns[i]);
        ids[i] = pattern ? pattern->GetID() : 0;
    }
    const auto read = [&](std::size_t start, bool backwards) {
        Key seq;
        seq.reserve(2 * n);
        for (std::size_t k = 0; k < n; ++k) {
            const std::size_t i = backwards ? (start + n - k) % n : (start + k) % n;
            seq.push_back(ids[i]);
            seq.push_back(backwards ? 1 - shape.follows[i] : shape.follows[i]);
        }
        return seq;
    };
    Key best;
    if (n > 0) {
        if (shape.closed) {
            const std::size_t start =
                static_cast<std::size_t>(std::min_element(ids.begin(), ids.end()) - ids.begin());
            best = std::min(read(start, false), read(start, true));
        } else {
            best = std::min(read(0, false), read(n - 1, true));
        }
    }
    Key key{static_cast<std::int64_t>(shape.type), shape.closed ? 1 : 0};
    key.insert(key.end(), best.begin(), best.end());
    return key;
}

IPatLoopPtr LoopJournal::Rebuild(const Shape& shape) {
    if (shape.type != LOOP_POLY && !shape.patterns.empty()) {
        const auto node =
            boost::make_shared<PatLoopNode>(PatternForwarding::Resolve(shape.patterns[0]), shape.follows[0]);
        if (shape.type == LOOP_STD) {
            return boost::make_shared<StdPatLoop>(node);
        }
        return boost::make_shared<ArrayPatLoop>(node);
    }
    auto loop = boost::make_shared<PolyPatLoop>();
    for (std::size_t i = 0; i < shape.patterns.size(); ++i) {
        loop->AppendPattern(PatternForwarding::Resolve(shape.patterns[i]), shape.follows[i]);
    }
    return loop;
}

// gone: the loops of `before` that are not in `after` with the same nodes; made: the reverse.
void LoopJournal::Diff(const std::vector<Shape>& before, const std::vector<Shape>& after,
                       std::vector<Shape>& gone, std::vector<Shape>& made) {
    std::map<const IPatLoop*, std::size_t> beforeIndex;
    for (std::size_t i = 0; i < before.size(); ++i) {
        beforeIndex.emplace(before[i].loop.get(), i);
    }
    std::vector<bool> kept(before.size(), false);
    for (const Shape& s : after) {
        const auto it = beforeIndex.find(s.loop.get());
        if (it != beforeIndex.end() && !kept[it->second] && SameNodes(before[it->second], s)) {
            kept[it->second] = true;
        } else {
            made.push_back(s);
        }
    }
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (!kept[i]) {
            gone.push_back(before[i]);
        }
    }
}

std::optional<LoopJournal::Shape> LoopJournal::BoundaryOf(const std::vector<Shape>& shapes) {
    for (const Shape& s : shapes) {
        if (s.boundary) {
            return s;
        }
    }
    return std::nullopt;
}

void LoopJournal::RestoreBoundary(PatLoopList& loops, const std::vector<Shape>& now,
                                  const std::optional<Shape>& boundary) {
    const std::optional<Shape> current = BoundaryOf(now);
    const bool same =
        current.has_value() == boundary.has_value() && (!current || KeyOf(*current) == KeyOf(*boundary));
    if (same) {
        return;
    }
    for (const IPatLoopPtr& loop : loops) {
        loop->IsBoundaryLoop(0);
    }
    if (!boundary) {
        return;
    }
    const Key wanted = KeyOf(*boundary);
    for (const Shape& s : now) {
        if (s.loop && KeyOf(s) == wanted) {
            s.loop->IsBoundaryLoop(1);
            return;
        }
    }
}

}  // namespace detail
}  // namespace Norvane
