#include "app/SingleInstance.h"

#include "app/Application.h"
#include "resources/resource.h"
#include "ui/framework/AppGlobals.h"

#include <cstring>

namespace
{

const char* const InstanceMutexName = "Local\\Merovia.Chronel.Scheduler";

// The end of a scheduler that has taken the request up (its window destroyed, its loop and its process
// ended) gets this share of the wait: a request taken up later is refused, so that no scheduler ends after
// "/quit" has answered that it stays.
constexpr DWORD EndingShare(DWORD timeout)
{
    return timeout / 10 * 3;
}

// Who holds this session's scheduler mutex, as seen from this process.
enum class RunningInstance
{
    None,
    Reachable,
    // A scheduler started with other rights: its mutex exists but may not be opened with full access, and its
    // windows refuse this process's messages.
    Unreachable,
};

RunningInstance ProbeRunningInstance()
{
    if (UniqueKernelHandle instanceMutex{OpenMutexA(MUTEX_ALL_ACCESS, FALSE, InstanceMutexName)})
        return RunningInstance::Reachable;
    if (GetLastError() == ERROR_ACCESS_DENIED)
        return RunningInstance::Unreachable;
    UniqueKernelHandle visible{OpenMutexA(SYNCHRONIZE, FALSE, InstanceMutexName)};
    return visible ? RunningInstance::Unreachable : RunningInstance::None;
}

bool IsMainWindowClass(HWND window)
{
    char className[sizeof AppClassName] = {};
    return GetClassNameA(window, className, sizeof className) && std::strcmp(className, AppClassName) == 0;
}

// The running scheduler's main window: top-level while it is open, a child of the invisible parking window
// while it sits in the tray. Class names are compared one by one: searching by class name does not find
// another process's window class under every system.
BOOL CALLBACK FindMainWindow(HWND window, LPARAM found)
{
    if (IsMainWindowClass(window))
    {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    if (!::GetParent(window))
        EnumChildWindows(window, FindMainWindow, found);
    return *reinterpret_cast<HWND*>(found) ? FALSE : TRUE;
}

// The running scheduler's main window, waiting up to `timeout` ms for one that is still starting.
HWND FindRunningInstance(DWORD timeout)
{
    const DWORD started = GetTickCount();
    for (;;)
    {
        HWND running = nullptr;
        EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&running));
        if (running || GetTickCount() - started >= timeout)
            return running;
        Sleep(100);
    }
}

// What a scheduler makes of a request; Unanswered when its window went before it could answer (another quit
// ended it) or it did not answer in time.
enum class QuitAnswer
{
    Stays = 0,
    Ending = 1,
    Unanswered,
};

QuitAnswer AskToQuit(HWND window, DWORD deadline, DWORD wait)
{
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window, WM_COMMAND, ID_QUIT_QUIETLY, static_cast<LPARAM>(deadline), SMTO_NORMAL,
                             wait, &answer))
        return QuitAnswer::Unanswered;
    return answer != 0 ? QuitAnswer::Ending : QuitAnswer::Stays;
}

} // namespace

bool ClaimInstanceMutex(UniqueKernelHandle& mutex)
{
    const HANDLE handle = CreateMutexA(nullptr, FALSE, InstanceMutexName);
    const DWORD created = GetLastError();
    mutex = UniqueKernelHandle{handle};
    if (mutex)
        return created != ERROR_ALREADY_EXISTS;
    return created != ERROR_ACCESS_DENIED && ProbeRunningInstance() == RunningInstance::None;
}

bool WakeRunningInstance()
{
    AllowSetForegroundWindow(ASFW_ANY);
    const HWND running = FindRunningInstance(5000);
    return running && PostMessageA(running, WM_COMMAND, ID_OPEN_SCHEDULER, 0);
}

int QuitRunningInstance(DWORD timeout)
{
    const DWORD started = GetTickCount();
    const auto left = [&] {
        const DWORD spent = GetTickCount() - started;
        return spent < timeout ? timeout - spent : 0;
    };
    // Zero is "no deadline".
    const DWORD deadline = (started + timeout - EndingShare(timeout)) | 1;
    // The scheduler holds its mutex until its process ends: while the mutex exists, one is running, starting
    // or ending, and the answer waits for it.
    for (;;)
    {
        const RunningInstance running = ProbeRunningInstance();
        if (running == RunningInstance::None)
            return 0;
        // One started with other rights cannot be asked from here: it is running, and it will not end.
        if (running == RunningInstance::Unreachable || left() == 0)
            return 1;
        if (const HWND window = FindRunningInstance(0))
        {
            DWORD processId = 0;
            GetWindowThreadProcessId(window, &processId);
            const UniqueKernelHandle process{OpenProcess(SYNCHRONIZE, FALSE, processId)};
            switch (process ? AskToQuit(window, deadline, left()) : QuitAnswer::Unanswered)
            {
            case QuitAnswer::Stays: return 1;
            case QuitAnswer::Ending:
                return WaitForSingleObject(process.Get(), left()) == WAIT_OBJECT_0 ? 0 : 1;
            case QuitAnswer::Unanswered: break;
            }
        }
        Sleep(100);
    }
}

LRESULT AnswerQuitRequest(HWND window, LPARAM deadline)
{
    return EndScheduler(window, QuitWay::Requested, static_cast<DWORD>(deadline)) ? 1 : 0;
}
