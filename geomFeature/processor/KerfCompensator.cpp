// Kerf compensation: every closed loop of a part moved half the kerf into the scrap, each by the exact
// means available for its kind, and a report of what the cut will still get wrong.
#include "geomFeature/processor/KerfCompensator.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/RepeatData.h"
#include "geomFeature/loop/LoopTolerance.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/pattern/IArrayPattern.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/pattern/RCHolePattern.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "geomFeature/processor/LoopTopItem.h"
#include "geomFeature/processor/LoopTopItemList.h"
#include "geomFeature/processor/PatDecomposer.h"
#include "geomFeature/processor/ProcessorTolerance.h"
#include "geomFeature/processor/detail/KerfGeometry.h"

namespace Norvane {

namespace {

using detail::Outline;

// Offset sides, as every offset operation reads them.
constexpr int kGrow = 0;
constexpr int kShrink = 1;

// Where each closed loop sits in the nesting tree, and which loops' paths could meet: loops of one level
// that all grow into the scrap around them, and a hole with each island inside it.
struct Nesting {
    std::unordered_map<const IPatLoop*, KerfLoopRole> roles;
    std::vector<std::vector<IPatLoopPtr>> growingSiblings;
    std::vector<std::pair<IPatLoopPtr, IPatLoopPtr>> holeIslands;
};

// depth: closed loops around this level. Open loops enclose nothing: what the tree puts below one sits at
// the open loop's own depth and inside the same hole.
void Walk(const LoopTopItemListPtr& level, int depth, const IPatLoopPtr& hole, Nesting& nesting) {
    std::vector<IPatLoopPtr> closed;
    for (const LoopTopItemPtr& item : *level) {
        const IPatLoopPtr& loop = item->GetPatLoop();
        const bool open = loop->IsOpenPath(kLoopClosedTol) != 0;
        const KerfLoopRole role = open         ? KerfLoopRole::Open
                                  : depth == 0 ? KerfLoopRole::Outer
                                  : depth % 2  ? KerfLoopRole::Hole
                                               : KerfLoopRole::Island;
        nesting.roles[loop.get()] = role;
        if (!open) {
            closed.push_back(loop);
            if (hole && role == KerfLoopRole::Island) {
                nesting.holeIslands.emplace_back(hole, loop);
            }
        }
        const IPatLoopPtr inside = role == KerfLoopRole::Hole ? loop : open ? hole : IPatLoopPtr();
        Walk(item->GetSubItemList(), open ? depth : depth + 1, inside, nesting);
    }
    if (depth % 2 == 0 && closed.size() > 1) {
        nesting.growingSiblings.push_back(std::move(closed));
    }
}

// What the offset of one loop does to the lists: the loops standing where it stood (none: the same loop
// object stays), the patterns leaving the pattern list and those joining it.
struct Change {
    std::size_t index = 0;
    std::vector<IPatLoopPtr> replacement;
    std::vector<DataID> removed;
    std::vector<IPatternPtr> added;
};

IPatternPtr NodePattern(const IPatLoopPtr& loop) {
    return loop->GetLoopNodes()->empty() ? IPatternPtr() : loop->GetPatByNodeIdx(0);
}

// The shape whose dimensions an offset changes: a standard shape itself, an array's seed.
IPatternPtr ShapeOf(const IPatternPtr& pattern) {
    if (const auto array = boost::dynamic_pointer_cast<IArrayPattern>(pattern)) {
        return array->GetControlPat();
    }
    return pattern;
}

KerfLoopOutcome Describe(const IPatLoopPtr& loop, KerfLoopRole role) {
    KerfLoopOutcome outcome;
    outcome.loopID = loop->GetID();
    outcome.kind = loop->GetLoopType();
    outcome.role = role;
    if (const PatLoopCachePtr cache = loop->GetCacheData()) {
        outcome.box = cache->GetLoopRect();
    }
    outcome.elements = loop->GetLoopNodes()->size();
    const IPatternPtr pattern = NodePattern(loop);
    if (outcome.kind != LOOP_POLY && pattern) {
        const IPatternPtr shape = ShapeOf(pattern);
        outcome.shape = shape ? shape->GetPatternType() : pattern->GetPatternType();
        if (const auto array = boost::dynamic_pointer_cast<IArrayPattern>(pattern)) {
            const RepeatDataPtr repeat = array->GetRepeatData();
            outcome.elements = 1 + (repeat ? repeat->size() : 0);
        }
    }
    return outcome;
}

// Copies, so that the drawn outline outlives the changes made in place.
Outline CopyOutline(const IPatLoopPtr& loop) {
    Outline outline;
    if (const PatLoopCachePtr cache = loop->GetCacheData()) {
        for (const IGeom2DPtr& g : *cache->GetLoopBaseGeom()) outline.push_back(g->Clone());
    }
    return outline;
}

void AppendOutline(Outline& outline, const IPatLoopPtr& loop) {
    if (const PatLoopCachePtr cache = loop->GetCacheData()) {
        outline.insert(outline.end(), cache->GetLoopBaseGeom()->begin(), cache->GetLoopBaseGeom()->end());
    }
}

// Whether a shape's own offset is its exact offset to that side. Shrinking keeps a convex shape's sharp
// corners sharp, as the exact offset does; growing would keep them sharp too, where the exact offset
// rounds them. A rounded rectangle is exact once its corner radius is moved by d (SetCornerRadius), as long
// as its corners stay round: shrunk with r <= d they turn sharp, and a zero radius is no corner arc.
bool OwnOffsetIsExact(const IPatternPtr& shape, int side, double d) {
    switch (shape->GetPatternType()) {
        case PAT_CIRCLE:
        case PAT_OBROUND:
        case PAT_RAD_SLOT:
            return true;
        case PAT_RECT_HOLE:
        case PAT_TR_HOLE:
        case PAT_SINGLE_D:
        case PAT_DOUBLE_D:
            return side != kGrow;
        case PAT_RC_HOLE: {
            const auto rc = boost::dynamic_pointer_cast<RCHolePattern>(shape);
            return rc && (side == kGrow || rc->GetArcRadius() > d);  // strict: r == d leaves radius 0
        }
        default:
            return false;  // an ellipse's offset is no ellipse
    }
}

// The shape's (or the array's) own offset, made exact for a rounded rectangle, whose own offset scales the
// corner radius with the length.
bool OwnOffset(const IPatLoopPtr& loop, const IPatternPtr& pattern, const IPatternPtr& shape, int side,
               double d, LoopOffsetReport& report) {
    const auto rc = boost::dynamic_pointer_cast<RCHolePattern>(shape);
    const double radius = rc ? rc->GetArcRadius() : 0.0;
    if (LoopProcessor::OffsetPolyLoop(PatternListPtr(), loop, side, d, report) == 0) {
        return false;
    }
    if (rc) {
        rc->SetArcRadius(side == kGrow ? radius + d : radius - d);
        rc->UpdateCache();
        if (pattern != shape) {
            pattern->UpdateCache();  // the array draws its copies from the seed
        }
        LoopProcessor::UpdateCacheEx(loop);
    }
    return true;
}

// The lines and arcs of a standard shape's outline as a closed polygon loop of new patterns, which carry
// the shape's layer and colour.
PolyPatLoopPtr OutlineLoop(const IPatternPtr& shape) {
    auto loop = boost::make_shared<PolyPatLoop>();
    const PatternListPtr pieces = PatDecomposer::DecomposeStdPat(shape);
    for (const IPatternPtr& piece : *pieces) {
        piece->SetLayerName(shape->GetLayerName());
        piece->SetColorIndex(shape->GetColorIndex());
        piece->UpdateCache();
        loop->AppendPattern(piece, 1);
    }
    LoopProcessor::UpdateCache(IPatLoopPtr(loop));
    return loop;
}

// A standard shape, or every copy of an array, offset by the engine as the lines and arcs of its outline.
// All copies or none: the array stays whole when one copy cannot be offset.
bool OutlineOffset(const IPatLoopPtr& loop, const IPatternPtr& pattern, int side, double d,
                   LoopOffsetReport& report, Change& change) {
    PatternListPtr shapes;
    std::vector<DataID> removed{pattern->GetID()};
    if (const auto array = boost::dynamic_pointer_cast<IArrayPattern>(pattern)) {
        shapes = PatDecomposer::DecomposeGridPat(array);
        if (const IPatternPtr seed = array->GetControlPat()) {
            removed.push_back(seed->GetID());
        }
    } else {
        shapes = boost::make_shared<PatternList>();
        shapes->push_back(pattern);
    }
    std::vector<IPatLoopPtr> made;
    int voids = 0;
    for (const IPatternPtr& shape : *shapes) {
        shape->UpdateCache();
        const PolyPatLoopPtr poly = OutlineLoop(shape);
        PatIDPairList pairs;
        LoopOffsetReport one;
        if (LoopProcessor::OffsetPolyLoop(poly, side, d, pairs, one) == 0) {
            report = one;
            return false;
        }
        voids += one.voidsFilled;
        made.push_back(poly);
    }
    if (made.empty()) {
        report.failure = LoopOffsetFailure::Degenerate;
        return false;
    }
    made.front()->SetID(loop->GetID());
    for (const IPatLoopPtr& poly : made) {
        for (const PatLoopNodePtr& node : *poly->GetLoopNodes()) change.added.push_back(node->GetPat());
    }
    change.replacement = std::move(made);
    change.removed = std::move(removed);
    report = LoopOffsetReport();
    report.voidsFilled = voids;
    return true;
}

// Offsets one closed loop; fills the outcome and the change to the lists.
void OffsetOne(const IPatLoopPtr& loop, int side, double d, KerfLoopOutcome& outcome, Change& change) {
    const Outline drawn = CopyOutline(loop);
    LoopOffsetReport report;
    if (loop->GetLoopType() == LOOP_POLY) {
        std::vector<DataID> old;
        for (const PatLoopNodePtr& node : *loop->GetLoopNodes()) {
            if (node->GetPat()) {
                old.push_back(node->GetPat()->GetID());
            }
        }
        PatIDPairList pairs;
        if (LoopProcessor::OffsetPolyLoop(loop, side, d, pairs, report) != 0) {
            outcome.method = KerfMethod::Engine;
            change.removed = std::move(old);
            for (const PatLoopNodePtr& node : *loop->GetLoopNodes()) change.added.push_back(node->GetPat());
        }
    } else if (const IPatternPtr pattern = NodePattern(loop)) {
        const IPatternPtr shape = ShapeOf(pattern);
        if (shape && OwnOffsetIsExact(shape, side, d) && OwnOffset(loop, pattern, shape, side, d, report)) {
            outcome.method = KerfMethod::OwnShape;
        } else if (OutlineOffset(loop, pattern, side, d, report, change)) {
            outcome.method = KerfMethod::Outline;
        }
    } else {
        report.failure = LoopOffsetFailure::Degenerate;
    }
    if (!outcome.Offset()) {
        outcome.failure =
            report.failure == LoopOffsetFailure::None ? LoopOffsetFailure::ShapeRefuses : report.failure;
        return;
    }
    outcome.voidsFilled = report.voidsFilled;

    Outline cut;
    if (change.replacement.empty()) {
        AppendOutline(cut, loop);
    } else {
        for (const IPatLoopPtr& made : change.replacement) AppendOutline(cut, made);
    }
    // Within the kerf of the path means within reach of the cutter's edge (the path itself lies d away).
    const double reach = 2.0 * d * (1.0 + kKerfReachRelTol);
    const detail::FarPoint far = detail::FarthestBeyond(drawn, cut, reach);
    if (far.distance > 0.0) {
        outcome.miss = far.distance - d;
        outcome.missAt = far.at;
    }
}

// Puts every change into the lists at once: one pass over the pattern list, however many loops changed.
void Apply(const std::vector<Change>& changes, PatternList& patterns, PatLoopList& loops) {
    if (changes.empty()) {
        return;
    }
    std::unordered_set<DataID> removed;
    std::unordered_map<std::size_t, const Change*> replaced;
    for (const Change& change : changes) {
        removed.insert(change.removed.begin(), change.removed.end());
        if (!change.replacement.empty()) {
            replaced.emplace(change.index, &change);
        }
    }
    std::erase_if(patterns, [&removed](const IPatternPtr& p) { return p && removed.count(p->GetID()) != 0; });
    for (const Change& change : changes) {
        patterns.insert(patterns.end(), change.added.begin(), change.added.end());
    }
    if (!replaced.empty()) {
        std::vector<IPatLoopPtr> rebuilt;
        rebuilt.reserve(loops.size() + replaced.size());
        for (std::size_t i = 0; i < loops.size(); ++i) {
            const auto it = replaced.find(i);
            if (it == replaced.end()) {
                rebuilt.push_back(loops[i]);
            } else {
                rebuilt.insert(rebuilt.end(), it->second->replacement.begin(), it->second->replacement.end());
            }
        }
        loops.assign(rebuilt.begin(), rebuilt.end());
    }
}

// The compensated paths of loops that face the same scrap, where they meet.
class CrossingFinder {
public:
    CrossingFinder(const std::unordered_map<const IPatLoop*, std::vector<IPatLoopPtr>>& now,
                   KerfReport& report)
        : m_now(now), m_report(report) {}

