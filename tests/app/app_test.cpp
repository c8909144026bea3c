// The application shell in one process: start-up, the tray/window alternation, the quit sequence and the end
// of the Windows session. The tests share the process-wide objects, so they run in the order written.
#include "ui/framework/AppGlobals.h"
#include "app/Application.h"
#include "resources/resource.h"

#include "../Wait.h"
#include "../win32/SettingsReset.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

namespace
{

HWND MainWindow()
{
    return mainWindowObject.hWnd;
}

bool IconShown()
{
    NOTIFYICONDATAA data = {};
    data.cbSize = sizeof data;
    data.hWnd = MainWindow();
    data.uID = CSystemTray::TRAY_ICON_ID;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

void Pump()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
    {
        if (message.message == WM_QUIT)
        {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Answers the next message box of this thread from inside its own modal loop, and keeps its text.
int g_answer = IDCANCEL;
std::string g_question;
int g_questions = 0;

BOOL CALLBACK AnswerBox(HWND window, LPARAM)
{
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) != "#32770" || window == mainDialog.hWnd || !IsWindowVisible(window))
        return TRUE;
    char text[512] = {};
    GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
    g_question = text;
    ++g_questions;
    PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(g_answer), 0);
    return FALSE;
}

VOID CALLBACK LookForBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (!EnumThreadWindows(GetCurrentThreadId(), AnswerBox, 0))
        KillTimer(nullptr, timer);
}

// Returns the timer that looks for the box, for a test that expects none.
UINT_PTR AnswerNextBox(int answer)
{
    g_answer = answer;
    g_question.clear();
    return SetTimer(nullptr, 0, 50, LookForBox);
}

std::string ProgramFile()
{
    return mainDialog.ProgramFilePath();
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

TEST(Application, StartsHiddenInTheTrayWithTheDialogFillingTheCentredWindow)
{
    ResetSettings();
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof controls, 0xFF};
    InitCommonControlsEx(&controls);
    ASSERT_GT(LoadStringA(instance, IDS_APP_CAPTION, AppCaption, sizeof AppCaption), 0);
    ASSERT_GT(LoadStringA(instance, IDS_APP_CLASS, AppClassName, sizeof AppClassName), 0);
    RegisterMainWindowClass(instance);
    ASSERT_TRUE(InitInstance(instance));

    const HWND main = MainWindow();
    ASSERT_TRUE(IsWindow(main));
    EXPECT_EQ(FindWindowA("CHRONEL", "Sylvane Programmateur"), main);
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_TRUE(IconShown());
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(main, GWL_STYLE)) &
                  (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
              static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));

    // The dialog is a child covering exactly the client area.
    EXPECT_EQ(::GetParent(mainDialog.hWnd), main);
    RECT client, dialog, window;
    GetClientRect(main, &client);
    GetWindowRect(mainDialog.hWnd, &dialog);
    GetWindowRect(main, &window);
    EXPECT_EQ(client.right, dialog.right - dialog.left);
    EXPECT_EQ(client.bottom, dialog.bottom - dialog.top);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    EXPECT_EQ(window.left, GetSystemMetrics(SM_CXFULLSCREEN) / 2 - width / 2);
    EXPECT_EQ(window.top, GetSystemMetrics(SM_CYFULLSCREEN) / 2 - height / 2);

    // The scheduler timer runs (killing it succeeds; it is started again at once).
    EXPECT_TRUE(KillTimer(mainDialog.hWnd, 1));
    SetTimer(mainDialog.hWnd, 1, 30000, nullptr);
}

TEST(Application, OpeningAndMinimisingAlternateBetweenWindowAndIcon)
{
    const HWND main = MainWindow();
    for (int round = 0; round < 2; ++round)
    {
        SCOPED_TRACE(round);
        // A double-click on the icon posts the open command.
        SendMessageA(main, CSystemTray::TRAY_CALLBACK_MESSAGE, CSystemTray::TRAY_ICON_ID, WM_LBUTTONDBLCLK);
        Pump();
        EXPECT_TRUE(IsWindowVisible(main));
        EXPECT_EQ(::GetParent(main), nullptr);
        EXPECT_FALSE(IconShown());

        // The dialog's OK button and the minimise box both send it back.
        if (round == 0)
            SendMessageA(mainDialog.hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        else
            SendMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        Pump();
        EXPECT_FALSE(IsWindowVisible(main));
        EXPECT_FALSE(IsIconic(main));
        EXPECT_TRUE(IconShown());
    }
}

TEST(Application, CancelledQuitKeepsEverythingAndEverySystemCloseAsks)
{
    const HWND main = MainWindow();
    g_questions = 0;
    AnswerNextBox(IDCANCEL);
    EXPECT_EQ(SendMessageA(main, WM_CLOSE, 0, 0), 1);
    EXPECT_EQ(g_question, "Êtes vous sûr de vouloir quitter l'application ?");

    AnswerNextBox(IDCANCEL);
    SendMessageA(main, WM_COMMAND, ID_QUIT, 0); // the tray menu's "Quitter"
    AnswerNextBox(IDCANCEL);
    SendMessageA(mainDialog.hWnd, WM_COMMAND, MAKEWPARAM(IDC_BUTTON_QUIT, BN_CLICKED), 0);
    AnswerNextBox(IDCANCEL);
    SendMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0); // the close box: default processing sends WM_CLOSE
    EXPECT_EQ(g_questions, 4);
    EXPECT_TRUE(IsWindow(main));
    EXPECT_TRUE(IconShown());
}

