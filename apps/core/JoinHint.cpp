#include "apps/core/JoinHint.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <unordered_map>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/processor/LoopBuilder.h"
#include "geomFeature/processor/ProcessorTolerance.h"

namespace Norvane {

namespace {

// The smallest of 1, 2 and 5 times a power of ten that lies strictly above x (joints are strict: ends
// exactly the tolerance apart do not meet).
double NiceAbove(double x) {
    const double decade = std::pow(10.0, std::floor(std::log10(x)));
    for (const double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m * decade > x) {
            return m * decade;
        }
    }
    return 10.0 * decade;
}

}  // namespace

void JoinHint::Fill(const Part& part, double joinTol, PartSummary& summary) {
    if (summary.openLoops.empty() || !part.loops || !summary.hasBox) {
        return;
    }
    std::vector<IPatternPtr> pieces;
    std::vector<std::size_t> owner;  // index into summary.openLoops, per piece
    for (std::size_t k = 0; k < summary.openLoops.size(); ++k) {
        const PatternListPtr patterns = (*part.loops)[summary.openLoops[k].index]->GetPatternList();
        for (const IPatternPtr& pattern : *patterns) {
            pieces.push_back(pattern);
            owner.push_back(k);
        }
    }
    if (pieces.empty() || pieces.size() > kMaxPieces) {
        return;
    }

    // How far each contour's ends must reach to meet another end (its own other end included).
    std::vector<Point2D> ends;
    for (const PartSummary::OpenLoop& open : summary.openLoops) {
        ends.push_back(open.start);
        ends.push_back(open.end);
    }
    const double maxTol = kMaxRelativeJoinTol * std::hypot(summary.box.Width(), summary.box.Height());
    std::set<double> candidates;
    for (std::size_t k = 0; k < summary.openLoops.size(); ++k) {
        double reach = 0.0;
        for (std::size_t e = 2 * k; e < 2 * k + 2; ++e) {
            double nearest = std::numeric_limits<double>::infinity();
            for (std::size_t other = 0; other < ends.size(); ++other) {
                if (other != e) {
                    nearest = std::min(nearest, ends[e].DistanceTo(ends[other]));
                }
            }
            reach = std::max(reach, nearest);
        }
        if (!(reach > 0.0) || !std::isfinite(reach)) {
            continue;
        }
        const double tol = NiceAbove(reach);
        if (tol > joinTol && tol <= maxTol) {
            candidates.insert(tol);
        }
    }

    int tries = 0;
    for (const double tol : candidates) {
        if (++tries > kMaxTries) {
            break;
        }
        const auto copies = boost::make_shared<PatternList>();
        std::unordered_map<const IPattern*, std::size_t> ownerOf;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            const IPatternPtr copy = boost::dynamic_pointer_cast<IPattern>(pieces[i]->Clone());
            if (!copy) {
                return;
            }
            copy->UpdateCache();
            copies->push_back(copy);
            ownerOf[copy.get()] = owner[i];
        }
        const PatLoopListPtr loops = LoopBuilder::BuildPatLoops(copies, tol);
        bool allFound = true;
        for (const IPatLoopPtr& loop : *loops) {
            if (loop->IsOpenPath(kOpenLoopTol)) {
                continue;
            }
            const PatternListPtr patterns = loop->GetPatternList();  // a new list each call: keep it alive
            for (const IPatternPtr& pattern : *patterns) {
                const auto it = ownerOf.find(pattern.get());
                // exact: 0 marks a contour for which no tolerance has been found yet
                if (it != ownerOf.end() && summary.openLoops[it->second].closingJoinTol == 0.0) {
                    summary.openLoops[it->second].closingJoinTol = tol;
                }
            }
        }
        for (const PartSummary::OpenLoop& open : summary.openLoops) {
            allFound = allFound && open.closingJoinTol > 0.0;
        }
        if (allFound) {
            break;
        }
    }
}

}  // namespace Norvane
