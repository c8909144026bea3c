// The application shell in one process: start-up, the tray/window alternation, the three ways the scheduler
// ends and the answer to "/quit". The scheduler is started once per process. The `Application` cases leave
// it as they found it, in the tray, and run in any order; each `ApplicationEnd` case ends it, which is final,
// and runs in a process of its own (tests/CMakeLists.txt).
#include "ui/framework/AppGlobals.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "app/SingleInstance.h"
#include "resources/resource.h"

#include "../Wait.h"
#include "../win32/SettingsReset.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace
{

const char* const QuitQuestion = "Êtes vous sûr de vouloir quitter l'application ?";
const char* const SaveFailed = "Sauvegarde de la liste des programmes impossible !";

HWND MainWindow()
{
    return mainWindowObject.hWnd;
}

bool IconShown(HWND window = MainWindow())
{
    NOTIFYICONDATAA data = {};
    data.cbSize = sizeof data;
    data.hWnd = window;
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

// The code of the loop's quit message once the main window is gone.
std::optional<WPARAM> QuitMessage()
{
    MSG message = {};
    const bool posted = WaitFor([&] {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            if (message.message == WM_QUIT)
                return true;
        return false;
    });
    return posted ? std::optional<WPARAM>(message.wParam) : std::nullopt;
}

std::string ProgramFile()
{
    return mainDialog.ProgramFilePath();
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A deadline of a "/quit" request, `ms` from now (negative: passed).
LPARAM Deadline(int ms)
{
    return static_cast<LPARAM>((GetTickCount() + static_cast<DWORD>(ms)) | 1);
}

// Answers this thread's message boxes from inside their own modal loops, for as long as it lives: keeps each
// box's text and closes it with the button `answer` gives (which runs while the box is still open).
class BoxAnswers
{
public:
    explicit BoxAnswers(std::function<int(const std::string&)> answer) : answer(std::move(answer))
    {
        current = this;
        timer = SetTimer(nullptr, 0, 50, LookForBox);
    }
    explicit BoxAnswers(int button) : BoxAnswers([button](const std::string&) { return button; }) {}
    ~BoxAnswers()
    {
        KillTimer(nullptr, timer);
        current = nullptr;
    }
    BoxAnswers(const BoxAnswers&) = delete;
    BoxAnswers& operator=(const BoxAnswers&) = delete;

    std::vector<std::string> texts;

private:
    static BOOL CALLBACK AnswerBox(HWND window, LPARAM)
    {
        char className[16] = {};
        GetClassNameA(window, className, sizeof className);
        std::vector<HWND>& answered = current->answered;
        if (std::string(className) != "#32770" || window == mainDialog.hWnd || !IsWindowVisible(window) ||
            std::find(answered.begin(), answered.end(), window) != answered.end())
            return TRUE;
        answered.push_back(window);
        char text[512] = {};
        GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
        current->texts.push_back(text);
        PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(current->answer(text)), 0);
        return FALSE;
    }
    static VOID CALLBACK LookForBox(HWND, UINT, UINT_PTR, DWORD)
    {
        if (current)
            EnumThreadWindows(GetCurrentThreadId(), AnswerBox, 0);
    }

    static inline BoxAnswers* current = nullptr;
    std::function<int(const std::string&)> answer;
    std::vector<HWND> answered; // closing, until the posted button reaches them
    UINT_PTR timer = 0;
};

// What InitInstance left, as seen right after it.
struct StartState
{
    bool started = false;
    bool visible = true;
    bool iconShown = false;
    HWND found = nullptr;
    HWND dialogParent = nullptr;
    DWORD style = 0;
    RECT window = {}, client = {}, dialog = {};
};

const StartState& StartOnce()
{
    static const StartState state = [] {
        StartState seen;
        ResetSettings();
        const HINSTANCE instance = GetModuleHandleA(nullptr);
        INITCOMMONCONTROLSEX controls = {sizeof controls, 0xFF};
        InitCommonControlsEx(&controls);
        if (LoadStringA(instance, IDS_APP_CAPTION, AppCaption, sizeof AppCaption) <= 0 ||
            LoadStringA(instance, IDS_APP_CLASS, AppClassName, sizeof AppClassName) <= 0)
            return seen;
        RegisterMainWindowClass(instance);
        if (!InitInstance(instance))
            return seen;
        seen.started = IsWindow(MainWindow()) != FALSE;
        seen.visible = IsWindowVisible(MainWindow()) != FALSE;
        seen.iconShown = IconShown();
        seen.found = FindWindowA("CHRONEL", "Sylvane Programmateur");
        seen.dialogParent = ::GetParent(mainDialog.hWnd);
        seen.style = static_cast<DWORD>(GetWindowLongPtrA(MainWindow(), GWL_STYLE));
        GetWindowRect(MainWindow(), &seen.window);
        GetClientRect(MainWindow(), &seen.client);
        GetWindowRect(mainDialog.hWnd, &seen.dialog);
        return seen;
    }();
    return state;
}

// Every case starts with the scheduler running in the tray.
class Application : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartOnce().started);
        ASSERT_TRUE(IsWindow(MainWindow()));
        ASSERT_FALSE(IsWindowVisible(MainWindow()));
        ASSERT_TRUE(IconShown());
        ASSERT_FALSE(mainDialog.QuitBegun());
    }
};

