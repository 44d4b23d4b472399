#include "io/DxfWriter.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <ostream>
#include <set>
#include <vector>

#include "geomFeature/host/geomkit/Arc2D.h"
#include "geomFeature/host/geomkit/Geom2DList.h"
#include "geomFeature/host/geomkit/Line2D.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "io/detail/DxfTolerance.h"

namespace Norvane {

namespace {

constexpr int kUnitsMillimetre = 4;  // $INSUNITS code

// The shortest text that reads back as the same double; never "-0".
std::string FormatReal(double value) {
    if (value == 0.0) {  // exact: also turns -0 into 0
        return "0.0";
    }
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof(buffer), value);
    std::string text(buffer, ec == std::errc() ? end : buffer);
    if (text.find_first_of(".e") == std::string::npos) {
        text += ".0";
    }
    return text;
}

// Layer names as R12 keeps them: ASCII, with \U+XXXX for everything else, and the characters DXF forbids
// in names replaced.
std::string EncodeLayerName(const std::wstring& name) {
    static const std::string kForbidden = "<>/\\\":;?*|=`";
    std::string out;
    for (const wchar_t wc : name) {
        const auto c = static_cast<unsigned long>(wc);
        if (c < 0x20) {
            out += '_';
        } else if (c < 0x80) {
            out += kForbidden.find(static_cast<char>(c)) == std::string::npos ? static_cast<char>(c) : '_';
        } else {
            char hex[8];
            std::snprintf(hex, sizeof(hex), "%04lX", c > 0xFFFF ? 0xFFFDul : c);
            out += std::string("\\U+") + hex;
        }
    }
    return out.empty() ? std::string("0") : out;
}

class GroupWriter {
public:
    explicit GroupWriter(std::ostream& out) : m_out(out) {}
    void Pair(int code, const std::string& value) { m_out << code << '\n' << value << '\n'; }
    void Pair(int code, int value) { Pair(code, std::to_string(value)); }
    void Real(int code, double value) { Pair(code, FormatReal(value)); }

private:
    std::ostream& m_out;
};

struct Entity {
    std::string layer;
    int colour = 0;  // 0: BYLAYER (not written)
    IGeom2DPtr geom;
};

void WriteEntity(GroupWriter& w, const Entity& e, int& count, int& skipped) {
    auto head = [&](const char* type) {
        w.Pair(0, type);
        w.Pair(8, e.layer);
        if (e.colour >= 1 && e.colour <= 255) {
            w.Pair(62, e.colour);
        }
    };
    if (e.geom->GetGeomType() == GeomType::Line) {
        const Point2D p = e.geom->GetStartPoint();
        const Point2D q = e.geom->GetEndPoint();
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(q.x) || !std::isfinite(q.y)) {
            ++skipped;
            return;
        }
        head("LINE");
        w.Real(10, p.x), w.Real(20, p.y), w.Real(30, 0.0);
        w.Real(11, q.x), w.Real(21, q.y), w.Real(31, 0.0);
        ++count;
        return;
    }
    const auto& arc = static_cast<const Arc2D&>(*e.geom);
    const Point2D c = arc.GetCenter();
    const double r = arc.GetRadius();
    const double sweep = arc.GetSweepAngle();
    if (!std::isfinite(c.x) || !std::isfinite(c.y) || !std::isfinite(r) || !std::isfinite(sweep) ||
        !std::isfinite(arc.GetBaseAngle())) {
        ++skipped;
        return;
    }
    if (arc.IsFullCircle(dxf_detail::kFullTurnTol)) {
        head("CIRCLE");
        w.Real(10, c.x), w.Real(20, c.y), w.Real(30, 0.0), w.Real(40, r);
        ++count;
        return;
    }
    // DXF arcs run counter-clockwise from the start angle to the end angle (degrees): a clockwise arc is
    // written from its end.
    double start = sweep >= 0.0 ? arc.GetBaseAngle() : arc.GetBaseAngle() + sweep;
    start = MathEx::GetUnsignedAng(start, 0.0);
    const double startDeg = start * 180.0 / MathEx::PI;
    double endDeg = (start + std::fabs(sweep)) * 180.0 / MathEx::PI;
    if (endDeg >= 360.0) {
        endDeg -= 360.0;
    }
    head("ARC");
    w.Real(10, c.x), w.Real(20, c.y), w.Real(30, 0.0), w.Real(40, r);
    w.Real(50, startDeg), w.Real(51, endDeg);
    ++count;
}

}  // namespace

