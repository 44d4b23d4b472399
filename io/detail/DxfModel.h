#pragma once

// The DXF reader's working model: what the collector gathers from the file (blocks of items in their own
// coordinates), and the curve helpers the expansion uses to turn placed items into patterns. Internal to
// the io library.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "geomFeature/host/geomkit/Matrix2D.h"
#include "geomFeature/host/geomkit/Point2D.h"
#include "geomFeature/host/geomkit/Vector2D.h"
#include "geomFeature/pattern/IPattern.h"
#include "io/DxfReader.h"

namespace Norvane::dxf_detail {

// A straight piece.
struct Segment {
    Point2D p;
    Point2D q;
};

// A circle, ellipse or an arc of either, as c + u*cos(t) + v*sin(t) for t from t0 over the signed sweep.
// u and v are conjugate semi-diameters, which is what an affine map keeps: mapping c, u and v maps the
// curve. The curve turns counter-clockwise when cross(u, v) * sweep > 0. A full curve has |sweep| = 2*pi.
struct Conic {
    Point2D c;
    Vector2D u;
    Vector2D v;
    double t0 = 0.0;
    double sweep = 0.0;
    bool full = false;
    // The end points, when the file gives them exactly (a polyline's bulge arc joins two vertices):
    // computed from a far centre they would lose their last digits.
    bool hasEnds = false;
    Point2D start;
    Point2D end;
};

// A B-spline or NURBS curve (control points, knots, optional weights), or, without control points, a
// curve through fit points. Affine maps act on the points; weights and knots stay.
struct Spline {
    int degree = 3;
    std::vector<double> knots;
    std::vector<Point2D> ctrl;
    std::vector<double> weights;  // empty, or one per control point
    std::vector<Point2D> fit;
    bool closed = false;
    std::optional<Vector2D> startTangent;  // for fit-point curves
    std::optional<Vector2D> endTangent;
};

using Prim = std::variant<Segment, Conic, Spline>;

// An INSERT (or MINSERT grid): copy (i, j) of the block is placed by
//   ocs * T(point) * R(angle) * T(i * colSpacing, j * rowSpacing) * S(sx, sy) * T(-block base).
struct InsertRef {
    std::string blockKey;  // upper-case block name
    std::string blockName;
    Matrix2D ocs;
    Point2D point;
    double sx = 1.0;
    double sy = 1.0;
    double angle = 0.0;  // radians
    int cols = 1;
    int rows = 1;
    double colSpacing = 0.0;
    double rowSpacing = 0.0;
};

// Why an entity gives no geometry.
enum class SkipKind {
    None,
    Unsupported,  // a kind the reader does not turn into geometry (annotation, hatches, ...): counted only
    PaperSpace,   // drawn in paper space, which is layout, not the part: counted only
    Refused,      // a kind the reader reads, refused for the reason given: counted and listed
};

// One entity of a block (or of model space), in the block's coordinates.
struct Item {
    std::string type;    // DXF entity name, e.g. "LWPOLYLINE"
    std::string layer;   // as written in the file
    std::string handle;  // group 5, as written; may be empty
    long line = 0;       // line of the file where the entity's record starts (1-based)
    int colour = 256;    // DXF colour index; 256 BYLAYER, 0 BYBLOCK
    std::vector<Prim> prims;
    std::optional<InsertRef> insert;
    SkipKind skip = SkipKind::None;
    std::string skipReason;  // for Refused: why, without the entity's name ("radius 0 is not positive")
};

struct Block {
    std::string name;
    Point2D base;
    std::vector<Item> items;
};

struct Drawing {
    Block model;
    std::map<std::string, Block> blocks;     // by upper-case name
    std::map<std::string, int> layerColour;  // by upper-case layer name
    std::optional<int> insUnits;
    bool sawSection = false;     // at least one SECTION record: the text is DXF
    bool sawEntities = false;    // an ENTITIES section was present
    int decimalCommaValues = 0;  // real values written with a decimal comma
    int tiltedExtrusions = 0;    // entities whose extrusion is not along Z (projected)
    long damagedAtLine = 0;      // first line where a group code was expected and not found
    std::string damagedText;     // what that line held instead
    int damagedPlaces = 0;       // how many times reading had to resynchronise
    long lineCount = 0;          // lines in the file
    bool sawEof = false;         // the file ends with its EOF record
    std::string endSection;      // without EOF: the section the file ends in ("" between sections)
    std::string lastSection;     // without EOF: the last section opened
    std::string cutRecord;       // without EOF: the record the file ends in, left out ("" when none)
    long cutRecordLine = 0;      //   and the line where it starts
};

// Where a record of the clean text handed to dxflib came from: the line of its group 0 in the file, and
// how many pairs were added after that group 0 (element counts the file lacked), which have no line of
// their own. The record's other pairs follow in the file two lines apiece.
struct RecordOrigin {
    long line = 0;
    int added = 0;
};

// Longest piece of a bad value quoted in a message.
constexpr std::size_t kMaxQuotedLength = 40;

// The clean copy of the pairs of text that dxflib is given, with the origin of each of its records (in
// order). Damage and truncation are noted in drawing: the damaged records are dropped, and a file without
// EOF loses the record it is cut in (and a POLYLINE still collecting vertices) and gets its EOF.
std::string CleanPairs(const std::string& text, Drawing& drawing, std::vector<RecordOrigin>& origins);

// Reads DXF text into the drawing model with dxflib. Returns false (with a message) only when dxflib
// itself fails; malformed entities become refused items. Damaged records (a line that should hold a group
// code and does not) are dropped and noted in the drawing; so is the record a truncated file ends in.
// progress, when given, is called now and then with the fraction of the text read.
bool CollectDrawing(const std::string& text, Drawing& drawing, std::string& message,
                    const std::function<void(double)>& progress);

std::string UpperCase(const std::string& s);

// The object coordinate system of an extrusion direction, projected onto the world XY plane: maps an
// OCS point (x, y) at the given elevation to world (x, y). Identity for +Z, a mirror in X for -Z.
// tilted is set when the direction is not along Z (the map then projects).
Matrix2D OcsMatrix(double nx, double ny, double nz, double elevation, bool& tilted);

// The conic mapped by an affine transform.
Conic MapConic(const Conic& conic, const Matrix2D& m);

// The chord tolerance honoured for a curve of the given size (the diagonal of a box around it): the
// caller's, but never below kMinChordTol nor below kMinRelChordTol times the size. So the number of
// pieces that stand for a curve depends on its shape, not on how far a tolerance is pushed: a turn of a
// circle needs pi / sqrt(2 * tol / radius) chords, some 4000 at the relative floor, and the bisection
// that finds them takes at most twice that.
double CurveChordTol(double chordTol, double size);

// Patterns for a conic in final coordinates: a CirclePattern, an ArcPattern, an EllipsePattern, or
// circular arcs within the chord tolerance for an elliptical arc. Appends nothing for a degenerate conic.
void ConicToPatterns(const Conic& conic, double chordTol, std::vector<IPatternPtr>& out);

// Points along a spline in final coordinates, no chord farther than the chord tolerance from the curve.
// Empty with a reason for an invalid spline (bad knot vector, weights, degree). capped is set when the
// curve needed more than kMaxCurvePoints points and was approximated coarser.
std::vector<Point2D> TessellateSpline(const Spline& spline, double chordTol, std::string& problem,
                                      bool& capped);

// Places the model space of the drawing (blocks expanded, everything scaled by scaleToMm) into
// result.patterns, filling the counts, refusals and warnings. False with result.error set when the
// expansion would exceed options.maxPatterns; the message names the entity that passes the limit.
bool ExpandDrawing(const Drawing& drawing, const DxfReader::Options& options, double scaleToMm,
                   DxfReader::Result& result);

}  // namespace Norvane::dxf_detail
