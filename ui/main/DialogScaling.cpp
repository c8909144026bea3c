#include "ui/main/DialogScaling.h"

#include "ui/framework/Dpi.h"

#include <commctrl.h>

#include <utility>

namespace
{

const wchar_t Alphabet[] = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

RECT PlaceIn(HWND dialog, HWND control)
{
    RECT rect = {};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The width a control needs for its caption, when that caption is one line beginning at its left: a
// left-aligned label of one line (a taller one wraps its words on purpose) needs its text's width; a check
// box or radio button, the width the control itself asks for. 0 for any other control.
int CaptionNeeds(HWND control)
{
    char kind[16] = {};
    GetClassNameA(control, kind, sizeof kind);
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    if (lstrcmpiA(kind, "Button") == 0)
    {
        const LONG type = style & BS_TYPEMASK;
        SIZE ideal = {};
        const bool oneLine = type == BS_AUTOCHECKBOX || type == BS_CHECKBOX || type == BS_AUTORADIOBUTTON ||
                             type == BS_RADIOBUTTON;
        return oneLine && SendMessageW(control, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal))
                   ? ideal.cx
                   : 0;
    }
    if (lstrcmpiA(kind, "Static") != 0 || (style & SS_TYPEMASK) != SS_LEFT)
        return 0;
    wchar_t text[512] = {};
    const int length = GetWindowTextW(control, text, 512);
    const HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32W(dc, text, length, &size);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    RECT client = {};
    GetClientRect(control, &client);
    return client.bottom < 2 * metrics.tmHeight ? size.cx : 0;
}

// Whether `wanted` overlaps a control that `control` does not overlap already (the group box around it does).
bool RoomIsFree(HWND dialog, HWND control, const RECT& wanted)
{
    const RECT now = PlaceIn(dialog, control);
    for (HWND other = GetWindow(dialog, GW_CHILD); other; other = GetWindow(other, GW_HWNDNEXT))
    {
        RECT place = PlaceIn(dialog, other), common;
        if (other != control && IntersectRect(&common, &wanted, &place) &&
            !IntersectRect(&common, &now, &place))
            return false;
    }
    RECT client = {};
    GetClientRect(dialog, &client);
    return wanted.right <= client.right;
}

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
    if (!read)
        return false;

    // The base units as the dialog manager measures them at 96 DPI (a font of a given pixel height measures
    // the same whatever the DPI).
    const UniqueFont font96{MakeDialogFont(DefaultDpi)};
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(screen, font96.Get());
    SIZE alphabet = {};
    GetTextExtentPoint32W(screen, Alphabet, 52, &alphabet);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    units = BaseUnitsOf(alphabet.cx, metrics.tmHeight);

    TakeOverDialogScaling(dialog);
    if (dpi != DefaultDpi)
        Place();
    return true;
}

HFONT DialogScaling::MakeDialogFont(unsigned dpiWanted) const
{
    LOGFONTW spec = dialogFontSpec;
    spec.lfHeight = PointsToFontHeight(layout.pointSize, dpiWanted);
    spec.lfWidth = 0;
    return CreateFontIndirectW(&spec);
}

PixelSize DialogScaling::DialogSizeAt(unsigned dpiWanted) const
{
    const PixelRect rect = ScaleRectForDpi(DialogUnitsToPixels(0, 0, layout.cx, layout.cy, units), dpiWanted);
    return {rect.right, rect.bottom};
}

PixelRect DialogScaling::ControlRectAt(int id, unsigned dpiWanted) const
{
    for (const DialogLayout::Control& control : layout.controls)
        if (control.id == static_cast<std::uint32_t>(id))
            return ScaleRectForDpi(DialogUnitsToPixels(control.x, control.y, control.cx, control.cy, units),
                                   dpiWanted);
    return {};
}

void DialogScaling::ShowBanner(int bannerControl, int bitmap)
{
    bannerId = bannerControl;
    bitmapId = bitmap;
    // At 96 DPI the bitmap the control loaded from the template is the one to show: nothing to load again.
    if (dpi == DefaultDpi && !banner)
        return;
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
    UniqueFont font{MakeDialogFont(newDpi)};
    for (const DialogLayout::Control& control : layout.controls)
        SendDlgItemMessageA(dialog, static_cast<int>(control.id), WM_SETFONT,
                            reinterpret_cast<WPARAM>(font.Get()), FALSE);
    // No control uses the font of the DPI before any more.
    dialogFont = std::move(font);
    dpi = newDpi;
    Place();
    if (bannerId)
        ShowBanner(bannerId, bitmapId);
    InvalidateRect(dialog, nullptr, TRUE);
}

void DialogScaling::Place()
{
    for (const DialogLayout::Control& control : layout.controls)
    {
        const HWND item = GetDlgItem(dialog, static_cast<int>(control.id));
        const PixelRect place = ControlRectAt(static_cast<int>(control.id), dpi);
        // The banner takes the size of its bitmap.
        const UINT keepSize = static_cast<int>(control.id) == bannerId ? SWP_NOSIZE : 0;
        if (item)
            SetWindowPos(item, nullptr, place.left, place.top, place.right - place.left,
                         place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE | keepSize);
    }
    const PixelSize client = DialogSizeAt(dpi);
    RECT frame = {0, 0, client.cx, client.cy};
    AdjustWindowRectForDpi(frame, static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE)),
                           static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_EXSTYLE)), dpi);
    SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void DialogScaling::KeepCaptionsRoom()
{
    if (!read || dpi == DefaultDpi)
        return;
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT))
    {
        RECT place = PlaceIn(dialog, control);
        const int needs = CaptionNeeds(control);
        if (needs <= place.right - place.left)
            continue;
        place.right = place.left + needs;
        if (RoomIsFree(dialog, control, place))
            SetWindowPos(control, nullptr, 0, 0, place.right - place.left, place.bottom - place.top,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
