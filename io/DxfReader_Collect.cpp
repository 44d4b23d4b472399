// Gathering a DXF file into blocks of items with dxflib.
//
// dxflib parses the entities it knows into typed callbacks, but it hides some facts the reader needs:
// which section and block an entity sits in, the type names of entities it does not know (to count
// them), a VERTEX's flags (spline frame or fitted point), the paper-space flag, and numbers it could not
// parse (it reads "nan" as 0 and an overflow as the largest double). So the collector also watches the
// raw group-code stream (processCodeValuePair), which dxflib hands over pair by pair BEFORE it acts on the
// pair. An entity's typed callbacks fire when the NEXT entity's group 0 arrives, so while they run, the
// raw record of "their" entity is the one that has just been completed.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

#include "geomFeature/host/mathkit/MathEx.h"
#include "io/detail/DxfModel.h"
#include "io/detail/DxfTolerance.h"

namespace Norvane::dxf_detail {

namespace {

// Entity types the typed callbacks turn into items.
bool IsHandledType(const std::string& type) {
    return type == "LINE" || type == "ARC" || type == "CIRCLE" || type == "ELLIPSE" || type == "LWPOLYLINE" ||
           type == "POLYLINE" || type == "SPLINE" || type == "INSERT";
}

// Records inside ENTITIES / BLOCKS that are structure, not entities.
bool IsStructureRecord(const std::string& type) {
    return type == "BLOCK" || type == "ENDBLK" || type == "VERTEX" || type == "SEQEND" || type == "ENDSEC" ||
           type == "SECTION" || type == "EOF" || type.empty();
}

// Longest handle kept.
constexpr std::size_t kMaxHandleLength = 16;

// Group codes that carry real numbers used as geometry.
bool IsGeometryRealCode(unsigned code) {
    return (code >= 10 && code <= 59) || (code >= 210 && code <= 239);
}

// The facts of one raw record (a group 0 and the pairs up to the next group 0).
struct RawRecord {
    std::string type;
    std::string name;    // first group 2
    std::string handle;  // first group 5
    long line = 0;       // line of the file where the record starts
    int flags = 0;       // first group 70
    bool hasFlags = false;
    bool paperSpace = false;  // group 67 = 1
    bool badNumber = false;   // a geometry number that is not a finite, sane real
    std::string badDetail;    // the first such number, where it is and what is wrong with it
    double x = 0.0;           // group 10 / 20 / 30: a BLOCK's base point, a POLYLINE's elevation (z)
    double y = 0.0;
    double z = 0.0;
    double elevation = 0.0;  // group 38, an LWPOLYLINE's elevation
};

// Parses a DXF real the way a careful reader would: the whole field, decimal comma allowed.
bool ParseReal(std::string text, double& value, bool& usedComma) {
    const auto first = text.find_first_not_of(" \t");
    const auto last = text.find_last_not_of(" \t");
    if (first == std::string::npos) {
        return false;
    }
    text = text.substr(first, last - first + 1);
    usedComma = text.find(',') != std::string::npos;
    std::replace(text.begin(), text.end(), ',', '.');
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return end != text.c_str() && *end == '\0' && errno == 0 && std::isfinite(value);
}

// Spline and polyline data arrive in several callbacks; the entity is complete when the stream moves on.
struct PendingPolyline {
    Item item;
    Block* target = nullptr;
    bool lightweight = false;
    int flags = 0;
    Matrix2D ocs;
    std::string badDetail;  // the first unsound number of a vertex; the polyline is refused for it
    struct Vertex {
        Point2D p;
        double bulge = 0.0;
        int flags = 0;
    };
    std::vector<Vertex> vertices;
};

struct PendingSpline {
    Item item;
    Block* target = nullptr;
    Spline spline;
};

class Collector : public DL_CreationAdapter {
public:
    Collector(Drawing& drawing, const std::vector<RecordOrigin>& origins)
        : m_drawing(drawing), m_origins(origins) {}

