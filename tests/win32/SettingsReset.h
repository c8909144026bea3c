#pragma once

#include "base/FileSystem.h"
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
        std::string dataFolder;
        const std::string programFile = PrepareDataFolder(key.Get(), dataFolder);
        DeleteFileAt(programFile);
        DeleteFileAt(dataFolder + "media.asx");
        RegDeleteValueA(key.Get(), "Program List");
    }
    if (RegKey run = OpenMachineKey(RunKeyPath))
        RegDeleteValueA(run.Get(), "Sylvane Programmateur");
}
