#include "geomFeature/host/viewkit/CairoViewPort.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <exception>
#include <initializer_list>
#include <string>
#include <vector>

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>

#include "geomFeature/host/logkit/LogMgr.h"
#include "geomFeature/host/viewkit/ViewPortError.h"

namespace Norvane {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;

// Width added on each side of a stroke by the halo of ROP_HIGHLIGHT, in pixels, and the halo's opacity.
constexpr double kHighlightHaloPixels = 3.0;
constexpr double kHighlightHaloAlpha = 0.35;

// Device radii at or below this draw an ellipse as the segment of its other axis (a zero scale would leave
// the drawing context unusable).
constexpr double kMinEllipseRadiusPixels = 1e-9;

constexpr int kStippleBits = 16;

// Pieces gathered into one stroke at most: enough to save the per-stroke cost, few enough that Cairo's
// stroker does not slow down on one enormous path.
constexpr int kMaxBatchPieces = 64;

double Channel(unsigned long color, int shift) {
    return static_cast<double>((color >> shift) & 0xFFu) / 255.0;
}

bool Finite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

const char* FormatName(CairoViewPort::Format format) {
    switch (format) {
        case CairoViewPort::Format::Png:
            return "PNG";
        case CairoViewPort::Format::Svg:
            return "SVG";
        case CairoViewPort::Format::Pdf:
            return "PDF";
        case CairoViewPort::Format::FromExtension:
            break;
    }
    return "unknown";
}

// The dash array of a 16-bit stipple: alternating drawn and skipped run lengths in pixels, starting with a
// drawn run, and the offset at which the stroke starts in it. The pattern is read from bit 0; the dash
// array starts at a drawn bit that follows a clear one, so the runs alternate properly even when the
// pattern wraps round (e.g. 0x8001 is one drawn run of two bits). Empty for a solid pattern; a pattern
// without any set bit is not passed in.
std::vector<double> StippleDashes(unsigned short pattern, int factor, double& offset) {
    offset = 0.0;
    auto bit = [pattern](int i) {
        return (pattern >> (((i % kStippleBits) + kStippleBits) % kStippleBits)) & 1;
    };
    int start = -1;
    for (int i = 0; i < kStippleBits && start < 0; ++i) {
        if (bit(i) && !bit(i - 1)) {
            start = i;
        }
    }
    if (start < 0) {
        return {};  // every bit set
    }
    const double unit = std::max(factor, 1);
    std::vector<double> dashes;
    int runBit = 1;
    int runLength = 0;
    for (int i = 0; i < kStippleBits; ++i) {
        if (bit(start + i) == runBit) {
            ++runLength;
        } else {
            dashes.push_back(runLength * unit);
            runBit = 1 - runBit;
            runLength = 1;
        }
    }
    dashes.push_back(runLength * unit);
    offset = ((kStippleBits - start) % kStippleBits) * unit;
    return dashes;
}

}  // namespace

struct CairoViewPort::Impl {
    std::string path;
    Format format = Format::Png;
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    bool finished = false;
    // A raster snaps straight strokes to the pixel grid so that they come out crisp instead of smeared
    // over two rows; vector formats keep exact coordinates.
    bool snapToPixels = false;
    // Plain solid strokes of one pen are gathered into one path and stroked together when the pen changes
    // or something else must be drawn: a drawing of 100,000 pieces is a few strokes, not 100,000.
    bool pending = false;
    int pendingPieces = 0;
    ViewPen pendingPen;

    ~Impl() { Release(); }

    static bool Batchable(const ViewPen& pen, bool dashed) {
        return pen.rop == ROP_NORMAL && !(dashed && pen.stippleEnabled != 0);
    }

    // Before a new piece of path: strokes what was gathered unless the piece joins it.
    void Begin(const ViewPen& pen, bool dashed, bool batchable = true) {
        if (pending && !(batchable && Batchable(pen, dashed) && pen == pendingPen &&
                         pendingPieces < kMaxBatchPieces)) {
            Flush();
        }
        if (!pending) {
            cairo_new_path(cr);
        }
    }

    void Flush() {
        if (!pending || cr == nullptr) {
            pending = false;
            return;
        }
        pending = false;
        pendingPieces = 0;
        SetSourceColor(pendingPen.color, 1.0);
        cairo_set_line_width(cr, pendingPen.lineWidth);
        cairo_stroke(cr);
    }

    void Release() {
        Flush();
        if (cr != nullptr) {
            cairo_destroy(cr);
            cr = nullptr;
        }
        if (surface != nullptr) {
            cairo_surface_destroy(surface);
            surface = nullptr;
        }
    }

    bool CanDraw() const { return !finished && cr != nullptr; }

