// The programme editor of the scheduler dialog: adding, removing, listing and describing programmes.
#include "ui/main/MainDialog.h"

#include "resources/resource.h"
#include "schedule/TextField.h"
#include "ui/framework/ListBox.h"
#include "ui/main/ProgramEditor.h"

#include <cstdint>

namespace
{

std::string ItemText(HWND dialog, int id)
{
    char text[TextFieldSize] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
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

    const AddCheck check = CheckNewProgram(input, media, programs);
    if (check.message != EditorMessage::None)
    {
        ShowMessage(MessageText(check.message),
                    MB_OK | (IsWarning(check.message) ? MB_ICONWARNING : MB_ICONERROR));
        return;
    }

    const ProgramRecord* storage = programs.Data();
    programs.Append(check.record);
    // Select the new programme itself, even when another name differs from it only in case. While the
    // records stay where they were, the other items still point to them and only the new one goes in.
    if (programs.Data() == storage)
        ShowAddedProgram(programs.Size() - 1);
    else
        ShowProgramsSelecting(programs.Size() - 1);
    SaveChanges();
}

void CMain::RemoveProgram()
{
    if (!hWnd)
        return;
    const LRESULT item = SendDlgItemMessageA(hWnd, IDC_PROGRAM_LIST, LB_GETCURSEL, 0, 0);
    if (item == LB_ERR)
        ShowMessage(MessageText(EditorMessage::NoProgramSelected), MB_OK | MB_ICONERROR);
    SetInfoPlaceholders();
    if (item == LB_ERR)
        return;
    const LRESULT data =
        SendDlgItemMessageA(hWnd, IDC_PROGRAM_LIST, LB_GETITEMDATA, static_cast<WPARAM>(item), 0);
    if (data == 0 || data == LB_ERR)
        return;
    const std::size_t index = programs.IndexOf(reinterpret_cast<const ProgramRecord*>(data));
    if (index >= programs.Size())
        return;
    programs.RemoveAt(index);
    if (MayHoldEqualNames(programs))
    {
        // Equal names sit where the whole history of insertions put them: only a fresh fill places them
        // as before.
        RefreshProgramList();
        SaveChanges();
        return;
    }
    // The item goes; the records after the removed one moved down one place in the same storage.
    const HWND list = GetDlgItem(IDC_PROGRAM_LIST).hWnd;
    SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(item), 0);
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT other = 0; other < count; ++other)
    {
        const LRESULT pointer = SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(other), 0);
        if (static_cast<std::uintptr_t>(pointer) > static_cast<std::uintptr_t>(data))
            SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(other),
                         static_cast<LPARAM>(pointer - static_cast<LRESULT>(sizeof(ProgramRecord))));
    }
    // The item that took the removed one's place is selected, or the last one.
    if (count > 0)
        SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(item < count - 1 ? item : count - 1), 0);
    ShowProgramInfo();
    SaveChanges();
}

void CMain::RefreshProgramList()
{
    if (!hWnd)
        return;
    const LRESULT selected = SendDlgItemMessageA(hWnd, IDC_PROGRAM_LIST, LB_GETCURSEL, 0, 0);
    FillProgramList();
    if (selected == LB_ERR)
        return;
    const LRESULT count = static_cast<LRESULT>(programs.Size());
    if (count > 0)
        SendDlgItemMessageA(hWnd, IDC_PROGRAM_LIST, LB_SETCURSEL,
                            static_cast<WPARAM>(selected < count - 1 ? selected : count - 1), 0);
    ShowProgramInfo();
}

void CMain::ShowProgramsSelecting(std::size_t index)
{
    if (!hWnd)
        return;
    FillProgramList();
    if (index < programs.Size())
    {
        const LRESULT wanted = reinterpret_cast<LRESULT>(&programs[index]);
        const LRESULT count = SendDlgItemMessageA(hWnd, IDC_PROGRAM_LIST, LB_GETCOUNT, 0, 0);
        for (LRESULT item = 0; item < count; ++item)
        {
            if (SendDlgItemMessageA(hWnd, IDC_PROGRAM_LIST, LB_GETITEMDATA, static_cast<WPARAM>(item), 0) ==
                wanted)
            {
                SendDlgItemMessageA(hWnd, IDC_PROGRAM_LIST, LB_SETCURSEL, static_cast<WPARAM>(item), 0);
                break;
            }
        }
    }
    ShowProgramInfo();
}

void CMain::ShowAddedProgram(std::size_t index)
{
    const HWND list = GetDlgItem(IDC_PROGRAM_LIST).hWnd;
    const std::string name(FieldText(programs[index].name));
    const LRESULT item = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    if (item >= 0)
    {
        SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(item),
                     reinterpret_cast<LPARAM>(&programs[index]));
        SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(item), 0);
    }
    ShowProgramInfo();
}

std::size_t CMain::SelectedProgram() const
{
    if (!hWnd)
        return programs.Size();
    const LRESULT item = SendDlgItemMessageA(hWnd, IDC_PROGRAM_LIST, LB_GETCURSEL, 0, 0);
    if (item == LB_ERR)
        return programs.Size();
    const LRESULT data =
        SendDlgItemMessageA(hWnd, IDC_PROGRAM_LIST, LB_GETITEMDATA, static_cast<WPARAM>(item), 0);
    return programs.IndexOf(reinterpret_cast<const ProgramRecord*>(data));
}

void CMain::FillProgramList()
{
    const HWND list = GetDlgItem(IDC_PROGRAM_LIST).hWnd;
    EmptyListBox(list);
    std::vector<ListItem> items(programs.Size());
    for (std::size_t i = 0; i < programs.Size(); ++i)
        items[i] = {FieldText(programs[i].name), reinterpret_cast<LPARAM>(&programs[i])};
    FillSortedListBox(list, items);
}

void CMain::ShowProgramInfo()
{
    if (!hWnd)
        return;
    const ProgramRecord* record = nullptr;
    const LRESULT item = SendDlgItemMessageA(hWnd, IDC_PROGRAM_LIST, LB_GETCURSEL, 0, 0);
    if (item != LB_ERR)
    {
        const LRESULT data =
            SendDlgItemMessageA(hWnd, IDC_PROGRAM_LIST, LB_GETITEMDATA, static_cast<WPARAM>(item), 0);
        if (data != 0 && data != LB_ERR)
            record = reinterpret_cast<const ProgramRecord*>(data);
    }
    ShowInfo(DescribeProgram(record));
}
