#include "app/Application.h"

#include "app/AppGlobals.h"
#include "resources/Maker.h"
#include "resources/resource.h"
#include "ui/main/Fonts.h"
#include "ui/tray/TrayAnimation.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstring>

// Defined together, so that they are constructed in this order before the entry point runs.
CWnd mainWindowObject;
CMain mainDialog;
CSystemTray trayManager;
static const bool taskbarCreatedRegistered =
    (CSystemTray::taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated"), true);

namespace
{

const char* const QuitQuestion = "Êtes vous sûr de vouloir quitter l'application ?";
// One scheduler per user session: a second one would fire every programme twice and overwrite the first
// one's programme file.
const char* const InstanceMutexName = "Local\\Merovia.Chronel.Scheduler";

// Asks before quitting; on OK saves the programmes and takes the icon away. True when the user confirmed.
bool ConfirmQuit()
{
    if (mainDialog.ShowMessage(QuitQuestion, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return false;
    mainDialog.SaveProgramList();
    trayManager.HideFromTray();
    return true;
}

bool IsMainWindowClass(HWND window)
{
    char className[sizeof AppClassName] = {};
    return GetClassNameA(window, className, sizeof className) && std::strcmp(className, AppClassName) == 0;
}

// The running scheduler's main window: top-level while it is open, a child of the invisible parking window
// while it sits in the tray. Class names are compared one by one: searching by class name does not find
// another process's window class under every system.
BOOL CALLBACK FindMainWindow(HWND window, LPARAM found)
{
    if (IsMainWindowClass(window))
    {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    if (!::GetParent(window))
        EnumChildWindows(window, FindMainWindow, found);
    return *reinterpret_cast<HWND*>(found) ? FALSE : TRUE;
}

// The running scheduler's main window, waiting up to `timeout` ms for one that is still starting.
HWND FindRunningInstance(DWORD timeout)
{
    const DWORD started = GetTickCount();
    for (;;)
    {
        HWND running = nullptr;
        EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&running));
        if (running || GetTickCount() - started >= timeout)
            return running;
        Sleep(100);
    }
}

// Hands the open command to the scheduler already running in this session, which may still be starting.
void WakeRunningInstance()
{
    AllowSetForegroundWindow(ASFW_ANY);
    if (HWND running = FindRunningInstance(5000))
        PostMessageA(running, WM_COMMAND, ID_OPEN_SCHEDULER, 0);
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
    windowClass.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP_SMALL));
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
    mainWindowObject.Attach(window, CWnd::WndProc);

    mainDialog.hInstance = AppInstance;
    mainDialog.hWndParent = window;
    mainDialog.templateId = IDD_MAIN;
    mainDialog.hWnd = CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_MAIN), window,
                                         CDialog::DialogProcThunk, reinterpret_cast<LPARAM>(&mainDialog));
    if (!mainDialog.hWnd)
    {
        DestroyWindow(window);
        return FALSE;
    }

    // The client area takes exactly the dialog's size; then the window is centred on the screen.
    RECT dialogRect, windowRect, clientRect;
    GetWindowRect(mainDialog.hWnd, &dialogRect);
    GetWindowRect(window, &windowRect);
    GetClientRect(window, &clientRect);
    int width = (dialogRect.right - dialogRect.left) + (windowRect.right - windowRect.left) -
                (clientRect.right - clientRect.left);
    int height = (dialogRect.bottom - dialogRect.top) + (windowRect.bottom - windowRect.top) -
                 (clientRect.bottom - clientRect.top);
    SetWindowPos(window, HWND_TOP, 0, 0, width, height, SWP_NOMOVE);
    GetWindowRect(window, &windowRect);
    width = windowRect.right - windowRect.left;
    height = windowRect.bottom - windowRect.top;
    const int x = GetSystemMetrics(SM_CXFULLSCREEN) / 2 - width / 2;
    const int y = GetSystemMetrics(SM_CYFULLSCREEN) / 2 - height / 2;
    SetWindowPos(window, HWND_TOP, x, y, 0, 0, SWP_NOSIZE);

    if (!trayManager.Install(window, LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP_SMALL))))
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
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_CLOSE:
        if (!ConfirmQuit())
            return 1;
        break;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION:
        // The session is ending without "Quitter": keep every change, without a box that would only hold
        // up the log-off.
        if (wParam)
            mainDialog.SaveProgramList(true);
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam))
        {
        case ID_QUIT: SendMessageA(window, WM_CLOSE, 0, 0); return 0;
        case ID_QUIT_QUIETLY:
            // An installer is waiting: no question and no message box, but nothing lost.
            mainDialog.SaveProgramList(true);
            trayManager.HideFromTray();
            DestroyWindow(window);
            return 0;
        case ID_OPEN_SCHEDULER:
            trayManager.HideFromTray();
            AnimateOutOfTray(window);
            return 0;
        case ID_LAUNCH_PLAYER:
            ShellExecuteA(window, "open", "wmplayer.exe", nullptr, nullptr, SW_SHOWNORMAL);
            return 0;
        case ID_VISIT_SITE:
            ShellExecuteA(window, "open", MakerSiteAddress, nullptr, nullptr, SW_SHOWNORMAL);
            return 0;
        default: break;
        }
        break;
    case WM_SYSCOMMAND:
        if (wParam == SC_MINIMIZE)
        {
            AnimateIntoTray(window);
            trayManager.ShowInTray();
            return 0;
        }
        break;
    case CSystemTray::TRAY_CALLBACK_MESSAGE: return trayManager.OnIconMessage(wParam, lParam);
    default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool IsQuitRequest(const char* commandLine)
{
    if (!commandLine)
        return false;
    while (*commandLine == ' ' || *commandLine == '\t')
        ++commandLine;
    if (_strnicmp(commandLine, "/quit", 5) != 0)
        return false;
    for (commandLine += 5; *commandLine; ++commandLine)
        if (*commandLine != ' ' && *commandLine != '\t')
            return false;
    return true;
}

