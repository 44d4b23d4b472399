// Nesting of loops: which closed loop lies inside which, as a tree.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <memory>
#include <vector>

#include <boost/make_shared.hpp>

#include "geomFeature/host/appframe/ProgressMeter.h"
#include "geomFeature/host/geomkit/Polygon2D.h"
#include "geomFeature/host/geomkit/PolygonBuilder.h"
#include "geomFeature/host/geomkit/PreparedPolygon.h"
#include "geomFeature/host/geomkit/RectTree.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/processor/LoopProcessor.h"
#include "geomFeature/processor/LoopTopItem.h"
#include "geomFeature/processor/LoopTopItemList.h"
#include "geomFeature/processor/ProcessorTolerance.h"

namespace Norvane {

namespace {

// A level with more items than this gets an R-tree of their boxes; smaller ones are simply walked.
constexpr std::size_t kIndexedLevel = 32;

// Builds the tree by inserting the loops one by one, in list order, exactly as the plain algorithm does
// (see AddLoopToTop): at each level a new loop first gathers the items it encloses, and only when it
// gathers none goes down into the first item that encloses it. What makes it fast:
//  - the enclosure test needs the box of the outer loop to include the box of the inner one, so at a level
//    only the items whose boxes meet the new loop's box are candidates (an R-tree per large level), and they
//    are tested in the level's order, which is the order the plain walk would test them in;
//  - the outline polygons are built once per loop, not once per pair, and a loop that encloses others is
//    prepared for repeated tests (PreparedPolygon), which settles the usual cases without the general test.
// The enclosure test itself is unchanged, so the tree is the same.
class NestingBuilder {
public:
    NestingBuilder(const PatLoopList& loops, double openTol);
    LoopTopItemListPtr Build(ProgressMeter* progress);

private:
    struct Loop {
        IPatLoopPtr loop;
        Rect2D rect;
        bool open = false;
        bool hasCache = false;
        LoopTopItemPtr item;
        std::size_t level = 0;     // the level it is in
        std::size_t key = 0;       // its place in that level's order of arrival
        std::size_t subLevel = 0;  // the level of its sub-items; 0 until it has one
        enum class Outline : char { Unknown, None, Some };
        Outline outline = Outline::Unknown;         // whether its outline yields a polygon
        std::unique_ptr<PreparedPolygon> prepared;  // once it has been the outer loop of a test
    };
    struct Level {
        std::vector<std::size_t> members;  // loop numbers in order of arrival; those that left are stale
        std::size_t live = 0;
        std::unique_ptr<RectTree> index;
        LoopTopItemListPtr list;  // where the level's items go in the result
    };

    // progress is told about every enclosure test, so that one loop gathering thousands of others does not
    // keep it waiting (it counts the loops inserted).
    void Insert(std::size_t n, ProgressMeter* progress);
    // The items of level that may enclose or be enclosed by loop n: those whose box meets n's, in level
    // order.
    void Candidates(std::size_t level, std::size_t n, std::vector<std::size_t>& out);
    void Append(std::size_t level, std::size_t n);
    void Leave(std::size_t n);
    std::size_t SubLevelOf(std::size_t n);
    bool Encloses(std::size_t outer, std::size_t inner);
    const Polygon2D* OutlineOf(std::size_t n);

