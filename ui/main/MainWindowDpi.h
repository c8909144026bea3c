#pragma once

#include <windows.h>

class CMain;

// The main window and its dialog across DPI changes, and the window's place on its screen.

// WM_DPICHANGED: the dialog laid out for `dpi`, the window at the place Windows suggests with the size the
// dialog needs.
void OnMainWindowDpiChanged(HWND window, CMain& dialog, unsigned dpi, const RECT& suggested);
// WM_GETDPISCALEDSIZE (Windows 10 1703 and later): the window's size at a coming DPI, so that the place
// Windows then suggests fits it. True when `size` was set.
bool MainWindowSizeAtDpi(HWND window, const CMain& dialog, unsigned dpi, SIZE& size);
// After the window comes back from the tray: it was parked while away, and the DPI of its screen may have
// changed meanwhile (the scaling changed, or the screen it was on is another now).
void FollowWindowDpi(HWND window, CMain& dialog);
// Moves the window within the work area of its screen where it sticks out (it keeps its place otherwise).
void KeepInWorkArea(HWND window);
