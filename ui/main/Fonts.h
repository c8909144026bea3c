#pragma once

#include "base/Handles_win.h"

#include <array>

// The dialog's five fonts: created once before any window exists, deleted after the message loop ends. Their
// heights are given for 96 DPI and made for the DPI the dialog is drawn at.
extern UniqueFont titleFont;
extern UniqueFont boldFont;
extern UniqueFont normalFont;
extern UniqueFont confirmFont;
extern UniqueFont smallFont;

// Creates the five fonts for the system's DPI.
void CreateFonts();
void DeleteFonts();

// The fonts a change of DPI replaced, kept until no control uses them any more.
using RetiredFonts = std::array<UniqueFont, 5>;
// Makes the five fonts again for `dpi` unless they are made for it already; hands back the ones replaced.
RetiredFonts MakeFontsForDpi(unsigned dpi);
// The DPI the five fonts are made for.
unsigned FontsDpi();
