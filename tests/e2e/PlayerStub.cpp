// Stands in for the platform's media player during the end-to-end scenarios: appends the command line it was
// started with, one line per start, to the file that CHRONEL_E2E_PLAYER_LOG names, and exits at once. The
// variable reaches it through the scheduler's environment, which the driver set when it started the
// scheduler.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char logPath[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("CHRONEL_E2E_PLAYER_LOG", logPath, sizeof logPath);
    if (length == 0 || length >= sizeof logPath)
        return 2;
    HANDLE log = CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE)
        return 3;
    const char* commandLine = GetCommandLineA();
    DWORD written = 0;
    WriteFile(log, commandLine, lstrlenA(commandLine), &written, nullptr);
    WriteFile(log, "\n", 1, &written, nullptr);
    CloseHandle(log);
    return 0;
}
