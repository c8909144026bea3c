#pragma once

#include <windows.h>

// Process-wide values set at start-up: the module instance and the two resource strings.
extern HINSTANCE AppInstance;
extern char AppCaption[100];   // string 103, "Sylvane Programmateur": window caption, tooltip, message boxes
extern char AppClassName[100]; // string 109, "CHRONEL": the main window's class
