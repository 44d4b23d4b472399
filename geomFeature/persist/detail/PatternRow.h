#pragma once

#include <cstdint>
#include <string>

#include "geomFeature/host/appframe/IData.h"
#include "geomFeature/pattern/IPattern.h"

namespace Norvane {

class DBRecord;
class LinePattern;
class ArcPattern;
class CirclePattern;
class EllipsePattern;
class RectHolePattern;
class TRHolePattern;
class OBroundPattern;
class SingleDPattern;
class DoubleDPattern;
class RCHolePattern;
class RadSlotPattern;
class PatLinePattern;
class PatArcPattern;
class PatCirclePattern;
class PatGridPattern;

namespace detail {

// One row of the pattern table in memory: identifier, type code, the eight real and the two integer
// parameters. Columns a type does not use hold 0.
struct PatternRow {
    DataID id = 0;
    std::int64_t type = 0;
    double real[8] = {};
    std::int32_t integer[2] = {};
};

// The row a pattern is stored as. Each shape keeps the values its loader constructor takes back.
PatternRow RowOf(const LinePattern& pattern);
PatternRow RowOf(const ArcPattern& pattern);
PatternRow RowOf(const CirclePattern& pattern);
PatternRow RowOf(const EllipsePattern& pattern);
PatternRow RowOf(const RectHolePattern& pattern);
PatternRow RowOf(const TRHolePattern& pattern);
PatternRow RowOf(const OBroundPattern& pattern);
PatternRow RowOf(const SingleDPattern& pattern);
PatternRow RowOf(const DoubleDPattern& pattern);
PatternRow RowOf(const RCHolePattern& pattern);
PatternRow RowOf(const RadSlotPattern& pattern);
PatternRow RowOf(const PatLinePattern& pattern);
PatternRow RowOf(const PatArcPattern& pattern);
PatternRow RowOf(const PatCirclePattern& pattern);
PatternRow RowOf(const PatGridPattern& pattern);

// The row of any pattern, found through the pattern's own Accept.
PatternRow EncodePatternRow(const IPatternPtr& pattern);

// The insert statement for the row.
std::string FormatPatternInsert(const PatternRow& row);

// Reads a record of the pattern table into row. Answers an empty string when every column holds a value
// of its kind (integer identifier and type, finite reals, integers within 32 bits), else a sentence
// saying which column is wrong; row is then incomplete.
std::string ReadPatternRecord(const DBRecord& record, PatternRow& row);

// 1 when the type code is one of the fifteen pattern codes.
int IsKnownPatternType(std::int64_t type);

// A sentence saying what is unacceptable in the row's counts (negative, or more copies or segments than
// kMaxStoredRepeatCount); empty when they are acceptable. Only the integer columns a type uses count.
std::string CheckPatternCounts(const PatternRow& row);

// A sentence saying what makes the row's geometry unsound, empty when it is sound. The rules are those the
// DXF reader applies to drawings: every real within the kernel's range (kGeomMaxCoordinate), radii,
// lengths and widths positive (above kGeomZeroLength), sweeps non-zero and at most a full turn, flats
// inside their circle, corner radii that fit their rectangle, an ellipse drawn with at least one arc, and
// rows and grids of copies that stay within the kernel's range.
// Meant for a row whose reals are finite and whose counts passed CheckPatternCounts.
std::string CheckPatternGeometry(const PatternRow& row);

// The pattern rebuilt from a row, keeping the row's identifier; empty for an unknown type code.
IPatternPtr DecodePatternRow(const PatternRow& row);

// 1 when every real of the row is finite.
int IsFiniteRow(const PatternRow& row);

}  // namespace detail
}  // namespace Norvane
