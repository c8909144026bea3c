#include "scheduler/Launch_win.h"

#include "scheduler/Playlist.h"

#include <shellapi.h>

#include <cstring>

std::string PlaylistFolder(const char* dataFolder)
{
    if (dataFolder && dataFolder[0] != '\0')
        return std::string(dataFolder, strnlen(dataFolder, TextFieldSize - 1));
    char temporary[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(sizeof temporary, temporary);
    if (length == 0 || length >= sizeof temporary)
        return std::string();
    return std::string(temporary, length);
}

LaunchResult LaunchProgram(HWND owner, const ProgramRecord& record, const char* dataFolder, const AskFn& ask)
{
    if (record.confirm != 0)
    {
        const int answer = ask ? ask(ConfirmationQuestion(record), MB_OKCANCEL | MB_ICONQUESTION) : IDCANCEL;
        if (answer != IDOK)
            return LaunchResult::Declined;
    }

    const std::string folder = PlaylistFolder(dataFolder);
    if (folder.empty())
        return LaunchResult::Failed;
    const std::string playlist = PlaylistPath(folder.c_str());
    if (!WritePlaylistFile(playlist, PlaylistText(record)))
        return LaunchResult::Failed;

    // ShellExecute reports success with a value above 32.
    const HINSTANCE started = ShellExecuteA(owner, "open", "wmplayer.exe", PlayerParameters(playlist).c_str(),
                                            nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(started) > 32 ? LaunchResult::Started : LaunchResult::Failed;
}
