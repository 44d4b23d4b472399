#pragma once

#include "geomFeature/host/geomkit/Point2D.h"
#include "geomFeature/host/geomkit/Rect2D.h"

namespace Norvane {

// The mapping between the drawing's world coordinates and a viewport's device pixels: a uniform scale and
// a shift, with the y axis flipped. World y grows upwards (mathematical sense, angles counter-clockwise);
// device y grows downwards from the top-left pixel corner (0, 0) to (width, height).
//
// The view is described by the world point shown at the centre of the device and the scale in pixels per
// world unit, so zooming and panning are plain edits of those two values. The scale is always positive.
class ViewTransform {
public:
    // A 1 x 1 device showing world (0.5, 0.5) at its centre, one pixel per unit.
    ViewTransform() = default;
    ViewTransform(int deviceWidth, int deviceHeight);

    int GetDeviceWidth() const { return m_deviceWidth; }
    int GetDeviceHeight() const { return m_deviceHeight; }
    // Resizes the device keeping the world centre and the scale (a window being resized). Sizes below one
    // pixel count as one.
    void SetDeviceSize(int width, int height);

    const Point2D& GetWorldCenter() const { return m_center; }
    double GetScale() const { return m_scale; }
    // Places `center` at the middle of the device at `scale` pixels per unit (scales that are not positive
    // and finite are ignored, keeping the current one).
    void SetView(const Point2D& center, double scale);

    // Fits the world box into the device with `marginPixels` left free on every side, keeping the aspect
    // ratio (one scale for both axes) and centring the box. A box without width or height fits along the
    // other axis; a box that is a single point keeps the current scale and is centred. A margin that would
    // leave less than one pixel is reduced so that one pixel remains.
    void FitWorldRect(const Rect2D& world, double marginPixels);
    // Multiplies the scale by `factor` (> 1 zooms in) keeping the world point under the device point fixed.
    void ZoomAt(double factor, const Point2D& devicePoint);
    // Moves the picture by (dx, dy) device pixels (positive dx to the right, positive dy downwards).
    void Pan(double dx, double dy);

    Point2D WorldToDevice(const Point2D& world) const;
    Point2D DeviceToWorld(const Point2D& device) const;
    // Lengths: device pixels to world units and back.
    double DToW(double pixels) const { return pixels / m_scale; }
    double WToD(double length) const { return length * m_scale; }
    // The device box of a world box, as a Rect2D in device coordinates: left < right and bottom < top
    // numerically, so `bottom` holds the smaller device y (the upper edge on screen).
    Rect2D RectWToD(const Rect2D& world) const;
    // The world box of a device box (same convention for the device box).
    Rect2D RectDToW(const Rect2D& device) const;
    // (0, width, 0, height).
    Rect2D GetDeviceRect() const;
    // The world box the device shows.
    Rect2D GetVisibleWorldRect() const;

private:
    int m_deviceWidth = 1;
    int m_deviceHeight = 1;
    Point2D m_center{0.5, 0.5};
    double m_scale = 1.0;
};

}  // namespace Norvane
