#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Norvane {

// A PNG file read back into memory, for checking what a viewport rendered (tests, image comparisons).
// Pixels are addressed from the top-left corner; colours come back in the viewport format 0x00BBGGRR.
class PngImage {
public:
    // Throws ViewPortError naming the file when it is missing or not a readable PNG.
    static PngImage Load(const std::string& path);

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    // Colour of a pixel inside the image, without its alpha (un-premultiplied).
    unsigned long GetPixel(int x, int y) const;
    // 0 (transparent) to 255 (opaque).
    unsigned int GetAlpha(int x, int y) const;
    // Pixels whose colour differs from `color` or which are not opaque.
    std::size_t CountPixelsOtherThan(unsigned long color) const;

private:
    PngImage() = default;
    // The stored pixel; throws std::out_of_range outside the image.
    std::uint32_t At(int x, int y) const;

    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint32_t> m_argb;  // premultiplied, as the rasteriser stores it, row after row
};

}  // namespace Norvane
