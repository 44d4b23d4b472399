#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "geomFeature/pattern/PatternList.h"

namespace Norvane {

// Reads the model-space geometry of an ASCII DXF file into a pattern list in millimetres.
//
// What becomes a pattern: LINE, ARC and CIRCLE as themselves; LWPOLYLINE and 2-D POLYLINE as lines and
// arcs (a vertex's bulge is tan(sweep / 4), positive counter-clockwise, 0 a straight segment; the closed
// flag adds the segment from the last vertex back to the first); a full ELLIPSE as an EllipsePattern and
// an elliptical arc as circular arcs within the chord tolerance; a SPLINE as lines within the chord
// tolerance (evaluated from control points, knots and weights, or interpolated through its fit points);
// INSERT as the block's geometry placed by its transform, nested, with negative scales (mirrors) and
// MINSERT grids. Entities drawn in an object coordinate system (extrusion other than +Z) are mapped to
// the world plane; the usual case, extrusion (0, 0, -1), mirrors them in X and turns their arcs clockwise.
// A full circle (a CIRCLE, or an ARC or ellipse that a transform leaves circular and closed) becomes a
// CirclePattern; a circle that a non-uniform block scale squashes becomes an ellipse.
//
// Every pattern carries its entity's layer (an entity on layer 0 inside a block takes the INSERT's layer)
// and colour as a DXF colour index, 1..255 (BYLAYER resolved through the layer table, BYBLOCK through the
// INSERT, 7 when neither gives one). Patterns are in file order (blocks expanded in place) and their
// caches are refreshed.
//
// Paper-space entities, annotation and every other entity kind (polyface and mesh POLYLINEs too) are
// skipped and counted by type. Entities of the kinds read that cannot give sound geometry (zero or negative
// radius, zero length, non-finite numbers or numbers beyond the kernel's range, invalid knot vectors,
// undefined blocks) are refused: counted, and listed with their handle, line and reason. Numbers written
// with a decimal comma are read as decimals, with a warning.
//
// A damaged file (a line that should hold a group code and does not) or a truncated one (no EOF record)
// fails the read, unless Options::salvage is set: then the damaged records and the record a truncated file
// ends in are left out, the rest is read, and Result::salvaged says what was wrong. The reader never
// throws; failures come back in the result.
//
// Work is bounded for any input: block expansion is costed before anything is placed, the chord count of
// a curve is bounded by the chord tolerance relative to the curve's size, and a drawing that would give
// more than Options::maxPatterns patterns fails with a message naming the entity that passes the limit.
class DxfReader {
public:
    // The drawing units of the $INSUNITS header variable (same codes).
    enum class Unit : int {
        Unitless = 0,
        Inch = 1,
        Foot = 2,
        Mile = 3,
        Millimetre = 4,
        Centimetre = 5,
        Metre = 6,
        Kilometre = 7,
        Microinch = 8,
        Mil = 9,
        Yard = 10,
        Angstrom = 11,
        Nanometre = 12,
        Micron = 13,
        Decimetre = 14,
        Decametre = 15,
        Hectometre = 16,
    };

    // Where the unit that scaled the drawing came from.
    enum class UnitSource {
        File,      // the file's $INSUNITS
        Assumed,   // the file gave none (or 0, unitless, or an unknown code): millimetres assumed
        Override,  // Options::unitOverride, whatever the file said
    };

    // Why a read failed. A program maps MissingFile to 66 (missing input), ReadFailed to 74 (I/O error)
    // and every other kind to 65 (bad data).
    enum class ErrorKind {
        None,
        MissingFile,   // no such file, or not a readable regular file
        ReadFailed,    // the file exists but reading it failed part way (an I/O error)
        NotDxf,        // empty, or does not start like an ASCII DXF file
        BinaryDxf,     // the binary DXF form, which this reader does not read
        Truncated,     // the file ends before its EOF record (without Options::salvage)
        Damaged,       // a line that should hold a group code does not (without Options::salvage)
        EmptyDrawing,  // a DXF file without any geometry that can be read in model space
        TooLarge,      // the drawing would give more than Options::maxPatterns patterns
    };

    struct Options {
        // Largest distance (mm) between an approximated curve (spline, elliptical arc) and the lines or
        // arcs standing for it.
        double chordTol = 0.01;
        // The unit to read the drawing in, overriding the file's $INSUNITS (for files without one, or
        // with a wrong one).
        std::optional<Unit> unitOverride;
        // INSERT nesting deeper than this is not expanded (reported as a warning).
        int maxInsertDepth = 16;
        // More patterns than this (after expanding blocks and MINSERT grids, and approximating curves)
        // fail the read with ErrorKind::TooLarge instead of exhausting memory and time.
        std::size_t maxPatterns = 2000000;
        // Read what can be read from a truncated or damaged file instead of failing.
        bool salvage = false;
        // Called now and then with the fraction of the reading done (0..1) and what is being done.
        std::function<void(const std::string& stage, double fraction)> progress;
    };

    // An entity of a kind the reader reads that gave no geometry.
    struct Refusal {
        std::string type;    // DXF entity name
        std::string handle;  // as written in the file; empty when the entity has none
        long line = 0;       // line of the file where the entity starts
        std::string reason;  // why, e.g. "radius -1 is not positive"
        int count = 1;       // placements refused (an entity in a block inserted n times: n)
    };

    struct Result {
        ErrorKind error = ErrorKind::None;
        std::string message;                   // what failed, for the user; empty on success
        PatternListPtr patterns;               // never empty; holds nothing on failure
        std::map<std::string, int> readCount;  // entity type -> placed entities that gave geometry
        std::map<std::string, int> skipCount;  // entity type -> placed entities that gave none
        Unit unit = Unit::Millimetre;          // the unit the drawing was read in
        UnitSource unitSource = UnitSource::Assumed;
        double scaleToMm = 1.0;             // drawing unit -> millimetres, as applied
        std::vector<std::string> warnings;  // one line each, for the user
        std::vector<Refusal> refused;       // in file order
        std::string salvaged;  // with Options::salvage: what was wrong with the file, if anything

        bool Ok() const { return error == ErrorKind::None; }
    };

    // Reads the file at path. Counts are per placed entity: an entity of a block inserted n times (or
    // in an n-copy MINSERT) counts n times. Messages never repeat the path: the caller names the file.
    static Result Read(const std::string& path, const Options& options);
    static Result Read(const std::string& path) { return Read(path, Options()); }
    // The same for DXF text already in memory (tests, fuzzing, programs that read standard input).
    static Result ReadText(const std::string& text, const Options& options);
    static Result ReadText(const std::string& text) { return ReadText(text, Options()); }

    // Millimetres per drawing unit; 0 for Unitless.
    static double UnitToMillimetre(Unit unit);
    // "mm", "in", "ft", ...; ParseUnit accepts these and the full names ("millimetre", "inch").
    static std::string UnitName(Unit unit);
    static std::optional<Unit> ParseUnit(const std::string& name);

    // "LINE (handle 1F, line 120)", or "LINE at line 120" for an entity without a handle.
    static std::string Describe(const std::string& type, const std::string& handle, long line);
};

}  // namespace Norvane
