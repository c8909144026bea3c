// The scheduler dialog at the DPI this process was started with: CTest runs these tests at 96 DPI with the
// others, and again at 120, 144 and 192 (tests/win32/at-dpi), on a virtual desktop large enough for the
// window. Fonts and bitmaps are measured here, in the process that made them.
#include "DialogHarness.h"

#include "ui/framework/Dpi.h"
#include "ui/framework/DpiScaling.h"
#include "ui/main/MainWindowDpi.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

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

// The controls of each font, with its height at 96 DPI; 0 for the template's 8-point font.
struct FontGroup
{
    int height;
    std::vector<int> ids;
};

const FontGroup FontGroups[] = {
    {20, {IDC_TITLE_TITLE, IDC_TITLE_MEROVIA}},
    {16,
     {IDC_TITLE_TIME2, IDC_HOUR, IDC_MINUTE, IDC_TITLE_ACTIVE, IDC_TITLE_LIST, IDC_TITLE_PROGNAME,
      IDC_TITLE_LIST2, IDC_TITLE_DAY, IDC_TITLE_TIME, IDC_TITLE_REPEAT, IDC_TITLE_INFO1, IDC_TITLE_INFO2,
      IDC_TITLE_INFO3, IDC_TITLE_INFO4}},
    {16,
     {IDOK,           IDC_BUTTON_ACTIVE, IDC_BUTTON_LIST, IDC_DAY1,          IDC_DAY2,      IDC_DAY3,
      IDC_DAY4,       IDC_DAY5,          IDC_DAY6,        IDC_DAY7,          IDC_ALL_DAYS,  IDC_BUTTON_ADD,
      IDC_GROUP_MAIN, IDC_GROUP_LIST,    IDC_GROUP_PROG,  IDC_REPEAT_YES,    IDC_REPEAT_NO, IDC_CONFIRM_YES,
      IDC_CONFIRM_NO, IDC_BUTTON_QUIT,   IDC_BUTTON_WMP,  IDC_BUTTON_MEROVIA}},
    {13, {IDC_TITLE_CONFIRM}},
    {12,
     {IDC_TEXT_LIST, IDC_TEXT_REPEAT, IDC_TEXT_LIST3, IDC_TEXT_INFO1, IDC_TEXT_INFO2, IDC_TEXT_INFO3,
      IDC_TEXT_INFO4, IDC_TEXT_INFO1B, IDC_TEXT_INFO5}},
    {0, {IDC_MEDIA_LIST, IDC_PROGRAM_LIST, IDC_BUTTON_REMOVE, IDC_PROGRAM_NAME}},
};

int FontHeightAt(int height96, unsigned dpi)
{
    return height96 ? MulDiv(height96, static_cast<int>(dpi), 96) : -MulDiv(8, static_cast<int>(dpi), 72);
}

