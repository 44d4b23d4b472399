#include "tests/import/PartFingerprint.h"

#include <cstdio>
#include <unordered_map>

#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/pattern/PatternCache.h"

namespace Norvane {
namespace testplate {

namespace {

// Hexadecimal floating point: exact, so that a difference in the last bit shows.
std::string Num(double v) {
    char text[48];
    std::snprintf(text, sizeof text, " %a", v);
    return text;
}

std::string Box(const Rect2D& r) {
    return Num(r.left) + Num(r.right) + Num(r.bottom) + Num(r.top);
}

struct TreeWriter {
    const std::unordered_map<const IPatLoop*, std::size_t>& loopIndex;
    std::vector<std::string>& lines;
    void Walk(const LoopTopItemListPtr& level, int depth) {
        for (const LoopTopItemPtr& item : *level) {
            const auto it = loopIndex.find(item->GetPatLoop().get());
            lines.push_back("T " + std::to_string(depth) + " " +
                            (it == loopIndex.end() ? std::string("?") : std::to_string(it->second)));
            Walk(item->GetSubItemList(), depth + 1);
        }
    }
};

}  // namespace

std::vector<std::string> Fingerprint(const Part& part) {
    std::vector<std::string> lines;
    std::unordered_map<const IPattern*, std::size_t> patternIndex;
    for (std::size_t i = 0; i < part.patterns->size(); ++i) {
        const IPatternPtr& p = (*part.patterns)[i];
        patternIndex.emplace(p.get(), i);
        std::string line = "P " + std::to_string(p->GetPatternType()) + Box(p->GetCacheData()->GetRect());
        for (const IGeom2DPtr& g : *p->GetCacheData()->GetBaseGeom()) {
            if (const auto l = boost::dynamic_pointer_cast<Line2D>(g)) {
                line += " L" + Num(l->GetStartPoint().x) + Num(l->GetStartPoint().y) + Num(l->GetVector().x) +
                        Num(l->GetVector().y);
            } else if (const auto a = boost::dynamic_pointer_cast<Arc2D>(g)) {
                line += " A" + Num(a->GetCenter().x) + Num(a->GetCenter().y) + Num(a->GetRadius()) +
                        Num(a->GetBaseAngle()) + Num(a->GetSweepAngle());
            }
        }
        lines.push_back(line);
    }
    std::unordered_map<const IPatLoop*, std::size_t> loopIndex;
    for (std::size_t i = 0; i < part.loops->size(); ++i) {
        const IPatLoopPtr& loop = (*part.loops)[i];
        loopIndex.emplace(loop.get(), i);
        std::string line = "L " + std::to_string(loop->GetLoopType()) + " b" +
                           std::to_string(loop->IsBoundaryLoop()) + Box(loop->GetCacheData()->GetLoopRect());
        for (const PatLoopNodePtr& node : *loop->GetLoopNodes()) {
            const auto it = patternIndex.find(node->GetPat().get());
            line += " " + (it == patternIndex.end() ? std::string("?") : std::to_string(it->second)) + "/" +
                    std::to_string(node->FollowLoopDir());
        }
        lines.push_back(line);
    }
    if (part.tree) {
        TreeWriter{loopIndex, lines}.Walk(part.tree, 0);
    }
    return lines;
}

std::string FirstDifference(const std::vector<std::string>& expected,
                            const std::vector<std::string>& actual) {
    for (std::size_t i = 0; i < std::min(expected.size(), actual.size()); ++i) {
        if (expected[i] != actual[i]) {
            return "line " + std::to_string(i) + "\n  expected: " + expected[i] +
                   "\n  actual:   " + actual[i];
        }
    }
    if (expected.size() != actual.size()) {
        return std::to_string(expected.size()) + " lines expected, " + std::to_string(actual.size()) +
               " found";
    }
    return std::string();
}

}  // namespace testplate
}  // namespace Norvane
