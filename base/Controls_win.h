#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

// The program's texts (code page 1252) and paths (UTF-8) shown in windows and read back from them, through
// the wide functions and the conversions of base/Text.h: the system's ANSI code page never reads them, so an
// accented text reads the same on a Cyrillic, Greek or UTF-8 Windows as on a Western one.

void SetItemText(HWND dialog, int id, std::string_view text);
void SetItemPath(HWND dialog, int id, std::string_view path);

// A control's text read in UTF-16 and turned into code page 1252, at most `limit` - 1 characters (the rest
// is not read). A character that code page 1252 lacks becomes what Windows' best fit makes of it.
std::string ReadItemText(HWND dialog, int id, std::size_t limit);

int ShowMessageBox(HWND owner, std::string_view text, std::string_view caption, UINT style);

// LB_ADDSTRING and LB_INSERTSTRING: the box's answer (the item's index, or a negative error).
LRESULT AddListText(HWND list, std::string_view text);
LRESULT InsertListText(HWND list, WPARAM at, std::string_view text);

// Fills a fixed wide field (a tooltip) with the text, cut to size - 1 units, the rest zeros.
void CopyTextToField(std::string_view text, wchar_t* field, std::size_t size);
