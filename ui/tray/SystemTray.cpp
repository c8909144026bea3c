#include "ui/tray/SystemTray.h"

#include "base/Controls_win.h"
#include "base/Handles_win.h"

#include <cstring>

#if !defined(_WIN64)
static_assert(sizeof(NOTIFYICONDATAW) == 952, "the icon record is the 952-byte form the shell expects");
static_assert(sizeof(WNDCLASSEXA) == 48, "unexpected window class record");
#endif

namespace
{

constexpr UINT IconFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
static_assert(IconFlags == 7, "message, icon and tip");

const char TrayIconClassName[] = "TrayIconClass";

// Systems before this major version have no notification area.
constexpr BYTE FirstShellWithTray = 4;

} // namespace

CSystemTray* CSystemTray::activeTray = nullptr;
UINT CSystemTray::taskbarCreatedMessage = 0;

CSystemTray::CSystemTray()
{
    std::memset(&iconData, 0, sizeof iconData);
    activeTray = this;
}

CSystemTray::~CSystemTray()
{
    addPending = FALSE;
    if (shellSupported && !iconRemoved)
        DeleteIcon();
    if (iconData.hWnd)
        KillTimer(iconData.hWnd, MenuDelayTimer);
    if (messageWindow)
        DestroyWindow(messageWindow);
    // The hidden window is gone; no later message may reach a destroyed object through the class pointer.
    if (activeTray == this)
        activeTray = nullptr;
}

BOOL CSystemTray::Install(HWND window, HICON icon, HINSTANCE moduleInstance, const char* tip)
{
    const BYTE majorVersion = LOBYTE(LOWORD(GetVersion()));
    shellSupported = majorVersion >= FirstShellWithTray;
    if (!shellSupported)
        return FALSE;

    instance = moduleInstance;
    RegisterTrayIconClass(instance);
    messageWindow = CreateWindowExA(0, TrayIconClassName, "", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);

    iconData.cbSize = sizeof iconData;
    iconData.hWnd = window ? window : messageWindow;
    iconData.uID = TRAY_ICON_ID;
    iconData.hIcon = icon;
    iconData.uFlags = IconFlags;
    iconData.uCallbackMessage = TRAY_CALLBACK_MESSAGE;
    CopyTextToField(tip, iconData.szTip, sizeof iconData.szTip / sizeof iconData.szTip[0]);

    iconHidden = FALSE;
    commandWindow = iconData.hWnd;
    addFlags = IconFlags;
    inTray = true;

    const BOOL added = notifyIcon(NIM_ADD, &iconData);
    iconRemoved = iconHidden = addPending = (added == FALSE);
    if (!added)
        RetryAddLater();
    return added;
}

bool CSystemTray::HideFromTray()
{
    addPending = FALSE;
    inTray = false;
    StopAddRetry();
    if (!shellSupported || iconRemoved)
        return true;
    DeleteIcon();
    return iconRemoved != FALSE;
}

bool CSystemTray::ShowInTray()
{
    inTray = true;
    if (!iconRemoved)
    {
        // The shell has no "move to the end" operation: a present icon is taken out and added anew.
        addPending = FALSE;
        if (!shellSupported)
            return true;
        DeleteIcon();
    }
    if (!shellSupported)
        return !iconRemoved;

    iconData.uFlags = IconFlags;
    if (!notifyIcon(NIM_ADD, &iconData))
    {
        addPending = TRUE;
        RetryAddLater();
        return !iconRemoved;
    }
    iconHidden = FALSE;
    iconRemoved = FALSE;
    return true;
}

LRESULT CSystemTray::OnShellRestart()
{
    // An icon taken away on purpose, while the window is open, stays away. In the tray, the icon comes back:
    // the new taskbar of an Explorer restart has lost it, and without it the user could no longer reach the
    // program. The same broadcast comes when the display scaling changes, while the icon is still there,
    // where a plain add would fail: whatever the shell holds is deleted first, so exactly one icon is left.
    if (!shellSupported || !inTray)
        return 0;
    iconData.uFlags = 0;
    notifyIcon(NIM_DELETE, &iconData);
    AddIcon();
    return 0;
}

void CSystemTray::OnAddRetry()
{
    if (!addPending || ++addRetries > AddRetryLimit)
    {
        StopAddRetry();
        return;
    }
    AddIcon();
}

bool CSystemTray::AddIcon()
{
    iconData.uFlags = addFlags;
    const BOOL added = notifyIcon(NIM_ADD, &iconData);
    iconHidden = iconRemoved = addPending = (added == FALSE);
    if (added)
        StopAddRetry();
    else
        RetryAddLater();
    return added != FALSE;
}

void CSystemTray::RetryAddLater()
{
    // Setting the timer again while it runs only restarts its interval; the tries made so far still count.
    if (messageWindow)
        SetTimer(messageWindow, AddRetryTimer, AddRetryInterval, nullptr);
}

void CSystemTray::StopAddRetry()
{
    addRetries = 0;
    if (messageWindow)
        KillTimer(messageWindow, AddRetryTimer);
}

