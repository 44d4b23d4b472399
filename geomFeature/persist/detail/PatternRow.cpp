#include "geomFeature/persist/detail/PatternRow.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <limits>

#include <boost/make_shared.hpp>

#include "geomFeature/host/datakit/DBRecord.h"
#include "geomFeature/host/geomkit/GeomTolerance.h"
#include "geomFeature/host/mathkit/MathEx.h"
#include "geomFeature/pattern/ArcPattern.h"
#include "geomFeature/pattern/CirclePattern.h"
#include "geomFeature/pattern/DoubleDPattern.h"
#include "geomFeature/pattern/EllipsePattern.h"
#include "geomFeature/pattern/IPatternVisitor.h"
#include "geomFeature/pattern/LinePattern.h"
#include "geomFeature/pattern/OBroundPattern.h"
#include "geomFeature/pattern/PatArcPattern.h"
#include "geomFeature/pattern/PatCirclePattern.h"
#include "geomFeature/pattern/PatGridPattern.h"
#include "geomFeature/pattern/PatLinePattern.h"
#include "geomFeature/pattern/RCHolePattern.h"
#include "geomFeature/pattern/RadSlotPattern.h"
#include "geomFeature/pattern/RectHolePattern.h"
#include "geomFeature/pattern/SingleDPattern.h"
#include "geomFeature/pattern/TRHolePattern.h"
#include "geomFeature/persist/PersistLimits.h"
#include "geomFeature/persist/detail/SqlText.h"

namespace Norvane {
namespace detail {

namespace {

constexpr int kPatternColumns = 12;
constexpr int kFirstRealColumn = 2;
constexpr int kFirstIntColumn = 10;

// Identifier, type code and base point: what every row starts with.
PatternRow Head(const IPattern& pattern) {
    PatternRow row;
    row.id = pattern.GetID();
    row.type = pattern.GetPatternType();
    const Point2D bp = pattern.GetBasePoint();
    row.real[0] = bp.x;
    row.real[1] = bp.y;
    return row;
}

// Row layout of the shapes stored by their base vector and one scalar: c4, c5 = v, c6 = scalar.
template <class Shape>
PatternRow VectorAndRatio(const Shape& shape, double scalar) {
    PatternRow row = Head(shape);
    const Vector2D v = shape.GetBaseVector();
    row.real[2] = v.x;
    row.real[3] = v.y;
    row.real[4] = scalar;
    return row;
}

// The two flattened circles: c4 = |v|, c5 = |v| times the width ratio (the distance to a flat),
// c6 = ang(v).
template <class Shape>
PatternRow RadiusChordAngle(const Shape& shape) {
    PatternRow row = Head(shape);
    const Vector2D v = shape.GetBaseVector();
    row.real[2] = v.Length();
    row.real[3] = v.Length() * shape.GetOrthoRatio();
    row.real[4] = std::atan2(v.y, v.x);
    return row;
}

class RowEncoder : public IPatternVisitor {
public:
    PatternRow row;

