#pragma once

#include "base/Handles_win.h"
#include "base/System_win.h"
#include "scheduler/Tick.h"

#include <windows.h>

#include <string>

// What the scheduler dialog asks of the desktop around it: message boxes, the open-file dialog, the clock and
// the settings key. The application uses the desktop's own; tests script them.
class MainServices
{
public:
    virtual ~MainServices() = default;
    // A message box owned by `owner`, titled with the application caption; returns the button pressed.
    virtual int ShowMessage(HWND owner, const char* text, UINT style) = 0;
    // The open-file dialog for a media list: the path chosen (UTF-8), a cancel, or a path too long to hold.
    virtual OpenFileAnswer ChooseMediaListFile(HWND owner) = 0;
    // The local wall clock as the scheduler reads it.
    virtual TickClock ReadClock() = 0;
    // The settings key, created with full access or, where that is refused, opened for reading.
    virtual RegKey OpenSettings(bool forWriting) = 0;
};

// The real message boxes, open-file dialog, clock and registry.
class DesktopServices : public MainServices
{
public:
    static DesktopServices& Instance();

    int ShowMessage(HWND owner, const char* text, UINT style) override;
    OpenFileAnswer ChooseMediaListFile(HWND owner) override;
    TickClock ReadClock() override;
    RegKey OpenSettings(bool forWriting) override;
};
