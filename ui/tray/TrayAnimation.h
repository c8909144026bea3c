#pragma once

#include <windows.h>

// The hidden popup into which windows minimised to the tray are re-parented; created on first use.
extern HWND parkingWindow;

// Shrinks the window towards the notification area and takes it off the screen and the taskbar.
void AnimateIntoTray(HWND window);
// Grows the window out of the notification area back to its last place and makes it the foreground window.
void AnimateOutOfTray(HWND window);

// Fills the rectangle with the notification area's screen rectangle, or with the best guess at it. When the
// only answer is an app-bar edge the system does not name, the rectangle is left as it was.
void LocateNotificationArea(RECT* area);
// Enumeration callback over the taskbar's descendants; the LPARAM is the RECT being narrowed.
BOOL CALLBACK NotificationAreaProbe(HWND child, LPARAM area);
// Re-parents the window into the parking window; 0 when the parking window cannot be created.
int ParkWindow(HWND window);