class ApplicationEnd : public Application
{
};

} // namespace

TEST_F(Application, StartsHiddenInTheTrayWithTheDialogFillingTheCentredWindow)
{
    const StartState& start = StartOnce();
    EXPECT_EQ(start.found, MainWindow());
    EXPECT_FALSE(start.visible);
    EXPECT_TRUE(start.iconShown);
    EXPECT_EQ(start.style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
              static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));

    // The dialog is a child covering exactly the client area.
    EXPECT_EQ(start.dialogParent, MainWindow());
    EXPECT_EQ(start.client.right, start.dialog.right - start.dialog.left);
    EXPECT_EQ(start.client.bottom, start.dialog.bottom - start.dialog.top);
    const int width = start.window.right - start.window.left;
    const int height = start.window.bottom - start.window.top;
    EXPECT_EQ(start.window.left, GetSystemMetrics(SM_CXFULLSCREEN) / 2 - width / 2);
    EXPECT_EQ(start.window.top, GetSystemMetrics(SM_CYFULLSCREEN) / 2 - height / 2);

    // The scheduler timer runs (killing it succeeds; it is started again at once).
    EXPECT_TRUE(KillTimer(mainDialog.hWnd, 1));
    SetTimer(mainDialog.hWnd, 1, 30000, nullptr);
}

TEST_F(Application, OpeningAndMinimisingAlternateBetweenWindowAndIcon)
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

TEST_F(Application, CancelledQuitKeepsEverythingAndEverySystemCloseAsks)
{
    const HWND main = MainWindow();
    BoxAnswers answers(IDCANCEL);
    EXPECT_EQ(SendMessageA(main, WM_CLOSE, 0, 0), 1);
    SendMessageA(main, WM_COMMAND, ID_QUIT, 0); // the tray menu's "Quitter"
    SendMessageA(mainDialog.hWnd, WM_COMMAND, MAKEWPARAM(IDC_BUTTON_QUIT, BN_CLICKED), 0);
    SendMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0); // the close box: default processing sends WM_CLOSE
    EXPECT_EQ(answers.texts, std::vector<std::string>(4, QuitQuestion));
    EXPECT_TRUE(IsWindow(main));
    EXPECT_TRUE(IconShown());
    EXPECT_FALSE(mainDialog.QuitBegun());
}

// A request that "/quit" gave up waiting for (it has told its caller that the scheduler stays), and one
// whose programmes cannot be saved: the scheduler stays, says so, and shows nothing.
TEST_F(Application, ARequestedQuitThatComesLateOrCannotSaveLeavesTheSchedulerRunning)
{
    const HWND main = MainWindow();
    for (const bool saveFails : {false, true})
    {
        SCOPED_TRACE(saveFails ? "the save fails" : "past its deadline");
        if (saveFails)
            ASSERT_TRUE(CreateDirectoryA(ProgramFile().c_str(), nullptr));
        BoxAnswers answers(IDOK);
        EXPECT_EQ(SendMessageA(main, WM_COMMAND, ID_QUIT_QUIETLY, Deadline(saveFails ? 10000 : -1000)), 0);
        Pump();
        if (saveFails)
            EXPECT_TRUE(RemoveDirectoryA(ProgramFile().c_str()));
        EXPECT_TRUE(answers.texts.empty()) << answers.texts.front();
        EXPECT_TRUE(IsWindow(main));
        EXPECT_TRUE(IconShown());
        EXPECT_FALSE(mainDialog.QuitBegun());
    }
    // This test program holds no scheduler mutex: for "/quit", none runs.
    EXPECT_EQ(QuitRunningInstance(1000), 0);
}

