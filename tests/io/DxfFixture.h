#pragma once

// Small DXF texts written inline, so that the reader's tests need no generated files.

#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace Norvane::dxftest {

// Group-code / value pairs, one per line each, as DXF writes them.
class Dxf {
public:
    Dxf& operator()(int code, const std::string& value) {
        m_text << code << '\n' << value << '\n';
        return *this;
    }
    Dxf& operator()(int code, double value) {
        std::ostringstream os;
        os.precision(17);
        os << value;
        return (*this)(code, os.str());
    }
    Dxf& Raw(const std::string& text) {
        m_text << text;
        return *this;
    }
    std::string Str() const { return m_text.str(); }

private:
    std::ostringstream m_text;
};

// Entity texts. ez is the z of the extrusion direction (+1 or -1).
inline std::string Line(double x1, double y1, double x2, double y2, const std::string& layer = "0",
                        int colour = 256) {
    return Dxf()(0, "LINE")(8, layer)(62, std::to_string(colour))(10, x1)(20, y1)(11, x2)(21, y2).Str();
}

inline std::string Arc(double cx, double cy, double r, double a1, double a2, double ez = 1.0,
                       const std::string& layer = "0") {
    return Dxf()(0, "ARC")(8, layer)(10, cx)(20, cy)(40, r)(50, a1)(51, a2)(230, ez).Str();
}

inline std::string Circle(double cx, double cy, double r, double ez = 1.0) {
    return Dxf()(0, "CIRCLE")(8, "0")(10, cx)(20, cy)(40, r)(230, ez).Str();
}

struct Vertex {
    double x, y, bulge;
};

inline std::string LwPolyline(const std::vector<Vertex>& vertices, bool closed, double ez = 1.0) {
    Dxf d;
    d(0, "LWPOLYLINE")(8, "0")(90, std::to_string(vertices.size()))(70, closed ? "1" : "0");
    for (const Vertex& v : vertices) {
        d(10, v.x)(20, v.y)(42, v.bulge);
    }
    return d(230, ez).Str();
}

inline std::string Ellipse(double cx, double cy, double mx, double my, double ratio, double t0, double t1,
                           double ez = 1.0) {
    return Dxf()(0, "ELLIPSE")(8, "0")(10, cx)(20, cy)(11, mx)(21, my)(40, ratio)(41, t0)(42, t1)(230, ez)
        .Str();
}

struct InsertArgs {
    std::string block;
    double x = 0, y = 0, sx = 1, sy = 1, angle = 0;
    int cols = 1, rows = 1;
    double colSpacing = 0, rowSpacing = 0;
    std::string layer = "0";
    int colour = 256;
};

inline std::string Insert(const InsertArgs& a) {
    Dxf d;
    d(0, "INSERT")(8, a.layer)(62, std::to_string(a.colour))(2, a.block)(10, a.x)(20, a.y)(41, a.sx)(
        42, a.sy)(50, a.angle);
    if (a.cols != 1 || a.rows != 1) {
        d(70, std::to_string(a.cols))(71, std::to_string(a.rows))(44, a.colSpacing)(45, a.rowSpacing);
    }
    return d.Str();
}

inline std::string Block(const std::string& name, double bx, double by, const std::string& entities) {
    return Dxf()(0, "BLOCK")(8, "0")(2, name)(70, "0")(10, bx)(20, by)(3, name)
        .Raw(entities)(0, "ENDBLK")
        .Str();
}

// A whole file: optional $INSUNITS (negative: none), layer table entries (name, colour), blocks, entities.
inline std::string Drawing(const std::string& entities, const std::string& blocks = "", int insunits = 4,
                           const std::vector<std::pair<std::string, int>>& layers = {}) {
    Dxf d;
    d(0, "SECTION")(2, "HEADER")(9, "$ACADVER")(1, "AC1015");
    if (insunits >= 0) {
        d(9, "$INSUNITS")(70, std::to_string(insunits));
    }
    d(0, "ENDSEC");
    if (!layers.empty()) {
        d(0, "SECTION")(2, "TABLES")(0, "TABLE")(2, "LAYER")(70, std::to_string(layers.size()));
        for (const auto& [name, colour] : layers) {
            d(0, "LAYER")(2, name)(70, "0")(62, std::to_string(colour))(6, "CONTINUOUS");
        }
        d(0, "ENDTAB")(0, "ENDSEC");
    }
    d(0, "SECTION")(2, "BLOCKS").Raw(blocks)(0, "ENDSEC");
    d(0, "SECTION")(2, "ENTITIES").Raw(entities)(0, "ENDSEC")(0, "EOF");
    return d.Str();
}

}  // namespace Norvane::dxftest
