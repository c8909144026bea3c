// The activation switch: suspends the scheduler and removes the start with the user session, or restores
// both.
#include "ui/main/MainDialog.h"

#include "resources/resource.h"
#include "schedule/Settings_win.h"
#include "ui/framework/AppGlobals.h"

namespace
{

const char* const SwitchOffQuestion =
    "Si vous désactivez le programmateur, celui-ci ne sera plus actif durant cette "
    "session, et il ne sera plus démarré automatiquement par la suite. Etes vous "
    "sûr ?";

const char* const AutostartFailed = "Modification du lancement automatique impossible !";

} // namespace

void CMain::ShowActive(bool on)
{
    active = on ? 1 : 0;
    SetText(IDC_TITLE_ACTIVE, on ? "Programmes activés" : "Programmes désactivés");
    SetText(IDC_BUTTON_ACTIVE, on ? "Désactiver" : "Activer");
}

void CMain::WriteActive()
{
    if (RegKey settings = services.OpenSettings(true))
        WriteActiveValue(settings.Get(), active != 0);
}

void CMain::ToggleActive()
{
    // The switch is not pressed twice while a change is still being carried out.
    if (autostart.Pending())
        return;
    const bool on = active == 0;
    if (!on && ShowMessage(SwitchOffQuestion, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
    {
        // A quit during the question is final: nothing more is written.
        if (!book.QuitBegun())
            WriteActive();
        return;
    }
    if (book.QuitBegun())
        return;
    // The switch keeps the state the user chose; only the start with the session may fail to follow it.
    ShowActive(on);
    switch (autostart.Change(hWnd, on))
    {
    case AutostartSwitch::Outcome::Done: break;
    case AutostartSwitch::Outcome::Failed: ShowMessage(AutostartFailed, MB_OK | MB_ICONERROR); break;
    case AutostartSwitch::Outcome::Pending:
        autostartTimedOut = false;
        EnableWindow(GetDlgItem(IDC_BUTTON_ACTIVE).hWnd, FALSE);
        SetTimer(hWnd, AutostartTimer, elevatedSwitchTimeout, nullptr);
        break;
    }
    if (!book.QuitBegun())
        WriteActive();
}

void CMain::OnAutostartTimeOut()
{
    KillTimer(hWnd, AutostartTimer);
    if (!autostart.Pending())
        return;
    // No answer in time (a prompt left open): the user is told now; the switch stays unavailable until the
    // run ends, and then shows what it did.
    autostartTimedOut = true;
    ShowMessage(AutostartFailed, MB_OK | MB_ICONERROR);
}

void CMain::OnAutostartEnded()
{
    // The wake-up says only that the run may have ended: the switch itself knows.
    if (!autostart.Pending())
        return;
    const AutostartSwitch::Outcome outcome = autostart.Finish();
    if (outcome == AutostartSwitch::Outcome::Pending)
        return;
    KillTimer(hWnd, AutostartTimer);
    EnableWindow(GetDlgItem(IDC_BUTTON_ACTIVE).hWnd, TRUE);
    if (book.QuitBegun())
        return;
    if (autostartTimedOut)
    {
        // The user was told it failed; the run may have made the change all the same.
        ShowActive(AutostartEntryExists(AppCaption));
        WriteActive();
    }
    else if (outcome == AutostartSwitch::Outcome::Failed)
    {
        ShowMessage(AutostartFailed, MB_OK | MB_ICONERROR);
    }
}
