#include "scheduler/Launch_win.h"

#include "scheduler/Playlist.h"

#include <shellapi.h>

void LaunchProgram(HWND owner, const ProgramRecord& record, const char* dataFolder, const AskFn& ask)
{
    if (record.confirm != 0)
    {
        const int answer = ask ? ask(ConfirmationQuestion(record), MB_OKCANCEL | MB_ICONQUESTION) : IDCANCEL;
        if (answer != IDOK)
            return;
    }

    const std::string playlist = PlaylistPath(dataFolder);
    if (!WritePlaylistFile(playlist, PlaylistText(record)))
        return;

    // The player is outside this system: nothing is expected back, and a failure to start it is not reported.
    ShellExecuteA(owner, "open", "wmplayer.exe", PlayerParameters(playlist).c_str(), nullptr, SW_SHOWNORMAL);
}
