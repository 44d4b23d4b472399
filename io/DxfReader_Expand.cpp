// Placing the collected model space: block expansion (nested INSERTs, MINSERT grids), layer and colour
// inheritance, the guards against runaway expansion, and the final patterns.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <set>

#include <boost/make_shared.hpp>

#include "geomFeature/pattern/LinePattern.h"
#include "io/detail/DxfModel.h"
#include "io/detail/DxfTolerance.h"

namespace Norvane::dxf_detail {

namespace {

constexpr int kColourByBlock = 0;
constexpr int kColourByLayer = 256;
constexpr int kColourDefault = 7;  // what an entity without a usable colour is drawn in

// Work a placement costs, counted before expanding anything so that a hostile MINSERT fails fast.
struct Cost {
    std::uint64_t patterns = 0;  // geometry pieces (one pattern or more each)
    std::uint64_t entities = 0;  // placed entities of any kind, the expansion's own work
};

std::uint64_t SaturatingMul(std::uint64_t a, std::uint64_t b) {
    if (a != 0 && b > std::numeric_limits<std::uint64_t>::max() / a) {
        return std::numeric_limits<std::uint64_t>::max();
    }
    return a * b;
}

std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) {
    return b > std::numeric_limits<std::uint64_t>::max() - a ? std::numeric_limits<std::uint64_t>::max()
                                                             : a + b;
}

// Layer names are UTF-8 from R2007 on and a code page before; \U+XXXX escapes may appear in either.
// Bytes that are not valid UTF-8 are taken as Latin-1.
std::wstring DecodeName(const std::string& s) {
    std::wstring out;
    std::size_t i = 0;
    while (i < s.size()) {
        if (s.compare(i, 3, "\\U+") == 0 && i + 7 <= s.size()) {
            const std::string hex = s.substr(i + 3, 4);
            if (hex.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos) {
                out.push_back(static_cast<wchar_t>(std::stoul(hex, nullptr, 16)));
                i += 7;
                continue;
            }
        }
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const int extra = (c & 0xE0u) == 0xC0u ? 1 : (c & 0xF0u) == 0xE0u ? 2 : (c & 0xF8u) == 0xF0u ? 3 : 0;
        unsigned long code = c & (0x3Fu >> extra);
        bool valid = extra > 0 && i + extra < s.size();
        for (int k = 1; valid && k <= extra; ++k) {
            const unsigned char cc = static_cast<unsigned char>(s[i + k]);
            valid = (cc & 0xC0u) == 0x80u;
            code = (code << 6) | (cc & 0x3Fu);
        }
        if (valid) {
            out.push_back(static_cast<wchar_t>(code));
            i += static_cast<std::size_t>(extra) + 1;
        } else {
            out.push_back(static_cast<wchar_t>(c));  // ASCII, or a Latin-1 byte
            ++i;
        }
    }
    return out;
}

Matrix2D Translation(double x, double y) {
    return Matrix2D(1.0, 0.0, 0.0, 1.0, x, y);
}

class Expander {
public:
    Expander(const Drawing& drawing, const DxfReader::Options& options, double scale,
             DxfReader::Result& result)
        : m_drawing(drawing), m_options(options), m_result(result), m_scale(scale) {
        m_chordTol = std::max(options.chordTol, kMinChordTol);
    }

    bool Run() {
        const Cost cost = CostOf(m_drawing.model, 0);
        const std::uint64_t cap = m_options.maxPatterns;
        if (cost.patterns > cap || cost.entities > SaturatingMul(cap, 10)) {
            Fail(cost.patterns > cap ? cost.patterns : cost.entities);
            return false;
        }
        Context root;
        root.m = Matrix2D(m_scale, 0.0, 0.0, m_scale, 0.0, 0.0);
        PlaceBlock(m_drawing.model, root);
        if (m_tooLarge) {
            Fail(std::max<std::uint64_t>(m_result.patterns->size(), m_placed));
            return false;
        }
        for (const auto& [reason, count] : m_warnings) {
            m_result.warnings.push_back(reason + " (" + std::to_string(count) + ")");
        }
        return true;
    }

private:
    struct Context {
        Matrix2D m;                   // block coordinates -> millimetres
        std::string layer;            // the INSERT's layer, taken by entities on layer 0
        int colour = kColourDefault;  // the INSERT's colour, taken by BYBLOCK entities
        int depth = 0;                // INSERT nesting
    };

