#pragma once

#include <memory>
#include <string>

#include <boost/shared_ptr.hpp>

#include "geomFeature/host/geomkit/Rect2D.h"
#include "geomFeature/host/viewkit/GlViewPort.h"

struct _cairo;  // cairo_t, so that users of a file viewport need not see cairo.h

namespace Norvane {

// A viewport that renders into a file: a PNG image, an SVG drawing or a PDF page of a fixed device size
// (pixels; one pixel is one point in SVG and PDF). The world box given at construction is fitted into the
// page with a margin, keeping the aspect ratio; the view can be changed afterwards like any viewport's.
//
// Raster modes: ROP_XOR paints the difference with what is there (drawing twice restores the picture on a
// raster); ROP_HIGHLIGHT lays a translucent halo of the pen colour under each stroke.
//
// Nothing is written until Finish, which reports failure with a ViewPortError naming the file; the
// destructor finishes a viewport that was not finished and only logs a failure.
class CairoViewPort : public GlViewPort {
public:
    enum class Format {
        FromExtension,  // ".png", ".svg" or ".pdf", in any letter case
        Png,
        Svg,
        Pdf,
    };

    struct Options {
        Format format = Format::FromExtension;
        // Free space left around the fitted world box on every side, in pixels.
        double marginPixels = 16.0;
        // 0x00BBGGRR; painted before any drawing unless `transparent`.
        unsigned long background = 0xFFFFFFul;
        bool transparent = false;
    };

    // Throws ViewPortError when the size is not positive, the format cannot be told from the path or the
    // file cannot be created (SVG and PDF open their file at once; PNG writes it in Finish).
    CairoViewPort(const std::string& path, int width, int height, const Rect2D& world);
    CairoViewPort(const std::string& path, int width, int height, const Rect2D& world,
                  const Options& options);
    // Draws on a context the caller owns (a window's surface, an offscreen image), through the same code
    // as the files: a window and an exported picture look alike. The viewport holds a reference to the
    // context until it is finished or given another. `raster` snaps straight strokes to pixels as a PNG
    // does. GetPath is empty and Finish writes nothing (it reports a drawing failure of the context).
    CairoViewPort(_cairo* context, const ViewTransform& view, bool raster = true);
    ~CairoViewPort() override;

    // Draws from now on into `context` (for a window: its cached part image, then the screen). Clears a
    // finished state; an empty context makes every drawing call a no-op.
    void SetContext(_cairo* context);

    // The format a path's extension names, or FromExtension when it names none of the three.
    static Format FormatFromPath(const std::string& path);

    const std::string& GetPath() const;
    Format GetFormat() const;
    // Completes the file. Throws ViewPortError when drawing failed or the file cannot be written. Drawing
    // after Finish is ignored and a second Finish does nothing.
    void Finish();
    bool IsFinished() const;

    void DrawLinePoint2D(double x1, double y1, double x2, double y2) override;
    void DrawArc2D(double cx, double cy, double radius, double startAngle, double sweepAngle) override;
    void DrawCircle2D(double cx, double cy, double radius) override;
    void DrawEllipse2D(double cx, double cy, double radiusX, double radiusY, double angle) override;
    void DrawRect(double x1, double y1, double x2, double y2) override;
    void DrawCrossPoint2D(double x, double y, double size, double angle) override;
    void DrawCrossPoint2DEx(double x, double y, double size, double angle) override;
    void DrawRectPoint2D(double x, double y, double size, int hollow) override;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

using CairoViewPortPtr = boost::shared_ptr<CairoViewPort>;

}  // namespace Norvane