    void processCodeValuePair(unsigned int code, const std::string& value) override {
        if (code == 0) {
            ++m_record;
            m_pair = 0;
            StartRecord(value);
            m_current.line = Origin().line;
            return;
        }
        ++m_pair;
        NoteValue(code, value);
    }

    // Called once the whole stream has been read. The first empty record completes the last real one,
    // the second checks that the entity before it got its typed callbacks; then nothing is pending.
    void Finish() {
        StartRecord("");
        StartRecord("");
        FlushPendingPolyline();
    }

    void setVariableInt(const std::string& key, int value, int /*code*/) override {
        if (key == "$INSUNITS") {
            m_drawing.insUnits = value;
        }
    }

    void addLayer(const DL_LayerData& data) override {
        // A negative colour marks a layer that is switched off; its colour is the magnitude.
        m_drawing.layerColour[UpperCase(data.name)] = std::abs(getAttributes().getColor());
    }

    void addLine(const DL_LineData& d) override {
        Item item;
        if (!BeginEntity(item)) {
            return;
        }
        // LINE end points are world coordinates: the extrusion only gives the thickness direction.
        const Point2D p(d.x1, d.y1);
        const Point2D q(d.x2, d.y2);
        if (p.DistanceTo(q) <= kMinSegmentLength) {
            Refuse(item, "its ends coincide (zero length)");
        } else {
            item.prims.push_back(Segment{p, q});
        }
        Add(std::move(item));
    }

    void addArc(const DL_ArcData& d) override {
        Item item;
        if (!BeginEntity(item)) {
            return;
        }
        if (!(d.radius > kMinRadius)) {
            Refuse(item, "radius " + Number(d.radius) + " is not positive");
            Add(std::move(item));
            return;
        }
        // ARC angles are degrees, counter-clockwise in the OCS from start to end.
        double sweep = std::fmod(d.angle2 - d.angle1, 360.0);
        if (sweep < 0.0) {
            sweep += 360.0;
        }
        if (sweep == 0.0) {              // exact: equal angles mod 360
            if (d.angle1 == d.angle2) {  // exact: the same written angle is an empty arc
                Refuse(item, "start and end angles are equal (an empty arc)");
                Add(std::move(item));
                return;
            }
            sweep = 360.0;  // 0 to 360: a whole turn
        }
        Conic conic;
        conic.c = Point2D(d.cx, d.cy);
        conic.u = Vector2D(d.radius, 0.0);
        conic.v = Vector2D(0.0, d.radius);
        conic.t0 = d.angle1 * MathEx::PI / 180.0;
        conic.sweep = sweep * MathEx::PI / 180.0;
        conic.full = sweep == 360.0;
        item.prims.push_back(MapConic(conic, EntityOcs(d.cz)));
        Add(std::move(item));
    }

    void addCircle(const DL_CircleData& d) override {
        Item item;
        if (!BeginEntity(item)) {
            return;
        }
        if (!(d.radius > kMinRadius)) {
            Refuse(item, "radius " + Number(d.radius) + " is not positive");
            Add(std::move(item));
            return;
        }
        Conic conic;
        conic.c = Point2D(d.cx, d.cy);
        conic.u = Vector2D(d.radius, 0.0);
        conic.v = Vector2D(0.0, d.radius);
        conic.sweep = MathEx::PI2;
        conic.full = true;
        item.prims.push_back(MapConic(conic, EntityOcs(d.cz)));
        Add(std::move(item));
    }

