#include "app/Application.h"

// The command line and the show command are ignored: the program always starts in the notification area.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return RunApplication(instance);
}
