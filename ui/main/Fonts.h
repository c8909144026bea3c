#pragma once

#include "base/Handles_win.h"

// The dialog's five fonts: created once before any window exists, deleted after the message loop ends.
extern UniqueFont titleFont;
extern UniqueFont boldFont;
extern UniqueFont normalFont;
extern UniqueFont confirmFont;
extern UniqueFont smallFont;

void CreateFonts();
void DeleteFonts();
