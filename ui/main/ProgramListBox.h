#pragma once

#include "schedule/ProgramList.h"

#include <windows.h>

#include <cstddef>

// The scheduler dialog's list of programme names, sorted by the box. Each item's data is its record's
// position in the programme list, so the records may move in memory without the box hearing of it; only a
// change of positions (a removal, records put in front) reaches the items.
//
// Names that compare equal stand where the whole history of the box's insertions put them, and only a fresh
// fill places them as the list's order says: while the box may hold such names, a removal fills it afresh.
class ProgramListBox
{
public:
    void Attach(HWND list) { box = list; }

    // Puts every programme in; nothing is selected.
    void Fill(const ProgramList& programs);
    // Puts the record just appended (the last one) in and selects it.
    void AddLast(const ProgramList& programs);
    // Takes out the record that was at `position`, which has just left the list.
    void Removed(const ProgramList& programs, std::size_t position);

    // Position of the selected programme, or programs.Size() when none is selected.
    std::size_t Selected(const ProgramList& programs) const;
    // The selected item's place in the box, or -1; the position its item names.
    LRESULT SelectedItem() const;
    std::size_t PositionAt(LRESULT item) const { return static_cast<std::size_t>(Data(item)); }
    // Selects the programme at `position`; none when it is past the list.
    void Select(const ProgramList& programs, std::size_t position);
    // Selects the item at `item`, or the last one when there are fewer; none in an empty box.
    void SelectItem(LRESULT item);

private:
    LRESULT Count() const;
    LRESULT Data(LRESULT item) const;

    HWND box = nullptr;
    bool mayHoldTies = false;
};
