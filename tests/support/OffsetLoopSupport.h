#pragma once

// Loops of lines and arcs written as vertices with the sweep of the edge leaving each (0 for a line), and
// the checks an offset loop must pass: closed, simple, and at exactly the offset distance everywhere.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "tests/support/OutlineMetrics.h"

namespace Norvane {
namespace testutil {

// A vertex of a loop and the signed sweep of the edge from it to the next vertex: 0 for a line, positive
// for an arc turning counter-clockwise.
struct Bulged {
    double x;
    double y;
    double sweep;
};

inline std::string Literal(const std::vector<Bulged>& loop) {
    std::ostringstream os;
    os.precision(17);
    os << "{";
    for (const Bulged& v : loop) os << "{" << v.x << ", " << v.y << ", " << v.sweep << "}, ";
    os << "}";
    return os.str();
}

// The pattern for the edge from a to b with that sweep.
inline IPatternPtr EdgePattern(const Point2D& a, const Point2D& b, double sweep) {
    IPatternPtr pattern;
    if (sweep == 0.0) {
        pattern = boost::make_shared<LinePattern>(a, b);
    } else {
        // The centre lies off the chord's middle, to the left for a counter-clockwise sweep.
        const double len = a.DistanceTo(b);
        const double radius = len / (2.0 * std::sin(std::fabs(sweep) / 2.0));
        const double off = (len / 2.0) / std::tan(sweep / 2.0);
        const Point2D c((a.x + b.x) / 2.0 - off * (b.y - a.y) / len,
                        (a.y + b.y) / 2.0 + off * (b.x - a.x) / len);
        pattern = boost::make_shared<ArcPattern>(c, radius, std::atan2(a.y - c.y, a.x - c.x), sweep);
    }
    pattern->UpdateCache();
    return pattern;
}

// A closed polygon loop through the vertices; with reversedPatterns every pattern is drawn the other way
// and run against its direction (follow 0), which must not change the loop.
inline PolyPatLoopPtr MakeLoop(const std::vector<Bulged>& vertices, bool reversedPatterns = false) {
    auto loop = boost::make_shared<PolyPatLoop>();
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const Bulged& v = vertices[i];
        const Bulged& w = vertices[(i + 1) % vertices.size()];
        if (reversedPatterns) {
            loop->AppendPattern(EdgePattern(Point2D(w.x, w.y), Point2D(v.x, v.y), -v.sweep), 0);
        } else {
            loop->AppendPattern(EdgePattern(Point2D(v.x, v.y), Point2D(w.x, w.y), v.sweep), 1);
        }
    }
    LoopProcessor::UpdateCacheEx(loop);
    return loop;
}

// The loop's outline in travel order (elements of backward nodes reversed), as copies.
inline Geom2DList TravelGeom(IPatLoop& loop) {
    Geom2DList chain;
    for (const PatLoopNodePtr& node : *loop.GetLoopNodes()) {
        const PatternCachePtr cache = node->GetPat()->GetCacheData();
        for (const IGeom2DPtr& g : *cache->GetBaseGeom()) {
            IGeom2DPtr copy = g->Clone();
            if (node->FollowLoopDir() == 0)
                copy->Reverse();
            chain.push_back(copy);
        }
    }
    return chain;
}

inline double Perimeter(const Geom2DList& chain) {
    double sum = 0.0;
    for (const IGeom2DPtr& g : chain) sum += g->GetLength();
    return sum;
}

// Every sample point of result (each element at 16 fractions, ends included) lies at distance d from the
// original outline within tol.
inline ::testing::AssertionResult AtDistance(const Geom2DList& original, const Geom2DList& result, double d,
                                             double tol) {
    for (std::size_t i = 0; i < result.size(); ++i) {
        for (int k = 0; k <= 16; ++k) {
            const Point2D p = result[i]->GetPointAtPercent(k / 16.0);
            const double dist = DistanceToChain(original, p);
            if (!(std::fabs(dist - d) <= tol)) {
                return ::testing::AssertionFailure()
                       << "element " << i << " at " << k << "/16, " << Literal(p) << ", is " << dist
                       << " from the original, not " << d;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// No two elements meet except consecutive ones at their shared joint (within tol of it).
inline ::testing::AssertionResult IsSimple(const Geom2DList& chain, double tol) {
    const std::size_t n = chain.size();
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = i + 1; j < n; ++j) {
            Point2DList hits;
            const auto li = boost::dynamic_pointer_cast<Line2D>(chain[i]);
            const auto ai = boost::dynamic_pointer_cast<Arc2D>(chain[i]);
            const auto lj = boost::dynamic_pointer_cast<Line2D>(chain[j]);
            const auto aj = boost::dynamic_pointer_cast<Arc2D>(chain[j]);
            if (li && lj)
                hits = li->GetLineCrossPoint(*lj, tol);
            if (li && aj)
                hits = li->GetArcCrossPoint(*aj, tol);
            if (ai && lj)
                hits = ai->GetLineCrossPoint(*lj, tol);
            if (ai && aj)
                hits = ai->GetArcCrossPoint(*aj, tol);
            for (const Point2D& p : hits) {
                const bool atJoint =
                    (j == i + 1 && p.DistanceTo(chain[i]->GetEndPoint()) <= 100 * tol) ||
                    (i == 0 && j == n - 1 && p.DistanceTo(chain[i]->GetStartPoint()) <= 100 * tol);
                if (!atJoint) {
                    return ::testing::AssertionFailure()
                           << "elements " << i << " and " << j << " of " << n << " meet at " << Literal(p);
                }
            }
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace testutil
}  // namespace Norvane
