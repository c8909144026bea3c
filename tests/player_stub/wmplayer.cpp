// A stand-in for the media player in tests: records the command line it was started with, then exits.
// The record goes to the folder named by CHRONEL_PLAYER_LOG (else the stub's own folder) as
// "wmplayer-<process id>.txt", written under another name first so that a reader never sees half of it. The
// command line is read in UTF-16 and written in UTF-8, so that a path outside the system's code page is
// recorded as the player received it.
#include <windows.h>

#include <cstdio>
#include <string>

namespace
{

std::wstring LogFolder()
{
    wchar_t folder[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"CHRONEL_PLAYER_LOG", folder, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        return folder;
    if (GetModuleFileNameW(nullptr, folder, MAX_PATH) == 0)
        return L".";
    std::wstring own = folder;
    return own.substr(0, own.find_last_of(L'\\'));
}

std::string Utf8(const wchar_t* text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
    utf8.pop_back();
    return utf8;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const std::wstring base = LogFolder() + L"\\wmplayer-" + std::to_wstring(GetCurrentProcessId());
    const std::wstring partial = base + L".part";
    const std::string commandLine = Utf8(GetCommandLineW());
    std::FILE* file = _wfopen(partial.c_str(), L"wb");
    if (!file)
        return 1;
    const bool written = std::fwrite(commandLine.data(), 1, commandLine.size(), file) == commandLine.size();
    if (std::fclose(file) != 0 || !written)
        return 1;
    return MoveFileExW(partial.c_str(), (base + L".txt").c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
