// The programme editor of the scheduler dialog: adding, removing, listing and describing programmes.
#include "ui/main/MainDialog.h"

#include "base/Controls_win.h"
#include "resources/resource.h"
#include "schedule/TextField.h"
#include "ui/main/ProgramEditor.h"

#include <cstdint>

namespace
{

std::string ItemText(HWND dialog, int id)
{
    return ReadItemText(dialog, id, TextFieldSize);
}

} // namespace

void CMain::AddProgram()
{
    if (!hWnd)
        return;
    ProgramInput input;
    input.name = ItemText(hWnd, IDC_PROGRAM_NAME);
    const LRESULT mediaItem = SendDlgItemMessageA(hWnd, IDC_MEDIA_LIST, LB_GETCURSEL, 0, 0);
    if (mediaItem != LB_ERR)
        input.mediaIndex = static_cast<std::uintptr_t>(
            SendDlgItemMessageA(hWnd, IDC_MEDIA_LIST, LB_GETITEMDATA, static_cast<WPARAM>(mediaItem), 0));
    for (std::size_t day = 0; day < DaysPerWeek; ++day)
        input.days[day] = IsDlgButtonChecked(hWnd, DayBoxes[day]) == BST_CHECKED;
    input.hourText = ItemText(hWnd, IDC_HOUR);
    input.minuteText = ItemText(hWnd, IDC_MINUTE);
    input.confirm = IsDlgButtonChecked(hWnd, IDC_CONFIRM_YES) == BST_CHECKED;
    input.repeat = IsDlgButtonChecked(hWnd, IDC_REPEAT_YES) == BST_CHECKED;

    const AddCheck check = CheckNewProgram(input, media, book.Programs());
    if (check.message != EditorMessage::None)
    {
        ShowMessage(MessageText(check.message),
                    MB_OK | (IsWarning(check.message) ? MB_ICONWARNING : MB_ICONERROR));
        return;
    }

    book.Programs().Append(check.record);
    // The new programme itself is selected, even when another name differs from it only in case.
    programList.AddLast(book.Programs());
    ShowProgramInfo();
    SaveChanges();
}

void CMain::RemoveProgram()
{
    if (!hWnd)
        return;
    const LRESULT item = programList.SelectedItem();
    if (item == LB_ERR)
        ShowMessage(MessageText(EditorMessage::NoProgramSelected), MB_OK | MB_ICONERROR);
    SetInfoPlaceholders();
    if (item == LB_ERR)
        return;
    ProgramList& programs = book.Programs();
    const std::size_t position = programList.Selected(programs);
    if (position >= programs.Size())
        return;
    programs.RemoveAt(position);
    programList.Removed(programs, position);
    // The item that took the removed one's place is selected, or the last one.
    programList.SelectItem(item);
    ShowProgramInfo();
    SaveChanges();
}

void CMain::RefreshProgramList()
{
    if (!hWnd)
        return;
    const LRESULT selected = programList.SelectedItem();
    programList.Fill(book.Programs());
    if (selected == LB_ERR)
        return;
    programList.SelectItem(selected);
    ShowProgramInfo();
}

void CMain::ShowProgramsSelecting(std::size_t index)
{
    if (!hWnd)
        return;
    programList.Fill(book.Programs());
    programList.Select(book.Programs(), index);
    ShowProgramInfo();
}

std::size_t CMain::SelectedProgram() const
{
    return programList.Selected(book.Programs());
}

void CMain::ShowProgramInfo()
{
    if (!hWnd)
        return;
    const ProgramList& programs = book.Programs();
    const std::size_t selected = programList.Selected(programs);
    ShowInfo(DescribeProgram(selected < programs.Size() ? &programs[selected] : nullptr));
}