    void addEllipse(const DL_EllipseData& d) override {
        Item item;
        if (!BeginEntity(item)) {
            return;
        }
        const double majorLength = std::hypot(d.mx, d.my, d.mz);
        if (!(majorLength > kMinRadius) || !(d.ratio * majorLength > kMinRadius)) {
            Refuse(item, "an axis of zero length");
            Add(std::move(item));
            return;
        }
        // Centre and major axis are world coordinates; the parameter runs counter-clockwise about the
        // extrusion, so the minor axis is extrusion x major (scaled by the ratio), which for (0, 0, -1)
        // points the other way and turns the curve clockwise in the world plane.
        const double* n = getExtrusion()->getDirection();
        double nx = n[0];
        double ny = n[1];
        double nz = n[2];
        const double nl = std::hypot(nx, ny, nz);
        if (!(nl > 0.0) || !std::isfinite(nl)) {
            nx = 0.0, ny = 0.0, nz = 1.0;
        } else {
            nx /= nl, ny /= nl, nz /= nl;
        }
        if (std::fabs(nx) > kExtrusionAxisTol || std::fabs(ny) > kExtrusionAxisTol) {
            ++m_drawing.tiltedExtrusions;
        }
        Conic conic;
        conic.c = Point2D(d.cx, d.cy);
        conic.u = Vector2D(d.mx, d.my);
        conic.v = Vector2D((ny * d.mz - nz * d.my) * d.ratio, (nz * d.mx - nx * d.mz) * d.ratio);
        double sweep = std::fmod(d.angle2 - d.angle1, MathEx::PI2);
        if (sweep < 0.0) {
            sweep += MathEx::PI2;
        }
        conic.t0 = d.angle1;
        conic.full =
            sweep <= kFullTurnTol || MathEx::PI2 - sweep <= kFullTurnTol;  // 0..2pi is written as such
        conic.sweep = conic.full ? MathEx::PI2 : sweep;
        item.prims.push_back(conic);
        Add(std::move(item));
    }

    void addPolyline(const DL_PolylineData& d) override {
        FlushPendingPolyline();
        Item item;
        if (!BeginEntity(item)) {
            return;
        }
        PendingPolyline pending;
        pending.item = std::move(item);
        pending.target = m_target;
        pending.lightweight = m_done.type == "LWPOLYLINE";
        pending.flags = d.flags;
        if (!pending.lightweight && (d.flags & (16 | 64))) {
            pending.item.skip = SkipKind::Unsupported;  // a mesh or polyface: a surface, not a contour
        }
        // A 3-D polyline (flag 8) has world vertices; a 2-D one lies in its OCS at its elevation (group 38
        // of an LWPOLYLINE, the z of a POLYLINE's own point).
        if (pending.lightweight || !(d.flags & 8)) {
            pending.ocs = EntityOcs(pending.lightweight ? m_done.elevation : m_done.z);
        }
        m_polyline = std::move(pending);
    }

    void addVertex(const DL_VertexData& d) override {
        if (!m_polyline) {
            return;
        }
        // For a POLYLINE each VERTEX is its own record; the LWPOLYLINE's vertices all belong to its record.
        if ((m_done.badNumber || !std::isfinite(d.bulge)) && m_polyline->badDetail.empty()) {
            m_polyline->badDetail =
                m_done.badNumber ? m_done.badDetail : "a bulge that is not a finite number";
        }
        PendingPolyline::Vertex vertex;
        vertex.p = Point2D(d.x, d.y);
        vertex.bulge = d.bulge;
        vertex.flags = (!m_polyline->lightweight && m_done.type == "VERTEX") ? m_done.flags : 0;
        m_polyline->vertices.push_back(vertex);
    }

    void addSpline(const DL_SplineData& d) override {
        Item item;
        if (!BeginEntity(item)) {
            return;
        }
        PendingSpline pending;
        pending.item = std::move(item);
        pending.target = m_target;
        pending.spline.degree = static_cast<int>(std::min<unsigned>(d.degree, 1000u));
        pending.spline.closed = (d.flags & 1) != 0;
        if (std::isfinite(d.tangentStartX) && std::isfinite(d.tangentStartY) &&
            (d.tangentStartX != 0.0 || d.tangentStartY != 0.0)) {  // exact: 0 means "not given"
            pending.spline.startTangent = Vector2D(d.tangentStartX, d.tangentStartY);
        }
        if (std::isfinite(d.tangentEndX) && std::isfinite(d.tangentEndY) &&
            (d.tangentEndX != 0.0 || d.tangentEndY != 0.0)) {
            pending.spline.endTangent = Vector2D(d.tangentEndX, d.tangentEndY);
        }
        m_spline = std::move(pending);
    }

