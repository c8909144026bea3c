// The scheduler dialog at the DPI this process was started with: CTest runs these tests at 96 DPI with the
// others, and again at 120, 144 and 192 (tests/win32/at-dpi), on a virtual desktop large enough for the
// window. Fonts and bitmaps are measured here, in the process that made them.
#include "DialogHarness.h"

#include "ui/framework/Dpi.h"
#include "ui/framework/DpiScaling.h"
#include "ui/main/MainWindowDpi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <utility>

namespace
{

// Before any window exists: a run at a given scaling names the desktop whose size Wine reads from
// HKCU\Software\Wine\Explorer\Desktops.
[[maybe_unused]] const bool onTestDesktop = [] {
    const char* name = std::getenv("CHRONEL_TEST_DESKTOP");
    if (!name || !*name)
        return false;
    HDESK desktop = CreateDesktopA(name, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    return desktop && SetThreadDesktop(desktop);
}();

// The program's fonts, with their heights at 96 DPI.
const std::pair<const UniqueFont*, int> ProgramFonts[] = {
    {&titleFont, 20}, {&boldFont, 16}, {&normalFont, 16}, {&confirmFont, 13}, {&smallFont, 12}};

HFONT FontOf(HWND control)
{
    return reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
}

// The 96-DPI height of the control's font, by its handle: one of the program's fonts, else the template's 8
// points (0); -1 for a control without a font.
int Height96Of(HWND control)
{
    for (const auto& font : ProgramFonts)
        if (font.first->Get() == FontOf(control))
            return font.second;
    return FontOf(control) ? 0 : -1;
}

// The height of a font of `height96` at `dpi`, by Windows' own MulDiv.
int FontHeightAt(int height96, unsigned dpi)
{
    return height96 ? MulDiv(height96, static_cast<int>(dpi), 96) : -MulDiv(8, static_cast<int>(dpi), 72);
}

LOGFONTA SpecOf(HWND control)
{
    LOGFONTA font = {};
    GetObjectA(FontOf(control), sizeof font, &font);
    return font;
}

RECT PlaceIn(HWND dialog, HWND control)
{
    RECT rect = {};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The control's caption in `font` wrapped within `room`: its lines, whether its longest word fits there (one
// that does not widens the rectangle), and the height of a line.
struct CaptionFit
{
    int lines;
    bool fits;
    int lineHeight;
};

CaptionFit Fit(HWND control, HFONT font, int room)
{
    char text[512] = {};
    GetWindowTextA(control, text, sizeof text);
    const HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    RECT rect = {0, 0, room, 0};
    DrawTextA(dc, text, -1, &rect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {static_cast<int>(rect.bottom / metrics.tmHeight), rect.right <= room, metrics.tmHeight};
}

// How a control holds its caption: a left-aligned one-line caption (a label, a check box, a radio button)
// drawn beside its box or from its left edge; a push button or group box, whose room is its width less its
// edges; a taller label, which wraps its words.
enum class CaptionKind
{
    None,
    OneLine,
    Framed,
    Wrapped,
};

CaptionKind KindOf(HWND control)
{
    char kind[32] = {};
    GetClassNameA(control, kind, sizeof kind);
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    RECT client = {};
    GetClientRect(control, &client);
    if (lstrcmpiA(kind, "Static") == 0 && (style & SS_TYPEMASK) <= SS_RIGHT) // a text, not a picture
        return (style & SS_TYPEMASK) == SS_LEFT &&
                       client.bottom < 2 * Fit(control, FontOf(control), 0).lineHeight
                   ? CaptionKind::OneLine
                   : CaptionKind::Wrapped;
    if (lstrcmpiA(kind, "Button") != 0)
        return CaptionKind::None;
    const LONG type = style & BS_TYPEMASK;
    return type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON ? CaptionKind::OneLine : CaptionKind::Framed;
}

// Whether the control, given 400 more pixels on its right, draws there: its caption is cut at its edge now (a
// label's last word wrapped out of sight comes back onto its line). What the control itself draws, so
// whatever room its box and margins take at this DPI.
bool DrawsBeyondItsEdge(HWND control)
{
    RECT client = {};
    GetClientRect(control, &client);
    const int width = client.right + 400, height = client.bottom;
    SetWindowPos(control, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    BITMAPINFO info = {{sizeof info.bmiHeader, width, -height, 1, 32}}; // 32 bits a pixel, top row first
    void* bits = nullptr;
    const HDC dc = CreateCompatibleDC(nullptr);
    const UniqueBitmap picture{CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0)};
    const HGDIOBJ old = SelectObject(dc, picture.Get());
    SendMessageA(control, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    GdiFlush();
    SelectObject(dc, old);
    DeleteDC(dc);
    SetWindowPos(control, nullptr, 0, 0, client.right, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    const auto* pixels = static_cast<const DWORD*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = client.right; x < width - 1; ++x)
            if (pixels[y * width + x] != pixels[y * width + width - 1])
                return true;
    return false;
}

class Scaled : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetSettings();
        ASSERT_TRUE(harness.Create());
        dialog = harness.dialog.hWnd;
        window = harness.main.Get();
        dpi = WindowDpi(dialog);
        for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT))
            madeWith[GetDlgCtrlID(control)] = Height96Of(control);
        // The main window around the dialog, as the application sizes it.
        SIZE size = {};
        ASSERT_TRUE(
            OnMainWindowGetDpiScaledSize(window, harness.dialog, dpi, reinterpret_cast<LPARAM>(&size)));
        SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    }

    // Fonts, places and banner as a start at `expected` DPI gives them; `at` names the case.
    void ExpectLaidOutFor(unsigned expected, const char* at)
    {
        SCOPED_TRACE(at);
        const DialogScaling& scaling = harness.dialog.Scaling();
        EXPECT_EQ(scaling.Dpi(), expected);
        // The dialog at its size, and the window's client area the dialog.
        const PixelSize client = scaling.DialogSizeAt(expected);
        for (HWND shown : {dialog, window})
        {
            RECT rect = {};
            GetClientRect(shown, &rect);
            EXPECT_EQ(rect.right, client.cx);
            EXPECT_EQ(rect.bottom, client.cy);
        }

        // The banner's bitmap fills its strip, in proportion: exactly the 47 x 474 picture at 96 DPI.
        BITMAP banner = {};
        GetObjectA(
            reinterpret_cast<HBITMAP>(SendDlgItemMessageA(dialog, IDC_BANNER, STM_GETIMAGE, IMAGE_BITMAP, 0)),
            sizeof banner, &banner);
        const PixelRect strip = scaling.ControlRectAt(IDC_BANNER, expected);
        EXPECT_EQ(banner.bmHeight, expected == 96 ? 474
                                                  : std::min(MulDiv(474, static_cast<int>(expected), 96),
                                                             strip.bottom - strip.top));
        EXPECT_EQ(banner.bmWidth, MulDiv(47, banner.bmHeight, 474));

        for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT))
        {
            // The font it was made with, at the height of this DPI.
            const int id = GetDlgCtrlID(control);
            EXPECT_EQ(Height96Of(control), madeWith[id]) << id;
            if (madeWith[id] >= 0)
                EXPECT_EQ(SpecOf(control).lfHeight, FontHeightAt(madeWith[id], expected)) << id;

            // Its place; the banner the size of its bitmap.
            PixelRect want = scaling.ControlRectAt(id, expected);
            if (id == IDC_BANNER)
                want = {want.left, want.top, want.left + banner.bmWidth, want.top + banner.bmHeight};
            const RECT place = PlaceIn(dialog, control);
            EXPECT_EQ(place.left, want.left) << id;
            EXPECT_EQ(place.top, want.top) << id;
            EXPECT_EQ(place.bottom - place.top, want.bottom - want.top) << id;
            char kind[32] = {};
            GetClassNameA(control, kind, sizeof kind);
            if (lstrcmpiA(kind, UPDOWN_CLASSA) == 0) // one made by the dialog manager may round its own width
                EXPECT_LE(std::abs(place.right - want.right), 1) << id;
            else if (place.right != want.right) // widened where its caption outgrew the DPI
                EXPECT_TRUE(expected != 96 && KindOf(control) == CaptionKind::OneLine &&
                            place.right > want.right)
                    << id;
        }
    }

    DialogHarness harness;
    HWND dialog = nullptr;
    HWND window = nullptr;
    unsigned dpi = 96;
    // Each control's font as the dialog was made: its height at 96 DPI (Height96Of).
    std::map<int, int> madeWith;
};

} // namespace

