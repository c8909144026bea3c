#include "ui/tray/SystemTray.h"
#include "ui/tray/TrayAnimation.h"

#include "resources/resource.h"
#include "Harness.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace
{

// One call the tray made to the shell, as the shell saw it.
struct ShellCall
{
    DWORD message;
    UINT flags;
    HWND window;
    UINT id;
    UINT callbackMessage;
    HICON icon;
    DWORD size;
    std::wstring tip; // all 128 units
};

std::vector<ShellCall> g_shellCalls;
// Answers staged for the next calls; once they run out, calls go through to the real shell.
std::deque<BOOL> g_stagedAnswers;
// A staged answer for a call that the real shell carries out but reports too late, as a busy taskbar does:
// the caller is told it failed.
constexpr BOOL TimedOut = -1;

BOOL WINAPI RecordingShell(DWORD message, PNOTIFYICONDATAW data)
{
    g_shellCalls.push_back({message, data->uFlags, data->hWnd, data->uID, data->uCallbackMessage, data->hIcon,
                            data->cbSize, std::wstring(data->szTip, std::size(data->szTip))});
    if (!g_stagedAnswers.empty())
    {
        const BOOL answer = g_stagedAnswers.front();
        g_stagedAnswers.pop_front();
        if (answer == TimedOut)
            Shell_NotifyIconW(message, data);
        return answer == TimedOut ? FALSE : answer;
    }
    return Shell_NotifyIconW(message, data);
}

// The tray with its state in view and its shell calls recorded.
class TrayUnderTest : public CSystemTray
{
public:
    TrayUnderTest() { notifyIcon = RecordingShell; }
    // The application's own module and caption, as the start-up gives them.
    BOOL Install(HWND window, HICON icon)
    {
        return CSystemTray::Install(window, icon, GetModuleHandleA(nullptr), "Sylvane Programmateur");
    }

    using CSystemTray::addPending;
    using CSystemTray::commandWindow;
    using CSystemTray::defaultItem;
    using CSystemTray::defaultItemByPosition;
    using CSystemTray::iconData;
    using CSystemTray::iconHidden;
    using CSystemTray::iconRemoved;
    using CSystemTray::instance;
    using CSystemTray::messageWindow;

    void PrepareMenu(HMENU menu) override
    {
        preparedMenus.push_back(menu);
        preparedDefaultItem = GetMenuDefaultItem(menu, FALSE, 0);
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_STATE;
        GetMenuItemInfoA(menu, 0, TRUE, &item);
        firstItemIsDefault = (item.fState & MFS_DEFAULT) != 0;
        for (const UINT key : keysForMenu)
            PostMessageA(commandWindow, WM_KEYDOWN, key, 0);
    }

    std::vector<HMENU> preparedMenus;
    UINT preparedDefaultItem = 0;
    bool firstItemIsDefault = false;
    std::vector<UINT> keysForMenu;
};

struct Flags
{
    BOOL iconHidden;
    BOOL iconRemoved;
    BOOL addPending;
};

bool operator==(const Flags& a, const Flags& b)
{
    return !a.iconHidden == !b.iconHidden && !a.iconRemoved == !b.iconRemoved &&
           !a.addPending == !b.addPending;
}

std::ostream& operator<<(std::ostream& out, const Flags& f)
{
    return out << "{hidden " << f.iconHidden << ", removed " << f.iconRemoved << ", pending " << f.addPending
               << '}';
}

Flags FlagsOf(const TrayUnderTest& tray)
{
    return {tray.iconHidden(), tray.iconRemoved(), tray.addPending()};
}

const Flags Shown = {FALSE, FALSE, FALSE};
const Flags Removed = {TRUE, TRUE, FALSE};

// Asks the real shell whether it shows the icon: only a present icon can be modified.
bool ShellShowsIcon(HWND window, UINT id)
{
    NOTIFYICONDATAA data = {};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = id;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

std::vector<DWORD> ShellMessages()
{
    std::vector<DWORD> messages;
    for (const ShellCall& call : g_shellCalls)
        messages.push_back(call.message);
    return messages;
}

// The command ids posted to the window as WM_COMMAND, taken off the queue.
std::vector<WPARAM> PostedCommands(HWND window)
{
    std::vector<WPARAM> commands;
    MSG message;
    while (PeekMessageA(&message, window, WM_COMMAND, WM_COMMAND, PM_REMOVE))
        commands.push_back(message.wParam);
    return commands;
}

bool HasTrayMenu()
{
    return FindResourceA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAY_MENU), RT_MENU) != nullptr;
}

std::string ClassOf(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, 255);
    return name;
}

class Tray : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        CSystemTray::taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
    }

    void SetUp() override
    {
        g_shellCalls.clear();
        g_stagedAnswers.clear();
        PumpMessages();
    }

    void TearDown() override { g_stagedAnswers.clear(); }

    const HICON icon = LoadIconA(nullptr, IDI_APPLICATION);
};

VOID CALLBACK EndMenuSoon(HWND, UINT, UINT_PTR, DWORD)
{
    EndMenu();
}

// Runs the timers (a left click's delayed menu) until a second click could no longer come; posted commands
// stay in the queue to be read.
void RunTimersPastTheDoubleClickTime()
{
    PumpMessages(GetDoubleClickTime() + 500, WM_TIMER, WM_TIMER);
}

} // namespace

