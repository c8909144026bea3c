#include "scheduler/Launch_win.h"

#include "base/System_win.h"
#include "scheduler/Playlist.h"

std::string PlaylistFolder(const std::string& dataFolder)
{
    return dataFolder.empty() ? TemporaryFolder() : dataFolder;
}

LaunchResult LaunchProgram(HWND owner, const ProgramRecord& record, const std::string& dataFolder,
                           const AskFn& ask)
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
    const std::string playlist = PlaylistPath(folder);
    if (!WritePlaylistFile(playlist, PlaylistText(record)))
        return LaunchResult::Failed;
    return ShellOpen(owner, "wmplayer.exe", PlayerParameters(playlist)) ? LaunchResult::Started
                                                                        : LaunchResult::Failed;
}
