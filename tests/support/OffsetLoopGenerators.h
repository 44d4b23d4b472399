#pragma once

// Seeded random loops of lines and arcs for the offset tests, as vertices with edge sweeps.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

#include "geomFeature/host/mathkit/MathEx.h"
#include "tests/support/OffsetLoopSupport.h"

namespace Norvane {
namespace testutil {

// How many random loops a test tries: base, times GF_OFFSET_TRIALS when that is set (a long run; the
// default keeps CI quick).
inline int OffsetTrials(int base) {
    const char* factor = std::getenv("GF_OFFSET_TRIALS");
    const int n = factor ? std::atoi(factor) : 1;
    return base * (n > 0 ? n : 1);
}

// A convex loop, counter-clockwise: 3 to 9 points on an ellipse (sometimes a pair very close together, a
// short edge), about half the edges bulged outward into arcs. An arc may turn at most the exterior angle
// at either of its ends, so every corner still turns left; some take exactly that much (a tangent joint)
// or a hair less (a near-tangent one).
inline std::vector<Bulged> RandomConvexLoop(std::mt19937& rng) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const int n = 3 + static_cast<int>(unit(rng) * 7);
    std::vector<double> angles;
    for (int i = 0; i < n; ++i) angles.push_back(unit(rng) * 2.0 * MathEx::PI);
    if (unit(rng) < 0.3)
        angles.push_back(angles[0] + 1e-4 + unit(rng) * 1e-3);
    std::sort(angles.begin(), angles.end());
    angles.erase(std::unique(angles.begin(), angles.end(), [](double a, double b) { return b - a < 1e-9; }),
                 angles.end());
    const double a = 5.0 + unit(rng) * 10.0;
    const double b = 5.0 + unit(rng) * 10.0;
    const double cx = unit(rng) * 100.0 - 50.0;
    const double cy = unit(rng) * 100.0 - 50.0;
    std::vector<Bulged> v;
    for (const double t : angles) v.push_back(Bulged{cx + a * std::cos(t), cy + b * std::sin(t), 0.0});
    const int m = static_cast<int>(v.size());
    // Exterior angle (left turn) at each vertex.
    std::vector<double> ext(v.size());
    for (int i = 0; i < m; ++i) {
        const Bulged& p = v[(i + m - 1) % m];
        const Bulged& q = v[i];
        const Bulged& r = v[(i + 1) % m];
        const double in = std::atan2(q.y - p.y, q.x - p.x);
        const double out = std::atan2(r.y - q.y, r.x - q.x);
        ext[i] = MathEx::GetUnsignedAng(out - in, 1e-12);
    }
    for (int i = 0; i < m; ++i) {
        const double room = std::min(ext[i], ext[(i + 1) % m]);
        const double pick = unit(rng);
        if (pick < 0.45)
            continue;
        if (pick < 0.55) {
            v[i].sweep = room;
        } else if (pick < 0.6) {
            v[i].sweep = room * (1.0 - 1e-7);
        } else {
            v[i].sweep = room * unit(rng) * 0.95;
        }
    }
    // Tangent joints on both sides of one vertex would leave it no turn at all: halve one.
    for (int i = 0; i < m; ++i) {
        const double left = ext[(i + 1) % m] - v[i].sweep / 2.0 - v[(i + 1) % m].sweep / 2.0;
        if (left < 0.0)
            v[i].sweep *= 0.5;
    }
    return v;
}

// A star-shaped concave loop, counter-clockwise: 5 to 14 points at sorted angles round a centre and random
// radii, edges straight or arcs bulging either way. Redrawn until it does not cross itself.
inline std::vector<Bulged> RandomStarLoop(std::mt19937& rng) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (;;) {
        const int n = 5 + static_cast<int>(unit(rng) * 10);
        std::vector<double> angles;
        for (int i = 0; i < n; ++i) angles.push_back(unit(rng) * 2.0 * MathEx::PI);
        std::sort(angles.begin(), angles.end());
        std::vector<Bulged> v;
        bool crowded = false;
        for (int i = 0; i < n; ++i) {
            if (i > 0 && angles[i] - angles[i - 1] < 0.05)
                crowded = true;
            const double r = 10.0 * (0.35 + 0.65 * unit(rng));
            const double sweep = unit(rng) < 0.5 ? 0.0 : (unit(rng) * 2.0 - 1.0) * 1.2;
            v.push_back(Bulged{r * std::cos(angles[i]), r * std::sin(angles[i]), sweep});
        }
        if (crowded)
            continue;
        const PolyPatLoopPtr loop = MakeLoop(v);
        const Geom2DList chain = TravelGeom(*loop);
        if (IsSimple(chain, 1e-9) && ChainSignedArea(chain) > 0.0)
            return v;
    }
}

// Two boxes joined by a neck of random width (0.1 to 2.5) and length, corners sometimes rounded off by
// quarter arcs: shrinking by more than half the neck width splits it.
inline std::vector<Bulged> RandomDumbbell(std::mt19937& rng) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double w = 0.1 + unit(rng) * 2.4;
    const double neck = 0.5 + unit(rng) * 3.0;
    const double h = 6.0;
    const double lo = h / 2.0 - w / 2.0;
    const double hi = h / 2.0 + w / 2.0;
    const double x1 = 6.0;
    const double x2 = x1 + neck;
    const double x3 = x2 + 6.0;
    std::vector<Bulged> v = {{0, 0, 0},  {x1, 0, 0}, {x1, lo, 0}, {x2, lo, 0}, {x2, 0, 0}, {x3, 0, 0},
                             {x3, h, 0}, {x2, h, 0}, {x2, hi, 0}, {x1, hi, 0}, {x1, h, 0}, {0, h, 0}};
    // The outer corners bulge outward a little (a left turn of pi/2 leaves room for that).
    for (const int i : {0, 4, 5, 6, 10, 11}) {
        if (unit(rng) < 0.4)
            v[i].sweep = unit(rng) * 0.8;
    }
    return v;
}

}  // namespace testutil
}  // namespace Norvane
