#pragma once

#include <functional>
#include <iosfwd>
#include <string>

#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

// Writes patterns as an ASCII DXF R12 drawing in millimetres ($INSUNITS 4): lines, arcs and circles as
// LINE, ARC and CIRCLE, every other pattern as the lines and arcs of its outline (a full-turn arc as a
// CIRCLE). Seeds of arrays are left out, since each array's outline already holds every copy. Each
// pattern's entities go on the layer the caller's function names (by default the pattern's own layer;
// an empty name becomes layer "0") and carry the pattern's colour index when it has one (1..255), else
// BYLAYER. Writes to the stream or file given; replacing a file safely is the caller's business.
class DxfWriter {
public:
    using LayerFunction = std::function<std::wstring(const IPatternPtr&)>;

    struct Options {
        LayerFunction layerOf;  // empty: IPattern::GetLayerName
    };

    struct Result {
        bool ok = true;
        std::string message;   // why writing failed (without the path); empty on success
        int entityCount = 0;   // LINE, ARC and CIRCLE entities written
        int skippedCount = 0;  // outline elements left out for non-finite geometry

        bool Ok() const { return ok; }
    };

    static Result Write(const PatternList& patterns, std::ostream& out, const Options& options);
    static Result Write(const PatternList& patterns, std::ostream& out) {
        return Write(patterns, out, Options());
    }
    static Result WriteFile(const PatternList& patterns, const std::string& path, const Options& options);
    static Result WriteFile(const PatternList& patterns, const std::string& path) {
        return WriteFile(patterns, path, Options());
    }
};

}  // namespace Norvane
