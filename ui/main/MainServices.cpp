#include "ui/main/MainServices.h"

#include "base/Controls_win.h"
#include "schedule/Settings_win.h"
#include "schedule/TextField.h"
#include "scheduler/Clock_win.h"
#include "ui/framework/AppGlobals.h"

#include <commdlg.h>

DesktopServices& DesktopServices::Instance()
{
    static DesktopServices desktop;
    return desktop;
}

int DesktopServices::ShowMessage(HWND owner, const char* text, UINT style)
{
    return ShowMessageBox(owner, text, AppCaption, style);
}

OpenFileAnswer DesktopServices::ChooseMediaListFile(HWND owner)
{
    // Pairs of zero-terminated texts, the last followed by a second zero (the literal's own).
    static constexpr char Filter[] = "Sylvane Player (*.slv)\0*.slv\0"
                                     "Tessaly Player (*.tsl)\0*.tsl\0"
                                     "Tous les fichiers (*.*)\0*.*;\0";
    return AskForFileToOpen(owner, std::string_view(Filter, sizeof Filter),
                            OFN_EXPLORER | OFN_ENABLESIZING | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY,
                            TextFieldSize);
}

TickClock DesktopServices::ReadClock()
{
    return ReadLocalClock();
}

RegKey DesktopServices::OpenSettings(bool forWriting)
{
    return forWriting ? OpenSettingsKey() : OpenMachineKeyForReading(SettingsKeyPath);
}