    std::vector<Loop> m_loops;
    std::vector<Level> m_levels;
    // Outline polygons are kept only for prepared loops and for the loop being inserted (which is tested
    // at every level it passes); others are built for the test at hand and dropped.
    std::size_t m_current = 0;
    Polygon2DPtr m_currentPolygon;
    Polygon2DPtr m_scratch;
};

NestingBuilder::NestingBuilder(const PatLoopList& loops, double openTol) {
    m_loops.reserve(loops.size());
    for (const IPatLoopPtr& loop : loops) {
        if (!loop) {
            continue;
        }
        Loop facts;
        facts.loop = loop;
        facts.item = boost::make_shared<LoopTopItem>(loop);
        const PatLoopCachePtr cache = loop->GetCacheData();
        facts.hasCache = static_cast<bool>(cache);
        // A loop without a cache takes part in no enclosure; a box of NaN keeps it out of every candidate
        // list.
        facts.rect =
            cache ? cache->GetLoopRect() : Rect2D(std::nan(""), std::nan(""), std::nan(""), std::nan(""));
        facts.open = loop->IsOpenPath(openTol) != 0;
        m_loops.push_back(std::move(facts));
    }
}

LoopTopItemListPtr NestingBuilder::Build(ProgressMeter* progress) {
    auto top = boost::make_shared<LoopTopItemList>();
    m_levels.emplace_back();
    m_levels.front().list = top;
    for (std::size_t n = 0; n < m_loops.size(); ++n) {
        if (progress && !progress->Step(n, m_loops.size())) {
            break;
        }
        Insert(n, progress);
    }
    for (std::size_t l = 0; l < m_levels.size(); ++l) {
        Level& level = m_levels[l];
        level.list->reserve(level.live);
        for (const std::size_t member : level.members) {
            if (m_loops[member].level == l) {
                level.list->push_back(m_loops[member].item);
            }
        }
    }
    return top;
}

void NestingBuilder::Insert(std::size_t n, ProgressMeter* progress) {
    const auto tick = [&] {
        if (progress) {
            progress->Step(n, m_loops.size());
        }
    };
    m_current = n;
    m_currentPolygon.reset();
    std::vector<std::size_t> candidates;
    std::size_t level = 0;
    for (;;) {
        Candidates(level, n, candidates);
        // Phase 1: the new loop takes in every item of this level it encloses, in their order, with their
        // sub-trees. An open loop encloses nothing.
        bool gathered = false;
        if (!m_loops[n].open) {
            for (const std::size_t e : candidates) {
                tick();
                if (Encloses(n, e)) {
                    Leave(e);
                    Append(SubLevelOf(n), e);
                    gathered = true;
                }
            }
        }
        // Phase 2: a loop that gathered nothing goes down into the first item of this level that encloses it.
        std::size_t container = m_loops.size();
        if (!gathered) {
            for (const std::size_t e : candidates) {
                tick();
                if (Encloses(e, n)) {
                    container = e;
                    break;
                }
            }
        }
        if (container == m_loops.size()) {
            Append(level, n);
            m_currentPolygon.reset();
            return;
        }
        level = SubLevelOf(container);
    }
}

void NestingBuilder::Candidates(std::size_t level, std::size_t n, std::vector<std::size_t>& out) {
    out.clear();
    const Level& l = m_levels[level];
    const Rect2D& rect = m_loops[n].rect;
    if (l.index) {
        l.index->QueryIntersects(rect, out);
        std::sort(out.begin(), out.end(),
                  [this](std::size_t a, std::size_t b) { return m_loops[a].key < m_loops[b].key; });
    } else {
        for (const std::size_t member : l.members) {
            out.push_back(member);
        }
    }
    const auto elsewhere = [&](std::size_t e) { return m_loops[e].level != level || e == n; };
    out.erase(std::remove_if(out.begin(), out.end(), elsewhere), out.end());
}

void NestingBuilder::Append(std::size_t level, std::size_t n) {
    Level& l = m_levels[level];
    Loop& loop = m_loops[n];
    loop.level = level;
    loop.key = l.members.size();
    l.members.push_back(n);
    ++l.live;
    if (l.index) {
        l.index->Insert(loop.rect, n);
    } else if (l.live > kIndexedLevel) {
        std::vector<RectTree::Entry> entries;
        entries.reserve(l.live);
        for (const std::size_t member : l.members) {
            if (m_loops[member].level == level) {
                entries.emplace_back(m_loops[member].rect, member);
            }
        }
        l.index = std::make_unique<RectTree>(entries);
    }
}

// Takes a gathered item out of its level; it keeps its sub-level.
void NestingBuilder::Leave(std::size_t n) {
    Level& l = m_levels[m_loops[n].level];
    --l.live;
    if (l.index) {
        l.index->Remove(m_loops[n].rect, n);
    }
    if (l.live * 2 < l.members.size() && l.members.size() > kIndexedLevel) {
        // Drop the stale entries now and then so that walks stay proportional to what is there.
        const std::size_t self = m_loops[n].level;
        std::vector<std::size_t> kept;
        kept.reserve(l.live);
        for (const std::size_t member : l.members) {
            if (member != n && m_loops[member].level == self) {
                m_loops[member].key = kept.size();
                kept.push_back(member);
            }
        }
        l.members.swap(kept);
    }
    m_loops[n].level = m_levels.size();  // in no level until appended again
}

std::size_t NestingBuilder::SubLevelOf(std::size_t n) {
    if (m_loops[n].subLevel == 0) {
        m_loops[n].subLevel = m_levels.size();
        m_levels.emplace_back();
        m_levels.back().list = m_loops[n].item->GetSubItemList();
    }
    return m_loops[n].subLevel;
}

const Polygon2D* NestingBuilder::OutlineOf(std::size_t n) {
    Loop& loop = m_loops[n];
    if (loop.outline == Loop::Outline::None) {
        return nullptr;
    }
    if (loop.prepared) {
        return &loop.prepared->GetPolygon();
    }
    if (n == m_current && m_currentPolygon) {
        return m_currentPolygon.get();
    }
    const Poly2DList polys = PolygonBuilder::BuildPolyListFromLineArc(
        loop.loop->GetCacheData()->GetLoopBaseGeom(), kTopologyPolygonTol);
    Polygon2DPtr first = polys.empty() ? Polygon2DPtr() : polys.front();
    loop.outline = first ? Loop::Outline::Some : Loop::Outline::None;
    if (!first) {
        return nullptr;
    }
    Polygon2DPtr& keep = n == m_current ? m_currentPolygon : m_scratch;
    keep = first;
    return keep.get();
}

// Does loop `outer` enclose loop `inner`? An open loop encloses nothing; boxes decide first (closed: a shared
// or equal box counts), and for an open inner loop the box decides alone. Two closed loops are compared by
// the first polygon of each outline; an outline that yields no polygon encloses nothing and is enclosed by
// nothing.
bool NestingBuilder::Encloses(std::size_t outer, std::size_t inner) {
    const Loop& a = m_loops[outer];
    const Loop& b = m_loops[inner];
    if (a.open || !a.hasCache || !b.hasCache)
        return false;
    if (!a.rect.IncludeRect(b.rect))
        return false;
    if (b.open)
        return true;
    if (!m_loops[outer].prepared) {
        const Polygon2D* polygon = OutlineOf(outer);
        if (!polygon)
            return false;
        m_loops[outer].prepared = std::make_unique<PreparedPolygon>(*polygon);
        if (outer == m_current)
            m_currentPolygon.reset();
    }
    const Polygon2D* inside = OutlineOf(inner);
    if (!inside)
        return false;
    return m_loops[outer].prepared->IncludePolygon(*inside) != 0;
}

}  // namespace

LoopTopItemListPtr LoopProcessor::CalcLoopTopStruct(const PatLoopListPtr& loops, ProgressMeter* progress) {
    if (!loops)
        return boost::make_shared<LoopTopItemList>();
    return NestingBuilder(*loops, kTopologyOpenTol).Build(progress);
}

LoopTopItemListPtr LoopProcessor::CalcLoopTopStruct(const PatLoopListPtr& loops, double openTol,
                                                    ProgressMeter* progress) {
    if (!loops)
        return boost::make_shared<LoopTopItemList>();
    return NestingBuilder(*loops, openTol).Build(progress);
}

}  // namespace Norvane
