// Array recognition as a round trip: generated parts holding rows, axis-parallel and turned grids, arcs and
// full rings of every standard shape, shuffled and mixed with distractors. Exploding every array found must
// give back exactly the holes laid out as arrays, and no distractor may be taken.
#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>
#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/loop/ArrayPatLoop.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/StdPatLoop.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/DoubleDPattern.h"
#include "geomFeature/pattern/EllipsePattern.h"
#include "geomFeature/pattern/IArrayPattern.h"
#include "geomFeature/pattern/OBroundPattern.h"
#include "geomFeature/pattern/PatLinePattern.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/pattern/RCHolePattern.h"
#include "geomFeature/pattern/RadSlotPattern.h"
#include "geomFeature/pattern/RectHolePattern.h"
#include "geomFeature/pattern/SingleDPattern.h"
#include "geomFeature/pattern/TRHolePattern.h"
#include "geomFeature/processor/PatArrayBuilder.h"
#include "geomFeature/processor/PatDecomposer.h"

namespace Norvane {
namespace {

constexpr double kPi = MathEx::PI;
constexpr double kPlaceTol = 1e-4;

struct Random {
    std::mt19937 engine;
    double operator()(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(engine); }
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(engine); }
};

// A shape of one kind, sized at random (at most about 4 across), made at any place.
using Shape = std::function<IPatternPtr(const Point2D&)>;

std::vector<Shape> EveryKind(Random& r) {
    const double a = r(0, kPi);
    const double s = r(0.5, 1.5);
    return {
        [=](const Point2D& p) { return boost::make_shared<CirclePattern>(p, s); },
        [=](const Point2D& p) { return boost::make_shared<EllipsePattern>(p, a, 2 * s, s); },
        [=](const Point2D& p) { return boost::make_shared<SingleDPattern>(p, s, 0.6 * s, a); },
        [=](const Point2D& p) { return boost::make_shared<DoubleDPattern>(p, s, 0.6 * s, a); },
        [=](const Point2D& p) { return boost::make_shared<OBroundPattern>(p, a, 3 * s, s); },
        [=](const Point2D& p) { return boost::make_shared<RadSlotPattern>(p, 2 * s, a, 1.0, 0.5 * s); },
        [=](const Point2D& p) { return boost::make_shared<RectHolePattern>(p, Vector2D(2 * s, s), 0.5); },
        [=](const Point2D& p) { return boost::make_shared<RCHolePattern>(p, 3 * s, 2 * s, 0.4 * s, a); },
        [=](const Point2D& p) { return boost::make_shared<TRHolePattern>(p, a, 2 * s, 1.5 * s); },
    };
}

enum class Layout { Grid, TurnedGrid, Row, Arc, Ring };

// A generated part: the holes, which of them were laid out as arrays, and what arrays must come out.
struct Part {
    PatternListPtr patterns = boost::make_shared<PatternList>();
    PatLoopListPtr loops = boost::make_shared<PatLoopList>();
    std::set<DataID> members;      // laid out as arrays
    std::set<DataID> distractors;  // must stay single
    std::map<tagPatternType, int> arrays;
    std::map<DataID, IPatternPtr> holes;

