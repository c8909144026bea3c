#pragma once

#include <cstdint>

// The pixel arithmetic of display scaling: what becomes, at another DPI, of a length given for 100 % (96
// DPI), of a dialog unit and of a window that must stay on its screen. Portable; the Win32 layer applies it.

// The DPI at which every length of the program is given.
constexpr unsigned DefaultDpi = 96;

// value * numerator / denominator, rounded to the nearest integer with halves away from zero: Windows' MulDiv
// (a zero denominator gives -1, as there).
int MulDivRound(int value, int numerator, int denominator);

// A length given for 96 DPI, at `dpi`, rounded as Windows scales a length.
inline int ScaleForDpi(int value, unsigned dpi)
{
    return MulDivRound(value, static_cast<int>(dpi), static_cast<int>(DefaultDpi));
}

// The height a dialog gives its font of `points` at `dpi`: negative, the characters' height in pixels.
inline int PointsToFontHeight(int points, unsigned dpi)
{
    return -MulDivRound(points, static_cast<int>(dpi), 72);
}

// A rectangle in pixels, laid out as the system's RECT.
struct PixelRect
{
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

struct PixelSize
{
    std::int32_t cx;
    std::int32_t cy;
};

// The horizontal and vertical base units of a dialog's font: what four and eight dialog units are in pixels.
struct DialogBaseUnits
{
    int x;
    int y;
};

// The base units of a font whose 52 letters "a".."z" "A".."Z" are `alphabetWidth` pixels wide and whose cell
// is `cellHeight` pixels high, rounded as the dialog manager rounds them.
DialogBaseUnits BaseUnitsOf(int alphabetWidth, int cellHeight);

// A rectangle of a dialog template in pixels: its position and its size converted each on its own, as the
// dialog manager places a control.
PixelRect DialogUnitsToPixels(int x, int y, int cx, int cy, DialogBaseUnits units);

// A rectangle laid out for 96 DPI at `dpi`: each edge scaled on its own, so that neighbours stay neighbours.
PixelRect ScaleRectForDpi(const PixelRect& rect, unsigned dpi);

// A picture drawn for 96 DPI at `dpi`, in proportion, but no taller than `maxHeight` (the pixels its control
// has at that DPI, which a proportional picture may overrun by rounding).
PixelSize ScaleImageForDpi(PixelSize image, unsigned dpi, int maxHeight);

// Where a window goes to lie within a work area: where it is when it does already, else moved in by the
// least; one larger than the work area starts at its top or left edge, so that its caption stays in reach.
PixelRect KeepWithin(const PixelRect& window, const PixelRect& workArea);