    void addControlPoint(const DL_ControlPointData& d) override {
        if (m_spline) {
            m_spline->spline.ctrl.emplace_back(d.x, d.y);
            m_spline->spline.weights.push_back(d.w);
        }
    }

    void addFitPoint(const DL_FitPointData& d) override {
        if (m_spline) {
            m_spline->spline.fit.emplace_back(d.x, d.y);
        }
    }

    void addKnot(const DL_KnotData& d) override {
        if (m_spline) {
            m_spline->spline.knots.push_back(d.k);
        }
    }

    void addInsert(const DL_InsertData& d) override {
        Item item;
        if (!BeginEntity(item)) {
            return;
        }
        InsertRef ref;
        ref.blockName = d.name;
        ref.blockKey = UpperCase(d.name);
        ref.ocs = EntityOcs(d.ipz);
        ref.point = Point2D(d.ipx, d.ipy);
        ref.sx = d.sx;
        ref.sy = d.sy;
        ref.angle = d.angle * MathEx::PI / 180.0;
        // Counts of 0 (or less) are written by some programs for a plain INSERT.
        ref.cols = std::max(d.cols, 1);
        ref.rows = std::max(d.rows, 1);
        ref.colSpacing = d.colSp;
        ref.rowSpacing = d.rowSp;
        if (!std::isfinite(d.sx) || !std::isfinite(d.sy) || std::fabs(d.sx) <= kMinSegmentLength ||
            std::fabs(d.sy) <= kMinSegmentLength) {
            Refuse(item, "scale " + Number(d.sx) + " x " + Number(d.sy) + " flattens the block");
        } else {
            item.insert = ref;
        }
        Add(std::move(item));
    }

private:
    // Group 0: the record being read is complete, a new one begins.
    void StartRecord(const std::string& type) {
        // The typed callbacks of the record completed at the previous group 0 have fired by now.
        if (m_expectTyped && !m_gotTyped) {
            Item item = ItemOf(m_done);
            Refuse(item, "not understood by the DXF parser");
            AddTo(m_expectTarget, std::move(item));
        }
        m_expectTyped = false;
        FlushPendingSpline();
        if (m_current.type != "VERTEX") {
            // A VERTEX's own callback is still to come; anything else ends the polyline.
            FlushPendingPolyline();
        }

        m_done = m_current;
        m_current = RawRecord();
        m_current.type = type;
        CloseRecord(m_done);
    }

    // Acts on a completed record: sections, blocks, and entities the typed callbacks will not see.
    void CloseRecord(const RawRecord& rec) {
        if (rec.type == "SECTION") {
            m_section = UpperCase(rec.name);
            m_drawing.sawSection = true;
            m_drawing.sawEntities = m_drawing.sawEntities || m_section == "ENTITIES";
            m_target = m_section == "ENTITIES" ? &m_drawing.model : nullptr;
            return;
        }
        if (rec.type == "ENDSEC") {
            m_section.clear();
            m_target = nullptr;
            return;
        }
        if (m_section != "ENTITIES" && m_section != "BLOCKS") {
            return;
        }
        if (rec.type == "BLOCK" && m_section == "BLOCKS") {
            // A later definition of the same name replaces the earlier one.
            Block& block = m_drawing.blocks[UpperCase(rec.name)];
            block = Block();
            block.name = rec.name;
            block.base = Point2D(rec.x, rec.y);
            m_target = &block;
            return;
        }
        if (rec.type == "ENDBLK") {
            m_target = nullptr;
            return;
        }
        if (IsStructureRecord(rec.type) || !m_target) {
            return;
        }
        if (IsHandledType(rec.type)) {
            m_expectTyped = true;
            m_gotTyped = false;
            m_expectTarget = m_target;
            return;
        }
        Item item = ItemOf(rec);
        item.skip = SkipKind::Unsupported;
        AddTo(m_target, std::move(item));
    }

