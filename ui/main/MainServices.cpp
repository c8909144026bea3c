#include "ui/main/MainServices.h"

#include "schedule/Settings_win.h"
#include "schedule/TextField.h"
#include "scheduler/Clock_win.h"
#include "ui/framework/AppGlobals.h"

#include <commdlg.h>

#include <cstring>

DesktopServices& DesktopServices::Instance()
{
    static DesktopServices desktop;
    return desktop;
}

int DesktopServices::ShowMessage(HWND owner, const char* text, UINT style)
{
    return MessageBoxA(owner, text, AppCaption, style);
}

std::string DesktopServices::ChooseMediaListFile(HWND owner)
{
    char path[TextFieldSize] = {};
    OPENFILENAMEA dialog = {};
#if !defined(_WIN64)
    static_assert(sizeof(OPENFILENAMEA) == 88, "the full open-file record");
#endif
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = "Sylvane Player (*.slv)\0*.slv\0"
                         "Tessaly Player (*.tsl)\0*.tsl\0"
                         "Tous les fichiers (*.*)\0*.*;\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    // The open-file dialog's library is loaded at the first "Charger", not at every start of a program that
    // sits in the tray all day.
    static const HMODULE library = LoadLibraryA("comdlg32.dll");
    using OpenFileFn = BOOL(WINAPI*)(LPOPENFILENAMEA);
    const auto openFile = reinterpret_cast<OpenFileFn>(
        reinterpret_cast<void*>(library ? GetProcAddress(library, "GetOpenFileNameA") : nullptr));
    if (!openFile)
        return std::string();
    openFile(&dialog);
    return std::string(path, strnlen(path, sizeof path - 1));
}

TickClock DesktopServices::ReadClock()
{
    return ReadLocalClock();
}

RegKey DesktopServices::OpenSettings(bool forWriting)
{
    return forWriting ? OpenSettingsKey() : OpenMachineKeyForReading(SettingsKeyPath);
}
