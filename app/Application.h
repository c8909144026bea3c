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

// True when the command line is "/quit" (any case, blanks around it allowed).
bool IsQuitRequest(const char* commandLine);
// Asks the scheduler running in this session to save its programmes, take its icon away and end without the
// quit question, and waits for it at most `timeout` ms. 0 when it ended or none was running, 1 otherwise.
int QuitRunningInstance(DWORD timeout = 10000);
