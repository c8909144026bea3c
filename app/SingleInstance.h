#pragma once

#include "base/Handles_win.h"

#include <windows.h>

// One scheduler per user session, and both ends of what a later start of chronel.exe asks of it: a plain
// start opens its window, "/quit" asks it to save and end, without a question, and waits for its process.

// Creates this session's scheduler mutex, which `mutex` then holds until the process ends. False when a
// scheduler runs already, one started with other rights included (its mutex exists but may not be opened):
// a second one would fire every programme twice and write over the same programme file.
bool ClaimInstanceMutex(UniqueKernelHandle& mutex);

// Hands the open command to the scheduler already running in this session, which may still be starting.
// Returns whether it was taken: one started with other rights refuses it.
bool WakeRunningInstance();

// How long "/quit" waits at most.
inline constexpr DWORD QuitWait = 10000;

// "/quit": asks the scheduler running in this session to save its programmes, take its icon away and end,
// and waits for its process at most `timeout` ms. 0 when none runs by the end of the wait, however many
// asked at once; 1 when one still runs then: its save failed (it keeps running), it did not answer in time,
// or it runs with other rights and cannot be asked.
int QuitRunningInstance(DWORD timeout = QuitWait);

// The scheduler's answer to a "/quit" request (ID_QUIT_QUIETLY, whose lParam carries the request's
// deadline): 1 when it is ending, its programmes saved; 0 when it stays.
LRESULT AnswerQuitRequest(HWND window, LPARAM deadline);
