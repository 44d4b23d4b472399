// Array recognition: the grid, row and arc passes over one group of same-shape patterns.
#include <algorithm>
#include <cmath>
#include <queue>
#include <vector>

#include <boost/make_shared.hpp>

#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/PatArcPattern.h"
#include "geomFeature/pattern/PatCirclePattern.h"
#include "geomFeature/pattern/PatGridPattern.h"
#include "geomFeature/pattern/PatLinePattern.h"
#include "geomFeature/pattern/PatRelationList.h"
#include "geomFeature/pattern/PatternTolerance.h"
#include "geomFeature/processor/ProcessorTolerance.h"
#include "geomFeature/processor/detail/ArrayGroup.h"

namespace Norvane {
namespace detail {

namespace {

// A step must carry a copy clear of the place it starts from: one pattern can then never stand within the
// place tolerance of two copies.
constexpr double kMinStep = 2.0 * kArrayPlaceTol;

void Link(const IArrayPatternPtr& array, const IPatternPtr& seed) {
    array->SetControlPat(seed);
    seed->SetBeControlPat(array);
}

void TakeAll(ArrayGroup& group, const std::vector<int>& members, PatternList& absorbed) {
    for (const int m : members) {
        group.Take(m);
        absorbed.push_back(group.Pattern(m));
    }
}

bool Contains(const std::vector<int>& members, int m) {
    return std::find(members.begin(), members.end(), m) != members.end();
}

// A line array over members (members[0] the seed, then each later member offered with AddPattern, which
// stops at the first one it refuses). The seed is linked only from the array's side: such columns are
// temporary, taken into a grid.
PatLinePatternPtr Column(const ArrayGroup& group, const std::vector<int>& members, const Vector2D& step) {
    auto line = boost::make_shared<PatLinePattern>(group.Place(members[0]), step, 1);
    line->SetControlPat(group.Pattern(members[0]));
    for (std::size_t k = 1; k < members.size(); ++k) {
        if (line->AddPattern(group.Pattern(members[k])) != 1)
            break;
    }
    return line;
}

// --- Grids -------------------------------------------------------------------------------------------

// The patterns of the lattice origin + c * column + r * row, column by column, bottom-up; a column stops at
// its first empty place, and the block at the first column that is empty or not as tall as column 0.
std::vector<std::vector<int>> Block(const ArrayGroup& group, int a, const Vector2D& column,
                                    const Vector2D& row) {
    const Point2D origin = group.Place(a);
    std::vector<std::vector<int>> columns;
    for (int c = 0;; ++c) {
        std::vector<int> members;
        for (int r = 0;; ++r) {
            const int m = (c == 0 && r == 0) ? a : group.FindFree(origin + column * c + row * r);
            if (m < 0)
                break;
            members.push_back(m);
        }
        if (members.empty() || (c > 0 && members.size() != columns.front().size()))
            break;
        columns.push_back(std::move(members));
    }
    return columns;
}

}  // namespace

void FindGrids(ArrayGroup& group, PatternList& arrays, PatternList& absorbed) {
    for (int a = 0; a < group.Size(); ++a) {
        if (!group.Free(a))
            continue;
        const int up = group.NextFreeAbove(a);
        const int right = group.NextFreeRight(a);
        if (up < 0 || right < 0)
            continue;
        // Exactly vertical columns and horizontal rows: a grid's axes are the drawing's.
        const Vector2D row(0.0, group.Place(up).y - group.Place(a).y);
        const Vector2D column(group.Place(right).x - group.Place(a).x, 0.0);
        if (row.Length() <= kMinStep || column.Length() <= kMinStep)
            continue;

        const std::vector<std::vector<int>> block = Block(group, a, column, row);
        const int columns = static_cast<int>(block.size());
        const int rows = static_cast<int>(block.front().size());
        if (columns < 2 || rows < 2)
            continue;
        const auto place = [&](int c, int r) { return group.Place(block[c][r]); };
        const bool seeded = (rows >= 3 && IsRowSeed(place(0, 0), place(0, 1), place(0, 2))) ||
                            (columns >= 3 && IsRowSeed(place(0, 0), place(1, 0), place(2, 0)));
        if (!seeded)
            continue;

        const PatLinePatternPtr first = Column(group, block[0], row);
        if (first->GetRepeatNum() != rows)
            continue;
        auto grid = boost::make_shared<PatGridPattern>(group.Place(a), first->GetYSpace(), rows, column.x, 1);
        Link(grid, group.Pattern(a));
        std::vector<int> members = block[0];
        for (int c = 1; c < columns; ++c) {
            const PatLinePatternPtr next = Column(group, block[c], row);
            if (next->GetRepeatNum() != rows || grid->AddPatternLine(next) != 1)
                break;
            members.insert(members.end(), block[c].begin(), block[c].end());
        }
        if (grid->GetColumnCount() < 2) {
            group.Pattern(a)->SetBeControlPat(IPatternPtr());
            continue;
        }
        TakeAll(group, members, absorbed);
        arrays.push_back(grid);
    }
}

// --- Rows --------------------------------------------------------------------------------------------

namespace {

struct RowCandidate {
    std::vector<int> members;  // at places first + k * step
    Vector2D step;
};

// Ordering of competing rows: the most copies, then the shorter step, then the earlier start, then the
// smaller angle.
struct WorseRow {
    bool operator()(const RowCandidate& a, const RowCandidate& b) const {
        if (a.members.size() != b.members.size())
            return a.members.size() < b.members.size();
        if (a.step.Length() != b.step.Length())
            return a.step.Length() > b.step.Length();
        if (a.members.front() != b.members.front())
            return a.members.front() > b.members.front();
        return a.step.Angle() > b.step.Angle();
    }
};
using RowQueue = std::priority_queue<RowCandidate, std::vector<RowCandidate>, WorseRow>;

// Queues the runs of consecutive free members of a row that can still seed a row.
void QueueFreeRuns(const ArrayGroup& group, const RowCandidate& row, RowQueue& queue) {
    RowCandidate run{{}, row.step};
    const auto flush = [&] {
        if (run.members.size() >= static_cast<std::size_t>(kArrayMinCopies) &&
            IsRowSeed(group.Place(run.members[0]), group.Place(run.members[1]),
                      group.Place(run.members[2]))) {
            queue.push(run);
        }
        run.members.clear();
    };
    for (const int m : row.members) {
        if (group.Free(m)) {
            run.members.push_back(m);
        } else {
            flush();
        }
    }
    flush();
}

}  // namespace

void FindRows(ArrayGroup& group, PatternList& arrays, PatternList& absorbed) {
    RowQueue queue;
    for (int a = 0; a < group.Size(); ++a) {
        if (!group.Free(a))
            continue;
        for (const int b : group.NearestFree(a, kArrayNeighbourCount)) {
            if (b < a)
                continue;  // each pair once, as the group's order meets it
            const Vector2D step = group.Place(b) - group.Place(a);
            if (step.Length() <= kMinStep || group.FindFree(group.Place(a) - step) >= 0)
                continue;
            RowCandidate row{{a, b}, step};
            for (int k = 2;; ++k) {
                const int m = group.FindFree(group.Place(a) + step * k);
                if (m < 0 || Contains(row.members, m))
                    break;
                row.members.push_back(m);
            }
            QueueFreeRuns(group, row, queue);
        }
    }
    while (!queue.empty()) {
        const RowCandidate row = queue.top();
        queue.pop();
        if (!std::all_of(row.members.begin(), row.members.end(), [&](int m) { return group.Free(m); })) {
            QueueFreeRuns(group, row, queue);
            continue;
        }
        const Point2D a = group.Place(row.members[0]);
        const Vector2D ab = group.Place(row.members[1]) - a;
        auto line = boost::make_shared<PatLinePattern>(a, ab.Length(), ab.Angle(), kArrayMinCopies);
        Link(line, group.Pattern(row.members[0]));
        std::size_t taken = static_cast<std::size_t>(kArrayMinCopies);
        while (taken < row.members.size() && line->AddPattern(group.Pattern(row.members[taken])) == 1)
            ++taken;
        const std::vector<int> used(row.members.begin(),
                                    row.members.begin() + static_cast<std::ptrdiff_t>(taken));
        TakeAll(group, used, absorbed);
        arrays.push_back(line);
        QueueFreeRuns(group, row, queue);  // what AddPattern refused may still form a row
    }
}

// --- Arcs --------------------------------------------------------------------------------------------

namespace {

struct ArcCandidate {
    std::vector<int> members;  // in arc order: copy k stands at angle start + k * repeat
    int seedAt = 0;            // members[seedAt .. seedAt + 2] are the seed triple
    Point2D centre;
    double radius = 0.0;
    double start = 0.0;  // angle of members[0]
    double repeat = 0.0;
    bool closed = false;
};

struct WorseArc {
    bool operator()(const ArcCandidate& a, const ArcCandidate& b) const {
        if (a.members.size() != b.members.size())
            return a.members.size() < b.members.size();
        if (a.closed != b.closed)
            return b.closed;
        if (a.radius != b.radius)
            return a.radius > b.radius;
        return *std::min_element(a.members.begin(), a.members.end()) >
               *std::min_element(b.members.begin(), b.members.end());
    }
};
using ArcQueue = std::priority_queue<ArcCandidate, std::vector<ArcCandidate>, WorseArc>;

Point2D PlaceOnArc(const Point2D& centre, double radius, double angle) {
    return Point2D(centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle));
}

// The arc seed test with m as the middle copy: |MB| and |MC| agree within kArraySeedTol and |BC| differs from
// both by more (all strict).
bool IsArcSeed(const Point2D& m, const Point2D& b, const Point2D& c) {
    const double mb = m.DistanceTo(b);
    const double mc = m.DistanceTo(c);
    const double bc = b.DistanceTo(c);
    return std::fabs(mb - mc) < kArraySeedTol && std::fabs(bc - mb) > kArraySeedTol &&
           std::fabs(bc - mc) > kArraySeedTol;
}

// The arc through first, m and last, run on at both ends over free patterns standing at its further places,
// until a place is empty or the ring closes. False when the three lie on a line.
bool GrowArc(const ArrayGroup& group, int first, int m, int last, ArcCandidate& arc) {
    double baseAngle = 0.0;
    double sweep = 0.0;
    MathEx::GetArcFrom3Point(group.Place(first), group.Place(m), group.Place(last), arc.centre, arc.radius,
                             baseAngle, sweep);
    if (!(arc.radius > 0.0))
        return false;
    arc.repeat = sweep / 2.0;
    if (group.Place(first).DistanceTo(group.Place(m)) <= kMinStep)
        return false;
    // A ring holds at most this many copies.
    const std::size_t ring = static_cast<std::size_t>(std::floor(MathEx::PI2 / std::fabs(arc.repeat) + 0.5));
    std::vector<int> after{first, m, last};
    std::vector<int> before;
    const auto placeAt = [&](int k) {
        return PlaceOnArc(arc.centre, arc.radius, baseAngle + k * arc.repeat);
    };
    const auto has = [&](int j) { return Contains(after, j) || Contains(before, j); };
    const auto closesOn = [&](int k, int other) {
        return placeAt(k).DistanceTo(group.Place(other)) <= kArrayPlaceTol;  // inclusive
    };
    for (int k = 3; after.size() + before.size() < ring; ++k) {
        if (closesOn(k, before.empty() ? first : before.back())) {
            arc.closed = true;
            break;
        }
        const int j = group.FindFree(placeAt(k));
        if (j < 0 || has(j))
            break;
        after.push_back(j);
    }
    for (int k = -1; !arc.closed && after.size() + before.size() < ring; --k) {
        if (closesOn(k, after.back())) {
            arc.closed = true;
            break;
        }
        const int j = group.FindFree(placeAt(k));
        if (j < 0 || has(j))
            break;
        before.push_back(j);
    }
    const int total = static_cast<int>(after.size() + before.size());
    if (!arc.closed && static_cast<std::size_t>(total) == ring) {
        arc.closed =
            closesOn(total - static_cast<int>(before.size()), before.empty() ? first : before.back());
    }
    arc.members.assign(before.rbegin(), before.rend());
    arc.seedAt = static_cast<int>(before.size());
    arc.members.insert(arc.members.end(), after.begin(), after.end());
    arc.start = baseAngle - static_cast<double>(before.size()) * arc.repeat;
    return true;
}

// A ring closes with three copies or more; an open arc needs kArrayMinArcCopies. Three patterns with two
// equal distances are everywhere in a drawing: two holes placed symmetrically about a third, an L of a
// square lattice. Only a fourth copy at the same step makes them an arc.
bool IsArcArray(const ArcCandidate& arc) {
    return arc.members.size() >= static_cast<std::size_t>(arc.closed ? kArrayMinCopies : kArrayMinArcCopies);
}

// The copies' places of a ring of count copies starting at angle start: true when every member stands
// within kArrayPlaceTol of one of them.
bool OnRing(const ArrayGroup& group, const std::vector<int>& members, const Point2D& centre, double radius,
            double start, int count) {
    const double step = MathEx::PI2 / count;
    for (const int m : members) {
        const double turn = MathEx::GetUnsignedAng((group.Place(m) - centre).Angle() - start, kArcAngleTol);
        const double k = std::floor(turn / step + 0.5);
        if (PlaceOnArc(centre, radius, start + k * step).DistanceTo(group.Place(m)) > kArrayPlaceTol)
            return false;
    }
    return true;
}

// Builds the array of an arc candidate: the arc of the seed triple, grown with AddPattern first beyond its
// last copy, then before its first; a ring that closed with every member taken becomes a circle array.
void TakeArc(ArrayGroup& group, const ArcCandidate& arc, PatternList& arrays, PatternList& absorbed) {
    const std::size_t seedAt = static_cast<std::size_t>(arc.seedAt);
    const IPatternPtr seed = group.Pattern(arc.members[seedAt]);
    auto array = boost::make_shared<PatArcPattern>(
        arc.centre, arc.radius, arc.start + arc.seedAt * arc.repeat, arc.repeat, kArrayMinCopies);
    array->SetControlPat(seed);
    std::vector<int> used(arc.members.begin() + static_cast<std::ptrdiff_t>(seedAt),
                          arc.members.begin() + static_cast<std::ptrdiff_t>(seedAt) + kArrayMinCopies);
    int atEnd = 0;
    for (std::size_t k = seedAt + kArrayMinCopies; k < arc.members.size(); ++k) {
        if (array->AddPattern(group.Pattern(arc.members[k]), atEnd) != 1)
            break;
        used.push_back(arc.members[k]);
    }
    for (std::size_t k = seedAt; k-- > 0;) {
        if (array->AddPattern(group.Pattern(arc.members[k]), atEnd) != 1)
            break;
        used.push_back(arc.members[k]);
    }
    IArrayPatternPtr made = array;
    const int count = array->GetRepeatNum();
    if (arc.closed && used.size() == arc.members.size() &&
        OnRing(group, used, arc.centre, arc.radius, array->GetStartAngle(), count)) {
        auto circle =
            boost::make_shared<PatCirclePattern>(arc.centre, arc.radius, array->GetStartAngle(), count);
        circle->SetControlPat(seed);
        made = circle;
        array->GetPatRelationList()->Clear();
    }
    seed->SetBeControlPat(made);
    TakeAll(group, used, absorbed);
    arrays.push_back(made);
}

// Three free patterns at the corners of an equilateral triangle: a ring of three, seeded by the earliest.
void FindRingsOfThree(ArrayGroup& group, PatternList& arrays, PatternList& absorbed) {
    for (int m = 0; m < group.Size(); ++m) {
        if (!group.Free(m))
            continue;
        const std::vector<int> near = group.NearestFree(m, kArrayNeighbourCount);
        bool taken = false;
        for (std::size_t i = 0; i < near.size() && !taken; ++i) {
            for (std::size_t j = i + 1; j < near.size() && !taken; ++j) {
                const Point2D& pm = group.Place(m);
                const Point2D& pb = group.Place(near[i]);
                const Point2D& pc = group.Place(near[j]);
                const double mb = pm.DistanceTo(pb);
                if (mb <= kMinStep || std::fabs(mb - pm.DistanceTo(pc)) >= kArraySeedTol ||
                    std::fabs(mb - pb.DistanceTo(pc)) >= kArraySeedTol) {
                    continue;
                }
                Point2D centre;
                double radius = 0.0, base = 0.0, sweep = 0.0;
                MathEx::GetArcFrom3Point(pm, pb, pc, centre, radius, base, sweep);
                const std::vector<int> members{m, near[i], near[j]};
                if (!(radius > 0.0) || !OnRing(group, members, centre, radius, (pm - centre).Angle(), 3))
                    continue;
                auto circle = boost::make_shared<PatCirclePattern>(centre, radius, (pm - centre).Angle(), 3);
                Link(circle, group.Pattern(m));
                TakeAll(group, members, absorbed);
                arrays.push_back(circle);
                taken = true;
            }
        }
    }
}

}  // namespace

void FindArcs(ArrayGroup& group, PatternList& arrays, PatternList& absorbed) {
    ArcQueue queue;
    for (int m = 0; m < group.Size(); ++m) {
        if (!group.Free(m))
            continue;
        const std::vector<int> near = group.NearestFree(m, kArrayNeighbourCount);
        for (std::size_t i = 0; i < near.size(); ++i) {
            for (std::size_t j = i + 1; j < near.size(); ++j) {
                const int b = std::min(near[i], near[j]);
                const int c = std::max(near[i], near[j]);
                ArcCandidate arc;
                if (IsArcSeed(group.Place(m), group.Place(b), group.Place(c)) &&
                    GrowArc(group, b, m, c, arc) && IsArcArray(arc)) {
                    queue.push(arc);
                }
            }
        }
    }
    while (!queue.empty()) {
        const ArcCandidate arc = queue.top();
        queue.pop();
        if (std::all_of(arc.members.begin(), arc.members.end(), [&](int m) { return group.Free(m); })) {
            TakeArc(group, arc, arrays, absorbed);
            continue;
        }
        // Lost copies to a better arc: each run of free copies left competes again, grown afresh from its
        // first three.
        for (std::size_t k = 0; k + 2 < arc.members.size(); ++k) {
            const int b = arc.members[k], m = arc.members[k + 1], c = arc.members[k + 2];
            const bool runStart = k == 0 || !group.Free(arc.members[k - 1]);
            ArcCandidate rest;
            if (runStart && group.Free(b) && group.Free(m) && group.Free(c) &&
                IsArcSeed(group.Place(m), group.Place(b), group.Place(c)) && GrowArc(group, b, m, c, rest) &&
                IsArcArray(rest)) {
                queue.push(rest);
            }
        }
    }
    FindRingsOfThree(group, arrays, absorbed);
}

}  // namespace detail
}  // namespace Norvane
