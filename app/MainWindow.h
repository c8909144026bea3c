#pragma once

#include <windows.h>

// The hidden main window that carries the scheduler dialog and owns the tray icon: its class, its procedure,
// and its size and place around the dialog.

void RegisterMainWindowClass(HINSTANCE instance);
// Creates the fonts, the hidden main window, the scheduler dialog inside it and the tray icon; 0 on failure.
BOOL InitInstance(HINSTANCE instance);
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
