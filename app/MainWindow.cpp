#include "app/MainWindow.h"

#include "app/Application.h"
#include "app/SingleInstance.h"
#include "base/System_win.h"
#include "resources/Maker.h"
#include "resources/resource.h"
#include "ui/framework/AppGlobals.h"
#include "ui/framework/Dpi.h"
#include "ui/main/Fonts.h"
#include "ui/main/MainWindowDpi.h"
#include "ui/tray/TrayAnimation.h"

#include <shellapi.h>

namespace
{

// The client area takes exactly the dialog's size; then the window is centred on the screen.
void FitAroundDialog(HWND window, HWND dialog)
{
    SizeAroundDialog(window, dialog);
    RECT windowRect;
    GetWindowRect(window, &windowRect);
    const int width = windowRect.right - windowRect.left;
    const int height = windowRect.bottom - windowRect.top;
    const int x = GetSystemMetrics(SM_CXFULLSCREEN) / 2 - width / 2;
    const int y = GetSystemMetrics(SM_CYFULLSCREEN) / 2 - height / 2;
    SetWindowPos(window, HWND_TOP, x, y, 0, 0, SWP_NOSIZE);
    // At a high scaling the window may be larger than the half screen around the centre.
    KeepInWorkArea(window);
}

// The window is covered by the dialog: nothing to draw but the update region to validate.
void Paint(HWND window)
{
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
}

void OpenScheduler(HWND window)
{
    trayManager.HideFromTray();
    AnimateOutOfTray(window);
    FollowWindowDpi(window, mainDialog);
}

void SendToTray(HWND window)
{
    AnimateIntoTray(window);
    trayManager.ShowInTray();
}

} // namespace

void RegisterMainWindowClass(HINSTANCE instance)
{
    WNDCLASSEXA windowClass = {};
#if !defined(_WIN64)
    static_assert(sizeof(WNDCLASSEXA) == 48, "the window class record");
#endif
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP_LARGE));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = AppClassName;
    windowClass.hIconSm = SmallIcon(instance, IDI_APP_SMALL);
    RegisterClassExA(&windowClass);
}

BOOL InitInstance(HINSTANCE instance)
{
    AppInstance = instance;
    CreateFonts();

    HWND window = CreateWindowExA(0, AppClassName, AppCaption, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                  CW_USEDEFAULT, 0, CW_USEDEFAULT, 0, nullptr, nullptr, AppInstance, nullptr);
    if (!window)
        return FALSE;
    mainWindowObject.hInstance = AppInstance;
    mainWindowObject.Subclass(window);

    if (!mainDialog.Create(AppInstance, IDD_MAIN, window))
    {
        DestroyWindow(window);
        return FALSE;
    }
    FitAroundDialog(window, mainDialog.hWnd);

    // At log-on a start from the Run key may come before the taskbar, which then refuses the icon: the
    // scheduler runs all the same and the icon follows the taskbar. Only a system without a notification area
    // ends here.
    if (!trayManager.Install(window, SmallIcon(instance, IDI_APP_SMALL), AppInstance, AppCaption) &&
        !trayManager.ShellSupported())
        return FALSE;
    trayManager.HideFromTray();
    ShowWindow(window, SW_HIDE);
    trayManager.ShowInTray();
    return TRUE;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_PAINT: Paint(window); return 0;
    case WM_CLOSE: return EndScheduler(window, QuitWay::Confirmed) ? 0 : 1;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION:
        // The session is ending without "Quitter": every change is kept, without a box that would only hold
        // up the log-off.
        if (wParam)
            EndScheduler(window, QuitWay::SessionEnd);
        return 0;
    case DpiChangedMessage: return OnMainWindowDpiChanged(window, mainDialog, wParam, lParam);
    case GetDpiScaledSizeMessage: return OnMainWindowGetDpiScaledSize(window, mainDialog, wParam, lParam);
    case WM_COMMAND:
        switch (LOWORD(wParam))
        {
        case ID_QUIT: SendMessageA(window, WM_CLOSE, 0, 0); return 0;
        case ID_QUIT_QUIETLY: return AnswerQuitRequest(window, lParam);
        case ID_OPEN_SCHEDULER: OpenScheduler(window); return 0;
        case ID_LAUNCH_PLAYER: ShellOpen(window, "wmplayer.exe", std::string()); return 0;
        case ID_VISIT_SITE: ShellOpen(window, MakerSiteAddress, std::string()); return 0;
        default: break;
        }
        break;
    case WM_SYSCOMMAND:
        if (wParam != SC_MINIMIZE)
            break;
        SendToTray(window);
        return 0;
    case CSystemTray::TRAY_CALLBACK_MESSAGE: return trayManager.OnIconMessage(wParam, lParam);
    default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