    void NoteValue(unsigned code, const std::string& value) {
        RawRecord& rec = m_current;
        if (code == 2 && rec.name.empty()) {
            rec.name = value;
        } else if (code == 5 && rec.handle.empty()) {
            rec.handle = value.substr(0, kMaxHandleLength);
        } else if (code == 70 && !rec.hasFlags) {
            rec.flags = static_cast<int>(std::strtol(value.c_str(), nullptr, 10));
            rec.hasFlags = true;
        } else if (code == 67) {
            rec.paperSpace = std::strtol(value.c_str(), nullptr, 10) == 1;
        }
        if (!IsGeometryRealCode(code) || (m_section != "ENTITIES" && m_section != "BLOCKS")) {
            return;
        }
        double number = 0.0;
        bool comma = false;
        // Bulges (42) of nearly full circles are legitimately huge; every other geometry value is bounded.
        const bool parsed = ParseReal(value, number, comma);
        if ((!parsed || (code != 42 && std::fabs(number) > kMaxAbsValue)) && !rec.badNumber) {
            rec.badNumber = true;
            rec.badDetail = "value '" + value.substr(0, kMaxQuotedLength) + "' (group " +
                            std::to_string(code) + ", line " + std::to_string(PairLine()) + ") " +
                            (parsed ? "lies beyond the range of " + Number(kMaxAbsValue)
                                    : std::string("is not a finite number"));
        }
        if (comma) {
            ++m_drawing.decimalCommaValues;
        }
        if (code == 10) {
            rec.x = number;
        } else if (code == 20) {
            rec.y = number;
        } else if (code == 30) {
            rec.z = number;
        } else if (code == 38) {
            rec.elevation = number;
        }
    }

    // Common start of a typed entity callback: fills layer and colour. False when the entity is to be left
    // out (it was recorded as skipped when that matters).
    bool BeginEntity(Item& item) {
        m_gotTyped = true;
        if (!m_target || !m_expectTyped) {
            return false;
        }
        const DL_Attributes attributes = getAttributes();
        item = ItemOf(m_done);
        item.layer = attributes.getLayer();
        item.colour = attributes.getColor();
        if (m_done.paperSpace) {
            item.skip = SkipKind::PaperSpace;
        } else if (m_done.badNumber) {
            Refuse(item, m_done.badDetail);
        }
        if (item.skip != SkipKind::None) {
            Add(std::move(item));
            return false;
        }
        return true;
    }

    // An item for the record, with the record's type, handle and line.
    static Item ItemOf(const RawRecord& rec) {
        Item item;
        item.type = rec.type;
        item.handle = rec.handle;
        item.line = rec.line;
        return item;
    }

    static void Refuse(Item& item, const std::string& reason) {
        item.skip = SkipKind::Refused;
        item.skipReason = reason;
    }

    static std::string Number(double value) {
        char text[32];
        std::snprintf(text, sizeof text, "%.6g", value);
        return text;
    }

    RecordOrigin Origin() const {
        return m_record >= 1 && m_record <= m_origins.size() ? m_origins[m_record - 1] : RecordOrigin();
    }

    // The line of the file that held the value of the pair just received.
    long PairLine() const {
        const RecordOrigin origin = Origin();
        const long fromStart = static_cast<long>(m_pair) - origin.added;
        return fromStart > 0 ? origin.line + 2 * fromStart + 1 : origin.line;
    }

    Matrix2D EntityOcs(double elevation) {
        const double* n = getExtrusion()->getDirection();
        bool tilted = false;
        const Matrix2D m = OcsMatrix(n[0], n[1], n[2], elevation, tilted);
        if (tilted) {
            ++m_drawing.tiltedExtrusions;
        }
        return m;
    }

