#pragma once

// Creates the scheduler dialog the way the application does (a modeless child of a hidden top-level window),
// with the message boxes, the open-file dialog and the clock replaced by scripted answers.

#include "ui/framework/AppGlobals.h"
#include "resources/resource.h"
#include "Harness.h"
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

// The desktop as the tests script it: the boxes shown and the answers given, the chosen file, the clock, a
// settings key that may be refused for writing.
class ScriptedDesktop : public MainServices
{
public:
    int ShowMessage(HWND, const char* text, UINT style) override
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
    OpenFileAnswer ChooseMediaListFile(HWND) override
    {
        if (chosenTooLong)
            return {FileChoice::TooLong, std::string()};
        return {chosenPath.empty() ? FileChoice::Cancelled : FileChoice::Chosen, chosenPath};
    }
    TickClock ReadClock() override { return clock; }
    RegKey OpenSettings(bool forWriting) override
    {
        return forWriting && settingsWriteRefused ? RegKey()
                                                  : DesktopServices::Instance().OpenSettings(forWriting);
    }

    std::vector<ShownMessage> shown;
    std::deque<int> answers;
    void (*onMessage)() = nullptr;
    std::string chosenPath;
    bool chosenTooLong = false; // the dialog answers that the chosen path is too long to hold
    TickClock clock{1, 8, 5};   // Monday, 08:05
    bool settingsWriteRefused = false;
};

// The dialog on the scripted desktop, its autostart switch staged: the Run key refused as a whole or to a
// user without administrator rights, and the elevated run replaced.
class TestMain : public ScriptedDesktop, public CMain
{
public:
    TestMain() : CMain(static_cast<MainServices&>(*this))
    {
        Autostart().write = [this](bool on) -> LONG {
            if (autostartRefused)
                return ERROR_WRITE_FAULT;
            return runKeyDenied ? ERROR_ACCESS_DENIED : SetAutostartEntry(AppCaption, on);
        };
        // Runs on the switch's own thread.
        Autostart().startElevated = [this](HWND, bool on, DWORD& error) {
            elevatedRuns.push_back(on);
            return elevatedRun ? elevatedRun(error) : UniqueKernelHandle();
        };
    }
    TickClock ReadClock() override
    {
        switchEnabledAtClock = hWnd ? IsWindowEnabled(::GetDlgItem(hWnd, IDC_BUTTON_ACTIVE)) : -1;
        return clock;
    }
    using CMain::ShowMessage;
    void SetDataFolder(const char* folder) { dataFolder = folder; }

    bool autostartRefused = false;
    bool runKeyDenied = false;
    std::function<UniqueKernelHandle(DWORD& error)> elevatedRun;
    std::vector<bool> elevatedRuns;
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

    // Creates the dialog in the stand-in main window; the dialog's initialisation runs inside.
    HWND Create()
    {
        dialog.hInstance = AppInstance;
        dialog.hWndParent = main.Get();
        dialog.hWnd =
            CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_MAIN), main.Get(), CDialog::DialogProcThunk,
                               reinterpret_cast<LPARAM>(static_cast<CDialog*>(&dialog)));
        return dialog.hWnd;
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

    TestMain dialog;
    MainWindowStandIn main; // declared last, so the windows go before the dialog object
};