    // The device point moved to where a stroke of `width` pixels covers whole pixels: a pixel centre for
    // an odd width, a pixel corner for an even one. Moves by half a pixel at most.
    Point2D Snap(const Point2D& p, double width) const {
        if (!snapToPixels) {
            return p;
        }
        if (std::lround(width) % 2 == 1) {
            return Point2D(std::floor(p.x) + 0.5, std::floor(p.y) + 0.5);
        }
        return Point2D(std::round(p.x), std::round(p.y));
    }

    void SetSourceColor(unsigned long color, double alpha) {
        cairo_set_source_rgba(cr, Channel(color, 0), Channel(color, 8), Channel(color, 16), alpha);
    }

    // Strokes the current path with the pen and clears it. Geometry honours the stipple; markers pass
    // `dashed` false and are always solid.
    void Stroke(const ViewPen& pen, bool dashed) {
        if (Batchable(pen, dashed)) {
            pending = true;
            ++pendingPieces;
            pendingPen = pen;
            return;
        }
        if (dashed && pen.stippleEnabled != 0) {
            if (pen.stipplePattern == 0) {
                cairo_new_path(cr);  // every bit clear: nothing of the line shows
                return;
            }
            double offset = 0.0;
            const std::vector<double> dashes = StippleDashes(pen.stipplePattern, pen.stippleFactor, offset);
            cairo_set_dash(cr, dashes.data(), static_cast<int>(dashes.size()), offset);
        }
        if (pen.rop == ROP_XOR) {
            // Invert what lies under the stroke, whatever the pen colour: visible on any background, and
            // a second stroke over the same place restores it.
            cairo_set_operator(cr, CAIRO_OPERATOR_DIFFERENCE);
            cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
            cairo_set_line_width(cr, pen.lineWidth);
            cairo_stroke(cr);
        } else {
            if (pen.rop == ROP_HIGHLIGHT) {
                SetSourceColor(pen.color, kHighlightHaloAlpha);
                cairo_set_line_width(cr, pen.lineWidth + 2.0 * kHighlightHaloPixels);
                cairo_stroke_preserve(cr);
            }
            SetSourceColor(pen.color, 1.0);
            cairo_set_line_width(cr, pen.lineWidth);
            cairo_stroke(cr);
        }
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
        cairo_set_dash(cr, nullptr, 0, 0.0);
    }

