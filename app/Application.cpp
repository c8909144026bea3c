#include "app/Application.h"

#include "app/MainWindow.h"
#include "app/SingleInstance.h"
#include "resources/resource.h"
#include "schedule/Settings_win.h"
#include "ui/framework/AppGlobals.h"
#include "ui/main/Fonts.h"

#include <commctrl.h>

// Defined together, so that they are constructed in this order before the entry point runs.
CWnd mainWindowObject;
CMain mainDialog;
CSystemTray trayManager;
static const bool taskbarCreatedRegistered =
    (CSystemTray::taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated"), true);

namespace
{

const char* const QuitQuestion = "Êtes vous sûr de vouloir quitter l'application ?";

// A request that comes after the deadline it carries is refused: the /quit that sent it has given up and
// reported that the scheduler stays.
bool InTime(DWORD deadline)
{
    return deadline == 0 || static_cast<LONG>(GetTickCount() - deadline) <= 0;
}

// What each way asks before the scheduler may end.
bool MayEnd(QuitWay way, DWORD deadline)
{
    switch (way)
    {
    case QuitWay::Confirmed:
        // A quit of another way, during the question, has ended the scheduler already.
        return mainDialog.ShowMessage(QuitQuestion, MB_OKCANCEL | MB_ICONQUESTION) == IDOK &&
               !mainDialog.QuitBegun();
    case QuitWay::Requested: return InTime(deadline);
    case QuitWay::SessionEnd: return true;
    }
    return false;
}

} // namespace

bool EndScheduler(HWND window, QuitWay way, DWORD deadline)
{
    // The save's message box and the shell's answer to the icon's removal let other messages in: a quit of
    // any way that comes meanwhile learns that the scheduler is ending, and the first one ends it.
    static bool ending = false;
    if (ending)
        return true;
    if (!MayEnd(way, deadline))
        return false;
    struct Ending
    {
        Ending() { ending = true; }
        ~Ending() { ending = false; }
    } endingNow;
    // Windows ending the session waits for no box; "/quit" tells its caller instead, and a scheduler whose
    // programmes could not be saved stays, with them.
    const bool saved = mainDialog.SaveProgramList(way != QuitWay::Confirmed);
    if (way == QuitWay::Requested && (!saved || !InTime(deadline)))
        return false;
    mainDialog.BeginQuit();
    if (way == QuitWay::SessionEnd)
        return true;
    trayManager.HideFromTray();
    DestroyWindow(window);
    return true;
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

    // The mutex is held until the process ends: a start during the shutdown finds no window to wake and ends.
    UniqueKernelHandle instanceMutex;
    if (!ClaimInstanceMutex(instanceMutex))
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
    instanceMutex.Release();
    return static_cast<int>(message.wParam);
}
