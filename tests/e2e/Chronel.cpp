#include "Chronel.h"

#include "Machine.h"

namespace e2e
{

namespace
{

constexpr DWORD StartTimeout = 120000;

PROCESS_INFORMATION Launch(const std::string& arguments = std::string(), std::string program = std::string())
{
    if (program.empty())
        program = Paths().program;
    std::wstring commandLine = WidePath("\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments));
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    // The work folder as current folder: the player must be found beside the program, not in the current
    // folder.
    if (!CreateProcessW(WidePath(program).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        WidePath(Paths().work).c_str(), &startup, &process))
        throw BenchError("cannot start " + program + " (error " + std::to_string(GetLastError()) + ")");
    CloseHandle(process.hThread);
    process.hThread = nullptr;
    return process;
}

} // namespace

Chronel::Chronel(const std::string& program)
    : process(Launch(std::string(), program)), processId(process.dwProcessId)
{
    const bool started = WaitFor(
        [&] {
            for (HWND window : WindowsOfClass("CHRONEL"))
                if (ProcessOf(window) == processId)
                    mainWindow = window;
            if (mainWindow)
                dialog = FindWindowExA(mainWindow, nullptr, "#32770", nullptr);
            return dialog != nullptr || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
        },
        StartTimeout);
    if (!started || !dialog)
    {
        Kill();
        throw BenchError(
            "chronel.exe did not create its main window (class \"CHRONEL\") and scheduler dialog");
    }
    if (WaitForInputIdle(process.hProcess, StartTimeout) != 0)
    {
        Kill();
        throw BenchError("chronel.exe never went idle after starting");
    }
    Settle();
}

Chronel::~Chronel()
{
    Kill();
}

HWND Chronel::Control(int id) const
{
    HWND control = GetDlgItem(dialog, id);
    if (!control)
        throw BenchError("the scheduler dialog has no control " + std::to_string(id));
    return control;
}

std::string Chronel::Text(int id) const
{
    return TextOf(Control(id));
}

std::string Chronel::PathText(int id) const
{
    return PathTextOf(Control(id));
}

void Chronel::Type(int id, const std::string& text) const
{
    SetTextOf(Control(id), text);
}

void Chronel::TypeKeys(int id, const std::string& text) const
{
    SetTextOf(Control(id), "");
    TypeInto(Control(id), text);
    Settle();
}

bool Chronel::Checked(int id) const
{
    DWORD_PTR state = 0;
    if (!SendMessageTimeoutA(Control(id), BM_GETCHECK, 0, 0, SMTO_NORMAL, StepTimeout, &state))
        throw BenchError("control " + std::to_string(id) + " does not answer BM_GETCHECK");
    return state == BST_CHECKED;
}

std::vector<std::string> Chronel::Items(int listId) const
{
    return ListItems(Control(listId));
}

int Chronel::Selection(int listId) const
{
    return ListSelection(Control(listId));
}

void Chronel::Press(int id) const
{
    PostMessageA(Control(id), BM_CLICK, 0, 0);
}

void Chronel::Tick(int id) const
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(Control(id), BM_CLICK, 0, 0, SMTO_NORMAL, StepTimeout, &result))
        throw BenchError("control " + std::to_string(id) + " does not answer a click");
}

void Chronel::SelectMedia(const std::string& title) const
{
    SelectItem(ids::MediaList, title, "media");
}

void Chronel::SelectProgram(const std::string& name) const
{
    SelectItem(ids::ProgramList, name, "programme");
}

void Chronel::SelectItem(int listId, const std::string& text, const char* listName) const
{
    HWND list = Control(listId);
    const std::vector<std::string> items = ListItems(list);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i] == text)
        {
            // The list box tells its dialog of a selection made with the mouse.
            DWORD_PTR result = 0;
            SendMessageTimeoutA(list, LB_SETCURSEL, i, 0, SMTO_NORMAL, StepTimeout, &result);
            SendMessageTimeoutA(dialog, WM_COMMAND, MAKEWPARAM(listId, LBN_SELCHANGE),
                                reinterpret_cast<LPARAM>(list), SMTO_NORMAL, StepTimeout, &result);
            return;
        }
    throw BenchError(std::string("the ") + listName + " list box does not show \"" + text + "\"");
}

void Chronel::ClearProgramSelection() const
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(Control(ids::ProgramList), LB_SETCURSEL, static_cast<WPARAM>(-1), 0, SMTO_NORMAL,
                        StepTimeout, &result);
}

void Chronel::CheckDay(int dayIndex) const
{
    Tick(ids::Monday + dayIndex);
}

void Chronel::TimerTick() const
{
    PostMessageA(dialog, WM_TIMER, 1, 0);
}

void Chronel::TrayMessage(UINT mouseMessage) const
{
    PostMessageA(mainWindow, ids::TrayCallback, ids::TrayIconId, mouseMessage);
}

void Chronel::OpenWindow() const
{
    TrayMessage(WM_LBUTTONDBLCLK);
    if (!WaitFor([&] { return WindowShown(); }))
        throw BenchError("a double-click on the tray icon did not open the scheduler window");
    Settle();
}

bool Chronel::WindowShown() const
{
    return IsWindowVisible(mainWindow) != FALSE;
}

void Chronel::Settle() const
{
    Sleep(150);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, StepTimeout, &result))
        throw BenchError("the scheduler stopped answering messages");
}

MessageBoxView Chronel::WaitForMessage(const std::string& context, DWORD timeout) const
{
    return WaitForMessageBox(processId, context, timeout);
}

bool Chronel::Running() const
{
    return process.hProcess && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD Chronel::WaitForExit(DWORD timeout) const
{
    return WaitForExitCode(process.hProcess, timeout, "chronel.exe");
}

void Chronel::Kill()
{
    if (!process.hProcess)
        return;
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
    {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, StepTimeout);
    }
    CloseHandle(process.hProcess);
    process.hProcess = nullptr;
}

DWORD RunOnceMore(DWORD timeout, const std::string& arguments)
{
    PROCESS_INFORMATION process = Launch(arguments);
    const ScopedHandle owned{process.hProcess};
    return WaitForExitCode(process.hProcess, timeout, "a second chronel.exe");
}

void EndLeftoverSchedulers()
{
    // Windows and processes belong to this prefix's server: nothing of another prefix can be found here.
    for (int round = 0; round < 5; ++round)
    {
        bool found = false;
        for (const char* className : {"CHRONEL", "TrayIconClass"})
            for (HWND window : WindowsOfClass(className))
            {
                HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, ProcessOf(window));
                if (!process)
                    continue;
                found = true;
                TerminateProcess(process, 1);
                WaitForSingleObject(process, StepTimeout);
                CloseHandle(process);
            }
        if (!found)
            return;
    }
}

} // namespace e2e
