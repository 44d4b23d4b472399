#include "geomFeature/host/viewkit/PngImage.h"

#include <stdexcept>
#include <string>

#include <cairo.h>

#include "geomFeature/host/viewkit/ViewPortError.h"

namespace Norvane {

namespace {

constexpr unsigned int kOpaque = 255;
constexpr unsigned long kColorMask = 0xFFFFFFul;

// Undoes the premultiplication of one 8-bit channel by alpha, rounding to nearest.
unsigned int Unpremultiply(unsigned int channel, unsigned int alpha) {
    if (alpha == 0) {
        return 0;
    }
    return (channel * kOpaque + alpha / 2) / alpha;
}

}  // namespace

PngImage PngImage::Load(const std::string& path) {
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    const cairo_status_t status = cairo_surface_status(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        throw ViewPortError("cannot read PNG file '" + path + "': " + cairo_status_to_string(status));
    }
    cairo_surface_flush(surface);

    PngImage image;
    image.m_width = cairo_image_surface_get_width(surface);
    image.m_height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const cairo_format_t format = cairo_image_surface_get_format(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    image.m_argb.reserve(static_cast<std::size_t>(image.m_width) * static_cast<std::size_t>(image.m_height));
    for (int y = 0; y < image.m_height; ++y) {
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < image.m_width; ++x) {
            // RGB24 leaves the alpha byte undefined: such an image is opaque.
            image.m_argb.push_back(format == CAIRO_FORMAT_RGB24 ? (row[x] | 0xFF000000u) : row[x]);
        }
    }
    cairo_surface_destroy(surface);
    return image;
}

std::uint32_t PngImage::At(int x, int y) const {
    if (x < 0 || x >= m_width || y < 0 || y >= m_height) {
        throw std::out_of_range("pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                                ") lies outside the image");
    }
    return m_argb.at(static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
                     static_cast<std::size_t>(x));
}

unsigned int PngImage::GetAlpha(int x, int y) const {
    return At(x, y) >> 24;
}

unsigned long PngImage::GetPixel(int x, int y) const {
    const std::uint32_t argb = At(x, y);
    const unsigned int alpha = argb >> 24;
    const unsigned int red = Unpremultiply((argb >> 16) & 0xFFu, alpha);
    const unsigned int green = Unpremultiply((argb >> 8) & 0xFFu, alpha);
    const unsigned int blue = Unpremultiply(argb & 0xFFu, alpha);
    return (red | (green << 8) | (blue << 16)) & kColorMask;
}

std::size_t PngImage::CountPixelsOtherThan(unsigned long color) const {
    std::size_t count = 0;
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            if (GetAlpha(x, y) != kOpaque || GetPixel(x, y) != (color & kColorMask)) {
                ++count;
            }
        }
    }
    return count;
}

}  // namespace Norvane
