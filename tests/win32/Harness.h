#pragma once

// What the Win32 tests put around the code under test: one message pump and one stand-in for the
// application's main window.

#include <windows.h>

// Dispatches the messages waiting in this thread's queue, then those that arrive during the next `forMs`
// milliseconds. `first` and `last` narrow it to a range of messages, as PeekMessage's filter does: the rest
// stay in the queue for the test to read.
inline void PumpMessages(DWORD forMs = 0, UINT first = 0, UINT last = 0)
{
    const DWORD start = GetTickCount();
    for (;;)
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, first, last, PM_REMOVE))
        {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (GetTickCount() - start >= forMs)
            return;
        Sleep(10);
    }
}

// A hidden top-level window in the place of the application's main window: captioned, with a minimise
// box, every message left to the default procedure; shown when asked. It goes, with the windows it holds,
// when the object does.
class MainWindowStandIn
{
public:
    explicit MainWindowStandIn(bool visible = false)
    {
        static const ATOM windowClass = [] {
            WNDCLASSEXA c = {};
            c.cbSize = sizeof c;
            c.lpfnWndProc = DefWindowProcA;
            c.hInstance = GetModuleHandleA(nullptr);
            c.lpszClassName = "MainWindowStandIn";
            return RegisterClassExA(&c);
        }();
        handle = CreateWindowExA(0, MAKEINTATOM(windowClass), "Sylvane Programmateur",
                                 WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT, 0, CW_USEDEFAULT, 0,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (visible)
            ShowWindow(handle, SW_SHOW);
    }
    ~MainWindowStandIn()
    {
        if (IsWindow(handle))
            DestroyWindow(handle);
    }
    MainWindowStandIn(const MainWindowStandIn&) = delete;
    MainWindowStandIn& operator=(const MainWindowStandIn&) = delete;

    HWND Get() const { return handle; }

private:
    HWND handle = nullptr;
};
