#pragma once

#include "ui/framework/Wnd.h"
#include "ui/main/MainDialog.h"
#include "ui/tray/SystemTray.h"

#include <windows.h>

// The process-wide objects, constructed before the entry point in this order and destroyed in reverse.
extern CWnd mainWindowObject;
extern CMain mainDialog;
extern CSystemTray trayManager;

void RegisterMainWindowClass(HINSTANCE instance);
// Creates the fonts, the hidden main window, the scheduler dialog inside it and the tray icon; 0 on failure.
BOOL InitInstance(HINSTANCE instance);
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The whole program: from the common controls to the end of the message loop. Returns the exit code.
int RunApplication(HINSTANCE instance);

// What the command line asks for. The program has two options, for installers and for its own switch; any
// other command line starts the scheduler, as a plain start does.
enum class StartRequest
{
    Run,
    Quit,         // "/quit"
    AutostartOn,  // "/autostart on"
    AutostartOff, // "/autostart off"
    BadAutostart, // "/autostart" with anything else: nothing is changed
};
// Words in any case, blanks around and between them allowed.
StartRequest ReadStartRequest(const char* commandLine);

// Asks the scheduler running in this session to save its programmes, take its icon away and end without the
// quit question, and waits for it at most `timeout` ms. 0 when it ended or none was running; 1 when it could
// not save (it keeps running), did not end in time, or runs with other rights and cannot be asked.
int QuitRunningInstance(DWORD timeout = 10000);

// Writes (on) or deletes (off) this program's autostart value and nothing else, with no window: what the
// switch runs with administrator rights. 0 when done, 1 otherwise.
int SwitchAutostart(HINSTANCE instance, bool on);
