#include "schedule/Settings_win.h"

#include "schedule/DataFolder.h"

#include <shlobj.h>

#include <cstring>

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
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    // A path cut short would name another program.
    if (length == 0 || length >= sizeof path)
        return ERROR_INSUFFICIENT_BUFFER;
    const std::string command = "\"" + std::string(path, length) + "\"";
    return RegSetValueExA(run.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                          static_cast<DWORD>(command.size() + 1));
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

bool WriteStringValue(HKEY key, const char* name, const char* text)
{
    const DWORD size = static_cast<DWORD>(std::strlen(text) + 1);
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), size) == ERROR_SUCCESS;
}

bool WriteDwordValue(HKEY key, const char* name, DWORD value)
{
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
           ERROR_SUCCESS;
}

std::string ReadMediaListPath(HKEY key)
{
    char path[TextFieldSize] = {};
    DWORD size = sizeof path;
    DWORD type = 0;
    if (RegQueryValueExA(key, "Media List", nullptr, &type, reinterpret_cast<BYTE*>(path), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return std::string();
    return std::string(path, strnlen(path, TextFieldSize - 1));
}

bool WriteMediaListPath(HKEY key, const char* path)
{
    return WriteStringValue(key, "Media List", path);
}

bool LookUpAppDataFolder(char (&folder)[MAX_PATH])
{
    std::memset(folder, 0, sizeof folder);
    return SHGetSpecialFolderPathA(nullptr, folder, CSIDL_APPDATA, FALSE) != FALSE && folder[0] != 0;
}

std::string PrepareDataFolder(HKEY key, char (&dataFolder)[TextFieldSize], AppDataLookupFn lookUp)
{
    char appData[MAX_PATH] = {};
    if (!lookUp(appData))
        return std::string();
    const DataFolderPaths paths = BuildDataFolderPaths(std::string_view(appData, strnlen(appData, MAX_PATH)));
    if (paths.dataFolder.empty() || paths.dataFolder.size() >= TextFieldSize)
        return std::string();

    // Creating a folder that already exists is harmless, and a failure shows later, when a file is written.
    CreateDirectoryA(paths.makerFolder.c_str(), nullptr);
    CreateDirectoryA(paths.dataFolder.c_str(), nullptr);

    std::memset(dataFolder, 0, TextFieldSize);
    std::memcpy(dataFolder, paths.dataFolder.data(), paths.dataFolder.size());

    const std::string programFile = paths.dataFolder + ProgramFileName;
    if (key)
        WriteStringValue(key, "Program List", programFile.c_str());
    return programFile;
}