    IPatternPtr Add(const IPatternPtr& hole, bool member) {
        hole->UpdateCache();
        patterns->push_back(hole);
        loops->push_back(boost::make_shared<StdPatLoop>(boost::make_shared<PatLoopNode>(hole, 1)));
        (member ? members : distractors).insert(hole->GetID());
        holes[hole->GetID()] = hole;
        return hole;
    }
};

Point2D At(const Point2D& origin, const Vector2D& u, double x, const Vector2D& v, double y) {
    return origin + u * x + v * y;
}

void AddLayout(Part& part, Random& r, Layout layout, const Shape& shape, const Point2D& origin) {
    const double pitch = r(6, 12);
    switch (layout) {
        case Layout::Grid:
        case Layout::TurnedGrid: {
            const int rows = r.Int(2, 3);
            const int columns = r.Int(4, 6);  // more copies along u: a turned grid comes out as its rows
            const double turn = layout == Layout::Grid ? 0.0 : r(0.2, 1.3);
            const Vector2D u(std::cos(turn), std::sin(turn));
            const Vector2D v(-u.y, u.x);
            const double pitch2 = r(6, 12);
            for (int i = 0; i < rows; ++i)
                for (int j = 0; j < columns; ++j)
                    part.Add(shape(At(origin, u, j * pitch, v, i * pitch2)), true);
            if (layout == Layout::Grid) {
                part.arrays[PAT_GRID_ARRAY] += 1;
            } else {
                part.arrays[PAT_LINE_ARRAY] += rows;
            }
            break;
        }
        case Layout::Row: {
            const double turn = r(-kPi, kPi);
            const Vector2D u(std::cos(turn), std::sin(turn));
            const int count = r.Int(3, 8);
            for (int j = 0; j < count; ++j) part.Add(shape(At(origin, u, j * pitch, u, 0)), true);
            // One more at a spacing 0.001 too long: it must not join.
            part.Add(shape(At(origin, u, count * pitch + 0.001, u, 0)), false);
            part.arrays[PAT_LINE_ARRAY] += 1;
            break;
        }
        case Layout::Arc:
        case Layout::Ring: {
            const int count = layout == Layout::Ring ? r.Int(3, 10) : r.Int(4, 6);
            const double step =
                layout == Layout::Ring ? 2 * kPi / count : r(0.35, 0.9) * (r(0, 1) < 0.5 ? -1 : 1);
            const double radius = pitch / (2 * std::sin(std::fabs(step) / 2));
            const double start = r(-kPi, kPi);
            for (int j = 0; j < count; ++j) {
                const double a = start + j * step;
                part.Add(shape(origin + Vector2D(radius * std::cos(a), radius * std::sin(a))), true);
            }
            part.arrays[layout == Layout::Ring ? PAT_CIRCLE_ARRAY : PAT_ARC_ARRAY] += 1;
            break;
        }
    }
}

// Every shape kind in every layout, each with its own size, in cells far apart; then distractors: three in a
// row with spacings 10 and 10.001, pairs, an L of three (two equal distances, no arc), and a circle between
// two equal ellipses.
Part MakePart(Random& r) {
    Part part;
    int cell = 0;
    const auto nextOrigin = [&] {
        ++cell;
        return Point2D((cell % 8) * 300 + r(0, 50), (cell / 8) * 300 + r(0, 50));
    };
    for (const Layout layout : {Layout::Grid, Layout::TurnedGrid, Layout::Row, Layout::Arc, Layout::Ring}) {
        for (const Shape& shape : EveryKind(r)) AddLayout(part, r, layout, shape, nextOrigin());
    }
    for (const Shape& shape : EveryKind(r)) {
        const Point2D o = nextOrigin();
        for (const double x : {0.0, 10.0, 20.001}) part.Add(shape(o + Vector2D(x, 0)), false);
        const Point2D p = nextOrigin();
        for (const double x : {0.0, 10.0}) part.Add(shape(p + Vector2D(x, 0)), false);
        const Point2D q = nextOrigin();
        for (const Vector2D& v : {Vector2D(0, 0), Vector2D(10, 0), Vector2D(10, 10)})
            part.Add(shape(q + v), false);
    }
    const Point2D o = nextOrigin();
    part.Add(boost::make_shared<EllipsePattern>(o, 0.0, 2.0, 2.0 * (1 - 1e-3)), false);
    part.Add(boost::make_shared<CirclePattern>(o + Vector2D(10, 0), 1.0), false);
    part.Add(boost::make_shared<EllipsePattern>(o + Vector2D(20, 0), 0.0, 2.0, 2.0 * (1 - 1e-3)), false);
    return part;
}

template <class List>
void Shuffle(List& list, std::mt19937& engine) {
    std::shuffle(list.begin(), list.end(), engine);
}

std::vector<IArrayPatternPtr> ArraysIn(const PatternList& patterns) {
    std::vector<IArrayPatternPtr> arrays;
    for (const IPatternPtr& p : patterns)
        if (const auto a = boost::dynamic_pointer_cast<IArrayPattern>(p))
            arrays.push_back(a);
    return arrays;
}

// The array's copies as (type, x, y) rounded to the place tolerance, sorted.
using Copies = std::vector<std::tuple<int, long long, long long>>;
Copies CopiesOf(const IArrayPatternPtr& array) {
    Copies copies;
    const PatternListPtr exploded = PatDecomposer::DecomposeGridPat(array);
    for (const IPatternPtr& c : *exploded) {
        const Point2D p = c->GetBasePoint();
        copies.emplace_back(c->GetPatternType(), std::llround(p.x / kPlaceTol),
                            std::llround(p.y / kPlaceTol));
    }
    std::sort(copies.begin(), copies.end());
    return copies;
}

TEST(PatArrayBuilder, ExplodedArraysGiveBackExactlyTheLaidOutHoles) {
    for (const unsigned seed : {1u, 2u, 3u}) {
        Random r{std::mt19937(seed)};
        Part part = MakePart(r);
        Shuffle(*part.patterns, r.engine);
        Shuffle(*part.loops, r.engine);
        PatArrayBuilder::GridPat(part.patterns, part.loops);
        SCOPED_TRACE(::testing::Message() << "seed " << seed);

        // Every copy of every array is one laid-out hole (same type and shape, within the place tolerance),
        // and every laid-out hole is exactly one copy.
        std::map<DataID, int> matched;
        std::map<tagPatternType, int> kinds;
        const std::vector<IArrayPatternPtr> arrays = ArraysIn(*part.patterns);
        for (const IArrayPatternPtr& array : arrays) {
            kinds[array->GetPatternType()] += 1;
            const PatternListPtr copies = PatDecomposer::DecomposeGridPat(array);
            EXPECT_GE(copies->size(), 3u);
            for (const IPatternPtr& copy : *copies) {
                copy->UpdateCache();
                int hits = 0;
                for (const auto& [id, hole] : part.holes) {
                    if (hole->GetPatternType() == copy->GetPatternType() && hole->IsSameShape(copy) &&
                        hole->GetBasePoint().DistanceTo(copy->GetBasePoint()) <= kPlaceTol) {
                        ++matched[id];
                        ++hits;
                    }
                }
                EXPECT_EQ(hits, 1);
            }
        }
        for (const DataID id : part.members) EXPECT_EQ(matched[id], 1) << "laid-out hole " << id;
        for (const DataID id : part.distractors) EXPECT_EQ(matched[id], 0) << "distractor " << id;
        EXPECT_EQ(kinds, part.arrays);

        // The list holds the arrays, their seeds (controlled) and the distractors; the loops are one array
        // loop per array and the distractors' own loops.
        std::set<DataID> free;
        for (const IPatternPtr& p : *part.patterns) {
            if (!p->IsArrayPat() && !p->IsControlPat())
                free.insert(p->GetID());
        }
        EXPECT_EQ(free, part.distractors);
        EXPECT_EQ(part.patterns->size(), part.distractors.size() + 2 * arrays.size());
        EXPECT_EQ(part.loops->GetPatLoopByType(LOOP_ARRAY)->size(), arrays.size());
        EXPECT_EQ(part.loops->size(), part.distractors.size() + arrays.size());
    }
}

TEST(PatArrayBuilder, ResultDoesNotDependOnTheListOrder) {
    std::set<Copies> first;
    for (int order = 0; order < 3; ++order) {
        Random r{std::mt19937(9)};
        Part part = MakePart(r);
        std::mt19937 shuffler(static_cast<unsigned>(order));
        if (order > 0)
            Shuffle(*part.patterns, shuffler);
        PatArrayBuilder::GridPat(part.patterns, part.loops);
        std::set<Copies> found;
        for (const IArrayPatternPtr& array : ArraysIn(*part.patterns)) found.insert(CopiesOf(array));
        if (order == 0) {
            first = found;
        } else {
            EXPECT_EQ(found, first) << "order " << order;
        }
    }
}

// Rectangles whose sides and angles differ from the first by just under 1e-4 are the same shape, and their
// outline boxes differ by more than that: they still meet in one group and one row.
TEST(PatArrayBuilder, NearlyEqualRectanglesFormOneRow) {
    Part part;
    const double d = 0.99e-4;
    for (const auto& [x, length, width, angle] :
         {std::tuple(0.0, 10.0, 5.0, 0.0), std::tuple(20.0, 10 + d, 5 + d, d),
          std::tuple(40.0, 10 + d, 5.0, -d)}) {
        Vector2D side(length, 0);
        side.Rotate(angle);
        part.Add(boost::make_shared<RectHolePattern>(Point2D(x, 0), side, width / length), true);
    }
    PatArrayBuilder::GridPat(part.patterns, part.loops);
    ASSERT_EQ(ArraysIn(*part.patterns).size(), 1u);
    EXPECT_EQ(CopiesOf(ArraysIn(*part.patterns).front()).size(), 3u);
}

struct CircleRowCase {
    const char* name;
    std::vector<std::pair<double, double>> circles;  // (x, radius)
    int arrays;
};

class CircleRows : public ::testing::TestWithParam<CircleRowCase> {};

TEST_P(CircleRows, SmallCases) {
    Part part;
    for (const auto& [x, radius] : GetParam().circles)
        part.Add(boost::make_shared<CirclePattern>(Point2D(x, 0), radius), GetParam().arrays > 0);
    PatArrayBuilder::GridPat(part.patterns, part.loops);
    const std::vector<IArrayPatternPtr> arrays = ArraysIn(*part.patterns);
    EXPECT_EQ(static_cast<int>(arrays.size()), GetParam().arrays);
    for (const IArrayPatternPtr& array : arrays) {
        const auto row = boost::dynamic_pointer_cast<PatLinePattern>(array);
        ASSERT_TRUE(row);
        EXPECT_EQ(row->GetRepeatNum(), 3);
        EXPECT_NEAR(row->GetSpace(), 10.0, 1e-12);
    }
    const std::size_t arrayLoops = part.loops->GetPatLoopByType(LOOP_ARRAY)->size();
    EXPECT_EQ(arrayLoops, arrays.size());
    EXPECT_EQ(part.loops->size(), GetParam().circles.size() - 3 * arrays.size() + arrayLoops);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, CircleRows,
    ::testing::Values(CircleRowCase{"TwoCircles", {{0, 1}, {10, 1}}, 0},
                      CircleRowCase{"ThreeInARow", {{0, 1}, {10, 1}, {20, 1}}, 1},
                      CircleRowCase{"SpacingOffByAThousandth", {{0, 1}, {10, 1}, {20.001, 1}}, 0},
                      CircleRowCase{
                          "TwoRadiiTwoGroups", {{0, 1}, {10, 2}, {10, 1}, {20, 1}, {0, 2}, {20, 2}}, 2}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace Norvane
