#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "geomFeature/processor/Part.h"
#include "geomFeature/host/geomkit/Point2D.h"
#include "geomFeature/host/geomkit/Rect2D.h"

namespace Norvane {

// What a person wants to know about a part at a glance: what it is made of, which contours are closed,
// which are open and where their ends are, how deep the holes nest and how big it is.
struct PartSummary {
    struct OpenLoop {
        std::size_t index = 0;  // position in the loop list
        std::size_t pieces = 0;
        Point2D start;
        Point2D end;
        double gap = 0.0;             // distance between its two ends
        double closingJoinTol = 0.0;  // a --join-tol that would close it (JoinHint), 0 when none is known
    };
    // One line of the nesting tree, in depth-first order.
    struct TreeLine {
        int depth = 0;
        std::size_t index = 0;  // position in the loop list
        std::string kind;       // "polygon", a standard shape name, or an array name
        bool open = false;
    };

    // Arrays of one kind ("grid-array", ...): how many, and how many copies they hold in all.
    struct ArrayKind {
        std::size_t arrays = 0;
        std::size_t copies = 0;
    };

    std::size_t patternCount = 0;
    std::map<std::string, std::size_t> patternsByType;
    std::size_t loopCount = 0;
    std::size_t closedPolygonLoops = 0;
    std::size_t openLoopCount = 0;
    std::size_t standardLoops = 0;
    std::size_t arrayLoops = 0;
    std::map<std::string, ArrayKind> arraysByKind;
    std::vector<OpenLoop> openLoops;
    int nestingDepth = 0;  // 0 for a part without closed loops, 1 for outer contours only, ...
    int boundaryLoop = -1;
    bool hasBox = false;
    Rect2D box;
    std::vector<TreeLine> tree;
    // Why the part has no closed outer contour (no boundary loop), empty when it has one or is empty.
    std::string outerContourWarning;

    static PartSummary Of(const Part& part);
    // Plain text for a terminal: one fact per line, the tree indented when asked for.
    std::string ToText(bool withTree) const;
    nlohmann::json ToJson(bool withTree) const;
};

// The name programs print for a pattern type ("line", "circle", "obround", ...).
std::string PatternTypeName(int type);

}  // namespace Norvane
