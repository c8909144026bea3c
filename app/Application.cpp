#include "app/Application.h"

#include "ui/framework/AppGlobals.h"
#include "resources/Maker.h"
#include "resources/resource.h"
#include "base/Handles_win.h"
#include "base/System_win.h"
#include "schedule/Settings_win.h"
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
    if (mainDialog.ShowMessage(QuitQuestion, MB_OKCANCEL | MB_ICONQUESTION) != IDOK || mainDialog.QuitBegun())
        return false;
    mainDialog.SaveProgramList();
    mainDialog.BeginQuit();
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

// Hands the open command to the scheduler already running in this session, which may still be starting. One
// started with other rights (elevated by an installer, another account) refuses the message: nothing more can
// be done from here, and this start ends all the same.
// Returns whether the command was taken.
bool WakeRunningInstance()
{
    AllowSetForegroundWindow(ASFW_ANY);
    const HWND running = FindRunningInstance(5000);
    return running && PostMessageA(running, WM_COMMAND, ID_OPEN_SCHEDULER, 0);
}

// Who holds this session's scheduler mutex, as seen from this process.
enum class RunningInstance
{
    None,
    Reachable,
    // A scheduler started with other rights: its mutex exists but may not be opened with full access, and its
    // windows refuse this process's messages.
    Unreachable,
};

RunningInstance ProbeRunningInstance()
{
    if (UniqueKernelHandle instanceMutex{OpenMutexA(MUTEX_ALL_ACCESS, FALSE, InstanceMutexName)})
        return RunningInstance::Reachable;
    if (GetLastError() == ERROR_ACCESS_DENIED)
        return RunningInstance::Unreachable;
    UniqueKernelHandle visible{OpenMutexA(SYNCHRONIZE, FALSE, InstanceMutexName)};
    return visible ? RunningInstance::Unreachable : RunningInstance::None;
}

// The quit's last save, then the end of the window and of the loop: no question, no message box. The
// scheduler ends only when its programmes are safe: when the save fails it stays, and the answer says so. A
// request that comes after the deadline it carries (the /quit that sent it has given up and reported that the
// scheduler stays) is ignored.
LRESULT QuitQuietly(HWND window, LPARAM deadline)
{
    if (deadline != 0 && static_cast<LONG>(GetTickCount() - static_cast<DWORD>(deadline)) > 0)
        return 0;
    if (!mainDialog.SaveProgramList(true))
        return 0;
    mainDialog.BeginQuit();
    trayManager.HideFromTray();
    DestroyWindow(window);
    return 1;
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
}

void SendToTray(HWND window)
{
    AnimateIntoTray(window);
    trayManager.ShowInTray();
}

void EndSession(WPARAM ending)
{
    // The session is ending without "Quitter": keep every change, without a box that would only hold up the
    // log-off. Nothing the scheduler does afterwards may write over what was saved.
    if (!ending)
        return;
    mainDialog.SaveProgramList(true);
    mainDialog.BeginQuit();
}

