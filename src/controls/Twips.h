#pragma once

#include <QString>
#include <initializer_list>
#include <optional>
#include <vector>

class QWidget;

// The window was designed in twips: 1440 to the inch, 15 to the pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;
constexpr int TwipsToPixels(int twips) {
    return twips / kTwipsPerPixel;
}
constexpr int PixelsToTwips(int pixels) {
    return pixels * kTwipsPerPixel;
}

// A control's place inside the control that holds it, in twips.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
void PlaceTwips(QWidget* control, const TwipsRect& at);
TwipsRect GeometryTwips(const QWidget* control);
// The outer size of the window that holds a control (title bar and borders included).
int WindowWidthTwips(const QWidget* control);
int WindowHeightTwips(const QWidget* control);

// A size that the resize rules set on a named control, in twips: its top, width and height,
// each only where a rule sets it.
struct TwipsSetting {
    QString control; // the control's name, fraFunc(1) for an element of a control array
    std::optional<int> top;
    std::optional<int> width;
    std::optional<int> height;
};
// Applies, in their order, the settings that name one of the controls; the others are for
// other controls.
void ApplyTwipsSettings(std::initializer_list<QWidget*> controls,
                        const std::vector<TwipsSetting>& settings);
