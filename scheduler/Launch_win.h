#pragma once

#include "schedule/ProgramRecord.h"

#include <windows.h>

#include <functional>
#include <string>

// Asks the user a question; returns the button pressed (IDOK, IDCANCEL...). The dialog passes a message box
// with its caption, tests an answer of their own.
using AskFn = std::function<int(const std::string& text, unsigned style)>;

// Starts a due programme: asks first when the record wants confirmation (only OK goes on), writes
// "media.asx" into the data folder and has the shell open "wmplayer.exe" with it. Every failure is silent:
// a cancelled question, a playlist that cannot be written (no player then), a player that does not start.
void LaunchProgram(HWND owner, const ProgramRecord& record, const char* dataFolder, const AskFn& ask);
