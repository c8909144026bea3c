#pragma once

#include "schedule/Settings_win.h"

#include <string>

// Registry and files as a first start finds them.
inline void ResetSettings()
{
    if (RegKey key = OpenSettingsKey())
    {
        RegDeleteValueA(key.Get(), "Media List");
        RegDeleteValueA(key.Get(), "Program List");
        RegDeleteValueA(key.Get(), "Active");
        char dataFolder[TextFieldSize] = {};
        const std::string programFile = PrepareDataFolder(key.Get(), dataFolder);
        DeleteFileA(programFile.c_str());
        DeleteFileA((std::string(dataFolder) + "media.asx").c_str());
        RegDeleteValueA(key.Get(), "Program List");
    }
    if (RegKey run = OpenMachineKey(RunKeyPath))
        RegDeleteValueA(run.Get(), "Sylvane Programmateur");
}
