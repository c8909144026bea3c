#include "base/System_win.h"

#include "base/Text.h"

#include <cderr.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

bool LookUpAppDataFolder(std::string& folder)
{
    wchar_t path[MAX_PATH] = {};
    folder.clear();
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path)))
        return false;
    folder = PathFromWide(path);
    return !folder.empty();
}

std::string TemporaryFolder()
{
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, path);
    if (length == 0 || length > MAX_PATH)
        return std::string();
    return PathFromWide(std::wstring_view(path, length));
}

std::string ModulePath()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::string();
    return PathFromWide(std::wstring_view(path, length));
}

LONG WritePathValue(HKEY key, const char* name, std::string_view path)
{
    const std::wstring data = PathToWide(path);
    return RegSetValueExW(key, TextToWide(name).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

std::string ReadPathValue(HKEY key, const char* name, std::size_t limit)
{
    std::vector<wchar_t> path(limit + 1, L'\0');
    DWORD size = static_cast<DWORD>(limit * sizeof(wchar_t));
    DWORD type = 0;
    if (RegQueryValueExW(key, TextToWide(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(path.data()),
                         &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::string();
    // The value may or may not end in a zero, and may hold one before its end.
    const std::wstring_view read(path.data(), size / sizeof(wchar_t));
    const std::wstring_view text = read.substr(0, read.find(L'\0'));
    return text.size() < limit ? PathFromWide(text) : std::string();
}

bool ShellOpen(HWND owner, const std::string& file, const std::string& parameters)
{
    const HINSTANCE started =
        ShellExecuteW(owner, L"open", PathToWide(file).c_str(),
                      parameters.empty() ? nullptr : PathToWide(parameters).c_str(), nullptr, SW_SHOWNORMAL);
    // The shell reports success with a value above 32.
    return reinterpret_cast<INT_PTR>(started) > 32;
}

HANDLE ShellRun(HWND owner, const wchar_t* verb, const std::string& file, const std::string& parameters,
                ULONG mask, int show, DWORD& error)
{
    const std::wstring wideFile = PathToWide(file);
    const std::wstring wideParameters = PathToWide(parameters);
    SHELLEXECUTEINFOW run = {};
    run.cbSize = sizeof run;
    run.fMask = mask;
    run.hwnd = owner;
    run.lpVerb = verb;
    run.lpFile = wideFile.c_str();
    run.lpParameters = wideParameters.c_str();
    run.nShow = show;
    if (!ShellExecuteExW(&run))
    {
        error = GetLastError();
        return nullptr;
    }
    if (!run.hProcess && (mask & SEE_MASK_NOCLOSEPROCESS))
        error = ERROR_INVALID_HANDLE;
    return run.hProcess;
}

OpenFileAnswer AskForFileToOpen(HWND owner, std::string_view filter, DWORD flags, std::size_t limit)
{
    // The open-file dialog's library is loaded at the first use, not at every start of a program that sits in
    // the tray all day.
    static const HMODULE library = LoadLibraryW(L"comdlg32.dll");
    using OpenFileFn = BOOL(WINAPI*)(LPOPENFILENAMEW);
    using ErrorFn = DWORD(WINAPI*)();
    const auto openFile = reinterpret_cast<OpenFileFn>(
        reinterpret_cast<void*>(library ? GetProcAddress(library, "GetOpenFileNameW") : nullptr));
    const auto lastError = reinterpret_cast<ErrorFn>(
        reinterpret_cast<void*>(library ? GetProcAddress(library, "CommDlgExtendedError") : nullptr));
    if (!openFile || !lastError)
        return {FileChoice::Cancelled, std::string()};

    const std::wstring wideFilter = TextToWide(filter);
    std::vector<wchar_t> path(limit, L'\0');
    OPENFILENAMEW dialog = {};
#if !defined(_WIN64)
    static_assert(sizeof(OPENFILENAMEW) == 88, "the full open-file record");
#endif
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = wideFilter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(limit);
    dialog.Flags = flags;
    if (openFile(&dialog))
    {
        path.back() = L'\0';
        return {FileChoice::Chosen, PathFromWide(path.data())};
    }
    // A path longer than the buffer is no answer: the buffer then holds the size it would need, not a path.
    return {lastError() == FNERR_BUFFERTOOSMALL ? FileChoice::TooLong : FileChoice::Cancelled, std::string()};
}
