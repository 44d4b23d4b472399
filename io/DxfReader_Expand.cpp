// Placing the collected model space: block expansion (nested INSERTs, MINSERT grids), layer and colour
// inheritance, the guards against runaway expansion, and the final patterns.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <set>

#include <boost/make_shared.hpp>

#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/PatternCache.h"
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

// "a 400 x 400 grid of", "" for a plain insert.
std::string GridText(const InsertRef& ref) {
    if (ref.cols == 1 && ref.rows == 1) {
        return std::string();
    }
    return "a " + std::to_string(ref.cols) + " x " + std::to_string(ref.rows) + " grid of ";
}

// The entity as a message names it: "LINE (handle 1F, line 120)", "INSERT of a 400 x 400 grid of block
// 'H' (handle 2A, line 40)".
std::string Name(const Item& item) {
    std::string name = DxfReader::Describe(item.type, item.handle, item.line);
    if (item.insert) {
        const auto head = name.find(' ');
        const std::string what = " of " + GridText(*item.insert) + "block '" + item.insert->blockName + "'";
        name = head == std::string::npos ? name + what : name.substr(0, head) + what + name.substr(head);
    }
    return name;
}

// Whether the pattern lies within the kernel's range: its box, and the base point and vector it is
// stored by (an arc's centre and radius), which a part file must be able to hold.
bool WithinRange(const IPatternPtr& pattern) {
    const PatternCachePtr cache = pattern->GetCacheData();
    if (!cache) {
        return false;
    }
    const Rect2D& box = cache->GetRect();
    const Point2D base = pattern->GetBasePoint();
    const Vector2D vector = pattern->GetBaseVector();
    for (const double v : {box.left, box.right, box.bottom, box.top, base.x, base.y, vector.x, vector.y}) {
        if (!(std::fabs(v) <= kMaxAbsValue)) {  // also false for NaN
            return false;
        }
    }
    return true;
}

class Expander {
public:
    Expander(const Drawing& drawing, const DxfReader::Options& options, double scale,
             DxfReader::Result& result)
        : m_drawing(drawing), m_options(options), m_result(result), m_scale(scale) {
        m_chordTol = std::max(options.chordTol, kMinChordTol);
    }

    bool Run() {
        // The cost of the whole model space, item by item, so that the error names the entity with
        // which the drawing passes the limit.
        const std::uint64_t cap = m_options.maxPatterns;
        const std::uint64_t entityCap = SaturatingMul(cap, kEntitiesPerPattern);
        Cost total;
        for (const Item& item : m_drawing.model.items) {
            const Cost own = CostOf(item, 0);
            total.patterns = SaturatingAdd(total.patterns, own.patterns);
            total.entities = SaturatingAdd(total.entities, own.entities);
            if (total.patterns > cap || total.entities > entityCap) {
                const bool alone = own.patterns > cap || own.entities > entityCap;
                Fail(alone ? Name(item) + " expands to " +
                                 (own.patterns > cap ? std::to_string(own.patterns) + " pieces"
                                                     : std::to_string(own.entities) + " placed entities") +
                                 ", more than the limit of " + std::to_string(cap) + " pieces"
                           : "the drawing expands to more than " + std::to_string(cap) +
                                 " pieces; the limit is passed at " + Name(item));
                return false;
            }
        }
        m_totalEntities = std::max<std::uint64_t>(total.entities, 1);
        Context root;
        root.m = Matrix2D(m_scale, 0.0, 0.0, m_scale, 0.0, 0.0);
        PlaceBlock(m_drawing.model, root, nullptr);
        if (!m_failure.empty()) {
            Fail(m_failure);
            return false;
        }
        std::stable_sort(
            m_result.refused.begin(), m_result.refused.end(),
            [](const DxfReader::Refusal& a, const DxfReader::Refusal& b) { return a.line < b.line; });
        for (const auto& [text, count] : m_warnings) {
            m_result.warnings.push_back(text + (count > 1 ? " (" + std::to_string(count) + " times)" : ""));
        }
        return true;
    }

private:
    // Runaway guard beside the pattern count: placed entities of any kind (inserts of empty blocks
    // included) may reach this many per pattern allowed.
    static constexpr std::uint64_t kEntitiesPerPattern = 10;
    // Placed entities between two progress reports.
    static constexpr std::uint64_t kPlacedPerReport = 4096;

    struct Context {
        Matrix2D m;                   // block coordinates -> millimetres
        std::string layer;            // the INSERT's layer, taken by entities on layer 0
        int colour = kColourDefault;  // the INSERT's colour, taken by BYBLOCK entities
        int depth = 0;                // INSERT nesting
    };

