// The floor of the start-up benchmark, not part of the product: the least a tray scheduler must do before its
// icon is in the notification area. It registers its window class, creates the hidden main window and the
// scheduler dialog from the same template (same controls, common controls 6 through the same manifest), adds
// one tray icon with a window of the class the benchmark waits for, and runs the message loop. It loads no
// data.
#include "resources/resource.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

namespace
{

const char MainClassName[] = "CHRONEL_FLOOR";
const char TrayClassName[] = "TrayIconClass";
constexpr UINT TrayIconId = 109;
constexpr UINT TrayCallbackMessage = WM_APP + 10;

INT_PTR CALLBACK DialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY)
    {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

ATOM RegisterWindowClass(HINSTANCE instance, const char* name, HICON icon)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = name;
    return RegisterClassExA(&windowClass);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, 0xFF};
    InitCommonControlsEx(&controls);
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP_SMALL));
    RegisterWindowClass(instance, MainClassName, LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP_LARGE)));
    HWND window = CreateWindowExA(0, MainClassName, "Floor", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                  CW_USEDEFAULT, 0, CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);
    if (!window || !CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), window, DialogProc, 0))
        return 1;

    RegisterWindowClass(instance, TrayClassName, nullptr);
    CreateWindowExA(0, TrayClassName, "", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    NOTIFYICONDATAA iconData = {};
    iconData.cbSize = sizeof iconData;
    iconData.hWnd = window;
    iconData.uID = TrayIconId;
    iconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    iconData.uCallbackMessage = TrayCallbackMessage;
    iconData.hIcon = icon;
    lstrcpynA(iconData.szTip, "Floor", sizeof iconData.szTip);
    Shell_NotifyIconA(NIM_ADD, &iconData);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0))
    {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    Shell_NotifyIconA(NIM_DELETE, &iconData);
    return 0;
}
