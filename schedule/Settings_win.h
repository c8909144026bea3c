#pragma once

#include "schedule/ProgramRecord.h"
#include "base/Handles_win.h"

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

// Writes a REG_SZ value with its terminating zero; false when the registry refused it.
bool WriteStringValue(HKEY key, const char* name, const char* text);
bool WriteDwordValue(HKEY key, const char* name, DWORD value);

// "Media List": the path of the media list loaded last; empty when missing or empty. At most 260 bytes are
// read and at most 259 characters kept.
std::string ReadMediaListPath(HKEY key);
bool WriteMediaListPath(HKEY key, const char* path);

// Asks for the user's application-data folder; false when it cannot be had.
using AppDataLookupFn = bool (*)(char (&folder)[MAX_PATH]);
bool LookUpAppDataFolder(char (&folder)[MAX_PATH]);

// Builds and creates the data folder, fills `dataFolder` with it (ending in a backslash) and writes
// "Program List" when there is a `key` to write it to. Returns the programme file's path that this start uses
// for both load and save, or an empty text when the application-data folder could not be found (then nothing
// is created and nothing written).
std::string PrepareDataFolder(HKEY key, char (&dataFolder)[TextFieldSize],
                              AppDataLookupFn lookUp = LookUpAppDataFolder);