    void Siblings(const std::vector<IPatLoopPtr>& group) {
        std::vector<std::size_t> order(group.size());
        std::vector<Rect2D> boxes;
        for (std::size_t k = 0; k < group.size(); ++k) {
            order[k] = k;
            boxes.push_back(detail::OutlineBox(OutlineOf(group[k])));
        }
        std::sort(order.begin(), order.end(),
                  [&boxes](std::size_t a, std::size_t b) { return boxes[a].left < boxes[b].left; });
        // Sweep along x: only loops whose boxes overlap can meet.
        for (std::size_t i = 0; i < order.size(); ++i) {
            const Rect2D& a = boxes[order[i]];
            for (std::size_t j = i + 1; j < order.size() && boxes[order[j]].left <= a.right + kKerfCrossTol;
                 ++j) {
                const Rect2D& b = boxes[order[j]];
                if (b.bottom <= a.top + kKerfCrossTol && a.bottom <= b.top + kKerfCrossTol) {
                    Check(group[order[i]], group[order[j]]);
                }
            }
        }
    }

    void Check(const IPatLoopPtr& a, const IPatLoopPtr& b) {
        Point2D at;
        if (detail::FindCrossing(OutlineOf(a), OutlineOf(b), kKerfCrossTol, at)) {
            m_report.crossings.push_back(KerfCrossing{a->GetID(), b->GetID(), at});
        }
    }

private:
    const Outline& OutlineOf(const IPatLoopPtr& loop) {
        auto [it, fresh] = m_outlines.try_emplace(loop.get());
        if (fresh) {
            const auto replaced = m_now.find(loop.get());
            if (replaced == m_now.end()) {
                AppendOutline(it->second, loop);
            } else {
                for (const IPatLoopPtr& made : replaced->second) AppendOutline(it->second, made);
            }
        }
        return it->second;
    }

