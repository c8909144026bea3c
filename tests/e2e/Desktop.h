// The desktop as the user sees it, read and worked from another process: windows found with deadlines, texts
// read and typed across processes, message boxes, the open-file dialog, popup menus, the notification area
// and screenshots.
#pragma once

#include "../Wait.h"

#include <windows.h>

#include <string>
#include <vector>

namespace e2e
{

// Every step waits with the tests' one wait helper (StepTimeout, WaitFor).
using ::StepTimeout;
using ::WaitFor;

DWORD ProcessOf(HWND window);
std::string ClassOf(HWND window);
// Every top-level window of a process, shown or not; and the same as text, for failure messages.
std::vector<HWND> ProcessWindows(DWORD process);
// Every top-level window of a class, shown or not. Windows are compared by their class names: Wine's
// FindWindow can miss a class registered by another process until this process has read that class's name
// once.
std::vector<HWND> WindowsOfClass(const char* className);
std::string DescribeWindows(DWORD process);
// The visible top-level windows of a class that belong to a process.
std::vector<HWND> TopWindows(DWORD process, const char* className);

// Window texts in the interface's code page 1252 (paths in UTF-8), through the wide messages, which Wine
// carries across processes and which no system code page alters.
std::string TextOf(HWND window);
std::string PathTextOf(HWND window);
void SetTextOf(HWND window, const std::string& text);
// The text as keys a user types: one character message each, posted to the window's queue as the keyboard's
// would be, so that it goes through the program's own message loop.
void TypeInto(HWND window, const std::string& text);
std::vector<std::string> ListItems(HWND list);
std::vector<LONG_PTR> ListItemData(HWND list);
int ListSelection(HWND list);

enum class BoxIcon
{
    None,
    Error,
    Warning,
    Question,
    Information,
    Unreadable,
};
const char* IconName(BoxIcon icon);

// A message box of the process under test, as shown on the screen.
struct MessageBoxView
{
    HWND window = nullptr;
    std::string caption;
    std::string text;
    BoxIcon icon = BoxIcon::Unreadable;
};

// Waits for a message box of `process`; `context` names the step in the failure message.
MessageBoxView WaitForMessageBox(DWORD process, const std::string& context, DWORD timeout = StepTimeout);
// True when no message box of `process` shows up within `period` ms.
bool NoMessageBoxWithin(DWORD process, DWORD period);
// Presses a button of the box by its id (IDOK, IDCANCEL) and waits until the box is gone.
void Answer(const MessageBoxView& box, int button);

// The open-file dialog of `process`: types a path (UTF-8) and confirms it, or cancels.
HWND WaitForFileDialog(DWORD process);
void ChooseFile(HWND dialog, const std::string& path);
void CancelFileDialog(HWND dialog);

// A popup menu of `process`, worked with the arrow keys and Enter as a user would.
HWND WaitForPopupMenu(DWORD process);
void ChooseMenuItem(HWND menu, int arrowKey, int presses);

// The taskbar's notification area. In Wine's virtual desktop the taskbar shows only while it holds icons.
HWND Taskbar();
// True when an icon is drawn in the notification area (the scheduler is the only program of the prefix that
// puts one there).
bool TrayIconShown();
// Rests the mouse on the rightmost icon and reads the tooltip that appears; empty when none appears.
std::string TrayIconTooltip();
// Mouse events on the rightmost icon, delivered to the taskbar as the mouse would.
void DoubleClickTrayIcon();
void RightClickTrayIcon();
// Wine's taskbar keeps the icon of a program that was killed while its window was parked until the mouse
// passes over it: passes the mouse over every place an icon can take and waits until none is drawn.
void ClearStaleTrayIcons();

// Saves the whole virtual desktop as <name>.bmp in the screenshots folder.
void SaveScreenshot(const std::string& name);

} // namespace e2e