TEST_F(ApplicationEnd, ConfirmedQuitSavesRemovesTheIconAndEndsTheLoopWithZero)
{
    const HWND main = MainWindow();
    DeleteFileA(ProgramFile().c_str());
    BoxAnswers answers(IDOK);
    EXPECT_EQ(SendMessageA(main, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(answers.texts, std::vector<std::string>{QuitQuestion});
    EXPECT_FALSE(IsWindow(main));
    EXPECT_FALSE(IsWindow(mainDialog.hWnd));
    EXPECT_TRUE(FileExists(ProgramFile()));
    EXPECT_FALSE(IconShown(main));
    EXPECT_EQ(QuitMessage(), std::optional<WPARAM>(0));
}

TEST_F(ApplicationEnd, TheEndOfTheSessionSavesQuietlyAndNothingIsWrittenAfterIt)
{
    const HWND main = MainWindow();
    DeleteFileA(ProgramFile().c_str());
    EXPECT_EQ(SendMessageA(main, WM_QUERYENDSESSION, 0, 0), TRUE);
    SendMessageA(main, WM_ENDSESSION, FALSE, 0);
    EXPECT_FALSE(FileExists(ProgramFile())) << "the session goes on: nothing to save";

    // Windows is ending the session: a failing save shows no box that would only hold up the log-off.
    ASSERT_TRUE(CreateDirectoryA(ProgramFile().c_str(), nullptr));
    BoxAnswers answers(IDOK);
    SendMessageA(main, WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(answers.texts.empty()) << answers.texts.front();
    ASSERT_TRUE(RemoveDirectoryA(ProgramFile().c_str()));
    EXPECT_TRUE(mainDialog.QuitBegun());

    // That save was the last: neither a later end of the session nor a confirmed quit writes after it.
    SendMessageA(main, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(SendMessageA(main, WM_CLOSE, 0, 0), 1);
    EXPECT_TRUE(answers.texts.empty()) << answers.texts.front();
    EXPECT_FALSE(FileExists(ProgramFile()));
}

// While a confirmed quit's failed save is shown, its end is under way: a "/quit" request, the end of the
// session and another "Quitter" that come meanwhile learn that the scheduler is ending; they neither save
// nor ask, and the quit under way ends it.
TEST_F(ApplicationEnd, AQuitThatComesWhileAnotherEndsLearnsThatTheSchedulerIsEnding)
{
    const HWND main = MainWindow();
    ASSERT_TRUE(CreateDirectoryA(ProgramFile().c_str(), nullptr));
    LRESULT requested = -1, closed = -1;
    BoxAnswers answers([&](const std::string& text) {
        if (text == SaveFailed)
        {
            requested = SendMessageA(main, WM_COMMAND, ID_QUIT_QUIETLY, Deadline(10000));
            SendMessageA(main, WM_ENDSESSION, TRUE, 0);
            closed = SendMessageA(main, WM_CLOSE, 0, 0);
            EXPECT_TRUE(IsWindow(main));
        }
        return IDOK;
    });
    EXPECT_EQ(SendMessageA(main, WM_CLOSE, 0, 0), 0);
    RemoveDirectoryA(ProgramFile().c_str());
    EXPECT_EQ(answers.texts, (std::vector<std::string>{QuitQuestion, SaveFailed}));
    EXPECT_EQ(requested, 1) << "the request was not told that the scheduler ends";
    EXPECT_EQ(closed, 0);
    EXPECT_FALSE(IsWindow(main));
    EXPECT_FALSE(IconShown(main));
    EXPECT_EQ(QuitMessage(), std::optional<WPARAM>(0));
}