LRESULT CSystemTray::OnIconMessage(WPARAM iconId, LPARAM mouseEvent)
{
    if (iconId != static_cast<WPARAM>(iconData.uID))
        return 0;
    const HWND target = commandWindow ? commandWindow : iconData.hWnd;
    if (!target)
        return 0;

    switch (LOWORD(mouseEvent))
    {
    case WM_LBUTTONUP: {
        // The button-up that ends a double-click: the double-click has done its work.
        if (doubleClickTime != 0 && GetTickCount() - doubleClickTime <= GetDoubleClickTime())
        {
            doubleClickTime = 0;
            return 1;
        }
        HMENU submenu = nullptr;
        UniqueMenu menu(LoadTrayMenu(&submenu));
        if (!menu)
            return 0;
        // The menu waits until a second click can no longer come: shown at once, its own loop would take
        // that click, and the double-click would never open the scheduler.
        GetCursorPos(&menuPoint);
        SetTimer(iconData.hWnd, MenuDelayTimer, GetDoubleClickTime(), MenuDelayElapsed);
        return 1;
    }
    case WM_RBUTTONUP:
        KillTimer(iconData.hWnd, MenuDelayTimer);
        GetCursorPos(&menuPoint);
        return ShowMenu(target);
    case WM_LBUTTONDBLCLK: {
        KillTimer(iconData.hWnd, MenuDelayTimer);
        SetForegroundWindow(iconData.hWnd);
        UINT command = defaultItem;
        if (defaultItemByPosition)
        {
            HMENU submenu = nullptr;
            UniqueMenu menu(LoadTrayMenu(&submenu));
            if (!menu)
                return 0;
            command = GetMenuItemID(submenu, static_cast<int>(defaultItem));
        }
        doubleClickTime = GetTickCount();
        PostMessageA(target, WM_COMMAND, command, 0);
        return 1;
    }
    default: return 1;
    }
}

LRESULT CSystemTray::ShowMenu(HWND target)
{
    HMENU submenu = nullptr;
    UniqueMenu menu(LoadTrayMenu(&submenu));
    if (!menu)
        return 0;
    SetMenuDefaultItem(submenu, defaultItem, defaultItemByPosition);
    PrepareMenu(submenu);
    // The menu closes when the user clicks elsewhere only if its owner is the foreground window, and
    // the message posted after it lets a second click on the icon open it again.
    SetForegroundWindow(iconData.hWnd);
    TrackPopupMenu(submenu, 0, menuPoint.x, menuPoint.y, 0, target, nullptr);
    PostMessageA(iconData.hWnd, WM_NULL, 0, 0);
    return 1;
}

VOID CALLBACK CSystemTray::MenuDelayElapsed(HWND window, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(window, timer);
    CSystemTray* tray = activeTray;
    if (!tray || window != tray->iconData.hWnd)
        return;
    const HWND target = tray->commandWindow ? tray->commandWindow : tray->iconData.hWnd;
    if (target)
        tray->ShowMenu(target);
}

void CSystemTray::PrepareMenu(HMENU)
{
}

ATOM CSystemTray::RegisterTrayIconClass(HINSTANCE instance)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = TrayIconClassProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = TrayIconClassName;
    return RegisterClassExA(&windowClass);
}

LRESULT CALLBACK CSystemTray::TrayIconClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CSystemTray* tray = activeTray;
    // Messages sent while the window is being created arrive before the object knows its handle.
    if (!tray || window != tray->messageWindow)
        return DefWindowProcA(window, message, wParam, lParam);
    // Until the message is registered its id is 0, which would otherwise take every WM_NULL for it.
    if (taskbarCreatedMessage != 0 && message == taskbarCreatedMessage)
        return tray->OnShellRestart();
    if (message == tray->iconData.uCallbackMessage)
        return tray->OnIconMessage(wParam, lParam);
    if (message == WM_TIMER && wParam == AddRetryTimer)
    {
        tray->OnAddRetry();
        return 0;
    }
    // The end of the Windows session reaches top-level windows only; a command window parked out of sight
    // is not one of them, so it hears of it from here.
    if ((message == WM_QUERYENDSESSION || message == WM_ENDSESSION) && tray->commandWindow &&
        IsWindow(tray->commandWindow) && GetAncestor(tray->commandWindow, GA_PARENT) != GetDesktopWindow())
        return SendMessageA(tray->commandWindow, message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

bool CSystemTray::DeleteIcon()
{
    iconData.uFlags = 0;
    if (!notifyIcon(NIM_DELETE, &iconData))
        return false;
    iconHidden = TRUE;
    iconRemoved = TRUE;
    return true;
}

HMENU CSystemTray::LoadTrayMenu(HMENU* submenu) const
{
    UniqueMenu menu(LoadMenuA(instance, MAKEINTRESOURCEA(LOWORD(iconData.uID))));
    if (!menu)
        return nullptr;
    *submenu = GetSubMenu(menu.Get(), 0);
    if (!*submenu)
        return nullptr;
    return menu.Release();
}
