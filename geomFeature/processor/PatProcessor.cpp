#include "geomFeature/processor/PatProcessor.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iomanip>
#include <sstream>
#include <string>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/appframe/ProgressMeter.h"
#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/GeomTolerance.h"
#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/geomkit/PolyViewDlg.h"
#include "geomFeature/host/geomkit/Rect2D.h"
#include "geomFeature/host/geomkit/RectTree.h"
#include "geomFeature/host/logkit/LogMgr.h"
#include "geomFeature/host/mathkit/IntegerList.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PatLoopNode.h"
#include "geomFeature/loop/PatLoopNodeList.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/pattern/PatternTolerance.h"
#include "geomFeature/processor/ProcessorTolerance.h"
#include "geomFeature/processor/detail/PointGrid.h"

namespace Norvane {

namespace {

bool IsTiny(const IPatternPtr& pattern, double size) {
    return pattern->GetCacheData()->GetRect().InRange(size, size) != 0;
}

// A absorbs B: lines joined within tolerance, arcs on one circle. Other types never absorb.
bool Absorbs(const IPatternPtr& a, const IPatternPtr& b, double tolerance) {
    if (const auto line = boost::dynamic_pointer_cast<LinePattern>(a)) {
        return line->MergeWith(b, tolerance) != 0;
    }
    if (const auto arc = boost::dynamic_pointer_cast<ArcPattern>(a)) {
        return arc->MergeWith(b) != 0;
    }
    return false;
}

// The box of a line from its end points (not its cache, which a caller may not have refreshed).
Rect2D LineBox(const IPattern& line) {
    return Rect2D::FromPoints(line.GetStartPoint(), line.GetEndPoint());
}

// Where a line that A duplicates or absorbs must have a point: A's box widened by twice the merge
// tolerance (a piece within tolerance of A's line, overlapping A's extent widened by tolerance) or by the
// duplicate distance, whichever is larger, plus a hair for rounding.
Rect2D LineReach(const IPattern& a, double tolerance) {
    Rect2D box = LineBox(a);
    const double reach = std::max(kPatDuplicateTol, 2.0 * tolerance);
    const double scale =
        std::fabs(box.left) + std::fabs(box.right) + std::fabs(box.bottom) + std::fabs(box.top);
    box.Inflate(reach + (reach + scale) * kIndexSlack);
    return box;
}

std::wstring PointText(const Point2D& p) {
    std::wostringstream os;
    os << std::setprecision(17) << L"(" << p.x << L", " << p.y << L")";
    return os.str();
}

}  // namespace

void PatProcessor::Explode(const PatternListPtr& patterns, const IntegerListPtr& ids) {
    if (!patterns || !ids) {
        return;
    }
    patterns->RemovePatternsEx(ids);
}

// A pattern's duplicates and the pieces it can absorb lie close to it, so each pattern A is compared only
// with the later patterns an index finds near it, not with every later pattern; the result is the one a
// scan of all later patterns gives:
//  - lines: a line within tolerance of A's infinite line whose extent meets A's widened by tolerance lies
//    within 2 x tolerance of A's box, and a duplicate has both ends within 1e-4 (Manhattan) of A's: an
//    R-tree of the lines' boxes, asked with A's box widened by the larger of the two;
//  - arcs, circles and ellipses: a duplicate or a co-circular piece has its centre within 1e-4 of A's
//    (arcs merging keep their centre): a grid of centres;
//  - every other type has no duplicates (IsDuplicate is 0) and absorbs nothing.
// The walk is the scan's: A takes the first later candidate in list order that it duplicates or absorbs;
// after a duplicate the scan goes on, after an absorption (A has grown) it starts over, A being asked again.
void PatProcessor::MergePattern(const PatternListPtr& patterns, double tolerance,
                                std::vector<DataID>& removedIds, ProgressMeter* progress) {
    if (!patterns) {
        return;
    }
    PatternList& list = *patterns;
    const std::size_t n = list.size();
    std::vector<char> removed(n, 0);
    std::vector<Rect2D> lineBox(n);
    std::vector<RectTree::Entry> lineEntries;
    std::vector<Point2D> centres(n, Point2D(std::nan(""), std::nan("")));
    // Progress: the indexes are built in the first quarter, the walk fills the rest.
    for (std::size_t i = 0; i < n; ++i) {
        if (progress) {
            progress->Step(i, 4 * n);
        }
        const IPatternPtr& p = list[i];
        if (!p) {
            continue;
        }
        switch (p->GetPatternType()) {
            case PAT_LINE:
                lineBox[i] = LineBox(*p);
                lineEntries.emplace_back(lineBox[i], i);
                break;
            case PAT_ARC:
            case PAT_CIRCLE:
            case PAT_ELLIPSE:
                centres[i] = p->GetBasePoint();
                break;
            default:
                break;
        }
    }
    RectTree lines(lineEntries);
    lineEntries.clear();
    lineEntries.shrink_to_fit();
    const detail::PointGrid centreGrid(centres, detail::PointGrid::CellFor(kMergeCentreReach));

    std::vector<std::size_t> candidates;
    for (std::size_t i = 0; i < n; ++i) {
        if (progress && !progress->Step(n + 3 * i, 4 * n)) {
            break;
        }
        const IPatternPtr a = list[i];
        if (!a || removed[i]) {
            continue;
        }
        const tagPatternType type = a->GetPatternType();
        if (type != PAT_LINE && type != PAT_ARC && type != PAT_CIRCLE && type != PAT_ELLIPSE) {
            continue;
        }
        const ArcPatternPtr arc = boost::dynamic_pointer_cast<ArcPattern>(a);
        double radius = arc ? arc->GetRadius() : 0.0;
        // Later patterns of A's type near A, in list order. Lines are asked again after every absorption;
        // the others' candidates do not change (A's centre stays where it is).
        auto gather = [&]() {
            candidates.clear();
            if (type == PAT_LINE) {
                lines.QueryIntersects(LineReach(*a, tolerance), candidates);
            } else {
                centreGrid.ForEachNear(a->GetBasePoint(), kMergeCentreReach,
                                       [&](std::size_t j) { candidates.push_back(j); });
            }
            candidates.erase(std::remove_if(candidates.begin(), candidates.end(),
                                            [&](std::size_t j) {
                                                return j <= i || removed[j] || !list[j] ||
                                                       list[j]->GetPatternType() != type;
                                            }),
                             candidates.end());
            std::sort(candidates.begin(), candidates.end());
        };
        gather();
        for (std::size_t k = 0; k < candidates.size(); ++k) {
            const std::size_t j = candidates[k];
            const IPatternPtr& b = list[j];
            if (removed[j]) {
                continue;
            }
            // Arcs whose radii differ by more than this can neither duplicate nor merge (the merge's own
            // test, on the same values).
            if (arc) {
                const ArcPatternPtr other = boost::dynamic_pointer_cast<ArcPattern>(b);
                if (other && std::fabs(radius - other->GetRadius()) > kGeomEqualTol) {
                    continue;
                }
            }
            const bool duplicate = a->IsDuplicate(b) != 0;
            const bool absorbed = !duplicate && Absorbs(a, b, tolerance);
            if (!duplicate && !absorbed) {
                continue;
            }
            removedIds.push_back(b->GetID());
            removed[j] = 1;
            if (type == PAT_LINE) {
                lines.Remove(lineBox[j], j);
            }
            if (absorbed) {
                a->UpdateCache();
                radius = arc ? arc->GetRadius() : 0.0;
                if (type == PAT_LINE) {
                    gather();
                }
                k = static_cast<std::size_t>(-1);  // start over with the first candidate
            }
        }
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (!removed[i]) {
            list[kept++] = list[i];
        }
    }
    list.resize(kept);
}

// One translation by the negated lower-left corner, for every pattern: arrays and their seeds move by the
// same amount, so every copy keeps its place relative to the seed.
void PatProcessor::AdjustOriginToLB(const PatternListPtr& patterns, ProgressMeter* progress) {
    if (!patterns || patterns->empty()) {
        return;
    }
    const Rect2D box = patterns->GetRectBox();
    Matrix2D move;
    move.SetTransfer(Vector2D(-box.left, -box.bottom));
    const std::size_t n = patterns->size();
    for (std::size_t i = 0; i < n; ++i) {
        if ((*patterns)[i]) {
            (*patterns)[i]->Transform(move);
        }
        if (progress) {
            progress->Step(i, 3 * n);  // reported only: a part moved half-way would be no part at all
        }
    }
    // Seeds first: an array's outline is computed from its seed.
    for (int arrays = 0; arrays < 2; ++arrays) {
        for (std::size_t i = 0; i < n; ++i) {
            const IPatternPtr& pattern = (*patterns)[i];
            if (pattern && (pattern->IsArrayPat() != 0) == (arrays == 1)) {
                pattern->UpdateCache();
            }
            if (progress) {
                progress->Step((1 + arrays) * n + i, 3 * n);
            }
        }
    }
}

void PatProcessor::RemoveTinyPatterns(const PatternListPtr& patterns, double size) {
    if (!patterns) {
        return;
    }
    const auto tiny = [size](const IPatternPtr& p) { return p && IsTiny(p, size); };
    patterns->erase(std::remove_if(patterns->begin(), patterns->end(), tiny), patterns->end());
}

void PatProcessor::RemoveTinyPatInOpenLoops(const PatternListPtr& patterns, const PatLoopListPtr& loops,
                                            double size) {
    if (!patterns || !loops) {
        return;
    }
    auto tiny = boost::make_shared<PatternList>();
    for (const IPatLoopPtr& loop : *loops) {
        if (!loop || loop->IsOpenPath(kOpenLoopTol) == 0) {
            continue;
        }
        const PatLoopNodeListPtr nodes = loop->GetLoopNodes();
        for (const PatLoopNodePtr& node : *nodes) {
            const IPatternPtr& pattern = node->GetPat();
            if (pattern && IsTiny(pattern, size)) {
                tiny->push_back(pattern);
            }
        }
    }
    patterns->RemovePatterns(tiny);
}

// One line per line or arc pattern: its index in the list, its identifier and its start and end points
// with every digit, so that a case can be rebuilt from the log.
void PatProcessor::PrintLineArcPatPt(const PatternListPtr& patterns) {
    if (!patterns) {
        return;
    }
    for (std::size_t i = 0; i < patterns->size(); ++i) {
        const IPatternPtr& pattern = (*patterns)[i];
        if (!pattern) {
            continue;
        }
        const tagPatternType type = pattern->GetPatternType();
        if (type != PAT_LINE && type != PAT_ARC) {
            continue;
        }
        std::wostringstream os;
        os << (type == PAT_LINE ? L"line " : L"arc ") << i << L" id " << pattern->GetID() << L": "
           << PointText(pattern->GetStartPoint()) << L" -> " << PointText(pattern->GetEndPoint());
        LogMgr::DebugWarn(os.str());
    }
}

void PatProcessor::DisplayLineArcPatPt(const PatternListPtr& patterns) {
    if (!patterns) {
        return;
    }
    PolyViewDlg viewer;
    for (const IPatternPtr& pattern : *patterns) {
        if (const auto line = boost::dynamic_pointer_cast<LinePattern>(pattern)) {
            viewer.AddLine(Line2D(line->GetStartPoint(), line->GetEndPoint()));
        } else if (const auto arc = boost::dynamic_pointer_cast<ArcPattern>(pattern)) {
            viewer.AddArc(
                Arc2D(arc->GetBasePoint(), arc->GetRadius(), arc->GetStartAngle(), arc->GetMoveAngle()));
        }
    }
    viewer.DoModal();
}

}  // namespace Norvane
