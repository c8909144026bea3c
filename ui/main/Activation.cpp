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

void CMain::ToggleActive()
{
    {
        RegKey run = OpenMachineKey(RunKeyPath);
        active = active ? 0 : 1;
        if (active)
        {
            SetText(IDC_TITLE_ACTIVE, "Programmes activés");
            SetText(IDC_BUTTON_ACTIVE, "Désactiver");
            const std::string command = AutostartCommand();
            if (run && !command.empty())
                WriteStringValue(run.Get(), AppCaption, command.c_str());
        }
        else if (ShowMessage(SwitchOffQuestion, MB_OKCANCEL | MB_ICONQUESTION) == IDOK)
        {
            SetText(IDC_TITLE_ACTIVE, "Programmes désactivés");
            SetText(IDC_BUTTON_ACTIVE, "Activer");
            if (run)
                RegDeleteValueA(run.Get(), AppCaption);
        }
        else
        {
            active = 1;
        }
    }
    if (RegKey settings = OpenSettingsKey())
        WriteDwordValue(settings.Get(), "Active", active);
}