TEST_F(Tray, InstallAddsTheIconWithTheCaptionAsItsTip)
{
    MainWindowStandIn window;
    TrayUnderTest tray;
    EXPECT_EQ(CSystemTray::activeTray, &tray);
    EXPECT_EQ(FlagsOf(tray), Removed);

    ASSERT_NE(tray.Install(window.Get(), icon), FALSE);

    EXPECT_EQ(FlagsOf(tray), Shown);
    ASSERT_EQ(g_shellCalls.size(), 1u);
    const ShellCall& add = g_shellCalls[0];
    EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(add.size, sizeof(NOTIFYICONDATAW));
    EXPECT_EQ(add.flags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(add.window, window.Get());
    EXPECT_EQ(add.id, 109u);
    EXPECT_EQ(add.callbackMessage, 0x800Au);
    EXPECT_EQ(add.icon, icon);
    std::wstring expectedTip = L"Sylvane Programmateur";
    expectedTip.resize(128, L'\0');
    EXPECT_EQ(add.tip, expectedTip);
    EXPECT_TRUE(ShellShowsIcon(window.Get(), 109));

    // The hidden window exists, never shown, and is not where the icon's events go.
    ASSERT_TRUE(IsWindow(tray.messageWindow));
    EXPECT_EQ(ClassOf(tray.messageWindow), "TrayIconClass");
    EXPECT_FALSE(IsWindowVisible(tray.messageWindow));
    EXPECT_EQ(tray.commandWindow, window.Get());
}

TEST_F(Tray, InstallWithoutAWindowReportsToTheHiddenWindow)
{
    TrayUnderTest tray;
    ASSERT_NE(tray.Install(nullptr, icon), FALSE);
    const HWND hidden = tray.messageWindow;
    EXPECT_EQ(tray.iconData.hWnd, hidden);
    EXPECT_EQ(tray.commandWindow, hidden);
    EXPECT_TRUE(ShellShowsIcon(hidden, 109));

    EXPECT_EQ(SendMessageA(hidden, CSystemTray::TRAY_CALLBACK_MESSAGE, 109, WM_MOUSEMOVE), 1);
    EXPECT_EQ(SendMessageA(hidden, CSystemTray::TRAY_CALLBACK_MESSAGE, 108, WM_MOUSEMOVE), 0);

    tray.defaultItemByPosition = FALSE;
    tray.defaultItem = ID_LAUNCH_PLAYER;
    EXPECT_EQ(SendMessageA(hidden, CSystemTray::TRAY_CALLBACK_MESSAGE, 109, WM_LBUTTONDBLCLK), 1);
    EXPECT_EQ(PostedCommands(hidden), std::vector<WPARAM>{ID_LAUNCH_PLAYER});
}

TEST_F(Tray, RefusedInstallLeavesEveryFlagSet)
{
    MainWindowStandIn window;
    TrayUnderTest tray;
    g_stagedAnswers = {FALSE};
    EXPECT_EQ(tray.Install(window.Get(), icon), FALSE);
    EXPECT_EQ(FlagsOf(tray), (Flags{TRUE, TRUE, TRUE}));
    EXPECT_FALSE(ShellShowsIcon(window.Get(), 109));

    // Nothing to take out; a later show adds the icon for real.
    g_shellCalls.clear();
    EXPECT_TRUE(tray.HideFromTray());
    EXPECT_TRUE(g_shellCalls.empty());
    EXPECT_TRUE(tray.ShowInTray());
    EXPECT_EQ(ShellMessages(), std::vector<DWORD>{NIM_ADD});
    EXPECT_EQ(FlagsOf(tray), Shown);
    EXPECT_TRUE(ShellShowsIcon(window.Get(), 109));
}

TEST_F(Tray, HideAndShowAlternate)
{
    MainWindowStandIn window;
    TrayUnderTest tray;
    ASSERT_NE(tray.Install(window.Get(), icon), FALSE);
    for (int round = 0; round < 3; ++round)
    {
        g_shellCalls.clear();
        EXPECT_TRUE(tray.HideFromTray());
        ASSERT_EQ(ShellMessages(), std::vector<DWORD>{NIM_DELETE});
        EXPECT_EQ(g_shellCalls[0].flags, 0u);
        EXPECT_EQ(FlagsOf(tray), Removed);
        EXPECT_FALSE(ShellShowsIcon(window.Get(), 109));

        g_shellCalls.clear();
        EXPECT_TRUE(tray.ShowInTray());
        ASSERT_EQ(ShellMessages(), std::vector<DWORD>{NIM_ADD});
        EXPECT_EQ(g_shellCalls[0].flags, 7u);
        EXPECT_EQ(FlagsOf(tray), Shown);
        EXPECT_TRUE(ShellShowsIcon(window.Get(), 109));
    }
}

// A refused add leaves an add pending; a hide (no shell call) or a show that succeeds ends it, and no late
// retry adds the icon again (a refused duplicate add would be taken for an absent icon).
TEST_F(Tray, AHideOrASuccessfulShowEndsThePendingAddOfARefusedOne)
{
    for (const bool show : {false, true})
    {
        SCOPED_TRACE(show ? "show" : "hide");
        MainWindowStandIn window;
        TrayUnderTest tray;
        ASSERT_NE(tray.Install(window.Get(), icon), FALSE);
        ASSERT_TRUE(tray.HideFromTray());
        g_stagedAnswers = {FALSE};
        EXPECT_FALSE(tray.ShowInTray());
        ASSERT_EQ(FlagsOf(tray), (Flags{TRUE, TRUE, TRUE}));

        g_shellCalls.clear();
        if (show)
        {
            ASSERT_TRUE(tray.ShowInTray());
            ASSERT_TRUE(ShellShowsIcon(window.Get(), 109));
            g_shellCalls.clear();
            SendMessageA(tray.messageWindow, WM_TIMER, CSystemTray::AddRetryTimer, 0);
        }
        else
        {
            EXPECT_TRUE(tray.HideFromTray());
        }
        EXPECT_TRUE(g_shellCalls.empty());
        EXPECT_EQ(FlagsOf(tray), show ? Shown : Removed);
        EXPECT_FALSE(KillTimer(tray.messageWindow, CSystemTray::AddRetryTimer)) << "no retry timer runs";
    }
}

TEST_F(Tray, ShowingAPresentIconDeletesAndAddsItAgain)
{
    MainWindowStandIn window;
    TrayUnderTest tray;
    ASSERT_NE(tray.Install(window.Get(), icon), FALSE);
    g_shellCalls.clear();

    EXPECT_TRUE(tray.ShowInTray());

    ASSERT_EQ(ShellMessages(), (std::vector<DWORD>{NIM_DELETE, NIM_ADD}));
    EXPECT_EQ(g_shellCalls[0].flags, 0u);
    EXPECT_EQ(g_shellCalls[1].flags, 7u);
    EXPECT_EQ(FlagsOf(tray), Shown);
    EXPECT_TRUE(ShellShowsIcon(window.Get(), 109));
}

TEST_F(Tray, RefusedShellCallsLeaveTheFlagsAsTheTableSays)
{
    struct Case
    {
        const char* name;
        bool hideFirst;           // start from a removed icon
        std::deque<BOOL> answers; // for the operation under test
        bool (CSystemTray::*operation)();
        std::vector<DWORD> expectedCalls;
        bool expectedResult;
        Flags expectedFlags;
    };
    const Case cases[] = {
        {"show: delete done, add refused, the shell has no icon",
         false,
         {TRUE, FALSE, FALSE},
         &CSystemTray::ShowInTray,
         {NIM_DELETE, NIM_ADD, NIM_MODIFY},
         false,
         {TRUE, TRUE, TRUE}},
        {"show: delete done, add reported refused, the shell has the icon",
         false,
         {TRUE, FALSE, TRUE},
         &CSystemTray::ShowInTray,
         {NIM_DELETE, NIM_ADD, NIM_MODIFY},
         true,
         {FALSE, FALSE, FALSE}},
        {"show: delete and add refused, the shell has no icon",
         false,
         {FALSE, FALSE, FALSE},
         &CSystemTray::ShowInTray,
         {NIM_DELETE, NIM_ADD, NIM_MODIFY},
         true,
         {FALSE, FALSE, TRUE}},
        {"show: delete refused, add done",
         false,
         {FALSE, TRUE},
         &CSystemTray::ShowInTray,
         {NIM_DELETE, NIM_ADD},
         true,
         {FALSE, FALSE, FALSE}},
        {"show a removed icon: add refused, the shell has no icon",
         true,
         {FALSE, FALSE},
         &CSystemTray::ShowInTray,
         {NIM_ADD, NIM_MODIFY},
         false,
         {TRUE, TRUE, TRUE}},
        {"hide: delete refused",
         false,
         {FALSE},
         &CSystemTray::HideFromTray,
         {NIM_DELETE},
         false,
         {FALSE, FALSE, FALSE}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        MainWindowStandIn window;
        TrayUnderTest tray;
        ASSERT_NE(tray.Install(window.Get(), icon), FALSE);
        if (c.hideFirst)
            ASSERT_TRUE(tray.HideFromTray());
        g_shellCalls.clear();
        g_stagedAnswers = c.answers;

        EXPECT_EQ((tray.*c.operation)(), c.expectedResult);
        EXPECT_EQ(ShellMessages(), c.expectedCalls);
        EXPECT_EQ(FlagsOf(tray), c.expectedFlags);
        g_stagedAnswers.clear();
    }
}

TEST_F(Tray, TaskbarCreatedLeavesExactlyOneIconWhileInTheTrayAndNoneWhileTheWindowIsOpen)
{
    enum class Before
    {
        Shown,        // still in the shell (a display scaling change)
        LostByShell,  // an Explorer restart took it
        AddRefused,   // the last add was refused, an add is pending
        WindowIsOpen, // taken away on purpose
    };
    const struct
    {
        const char* name;
        Before before;
        bool iconAfter;
    } cases[] = {
        {"shown", Before::Shown, true},
        {"lost by the shell", Before::LostByShell, true},
        {"add refused", Before::AddRefused, true},
        {"window open", Before::WindowIsOpen, false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        MainWindowStandIn window;
        TrayUnderTest tray;
        ASSERT_NE(tray.Install(window.Get(), icon), FALSE);
        NOTIFYICONDATAW shellCopy = tray.iconData;
        switch (c.before)
        {
        case Before::Shown: break;
        case Before::LostByShell: ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &shellCopy)); break;
        case Before::AddRefused:
            g_stagedAnswers = {TRUE, FALSE, FALSE};
            ASSERT_FALSE(tray.ShowInTray());
            break;
        case Before::WindowIsOpen: ASSERT_TRUE(tray.HideFromTray()); break;
        }
        for (int broadcast = 0; broadcast < 3; ++broadcast)
        {
            g_shellCalls.clear();
            EXPECT_EQ(SendMessageA(tray.messageWindow, CSystemTray::taskbarCreatedMessage, 0, 0), 0);
            EXPECT_EQ(ShellMessages(),
                      c.iconAfter ? (std::vector<DWORD>{NIM_DELETE, NIM_ADD}) : std::vector<DWORD>{});
            EXPECT_EQ(ShellShowsIcon(window.Get(), 109), c.iconAfter);
            EXPECT_EQ(FlagsOf(tray), c.iconAfter ? Shown : Removed);
        }
        // One icon: a single delete takes it away.
        if (c.iconAfter)
        {
            ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &shellCopy));
            EXPECT_FALSE(ShellShowsIcon(window.Get(), 109));
        }
    }
}

