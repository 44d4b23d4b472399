#include "apps/core/PartSummary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_map>

#include <boost/pointer_cast.hpp>

#include "geomFeature/host/geomkit/RepeatData.h"
#include "geomFeature/loop/PolyPatLoop.h"
#include "geomFeature/pattern/IArrayPattern.h"
#include "geomFeature/processor/ProcessorTolerance.h"
#include "geomFeature/pattern/PatternType.h"

namespace Norvane {

namespace {

// Values this close to zero are rounding noise of the geometry (sin(pi) and the like) and print as 0.
constexpr double kPrintZero = 1e-9;

std::string Fixed(double value) {
    if (std::fabs(value) < kPrintZero) value = 0.0;
    char text[64];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

std::string PointText(const Point2D& p) { return "(" + Fixed(p.x) + ", " + Fixed(p.y) + ")"; }

// A gap or tolerance: three significant digits, however small (a gap of 2e-7 is not "0").
std::string Gap(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", value);
    return text;
}

// Counts an array loop under its kind.
void CountArray(const IPatLoopPtr& loop, std::map<std::string, PartSummary::ArrayKind>& byKind) {
    const auto array = boost::dynamic_pointer_cast<IArrayPattern>(loop->GetPatByNodeIdx(0));
    if (!array) return;
    PartSummary::ArrayKind& kind = byKind[PatternTypeName(array->GetPatternType())];
    ++kind.arrays;
    const RepeatDataPtr copies = array->GetRepeatData();
    kind.copies += 1 + (copies ? copies->size() : 0);  // the first copy, then one matrix per further copy
}

std::string ArraysText(const std::map<std::string, PartSummary::ArrayKind>& byKind) {
    std::string out = "arrays:";
    std::string sep = " ";
    for (const auto& [name, kind] : byKind) {
        out += sep + std::to_string(kind.arrays) + " " + name + " (" + std::to_string(kind.copies) +
               (kind.copies == 1 ? " copy)" : " copies)");
        sep = ", ";
    }
    return out + "\n";
}

std::string LoopKind(const IPatLoopPtr& loop) {
    if (loop->GetLoopType() == LOOP_POLY) return "polygon";
    const PatLoopNodeListPtr nodes = loop->GetLoopNodes();
    if (nodes->empty() || !nodes->front()->GetPat()) return "empty";
    return PatternTypeName(nodes->front()->GetPat()->GetPatternType());
}

}  // namespace

std::string PatternTypeName(int type) {
    switch (type) {
        case PAT_LINE: return "line";
        case PAT_RECT_HOLE: return "rectangle";
        case PAT_ARC: return "arc";
        case PAT_CIRCLE: return "circle";
        case PAT_SINGLE_D: return "single-d";
        case PAT_RC_HOLE: return "rounded-rectangle";
        case PAT_LINE_ARRAY: return "line-array";
        case PAT_TR_HOLE: return "triangle";
        case PAT_OBROUND: return "obround";
        case PAT_ELLIPSE: return "ellipse";
        case PAT_DOUBLE_D: return "double-d";
        case PAT_RAD_SLOT: return "radius-slot";
        case PAT_ARC_ARRAY: return "arc-array";
        case PAT_CIRCLE_ARRAY: return "circle-array";
        case PAT_GRID_ARRAY: return "grid-array";
        default: return "type-" + std::to_string(type);
    }
}

PartSummary PartSummary::Of(const Part& part) {
    PartSummary s;
    if (part.patterns) {
        s.patternCount = part.patterns->size();
        for (const IPatternPtr& pattern : *part.patterns) {
            if (pattern) ++s.patternsByType[PatternTypeName(pattern->GetPatternType())];
        }
        if (!part.patterns->empty()) {
            s.hasBox = true;
            s.box = part.patterns->GetRectBox();
        }
    }
    std::unordered_map<const IPatLoop*, std::size_t> indexOf;
    if (part.loops) {
        s.loopCount = part.loops->size();
        s.boundaryLoop = part.loops->GetBoundaryLoop();
        for (std::size_t i = 0; i < part.loops->size(); ++i) {
            const IPatLoopPtr& loop = (*part.loops)[i];
            indexOf[loop.get()] = i;
            switch (loop->GetLoopType()) {
                case LOOP_STD: ++s.standardLoops; break;
                case LOOP_ARRAY:
                    ++s.arrayLoops;
                    CountArray(loop, s.arraysByKind);
                    break;
                default:
                    if (loop->IsOpenPath(kOpenLoopTol)) {
                        ++s.openLoopCount;
                        auto poly = boost::dynamic_pointer_cast<PolyPatLoop>(loop);
                        OpenLoop open;
                        open.index = i;
                        open.pieces = loop->GetLoopNodes()->size();
                        if (poly && !loop->GetLoopNodes()->empty()) {
                            open.start = poly->GetStartPt();
                            open.end = poly->GetEndPt();
                            open.gap = open.start.DistanceTo(open.end);
                        }
                        s.openLoops.push_back(open);
                    } else {
                        ++s.closedPolygonLoops;
                    }
            }
        }
    }
    if (s.patternCount > 0 && s.boundaryLoop < 0) {
        const std::size_t closed = s.closedPolygonLoops + s.standardLoops + s.arrayLoops;
        s.outerContourWarning =
            closed == 0
                ? "the part has no closed contour: all " + std::to_string(s.openLoopCount) + " are open"
            : s.openLoopCount > 0
                ? "the part has no closed outer contour: no closed contour encloses all the others, and " +
                      std::to_string(s.openLoopCount) +
                      (s.openLoopCount == 1 ? " contour is open" : " contours are open")
                : "the part has no closed outer contour: no closed contour encloses all the others";
    }
    if (part.tree) {
        // Depth-first walk; the depth counts closed loops only, since open loops enclose nothing.
        struct Walker {
            PartSummary& s;
            std::unordered_map<const IPatLoop*, std::size_t>& indexOf;
            void Walk(const LoopTopItemListPtr& level, int depth) {
                for (const LoopTopItemPtr& item : *level) {
                    const IPatLoopPtr& loop = item->GetPatLoop();
                    TreeLine line;
                    line.depth = depth;
                    line.index = indexOf[loop.get()];
                    line.kind = LoopKind(loop);
                    line.open = loop->IsOpenPath(kOpenLoopTol) != 0;
                    s.tree.push_back(line);
                    if (!line.open) s.nestingDepth = std::max(s.nestingDepth, depth + 1);
                    Walk(item->GetSubItemList(), depth + 1);
                }
            }
        } walker{s, indexOf};
        walker.Walk(part.tree, 0);
    }
    return s;
}

std::string PartSummary::ToText(bool withTree) const {
    std::string out;
    out += "patterns: " + std::to_string(patternCount);
    std::string sep = " (";
    for (const auto& [name, count] : patternsByType) {
        out += sep + std::to_string(count) + " " + name;
        sep = ", ";
    }
    out += patternsByType.empty() ? "\n" : ")\n";
    out += "loops: " + std::to_string(loopCount) + " (" + std::to_string(closedPolygonLoops) +
           " closed polygon, " + std::to_string(standardLoops) + " standard shape, " +
           std::to_string(arrayLoops) + " array, " + std::to_string(openLoopCount) + " open)\n";
    if (!arraysByKind.empty()) out += ArraysText(arraysByKind);
    for (const OpenLoop& open : openLoops) {
        out += "  open loop #" + std::to_string(open.index) + ": " + std::to_string(open.pieces) +
               (open.pieces == 1 ? " piece from " : " pieces from ") + PointText(open.start) + " to " +
               PointText(open.end) + ", gap " + Gap(open.gap) + " mm";
        if (open.closingJoinTol > 0.0) {
            out += "; --join-tol " + Gap(open.closingJoinTol) + " would close it";
        }
        out += "\n";
    }
    out += "nesting depth: " + std::to_string(nestingDepth) + "\n";
    out += "boundary loop: " + (boundaryLoop < 0 ? std::string("none") : "#" + std::to_string(boundaryLoop)) +
           "\n";
    if (hasBox) {
        out += "box: " + PointText(Point2D(box.left, box.bottom)) + " to " +
               PointText(Point2D(box.right, box.top)) + ", " + Fixed(box.Width()) + " x " +
               Fixed(box.Height()) + " mm\n";
    } else {
        out += "box: empty\n";
    }
    if (withTree) {
        out += "nesting tree:\n";
        for (const TreeLine& line : tree) {
            out += std::string(2 + 2 * line.depth, ' ') + "#" + std::to_string(line.index) + " " + line.kind +
                   (line.open ? " (open)" : "") + "\n";
        }
    }
    return out;
}

nlohmann::json PartSummary::ToJson(bool withTree) const {
    nlohmann::json j;
    j["patterns"] = {{"total", patternCount}, {"by_type", patternsByType}};
    nlohmann::json opens = nlohmann::json::array();
    for (const OpenLoop& open : openLoops) {
        opens.push_back({{"index", open.index},
                         {"pieces", open.pieces},
                         {"start", {open.start.x, open.start.y}},
                         {"end", {open.end.x, open.end.y}},
                         {"gap", open.gap},
                         {"closing_join_tol", open.closingJoinTol > 0.0 ? nlohmann::json(open.closingJoinTol)
                                                                        : nlohmann::json(nullptr)}});
    }
    j["loops"] = {{"total", loopCount},     {"closed_polygon", closedPolygonLoops},
                  {"standard", standardLoops}, {"array", arrayLoops},
                  {"open", openLoopCount},  {"open_loops", opens}};
    nlohmann::json arrays = nlohmann::json::object();
    for (const auto& [name, kind] : arraysByKind) arrays[name] = {{"arrays", kind.arrays}, {"copies", kind.copies}};
    j["arrays"] = arrays;
    j["nesting_depth"] = nestingDepth;
    j["boundary_loop"] = boundaryLoop;
    if (hasBox) {
        j["box"] = {{"min", {box.left, box.bottom}}, {"max", {box.right, box.top}}};
    } else {
        j["box"] = nullptr;
    }
    if (withTree) {
        nlohmann::json lines = nlohmann::json::array();
        for (const TreeLine& line : tree) {
            lines.push_back({{"depth", line.depth}, {"index", line.index}, {"kind", line.kind},
                             {"open", line.open}});
        }
        j["tree"] = lines;
    }
    return j;
}

}  // namespace Norvane
