// One started chronel.exe and its scheduler dialog, worked through window messages the way the mouse and the
// keyboard would work them.
#pragma once

#include "Desktop.h"

#include <windows.h>

#include <string>
#include <vector>

namespace e2e
{

// Control ids of the scheduler dialog, commands and messages of the main window.
namespace ids
{
inline constexpr int Ok = 1;
inline constexpr int ActiveButton = 1003;
inline constexpr int LoadButton = 1004;
inline constexpr int MediaList = 1005;
inline constexpr int ProgramList = 1006;
inline constexpr int Monday = 1007; // ... Sunday = 1013
inline constexpr int Clock = 1014;
inline constexpr int AllDays = 1015;
inline constexpr int Hour = 1016;
inline constexpr int Minute = 1017;
inline constexpr int AddButton = 1022;
inline constexpr int RemoveButton = 1024;
inline constexpr int ActiveLabel = 1025;
inline constexpr int ListLabel = 1027;
inline constexpr int ProgramName = 1031;
inline constexpr int RepeatYes = 1038;
inline constexpr int RepeatNo = 1039;
inline constexpr int ConfirmYes = 1040;
inline constexpr int InfoName = 1047;
inline constexpr int InfoDays = 1048;
inline constexpr int InfoTime = 1049;
inline constexpr int InfoConfirm = 1050;
inline constexpr int ConfirmNo = 1051;
inline constexpr int QuitButton = 1052;
inline constexpr int PlayerButton = 1053;
inline constexpr int SiteButton = 1054;
inline constexpr int InfoMedia = 1055;
inline constexpr int InfoRepeat = 1056;

inline constexpr UINT TrayCallback = 0x800A;
inline constexpr WPARAM TrayIconId = 109;
inline constexpr WPARAM OpenScheduler = 32778;
} // namespace ids

class Chronel
{
public:
    // Starts the program under test (or another chronel.exe, such as an installed one) and waits until its
    // windows exist and it has gone idle (in its message loop, or in a message box shown while starting).
    explicit Chronel(const std::string& program = std::string());
    ~Chronel();
    Chronel(const Chronel&) = delete;
    Chronel& operator=(const Chronel&) = delete;

    DWORD Process() const { return processId; }
    HWND Main() const { return mainWindow; }
    HWND Dialog() const { return dialog; }
    HWND Control(int id) const;

    std::string Text(int id) const;
    // The text of a control that shows a path, in UTF-8.
    std::string PathText(int id) const;
    void Type(int id, const std::string& text) const;
    // Empties the control and types the text key by key through the program's message loop.
    void TypeKeys(int id, const std::string& text) const;
    bool Checked(int id) const;
    std::vector<std::string> Items(int listId) const;
    int Selection(int listId) const;

    // A click that may open a modal window: posted, so the driver is never held by the box it opened.
    void Press(int id) const;
    // A click on a check box or radio button, finished when it returns.
    void Tick(int id) const;
    void SelectMedia(const std::string& title) const;
    void SelectProgram(const std::string& name) const;
    void ClearProgramSelection() const;
    void CheckDay(int dayIndex) const;

    // The scheduler's 30-second timer message, sent as the system would send it.
    void TimerTick() const;
    // The tray icon's messages as the shell reports them to the main window.
    void TrayMessage(UINT mouseMessage) const;
    // Opens the scheduler window from the tray icon and waits until it shows.
    void OpenWindow() const;
    bool WindowShown() const;
    // Waits until every message the program has been sent or posted so far has been handled.
    void Settle() const;

    MessageBoxView WaitForMessage(const std::string& context, DWORD timeout = StepTimeout) const;
    bool Running() const;
    // Milliseconds since the program was started: its own scheduler timer first runs after 30 s.
    DWORD Age() const { return GetTickCount() - startTick; }
    // Waits for the process to end and returns its exit code.
    DWORD WaitForExit(DWORD timeout = StepTimeout) const;
    void Kill();

private:
    void SelectItem(int listId, const std::string& text, const char* listName) const;
    PROCESS_INFORMATION process = {};
    DWORD processId = 0;
    DWORD startTick = GetTickCount();
    HWND mainWindow = nullptr;
    HWND dialog = nullptr;
};

// Starts chronel.exe once more and returns its exit code (for a start that must end at once).
DWORD RunOnceMore(DWORD timeout = StepTimeout, const std::string& arguments = std::string());

// Ends every scheduler process of this prefix that is still running (and with it any box it shows).
void EndLeftoverSchedulers();

} // namespace e2e
