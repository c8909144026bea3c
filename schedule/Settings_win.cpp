#include "schedule/Settings_win.h"

#include "base/FileSystem.h"
#include "base/Text.h"
#include "schedule/DataFolder.h"

RegKey OpenMachineKey(const char* path, LONG* error)
{
    HKEY key = nullptr;
    const LONG opened = RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (error)
        *error = opened;
    return opened == ERROR_SUCCESS ? RegKey(key) : RegKey();
}

RegKey OpenMachineKeyForReading(const char* path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return RegKey();
    return RegKey(key);
}

LONG SetAutostartEntry(const char* name, bool on)
{
    LONG error = ERROR_SUCCESS;
    RegKey run = OpenMachineKey(RunKeyPath, &error);
    if (!run)
        return error;
    if (!on)
    {
        error = RegDeleteValueA(run.Get(), name);
        return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;
    }
    // A path cut short would name another program.
    const std::string path = ModulePath();
    if (path.empty())
        return ERROR_INSUFFICIENT_BUFFER;
    return WritePathValue(run.Get(), name, "\"" + path + "\"");
}

bool AutostartEntryExists(const char* name)
{
    const RegKey run = OpenMachineKeyForReading(RunKeyPath);
    return run && RegQueryValueExA(run.Get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool WriteActiveValue(HKEY key, bool active)
{
    return WriteDwordValue(key, "Active", active ? 1 : 0);
}

bool WriteStringValue(HKEY key, const char* name, const std::string& path)
{
    return WritePathValue(key, name, path) == ERROR_SUCCESS;
}

bool WriteDwordValue(HKEY key, const char* name, DWORD value)
{
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
           ERROR_SUCCESS;
}

std::string ReadMediaListPath(HKEY key)
{
    return ReadPathValue(key, "Media List", TextFieldSize);
}

bool WriteMediaListPath(HKEY key, const std::string& path)
{
    return WriteStringValue(key, "Media List", path);
}

std::string PrepareDataFolder(HKEY key, std::string& dataFolder, AppDataLookupFn lookUp)
{
    std::string appData;
    if (!lookUp(appData))
        return std::string();
    const DataFolderPaths paths = BuildDataFolderPaths(appData);
    if (paths.dataFolder.empty() || WideLength(paths.dataFolder) >= TextFieldSize)
        return std::string();

    // Creating a folder that already exists is harmless, and a failure shows later, when a file is written.
    CreateFolder(paths.makerFolder);
    CreateFolder(paths.dataFolder);
    dataFolder = paths.dataFolder;

    const std::string programFile = paths.dataFolder + ProgramFileName;
    if (key)
        WriteStringValue(key, "Program List", programFile);
    return programFile;
}
