#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

// What the program asks of Windows about paths, each through the wide function: the folders of this user and
// this program, the registry values that hold paths, the shell and the open-file dialog. Paths come and go as
// UTF-8 (base/Text.h), so a folder or a user name outside the system's ANSI code page is kept exactly.

// The user's application-data folder (CSIDL_APPDATA); false when it cannot be had.
bool LookUpAppDataFolder(std::string& folder);
// The user's temporary folder, ending in a backslash; empty when there is none.
std::string TemporaryFolder();
// This program's own path; empty when it does not fit MAX_PATH (a path cut short would name another file).
std::string ModulePath();

// A REG_SZ value holding a path, written through RegSetValueExW: a later RegQueryValueExW reads it right on
// any code page. Returns ERROR_SUCCESS or the registry's error.
LONG WritePathValue(HKEY key, const char* name, std::string_view path);
// A REG_SZ value holding a path: empty when missing, of another type, or longer than `limit` - 1 units. A
// value once written through the ANSI function is read back as Windows converted it then, from the system's
// ANSI code page, which is the path it named.
std::string ReadPathValue(HKEY key, const char* name, std::size_t limit);

// ShellExecuteW's "open" of `file` with `parameters` (a command line: paths in it are UTF-8); false when the
// shell could not start it.
bool ShellOpen(HWND owner, const std::string& file, const std::string& parameters);
// ShellExecuteExW with `verb`, `mask` and `show`: the process when the mask asks for it, else null; on
// failure null with the reason in `error`.
HANDLE ShellRun(HWND owner, const wchar_t* verb, const std::string& file, const std::string& parameters,
                ULONG mask, int show, DWORD& error);

// The open-file dialog (GetOpenFileNameW; its library is loaded at the first use). `filter` is the program's
// text of zero-separated pairs ending in two zeros. A path of `limit` units or more is too long to hold.
enum class FileChoice
{
    Chosen,
    Cancelled,
    TooLong,
};
struct OpenFileAnswer
{
    FileChoice choice;
    std::string path;
};
OpenFileAnswer AskForFileToOpen(HWND owner, std::string_view filter, DWORD flags, std::size_t limit);
