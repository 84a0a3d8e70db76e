#pragma once

// The window was designed in twips: 1440 to the inch, 15 to the pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;
constexpr int TwipsToPixels(int twips) {
    return twips / kTwipsPerPixel;
}
constexpr int PixelsToTwips(int pixels) {
    return pixels * kTwipsPerPixel;
}
