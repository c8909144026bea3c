#pragma once

#include "base/Handles_win.h"
#include "base/System_win.h"
#include "schedule/ProgramRecord.h"

#include <windows.h>

#include <string>

inline constexpr const char* SettingsKeyPath = "SOFTWARE\\Merovia\\Sylvane Programs";
inline constexpr const char* RunKeyPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// Opens (creating it when absent) a key under HKEY_LOCAL_MACHINE with full access; empty on failure, with the
// registry's error in `error` when asked for. Every use of a key opens it for that use only and closes it
// when the RegKey goes.
RegKey OpenMachineKey(const char* path, LONG* error = nullptr);
inline RegKey OpenSettingsKey()
{
    return OpenMachineKey(SettingsKeyPath);
}
// Opens an existing key under HKEY_LOCAL_MACHINE for reading only; empty when it is not there or refused.
RegKey OpenMachineKeyForReading(const char* path);

// Writes (on) or deletes (off) the machine-wide autostart value `name`: the data is this executable's path in
// double quotes, so that a path with spaces cannot start a program named after its first words. A value that
// is not there is already off. Returns ERROR_SUCCESS or the registry's error (ERROR_ACCESS_DENIED where the
// user may not write the machine-wide Run key).
LONG SetAutostartEntry(const char* name, bool on);

// Whether the machine-wide autostart value `name` is there, as far as this user may read it.
bool AutostartEntryExists(const char* name);

// "Active": the activation switch's state, 1 or 0, for programs that read the settings.
bool WriteActiveValue(HKEY key, bool active);

// Writes a REG_SZ value holding a path (UTF-8), with its terminating zero; false when the registry refused
// it.
bool WriteStringValue(HKEY key, const char* name, const std::string& path);
bool WriteDwordValue(HKEY key, const char* name, DWORD value);

// "Media List": the path of the media list loaded last (UTF-8); empty when missing, empty, or of 260 UTF-16
// units or more (a path no file function takes).
std::string ReadMediaListPath(HKEY key);
bool WriteMediaListPath(HKEY key, const std::string& path);

// Asks for the user's application-data folder (base/System_win.h by default); false when it cannot be had.
using AppDataLookupFn = bool (*)(std::string& folder);

// Builds and creates the data folder, sets `dataFolder` to it (ending in a backslash) and writes
// "Program List" when there is a `key` to write it to. Returns the programme file's path that this start uses
// for both load and save, or an empty text when the application-data folder could not be found or the data
// folder would be 260 UTF-16 units or longer (then nothing is created and nothing written).
std::string PrepareDataFolder(HKEY key, std::string& dataFolder,
                              AppDataLookupFn lookUp = LookUpAppDataFolder);