DxfWriter::Result DxfWriter::Write(const PatternList& patterns, std::ostream& out, const Options& options) {
    Result result;
    std::vector<Entity> entities;
    std::vector<std::string> layers;  // in order of first use
    std::set<std::string> seen;
    for (const IPatternPtr& pattern : patterns) {
        if (!pattern || pattern->IsControlPat()) {
            continue;
        }
        const std::string layer =
            EncodeLayerName(options.layerOf ? options.layerOf(pattern) : pattern->GetLayerName());
        if (seen.insert(layer).second) {
            layers.push_back(layer);
        }
        const Geom2DListPtr outline = pattern->CalcBaseGeomList();
        if (!outline) {
            continue;
        }
        for (const IGeom2DPtr& geom : *outline) {
            if (geom) {
                entities.push_back(Entity{layer, pattern->GetColorIndex(), geom});
            }
        }
    }
    if (seen.insert("0").second) {
        layers.insert(layers.begin(), "0");  // every drawing has layer 0
    }

    GroupWriter w(out);
    w.Pair(999, "geomFeature DXF writer");
    w.Pair(0, "SECTION"), w.Pair(2, "HEADER");
    w.Pair(9, "$ACADVER"), w.Pair(1, "AC1009");
    w.Pair(9, "$INSUNITS"), w.Pair(70, kUnitsMillimetre);
    w.Pair(9, "$MEASUREMENT"), w.Pair(70, 1);
    w.Pair(0, "ENDSEC");

    w.Pair(0, "SECTION"), w.Pair(2, "TABLES");
    w.Pair(0, "TABLE"), w.Pair(2, "LTYPE"), w.Pair(70, 1);
    w.Pair(0, "LTYPE"), w.Pair(2, "CONTINUOUS"), w.Pair(70, 0), w.Pair(3, "Solid line");
    w.Pair(72, 65), w.Pair(73, 0), w.Real(40, 0.0);
    w.Pair(0, "ENDTAB");
    w.Pair(0, "TABLE"), w.Pair(2, "LAYER"), w.Pair(70, static_cast<int>(layers.size()));
    for (const std::string& layer : layers) {
        w.Pair(0, "LAYER"), w.Pair(2, layer), w.Pair(70, 0), w.Pair(62, 7), w.Pair(6, "CONTINUOUS");
    }
    w.Pair(0, "ENDTAB");
    w.Pair(0, "ENDSEC");

    w.Pair(0, "SECTION"), w.Pair(2, "ENTITIES");
    for (const Entity& entity : entities) {
        WriteEntity(w, entity, result.entityCount, result.skippedCount);
    }
    w.Pair(0, "ENDSEC");
    w.Pair(0, "EOF");
    out.flush();
    if (!out) {
        result.ok = false;
        result.message = "writing the DXF output failed";
    }
    return result;
}

DxfWriter::Result DxfWriter::WriteFile(const PatternList& patterns, const std::string& path,
                                       const Options& options) {
    // Messages say why, not where: the caller names the file (it may be writing a temporary one).
    auto reason = [](int error) {
        return error != 0 ? std::string(" (") + std::strerror(error) + ")" : std::string();
    };
    errno = 0;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        Result result;
        result.ok = false;
        result.message = "cannot create the file" + reason(errno);
        return result;
    }
    Result result = Write(patterns, file, options);
    const int writeError = errno;
    file.close();
    if (!result.ok || !file) {
        result.ok = false;
        result.message = "writing failed" + reason(writeError != 0 ? writeError : errno);
    }
    return result;
}

}  // namespace Norvane
