// The main window's fixed layout, in twips (15 twips to the pixel at 96 dpi).
#pragma once

#include <array>
#include <string_view>

namespace qlok::layout {

inline constexpr int kTwipsPerInch = 1440;
// The screen the layout was drawn on.
inline constexpr int kLayoutDpi = 96;

struct Rect {
    int left;
    int top;
    int width;
    int height;
};

inline constexpr Rect kClientArea{4905, 2955, 4455, 3630};

// Controls in tab order.
inline constexpr Rect kCombo1{120, 840, 2895, 315};
inline constexpr Rect kList1{120, 1320, 4215, 2205};
inline constexpr Rect kCommand1{120, 120, 900, 495};
inline constexpr Rect kCommand2{1100, 120, 1000, 495};
inline constexpr Rect kCommand3{2200, 120, 1100, 495};
inline constexpr Rect kCountDown{3360, 240, 615, 285};
inline constexpr Rect kLabel1{4000, 290, 375, 285};

inline constexpr int kTimerInterval = 1000;

inline constexpr std::string_view kControlFont = "MS Sans Serif";
inline constexpr double kControlFontPoints = 8.25;
// The control font's height in pixels at dpi dots per inch (72 points to the inch), to the
// nearest pixel.
constexpr int ControlFontPixels(int dpi) {
    return static_cast<int>(kControlFontPoints * dpi / 72 + 0.5);
}
inline constexpr std::string_view kFormFont = "Arial";
// The control font's average character width in pixels (at 96 dpi). A list box expands tabs to
// a stop every 32 dialog units, 8 of these widths.
inline constexpr int kControlFontAverageWidth = 5;
inline constexpr int kListTabStop = 8 * kControlFontAverageWidth;

// A length in twips in pixels at dpi dots per inch, cut to whole pixels.
constexpr int ToPixels(int twips, int dpi = kLayoutDpi) {
    return static_cast<int>(static_cast<long long>(twips) * dpi / kTwipsPerInch);
}

}  // namespace qlok::layout