    void Add(Item&& item) { AddTo(m_target, std::move(item)); }

    static void AddTo(Block* target, Item&& item) {
        if (target) {
            target->items.push_back(std::move(item));
        }
    }

    void FlushPendingSpline() {
        if (!m_spline) {
            return;
        }
        PendingSpline pending = std::move(*m_spline);
        m_spline.reset();
        for (const Point2D& p : pending.spline.ctrl) {
            if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
                Refuse(pending.item, "a control point that is not finite");
            }
        }
        if (pending.item.skip == SkipKind::None) {
            pending.item.prims.push_back(std::move(pending.spline));
        }
        AddTo(pending.target, std::move(pending.item));
    }

    void FlushPendingPolyline();

    Drawing& m_drawing;
    const std::vector<RecordOrigin>& m_origins;
    std::size_t m_record = 0;  // group 0 records received so far
    std::size_t m_pair = 0;    // pairs received in the current record after its group 0
    std::string m_section;
    Block* m_target = nullptr;  // where entities go now: model space, a block, or nowhere
    RawRecord m_current;        // the record being read
    RawRecord m_done;           // the record just completed, whose typed callbacks are running
    bool m_expectTyped = false;
    bool m_gotTyped = false;
    Block* m_expectTarget = nullptr;
    std::optional<PendingPolyline> m_polyline;
    std::optional<PendingSpline> m_spline;
};

// Turns the gathered vertices into segments and bulge arcs, in the OCS, then maps them.
void Collector::FlushPendingPolyline() {
    if (!m_polyline) {
        return;
    }
    PendingPolyline pending = std::move(*m_polyline);
    m_polyline.reset();
    Item& item = pending.item;
    if (!pending.badDetail.empty()) {
        Refuse(item, pending.badDetail);
    }
    if (item.skip != SkipKind::None) {
        AddTo(pending.target, std::move(item));
        return;
    }
    // A spline-fit POLYLINE (flag 4) holds its frame (vertex flag 16) and the fitted curve (flag 8): the
    // curve is what was drawn.
    std::vector<PendingPolyline::Vertex> vertices;
    const bool fitted = std::any_of(pending.vertices.begin(), pending.vertices.end(),
                                    [](const PendingPolyline::Vertex& v) { return (v.flags & 8) != 0; });
    for (const PendingPolyline::Vertex& v : pending.vertices) {
        if (fitted && !(v.flags & 8)) {
            continue;
        }
        vertices.push_back(v);
    }
    const bool closed = (pending.flags & 1) != 0;
    const std::size_t n = vertices.size();
    const std::size_t edges = closed ? n : (n == 0 ? 0 : n - 1);
    for (std::size_t i = 0; i < edges; ++i) {
        const PendingPolyline::Vertex& a = vertices[i];
        const PendingPolyline::Vertex& b = vertices[(i + 1) % n];
        if (a.p.DistanceTo(b.p) <= kMinSegmentLength) {
            continue;  // a repeated vertex
        }
        if (std::fabs(a.bulge) <= kBulgeStraightTol) {
            item.prims.push_back(Segment{pending.ocs.TransformPoint(a.p), pending.ocs.TransformPoint(b.p)});
            continue;
        }
        // bulge = tan(sweep / 4); positive turns counter-clockwise (in the OCS) from a to b.
        const double sweep = 4.0 * std::atan(a.bulge);
        const Point2D centre = MathEx::GetArcCenter(a.p.x, a.p.y, b.p.x, b.p.y, sweep);
        const double radius = centre.DistanceTo(a.p);
        Conic conic;
        conic.c = centre;
        conic.u = Vector2D(radius, 0.0);
        conic.v = Vector2D(0.0, radius);
        conic.t0 = Vector2D(centre, a.p).Angle();
        conic.sweep = sweep;
        conic.hasEnds = true;
        conic.start = a.p;
        conic.end = b.p;
        item.prims.push_back(MapConic(conic, pending.ocs));
    }
    if (item.prims.empty()) {
        Refuse(item, "no segment of non-zero length");
    }
    AddTo(pending.target, std::move(item));
}

}  // namespace

