#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "geomFeature/loop/IPatLoop.h"
#include "geomFeature/loop/LoopType.h"

namespace Norvane {

class PatLoopList;

namespace detail {

// Makes a command's effect on the loops repeatable exactly.
//
// A command keeps the loops in step through loop upkeep, which rebuilds chains from what it finds: where
// several ends meet at one point, or where loops lie in another order than when the command was first done,
// undoing (or redoing) can chain the same patterns differently from before. The journal records, the first
// time the command is done, which loops its steps removed and which they made; every later Do or UnDo runs
// the command's own steps and then compares what they changed with the record (forwards for Do, backwards
// for UnDo). Where they agree nothing more happens; where they do not, the loops that should not be there
// are deleted and the recorded ones rebuilt as new loops (same patterns, order and senses; new identifiers),
// and the boundary mark is put back on the loop that carried it. Loops are compared by kind and by their
// patterns with follow flags in chain order, a closed chain from any start and in either sense, an open
// one in either sense. Patterns rebuilt by a redo are followed through PatternForwarding.
//
// Use: Begin before the steps change the loops, End after them (before notifying observers). A command with
// no steps of its own (a recorded edit) calls Begin and End alone to put the recorded state back.
class LoopJournal {
public:
    void Begin(const PatLoopList& loops);
    void End(PatLoopList& loops, bool forward);

    bool IsRecorded() const { return m_recorded; }

private:
    struct Shape {
        IPatLoopPtr loop;  // the loop object it was read from (for finding it again), never rebuilt from
        tagLoopType type = LOOP_POLY;
        bool closed = false;
        bool boundary = false;
        std::vector<IPatternPtr> patterns;
        std::vector<int> follows;  // 0 or 1
    };
    using Key = std::vector<std::int64_t>;

    static std::vector<Shape> Capture(const PatLoopList& loops);
    static Shape CaptureLoop(const IPatLoopPtr& loop);
    static bool SameNodes(const Shape& a, const Shape& b);
    static Key KeyOf(const Shape& shape);
    static IPatLoopPtr Rebuild(const Shape& shape);
    static void Diff(const std::vector<Shape>& before, const std::vector<Shape>& after,
                     std::vector<Shape>& gone, std::vector<Shape>& made);
    static std::optional<Shape> BoundaryOf(const std::vector<Shape>& shapes);
    // Puts the boundary mark on the loop shaped as `boundary` (none: no mark) unless it is there already.
    static void RestoreBoundary(PatLoopList& loops, const std::vector<Shape>& now,
                                const std::optional<Shape>& boundary);

    std::vector<Shape> m_before;  // the loops at Begin (transient)
    bool m_recorded = false;
    std::vector<Shape> m_removed;  // loops the first Do removed
    std::vector<Shape> m_added;    // loops the first Do made
    std::optional<Shape> m_boundaryBefore;
    std::optional<Shape> m_boundaryAfter;
};

}  // namespace detail
}  // namespace Norvane
