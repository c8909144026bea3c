#include "Desktop.h"

#include "Machine.h"

#include <commctrl.h>

#include <cstdint>
#include <cstdlib>

namespace e2e
{

namespace
{

// Ids of Wine's message box and open-file dialog templates.
constexpr int MessageTextId = 0xFFFF;
constexpr int MessageIconId = 0x0440;
constexpr int FileNameId = 0x047C;

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, const char* what)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, StepTimeout, &result))
        throw BenchError(std::string("no answer to ") + what + " from a window of class \"" +
                         ClassOf(window) + "\"");
    return static_cast<LRESULT>(result);
}

// The scenarios' texts are code page 1252, whatever the system's: they are read and typed with that code page
// named. What the screen shows outside it reads as "?", never as a look-alike.
std::string Narrow(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int size = WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, text.data(),
                                         static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), narrow.data(),
                        size, nullptr, nullptr);
    return narrow;
}

std::wstring Widen(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    const int size = MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

bool IsMessageBox(HWND window)
{
    return GetDlgItem(window, MessageTextId) && !GetDlgItem(window, FileNameId);
}

// A block of screen or rendered pixels, 32 bits each, top row first.
struct Pixels
{
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> values;
};

// Pixels that `paint` draws into a 32-bit top-down bitmap of the given size.
template <typename Paint> Pixels PaintedPixels(int width, int height, Paint paint)
{
    Pixels pixels;
    pixels.width = width;
    pixels.height = height;
    pixels.values.resize(static_cast<std::size_t>(width) * height);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC memory = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    paint(memory);
    GdiFlush();
    for (std::size_t i = 0; i < pixels.values.size(); ++i)
        pixels.values[i] = static_cast<const std::uint32_t*>(bits)[i] & 0xFFFFFF;
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return pixels;
}

Pixels Capture(int left, int top, int width, int height)
{
    return PaintedPixels(width, height, [&](HDC memory) {
        HDC screen = GetDC(nullptr);
        BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    });
}

Pixels Render(HICON icon, int width, int height, COLORREF background)
{
    return PaintedPixels(width, height, [&](HDC memory) {
        HBRUSH brush = CreateSolidBrush(background);
        RECT all = {0, 0, width, height};
        FillRect(memory, &all, brush);
        DeleteObject(brush);
        DrawIconEx(memory, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    });
}

int ChannelDistance(std::uint32_t a, std::uint32_t b)
{
    int distance = 0;
    for (int shift = 0; shift < 24; shift += 8)
        distance += std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    return distance;
}

// Compares the icon on the screen with the system's own icons, drawn here at the same size, on the pixels
// that each system icon covers completely: the nearest one is the icon the box shows.
BoxIcon ReadIcon(HWND box)
{
    HWND control = GetDlgItem(box, MessageIconId);
    if (!control || !IsWindowVisible(control))
        return BoxIcon::None;
    RECT client;
    GetClientRect(control, &client);
    POINT origin = {0, 0};
    ClientToScreen(control, &origin);
    if (client.right <= 0 || client.bottom <= 0)
        return BoxIcon::None;
    const Pixels shown = Capture(origin.x, origin.y, client.right, client.bottom);

    struct Candidate
    {
        BoxIcon icon;
        LPCSTR resource;
    };
    const Candidate candidates[] = {
        {BoxIcon::Error, IDI_HAND},
        {BoxIcon::Warning, IDI_EXCLAMATION},
        {BoxIcon::Question, IDI_QUESTION},
        {BoxIcon::Information, IDI_ASTERISK},
    };
    BoxIcon best = BoxIcon::Unreadable;
    double bestDistance = 1e9;
    for (const Candidate& candidate : candidates)
    {
        HICON icon = LoadIconA(nullptr, candidate.resource);
        const Pixels onBlack = Render(icon, shown.width, shown.height, RGB(0, 0, 0));
        const Pixels onWhite = Render(icon, shown.width, shown.height, RGB(255, 255, 255));
        long long total = 0;
        long long covered = 0;
        for (std::size_t i = 0; i < shown.values.size(); ++i)
        {
            if (onBlack.values[i] != onWhite.values[i])
                continue;
            total += ChannelDistance(onBlack.values[i], shown.values[i]);
            ++covered;
        }
        if (covered < 64)
            continue;
        const double distance = static_cast<double>(total) / static_cast<double>(covered);
        if (distance < bestDistance)
        {
            bestDistance = distance;
            best = candidate.icon;
        }
    }
    return bestDistance <= 40.0 ? best : BoxIcon::Unreadable;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM found)
{
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

// Every top-level window of the desktop, in z-order.
std::vector<HWND> AllTopWindows()
{
    std::vector<HWND> found;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

POINT TrayIconPoint(HWND taskbar)
{
    RECT client;
    GetClientRect(taskbar, &client);
    return POINT{client.right - 10, client.bottom / 2};
}

HWND TaskbarTooltip(HWND taskbar)
{
    for (HWND tooltip : WindowsOfClass(TOOLTIPS_CLASSA))
        if (GetWindow(tooltip, GW_OWNER) == taskbar)
            return tooltip;
    return nullptr;
}

} // namespace

std::vector<HWND> ProcessWindows(DWORD process)
{
    std::vector<HWND> found;
    for (HWND window : AllTopWindows())
        if (ProcessOf(window) == process)
            found.push_back(window);
    return found;
}

std::vector<HWND> WindowsOfClass(const char* className)
{
    std::vector<HWND> found;
    for (HWND window : AllTopWindows())
        if (ClassOf(window) == className)
            found.push_back(window);
    return found;
}

std::string DescribeWindows(DWORD process)
{
    std::string text;
    for (HWND window : ProcessWindows(process))
        text += "[" + ClassOf(window) + (IsWindowVisible(window) ? " visible" : " hidden") + "] ";
    return text;
}

DWORD ProcessOf(HWND window)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

std::string ClassOf(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::vector<HWND> TopWindows(DWORD process, const char* className)
{
    std::vector<HWND> found;
    for (HWND window : ProcessWindows(process))
        if (IsWindowVisible(window) && ClassOf(window) == className)
            found.push_back(window);
    return found;
}

std::wstring WideTextOf(HWND window)
{
    const LRESULT length = Send(window, WM_GETTEXTLENGTH, 0, 0, "WM_GETTEXTLENGTH");
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), "WM_GETTEXT");
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

std::string TextOf(HWND window)
{
    return Narrow(WideTextOf(window));
}

std::string PathTextOf(HWND window)
{
    return Utf8Path(WideTextOf(window));
}

void SetWideTextOf(HWND window, const std::wstring& wide, const std::string& what)
{
    if (!Send(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()), "WM_SETTEXT"))
        throw BenchError("a window of class \"" + ClassOf(window) + "\" refused the text \"" + what + "\"");
}

void SetTextOf(HWND window, const std::string& text)
{
    SetWideTextOf(window, Widen(text), text);
}

void TypeInto(HWND window, const std::string& text)
{
    for (const wchar_t character : Widen(text))
        if (!PostMessageW(window, WM_CHAR, character, 1))
            throw BenchError("a window of class \"" + ClassOf(window) + "\" took no keys");
}

std::vector<std::string> ListItems(HWND list)
{
    std::vector<std::string> items;
    const LRESULT count = Send(list, LB_GETCOUNT, 0, 0, "LB_GETCOUNT");
    for (LRESULT i = 0; i < count; ++i)
    {
        const LRESULT length = Send(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0, "LB_GETTEXTLEN");
        std::wstring text(static_cast<std::size_t>(length < 0 ? 0 : length) + 1, L'\0');
        const LRESULT copied = Send(list, LB_GETTEXT, static_cast<WPARAM>(i),
                                    reinterpret_cast<LPARAM>(text.data()), "LB_GETTEXT");
        text.resize(static_cast<std::size_t>(copied < 0 ? 0 : copied));
        items.push_back(Narrow(text));
    }
    return items;
}

std::vector<LONG_PTR> ListItemData(HWND list)
{
    std::vector<LONG_PTR> data;
    const LRESULT count = Send(list, LB_GETCOUNT, 0, 0, "LB_GETCOUNT");
    for (LRESULT i = 0; i < count; ++i)
        data.push_back(Send(list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0, "LB_GETITEMDATA"));
    return data;
}

int ListSelection(HWND list)
{
    return static_cast<int>(Send(list, LB_GETCURSEL, 0, 0, "LB_GETCURSEL"));
}

const char* IconName(BoxIcon icon)
{
    switch (icon)
    {
    case BoxIcon::None: return "no icon";
    case BoxIcon::Error: return "error icon";
    case BoxIcon::Warning: return "warning icon";
    case BoxIcon::Question: return "question icon";
    case BoxIcon::Information: return "information icon";
    case BoxIcon::Unreadable: break;
    }
    return "unreadable icon";
}

MessageBoxView WaitForMessageBox(DWORD process, const std::string& context, DWORD timeout)
{
    MessageBoxView view;
    const bool shown = WaitFor(
        [&] {
            for (HWND window : TopWindows(process, "#32770"))
                if (IsMessageBox(window))
                {
                    view.window = window;
                    return true;
                }
            return false;
        },
        timeout);
    if (!shown)
        throw BenchError("no message box within " + std::to_string(timeout / 1000) + " s " + context);
    view.caption = TextOf(view.window);
    view.text = TextOf(GetDlgItem(view.window, MessageTextId));
    // The box may still be painting: read its icon until it is recognised.
    WaitFor(
        [&] {
            view.icon = ReadIcon(view.window);
            return view.icon != BoxIcon::Unreadable;
        },
        3000);
    return view;
}

bool NoMessageBoxWithin(DWORD process, DWORD period)
{
    return !WaitFor(
        [&] {
            for (HWND window : TopWindows(process, "#32770"))
                if (IsMessageBox(window))
                    return true;
            return false;
        },
        period);
}

void Answer(const MessageBoxView& box, int button)
{
    PostMessageA(box.window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    if (!WaitFor([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); }))
        throw BenchError("the message box \"" + box.text + "\" did not close when answered");
}

HWND WaitForFileDialog(DWORD process)
{
    HWND dialog = nullptr;
    const bool shown = WaitFor(
        [&] {
            for (HWND window : TopWindows(process, "#32770"))
                if (GetDlgItem(window, FileNameId))
                {
                    dialog = window;
                    return true;
                }
            return false;
        },
        2 * StepTimeout);
    if (!shown)
        throw BenchError("the open-file dialog did not open");
    return dialog;
}

void ChooseFile(HWND dialog, const std::string& path)
{
    SetWideTextOf(GetDlgItem(dialog, FileNameId), WidePath(path), path);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    if (!WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }))
        throw BenchError("the open-file dialog did not accept " + path);
}