// At the start, at 96 DPI as the dialog manager made it (the ground of every other DPI), at another that
// layout scaled. A move to a screen of another scaling (or a change of the scaling): the dialog as a start at
// the new DPI makes it, the window where Windows suggests; and back again, as it was.
TEST_F(Scaled, TheDialogIsLaidOutForItsDpiAtTheStartAndAfterAChange)
{
    EXPECT_EQ(dpi, SystemDpi());
    ExpectLaidOutFor(dpi, "as made");

    // 125 % fits the default 1024 x 768 desktop of the run at 96 DPI.
    const unsigned other = dpi == 120 ? 144 : 120;
    RECT suggested = {40, 30, 40 + 900, 30 + 700};
    OnMainWindowDpiChanged(window, harness.dialog, MAKEWPARAM(other, other),
                           reinterpret_cast<LPARAM>(&suggested));
    ExpectLaidOutFor(other, "after the change");
    RECT placed = {};
    GetWindowRect(window, &placed);
    EXPECT_EQ(placed.left, suggested.left);
    EXPECT_EQ(placed.top, suggested.top);
    EXPECT_EQ(harness.Text(IDC_TITLE_TITLE), "Sylvane Programmateur") << "the captions stay";

    OnMainWindowDpiChanged(window, harness.dialog, MAKEWPARAM(dpi, dpi),
                           reinterpret_cast<LPARAM>(&suggested));
    ExpectLaidOutFor(dpi, "back");
}