LOGFONTA FontOf(HWND control)
{
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

RECT PlaceIn(HWND dialog, HWND control)
{
    RECT rect = {};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

PixelSize BannerBitmapSize(HWND dialog)
{
    BITMAP bitmap = {};
    GetObjectA(
        reinterpret_cast<HBITMAP>(SendDlgItemMessageA(dialog, IDC_BANNER, STM_GETIMAGE, IMAGE_BITMAP, 0)),
        sizeof bitmap, &bitmap);
    return {bitmap.bmWidth, bitmap.bmHeight};
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
    TEXTMETRICA metrics = {};
    const HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    if (lstrcmpiA(kind, "Static") == 0)
        return (style & SS_TYPEMASK) == SS_LEFT && client.bottom < 2 * metrics.tmHeight
                   ? CaptionKind::OneLine
                   : CaptionKind::Wrapped;
    if (lstrcmpiA(kind, "Button") != 0)
        return CaptionKind::None;
    const LONG type = style & BS_TYPEMASK;
    return type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON ? CaptionKind::OneLine : CaptionKind::Framed;
}

// Whether the control, given more room on its right, draws there: its caption is cut at its edge now (a
// label's last word wrapped out of sight comes back onto its line). What the control itself draws, so
// whatever room its box and margins take at this DPI.
bool DrawsBeyondItsEdge(HWND control)
{
    RECT client = {};
    GetClientRect(control, &client);
    const int width = client.right + 400;
    const int height = client.bottom;
    SetWindowPos(control, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const HDC dc = CreateCompatibleDC(nullptr);
    const UniqueBitmap picture{CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0)};
    const HGDIOBJ old = SelectObject(dc, picture.Get());
    SendMessageA(control, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    GdiFlush();
    SetWindowPos(control, nullptr, 0, 0, client.right, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    bool drawn = false;
    const auto* pixels = static_cast<const DWORD*>(bits);
    for (int y = 0; y < height && !drawn; ++y)
        for (int x = client.right; x < width - 1 && !drawn; ++x)
            drawn = pixels[y * width + x] != pixels[y * width + width - 1];
    SelectObject(dc, old);
    DeleteDC(dc);
    return drawn;
}

// A framed caption's single line against its width less the frame's edges, and a wrapped one's lines, in
// `font` within `width`.
struct CaptionFit
{
    bool fitsOneLine;
    int lines;
};

CaptionFit Fit(HWND control, HFONT font, int width, unsigned dpi)
{
    char text[512] = {};
    GetWindowTextA(control, text, sizeof text);
    const bool wrapped = KindOf(control) == CaptionKind::Wrapped;
    const HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    RECT line = {0, 0, width - (wrapped ? 0 : ScaleForDpi(16, dpi)), 0};
    DrawTextA(dc, text, -1, &line, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    RECT lines = {0, 0, width, 0};
    DrawTextA(dc, text, -1, &lines, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {line.right <= width - (wrapped ? 0 : ScaleForDpi(16, dpi)),
            static_cast<int>(lines.bottom / metrics.tmHeight)};
}

class Scaled : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetSettings();
        ASSERT_TRUE(harness.Create());
        dialog = harness.dialog.hWnd;
        dpi = WindowDpi(dialog);
        // The main window around the dialog, as the application sizes it.
        SIZE size = {};
        ASSERT_TRUE(OnMainWindowGetDpiScaledSize(harness.main.Get(), harness.dialog, dpi,
                                                 reinterpret_cast<LPARAM>(&size)));
        SetWindowPos(harness.main.Get(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    }

    // Fonts, places and banner as a start at `expected` DPI gives them; `at` names the case.
    void ExpectLaidOutFor(unsigned expected, const char* at)
    {
        SCOPED_TRACE(at);
        const DialogScaling& scaling = harness.dialog.Scaling();
        EXPECT_EQ(scaling.Dpi(), expected);
        for (const FontGroup& group : FontGroups)
            for (int id : group.ids)
                EXPECT_EQ(FontOf(GetDlgItem(dialog, id)).lfHeight, FontHeightAt(group.height, expected))
                    << id;

        const PixelSize client = scaling.DialogSizeAt(expected);
        RECT rect = {};
        GetClientRect(dialog, &rect);
        EXPECT_EQ(rect.right, client.cx);
        EXPECT_EQ(rect.bottom, client.cy);
        GetClientRect(harness.main.Get(), &rect);
        EXPECT_EQ(rect.right, client.cx) << "the window's client area is the dialog";
        EXPECT_EQ(rect.bottom, client.cy);

        for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT))
        {
            const int id = GetDlgCtrlID(control);
            const PixelRect want = scaling.ControlRectAt(id, expected);
            const RECT place = PlaceIn(dialog, control);
            EXPECT_EQ(place.left, want.left) << id;
            EXPECT_EQ(place.top, want.top) << id;
            EXPECT_EQ(place.bottom - place.top,
                      id == IDC_BANNER ? BannerBitmapSize(dialog).cy : want.bottom - want.top)
                << id;
            char kind[32] = {};
            GetClassNameA(control, kind, sizeof kind);
            if (lstrcmpiA(kind, UPDOWN_CLASSA) == 0) // one made by the dialog manager may round its own width
                EXPECT_LE(std::abs(place.right - want.right), 1) << id;
            else if (id != IDC_BANNER &&
                     place.right != want.right) // widened where its caption outgrew the DPI
                EXPECT_TRUE(expected != 96 && KindOf(control) == CaptionKind::OneLine &&
                            place.right > want.right)
                    << id;
        }

        // The banner fills its strip, in proportion: exactly the 47 x 474 picture at 96 DPI.
        const PixelRect strip = scaling.ControlRectAt(IDC_BANNER, expected);
        const PixelSize banner = BannerBitmapSize(dialog);
        const RECT shown = PlaceIn(dialog, GetDlgItem(dialog, IDC_BANNER));
        EXPECT_EQ(banner.cy, std::min(MulDiv(474, static_cast<int>(expected), 96), strip.bottom - strip.top));
        EXPECT_EQ(banner.cx, MulDiv(47, banner.cy, 474));
        EXPECT_EQ(shown.right - shown.left, banner.cx);
        EXPECT_EQ(shown.bottom - shown.top, banner.cy);
        EXPECT_LE(shown.bottom, client.cy);
        if (expected == 96)
            EXPECT_EQ(banner.cy, 474);
    }

    DialogHarness harness;
    HWND dialog = nullptr;
    unsigned dpi = 96;
};

} // namespace

// At 96 DPI as the dialog manager made it (the ground of every other DPI); at another, that layout scaled.
TEST_F(Scaled, TheDialogIsLaidOutForTheDpiOfItsScreen)
{
    EXPECT_EQ(dpi, SystemDpi());
    ExpectLaidOutFor(dpi, "as made");
}

// No caption is cut: one-line captions show whole (at 96 DPI as at any other), framed ones fit wherever they
// fit at 96 DPI, and wrapped ones take no more lines than at 96 DPI.
TEST_F(Scaled, NoCaptionIsClippedThatFitsAt96Dpi)
{
    const DialogScaling& scaling = harness.dialog.Scaling();
    for (const FontGroup& group : FontGroups)
        for (int id : group.ids)
        {
            const HWND control = GetDlgItem(dialog, id);
            if (KindOf(control) == CaptionKind::None)
                continue;
            if (KindOf(control) == CaptionKind::OneLine)
            {
                EXPECT_FALSE(DrawsBeyondItsEdge(control)) << id;
                continue;
            }
            const RECT place = PlaceIn(dialog, control);
            const CaptionFit now =
                Fit(control, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)),
                    place.right - place.left, dpi);
            LOGFONTA spec = FontOf(control);
            spec.lfHeight = FontHeightAt(group.height, 96);
            const UniqueFont font96{CreateFontIndirectA(&spec)};
            const PixelRect place96 = scaling.ControlRectAt(id, 96);
            const CaptionFit at96 = Fit(control, font96.Get(), place96.right - place96.left, 96);
            EXPECT_TRUE(now.fitsOneLine || !at96.fitsOneLine) << id;
            if (KindOf(control) == CaptionKind::Wrapped)
                EXPECT_LE(now.lines, at96.lines) << id;
        }
}

// A move to a screen of another scaling (or a change of the scaling): the dialog as a start at the new DPI
// makes it, the window where Windows suggests; and back again, as it was.
TEST_F(Scaled, ADpiChangeLaysTheDialogOutAsAStartAtTheNewDpi)
{
    // 125 % fits the default 1024 x 768 desktop of the run at 96 DPI.
    const unsigned other = dpi == 120 ? 144 : 120;
    RECT suggested = {40, 30, 40 + 900, 30 + 700};
    OnMainWindowDpiChanged(harness.main.Get(), harness.dialog, MAKEWPARAM(other, other),
                           reinterpret_cast<LPARAM>(&suggested));
    ExpectLaidOutFor(other, "after the change");
    RECT window = {};
    GetWindowRect(harness.main.Get(), &window);
    EXPECT_EQ(window.left, suggested.left);
    EXPECT_EQ(window.top, suggested.top);
    EXPECT_EQ(harness.Text(IDC_TITLE_TITLE), "Sylvane Programmateur") << "the captions stay";

    OnMainWindowDpiChanged(harness.main.Get(), harness.dialog, MAKEWPARAM(dpi, dpi),
                           reinterpret_cast<LPARAM>(&suggested));
    ExpectLaidOutFor(dpi, "back");
}

TEST_F(Scaled, TheWindowIsKeptWithinTheWorkArea)
{
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT window = {};
    GetWindowRect(harness.main.Get(), &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    // Centred as the application centres it: a window that fits stays there.
    const int x = GetSystemMetrics(SM_CXFULLSCREEN) / 2 - width / 2;
    const int y = GetSystemMetrics(SM_CYFULLSCREEN) / 2 - height / 2;
    SetWindowPos(harness.main.Get(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    KeepInWorkArea(harness.main.Get());
    GetWindowRect(harness.main.Get(), &window);
    EXPECT_GE(window.left, work.left);
    EXPECT_GE(window.top, work.top);
    EXPECT_LE(window.right, work.right);
    EXPECT_LE(window.bottom, work.bottom);
    if (x >= work.left && y >= work.top && x + width <= work.right && y + height <= work.bottom)
    {
        EXPECT_EQ(window.left, x);
        EXPECT_EQ(window.top, y);
    }

    // Larger than the work area (a high scaling on a small screen): its caption at the top-left corner.
    SetWindowPos(harness.main.Get(), nullptr, work.left - 30, work.top - 20, work.right - work.left + 60,
                 work.bottom - work.top + 40, SWP_NOZORDER);
    KeepInWorkArea(harness.main.Get());
    GetWindowRect(harness.main.Get(), &window);
    EXPECT_EQ(window.left, work.left);
    EXPECT_EQ(window.top, work.top);
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
    EXPECT_EQ(colour.bmHeight, size);

    const HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(IDI_APP_SMALL), RT_GROUP_ICON);
    ASSERT_NE(found, nullptr);
    auto* directory = static_cast<BYTE*>(LockResource(LoadResource(nullptr, found)));
    const int image = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
    const HRSRC bits = FindResourceA(nullptr, MAKEINTRESOURCEA(image), RT_ICON);
    ASSERT_NE(bits, nullptr);
    const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(nullptr, bits)));
    EXPECT_EQ(header->biWidth, size) << "the group has an image of this size";
}