    void Fail(const std::string& what) {
        m_result.error = DxfReader::ErrorKind::TooLarge;
        m_result.message = what + " (--max-pieces)";
        m_result.patterns->clear();
    }

    const Block* FindBlock(const std::string& key) const {
        const auto it = m_drawing.blocks.find(key);
        return it == m_drawing.blocks.end() ? nullptr : &it->second;
    }

    // Cost of placing one item at that nesting depth.
    Cost CostOf(const Item& item, int depth) {
        Cost cost;
        cost.entities = 1;
        if (!item.insert) {
            cost.patterns = item.prims.size();
            return cost;
        }
        const Block* child = FindBlock(item.insert->blockKey);
        if (!child || depth >= m_options.maxInsertDepth) {
            return cost;
        }
        const Cost inner = CostOf(*child, depth + 1);
        const std::uint64_t copies = SaturatingMul(static_cast<std::uint64_t>(item.insert->cols),
                                                   static_cast<std::uint64_t>(item.insert->rows));
        cost.patterns = SaturatingMul(copies, inner.patterns);
        cost.entities = SaturatingAdd(1, SaturatingMul(copies, inner.entities));
        return cost;
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
            const Cost own = CostOf(item, depth);
            cost.patterns = SaturatingAdd(cost.patterns, own.patterns);
            cost.entities = SaturatingAdd(cost.entities, own.entities);
        }
        m_costing.erase(&block);
        m_cost[key] = cost;
        return cost;
    }

    // top is the model-space item being placed, named when the limit is passed inside it.
    void PlaceBlock(const Block& block, const Context& context, const Item* top) {
        for (const Item& item : block.items) {
            if (!m_failure.empty()) {
                return;
            }
            const Item* named = top ? top : &item;
            // The cost estimate cannot see through recursive blocks; this bounds the work regardless.
            if (++m_placed > SaturatingMul(m_options.maxPatterns, kEntitiesPerPattern)) {
                m_failure = "the drawing expands to more than " + std::to_string(m_options.maxPatterns) +
                            " pieces; the limit is passed at " + Name(*named);
                return;
            }
            if (m_options.progress && m_placed % kPlacedPerReport == 0) {
                m_options.progress(
                    "placing entities",
                    std::min(1.0, static_cast<double>(m_placed) / static_cast<double>(m_totalEntities)));
            }
            // Entities on layer 0 inside a block take the layer of the INSERT that places them.
            const std::string layer = (context.depth > 0 && item.layer == "0") ? context.layer : item.layer;
            const int colour = ResolveColour(item.colour, layer, context.colour);
            if (item.skip != SkipKind::None) {
                Skip(item, item.skipReason);
            } else if (item.insert) {
                PlaceInsert(item, *item.insert, context, layer, colour, named);
            } else {
                PlaceGeometry(item, context.m, layer, colour, *named);
            }
        }
    }

    void PlaceInsert(const Item& item, const InsertRef& ref, const Context& context, const std::string& layer,
                     int colour, const Item* top) {
        const Block* block = FindBlock(ref.blockKey);
        if (!block) {
            Refuse(item, "block '" + ref.blockName + "' is not defined");
            return;
        }
        if (std::find(m_stack.begin(), m_stack.end(), block) != m_stack.end()) {
            Refuse(item, "block '" + ref.blockName + "' is inserted inside itself");
            return;
        }
        if (context.depth >= m_options.maxInsertDepth) {
            Refuse(item, "nested deeper than " + std::to_string(m_options.maxInsertDepth) + " levels");
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
        for (int row = 0; row < ref.rows && m_failure.empty(); ++row) {
            for (int col = 0; col < ref.cols && m_failure.empty(); ++col) {
                inner.m = head * Translation(col * ref.colSpacing, row * ref.rowSpacing) * tail;
                PlaceBlock(*block, inner, top);
            }
        }
        m_stack.pop_back();
    }

    void PlaceGeometry(const Item& item, const Matrix2D& m, const std::string& layer, int colour,
                       const Item& top) {
        std::vector<IPatternPtr> patterns;
        std::string problem;
        for (const Prim& prim : item.prims) {
            if (const Segment* seg = std::get_if<Segment>(&prim)) {
                AddLine(m.TransformPoint(seg->p), m.TransformPoint(seg->q), patterns);
            } else if (const Conic* conic = std::get_if<Conic>(&prim)) {
                const Conic placed = MapConic(*conic, m);
                const double size = 2.0 * (placed.u.Length() + placed.v.Length());
                ConicToPatterns(placed, CurveChordTol(m_chordTol, size), patterns);
            } else {
                PlaceSpline(std::get<Spline>(prim), m, patterns, problem);
            }
        }
        if (patterns.empty()) {
            Refuse(item, problem.empty() ? "degenerate once placed (no length or size left)" : problem);
            return;
        }
        for (const IPatternPtr& pattern : patterns) {
            pattern->UpdateCache();
            if (!WithinRange(pattern)) {
                Refuse(item, "placed beyond the range of " +
                                 std::to_string(static_cast<long long>(kMaxAbsValue)) +
                                 " mm (block scale or unit)");
                return;
            }
        }
        if (m_result.patterns->size() + patterns.size() > m_options.maxPatterns) {
            m_failure =
                (&top == &item ? Name(item) + " would bring the drawing past the limit of "
                               : "the drawing expands to more than ") +
                std::to_string(m_options.maxPatterns) +
                (&top == &item ? std::string(" pieces") : " pieces; the limit is passed at " + Name(top));
            return;
        }
        ++m_result.readCount[item.type];
        const std::wstring layerName = DecodeName(layer);
        for (const IPatternPtr& pattern : patterns) {
            pattern->SetLayerName(layerName);
            pattern->SetColorIndex(colour);
            m_result.patterns->push_back(pattern);
        }
    }

    void PlaceSpline(Spline spline, const Matrix2D& m, std::vector<IPatternPtr>& patterns,
                     std::string& problem) {
        Rect2D box;
        bool first = true;
        auto grow = [&box, &first](const Point2D& p) {
            if (first) {
                box = Rect2D(p.x, p.x, p.y, p.y);
                first = false;
            } else {
                box.left = std::min(box.left, p.x), box.right = std::max(box.right, p.x);
                box.bottom = std::min(box.bottom, p.y), box.top = std::max(box.top, p.y);
            }
        };
        for (Point2D& p : spline.ctrl) {
            p = m.TransformPoint(p);
            grow(p);
        }
        for (Point2D& p : spline.fit) {
            p = m.TransformPoint(p);
            grow(p);
        }
        if (spline.startTangent) {
            spline.startTangent = m.TransformVector(*spline.startTangent);
        }
        if (spline.endTangent) {
            spline.endTangent = m.TransformVector(*spline.endTangent);
        }
        const double size = first ? 0.0 : std::hypot(box.Width(), box.Height());
        bool capped = false;
        const std::vector<Point2D> points =
            TessellateSpline(spline, CurveChordTol(m_chordTol, size), problem, capped);
        if (capped) {
            ++m_warnings["a SPLINE needed more than " + std::to_string(kMaxCurvePoints) +
                         " points and was approximated coarser"];
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

    // An item the collector marked as giving no geometry: counted by type; refused ones are also listed.
    void Skip(const Item& item, const std::string& reason) {
        ++m_result.skipCount[item.type];
        if (item.skip == SkipKind::PaperSpace) {
            ++m_warnings["entities in paper space skipped"];
        } else if (item.skip == SkipKind::Refused) {
            List(item, reason);
        }
    }

    // An item refused while placing it.
    void Refuse(const Item& item, const std::string& reason) {
        ++m_result.skipCount[item.type];
        List(item, reason);
    }

    // Each refused entity is listed once, with the number of its placements that were refused.
    void List(const Item& item, const std::string& reason) {
        const auto [it, added] = m_refusalIndex.emplace(&item, m_result.refused.size());
        if (added) {
            m_result.refused.push_back(DxfReader::Refusal{item.type, item.handle, item.line, reason, 1});
        } else {
            ++m_result.refused[it->second].count;
        }
    }

    const Drawing& m_drawing;
    const DxfReader::Options& m_options;
    DxfReader::Result& m_result;
    double m_scale = 1.0;
    double m_chordTol = 0.01;
    std::string m_failure;       // set when the limit is passed: the message
    std::uint64_t m_placed = 0;  // entities placed so far
    std::uint64_t m_totalEntities = 1;
    std::map<std::pair<const Block*, int>, Cost> m_cost;
    std::set<const Block*> m_costing;
    std::vector<const Block*> m_stack;  // blocks being placed, outermost first
    std::map<std::string, int> m_warnings;
    std::map<const Item*, std::size_t> m_refusalIndex;  // item -> its entry in m_result.refused
};

}  // namespace

bool ExpandDrawing(const Drawing& drawing, const DxfReader::Options& options, double scaleToMm,
                   DxfReader::Result& result) {
    Expander expander(drawing, options, scaleToMm, result);
    return expander.Run();
}

}  // namespace Norvane::dxf_detail