std::string UpperCase(const std::string& s) {
    std::string out = s;
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

Matrix2D OcsMatrix(double nx, double ny, double nz, double elevation, bool& tilted) {
    tilted = false;
    const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (!std::isfinite(length) || length <= 0.0) {
        return Matrix2D();  // no usable direction: world coordinates
    }
    nx /= length, ny /= length, nz /= length;
    if (std::fabs(nx) <= kExtrusionAxisTol && std::fabs(ny) <= kExtrusionAxisTol) {
        // The arbitrary-axis rule gives Ax = (0,1,0) x N and Ay = N x Ax: for N = +Z the identity, for
        // N = -Z Ax = (-1, 0, 0) and Ay = (0, 1, 0), a mirror in X.
        return nz > 0.0 ? Matrix2D() : Matrix2D(-1.0, 0.0, 0.0, 1.0, 0.0, 0.0);
    }
    tilted = true;
    // The arbitrary-axis rule: Ax = Wy x N when N is near the world Z axis (both |nx| and |ny| below
    // 1/64), else Wz x N; Ay = N x Ax. The map is then projected onto the world XY plane.
    constexpr double kArbitraryAxisLimit = 1.0 / 64.0;
    double ax = 0.0, ay = 0.0, az = 0.0;
    if (std::fabs(nx) < kArbitraryAxisLimit && std::fabs(ny) < kArbitraryAxisLimit) {
        ax = nz, ay = 0.0, az = -nx;  // (0,1,0) x N
    } else {
        ax = -ny, ay = nx, az = 0.0;  // (0,0,1) x N
    }
    const double al = std::sqrt(ax * ax + ay * ay + az * az);
    ax /= al, ay /= al, az /= al;
    const double bx = ny * az - nz * ay;  // N x Ax
    const double by = nz * ax - nx * az;
    return Matrix2D(ax, bx, ay, by, elevation * nx, elevation * ny);
}

Conic MapConic(const Conic& conic, const Matrix2D& m) {
    Conic out = conic;
    out.c = m.TransformPoint(conic.c);
    out.u = m.TransformVector(conic.u);
    out.v = m.TransformVector(conic.v);
    out.start = m.TransformPoint(conic.start);
    out.end = m.TransformPoint(conic.end);
    return out;
}

bool CollectDrawing(const std::string& text, Drawing& drawing, std::string& message,
                    const std::function<void(double)>& progress) {
    std::vector<RecordOrigin> origins;
    std::string clean = CleanPairs(text, drawing, origins);
    // dxflib's FILE reader is the one that hands every raw pair to the collector (processCodeValuePair)
    // before acting on it, so the clean text is read through a memory stream.
    FILE* stream = fmemopen(clean.data(), clean.size(), "r");
    if (!stream) {
        message = "cannot open the DXF text for parsing";
        return false;
    }
    try {
        Collector collector(drawing, origins);
        DL_Dxf dxf;
        // Each round consumes at least one line, so the line count bounds the loop.
        const std::size_t maxRounds =
            static_cast<std::size_t>(std::count(clean.begin(), clean.end(), '\n')) + 2;
        constexpr std::size_t kRoundsPerReport = 1 << 16;
        for (std::size_t round = 0; round < maxRounds && dxf.readDxfGroups(stream, &collector); ++round) {
            if (progress && round % kRoundsPerReport == 0) {
                progress(2.0 * static_cast<double>(round) / static_cast<double>(maxRounds));
            }
        }
        collector.Finish();
    } catch (const std::exception& e) {
        // dxflib sizes some arrays from counts in the file; absurd counts end up here.
        std::fclose(stream);
        message = std::string("the DXF parser failed: ") + e.what();
        return false;
    }
    std::fclose(stream);
    return true;
}

}  // namespace Norvane::dxf_detail
