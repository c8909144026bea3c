#include "ui/main/MainWindowDpi.h"

#include "ui/framework/Dpi.h"
#include "ui/framework/DpiScaling.h"
#include "ui/main/MainDialog.h"

void SizeAroundDialog(HWND window, HWND dialog)
{
    RECT dialogRect, windowRect, clientRect;
    GetWindowRect(dialog, &dialogRect);
    GetWindowRect(window, &windowRect);
    GetClientRect(window, &clientRect);
    const int width = (dialogRect.right - dialogRect.left) + (windowRect.right - windowRect.left) -
                      (clientRect.right - clientRect.left);
    const int height = (dialogRect.bottom - dialogRect.top) + (windowRect.bottom - windowRect.top) -
                       (clientRect.bottom - clientRect.top);
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT OnMainWindowDpiChanged(HWND window, CMain& dialog, WPARAM wParam, LPARAM lParam)
{
    const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
    dialog.ChangeDpi(HIWORD(wParam));
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (dialog.hWnd)
        SizeAroundDialog(window, dialog.hWnd);
    return 0;
}

LRESULT OnMainWindowGetDpiScaledSize(HWND window, const CMain& dialog, WPARAM wParam, LPARAM lParam)
{
    if (!dialog.Scaling().Attached())
        return FALSE;
    const unsigned dpi = static_cast<unsigned>(wParam);
    const PixelSize client = dialog.Scaling().DialogSizeAt(dpi);
    RECT frame = {0, 0, client.cx, client.cy};
    AdjustWindowRectForDpi(frame, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)),
                           static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)), dpi);
    *reinterpret_cast<SIZE*>(lParam) = {frame.right - frame.left, frame.bottom - frame.top};
    return TRUE;
}

void FollowWindowDpi(HWND window, CMain& dialog)
{
    const unsigned dpi = WindowDpi(window);
    if (!dialog.hWnd || dpi == dialog.Scaling().Dpi())
        return;
    dialog.ChangeDpi(dpi);
    SizeAroundDialog(window, dialog.hWnd);
    KeepInWorkArea(window);
}

void KeepInWorkArea(HWND window)
{
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    RECT rect = {};
    GetWindowRect(window, &rect);
    const PixelRect work = {monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right,
                            monitor.rcWork.bottom};
    const PixelRect kept = KeepWithin({rect.left, rect.top, rect.right, rect.bottom}, work);
    if (kept.left != rect.left || kept.top != rect.top)
        SetWindowPos(window, nullptr, kept.left, kept.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
