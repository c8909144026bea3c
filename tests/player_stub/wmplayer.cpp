// A stand-in for the media player in tests: records the command line it was started with, then exits.
// The record goes to the folder named by CHRONEL_PLAYER_LOG (else the stub's own folder) as
// "wmplayer-<process id>.txt", written under another name first so that a reader never sees half of it.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace
{

std::string LogFolder()
{
    char folder[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("CHRONEL_PLAYER_LOG", folder, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        return folder;
    if (GetModuleFileNameA(nullptr, folder, MAX_PATH) == 0)
        return ".";
    std::string own = folder;
    return own.substr(0, own.find_last_of('\\'));
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const std::string base = LogFolder() + "\\wmplayer-" + std::to_string(GetCurrentProcessId());
    const std::string partial = base + ".part";
    const char* commandLine = GetCommandLineA();
    std::FILE* file = std::fopen(partial.c_str(), "wb");
    if (!file)
        return 1;
    const std::size_t length = std::strlen(commandLine);
    const bool written = std::fwrite(commandLine, 1, length, file) == length;
    if (std::fclose(file) != 0 || !written)
        return 1;
    return MoveFileExA(partial.c_str(), (base + ".txt").c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
