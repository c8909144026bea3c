#include "ui/tray/TrayAnimation.h"

#include "ui/framework/DpiScaling.h"
#include "ui/tray/NotificationArea.h"

#include <shellapi.h>

#if !defined(_WIN64)
static_assert(sizeof(APPBARDATA) == 36, "unexpected app-bar record");
#endif
static_assert(sizeof(ANIMATIONINFO) == 8, "unexpected animation settings record");
static_assert(ABE_LEFT == AppBarEdgeLeft && ABE_TOP == AppBarEdgeTop && ABE_RIGHT == AppBarEdgeRight &&
                  ABE_BOTTOM == AppBarEdgeBottom,
              "app-bar edges");

HWND parkingWindow = nullptr;

namespace
{

ScreenRect ToScreenRect(const RECT& rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

RECT ToRect(const ScreenRect& rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

bool MinimizeAnimationEnabled()
{
    ANIMATIONINFO animation = {};
    animation.cbSize = sizeof animation;
    SystemParametersInfoA(SPI_GETANIMATION, sizeof animation, &animation, 0);
    return animation.iMinAnimate != 0;
}

// Where the animation ends or starts. The work-area box stands in for the one answer that names no area.
RECT AnimationTrayRect()
{
    RECT workArea = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    RECT area = ToRect(CornerOfWorkArea(ToScreenRect(workArea)));
    LocateNotificationArea(&area);
    return area;
}

// A window parked on a monitor that has gone since (unplugged, another resolution) would open out of reach:
// it is centred on the primary screen's work area instead.
void KeepOnAScreen(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    if (MonitorFromRect(&rect, MONITOR_DEFAULTTONULL))
        return;
    RECT workArea = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const int x = workArea.left + ((workArea.right - workArea.left) - width) / 2;
    const int y = workArea.top + ((workArea.bottom - workArea.top) - height) / 2;
    // One larger than the work area (a high scaling on a small screen) keeps its caption in reach.
    const PixelRect placed = KeepWithin({x, y, x + width, y + height},
                                        {workArea.left, workArea.top, workArea.right, workArea.bottom});
    SetWindowPos(window, nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetVisibleStyle(HWND window, bool visible)
{
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    SetWindowLongA(window, GWL_STYLE, visible ? (style | WS_VISIBLE) : (style & ~WS_VISIBLE));
}

} // namespace

BOOL CALLBACK NotificationAreaProbe(HWND child, LPARAM area)
{
    char className[256] = {};
    GetClassNameA(child, className, 255);
    RECT childRect = {};
    GetWindowRect(child, &childRect);
    RECT* rect = reinterpret_cast<RECT*>(area);
    ScreenRect narrowed = ToScreenRect(*rect);
    const bool goOn = ProbeTaskbarChild(className, ToScreenRect(childRect), narrowed);
    *rect = ToRect(narrowed);
    return goOn ? TRUE : FALSE;
}

void LocateNotificationArea(RECT* area)
{
    const HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    if (taskbar)
    {
        GetWindowRect(taskbar, area);
        EnumChildWindows(taskbar, NotificationAreaProbe, reinterpret_cast<LPARAM>(area));
        return;
    }

    APPBARDATA appBar = {};
    appBar.cbSize = sizeof appBar;
    if (SHAppBarMessage(ABM_GETTASKBARPOS, &appBar))
    {
        ScreenRect placed = ToScreenRect(*area);
        if (PlaceAreaOnAppBar(appBar.uEdge, ToScreenRect(appBar.rc), placed))
            *area = ToRect(placed);
        return;
    }

    RECT workArea = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    *area = ToRect(CornerOfWorkArea(ToScreenRect(workArea)));
}

int ParkWindow(HWND window)
{
    if (!IsWindow(parkingWindow))
    {
        parkingWindow = CreateWindowExA(0, "Static", "", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
        if (!parkingWindow)
            return 0;
    }
    SetParent(window, parkingWindow);
    return 1;
}

void AnimateIntoTray(HWND window)
{
    if (MinimizeAnimationEnabled())
    {
        RECT from = {};
        GetWindowRect(window, &from);
        const RECT to = AnimationTrayRect();
        DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
    }
    ParkWindow(window);
    // Only the style bit changes: nothing is minimised or redrawn, and as the child of a window that is
    // never shown it has already left the screen and the taskbar.
    SetVisibleStyle(window, false);
}

void AnimateOutOfTray(HWND window)
{
    SetParent(window, nullptr);
    KeepOnAScreen(window);
    if (MinimizeAnimationEnabled())
    {
        RECT to = {};
        GetWindowRect(window, &to);
        const RECT from = AnimationTrayRect();
        DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
    }
    SetVisibleStyle(window, true);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    // Activation passes through the parking window so that the window's own activation is always a change,
    // even when the system still counts it as the active window from before it was parked.
    if (IsWindow(parkingWindow))
        SetActiveWindow(parkingWindow);
    SetActiveWindow(window);
    SetForegroundWindow(window);
}
