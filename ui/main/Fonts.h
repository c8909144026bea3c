#pragma once

#include <windows.h>

// The dialog's five fonts: created once before any window exists, deleted after the message loop ends.
extern HFONT titleFont;
extern HFONT boldFont;
extern HFONT normalFont;
extern HFONT confirmFont;
extern HFONT smallFont;

void CreateFonts();
void DeleteFonts();
