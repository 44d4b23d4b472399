#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "geomFeature/host/appframe/DataPropItem.h"
#include "geomFeature/processor/Part.h"

namespace Norvane {

// Plain copies of what a part holds, handed to Python: they keep no reference into the part, so a script
// may keep them after the part changed or was dropped.

struct PatternInfo {
    std::int64_t id = 0;
    std::string type;  // "line", "circle", "obround", ... as the program prints it
    int typeCode = 0;
    // The pattern's values as the property bar shows them, in its order: "centre_x", "radius",
    // "sweep_angle" (angles in degrees), ...
    std::vector<std::pair<std::string, PropValue>> params;
    std::wstring layer;
    int colour = 0;          // DXF colour index, 0 when none
    bool arraySeed = false;  // the seed (control pattern) of an array
};

struct LoopInfo {
    std::size_t index = 0;  // in the part's loop list, as `geomfeature info` numbers loops
    std::int64_t id = 0;
    std::string kind;   // "polygon", "standard", "array"
    std::string shape;  // "polygon", or the standard shape / the array's type name
    bool closed = false;
    std::string direction;             // "cw" or "ccw"
    int depth = -1;                    // depth in the nesting tree (0 outermost); -1 without a tree
    std::string role;                  // "outer", "hole", "island", "open"; "" without a tree
    bool boundary = false;             // the part's boundary loop
    std::vector<std::int64_t> pieces;  // pattern identifiers in node order
    std::vector<double> box;           // xmin, ymin, xmax, ymax; empty for an empty loop
};

std::vector<PatternInfo> PatternsOf(const Part& part);
std::vector<LoopInfo> LoopsOf(const Part& part);

}  // namespace Norvane
