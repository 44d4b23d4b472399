#pragma once

// Builders for the grouping tests: a part made of one closed chain of pieces, chains drawn the other way
// round, and the outline of a pattern.

#include <vector>

#include <boost/make_shared.hpp>
#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/loop/PatLoopList.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatternCache.h"
#include "geomFeature/pattern/PatternList.h"

namespace Norvane {
namespace testutil {

inline IPatternPtr Line(double x1, double y1, double x2, double y2) {
    return boost::make_shared<LinePattern>(Point2D(x1, y1), Point2D(x2, y2));
}

inline IPatternPtr Arc(double cx, double cy, double r, double start, double sweep) {
    return boost::make_shared<ArcPattern>(Point2D(cx, cy), r, start, sweep);
}

inline PatternListPtr Pieces(const std::vector<IPatternPtr>& patterns) {
    auto list = boost::make_shared<PatternList>();
    for (const IPatternPtr& p : patterns) {
        list->push_back(p);
    }
    list->UpdateCache();
    return list;
}

// The same outline drawn the other way round: pieces in reverse order, each reversed (an arc keeps its
// circle and runs back with the negated sweep).
inline PatternListPtr Reversed(const PatternListPtr& pieces) {
    std::vector<IPatternPtr> back;
    for (auto it = pieces->rbegin(); it != pieces->rend(); ++it) {
        if (const auto arc = boost::dynamic_pointer_cast<ArcPattern>(*it)) {
            back.push_back(boost::make_shared<ArcPattern>(arc->GetBasePoint(), arc->GetRadius(),
                                                          arc->GetEndAngle(), -arc->GetMoveAngle()));
        } else {
            back.push_back(boost::make_shared<LinePattern>((*it)->GetEndPoint(), (*it)->GetStartPoint()));
        }
    }
    return Pieces(back);
}

// A part whose pattern list holds the pieces and whose loop list holds one polygon loop running through
// them in order, each followed from its start to its end.
struct Part {
    PatternListPtr patterns = boost::make_shared<PatternList>();
    PatLoopListPtr loops = boost::make_shared<PatLoopList>();

    void AddChain(const PatternListPtr& pieces) {
        auto loop = boost::make_shared<PolyPatLoop>();
        for (const IPatternPtr& p : *pieces) {
            loop->AppendPattern(p, 1);
            patterns->push_back(p);
        }
        loops->push_back(loop);
    }
};

inline Part PartOf(const PatternListPtr& pieces) {
    Part part;
    part.AddChain(pieces);
    return part;
}

inline const Geom2DList& Outline(const IPatternPtr& pattern) {
    pattern->UpdateCache();
    return *pattern->GetCacheData()->GetBaseGeom();
}

}  // namespace testutil
}  // namespace Norvane