int QuitRunningInstance(DWORD timeout)
{
    // The scheduler holds its mutex until its process ends: while the mutex exists, one is running, starting
    // or ending.
    auto running = [] {
        HANDLE instanceMutex = OpenMutexA(SYNCHRONIZE, FALSE, InstanceMutexName);
        if (instanceMutex)
            CloseHandle(instanceMutex);
        return instanceMutex != nullptr;
    };
    const DWORD started = GetTickCount();
    HWND window = nullptr;
    while (running() && !(window = FindRunningInstance(0)))
    {
        if (GetTickCount() - started >= timeout)
            return 1;
        Sleep(100);
    }
    if (!window)
        return 0;

    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!process)
        return 1;
    PostMessageA(window, WM_COMMAND, ID_QUIT_QUIETLY, 0);
    const DWORD spent = GetTickCount() - started;
    const DWORD ended = WaitForSingleObject(process, spent < timeout ? timeout - spent : 0);
    CloseHandle(process);
    return ended == WAIT_OBJECT_0 ? 0 : 1;
}

int RunApplication(HINSTANCE instance)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, 0xFF};
    InitCommonControlsEx(&controls);
    LoadStringA(instance, IDS_APP_CAPTION, AppCaption, sizeof AppCaption);
    LoadStringA(instance, IDS_APP_CLASS, AppClassName, sizeof AppClassName);

    HANDLE instanceMutex = CreateMutexA(nullptr, FALSE, InstanceMutexName);
    if (instanceMutex && GetLastError() == ERROR_ALREADY_EXISTS)
    {
        WakeRunningInstance();
        CloseHandle(instanceMutex);
        return 0;
    }

    RegisterMainWindowClass(instance);
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    if (!InitInstance(instance))
        return 0;

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0))
    {
        if (!TranslateAcceleratorA(message.hwnd, accelerators, &message))
        {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    DeleteFonts();
    // The mutex is held until the process ends: a start during the shutdown finds no window to wake and ends.
    return static_cast<int>(message.wParam);
}
