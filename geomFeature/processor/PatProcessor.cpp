#include "geomFeature/processor/PatProcessor.h"

#include <algorithm>
#include <cstddef>
#include <iomanip>
#include <sstream>
#include <string>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/geomkit/PolyViewDlg.h"
#include "geomFeature/host/geomkit/Rect2D.h"
#include "geomFeature/host/logkit/LogMgr.h"
#include "geomFeature/host/mathkit/IntegerList.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PatLoopNode.h"
#include "geomFeature/loop/PatLoopNodeList.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/PatternList.h"
#include "geomFeature/processor/ProcessorTolerance.h"

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

// A grows whenever it absorbs a piece, so a later piece that did not reach it before may reach it now: the
// scan of the later pieces starts over after every absorption. Each restart follows a removal, so the
// walk ends. A duplicate leaves A as it was and the scan simply goes on.
void PatProcessor::MergePattern(const PatternListPtr& patterns, double tolerance,
                                std::vector<DataID>& removedIds) {
    if (!patterns) {
        return;
    }
    PatternList& list = *patterns;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const IPatternPtr a = list[i];
        if (!a) {
            continue;
        }
        std::size_t j = i + 1;
        while (j < list.size()) {
            const IPatternPtr b = list[j];
            if (!b || b->GetPatternType() != a->GetPatternType()) {
                ++j;
                continue;
            }
            const bool duplicate = a->IsDuplicate(b) != 0;
            const bool absorbed = !duplicate && Absorbs(a, b, tolerance);
            if (!duplicate && !absorbed) {
                ++j;
                continue;
            }
            removedIds.push_back(b->GetID());
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(j));
            if (absorbed) {
                a->UpdateCache();
                j = i + 1;
            }
        }
    }
}

// One translation by the negated lower-left corner, for every pattern: arrays and their seeds move by the
// same amount, so every copy keeps its place relative to the seed.
void PatProcessor::AdjustOriginToLB(const PatternListPtr& patterns) {
    if (!patterns || patterns->empty()) {
        return;
    }
    const Rect2D box = patterns->GetRectBox();
    Matrix2D move;
    move.SetTransfer(Vector2D(-box.left, -box.bottom));
    for (const IPatternPtr& pattern : *patterns) {
        if (pattern) {
            pattern->Transform(move);
        }
    }
    // Seeds first: an array's outline is computed from its seed.
    for (const IPatternPtr& pattern : *patterns) {
        if (pattern && pattern->IsArrayPat() == 0) {
            pattern->UpdateCache();
        }
    }
    for (const IPatternPtr& pattern : *patterns) {
        if (pattern && pattern->IsArrayPat() != 0) {
            pattern->UpdateCache();
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