// The end of the session is final, so it runs in a process of its own (tests/CMakeLists.txt), after the
// start.
TEST(Application, TheEndOfTheSessionSavesQuietlyAndNothingIsWrittenAfterIt)
{
    const HWND main = MainWindow();
    DeleteFileA(ProgramFile().c_str());
    EXPECT_EQ(SendMessageA(main, WM_QUERYENDSESSION, 0, 0), TRUE);
    SendMessageA(main, WM_ENDSESSION, FALSE, 0);
    EXPECT_FALSE(FileExists(ProgramFile())) << "the session goes on: nothing to save";

    // Windows is ending the session: a failing save shows no box that would only hold up the log-off.
    ASSERT_TRUE(CreateDirectoryA(ProgramFile().c_str(), nullptr));
    const UINT_PTR watching = AnswerNextBox(IDOK);
    SendMessageA(main, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(g_questions, 0) << g_question;
    ASSERT_TRUE(RemoveDirectoryA(ProgramFile().c_str()));

    // That save was the last: neither a later end of the session nor a confirmed quit writes after it.
    SendMessageA(main, WM_ENDSESSION, TRUE, 0);
    SendMessageA(main, WM_CLOSE, 0, 0);
    KillTimer(nullptr, watching);
    EXPECT_FALSE(FileExists(ProgramFile()));
    EXPECT_TRUE(mainDialog.QuitBegun());
}

// A /quit that gave up waiting has told its caller that the scheduler stays: its request, handled late, is
// ignored.
TEST(Application, AQuietQuitHandledAfterItsDeadlineIsIgnored)
{
    const HWND main = MainWindow();
    const DWORD passed = GetTickCount() - 1000;
    EXPECT_EQ(SendMessageA(main, WM_COMMAND, ID_QUIT_QUIETLY, static_cast<LPARAM>(passed | 1)), 0);
    EXPECT_TRUE(IsWindow(main));
    EXPECT_TRUE(IconShown());
    EXPECT_FALSE(mainDialog.QuitBegun());
}

TEST(Application, ConfirmedQuitSavesRemovesTheIconAndEndsTheLoopWithZero)
{
    const HWND main = MainWindow();
    DeleteFileA(ProgramFile().c_str());
    AnswerNextBox(IDOK);
    SendMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(main));
    EXPECT_FALSE(IsWindow(mainDialog.hWnd));
    EXPECT_TRUE(FileExists(ProgramFile()));
    NOTIFYICONDATAA data = {};
    data.cbSize = sizeof data;
    data.hWnd = main;
    data.uID = CSystemTray::TRAY_ICON_ID;
    EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &data));

    MSG message = {};
    ASSERT_TRUE(WaitFor([&] {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            if (message.message == WM_QUIT)
                return true;
        return false;
    }));
    EXPECT_EQ(message.wParam, 0u);
}

TEST(Application, TheCommandLineAsksForAQuitOrAnAutostartChangeOnlyInItsOwnWords)
{
    const struct
    {
        const char* commandLine;
        StartRequest request;
    } cases[] = {
        {"/quit", StartRequest::Quit},
        {"  /QUIT\t", StartRequest::Quit},
        {"/Quit", StartRequest::Quit},
        {"", StartRequest::Run},
        {nullptr, StartRequest::Run},
        {"/qui", StartRequest::Run},
        {"/quitter", StartRequest::Run},
        {"quit", StartRequest::Run},
        {"/quit now", StartRequest::Run},
        {"/autostart on", StartRequest::AutostartOn},
        {" /AUTOSTART\tOff ", StartRequest::AutostartOff},
        {"/autostart", StartRequest::BadAutostart},
        {"/autostart maybe", StartRequest::BadAutostart},
        {"/autostart on off", StartRequest::BadAutostart},
        {"/autostarter on", StartRequest::Run},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadStartRequest(c.commandLine), c.request) << (c.commandLine ? c.commandLine : "(none)");
    // This test program is no running scheduler: there is nothing to end.
    EXPECT_EQ(QuitRunningInstance(1000), 0);
}