// No caption is cut: one-line captions show whole (at 96 DPI as at any other); a framed or wrapped one takes
// no more lines than at 96 DPI, and no word of it that fits at 96 DPI overruns its room.
TEST_F(Scaled, NoCaptionIsClippedThatFitsAt96Dpi)
{
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT))
    {
        const int id = GetDlgCtrlID(control);
        const CaptionKind kind = KindOf(control);
        if (kind == CaptionKind::OneLine)
            EXPECT_FALSE(DrawsBeyondItsEdge(control)) << id;
        if (kind == CaptionKind::None || kind == CaptionKind::OneLine)
            continue;
        // A frame's edges take 8 pixels a side at 96 DPI.
        const int edges = kind == CaptionKind::Framed ? 16 : 0;
        const RECT place = PlaceIn(dialog, control);
        const CaptionFit now =
            Fit(control, FontOf(control), place.right - place.left - ScaleForDpi(edges, dpi));
        LOGFONTA spec = SpecOf(control);
        spec.lfHeight = FontHeightAt(madeWith[id], 96);
        const UniqueFont font96{CreateFontIndirectA(&spec)};
        const PixelRect place96 = harness.dialog.Scaling().ControlRectAt(id, 96);
        const CaptionFit at96 = Fit(control, font96.Get(), place96.right - place96.left - edges);
        EXPECT_LE(now.lines, at96.lines) << id;
        EXPECT_TRUE(now.fits || !at96.fits) << id;
    }
}

// The window at its size for this DPI, half over the work area's bottom-right corner: moved in by the least,
// and whole within the work area (one larger than it would go to its top-left corner instead).
TEST_F(Scaled, TheWindowIsKeptWithinTheWorkArea)
{
    RECT work = {}, now = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(window, &now);
    const int width = now.right - now.left, height = now.bottom - now.top;
    SetWindowPos(window, nullptr, work.right - width / 2, work.bottom - height / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    KeepInWorkArea(window);
    GetWindowRect(window, &now);
    EXPECT_EQ(now.left, work.right - width);
    EXPECT_EQ(now.top, work.bottom - height);
}

// The notification area gets the group's own image at the small-icon size of this DPI, not a stretched one.
TEST(ScaledIcon, TheTrayIconIsTheGroupsImageAtTheSmallIconSize)
{
    const int size = GetSystemMetrics(SM_CXSMICON);
    EXPECT_EQ(size, MulDiv(16, static_cast<int>(SystemDpi()), 96));
    const HICON icon = SmallIcon(GetModuleHandleA(nullptr), IDI_APP_SMALL);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(SmallIcon(GetModuleHandleA(nullptr), IDI_APP_SMALL), icon) << "loaded once";
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour = {};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_EQ(colour.bmWidth, size);

    const HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(IDI_APP_SMALL), RT_GROUP_ICON);
    ASSERT_NE(found, nullptr);
    auto* directory = static_cast<BYTE*>(LockResource(LoadResource(nullptr, found)));
    const int image = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
    const HRSRC bits = FindResourceA(nullptr, MAKEINTRESOURCEA(image), RT_ICON);
    ASSERT_NE(bits, nullptr);
    const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(nullptr, bits)));
    EXPECT_EQ(header->biWidth, size) << "the group has an image of this size";
}
