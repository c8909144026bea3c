#pragma once

#include "base/Handles_win.h"

#include <windows.h>

#include <functional>
#include <memory>

// The start with Windows: writes or deletes this program's Run value, directly where the user may, else
// through "chronel.exe /autostart on|off" run with administrator rights. The system's prompt for those rights
// can stay open for minutes (a standard user goes to find an administrator): it is asked for, and the run
// waited for, on a thread of its own that only wakes the window when the run has ended. The scheduler's
// thread never waits: its ticks, saves and the quit go on meanwhile.
class AutostartSwitch
{
public:
    enum class Outcome
    {
        Done,
        Failed,
        Pending, // the elevated run goes on; `window` gets ID_AUTOSTART_ENDED when it has ended
    };

    AutostartSwitch();
    ~AutostartSwitch();
    AutostartSwitch(const AutostartSwitch&) = delete;
    AutostartSwitch& operator=(const AutostartSwitch&) = delete;

    // Makes the change; a second one while a run is pending starts nothing and fails.
    Outcome Change(HWND window, bool on);
    bool Pending() const { return run != nullptr; }
    // The pending run's outcome once it has ended (Pending while it has not): the window calls this when it
    // is woken, and whenever it likes.
    Outcome Finish();

    // The direct write or delete: ERROR_SUCCESS or the registry's error.
    std::function<LONG(bool on)> write;
    // Starts the elevated run, on the switch's own thread: the process, or none with the reason in `error`
    // (ERROR_CANCELLED when the user declined the prompt).
    std::function<UniqueKernelHandle(HWND owner, bool on, DWORD& error)> startElevated;

private:
    struct Run;
    static DWORD WINAPI Wait(void* run);
    std::shared_ptr<Run> run;
};