    void Fail(std::uint64_t count) {
        m_result.error = DxfReader::ErrorKind::TooLarge;
        m_result.message = "the drawing expands to more than " + std::to_string(m_options.maxPatterns) +
                           " elements (at least " + std::to_string(count) +
                           " after expanding blocks and grids)";
        m_result.patterns->clear();
    }

    const Block* FindBlock(const std::string& key) const {
        const auto it = m_drawing.blocks.find(key);
        return it == m_drawing.blocks.end() ? nullptr : &it->second;
    }

    // Cost of placing a block once at that nesting depth; an insert nested deeper than allowed, or back
    // into a block on the path, counts nothing, as it will not be expanded.
    Cost CostOf(const Block& block, int depth) {
        const auto key = std::make_pair(&block, depth);
        const auto memo = m_cost.find(key);
        if (memo != m_cost.end()) {
            return memo->second;
        }
        if (!m_costing.insert(&block).second) {
            return Cost();
        }
        Cost cost;
        for (const Item& item : block.items) {
            cost.entities = SaturatingAdd(cost.entities, 1);
            if (!item.insert) {
                cost.patterns = SaturatingAdd(cost.patterns, item.prims.size());
                continue;
            }
            const Block* child = FindBlock(item.insert->blockKey);
            if (!child || depth >= m_options.maxInsertDepth) {
                continue;
            }
            const Cost inner = CostOf(*child, depth + 1);
            const std::uint64_t copies = SaturatingMul(static_cast<std::uint64_t>(item.insert->cols),
                                                       static_cast<std::uint64_t>(item.insert->rows));
            cost.patterns = SaturatingAdd(cost.patterns, SaturatingMul(copies, inner.patterns));
            cost.entities = SaturatingAdd(cost.entities, SaturatingMul(copies, inner.entities));
        }
        m_costing.erase(&block);
        m_cost[key] = cost;
        return cost;
    }

    void PlaceBlock(const Block& block, const Context& context) {
        for (const Item& item : block.items) {
            // The cost estimate cannot see through recursive blocks; this bounds the work regardless.
            if (++m_placed > SaturatingMul(m_options.maxPatterns, 10)) {
                m_tooLarge = true;
            }
            if (m_tooLarge) {
                return;
            }
            // Entities on layer 0 inside a block take the layer of the INSERT that places them.
            const std::string layer = (context.depth > 0 && item.layer == "0") ? context.layer : item.layer;
            const int colour = ResolveColour(item.colour, layer, context.colour);
            if (!item.skipReason.empty()) {
                Skip(item.type, item.skipReason);
            } else if (item.insert) {
                PlaceInsert(item, *item.insert, context, layer, colour);
            } else {
                PlaceGeometry(item, context.m, layer, colour);
            }
        }
    }

    void PlaceInsert(const Item& item, const InsertRef& ref, const Context& context, const std::string& layer,
                     int colour) {
        const Block* block = FindBlock(ref.blockKey);
        if (!block) {
            Skip(item.type, "INSERT of an undefined block '" + ref.blockName + "'");
            return;
        }
        if (std::find(m_stack.begin(), m_stack.end(), block) != m_stack.end()) {
            Skip(item.type, "INSERT of block '" + ref.blockName + "' inside itself");
            return;
        }
        if (context.depth >= m_options.maxInsertDepth) {
            Skip(item.type,
                 "INSERT nested deeper than " + std::to_string(m_options.maxInsertDepth) + " levels");
            return;
        }
        ++m_result.readCount[item.type];
        if (CostOf(*block, context.depth + 1).entities == 0) {
            return;  // nothing to place, however many copies
        }
        const Matrix2D scale(ref.sx, 0.0, 0.0, ref.sy, 0.0, 0.0);
        const double c = std::cos(ref.angle);
        const double s = std::sin(ref.angle);
        const Matrix2D rotate(c, -s, s, c, 0.0, 0.0);
        const Matrix2D head = context.m * ref.ocs * Translation(ref.point.x, ref.point.y) * rotate;
        const Matrix2D tail = scale * Translation(-block->base.x, -block->base.y);
        m_stack.push_back(block);
        Context inner;
        inner.layer = layer;
        inner.colour = colour;
        inner.depth = context.depth + 1;
        // MINSERT copies step along the insert's rotated axes, unscaled.
        for (int row = 0; row < ref.rows && !m_tooLarge; ++row) {
            for (int col = 0; col < ref.cols && !m_tooLarge; ++col) {
                inner.m = head * Translation(col * ref.colSpacing, row * ref.rowSpacing) * tail;
                PlaceBlock(*block, inner);
            }
        }
        m_stack.pop_back();
    }

