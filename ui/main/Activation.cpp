// The activation switch: suspends the scheduler and removes the start with the user session, or restores
// both.
#include "ui/main/MainDialog.h"

#include "ui/framework/AppGlobals.h"
#include "base/System_win.h"
#include "resources/resource.h"
#include "schedule/Settings_win.h"

#include <shellapi.h>

namespace
{

const char* const SwitchOffQuestion =
    "Si vous désactivez le programmateur, celui-ci ne sera plus actif durant cette "
    "session, et il ne sera plus démarré automatiquement par la suite. Etes vous "
    "sûr ?";

const char* const AutostartFailed = "Modification du lancement automatique impossible !";

// Waits for `process` to end while every message of the thread goes on being handled: the clock caption moves
// on, a due programme fires, the tray answers. False when it did not end within `timeout` ms, or the quit
// came meanwhile (its WM_QUIT is put back for the loop that ends the program).
bool WaitHandlingMessages(HANDLE process, DWORD timeout)
{
    const DWORD started = GetTickCount();
    for (;;)
    {
        const DWORD spent = GetTickCount() - started;
        if (spent >= timeout)
            return false;
        // Messages already in the queue when the wait begins count as well.
        const DWORD woken =
            MsgWaitForMultipleObjectsEx(1, &process, timeout - spent, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken == WAIT_OBJECT_0)
            return true;
        if (woken != WAIT_OBJECT_0 + 1)
            return false;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        {
            if (message.message == WM_QUIT)
            {
                PostQuitMessage(static_cast<int>(message.wParam));
                return false;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

} // namespace

LONG CMain::WriteAutostart(bool on)
{
    return SetAutostartEntry(AppCaption, on);
}

UniqueKernelHandle CMain::StartElevatedSwitch(bool on, DWORD& error)
{
    const std::string path = ModulePath();
    if (path.empty())
    {
        error = ERROR_INSUFFICIENT_BUFFER;
        return UniqueKernelHandle();
    }
    // The process is kept to read its exit code; the shell shows no error box of its own, the switch tells.
    return UniqueKernelHandle(ShellRun(hWnd, L"runas", path, on ? "/autostart on" : "/autostart off",
                                       SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI, SW_HIDE, error));
}

bool CMain::SetAutostart(bool on)
{
    // The machine-wide Run key is never redirected for a program without administrator rights: where the
    // user may not write it, this program is run once more with those rights (one prompt of the system) to
    // make the change, and the scheduler goes on meanwhile.
    const LONG direct = WriteAutostart(on);
    if (direct != ERROR_ACCESS_DENIED)
        return direct == ERROR_SUCCESS;

    DWORD error = ERROR_SUCCESS;
    const UniqueKernelHandle process = StartElevatedSwitch(on, error);
    if (!process)
        return false;
    // The switch is not pressed twice while the first press is still being carried out.
    const HWND button = hWnd ? ::GetDlgItem(hWnd, IDC_BUTTON_ACTIVE) : nullptr;
    const BOOL wasEnabled = button && IsWindowEnabled(button);
    if (wasEnabled)
        EnableWindow(button, FALSE);
    const bool ended = WaitHandlingMessages(process.Get(), elevatedSwitchTimeout);
    if (wasEnabled && IsWindow(button))
        EnableWindow(button, TRUE);
    DWORD exitCode = 1;
    return ended && GetExitCodeProcess(process.Get(), &exitCode) && exitCode == 0;
}

void CMain::ToggleActive()
{
    active = active ? 0 : 1;
    bool changed = true;
    if (active)
    {
        SetText(IDC_TITLE_ACTIVE, "Programmes activés");
        SetText(IDC_BUTTON_ACTIVE, "Désactiver");
        changed = SetAutostart(true);
    }
    else if (ShowMessage(SwitchOffQuestion, MB_OKCANCEL | MB_ICONQUESTION) == IDOK && !quitBegun)
    {
        SetText(IDC_TITLE_ACTIVE, "Programmes désactivés");
        SetText(IDC_BUTTON_ACTIVE, "Activer");
        changed = SetAutostart(false);
    }
    else
    {
        active = 1;
    }
    // A quit during the question or the change is final: nothing more is written.
    if (quitBegun)
        return;
    // The switch keeps the state the user chose; only the start with the session could not follow it.
    if (!changed)
        ShowMessage(AutostartFailed, MB_OK | MB_ICONERROR);
    if (RegKey settings = OpenSettings(true))
        WriteDwordValue(settings.Get(), "Active", active);
}
