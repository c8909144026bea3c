#include "ui/main/DialogScaling.h"

#include "ui/framework/Dpi.h"

#include <utility>

namespace
{

const wchar_t Alphabet[] = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

PixelSize BitmapSize(HBITMAP bitmap)
{
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

// A 24-bit copy of `source` at `size`, stretched once with the system's averaging mode.
HBITMAP StretchBitmap(HBITMAP source, PixelSize size)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP target = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!target)
        return nullptr;
    const PixelSize from = BitmapSize(source);
    const HDC screen = GetDC(nullptr);
    const HDC sourceDc = CreateCompatibleDC(screen);
    const HDC targetDc = CreateCompatibleDC(screen);
    const HGDIOBJ oldSource = SelectObject(sourceDc, source);
    const HGDIOBJ oldTarget = SelectObject(targetDc, target);
    SetStretchBltMode(targetDc, HALFTONE);
    SetBrushOrgEx(targetDc, 0, 0, nullptr);
    StretchBlt(targetDc, 0, 0, size.cx, size.cy, sourceDc, 0, 0, from.cx, from.cy, SRCCOPY);
    SelectObject(sourceDc, oldSource);
    SelectObject(targetDc, oldTarget);
    DeleteDC(sourceDc);
    DeleteDC(targetDc);
    ReleaseDC(nullptr, screen);
    return target;
}

} // namespace

bool DialogScaling::Attach(HWND dialogWindow, HINSTANCE module, int templateId)
{
    dialog = dialogWindow;
    instance = module;
    dpi = WindowDpi(dialog);
    const HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(templateId), RT_DIALOG);
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const auto* bytes = static_cast<const unsigned char*>(loaded ? LockResource(loaded) : nullptr);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    read = bytes && ReadDialogLayout(bytes, SizeofResource(module, found), layout) && layout.pointSize > 0 &&
           font && GetObjectW(font, sizeof dialogFontSpec, &dialogFontSpec) != 0;
    if (read)
        TakeOverDialogScaling(dialog);
    return read;
}

HFONT DialogScaling::MakeDialogFont(unsigned dpiWanted) const
{
    LOGFONTW spec = dialogFontSpec;
    spec.lfHeight = PointsToFontHeight(layout.pointSize, dpiWanted);
    spec.lfWidth = 0;
    return CreateFontIndirectW(&spec);
}

DialogBaseUnits DialogScaling::BaseUnitsAt(unsigned dpiWanted) const
{
    const UniqueFont font{MakeDialogFont(dpiWanted)};
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(screen, font.Get());
    SIZE alphabet = {};
    GetTextExtentPoint32W(screen, Alphabet, 52, &alphabet);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return BaseUnitsOf(alphabet.cx, metrics.tmHeight);
}

PixelSize DialogScaling::DialogSizeAt(unsigned dpiWanted) const
{
    const PixelRect rect = DialogUnitsToPixels(0, 0, layout.cx, layout.cy, BaseUnitsAt(dpiWanted));
    return {rect.right, rect.bottom};
}

PixelRect DialogScaling::ControlRectAt(int id, unsigned dpiWanted) const
{
    for (const DialogLayout::Control& control : layout.controls)
        if (control.id == static_cast<std::uint32_t>(id))
            return DialogUnitsToPixels(control.x, control.y, control.cx, control.cy, BaseUnitsAt(dpiWanted));
    return {};
}

void DialogScaling::ShowBanner(int bannerControl, int bitmap)
{
    bannerId = bannerControl;
    bitmapId = bitmap;
    UniqueBitmap picture{static_cast<HBITMAP>(
        LoadImageA(instance, MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))};
    if (!dialog || !picture)
        return;
    const PixelSize own = BitmapSize(picture.Get());
    const PixelRect strip = ControlRectAt(bannerId, dpi);
    const PixelSize size = ScaleImageForDpi(own, dpi, strip.bottom - strip.top);
    // At the size it was drawn for, the bitmap the control loaded itself stays.
    if (size.cx == own.cx && size.cy == own.cy && !banner)
        return;
    UniqueBitmap shown{size.cx == own.cx && size.cy == own.cy ? picture.Release()
                                                              : StretchBitmap(picture.Get(), size)};
    if (!shown)
        return;
    const auto previous = reinterpret_cast<HBITMAP>(SendDlgItemMessageA(
        dialog, bannerId, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(shown.Get())));
    // The control hands back the bitmap it showed and forgets it: the one it loaded from the template is
    // deleted here, one of ours as it is replaced.
    if (previous && previous != banner.Get())
        DeleteObject(previous);
    banner = std::move(shown);
}

void DialogScaling::Apply(unsigned newDpi)
{
    if (!read || newDpi == dpi)
        return;
    const DialogBaseUnits units = BaseUnitsAt(newDpi);
    UniqueFont font{MakeDialogFont(newDpi)};
    for (const DialogLayout::Control& control : layout.controls)
    {
        const HWND item = GetDlgItem(dialog, static_cast<int>(control.id));
        if (!item)
            continue;
        SendMessageA(item, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
        const PixelRect place = DialogUnitsToPixels(control.x, control.y, control.cx, control.cy, units);
        // The banner takes the size of its bitmap.
        const UINT keepSize = static_cast<int>(control.id) == bannerId ? SWP_NOSIZE : 0;
        SetWindowPos(item, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | keepSize);
    }
    // No control uses the font of the DPI before any more.
    dialogFont = std::move(font);

    const PixelRect client = DialogUnitsToPixels(0, 0, layout.cx, layout.cy, units);
    RECT frame = {0, 0, client.right, client.bottom};
    AdjustWindowRectForDpi(frame, static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE)),
                           static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_EXSTYLE)), newDpi);
    SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    dpi = newDpi;
    if (bannerId)
        ShowBanner(bannerId, bitmapId);
    InvalidateRect(dialog, nullptr, TRUE);
}