    const std::unordered_map<const IPatLoop*, std::vector<IPatLoopPtr>>& m_now;
    KerfReport& m_report;
    std::unordered_map<const IPatLoop*, Outline> m_outlines;
};

}  // namespace

std::size_t KerfCompensator::Compensate(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                        double kerf, KerfReport& report) {
    report = KerfReport();
    // Written so that NaN is refused too.
    if (!patterns || !loops || !(kerf > 0.0) || !std::isfinite(kerf)) {
        return 0;
    }
    report.kerf = kerf;
    const double d = kerf / 2.0;
    LoopProcessor::UpdateCacheEx(loops);
    Nesting nesting;
    Walk(LoopProcessor::CalcLoopTopStruct(loops), 0, IPatLoopPtr(), nesting);

    std::vector<Change> changes;
    std::unordered_map<const IPatLoop*, std::vector<IPatLoopPtr>> now;  // what stands for a replaced loop
    report.loops.reserve(loops->size());
    for (std::size_t i = 0; i < loops->size(); ++i) {
        const IPatLoopPtr loop = (*loops)[i];
        const auto it = nesting.roles.find(loop.get());
        const KerfLoopRole role = it == nesting.roles.end() ? KerfLoopRole::Open : it->second;
        KerfLoopOutcome outcome = Describe(loop, role);
        if (role != KerfLoopRole::Open) {
            Change change;
            change.index = i;
            OffsetOne(loop, role == KerfLoopRole::Hole ? kShrink : kGrow, d, outcome, change);
            if (!change.replacement.empty()) {
                now.emplace(loop.get(), change.replacement);
            }
            if (!change.removed.empty() || !change.added.empty()) {
                changes.push_back(std::move(change));
            }
        }
        report.loops.push_back(outcome);
    }

    CrossingFinder crossings(now, report);
    for (const std::vector<IPatLoopPtr>& group : nesting.growingSiblings) crossings.Siblings(group);
    for (const auto& [hole, island] : nesting.holeIslands) crossings.Check(hole, island);

    Apply(changes, *patterns, *loops);
    const std::size_t offset = report.CountOffset();
    if (offset > 0) {
        patterns->SetModified(1);  // shapes offset in place changed no list entry, but the part changed
        loops->SetModified(1);
    }
    if (!loops->empty()) {
        loops->UpdateBoundaryLoop();
    }
    return offset;
}

}  // namespace Norvane