    void Visit(const boost::shared_ptr<RadSlotPattern>& p) override { row = RowOf(*p); }
    void Visit(const boost::shared_ptr<OBroundPattern>& p) override { row = RowOf(*p); }
    void Visit(const boost::shared_ptr<TRHolePattern>& p) override { row = RowOf(*p); }
    void Visit(const boost::shared_ptr<PatGridPattern>& p) override { row = RowOf(*p); }
    void Visit(const boost::shared_ptr<PatCirclePattern>& p) override { row = RowOf(*p); }
    void Visit(const boost::shared_ptr<PatArcPattern>& p) override { row = RowOf(*p); }
    void Visit(const boost::shared_ptr<PatLinePattern>& p) override { row = RowOf(*p); }
    void Visit(const boost::shared_ptr<DoubleDPattern>& p) override { row = RowOf(*p); }
    void Visit(const boost::shared_ptr<SingleDPattern>& p) override { row = RowOf(*p); }
    void Visit(const boost::shared_ptr<RCHolePattern>& p) override { row = RowOf(*p); }
    void Visit(const boost::shared_ptr<RectHolePattern>& p) override { row = RowOf(*p); }
    void Visit(const boost::shared_ptr<CirclePattern>& p) override { row = RowOf(*p); }
    void Visit(const boost::shared_ptr<EllipsePattern>& p) override { row = RowOf(*p); }
    void Visit(const boost::shared_ptr<ArcPattern>& p) override { row = RowOf(*p); }
    void Visit(const boost::shared_ptr<LinePattern>& p) override { row = RowOf(*p); }
};

std::string ColumnProblem(int column, const char* what) {
    return "column " + std::to_string(column) + " " + what;
}

std::string CountProblem(const char* what, std::int64_t count) {
    return std::string(what) + " " + std::to_string(count) + " is outside 0.." +
           std::to_string(kMaxStoredRepeatCount);
}

bool CountInRange(std::int64_t count) {
    return count >= 0 && count <= kMaxStoredRepeatCount;
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

}  // namespace

PatternRow RowOf(const LinePattern& pattern) {
    PatternRow row = Head(pattern);
    const Vector2D v = pattern.GetBaseVector();
    row.real[2] = v.x;
    row.real[3] = v.y;
    return row;
}

PatternRow RowOf(const ArcPattern& pattern) {
    PatternRow row = Head(pattern);
    const Vector2D v = pattern.GetBaseVector();
    row.real[2] = v.Length();
    row.real[3] = std::atan2(v.y, v.x);
    row.real[4] = pattern.GetMoveAngle();
    return row;
}

PatternRow RowOf(const CirclePattern& pattern) {
    PatternRow row = Head(pattern);
    row.real[2] = pattern.GetBaseVector().Length();
    return row;
}

PatternRow RowOf(const EllipsePattern& pattern) {
    PatternRow row = VectorAndRatio(pattern, pattern.GetOrthoRatio());
    row.integer[0] = pattern.GetSegCount();
    return row;
}

PatternRow RowOf(const RectHolePattern& pattern) {
    return VectorAndRatio(pattern, pattern.GetOrthoRatio());
}

PatternRow RowOf(const TRHolePattern& pattern) {
    return VectorAndRatio(pattern, pattern.GetOrthoRatio());
}

PatternRow RowOf(const OBroundPattern& pattern) {
    return VectorAndRatio(pattern, pattern.GetOrthoRatio());
}

PatternRow RowOf(const SingleDPattern& pattern) {
    return RadiusChordAngle(pattern);
}

PatternRow RowOf(const DoubleDPattern& pattern) {
    return RadiusChordAngle(pattern);
}

PatternRow RowOf(const RCHolePattern& pattern) {
    PatternRow row = Head(pattern);
    row.real[2] = pattern.GetLength();
    row.real[3] = pattern.GetWidth();
    row.real[4] = pattern.GetArcRadius();
    row.real[5] = pattern.GetAngle();
    return row;
}

PatternRow RowOf(const RadSlotPattern& pattern) {
    PatternRow row = Head(pattern);
    const Vector2D v = pattern.GetBaseVector();
    row.real[2] = v.Length();
    row.real[3] = std::atan2(v.y, v.x);
    row.real[4] = pattern.GetMoveAngle();
    row.real[5] = pattern.GetWidth();
    return row;
}

PatternRow RowOf(const PatLinePattern& pattern) {
    PatternRow row = Head(pattern);
    row.real[2] = pattern.GetSpace();
    row.real[3] = pattern.GetAngle();
    row.integer[0] = pattern.GetRepeatNum();
    return row;
}

PatternRow RowOf(const PatArcPattern& pattern) {
    PatternRow row = Head(pattern);
    row.real[2] = pattern.GetRadius();
    row.real[3] = pattern.GetStartAngle();
    row.real[4] = pattern.GetRepeatAngle();
    row.integer[0] = pattern.GetRepeatNum();
    return row;
}

PatternRow RowOf(const PatCirclePattern& pattern) {
    PatternRow row = Head(pattern);
    row.real[2] = pattern.GetRadius();
    row.real[3] = pattern.GetStartAngle();
    row.integer[0] = pattern.GetRepeatNum();
    return row;
}

PatternRow RowOf(const PatGridPattern& pattern) {
    PatternRow row = Head(pattern);
    row.real[2] = pattern.GetRowSpace();
    row.real[3] = pattern.GetColumnSpace();
    row.integer[0] = pattern.GetRowCount();
    row.integer[1] = pattern.GetColumnCount();
    return row;
}

PatternRow EncodePatternRow(const IPatternPtr& pattern) {
    const auto encoder = boost::make_shared<RowEncoder>();
    pattern->Accept(encoder);
    return encoder->row;
}

std::string FormatPatternInsert(const PatternRow& row) {
    const double* r = row.real;
    return SqlFormat("insert into geometry_patternData values (%" PRId64
                     ", %d, %.16f, %.16f, %.16f, %.16f, %.16f, %.16f, %.16f, %.16f, %d, %d);",
                     row.id, static_cast<int>(row.type), r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7],
                     row.integer[0], row.integer[1]);
}

std::string ReadPatternRecord(const DBRecord& record, PatternRow& row) {
    const DBFieldList& fields = record.GetDBFieldList();
    if (fields.size() != kPatternColumns) {
        return "has " + std::to_string(fields.size()) + " columns instead of " +
               std::to_string(kPatternColumns);
    }
    for (int column = 0; column < kFirstRealColumn; ++column) {
        if (fields[column]->GetValueType() != tagDBValueType::Integer) {
            return ColumnProblem(column, "is not an integer");
        }
    }
    row.id = fields[0]->GetInt64();
    row.type = fields[1]->GetInt64();
    for (int column = kFirstRealColumn; column < kFirstIntColumn; ++column) {
        const DBField& field = *fields[column];
        if (!field.IsNumber()) {
            return ColumnProblem(column, "is not a number");
        }
        if (!std::isfinite(field.GetDouble())) {
            return ColumnProblem(column, "is not finite");
        }
        row.real[column - kFirstRealColumn] = field.GetDouble();
    }
    for (int column = kFirstIntColumn; column < kPatternColumns; ++column) {
        const DBField& field = *fields[column];
        const std::int64_t value = field.GetInt64();
        if (field.GetValueType() != tagDBValueType::Integer) {
            return ColumnProblem(column, "is not an integer");
        }
        if (value < std::numeric_limits<std::int32_t>::min() ||
            value > std::numeric_limits<std::int32_t>::max()) {
            return ColumnProblem(column, "does not fit in 32 bits");
        }
        row.integer[column - kFirstIntColumn] = field.GetInt32();
    }
    return std::string();
}

int IsKnownPatternType(std::int64_t type) {
    switch (type) {
        case PAT_LINE:
        case PAT_RECT_HOLE:
        case PAT_ARC:
        case PAT_CIRCLE:
        case PAT_SINGLE_D:
        case PAT_RC_HOLE:
        case PAT_LINE_ARRAY:
        case PAT_TR_HOLE:
        case PAT_OBROUND:
        case PAT_ELLIPSE:
        case PAT_DOUBLE_D:
        case PAT_RAD_SLOT:
        case PAT_ARC_ARRAY:
        case PAT_CIRCLE_ARRAY:
        case PAT_GRID_ARRAY:
            return 1;
        default:
            return 0;
    }
}

std::string CheckPatternCounts(const PatternRow& row) {
    const std::int64_t first = row.integer[0];
    const std::int64_t second = row.integer[1];
    switch (row.type) {
        case PAT_ELLIPSE:
            return CountInRange(first) ? std::string() : CountProblem("segment count", first);
        case PAT_LINE_ARRAY:
        case PAT_ARC_ARRAY:
        case PAT_CIRCLE_ARRAY:
            return CountInRange(first) ? std::string() : CountProblem("repeat count", first);
        case PAT_GRID_ARRAY:
            if (first < 0 || second < 0) {
                return "row count " + std::to_string(first) + " or column count " + std::to_string(second) +
                       " is negative";
            }
            // Both are below 2^31, so the product fits in 64 bits.
            return CountInRange(first * second) ? std::string()
                                                : CountProblem("grid copy count", first * second);
        default:
            return std::string();
    }
}

std::string CheckPatternGeometry(const PatternRow& row) {
    const auto c = [&row](int column) { return row.real[column - kFirstRealColumn]; };
    for (int column = kFirstRealColumn; column < kFirstIntColumn; ++column) {
        if (!(std::fabs(c(column)) <= kGeomMaxCoordinate)) {
            return ColumnProblem(column, "lies beyond the kernel's range") + " (" + Number(c(column)) + ")";
        }
    }
    // "what v is not positive" when v is not above the degenerate length.
    const auto positive = [](const char* what, double v) {
        return v > kGeomZeroLength ? std::string() : std::string(what) + " " + Number(v) + " is not positive";
    };
    // A sweep: non-zero, and at most a full turn either way.
    const auto sweep = [](const char* what, double v) {
        if (std::fabs(v) > MathEx::PI2 + kGeomAngleTol || v == 0.0) {  // exact: only an empty sweep
            return std::string(what) + " " + Number(v) + " is zero or more than a full turn";
        }
        return std::string();
    };
    const double length = std::hypot(c(4), c(5));  // |v| for the rows that store the vector itself
    std::string problem;
    auto first = [&problem](const std::string& p) {
        if (problem.empty()) {
            problem = p;
        }
    };
    switch (row.type) {
        case PAT_LINE:
            first(positive("length", length));
            break;
        case PAT_ARC:
            first(positive("radius", c(4)));
            first(sweep("sweep", c(6)));
            break;
        case PAT_CIRCLE:
            first(positive("radius", c(4)));
            break;
        case PAT_ELLIPSE:
            first(positive("length", length));
            first(positive("width", length * c(6)));
            if (row.integer[0] < 1) {
                first("segment count " + std::to_string(row.integer[0]) + " is below 1");
            }
            break;
        case PAT_RECT_HOLE:
        case PAT_TR_HOLE:
        case PAT_OBROUND:
            first(positive("length", length));
            first(positive("width", length * c(6)));
            break;
        case PAT_SINGLE_D:
        case PAT_DOUBLE_D:
            first(positive("radius", c(4)));
            // The flat must cut the circle: closer to the centre than the radius (on either side for a
            // single D, whose flat may lie beyond the centre; a double D's two flats need room between).
            if (!(std::fabs(c(5)) < c(4)) || (row.type == PAT_DOUBLE_D && !(c(5) > 0.0))) {
                first("flat distance " + Number(c(5)) + " does not cut the circle of radius " + Number(c(4)));
            }
            break;
        case PAT_RC_HOLE:
            first(positive("length", c(4)));
            first(positive("width", c(5)));
            if (!(c(6) >= 0.0) || !(2.0 * c(6) <= std::min(c(4), c(5)))) {
                first("corner radius " + Number(c(6)) + " does not fit the " + Number(c(4)) + " x " +
                      Number(c(5)) + " rectangle");
            }
            break;
        case PAT_RAD_SLOT:
            first(positive("radius", c(4)));
            first(sweep("sweep", c(6)));
            first(positive("width", c(7)));
            if (!(c(7) < 2.0 * c(4))) {
                first("width " + Number(c(7)) + " is not below the diameter " + Number(2.0 * c(4)));
            }
            break;
        case PAT_LINE_ARRAY:
            // The copies must stay in range too: the row spans (count - 1) steps.
            if (!(std::fabs(c(4)) * std::max(row.integer[0] - 1, 0) <= kGeomMaxCoordinate)) {
                first("the row of " + std::to_string(row.integer[0]) + " copies " + Number(c(4)) +
                      " apart reaches beyond the kernel's range");
            }
            break;
        case PAT_GRID_ARRAY:
            if (!(std::fabs(c(4)) * std::max(row.integer[0] - 1, 0) <= kGeomMaxCoordinate) ||
                !(std::fabs(c(5)) * std::max(row.integer[1] - 1, 0) <= kGeomMaxCoordinate)) {
                first("the grid of " + std::to_string(row.integer[0]) + " x " +
                      std::to_string(row.integer[1]) + " copies reaches beyond the kernel's range");
            }
            break;
        case PAT_ARC_ARRAY:
            first(positive("radius", c(4)));
            if (!(std::fabs(c(6)) <= MathEx::PI2 + kGeomAngleTol)) {
                first("repeat angle " + Number(c(6)) + " is more than a full turn");
            }
            break;
        case PAT_CIRCLE_ARRAY:
            first(positive("radius", c(4)));
            break;
        default:
            break;
    }
    return problem;
}

IPatternPtr DecodePatternRow(const PatternRow& row) {
    const DataID id = row.id;
    // c(k) is column k, so the constructors below read like the column table.
    const auto c = [&row](int column) { return row.real[column - kFirstRealColumn]; };
    const Point2D bp(c(2), c(3));
    const std::int32_t c10 = row.integer[0];
    const std::int32_t c11 = row.integer[1];
    switch (row.type) {
        case PAT_LINE:
            return boost::make_shared<LinePattern>(id, bp, Vector2D(c(4), c(5)));
        case PAT_ARC:
            return boost::make_shared<ArcPattern>(id, bp, c(4), c(5), c(6));
        case PAT_CIRCLE:
            return boost::make_shared<CirclePattern>(id, bp, c(4));
        case PAT_ELLIPSE:
            return boost::make_shared<EllipsePattern>(id, bp, Vector2D(c(4), c(5)), c(6), c10);
        case PAT_RECT_HOLE:
            return boost::make_shared<RectHolePattern>(id, bp, Vector2D(c(4), c(5)), c(6));
        case PAT_TR_HOLE:
            return boost::make_shared<TRHolePattern>(id, bp, Vector2D(c(4), c(5)), c(6));
        case PAT_OBROUND:
            return boost::make_shared<OBroundPattern>(id, bp, Vector2D(c(4), c(5)), c(6));
        case PAT_SINGLE_D:
            return boost::make_shared<SingleDPattern>(id, bp, c(4), c(5), c(6));
        case PAT_DOUBLE_D:
            return boost::make_shared<DoubleDPattern>(id, bp, c(4), c(5), c(6));
        case PAT_RC_HOLE:
            return boost::make_shared<RCHolePattern>(id, bp, c(4), c(5), c(6), c(7));
        case PAT_RAD_SLOT:
            return boost::make_shared<RadSlotPattern>(id, bp, c(4), c(5), c(6), c(7));
        case PAT_LINE_ARRAY:
            return boost::make_shared<PatLinePattern>(id, bp, c(4), c(5), int{c10});
        case PAT_ARC_ARRAY:
            return boost::make_shared<PatArcPattern>(id, bp, c(4), c(5), c(6), int{c10});
        case PAT_CIRCLE_ARRAY:
            return boost::make_shared<PatCirclePattern>(id, bp, c(4), c(5), int{c10});
        // The grid's constructor interleaves spacing and count: rows first, then columns.
        case PAT_GRID_ARRAY:
            return boost::make_shared<PatGridPattern>(id, bp, c(4), int{c10}, c(5), int{c11});
        default:
            return IPatternPtr();
    }
}

int IsFiniteRow(const PatternRow& row) {
    for (double value : row.real) {
        if (!std::isfinite(value)) {
            return 0;
        }
    }
    return 1;
}

}  // namespace detail
}  // namespace Norvane
