#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

// One item for a list box: its text in the ANSI code page and its item data.
struct ListItem
{
    std::string_view text;
    LPARAM data;
};

// Fills an empty sorted list box (LBS_SORT) with the items, in the order its own sorting gives them.
//
// The box would compare every new text with about log2(n) of the items already in it, one locale comparison
// each, and move the items after its place; for tens of thousands of items that takes seconds. Here each text
// gets its sort key once (the box's locale, case ignored, as the box compares), the keys are sorted, and the
// items are appended in that order. When two texts compare equal, the box places them by the history of its
// insertions; then the items go in one by one as before, so that the order is always the box's own. True when
// the items were placed by their keys.
bool FillSortedListBox(HWND list, const std::vector<ListItem>& items);

// Removes every item of a list box. The box would first send its owner one WM_DELETEITEM for each item that
// has item data, a message that costs as much as the rest of the emptying: the item data is cleared first,
// item by item within the box, and the items then go at once.
void EmptyListBox(HWND list);
