#pragma once

#include "schedule/ProgramRecord.h"
#include "scheduler/Tick.h"

#include <windows.h>

#include <functional>
#include <string>

// Asks the user a question; returns the button pressed (IDOK, IDCANCEL...). The dialog passes a message box
// with its caption, tests an answer of their own.
using AskFn = std::function<int(const std::string& text, unsigned style)>;

// The folder the playlist goes to: the data folder, or the user's temporary folder when there is none
// (never a path relative to whatever the current folder is). Ends in a backslash; empty when neither exists.
std::string PlaylistFolder(const std::string& dataFolder);

// Starts a due programme: asks first when the record wants confirmation (only OK goes on), writes
// "media.asx" into the playlist folder and has the shell open "wmplayer.exe" with it. Says whether the user
// declined, or the playlist could not be written or the player could not be started.
LaunchResult LaunchProgram(HWND owner, const ProgramRecord& record, const std::string& dataFolder,
                           const AskFn& ask);
