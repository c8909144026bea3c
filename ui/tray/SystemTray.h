#pragma once

#include "base/Handles_win.h"

#include <windows.h>
#include <shellapi.h>

// The application's icon in the notification area: adds and removes it, shows the popup menu on a click (a
// left click's once the double-click time has passed without a second click), runs the menu's default
// command on a double-click and adds the icon again when the taskbar is re-created.
class CSystemTray
{
public:
    // The icon's id, which is also the resource id of its popup menu.
    static constexpr UINT TRAY_ICON_ID = 109;
    // The message through which the shell reports mouse events on the icon.
    static constexpr UINT TRAY_CALLBACK_MESSAGE = WM_APP + 10;
    // The timer, on the icon's window, after which a left click's menu shows.
    static constexpr UINT_PTR MenuDelayTimer = 0x7A11;
    // The timer, on the hidden window, that tries a refused add again while no taskbar announces itself.
    static constexpr UINT_PTR AddRetryTimer = 0x7A12;
    static constexpr UINT AddRetryInterval = 5000;
    static constexpr UINT AddRetryLimit = 36; // three minutes; then only a new taskbar brings the icon

    // The one instance, through which the hidden window's procedure finds the object.
    static CSystemTray* activeTray;
    // The registered "TaskbarCreated" message, broadcast when the shell re-creates the taskbar.
    static UINT taskbarCreatedMessage;

    CSystemTray();
    virtual ~CSystemTray();
    CSystemTray(const CSystemTray&) = delete;
    CSystemTray& operator=(const CSystemTray&) = delete;

    virtual LRESULT OnIconMessage(WPARAM iconId, LPARAM mouseEvent);
    virtual void PrepareMenu(HMENU menu);

    // Puts the icon in, reporting to `window` (or to the hidden window when there is none), with `tip` as its
    // tooltip (at most 127 characters kept); `instance` owns the hidden window's class and the menu.
    BOOL Install(HWND window, HICON icon, HINSTANCE instance, const char* tip);
    bool ShowInTray();
    bool HideFromTray();
    // A new taskbar ("TaskbarCreated"): the icon is put back when the scheduler sits in the tray.
    LRESULT OnShellRestart();
    // One more try of a refused add; after AddRetryLimit of them only a new taskbar brings the icon.
    void OnAddRetry();
    // False on a system without a notification area (major version below 4), and before Install.
    bool ShellSupported() const { return state != IconState::NoTray; }

    static ATOM RegisterTrayIconClass(HINSTANCE instance);
    static LRESULT CALLBACK TrayIconClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    using NotifyIconFunction = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAW data);

    // Where the icon stands; every change goes through MoveTo.
    enum class IconState : BYTE
    {
        NoTray,     // Install has found no notification area (or has not run): the shell is never called
        Away,       // out of the tray on purpose (the window is open): no icon
        LeftBehind, // out of the tray on purpose, but the shell refused the delete: the icon is still there
        Shown,      // in the tray, and the shell has the icon
        AddPending, // in the tray without an icon: the shell refused the add, which is tried again
        ShownAddPending, // in the tray; a show's delete and add both refused: the old icon remains
    };

    // The icon's flags, each read from the state.
    BOOL iconHidden() const { return iconRemoved(); }
    BOOL iconRemoved() const
    {
        return state != IconState::Shown && state != IconState::LeftBehind &&
               state != IconState::ShownAddPending;
    }
    BOOL addPending() const { return state == IconState::AddPending || state == IconState::ShownAddPending; }

    NOTIFYICONDATAW iconData;
    HINSTANCE instance = nullptr;
    HWND messageWindow = nullptr;
    HWND commandWindow = nullptr;
    UINT defaultItem = 0;
    BOOL defaultItemByPosition = TRUE;
    UINT addFlags = 0;
    // Every call to the shell goes through here, so that its refusals can be staged.
    NotifyIconFunction notifyIcon = Shell_NotifyIconW;

private:
    // The scheduler sits in the tray (shown or added since, not taken away on purpose), whatever the shell
    // answered: only then does a new taskbar get the icon back.
    bool InTray() const { return addPending() || state == IconState::Shown; }
    void MoveTo(IconState next);
    // Adds the icon with `flags`; true when the shell has it afterwards, even if the add reported a failure.
    bool AddToShell(UINT flags);
    bool DeleteFromShell();
    // Adds the icon with `addFlags`, for a new taskbar or a retry.
    void AddIcon();
    void StopAddRetry();
    LRESULT ShowMenu(HWND target, UniqueMenu menu);
    // The menu a left click loaded and its delayed show is waiting for, or else a newly loaded one.
    UniqueMenu TakeMenu();
    UniqueMenu LoadTrayMenu() const;
    static VOID CALLBACK MenuDelayElapsed(HWND window, UINT message, UINT_PTR timer, DWORD time);

    IconState state = IconState::NoTray;
    // Tries of a refused add made by the retry timer.
    UINT addRetries = 0;
    POINT menuPoint = {};
    // Loaded by a left click, shown once no second click has come.
    UniqueMenu clickedMenu;
    // When the last double-click came (0: none pending): the button-up that follows it is no click.
    DWORD doubleClickTime = 0;
};