    void PlaceGeometry(const Item& item, const Matrix2D& m, const std::string& layer, int colour) {
        std::vector<IPatternPtr> patterns;
        for (const Prim& prim : item.prims) {
            if (const Segment* seg = std::get_if<Segment>(&prim)) {
                AddLine(m.TransformPoint(seg->p), m.TransformPoint(seg->q), patterns);
            } else if (const Conic* conic = std::get_if<Conic>(&prim)) {
                ConicToPatterns(MapConic(*conic, m), m_chordTol, patterns);
            } else {
                PlaceSpline(std::get<Spline>(prim), m, patterns);
            }
        }
        if (patterns.empty()) {
            Skip(item.type, item.type + " that is degenerate once placed");
            return;
        }
        if (m_result.patterns->size() + patterns.size() > m_options.maxPatterns) {
            m_tooLarge = true;
            return;
        }
        ++m_result.readCount[item.type];
        const std::wstring layerName = DecodeName(layer);
        for (const IPatternPtr& pattern : patterns) {
            pattern->SetLayerName(layerName);
            pattern->SetColorIndex(colour);
            pattern->UpdateCache();
            m_result.patterns->push_back(pattern);
        }
    }

    void PlaceSpline(Spline spline, const Matrix2D& m, std::vector<IPatternPtr>& patterns) {
        for (Point2D& p : spline.ctrl) {
            p = m.TransformPoint(p);
        }
        for (Point2D& p : spline.fit) {
            p = m.TransformPoint(p);
        }
        if (spline.startTangent) {
            spline.startTangent = m.TransformVector(*spline.startTangent);
        }
        if (spline.endTangent) {
            spline.endTangent = m.TransformVector(*spline.endTangent);
        }
        std::string problem;
        const std::vector<Point2D> points = TessellateSpline(spline, m_chordTol, problem);
        if (!problem.empty()) {
            ++m_warnings[problem];
        }
        for (std::size_t i = 1; i < points.size(); ++i) {
            AddLine(points[i - 1], points[i], patterns);
        }
    }

    static void AddLine(const Point2D& p, const Point2D& q, std::vector<IPatternPtr>& patterns) {
        if (p.DistanceTo(q) > kMinSegmentLength) {
            patterns.push_back(boost::make_shared<LinePattern>(p, q));
        }
    }

    int ResolveColour(int colour, const std::string& layer, int byBlock) const {
        if (colour == kColourByLayer) {
            const auto it = m_drawing.layerColour.find(UpperCase(layer));
            colour = it == m_drawing.layerColour.end() ? kColourDefault : it->second;
        } else if (colour == kColourByBlock) {
            colour = byBlock;
        }
        return (colour >= 1 && colour <= 255) ? colour : kColourDefault;
    }

    void Skip(const std::string& type, const std::string& reason) {
        ++m_result.skipCount[type];
        if (reason != "unsupported") {
            ++m_warnings["skipped: " + reason];
        }
    }

    const Drawing& m_drawing;
    const DxfReader::Options& m_options;
    DxfReader::Result& m_result;
    double m_scale = 1.0;
    double m_chordTol = 0.01;
    bool m_tooLarge = false;
    std::uint64_t m_placed = 0;  // entities placed so far
    std::map<std::pair<const Block*, int>, Cost> m_cost;
    std::set<const Block*> m_costing;
    std::vector<const Block*> m_stack;  // blocks being placed, outermost first
    std::map<std::string, int> m_warnings;
};

}  // namespace

bool ExpandDrawing(const Drawing& drawing, const DxfReader::Options& options, double scaleToMm,
                   DxfReader::Result& result) {
    Expander expander(drawing, options, scaleToMm, result);
    return expander.Run();
}

}  // namespace Norvane::dxf_detail