TEST_F(Tray, ARefusedFirstAddIsTriedAgainForAWhileAndThenLeftToANewTaskbar)
{
    MainWindowStandIn window;
    TrayUnderTest tray;
    g_stagedAnswers = {FALSE};
    ASSERT_EQ(tray.Install(window.Get(), icon), FALSE);
    EXPECT_TRUE(tray.ShellSupported()) << "a late taskbar does not end the scheduler";
    const auto retry = [&] { SendMessageA(tray.messageWindow, WM_TIMER, CSystemTray::AddRetryTimer, 0); };

    // The taskbar is still not there: every retry asks, until the limit.
    for (UINT round = 0; round < CSystemTray::AddRetryLimit; ++round)
    {
        g_shellCalls.clear();
        g_stagedAnswers = {FALSE};
        retry();
        ASSERT_EQ(ShellMessages(), (std::vector<DWORD>{NIM_ADD, NIM_MODIFY})) << round;
    }
    g_shellCalls.clear();
    retry();
    EXPECT_TRUE(g_shellCalls.empty()) << "no more tries after the limit";
    EXPECT_EQ(FlagsOf(tray), (Flags{TRUE, TRUE, TRUE}));

    // The taskbar comes: its broadcast brings the icon, and retries stop.
    EXPECT_EQ(SendMessageA(tray.messageWindow, CSystemTray::taskbarCreatedMessage, 0, 0), 0);
    EXPECT_TRUE(ShellShowsIcon(window.Get(), 109));
    EXPECT_EQ(FlagsOf(tray), Shown);

    // A retry that succeeds before any broadcast: the icon is there once.
    MainWindowStandIn other;
    TrayUnderTest late;
    g_stagedAnswers = {FALSE};
    ASSERT_EQ(late.Install(other.Get(), icon), FALSE);
    SendMessageA(late.messageWindow, WM_TIMER, CSystemTray::AddRetryTimer, 0);
    EXPECT_TRUE(ShellShowsIcon(other.Get(), 109));
    EXPECT_EQ(FlagsOf(late), Shown);
}