void CancelFileDialog(HWND dialog)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    if (!WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }))
        throw BenchError("the open-file dialog did not close when cancelled");
}

HWND WaitForPopupMenu(DWORD process)
{
    HWND menu = nullptr;
    if (!WaitFor([&] {
            const std::vector<HWND> menus = TopWindows(process, "#32768");
            menu = menus.empty() ? nullptr : menus.front();
            return menu != nullptr;
        }))
        throw BenchError("no popup menu opened; the program's windows: " + DescribeWindows(process));
    return menu;
}

void ChooseMenuItem(HWND menu, int arrowKey, int presses)
{
    for (int i = 0; i < presses; ++i)
        PostMessageA(menu, WM_KEYDOWN, static_cast<WPARAM>(arrowKey), 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    if (!WaitFor([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }))
        throw BenchError("the popup menu did not close after a choice");
}

HWND Taskbar()
{
    // Wine starts the desktop, and its taskbar, for the first program of the prefix that needs them: the
    // driver itself may be that program.
    HWND taskbar = nullptr;
    if (!WaitFor(
            [&] {
                const std::vector<HWND> found = WindowsOfClass("Shell_TrayWnd");
                taskbar = found.empty() ? nullptr : found.front();
                return taskbar != nullptr;
            },
            3 * StepTimeout))
        throw BenchError("the virtual desktop has no taskbar (\"Shell_TrayWnd\")");
    return taskbar;
}

bool TrayIconShown()
{
    HWND taskbar = Taskbar();
    if (!IsWindowVisible(taskbar))
        return false;
    RECT area;
    GetWindowRect(taskbar, &area);
    const int height = area.bottom - area.top - 4;
    const Pixels background = Capture(area.right - 160, area.top + 2, 1, 1);
    const Pixels icons = Capture(area.right - 60, area.top + 2, 60, height);
    int drawn = 0;
    for (std::uint32_t value : icons.values)
        if (ChannelDistance(value, background.values[0]) > 30)
            ++drawn;
    return drawn > 30;
}

std::string TrayIconTooltip()
{
    HWND taskbar = Taskbar();
    POINT point = TrayIconPoint(taskbar);
    ClientToScreen(taskbar, &point);
    SetCursorPos(point.x - 4, point.y);
    Sleep(100);
    SetCursorPos(point.x, point.y);
    std::string tip;
    WaitFor(
        [&] {
            HWND tooltip = TaskbarTooltip(taskbar);
            if (tooltip && IsWindowVisible(tooltip))
                tip = TextOf(tooltip);
            return !tip.empty();
        },
        5000);
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 3);
    return tip;
}

