#pragma once

namespace Norvane {

// Colours and display settings of the drawing view. Colours are RGB values in the viewport's format:
// red in the low byte, then green, then blue (0x00BBGGRR), so 255 is pure red.
//
// A default-constructed DisplayParam suits a white background (dark outlines); ForBackground picks colours
// that stand out on any background. The fields are plain values: change them freely on the user-interface
// thread, or publish a whole new set through NVOptionInfo::SetDisplayParam.
class DisplayParam {
public:
    static constexpr unsigned long MakeColor(unsigned int red, unsigned int green, unsigned int blue) {
        return (red & 0xFFu) | ((green & 0xFFu) << 8) | ((blue & 0xFFu) << 16);
    }
    static constexpr unsigned int GetRed(unsigned long color) { return color & 0xFFu; }
    static constexpr unsigned int GetGreen(unsigned long color) { return (color >> 8) & 0xFFu; }
    static constexpr unsigned int GetBlue(unsigned long color) { return (color >> 16) & 0xFFu; }

    // Defaults for drawing on `background`: black outlines on a light background, white ones on a dark one;
    // the highlight colours contrast with the background and with each other.
    static DisplayParam ForBackground(unsigned long background);
    // True when `color` is light enough that dark outlines read best on it.
    static bool IsLight(unsigned long color);

    // Ordinary patterns and loops, and the previews of drawing tools.
    unsigned long PatColor = MakeColor(0, 0, 0);
    // The pattern or loop under the cursor (orange).
    unsigned long ActivePatColor = MakeColor(230, 120, 0);
    // Selected patterns and loops (blue).
    unsigned long SelPatColor = MakeColor(0, 90, 230);
    // Control (snap) points of patterns (green).
    unsigned long CtrlPtColor = MakeColor(0, 150, 60);
    // The view's background, which the colours above must stand out on.
    unsigned long BackgroundColor = MakeColor(255, 255, 255);
};

}  // namespace Norvane