TEST_F(Tray, AnAddThatTimesOutYetAddsTheIconCountsAsPresent)
{
    enum class Path
    {
        Install,
        Show,
        Retry,      // the retry timer's add, after a refused first add
        NewTaskbar, // "TaskbarCreated", after a refused first add
    };
    const struct
    {
        const char* name;
        Path path;
        BOOL addAnswer; // TimedOut: the shell has the icon; FALSE: it has none
        bool present;
    } cases[] = {
        {"install, add timed out", Path::Install, TimedOut, true},
        {"show, add timed out", Path::Show, TimedOut, true},
        {"retry, add timed out", Path::Retry, TimedOut, true},
        {"new taskbar, add timed out", Path::NewTaskbar, TimedOut, true},
        {"install, add refused", Path::Install, FALSE, false},
        {"show, add refused", Path::Show, FALSE, false},
        {"retry, add refused", Path::Retry, FALSE, false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        MainWindowStandIn window;
        TrayUnderTest tray;
        if (c.path != Path::Install)
        {
            g_stagedAnswers = {FALSE, FALSE};
            ASSERT_EQ(tray.Install(window.Get(), icon), FALSE);
            if (c.path == Path::Show)
                ASSERT_TRUE(tray.HideFromTray());
            ASSERT_FALSE(ShellShowsIcon(window.Get(), 109));
        }
        g_shellCalls.clear();
        g_stagedAnswers = {c.addAnswer};
        switch (c.path)
        {
        case Path::Install: EXPECT_EQ(tray.Install(window.Get(), icon) != FALSE, c.present); break;
        case Path::Show: EXPECT_EQ(tray.ShowInTray(), c.present); break;
        case Path::Retry: SendMessageA(tray.messageWindow, WM_TIMER, CSystemTray::AddRetryTimer, 0); break;
        case Path::NewTaskbar:
            g_stagedAnswers = {FALSE, c.addAnswer}; // nothing to delete
            SendMessageA(tray.messageWindow, CSystemTray::taskbarCreatedMessage, 0, 0);
            break;
        }
        ASSERT_GE(g_shellCalls.size(), 2u);
        EXPECT_EQ(g_shellCalls.back().message, static_cast<DWORD>(NIM_MODIFY)) << "the failed add is checked";
        EXPECT_EQ(g_shellCalls.back().flags, 7u);
        EXPECT_EQ(ShellShowsIcon(window.Get(), 109), c.present);
        EXPECT_EQ(FlagsOf(tray), (c.present ? Shown : Flags{TRUE, TRUE, TRUE}));
        EXPECT_EQ(KillTimer(tray.messageWindow, CSystemTray::AddRetryTimer) != FALSE, !c.present)
            << "retries run only for an icon the shell lacks";

        // The window opens: a present icon is deleted, and then the shell has none.
        g_shellCalls.clear();
        EXPECT_TRUE(tray.HideFromTray());
        EXPECT_EQ(ShellMessages(), c.present ? std::vector<DWORD>{NIM_DELETE} : std::vector<DWORD>{});
        EXPECT_FALSE(ShellShowsIcon(window.Get(), 109));
    }
}

LRESULT CALLBACK AnswersTheSessionEnd(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return message == WM_QUERYENDSESSION ? 42 : DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(Tray, TheEndOfTheSessionReachesAParkedCommandWindow)
{
    MainWindowStandIn parking;
    MainWindowStandIn window;
    TrayUnderTest tray;
    ASSERT_NE(tray.Install(window.Get(), icon), FALSE);
    SetWindowLongPtrA(window.Get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AnswersTheSessionEnd));
    // A top-level command window hears of the session's end itself: nothing is passed on.
    EXPECT_EQ(SendMessageA(tray.messageWindow, WM_QUERYENDSESSION, 0, 0), TRUE);
    SetParent(window.Get(), parking.Get());
    EXPECT_EQ(SendMessageA(tray.messageWindow, WM_QUERYENDSESSION, 0, 0), 42);
    SetParent(window.Get(), nullptr);
    SetWindowLongPtrA(window.Get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
}

TEST_F(Tray, OnlyTheActiveTraysHiddenWindowActs)
{
    MainWindowStandIn firstWindow;
    MainWindowStandIn secondWindow;
    TrayUnderTest first;
    ASSERT_NE(first.Install(firstWindow.Get(), icon), FALSE);
    HWND firstHidden = first.messageWindow;
    {
        TrayUnderTest second;
        EXPECT_EQ(CSystemTray::activeTray, &second);
        ASSERT_NE(second.Install(secondWindow.Get(), icon), FALSE);
        EXPECT_EQ(SendMessageA(firstHidden, CSystemTray::TRAY_CALLBACK_MESSAGE, 109, WM_MOUSEMOVE), 0);
        // The hidden window answers the icon's message even when the icon reports elsewhere.
        EXPECT_EQ(SendMessageA(second.messageWindow, CSystemTray::TRAY_CALLBACK_MESSAGE, 109, WM_MOUSEMOVE),
                  1);
    }
    // The destroyed tray no longer answers for anyone.
    EXPECT_EQ(CSystemTray::activeTray, nullptr);
    EXPECT_EQ(SendMessageA(firstHidden, CSystemTray::TRAY_CALLBACK_MESSAGE, 109, WM_MOUSEMOVE), 0);
}

TEST_F(Tray, IconEventsOtherThanClicksAreAnsweredWithoutAction)
{
    MainWindowStandIn window;
    TrayUnderTest tray;
    ASSERT_NE(tray.Install(window.Get(), icon), FALSE);
    struct Case
    {
        WPARAM iconId;
        LPARAM event;
        LRESULT expected;
    };
    const Case cases[] = {
        {108, WM_LBUTTONDBLCLK, 0}, {110, WM_RBUTTONUP, 0},
        {0, WM_LBUTTONUP, 0},       {109, WM_MOUSEMOVE, 1},
        {109, WM_LBUTTONDOWN, 1},   {109, WM_RBUTTONDOWN, 1},
        {109, WM_MBUTTONDOWN, 1},   {109, WM_MBUTTONUP, 1},
        {109, WM_RBUTTONDBLCLK, 1}, {109, MAKELPARAM(WM_MOUSEMOVE, 0x1234), 1},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(tray.OnIconMessage(c.iconId, c.event), c.expected) << c.iconId << ' ' << c.event;
        EXPECT_TRUE(PostedCommands(window.Get()).empty());
        EXPECT_TRUE(tray.preparedMenus.empty());
    }
}

TEST_F(Tray, DoubleClickPostsTheDefaultCommandToTheCommandWindow)
{
    MainWindowStandIn window;
    TrayUnderTest tray;
    ASSERT_NE(tray.Install(window.Get(), icon), FALSE);

    tray.defaultItemByPosition = FALSE;
    tray.defaultItem = ID_VISIT_SITE;
    EXPECT_EQ(tray.OnIconMessage(109, WM_LBUTTONDBLCLK), 1);
    EXPECT_EQ(PostedCommands(window.Get()), std::vector<WPARAM>{ID_VISIT_SITE});

    if (!HasTrayMenu())
        GTEST_SKIP() << "menu 109 is not linked into this test program";
    tray.defaultItemByPosition = TRUE;
    tray.defaultItem = 0;
    EXPECT_EQ(tray.OnIconMessage(109, WM_LBUTTONDBLCLK), 1);
    EXPECT_EQ(PostedCommands(window.Get()), std::vector<WPARAM>{ID_OPEN_SCHEDULER});
    EXPECT_TRUE(tray.preparedMenus.empty()) << "no menu is shown";
}

TEST_F(Tray, ClicksWithoutTheMenuResourceAreAnsweredWithZero)
{
    MainWindowStandIn window;
    TrayUnderTest tray;
    ASSERT_NE(tray.Install(window.Get(), icon), FALSE);
    tray.instance = GetModuleHandleA("kernel32.dll"); // a module without menu 109

    EXPECT_EQ(tray.OnIconMessage(109, WM_LBUTTONUP), 0);
    EXPECT_EQ(tray.OnIconMessage(109, WM_RBUTTONUP), 0);
    EXPECT_EQ(tray.OnIconMessage(109, WM_LBUTTONDBLCLK), 0);
    EXPECT_TRUE(PostedCommands(window.Get()).empty());
    EXPECT_TRUE(tray.preparedMenus.empty());
}

TEST_F(Tray, ButtonUpShowsTheMenuWithItsDefaultItem)
{
    if (!HasTrayMenu())
        GTEST_SKIP() << "menu 109 is not linked into this test program";
    MainWindowStandIn window;
    TrayUnderTest tray;
    ASSERT_NE(tray.Install(window.Get(), icon), FALSE);

    for (const LPARAM button : {WM_RBUTTONUP})
    {
        // The menu runs its own loop until something ends it.
        const UINT_PTR timer = SetTimer(nullptr, 0, 300, EndMenuSoon);
        EXPECT_EQ(tray.OnIconMessage(109, button), 1);
        KillTimer(nullptr, timer);

        ASSERT_EQ(tray.preparedMenus.size(), 1u);
        EXPECT_EQ(tray.preparedDefaultItem, static_cast<UINT>(ID_OPEN_SCHEDULER));
        EXPECT_TRUE(tray.firstItemIsDefault);
        EXPECT_EQ(GetMenuItemCount(tray.preparedMenus[0]), -1) << "the loaded menu is destroyed";
        MSG message;
        EXPECT_TRUE(PeekMessageA(&message, window.Get(), WM_NULL, WM_NULL, PM_REMOVE));
        EXPECT_TRUE(PostedCommands(window.Get()).empty());
        tray.preparedMenus.clear();
    }
}

TEST_F(Tray, ALeftClickWaitsForTheDoubleClickTimeAndADoubleClickShowsNoMenu)
{
    if (!HasTrayMenu())
        GTEST_SKIP() << "menu 109 is not linked into this test program";
    const struct
    {
        const char* what;
        std::vector<LPARAM> events; // in the order the shell sends them
        std::size_t menusAtOnce;
        std::size_t menusAfterwards;
        std::vector<WPARAM> commands;
    } cases[] = {
        {"right click", {WM_RBUTTONDOWN, WM_RBUTTONUP}, 1, 1, {}},
        {"left click", {WM_LBUTTONDOWN, WM_LBUTTONUP}, 0, 1, {}},
        {"double-click",
         {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP},
         0,
         0,
         {ID_OPEN_SCHEDULER}},
        {"left click, then right click", {WM_LBUTTONUP, WM_RBUTTONUP}, 1, 1, {}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        MainWindowStandIn window;
        TrayUnderTest tray;
        ASSERT_NE(tray.Install(window.Get(), icon), FALSE);
        // Ends any menu shortly after it opens.
        const UINT_PTR ender = SetTimer(nullptr, 0, 200, EndMenuSoon);
        for (const LPARAM event : c.events)
            EXPECT_EQ(tray.OnIconMessage(109, event), 1);
        EXPECT_EQ(tray.preparedMenus.size(), c.menusAtOnce);

        RunTimersPastTheDoubleClickTime();
        KillTimer(nullptr, ender);
        EXPECT_EQ(tray.preparedMenus.size(), c.menusAfterwards);
        EXPECT_EQ(PostedCommands(window.Get()), c.commands);
    }
}

TEST_F(Tray, AClickLoadsTheMenuOnce)
{
    if (!HasTrayMenu())
        GTEST_SKIP() << "menu 109 is not linked into this test program";
    // After the first event the module no longer has the menu: whatever comes later must use the menu the
    // click loaded, not load it again.
    const struct
    {
        const char* what;
        LPARAM first;
        std::vector<LPARAM> later;
        std::size_t menus;
        std::vector<WPARAM> commands;
    } cases[] = {
        {"left click, menu shown after the double-click time", WM_LBUTTONUP, {}, 1, {}},
        {"double-click", WM_LBUTTONUP, {WM_LBUTTONDBLCLK, WM_LBUTTONUP}, 0, {ID_OPEN_SCHEDULER}},
        {"left click, then right click", WM_LBUTTONUP, {WM_RBUTTONUP}, 1, {}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        MainWindowStandIn window;
        TrayUnderTest tray;
        ASSERT_NE(tray.Install(window.Get(), icon), FALSE);
        const UINT_PTR ender = SetTimer(nullptr, 0, 200, EndMenuSoon);
        EXPECT_EQ(tray.OnIconMessage(109, c.first), 1);
        tray.instance = GetModuleHandleA("kernel32.dll");
        for (const LPARAM event : c.later)
            EXPECT_EQ(tray.OnIconMessage(109, event), 1);
        RunTimersPastTheDoubleClickTime();
        KillTimer(nullptr, ender);
        EXPECT_EQ(tray.preparedMenus.size(), c.menus);
        EXPECT_EQ(PostedCommands(window.Get()), c.commands);
    }
}

TEST_F(Tray, ChosenMenuItemReachesTheCommandWindow)
{
    if (!HasTrayMenu())
        GTEST_SKIP() << "menu 109 is not linked into this test program";
    MainWindowStandIn window;
    TrayUnderTest tray;
    ASSERT_NE(tray.Install(window.Get(), icon), FALSE);

    struct Case
    {
        std::vector<UINT> keys;
        WPARAM command;
    };
    const Case cases[] = {
        {{VK_DOWN, VK_RETURN}, ID_OPEN_SCHEDULER},
        {{VK_DOWN, VK_DOWN, VK_RETURN}, ID_LAUNCH_PLAYER},
        {{VK_UP, VK_RETURN}, ID_QUIT},
    };
    for (const Case& c : cases)
    {
        tray.keysForMenu = c.keys;
        const UINT_PTR timer = SetTimer(nullptr, 0, 3000, EndMenuSoon); // in case the keys go astray
        EXPECT_EQ(tray.OnIconMessage(109, WM_RBUTTONUP), 1);
        KillTimer(nullptr, timer);
        EXPECT_EQ(PostedCommands(window.Get()), std::vector<WPARAM>{c.command});
    }
}

TEST_F(Tray, DestructionTakesTheIconAndTheHiddenWindowAway)
{
    MainWindowStandIn window;
    auto tray = std::make_unique<TrayUnderTest>();
    ASSERT_NE(tray->Install(window.Get(), icon), FALSE);
    const HWND hidden = tray->messageWindow;
    g_shellCalls.clear();

    tray.reset();

    EXPECT_EQ(ShellMessages(), std::vector<DWORD>{NIM_DELETE});
    EXPECT_FALSE(ShellShowsIcon(window.Get(), 109));
    EXPECT_FALSE(IsWindow(hidden));
    EXPECT_EQ(CSystemTray::activeTray, nullptr);
}

TEST_F(Tray, DestructionOfARemovedIconCallsNoShell)
{
    MainWindowStandIn window;
    auto tray = std::make_unique<TrayUnderTest>();
    ASSERT_NE(tray->Install(window.Get(), icon), FALSE);
    ASSERT_TRUE(tray->HideFromTray());
    const HWND hidden = tray->messageWindow;
    g_shellCalls.clear();

    tray.reset();

    EXPECT_TRUE(g_shellCalls.empty());
    EXPECT_FALSE(IsWindow(hidden));
}

TEST_F(Tray, TheRealShellServesAnUnrecordedTray)
{
    MainWindowStandIn window;
    {
        CSystemTray tray;
        ASSERT_NE(tray.Install(window.Get(), icon, GetModuleHandleA(nullptr), "Sylvane Programmateur"),
                  FALSE);
        EXPECT_TRUE(ShellShowsIcon(window.Get(), 109));
        EXPECT_TRUE(tray.HideFromTray());
        EXPECT_FALSE(ShellShowsIcon(window.Get(), 109));
        EXPECT_TRUE(tray.ShowInTray());
        EXPECT_TRUE(tray.ShowInTray());
        EXPECT_TRUE(ShellShowsIcon(window.Get(), 109));
    }
    EXPECT_FALSE(ShellShowsIcon(window.Get(), 109));
}

// The animation

TEST_F(Tray, ParkingWindowIsCreatedOnceAndReused)
{
    MainWindowStandIn first(true);
    MainWindowStandIn second(true);
    ASSERT_EQ(ParkWindow(first.Get()), 1);
    const HWND parking = parkingWindow;
    ASSERT_TRUE(IsWindow(parking));
    EXPECT_EQ(ClassOf(parking), "Static");
    EXPECT_FALSE(IsWindowVisible(parking));
    EXPECT_EQ(GetWindowLongA(parking, GWL_STYLE) & (WS_POPUP | WS_CHILD | WS_CAPTION),
              static_cast<LONG>(WS_POPUP));
    EXPECT_EQ(GetAncestor(first.Get(), GA_PARENT), parking);
    EXPECT_FALSE(IsWindowVisible(first.Get()));

    ASSERT_EQ(ParkWindow(second.Get()), 1);
    EXPECT_EQ(parkingWindow, parking);
    EXPECT_EQ(GetAncestor(second.Get(), GA_PARENT), parking);
}

TEST_F(Tray, ParkingWindowIsMadeAgainWhenItHasGone)
{
    MainWindowStandIn window(true);
    ASSERT_EQ(ParkWindow(window.Get()), 1);
    AnimateOutOfTray(window.Get());
    ASSERT_TRUE(DestroyWindow(parkingWindow));

    ASSERT_EQ(ParkWindow(window.Get()), 1);
    EXPECT_TRUE(IsWindow(parkingWindow));
    EXPECT_EQ(GetAncestor(window.Get(), GA_PARENT), parkingWindow);
}

TEST_F(Tray, AnimatingIntoAndOutOfTheTrayParksAndRestoresTheWindow)
{
    MainWindowStandIn window(true);
    RECT before = {};
    GetWindowRect(window.Get(), &before);

    for (int round = 0; round < 2; ++round)
    {
        AnimateIntoTray(window.Get());
        const HWND parking = parkingWindow;
        EXPECT_EQ(GetAncestor(window.Get(), GA_PARENT), parking);
        EXPECT_FALSE(IsWindowVisible(window.Get()));
        EXPECT_EQ(GetWindowLongA(window.Get(), GWL_STYLE) & WS_VISIBLE, 0);
        EXPECT_FALSE(IsIconic(window.Get())) << "parked, not minimised";

        AnimateOutOfTray(window.Get());
        EXPECT_EQ(parkingWindow, parking) << "minimising again reuses the parking window";
        EXPECT_EQ(GetAncestor(window.Get(), GA_PARENT), GetDesktopWindow());
        EXPECT_EQ(GetParent(window.Get()), nullptr);
        EXPECT_TRUE(IsWindowVisible(window.Get()));
        EXPECT_EQ(GetActiveWindow(), window.Get());
        EXPECT_EQ(GetForegroundWindow(), window.Get());
        RECT after = {};
        GetWindowRect(window.Get(), &after);
        EXPECT_TRUE(EqualRect(&before, &after)) << "back at its last place";
    }

    // Parked where no monitor is any more (one unplugged, a smaller resolution): it opens centred on the
    // primary screen's work area, its size kept.
    RECT workArea = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    for (const POINT gone : {POINT{-4000, 100}, POINT{workArea.right + 50, workArea.bottom + 50}})
    {
        SetWindowPos(window.Get(), nullptr, gone.x, gone.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        AnimateIntoTray(window.Get());
        AnimateOutOfTray(window.Get());
        RECT after = {};
        GetWindowRect(window.Get(), &after);
        EXPECT_EQ(after.right - after.left, before.right - before.left);
        EXPECT_EQ(after.left - workArea.left, workArea.right - after.right) << gone.x;
        EXPECT_LE(std::abs((after.top - workArea.top) - (workArea.bottom - after.bottom)), 1) << gone.x;
    }

    // One larger than the work area (a high scaling on a small screen) opens with its caption in reach.
    SetWindowPos(window.Get(), nullptr, -4000, 100, workArea.right - workArea.left + 40,
                 workArea.bottom - workArea.top + 30, SWP_NOZORDER);
    AnimateIntoTray(window.Get());
    AnimateOutOfTray(window.Get());
    RECT after = {};
    GetWindowRect(window.Get(), &after);
    EXPECT_GT(after.right - after.left, workArea.right - workArea.left);
    EXPECT_EQ(after.left, workArea.left);
    EXPECT_EQ(after.top, workArea.top);
}

TEST_F(Tray, AWindowNeverParkedComesOutTopLevelAndVisible)
{
    MainWindowStandIn window;
    ASSERT_FALSE(IsWindowVisible(window.Get()));
    AnimateOutOfTray(window.Get());
    EXPECT_EQ(GetAncestor(window.Get(), GA_PARENT), GetDesktopWindow());
    EXPECT_TRUE(IsWindowVisible(window.Get()));
    EXPECT_EQ(GetActiveWindow(), window.Get());
}

TEST_F(Tray, NotificationAreaLiesInsideTheTaskbar)
{
    // The taskbar of Wine's desktop shows itself once it has an icon.
    MainWindowStandIn window;
    CSystemTray tray;
    ASSERT_NE(tray.Install(window.Get(), icon, GetModuleHandleA(nullptr), "Sylvane Programmateur"), FALSE);
    PumpMessages();
    const HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    ASSERT_NE(taskbar, nullptr);
    RECT bar = {};
    GetWindowRect(taskbar, &bar);

    RECT area = {-1, -1, -1, -1};
    LocateNotificationArea(&area);

    EXPECT_FALSE(IsRectEmpty(&area));
    EXPECT_GE(area.left, bar.left);
    EXPECT_GE(area.top, bar.top);
    EXPECT_LE(area.right, bar.right);
    EXPECT_LE(area.bottom, bar.bottom);
}

TEST_F(Tray, ProbeReadsTheClassesAndRectanglesOfRealWindows)
{
    for (const char* name : {"TrayTestBar", "TrayNotifyWnd", "TrayClockWClass"})
    {
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = name;
        RegisterClassExA(&windowClass);
    }
    // A stand-in taskbar along the bottom, its notification area at the right with the clock at its end.
    const HWND bar = CreateWindowExA(0, "TrayTestBar", "", WS_POPUP, 0, 700, 1000, 40, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(bar, nullptr);
    const HWND notify = CreateWindowExA(0, "TrayNotifyWnd", "", WS_CHILD, 800, 2, 196, 36, bar, nullptr,
                                        GetModuleHandleA(nullptr), nullptr);
    CreateWindowExA(0, "TrayClockWClass", "", WS_CHILD, 130, 4, 60, 30, notify, nullptr,
                    GetModuleHandleA(nullptr), nullptr);

    RECT area = {};
    GetWindowRect(bar, &area);
    EnumChildWindows(bar, NotificationAreaProbe, reinterpret_cast<LPARAM>(&area));
    const RECT expected = {800, 702, 930, 738};
    EXPECT_TRUE(EqualRect(&area, &expected))
        << area.left << ',' << area.top << ',' << area.right << ',' << area.bottom;
    DestroyWindow(bar);
}
