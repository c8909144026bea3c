#include "ui/framework/DpiScaling.h"

#include <algorithm>

int MulDivRound(int value, int numerator, int denominator)
{
    if (denominator == 0)
        return -1;
    long long product = static_cast<long long>(value) * numerator;
    if (denominator < 0)
    {
        product = -product;
        denominator = -denominator;
    }
    const long long half = denominator / 2;
    const long long result = (product >= 0 ? product + half : product - half) / denominator;
    return result > 2147483647LL || result < -2147483647LL ? -1 : static_cast<int>(result);
}

DialogBaseUnits BaseUnitsOf(int alphabetWidth, int cellHeight)
{
    // The average of 52 letters, rounded to the nearest pixel.
    return {(alphabetWidth / 26 + 1) / 2, cellHeight};
}

PixelRect DialogUnitsToPixels(int x, int y, int cx, int cy, DialogBaseUnits units)
{
    const int left = MulDivRound(x, units.x, 4);
    const int top = MulDivRound(y, units.y, 8);
    return {left, top, left + MulDivRound(cx, units.x, 4), top + MulDivRound(cy, units.y, 8)};
}

PixelRect ScaleRectForDpi(const PixelRect& rect, unsigned dpi)
{
    return {ScaleForDpi(rect.left, dpi), ScaleForDpi(rect.top, dpi), ScaleForDpi(rect.right, dpi),
            ScaleForDpi(rect.bottom, dpi)};
}

PixelSize ScaleImageForDpi(PixelSize image, unsigned dpi, int maxHeight)
{
    const int height = std::min(ScaleForDpi(image.cy, dpi), maxHeight);
    return {MulDivRound(image.cx, height, image.cy), height};
}

PixelRect KeepWithin(const PixelRect& window, const PixelRect& workArea)
{
    const std::int32_t width = window.right - window.left;
    const std::int32_t height = window.bottom - window.top;
    const std::int32_t left = std::max(workArea.left, std::min(window.left, workArea.right - width));
    const std::int32_t top = std::max(workArea.top, std::min(window.top, workArea.bottom - height));
    return {left, top, left + width, top + height};
}
