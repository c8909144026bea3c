#include "ui/main/ProgramListBox.h"

#include "schedule/TextField.h"
#include "ui/framework/ListBox.h"

#include <vector>

void ProgramListBox::Fill(const ProgramList& programs)
{
    if (!box)
        return;
    EmptyListBox(box);
    std::vector<ListItem> items(programs.Size());
    for (std::size_t i = 0; i < programs.Size(); ++i)
        items[i] = {FieldText(programs[i].name), static_cast<LPARAM>(i)};
    mayHoldTies = FillSortedListBox(box, items) > 0;
}

void ProgramListBox::AddLast(const ProgramList& programs)
{
    if (!box || programs.Empty())
        return;
    const std::size_t last = programs.Size() - 1;
    bool tied = false;
    const LRESULT item =
        AddToSortedListBox(box, {FieldText(programs[last].name), static_cast<LPARAM>(last)}, tied);
    mayHoldTies = mayHoldTies || tied;
    if (item >= 0)
        SendMessageA(box, LB_SETCURSEL, static_cast<WPARAM>(item), 0);
}

void ProgramListBox::Removed(const ProgramList& programs, std::size_t position)
{
    if (!box)
        return;
    if (mayHoldTies)
    {
        Fill(programs);
        return;
    }
    // The item goes; the records after it moved down one place.
    const LRESULT count = Count();
    for (LRESULT item = count - 1; item >= 0; --item)
    {
        const LRESULT data = Data(item);
        if (data == static_cast<LRESULT>(position))
            SendMessageA(box, LB_DELETESTRING, static_cast<WPARAM>(item), 0);
        else if (data > static_cast<LRESULT>(position))
            SendMessageA(box, LB_SETITEMDATA, static_cast<WPARAM>(item), data - 1);
    }
}

std::size_t ProgramListBox::Selected(const ProgramList& programs) const
{
    const LRESULT item = SelectedItem();
    const LRESULT data = item >= 0 ? Data(item) : LB_ERR;
    return data >= 0 && static_cast<std::size_t>(data) < programs.Size() ? static_cast<std::size_t>(data)
                                                                         : programs.Size();
}

LRESULT ProgramListBox::SelectedItem() const
{
    return box ? SendMessageA(box, LB_GETCURSEL, 0, 0) : LB_ERR;
}

void ProgramListBox::Select(const ProgramList& programs, std::size_t position)
{
    if (!box)
        return;
    if (position >= programs.Size())
    {
        SendMessageA(box, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        return;
    }
    const LRESULT count = Count();
    for (LRESULT item = 0; item < count; ++item)
        if (Data(item) == static_cast<LRESULT>(position))
        {
            SendMessageA(box, LB_SETCURSEL, static_cast<WPARAM>(item), 0);
            return;
        }
}

void ProgramListBox::SelectItem(LRESULT item)
{
    const LRESULT count = Count();
    if (count > 0 && item >= 0)
        SendMessageA(box, LB_SETCURSEL, static_cast<WPARAM>(item < count - 1 ? item : count - 1), 0);
}

LRESULT ProgramListBox::Count() const
{
    return box ? SendMessageA(box, LB_GETCOUNT, 0, 0) : 0;
}

LRESULT ProgramListBox::Data(LRESULT item) const
{
    return SendMessageA(box, LB_GETITEMDATA, static_cast<WPARAM>(item), 0);
}
