#include "geomFeature/processor/PolyLoopOffsetter.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/loop/LoopTolerance.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/processor/ProcessorTolerance.h"
#include "geomFeature/processor/detail/OffsetChain.h"

namespace Norvane {

namespace {

using detail::OffsetSeg;
using detail::OffsetSegKind;

bool Finite(const Point2D& p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

// The loop's elements in travel order as the engine's curve, each tagged with its node index. Answers
// the failure that stops the offset, or None. Elements of length kOffsetPointTol or less are left out; each
// element is made to start exactly where the one before it ends (the loop closes within 0.0001, so the
// joints move by at most that), and jointGap is set to the widest such move.
LoopOffsetFailure ReadChain(PolyPatLoop& loop, std::vector<OffsetSeg>& chain, double& jointGap) {
    const PatLoopNodeListPtr nodes = loop.GetLoopNodes();
    for (std::size_t i = 0; i < nodes->size(); ++i) {
        const PatLoopNode& node = *(*nodes)[i];
        const IPatternPtr& pattern = node.GetPat();
        if (!pattern)
            return LoopOffsetFailure::UnsupportedPattern;
        OffsetSeg seg;
        if (pattern->GetPatternType() == PAT_LINE) {
            seg = detail::MakeLine(pattern->GetStartPoint(), pattern->GetEndPoint(), OffsetSegKind::Parallel,
                                   static_cast<int>(i));
        } else if (pattern->GetPatternType() == PAT_ARC) {
            const ArcPatternPtr arc = boost::dynamic_pointer_cast<ArcPattern>(pattern);
            if (!arc)
                return LoopOffsetFailure::UnsupportedPattern;
            seg.arc = true;
            seg.c = arc->GetBasePoint();
            seg.r = arc->GetRadius();
            seg.a0 = arc->GetStartAngle();
            seg.sweep = arc->GetMoveAngle();
            seg.a = arc->GetStartPoint();
            seg.b = arc->IsFullCircle() != 0 ? seg.a : arc->GetEndPoint();
            seg.source = static_cast<int>(i);
            if (!std::isfinite(seg.r) || !std::isfinite(seg.sweep) || !Finite(seg.c)) {
                return LoopOffsetFailure::Degenerate;
            }
        } else {
            return LoopOffsetFailure::UnsupportedPattern;
        }
        if (!Finite(seg.a) || !Finite(seg.b))
            return LoopOffsetFailure::Degenerate;
        // An arc of (near) zero radius or sweep is a point, whatever its end points say.
        if (seg.arc && (seg.r <= kOffsetPointTol || std::fabs(seg.sweep) * seg.r <= kOffsetPointTol))
            continue;
        if (node.FollowLoopDir() == 0)
            seg = detail::SegReversed(seg);
        if (detail::SegLength(seg) <= kOffsetPointTol)
            continue;
        chain.push_back(seg);
    }
    jointGap = 0.0;
    for (std::size_t k = 0; k < chain.size(); ++k) {
        const OffsetSeg& before = chain[(k + chain.size() - 1) % chain.size()];
        jointGap = std::max(jointGap, detail::Dist(before.b, chain[k].a));
        detail::SegSetStart(chain[k], before.b);
    }
    return chain.empty() ? LoopOffsetFailure::Degenerate : LoopOffsetFailure::None;
}

std::vector<OffsetSeg> Reversed(const std::vector<OffsetSeg>& chain) {
    std::vector<OffsetSeg> out;
    out.reserve(chain.size());
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) out.push_back(detail::SegReversed(*it));
    return out;
}

// Rotates the closed chain so that it starts with the first piece of the lowest-numbered original element
// that survived: the offset loop then starts where the original did, as far as it can.
void StartAtFirstSource(std::vector<OffsetSeg>& loop) {
    std::size_t best = 0;
    for (std::size_t k = 0; k < loop.size(); ++k) {
        const int s = loop[k].source;
        if (s >= 0 && (loop[best].source < 0 || s < loop[best].source))
            best = k;
    }
    std::rotate(loop.begin(), loop.begin() + static_cast<std::ptrdiff_t>(best), loop.end());
}

IPatternPtr MakePattern(const OffsetSeg& seg) {
    if (!seg.arc)
        return boost::make_shared<LinePattern>(seg.a, seg.b);
    return boost::make_shared<ArcPattern>(seg.c, seg.r, seg.a0, seg.sweep);
}

LoopOffsetFailure FailureOf(detail::ChainOffsetStatus status) {
    switch (status) {
        case detail::ChainOffsetStatus::Ok:
            return LoopOffsetFailure::None;
        case detail::ChainOffsetStatus::Vanishes:
            return LoopOffsetFailure::Vanishes;
        case detail::ChainOffsetStatus::SplitsApart:
            return LoopOffsetFailure::SplitsApart;
        case detail::ChainOffsetStatus::NoValidLoop:
            break;
    }
    return LoopOffsetFailure::NoValidLoop;
}

}  // namespace

int PolyLoopOffsetter::Offset(const PolyPatLoopPtr& loop, int side, double distance, PatIDPairList& pairs) {
    LoopOffsetReport report;
    return Offset(loop, side, distance, pairs, report);
}

int PolyLoopOffsetter::Offset(const PolyPatLoopPtr& loop, int side, double distance, PatIDPairList& pairs,
                              LoopOffsetReport& report) {
    report = LoopOffsetReport();
    const auto fail = [&report](LoopOffsetFailure why) {
        report.failure = why;
        return 0;
    };
    if (!loop)
        return fail(LoopOffsetFailure::NoLoop);
    // Written so that NaN fails too.
    if (!(distance > 0.0) || !std::isfinite(distance))
        return fail(LoopOffsetFailure::BadDistance);
    if (loop->GetLoopNodes()->empty())
        return fail(LoopOffsetFailure::Degenerate);
    if (loop->IsOpenPath(kLoopClosedTol) != 0)
        return fail(LoopOffsetFailure::OpenLoop);

    std::vector<OffsetSeg> chain;
    double jointGap = 0.0;
    const LoopOffsetFailure readFailure = ReadChain(*loop, chain, jointGap);
    if (readFailure != LoopOffsetFailure::None)
        return fail(readFailure);

    double perimeter = 0.0;
    for (const OffsetSeg& s : chain) perimeter += detail::SegLength(s);
    const double area = detail::ChainSignedArea(chain);
    // Inclusive: a loop enclosing no more than a rounding error along its length has no inside to grow.
    if (!std::isfinite(area) || std::fabs(area) <= kOffsetPointTol * perimeter) {
        return fail(LoopOffsetFailure::Degenerate);
    }
    // The engine works on counter-clockwise chains, where growing moves every element to its right.
    const bool clockwise = area < 0.0;
    if (clockwise)
        chain = Reversed(chain);
    const double delta = side == 0 ? distance : -distance;
    detail::ChainOffset offset = detail::OffsetClosedChain(chain, delta, jointGap);
    if (offset.status != detail::ChainOffsetStatus::Ok)
        return fail(FailureOf(offset.status));
    report.voidsFilled = offset.voidsFilled;

    std::vector<OffsetSeg>& result = offset.loop;
    if (clockwise)
        result = Reversed(result);
    StartAtFirstSource(result);

    const PatLoopNodeListPtr nodes = loop->GetLoopNodes();
    std::vector<IPatternPtr> sources;
    sources.reserve(nodes->size());
    for (const PatLoopNodePtr& node : *nodes) sources.push_back(node->GetPat());

    auto fresh = boost::make_shared<PatLoopNodeList>();
    fresh->reserve(result.size());
    pairs.clear();
    IPatternPtr previousSource =
        sources[static_cast<std::size_t>(result.back().source >= 0 ? result.back().source : 0)];
    for (const OffsetSeg& seg : result) {
        const IPatternPtr pattern = MakePattern(seg);
        // A corner arc looks like the element arriving at its corner.
        const IPatternPtr& source =
            seg.source >= 0 ? sources[static_cast<std::size_t>(seg.source)] : previousSource;
        pattern->SetLayerName(source->GetLayerName());
        pattern->SetColorIndex(source->GetColorIndex());
        previousSource = source;
        fresh->push_back(boost::make_shared<PatLoopNode>(pattern, 1));
        pairs.emplace_back(pattern->GetID(), seg.source >= 0 ? source->GetID() : DataID(0));
    }
    nodes->swap(*fresh);
    nodes->SetModified(1);
    loop->SetModified(1);
    return 1;
}

}  // namespace Norvane
