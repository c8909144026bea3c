// The one way the Windows tests wait for something another part of the system does (a player started, a
// window gone, a message posted): a condition polled against a deadline long enough for 32-bit Wine under
// qemu, where a first use of a code path can take seconds. A passing check never waits for the deadline.
#pragma once

#include <windows.h>

inline constexpr DWORD StepTimeout = 30000;

// Polls `condition` every 50 ms until it holds or `timeout` ms have passed; true when it held.
template <class Condition> bool WaitFor(Condition condition, DWORD timeout = StepTimeout)
{
    const DWORD start = GetTickCount();
    for (;;)
    {
        if (condition())
            return true;
        if (GetTickCount() - start >= timeout)
            return false;
        Sleep(50);
    }
}