bool SameWord(const char* text, std::size_t length, const char* word)
{
    return std::strlen(word) == length && _strnicmp(text, word, length) == 0;
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
    mainWindowObject.Subclass(window);

    if (!mainDialog.Create(AppInstance, IDD_MAIN, window))
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

    // At log-on a start from the Run key may come before the taskbar, which then refuses the icon: the
    // scheduler runs all the same and the icon follows the taskbar. Only a system without a notification area
    // ends here.
    if (!trayManager.Install(window, LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP_SMALL)), AppInstance,
                             AppCaption) &&
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
    case WM_CLOSE: return ConfirmQuit() ? DefWindowProcA(window, message, wParam, lParam) : 1;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION: EndSession(wParam); return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam))
        {
        case ID_QUIT: SendMessageA(window, WM_CLOSE, 0, 0); return 0;
        case ID_QUIT_QUIETLY: return QuitQuietly(window, lParam);
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

StartRequest ReadStartRequest(const char* commandLine)
{
    // The words of the command line, blanks around and between them allowed.
    const char* words[3] = {};
    std::size_t lengths[3] = {};
    std::size_t count = 0;
    for (const char* at = commandLine ? commandLine : ""; *at;)
    {
        if (*at == ' ' || *at == '\t')
        {
            ++at;
            continue;
        }
        const char* word = at;
        while (*at && *at != ' ' && *at != '\t')
            ++at;
        // Three words are as many as too many.
        if (count < 3)
        {
            words[count] = word;
            lengths[count++] = static_cast<std::size_t>(at - word);
        }
    }
    if (count == 1 && SameWord(words[0], lengths[0], "/quit"))
        return StartRequest::Quit;
    if (count == 0 || !SameWord(words[0], lengths[0], "/autostart"))
        return StartRequest::Run;
    if (count == 2 && SameWord(words[1], lengths[1], "on"))
        return StartRequest::AutostartOn;
    if (count == 2 && SameWord(words[1], lengths[1], "off"))
        return StartRequest::AutostartOff;
    return StartRequest::BadAutostart;
}

int QuitRunningInstance(DWORD timeout)
{
    // The scheduler holds its mutex until its process ends: while the mutex exists, one is running, starting
    // or ending.
    const DWORD started = GetTickCount();
    HWND window = nullptr;
    for (;;)
    {
        const RunningInstance running = ProbeRunningInstance();
        if (running == RunningInstance::None)
            return 0;
        // One started with other rights cannot be asked from here: it is running, and it will not end.
        if (running == RunningInstance::Unreachable)
            return 1;
        if ((window = FindRunningInstance(0)) != nullptr)
            break;
        if (GetTickCount() - started >= timeout)
            return 1;
        Sleep(100);
    }

    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    UniqueKernelHandle process{OpenProcess(SYNCHRONIZE, FALSE, processId)};
    if (!process)
        return 1;
    // The request carries its deadline, and the answer says whether the programmes were saved and the
    // scheduler is ending.
    const DWORD deadline = (started + timeout) | 1;
    DWORD spent = GetTickCount() - started;
    DWORD_PTR ending = 0;
    if (spent >= timeout ||
        !SendMessageTimeoutA(window, WM_COMMAND, ID_QUIT_QUIETLY, static_cast<LPARAM>(deadline), SMTO_NORMAL,
                             timeout - spent, &ending) ||
        ending == 0)
        return 1;
    spent = GetTickCount() - started;
    return WaitForSingleObject(process.Get(), spent < timeout ? timeout - spent : 0) == WAIT_OBJECT_0 ? 0 : 1;
}

int SwitchAutostart(HINSTANCE instance, bool on)
{
    LoadStringA(instance, IDS_APP_CAPTION, AppCaption, sizeof AppCaption);
    return SetAutostartEntry(AppCaption, on) == ERROR_SUCCESS ? 0 : 1;
}

int RunApplication(HINSTANCE instance)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, 0xFF};
    InitCommonControlsEx(&controls);
    LoadStringA(instance, IDS_APP_CAPTION, AppCaption, sizeof AppCaption);
    LoadStringA(instance, IDS_APP_CLASS, AppClassName, sizeof AppClassName);

    UniqueKernelHandle instanceMutex{CreateMutexA(nullptr, FALSE, InstanceMutexName)};
    const DWORD created = GetLastError();
    // A scheduler runs already, or one with other rights whose mutex this process may not open: either way a
    // second one would fire every programme twice and write over the same programme file.
    if ((instanceMutex && created == ERROR_ALREADY_EXISTS) ||
        (!instanceMutex &&
         (created == ERROR_ACCESS_DENIED || ProbeRunningInstance() != RunningInstance::None)))
    {
        WakeRunningInstance();
        return 0;
    }

    RegisterMainWindowClass(instance);
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    if (!InitInstance(instance))
        return 0;

    MSG message;
    // Wide, so that a character typed outside the system's ANSI code page reaches the controls whole.
    while (GetMessageW(&message, nullptr, 0, 0))
    {
        if (!TranslateAcceleratorW(message.hwnd, accelerators, &message))
        {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    DeleteFonts();
    // The mutex is held until the process ends: a start during the shutdown finds no window to wake and ends.
    instanceMutex.Release();
    return static_cast<int>(message.wParam);
}
