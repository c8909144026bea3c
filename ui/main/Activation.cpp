// The activation switch: suspends the scheduler and removes the start with the user session, or restores
// both.
#include "ui/main/MainDialog.h"

#include "app/AppGlobals.h"
#include "resources/resource.h"
#include "schedule/Settings_win.h"

namespace
{

const char* const SwitchOffQuestion =
    "Si vous désactivez le programmateur, celui-ci ne sera plus actif durant cette "
    "session, et il ne sera plus démarré automatiquement par la suite. Etes vous "
    "sûr ?";

const char* const AutostartFailed = "Modification du lancement automatique impossible !";

// The autostart entry: the executable's path in double quotes, so that a path with spaces cannot start a
// program that happens to be named after its first words.
// Empty when the path cannot be had whole.
std::string AutostartCommand()
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return std::string();
    return "\"" + std::string(path, length) + "\"";
}

} // namespace

bool CMain::SetAutostart(bool on)
{
    RegKey run = OpenMachineKey(RunKeyPath);
    if (!run)
        return false;
    if (!on)
    {
        // A value that is not there is already what the user asked for.
        const LONG deleted = RegDeleteValueA(run.Get(), AppCaption);
        return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
    }
    const std::string command = AutostartCommand();
    return !command.empty() && WriteStringValue(run.Get(), AppCaption, command.c_str());
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
    else if (ShowMessage(SwitchOffQuestion, MB_OKCANCEL | MB_ICONQUESTION) == IDOK)
    {
        SetText(IDC_TITLE_ACTIVE, "Programmes désactivés");
        SetText(IDC_BUTTON_ACTIVE, "Activer");
        changed = SetAutostart(false);
    }
    else
    {
        active = 1;
    }
    // The switch keeps the state the user chose; only the start with the session could not follow it.
    if (!changed)
        ShowMessage(AutostartFailed, MB_OK | MB_ICONERROR);
    if (RegKey settings = OpenSettingsKey())
        WriteDwordValue(settings.Get(), "Active", active);
}
