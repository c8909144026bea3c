#pragma once

#include <windows.h>

#include <cstddef>
#include <string_view>
#include <vector>

// One item for a list box: its text in code page 1252 (shown in UTF-16, base/Text.h) and its item data.
struct ListItem
{
    std::string_view text;
    LPARAM data;
};

// Fills an empty sorted list box (LBS_SORT) with the items, in the order its own sorting gives them (a box
// that is not empty places them itself).
//
// The box would compare every new text with about log2(n) of the items already in it, one locale comparison
// each; for tens of thousands of items that takes seconds. Here each text gets its sort key once (the box's
// locale, case ignored, as the box compares) and the items go straight to their places. Texts that compare
// equal stand where the history of the box's insertions puts them, so those the box still places itself,
// among the same items as it would have had. The box does not paint while it fills. Returns how many items
// the box placed itself.
std::size_t FillSortedListBox(HWND list, const std::vector<ListItem>& items);

// Adds one item to a sorted list box, which places it; returns its index (negative when the box refused it)
// and says in `tied` whether its text compares equal to a neighbour's, as the box compares.
LRESULT AddToSortedListBox(HWND list, const ListItem& item, bool& tied);

// Removes every item of a list box. The box would first send its owner one WM_DELETEITEM for each item that
// has item data, a message that costs as much as the rest of the emptying: the item data is cleared first,
// item by item within the box, and the items then go at once.
void EmptyListBox(HWND list);
