#pragma once

// Creates the scheduler dialog the way the application does (a modeless child of a hidden top-level window),
// with the message boxes, the open-file dialog and the clock replaced by scripted answers.

#include "ui/framework/AppGlobals.h"
#include "resources/resource.h"
#include "SettingsReset.h"
#include "schedule/Settings_win.h"
#include "schedule/TextField.h"
#include "ui/main/Fonts.h"
#include "ui/main/MainDialog.h"

#include <commctrl.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

struct ShownMessage
{
    std::string text;
    UINT style;
};

class TestMain : public CMain
{
public:
    int ShowMessage(const char* text, UINT style) override
    {
        shown.push_back({text, style});
        if (onMessage)
            onMessage();
        if (answers.empty())
            return IDOK;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::string ChooseMediaListFile() override { return chosenPath; }
    TickClock ReadClock() override
    {
        switchEnabledAtClock = hWnd ? IsWindowEnabled(::GetDlgItem(hWnd, IDC_BUTTON_ACTIVE)) : -1;
        return clock;
    }
    bool SetAutostart(bool on) override { return !autostartRefused && CMain::SetAutostart(on); }
    // The direct write refused as it is for a user without administrator rights; the elevated run staged.
    LONG WriteAutostart(bool on) override
    {
        return runKeyDenied ? ERROR_ACCESS_DENIED : CMain::WriteAutostart(on);
    }
    UniqueKernelHandle StartElevatedSwitch(bool on, DWORD& error) override
    {
        elevatedRuns.push_back(on);
        return elevatedRun ? elevatedRun(error) : UniqueKernelHandle();
    }
    RegKey OpenSettings(bool forWriting) override
    {
        return forWriting && settingsWriteRefused ? RegKey() : CMain::OpenSettings(forWriting);
    }
    void SetDataFolder(const char* folder) { dataFolder = folder; }

    std::vector<ShownMessage> shown;
    std::deque<int> answers;
    void (*onMessage)() = nullptr;
    std::string chosenPath;
    TickClock clock{1, 8, 5}; // Monday, 08:05
    bool autostartRefused = false;
    bool runKeyDenied = false;
    std::function<UniqueKernelHandle(DWORD& error)> elevatedRun;
    std::vector<bool> elevatedRuns;
    bool settingsWriteRefused = false;
    int switchEnabledAtClock = -1; // whether the switch could be pressed when the clock was last read
};

class DialogHarness
{
public:
    DialogHarness()
    {
        static bool once = [] {
            INITCOMMONCONTROLSEX controls = {sizeof controls, 0xFF};
            InitCommonControlsEx(&controls);
            AppInstance = GetModuleHandleA(nullptr);
            CreateFonts();
            return true;
        }();
        (void)once;
    }

    // Creates the main window and the dialog; the dialog's initialisation runs inside.
    HWND Create()
    {
        main = CreateWindowExA(0, "STATIC", "Sylvane Programmateur", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                               CW_USEDEFAULT, 0, CW_USEDEFAULT, 0, nullptr, nullptr, AppInstance, nullptr);
        dialog.hInstance = AppInstance;
        dialog.hWndParent = main;
        dialog.hWnd = CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_MAIN), main,
                                         CDialog::DialogProcThunk, reinterpret_cast<LPARAM>(&dialog));
        return dialog.hWnd;
    }

    ~DialogHarness()
    {
        if (main)
            DestroyWindow(main);
    }

    std::string Text(int id) const
    {
        char text[1024] = {};
        SendDlgItemMessageA(dialog.hWnd, id, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        return text;
    }
    void SetText(int id, const std::string& text) { SetDlgItemTextA(dialog.hWnd, id, text.c_str()); }
    bool Checked(int id) const { return IsDlgButtonChecked(dialog.hWnd, id) == BST_CHECKED; }
    void Check(int id, bool on) { CheckDlgButton(dialog.hWnd, id, on ? BST_CHECKED : BST_UNCHECKED); }
    // A click as the control reports it: the command reaches the dialog's procedure.
    void Click(int id)
    {
        SendMessageA(dialog.hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog.hWnd, id)));
    }
    LRESULT Item(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return SendDlgItemMessageA(dialog.hWnd, id, message, wParam, lParam);
    }
    std::vector<std::string> ListTexts(int id) const
    {
        std::vector<std::string> texts;
        const LRESULT count = Item(id, LB_GETCOUNT);
        for (LRESULT i = 0; i < count; ++i)
        {
            char text[TextFieldSize + 1] = {};
            Item(id, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            texts.push_back(text);
        }
        return texts;
    }
    std::string SelectedText(int id) const
    {
        const LRESULT sel = Item(id, LB_GETCURSEL);
        if (sel == LB_ERR)
            return "<none>";
        char text[TextFieldSize + 1] = {};
        Item(id, LB_GETTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(text));
        return text;
    }
    // Selects the media item showing `title`.
    void SelectMedia(const std::string& title)
    {
        const LRESULT item = Item(IDC_MEDIA_LIST, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                  reinterpret_cast<LPARAM>(title.c_str()));
        Item(IDC_MEDIA_LIST, LB_SETCURSEL, static_cast<WPARAM>(item));
    }

    HWND main = nullptr;
    TestMain dialog;
};
