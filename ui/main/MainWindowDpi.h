#pragma once

#include <windows.h>

class CMain;

// The main window and its dialog across DPI changes, and the window's place on its screen.

// WM_DPICHANGED (the new DPI in wParam's high word, Windows' suggested window rectangle at lParam): the
// dialog laid out for the new DPI, the window at the suggested place with the size the dialog needs. Returns
// 0.
LRESULT OnMainWindowDpiChanged(HWND window, CMain& dialog, WPARAM wParam, LPARAM lParam);
// WM_GETDPISCALEDSIZE (Windows 10 1703 and later; the coming DPI in wParam, the SIZE to fill at lParam): the
// window's size at that DPI, so that the rectangle Windows then suggests fits the dialog. TRUE when answered.
LRESULT OnMainWindowGetDpiScaledSize(HWND window, const CMain& dialog, WPARAM wParam, LPARAM lParam);
// After the window comes back from the tray: it was parked while away, and the DPI of its screen may have
// changed meanwhile (the scaling changed, or the screen it was on is another now).
void FollowWindowDpi(HWND window, CMain& dialog);
// Sizes the window so that its client area takes exactly the dialog's size (it keeps its place).
void SizeAroundDialog(HWND window, HWND dialog);
// Moves the window within the work area of its screen where it sticks out (it keeps its place otherwise).
void KeepInWorkArea(HWND window);
