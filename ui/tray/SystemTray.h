#pragma once

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
    // False on a system without a notification area (major version below 4).
    bool ShellSupported() const { return shellSupported != FALSE; }

    static ATOM RegisterTrayIconClass(HINSTANCE instance);
    static LRESULT CALLBACK TrayIconClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    using NotifyIconFunction = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAW data);

    NOTIFYICONDATAW iconData;
    HINSTANCE instance = nullptr;
    HWND messageWindow = nullptr;
    HWND commandWindow = nullptr;
    BOOL shellSupported = FALSE;
    BOOL iconHidden = TRUE;
    BOOL iconRemoved = TRUE;
    BOOL addPending = FALSE;
    UINT defaultItem = 0;
    BOOL defaultItemByPosition = TRUE;
    UINT addFlags = 0;
    POINT menuPoint = {};
    // When the last double-click came (0: none pending): the button-up that follows it is no click.
    DWORD doubleClickTime = 0;
    // Tries of a refused add made by the retry timer.
    UINT addRetries = 0;
    // The scheduler sits in the tray (shown or added since, not taken away on purpose), whatever the shell
    // answered: only then does a new taskbar get the icon back.
    bool inTray = false;
    // Every call to the shell goes through here, so that its refusals can be staged.
    NotifyIconFunction notifyIcon = Shell_NotifyIconW;

private:
    LRESULT ShowMenu(HWND target);
    // Adds the icon with `addFlags`; a refusal leaves the add pending and retried.
    bool AddIcon();
    void RetryAddLater();
    void StopAddRetry();
    static VOID CALLBACK MenuDelayElapsed(HWND window, UINT message, UINT_PTR timer, DWORD time);
    bool DeleteIcon();
    HMENU LoadTrayMenu(HMENU* submenu) const;
};
