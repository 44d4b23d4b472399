// A prepared polygon must answer every enclosure question exactly as the polygon itself does; it only
// answers the plain cases (well inside, well outside) without the general test. The questions below are
// drawn to sit on every kind of boundary: far inside and far outside, a box just clear of an edge, just
// touching it, astride it, in a notch or a slit of the outer polygon, shared edges, equal outlines, flat and
// self-crossing polygons on either side.
#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "geomFeature/host/geomkit/Polygon2D.h"
#include "geomFeature/host/geomkit/PreparedPolygon.h"

namespace Norvane {
namespace {

constexpr double kPi = 3.14159265358979323846;

std::vector<Point2D> Ngon(const Point2D& c, double r, int n, double phase, double wobble, std::mt19937& rng) {
    std::uniform_real_distribution<double> jitter(1.0 - wobble, 1.0);
    std::vector<Point2D> pts;
    for (int k = 0; k < n; ++k) {
        const double a = phase + 2 * kPi * k / n;
        const double rr = r * jitter(rng);
        pts.emplace_back(c.x + rr * std::cos(a), c.y + rr * std::sin(a));
    }
    return pts;
}

// A frame 0..100 with a notch cut into the top and `slits` narrow slits cut into the bottom.
std::vector<Point2D> Comb(int slits) {
    std::vector<Point2D> pts = {{0, 0}};
    for (int k = 0; k < slits; ++k) {
        const double x = 100.0 * (k + 0.5) / (slits + 1);
        pts.insert(pts.end(), {{x, 0}, {x, 60}, {x + 0.01, 60}, {x + 0.01, 0}});
    }
    pts.insert(pts.end(), {{100, 0}, {100, 100}, {60, 100}, {60, 80}, {40, 80}, {40, 100}, {0, 100}});
    return pts;
}

struct OuterCase {
    const char* name;
    std::vector<Point2D> pts;
};

std::vector<OuterCase> Outers() {
    std::mt19937 rng(11);
    std::vector<OuterCase> outers = {
        {"square", {{0, 0}, {100, 0}, {100, 100}, {0, 100}}},
        {"square clockwise", {{0, 0}, {0, 100}, {100, 100}, {100, 0}}},
        {"comb of 3 slits", Comb(3)},
        {"comb of 12 slits", Comb(12)},
        {"round 64", Ngon({50, 50}, 50, 64, 0.1, 0.0, rng)},
        {"star 30", Ngon({50, 50}, 50, 30, 0.0, 0.6, rng)},
        {"figure of eight", {{0, 0}, {100, 100}, {100, 0}, {0, 100}}},
        // A five-pointed star drawn in one stroke: its middle is wound twice.
        {"pentagram", {{50, 100}, {79.39, 9.55}, {2.45, 65.45}, {97.55, 65.45}, {20.61, 9.55}}},
        {"flat", {{0, 0}, {50, 50}, {100, 100}}},
        {"far from the origin", {{1e5, 1e5}, {1e5 + 100, 1e5}, {1e5 + 100, 1e5 + 100}, {1e5, 1e5 + 100}}},
    };
    return outers;
}

// Small polygons all over (and around) the outer polygon's box, at every scale, and the special ones.
std::vector<Polygon2D> Inners(const Polygon2D& outer, std::mt19937& rng) {
    const Rect2D box = outer.GetRect();
    std::uniform_real_distribution<double> ux(box.left - 10, box.right + 10),
        uy(box.bottom - 10, box.top + 10);
    std::uniform_real_distribution<double> scale(-6, 1.5), unit(0, 1);
    std::vector<Polygon2D> inners;
    for (int k = 0; k < 160; ++k) {
        const Point2D c(ux(rng), uy(rng));
        const double r = std::pow(10.0, scale(rng));
        const double tol = unit(rng) < 0.5 ? 0.0 : 0.0052;
        switch (k % 4) {
            case 0:
                inners.emplace_back(Ngon(c, r, 3 + static_cast<int>(unit(rng) * 40), unit(rng), 0.0, rng),
                                    tol);
                break;
            case 1:
                inners.emplace_back(std::vector<Point2D>{{c.x - r, c.y}, {c.x + r, c.y}, {c.x + r, c.y + r}},
                                    tol);
                break;
            case 2:
                inners.emplace_back(std::vector<Point2D>{c, {c.x + r, c.y + r}}, tol);
                break;  // flat
            default:
                inners.emplace_back(Ngon(c, r, 8, 0.0, 0.7, rng), tol);
                break;
        }
    }
    // Around the middle, where a self-crossing outline is wound twice.
    for (const double r : {0.5, 2.0, 8.0}) {
        const Point2D c = box.GetCenterPt();
        inners.emplace_back(std::vector<Point2D>{{c.x - r, c.y - r}, {c.x + r, c.y - r}, {c.x + r, c.y + r}, {c.x - r, c.y + r}}, 0.0);
    }
    // On the boundary: the outline itself, shrunk and grown a hair, and squares on every vertex and edge.
    inners.emplace_back(outer);
    for (const double f : {1 - 1e-9, 1 + 1e-9, 0.999, 1.001}) {
        std::vector<Point2D> scaled;
        const Point2D c = box.GetCenterPt();
        for (const Point2D& p : outer.pts) scaled.emplace_back(c.x + f * (p.x - c.x), c.y + f * (p.y - c.y));
        inners.emplace_back(scaled, 0.0052);
    }
    // Squares on (at most sixteen) edges and corners, spread round the outline.
    const std::size_t step = std::max<std::size_t>(1, outer.pts.size() / 16);
    for (std::size_t i = 0; i < outer.pts.size(); i += step) {
        const Point2D& a = outer.pts[i];
        const Point2D& b = outer.pts[(i + 1) % outer.pts.size()];
        const Point2D m((a.x + b.x) / 2, (a.y + b.y) / 2);
        // Small squares just off the edge on either side, closer than the slack: the tolerant part of the
        // test accepts the one outside.
        const double length = a.DistanceTo(b);
        if (length > 0) {
            const Vector2D normal((a.y - b.y) / length, (b.x - a.x) / length);
            for (const double side : {-0.006, 0.006}) {
                const Point2D q(m.x + side * normal.x, m.y + side * normal.y);
                inners.emplace_back(std::vector<Point2D>{{q.x - 0.001, q.y - 0.001}, {q.x + 0.001, q.y - 0.001},
                                                         {q.x + 0.001, q.y + 0.001}, {q.x - 0.001, q.y + 0.001}},
                                    0.0052);
            }
        }
        for (const double d : {0.0, 1e-3, 0.0104, 0.0157, 0.02, 1.0}) {
            inners.emplace_back(std::vector<Point2D>{{m.x - d, m.y - d},
                                                     {m.x + d + 1, m.y - d},
                                                     {m.x + d + 1, m.y + d + 1},
                                                     {m.x - d, m.y + d + 1}},
                                0.0052);
            inners.emplace_back(
                std::vector<Point2D>{{a.x + d, a.y + d}, {a.x + d + 0.5, a.y + d}, {a.x + d, a.y + d + 0.5}},
                0.0);
        }
    }
    return inners;
}

TEST(PreparedPolygonTest, AnswersAsThePolygonItself) {
    std::mt19937 rng(5);
    for (const OuterCase& c : Outers()) {
        for (const double tol : {0.0, 0.0052}) {
            SCOPED_TRACE(std::string(c.name) + ", tolerance " + std::to_string(tol));
            const Polygon2D outer(c.pts, tol);
            const PreparedPolygon prepared(outer);
            int enclosed = 0;
            for (const Polygon2D& inner : Inners(outer, rng)) {
                const int expected = outer.IncludePolygon(inner);
                ASSERT_EQ(prepared.IncludePolygon(inner), expected)
                    << "inner polygon of " << inner.pts.size() << " vertices from (" << inner.pts[0].x << ", "
                    << inner.pts[0].y << ")";
                enclosed += expected;
            }
            // The draw is meant to land on both answers (a flat outline encloses nothing).
            if (outer.GetArea() != 0 && c.name != std::string("figure of eight") &&
                c.name != std::string("pentagram")) {
                EXPECT_GT(enclosed, 20);
            }
        }
    }
}

}  // namespace
}  // namespace Norvane
