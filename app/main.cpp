#include "app/Application.h"

// The show command is ignored: the program always starts in the notification area. The one option, /quit,
// ends the scheduler running in this session instead (installers use it).
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    if (IsQuitRequest(commandLine))
        return QuitRunningInstance();
    return RunApplication(instance);
}
