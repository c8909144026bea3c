#pragma once

#include <windows.h>

// The display scaling functions of Windows 8.1 and 10, looked up when first used: the program also runs where
// they do not exist (Windows 7 and 8), and there the answers are those of the one system-wide DPI.

// The messages of a DPI change (the headers name them only for newer targets).
constexpr UINT DpiChangedMessage = 0x02E0;       // WM_DPICHANGED: wParam's high word is the new DPI
constexpr UINT GetDpiScaledSizeMessage = 0x02E4; // WM_GETDPISCALEDSIZE: the size wanted at a coming DPI

// The DPI the process was started with (the primary screen's at log-on).
UINT SystemDpi();
// The DPI a window is drawn at: its screen's for a per-monitor aware program, else the system's.
UINT WindowDpi(HWND window);
// The window rectangle around a client rectangle, with the caption and borders of `dpi`; where the system
// cannot say (before Windows 10 1607), those of the system DPI.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi);
// Tells Windows 10 (1703 and later) to leave a dialog's DPI changes to the program: neither the dialog nor
// its controls are resized, moved or sent a font of the system's making.
void TakeOverDialogScaling(HWND dialog);
// The application's icon group `id` at the system's small-icon size (the notification area's and a
// caption's), from the group's own image of that size where it has one. Loaded once, kept for the process.
HICON SmallIcon(HINSTANCE instance, int id);
