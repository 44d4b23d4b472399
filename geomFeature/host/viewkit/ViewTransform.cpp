#include "geomFeature/host/viewkit/ViewTransform.h"

#include <algorithm>
#include <cmath>

namespace Norvane {

namespace {

// World extents at or below this are treated as absent when fitting a box (a vertical line has no width).
constexpr double kFitZeroExtent = 1e-12;

// The least free space, in pixels, that fitting leaves for the box whatever the margin.
constexpr double kFitMinPixels = 1.0;

bool IsUsableScale(double scale) {
    return std::isfinite(scale) && scale > 0.0;
}

}  // namespace

ViewTransform::ViewTransform(int deviceWidth, int deviceHeight) {
    SetDeviceSize(deviceWidth, deviceHeight);
}

void ViewTransform::SetDeviceSize(int width, int height) {
    m_deviceWidth = std::max(width, 1);
    m_deviceHeight = std::max(height, 1);
}

void ViewTransform::SetView(const Point2D& center, double scale) {
    m_center = center;
    if (IsUsableScale(scale)) {
        m_scale = scale;
    }
}

void ViewTransform::FitWorldRect(const Rect2D& world, double marginPixels) {
    const Rect2D box = Rect2D::FromPoints(Point2D(world.left, world.bottom), Point2D(world.right, world.top));
    auto freeSpan = [marginPixels](int device) {
        return std::max(device - 2.0 * std::max(marginPixels, 0.0), kFitMinPixels);
    };
    const double spanX = freeSpan(m_deviceWidth);
    const double spanY = freeSpan(m_deviceHeight);

    double scale = m_scale;
    const bool hasWidth = box.Width() > kFitZeroExtent;
    const bool hasHeight = box.Height() > kFitZeroExtent;
    if (hasWidth && hasHeight) {
        scale = std::min(spanX / box.Width(), spanY / box.Height());
    } else if (hasWidth) {
        scale = spanX / box.Width();
    } else if (hasHeight) {
        scale = spanY / box.Height();
    }
    SetView(box.GetCenterPt(), scale);
}

void ViewTransform::ZoomAt(double factor, const Point2D& devicePoint) {
    const double scale = m_scale * factor;
    if (!IsUsableScale(scale)) {
        return;
    }
    const Point2D fixed = DeviceToWorld(devicePoint);
    m_scale = scale;
    // Solve WorldToDevice(fixed) == devicePoint for the new centre.
    m_center.x = fixed.x - (devicePoint.x - 0.5 * m_deviceWidth) / m_scale;
    m_center.y = fixed.y + (devicePoint.y - 0.5 * m_deviceHeight) / m_scale;
}

void ViewTransform::Pan(double dx, double dy) {
    // The picture moves right when the world centre moves left; device y points down, world y up.
    m_center.x -= dx / m_scale;
    m_center.y += dy / m_scale;
}

Point2D ViewTransform::WorldToDevice(const Point2D& world) const {
    return Point2D(0.5 * m_deviceWidth + (world.x - m_center.x) * m_scale,
                   0.5 * m_deviceHeight - (world.y - m_center.y) * m_scale);
}

Point2D ViewTransform::DeviceToWorld(const Point2D& device) const {
    return Point2D(m_center.x + (device.x - 0.5 * m_deviceWidth) / m_scale,
                   m_center.y - (device.y - 0.5 * m_deviceHeight) / m_scale);
}

Rect2D ViewTransform::RectWToD(const Rect2D& world) const {
    return Rect2D::FromPoints(WorldToDevice(Point2D(world.left, world.bottom)),
                              WorldToDevice(Point2D(world.right, world.top)));
}

Rect2D ViewTransform::RectDToW(const Rect2D& device) const {
    return Rect2D::FromPoints(DeviceToWorld(Point2D(device.left, device.bottom)),
                              DeviceToWorld(Point2D(device.right, device.top)));
}

Rect2D ViewTransform::GetDeviceRect() const {
    return Rect2D(0.0, m_deviceWidth, 0.0, m_deviceHeight);
}

Rect2D ViewTransform::GetVisibleWorldRect() const {
    return RectDToW(GetDeviceRect());
}

}  // namespace Norvane
