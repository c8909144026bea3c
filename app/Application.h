#pragma once

#include "ui/framework/Wnd.h"
#include "ui/main/MainDialog.h"
#include "ui/tray/SystemTray.h"

#include <windows.h>

// The process-wide objects, constructed before the entry point in this order and destroyed in reverse.
extern CWnd mainWindowObject;
extern CMain mainDialog;
extern CSystemTray trayManager;

// The three ways the scheduler ends. They differ only in what they ask before it and what they show.
enum class QuitWay
{
    Confirmed, // "Quitter", the close box: asks the user; a failed save is shown and the quit goes on
    Requested, // "/quit": asks nothing; ends only with its programmes saved and within its request's deadline
    SessionEnd, // Windows ends the session: saves quietly and leaves the window and the icon to the system
};

// Saves the programmes (the last save: nothing is written after it), then takes the icon away and destroys
// the main window, which ends the loop. True when the scheduler ends, or is already ending further up this
// thread; false when it stays. `deadline` (a tick count, 0 for none) is a requested end's.
bool EndScheduler(HWND window, QuitWay way, DWORD deadline = 0);

// The whole program: from the common controls to the end of the message loop. Returns the exit code.
int RunApplication(HINSTANCE instance);

// Writes (on) or deletes (off) this program's autostart value and nothing else, with no window: what the
// switch runs with administrator rights. 0 when done, 1 otherwise.
int SwitchAutostart(HINSTANCE instance, bool on);