void DoubleClickTrayIcon()
{
    HWND taskbar = Taskbar();
    const POINT point = TrayIconPoint(taskbar);
    // As a user's double-click arrives: down, up, double-click, up.
    const LPARAM at = MAKELPARAM(point.x, point.y);
    PostMessageA(taskbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(taskbar, WM_LBUTTONUP, 0, at);
    PostMessageA(taskbar, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageA(taskbar, WM_LBUTTONUP, 0, at);
}

void RightClickTrayIcon()
{
    HWND taskbar = Taskbar();
    const POINT point = TrayIconPoint(taskbar);
    PostMessageA(taskbar, WM_RBUTTONUP, 0, MAKELPARAM(point.x, point.y));
}

void ClearStaleTrayIcons()
{
    HWND taskbar = Taskbar();
    const bool cleared = WaitFor(
        [&] {
            if (!IsWindowVisible(taskbar) || !TrayIconShown())
                return true;
            RECT client;
            GetClientRect(taskbar, &client);
            for (int slot = 0; slot < 8; ++slot)
                PostMessageA(taskbar, WM_MOUSEMOVE, 0,
                             MAKELPARAM(client.right - 10 - 20 * slot, client.bottom / 2));
            Sleep(250);
            return false;
        },
        5000);
    if (!cleared)
        throw BenchError("the notification area still shows an icon after every scheduler has ended");
}

void SaveScreenshot(const std::string& name)
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const Pixels screen = Capture(0, 0, width, height);
    // A 24-bit bottom-up BMP: rows of 3-byte pixels padded to 4 bytes, last row first.
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
    std::string bytes(14 + 40 + stride * height, '\0');
    auto put16 = [&](std::size_t at, std::uint32_t value) {
        bytes[at] = static_cast<char>(value & 0xFF);
        bytes[at + 1] = static_cast<char>((value >> 8) & 0xFF);
    };
    auto put32 = [&](std::size_t at, std::uint32_t value) {
        put16(at, value & 0xFFFF);
        put16(at + 2, value >> 16);
    };
    put16(0, 0x4D42);
    put32(2, static_cast<std::uint32_t>(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    put16(26, 1);
    put16(28, 24);
    for (int y = 0; y < height; ++y)
    {
        const std::size_t row = 54 + stride * static_cast<std::size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x)
        {
            const std::uint32_t value = screen.values[static_cast<std::size_t>(y) * width + x];
            bytes[row + x * 3] = static_cast<char>(value & 0xFF);
            bytes[row + x * 3 + 1] = static_cast<char>((value >> 8) & 0xFF);
            bytes[row + x * 3 + 2] = static_cast<char>((value >> 16) & 0xFF);
        }
    }
    WriteBytes(Paths().screenshots + name + ".bmp", bytes);
}

} // namespace e2e
