#include "ui/tray/SystemTray.h"

#include "base/Controls_win.h"

#include <cstring>
#include <utility>

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
    if (!iconRemoved())
        DeleteFromShell();
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
    if (majorVersion < FirstShellWithTray)
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

    commandWindow = iconData.hWnd;
    addFlags = IconFlags;
    const bool added = AddToShell(IconFlags);
    MoveTo(added ? IconState::Shown : IconState::AddPending);
    return added;
}

bool CSystemTray::HideFromTray()
{
    if (state == IconState::NoTray)
        return true;
    const bool removed = iconRemoved() || DeleteFromShell();
    MoveTo(removed ? IconState::Away : IconState::LeftBehind);
    return removed;
}

bool CSystemTray::ShowInTray()
{
    if (state == IconState::NoTray)
        return false;
    // The shell has no "move to the end" operation: a present icon is taken out and added anew.
    const bool oldIconLeft = !iconRemoved() && !DeleteFromShell();
    if (AddToShell(IconFlags))
    {
        MoveTo(IconState::Shown);
        return true;
    }
    MoveTo(oldIconLeft ? IconState::ShownAddPending : IconState::AddPending);
    return oldIconLeft;
}

LRESULT CSystemTray::OnShellRestart()
{
    // An icon taken away on purpose, while the window is open, stays away. In the tray, the icon comes back:
    // the new taskbar of an Explorer restart has lost it, and without it the user could no longer reach the
    // program. The same broadcast comes when the display scaling changes, while the icon is still there,
    // where a plain add would fail: whatever the shell holds is deleted first, so exactly one icon is left.
    if (!InTray())
        return 0;
    DeleteFromShell();
    AddIcon();
    return 0;
}

void CSystemTray::OnAddRetry()
{
    if (!addPending() || ++addRetries > AddRetryLimit)
    {
        StopAddRetry();
        return;
    }
    AddIcon();
}

void CSystemTray::AddIcon()
{
    MoveTo(AddToShell(addFlags) ? IconState::Shown : IconState::AddPending);
}

void CSystemTray::MoveTo(IconState next)
{
    state = next;
    // A refused add is tried again while it stays refused. Setting the timer again while it runs only
    // restarts its interval; the tries made so far still count.
    if (!addPending())
        StopAddRetry();
    else if (messageWindow)
        SetTimer(messageWindow, AddRetryTimer, AddRetryInterval, nullptr);
}

void CSystemTray::StopAddRetry()
{
    addRetries = 0;
    if (messageWindow)
        KillTimer(messageWindow, AddRetryTimer);
}

bool CSystemTray::AddToShell(UINT flags)
{
    iconData.uFlags = flags;
    // A busy taskbar (at log-on) lets the add time out, reported as a failure, and adds the icon all the
    // same. Only an icon the shell has can be modified: that tells a late add from a refusal, and the icon
    // counts as present, to be deleted at the next hide and at the end, with nothing retried.
    return notifyIcon(NIM_ADD, &iconData) || notifyIcon(NIM_MODIFY, &iconData);
}

bool CSystemTray::DeleteFromShell()
{
    iconData.uFlags = 0;
    return notifyIcon(NIM_DELETE, &iconData) != FALSE;
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
    case WM_LBUTTONUP:
        // The button-up that ends a double-click: the double-click has done its work.
        if (doubleClickTime != 0 && GetTickCount() - doubleClickTime <= GetDoubleClickTime())
        {
            doubleClickTime = 0;
            return 1;
        }
        clickedMenu = TakeMenu();
        if (!clickedMenu)
            return 0;
        // The menu waits until a second click can no longer come: shown at once, its own loop would take
        // that click, and the double-click would never open the scheduler.
        GetCursorPos(&menuPoint);
        SetTimer(iconData.hWnd, MenuDelayTimer, GetDoubleClickTime(), MenuDelayElapsed);
        return 1;
    case WM_RBUTTONUP:
        KillTimer(iconData.hWnd, MenuDelayTimer);
        GetCursorPos(&menuPoint);
        return ShowMenu(target, TakeMenu());
    case WM_LBUTTONDBLCLK: {
        KillTimer(iconData.hWnd, MenuDelayTimer);
        SetForegroundWindow(iconData.hWnd);
        UINT command = defaultItem;
        // The first click of the double-click has loaded the menu; it is not shown.
        UniqueMenu menu(clickedMenu.Release());
        if (defaultItemByPosition)
        {
            if (!menu)
                menu = LoadTrayMenu();
            if (!menu)
                return 0;
            command = GetMenuItemID(GetSubMenu(menu.Get(), 0), static_cast<int>(defaultItem));
        }
        doubleClickTime = GetTickCount();
        PostMessageA(target, WM_COMMAND, command, 0);
        return 1;
    }
    default: return 1;
    }
}

LRESULT CSystemTray::ShowMenu(HWND target, UniqueMenu menu)
{
    if (!menu)
        return 0;
    const HMENU submenu = GetSubMenu(menu.Get(), 0);
    SetMenuDefaultItem(submenu, defaultItem, defaultItemByPosition);
    PrepareMenu(submenu);
    // The menu closes when the user clicks elsewhere only if its owner is the foreground window, and
    // the message posted after it lets a second click on the icon open it again.
    SetForegroundWindow(iconData.hWnd);
    TrackPopupMenu(submenu, 0, menuPoint.x, menuPoint.y, 0, target, nullptr);
    PostMessageA(iconData.hWnd, WM_NULL, 0, 0);
    return 1;
}

UniqueMenu CSystemTray::TakeMenu()
{
    UniqueMenu menu(clickedMenu.Release());
    return menu ? std::move(menu) : LoadTrayMenu();
}

VOID CALLBACK CSystemTray::MenuDelayElapsed(HWND window, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(window, timer);
    CSystemTray* tray = activeTray;
    if (!tray || window != tray->iconData.hWnd)
        return;
    const HWND target = tray->commandWindow ? tray->commandWindow : tray->iconData.hWnd;
    if (target)
        tray->ShowMenu(target, tray->TakeMenu());
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

UniqueMenu CSystemTray::LoadTrayMenu() const
{
    UniqueMenu menu(LoadMenuA(instance, MAKEINTRESOURCEA(LOWORD(iconData.uID))));
    if (menu && !GetSubMenu(menu.Get(), 0))
        menu.Reset();
    return menu;
}