    void Fill(const ViewPen& pen) {
        if (pen.rop == ROP_XOR) {
            cairo_set_operator(cr, CAIRO_OPERATOR_DIFFERENCE);
            cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
        } else {
            SetSourceColor(pen.color, 1.0);
        }
        cairo_fill(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    }

    // Adds the two strokes of a cross marker centred on the device point `c`.
    void CrossPath(const Point2D& c, double size, double angle) {
        // World angles turn counter-clockwise with y up; on the device y points down.
        const double half = 0.5 * size;
        const double ux = std::cos(angle) * half;
        const double uy = -std::sin(angle) * half;
        cairo_move_to(cr, c.x - ux, c.y - uy);
        cairo_line_to(cr, c.x + ux, c.y + uy);
        cairo_move_to(cr, c.x + uy, c.y - ux);
        cairo_line_to(cr, c.x - uy, c.y + ux);
    }
};

CairoViewPort::CairoViewPort(const std::string& path, int width, int height, const Rect2D& world)
    : CairoViewPort(path, width, height, world, Options()) {}

CairoViewPort::CairoViewPort(const std::string& path, int width, int height, const Rect2D& world,
                             const Options& options)
    : m_impl(std::make_unique<Impl>()) {
    m_impl->path = path;
    m_impl->format = options.format == Format::FromExtension ? FormatFromPath(path) : options.format;
    if (m_impl->format == Format::FromExtension) {
        throw ViewPortError("cannot tell the image format of '" + path + "': use .png, .svg or .pdf");
    }
    if (width <= 0 || height <= 0) {
        throw ViewPortError("cannot create '" + path + "': the image size " + std::to_string(width) + " x " +
                            std::to_string(height) + " is not positive");
    }

    switch (m_impl->format) {
        case Format::Png:
            m_impl->surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
            break;
        case Format::Svg:
            m_impl->surface = cairo_svg_surface_create(path.c_str(), width, height);
            break;
        case Format::Pdf:
            m_impl->surface = cairo_pdf_surface_create(path.c_str(), width, height);
            break;
        case Format::FromExtension:
            break;
    }
    const cairo_status_t status = cairo_surface_status(m_impl->surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        const std::string reason = cairo_status_to_string(status);
        m_impl->Release();
        throw ViewPortError(std::string("cannot create ") + FormatName(m_impl->format) + " file '" + path +
                            "': " + reason);
    }
    m_impl->snapToPixels = m_impl->format == Format::Png;
    m_impl->cr = cairo_create(m_impl->surface);
    cairo_set_line_cap(m_impl->cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(m_impl->cr, CAIRO_LINE_JOIN_MITER);
    if (!options.transparent) {
        m_impl->SetSourceColor(options.background, 1.0);
        cairo_paint(m_impl->cr);
    }

    ViewTransform view(width, height);
    view.FitWorldRect(world, options.marginPixels);
    SetViewTransform(view);
}

CairoViewPort::CairoViewPort(_cairo* context, const ViewTransform& view, bool raster)
    : m_impl(std::make_unique<Impl>()) {
    m_impl->format = raster ? Format::Png : Format::Svg;
    m_impl->snapToPixels = raster;
    SetContext(context);
    SetViewTransform(view);
}

void CairoViewPort::SetContext(_cairo* context) {
    m_impl->Release();
    m_impl->finished = false;
    if (context != nullptr) {
        m_impl->cr = cairo_reference(context);
        cairo_set_line_cap(m_impl->cr, CAIRO_LINE_CAP_BUTT);
        cairo_set_line_join(m_impl->cr, CAIRO_LINE_JOIN_MITER);
    }
}

CairoViewPort::~CairoViewPort() {
    try {
        Finish();
    } catch (const std::exception& error) {
        const std::string text = error.what();
        LogMgr::DebugWarn(std::wstring(text.begin(), text.end()));
    }
}

CairoViewPort::Format CairoViewPort::FormatFromPath(const std::string& path) {
    const std::string lower = Lower(path);
    auto endsWith = [&lower](const char* ext) { return lower.ends_with(ext); };
    if (endsWith(".png")) {
        return Format::Png;
    }
    if (endsWith(".svg")) {
        return Format::Svg;
    }
    if (endsWith(".pdf")) {
        return Format::Pdf;
    }
    return Format::FromExtension;
}

const std::string& CairoViewPort::GetPath() const {
    return m_impl->path;
}

CairoViewPort::Format CairoViewPort::GetFormat() const {
    return m_impl->format;
}

bool CairoViewPort::IsFinished() const {
    return m_impl->finished;
}

void CairoViewPort::Finish() {
    Impl& impl = *m_impl;
    if (impl.finished) {
        return;
    }
    impl.finished = true;
    if (impl.path.empty() && impl.cr == nullptr) {
        return;  // a borrowed context that was given back: nothing to check or write
    }
    impl.Flush();
    const std::string what = std::string(FormatName(impl.format)) + " file '" + impl.path + "'";

    const cairo_status_t drawStatus = cairo_status(impl.cr);
    if (drawStatus != CAIRO_STATUS_SUCCESS) {
        impl.Release();
        throw ViewPortError("drawing into " + what + " failed: " + cairo_status_to_string(drawStatus));
    }
    cairo_destroy(impl.cr);
    impl.cr = nullptr;

    cairo_status_t status = CAIRO_STATUS_SUCCESS;
    if (impl.path.empty()) {
        impl.Release();  // a borrowed context: nothing to write
        return;
    }
    if (impl.format == Format::Png) {
        cairo_surface_flush(impl.surface);
        status = cairo_surface_write_to_png(impl.surface, impl.path.c_str());
    } else {
        cairo_surface_finish(impl.surface);  // SVG and PDF write their file here
        status = cairo_surface_status(impl.surface);
    }
    impl.Release();
    if (status != CAIRO_STATUS_SUCCESS) {
        throw ViewPortError("cannot write " + what + ": " + cairo_status_to_string(status));
    }
}

void CairoViewPort::DrawLinePoint2D(double x1, double y1, double x2, double y2) {
    if (!m_impl->CanDraw() || !Finite({x1, y1, x2, y2})) {
        return;
    }
    const Point2D a = m_impl->Snap(PointWToD(Point2D(x1, y1)), GetLineWidth());
    const Point2D b = m_impl->Snap(PointWToD(Point2D(x2, y2)), GetLineWidth());
    m_impl->Begin(GetPen(), true);
    cairo_move_to(m_impl->cr, a.x, a.y);
    cairo_line_to(m_impl->cr, b.x, b.y);
    m_impl->Stroke(GetPen(), true);
}

void CairoViewPort::DrawArc2D(double cx, double cy, double radius, double startAngle, double sweepAngle) {
    if (!m_impl->CanDraw() || !Finite({cx, cy, radius, startAngle, sweepAngle})) {
        return;
    }
    const Point2D c = PointWToD(Point2D(cx, cy));
    const double r = WToD(std::fabs(radius));
    // Mirroring y turns world angles into their negatives: a counter-clockwise world sweep runs towards
    // decreasing device angles.
    const double sweep = std::clamp(sweepAngle, -kTwoPi, kTwoPi);
    m_impl->Begin(GetPen(), true);
    cairo_new_sub_path(m_impl->cr);
    if (sweep >= 0.0) {
        cairo_arc_negative(m_impl->cr, c.x, c.y, r, -startAngle, -startAngle - sweep);
    } else {
        cairo_arc(m_impl->cr, c.x, c.y, r, -startAngle, -startAngle - sweep);
    }
    m_impl->Stroke(GetPen(), true);
}

void CairoViewPort::DrawCircle2D(double cx, double cy, double radius) {
    if (!m_impl->CanDraw() || !Finite({cx, cy, radius})) {
        return;
    }
    const Point2D c = PointWToD(Point2D(cx, cy));
    m_impl->Begin(GetPen(), true);
    cairo_new_sub_path(m_impl->cr);
    cairo_arc(m_impl->cr, c.x, c.y, WToD(std::fabs(radius)), 0.0, kTwoPi);
    m_impl->Stroke(GetPen(), true);
}

void CairoViewPort::DrawEllipse2D(double cx, double cy, double radiusX, double radiusY, double angle) {
    if (!m_impl->CanDraw() || !Finite({cx, cy, radiusX, radiusY, angle})) {
        return;
    }
    const double rx = WToD(std::fabs(radiusX));
    const double ry = WToD(std::fabs(radiusY));
    if (rx <= kMinEllipseRadiusPixels || ry <= kMinEllipseRadiusPixels) {
        // A flat ellipse is the segment of its remaining axis.
        const double ux =
            rx > ry ? std::fabs(radiusX) * std::cos(angle) : -std::fabs(radiusY) * std::sin(angle);
        const double uy =
            rx > ry ? std::fabs(radiusX) * std::sin(angle) : std::fabs(radiusY) * std::cos(angle);
        DrawLinePoint2D(cx - ux, cy - uy, cx + ux, cy + uy);
        return;
    }
    const Point2D c = PointWToD(Point2D(cx, cy));
    cairo_t* cr = m_impl->cr;
    m_impl->Begin(GetPen(), true);
    cairo_new_sub_path(cr);
    cairo_save(cr);
    cairo_translate(cr, c.x, c.y);
    cairo_rotate(cr, -angle);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0.0, 0.0, 1.0, 0.0, kTwoPi);
    cairo_restore(cr);  // stroke in device units, not in the unit circle's
    m_impl->Stroke(GetPen(), true);
}

void CairoViewPort::DrawRect(double x1, double y1, double x2, double y2) {
    if (!m_impl->CanDraw() || !Finite({x1, y1, x2, y2})) {
        return;
    }
    const Rect2D world = Rect2D::FromPoints(Point2D(x1, y1), Point2D(x2, y2));
    const Point2D a = m_impl->Snap(PointWToD(Point2D(world.left, world.top)), GetLineWidth());
    const Point2D b = m_impl->Snap(PointWToD(Point2D(world.right, world.bottom)), GetLineWidth());
    m_impl->Begin(GetPen(), true);
    cairo_rectangle(m_impl->cr, a.x, a.y, b.x - a.x, b.y - a.y);
    m_impl->Stroke(GetPen(), true);
}

void CairoViewPort::DrawCrossPoint2D(double x, double y, double size, double angle) {
    if (!m_impl->CanDraw() || !Finite({x, y, size, angle})) {
        return;
    }
    m_impl->Begin(GetPen(), false);
    m_impl->CrossPath(m_impl->Snap(PointWToD(Point2D(x, y)), GetLineWidth()), size, angle);
    m_impl->Stroke(GetPen(), false);
}

void CairoViewPort::DrawCrossPoint2DEx(double x, double y, double size, double angle) {
    if (!m_impl->CanDraw() || !Finite({x, y, size, angle})) {
        return;
    }
    const Point2D c = m_impl->Snap(PointWToD(Point2D(x, y)), GetLineWidth());
    m_impl->Begin(GetPen(), false);
    m_impl->CrossPath(c, size, angle);
    cairo_new_sub_path(m_impl->cr);
    cairo_arc(m_impl->cr, c.x, c.y, 0.5 * std::fabs(size), 0.0, kTwoPi);
    m_impl->Stroke(GetPen(), false);
}

void CairoViewPort::DrawRectPoint2D(double x, double y, double size, int hollow) {
    if (!m_impl->CanDraw() || !Finite({x, y, size})) {
        return;
    }
    // A filled square has no stroke: its edges fall on pixel corners when its centre does.
    const Point2D c = m_impl->Snap(PointWToD(Point2D(x, y)), hollow != 0 ? GetLineWidth() : 0.0);
    const double half = 0.5 * std::fabs(size);
    m_impl->Begin(GetPen(), false, hollow != 0);
    cairo_rectangle(m_impl->cr, c.x - half, c.y - half, 2.0 * half, 2.0 * half);
    if (hollow != 0) {
        m_impl->Stroke(GetPen(), false);
    } else {
        m_impl->Fill(GetPen());
    }
}

}  // namespace Norvane
