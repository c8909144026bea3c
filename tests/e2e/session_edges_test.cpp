// The edges of a session: a quit that comes while a box is open, the taskbar re-created, a /quit whose save
// cannot succeed, a scheduler started with other rights, the elevated autostart switch.
#include "Scenario.h"

#include <shellapi.h>

#include <algorithm>

namespace e2e
{
namespace
{

class SessionEdges : public Scenario
{
};

inline constexpr WPARAM QuitCommand = 105; // the tray menu's "Quitter"

// A visible box or dialog of the process whose text is `text`.
HWND WaitForBoxSaying(DWORD process, const std::string& text)
{
    HWND found = nullptr;
    WaitFor([&] {
        // The open-file dialog has no text of a box; a box may go while it is read.
        for (HWND window : TopWindows(process, "#32770"))
            try
            {
                const HWND shown = GetDlgItem(window, 0xFFFF);
                if (shown && TextOf(shown) == text)
                    found = window;
            }
            catch (const BenchError&)
            {
            }
        return found != nullptr;
    });
    if (!found)
        throw BenchError("no box saying \"" + text + "\"");
    return found;
}

// Pierre, today, with confirmation, without repetition: due at the first tick when `dueNow`, else twelve
// hours away (no tick of the scheduler's own may fire it meanwhile).
RecordFixture Pierre(bool dueNow)
{
    const SYSTEMTIME now = Now();
    RecordFixture record{"Pierre",
                         Stations()[1],
                         {},
                         static_cast<std::int16_t>((now.wHour + (dueNow ? 0 : 12)) % 24),
                         static_cast<std::int16_t>(now.wMinute),
                         1,
                         0};
    record.days[static_cast<std::size_t>(DayIndex(now))] = 1;
    return record;
}

enum class Box
{
    LaunchQuestion,
    SwitchOffQuestion,
    ErrorBox,
    OpenFileDialog,
};
enum class QuitFrom
{
    SlashQuit,
    ConfirmedQuitter,
    SessionEnd,
};

// Opens the box; returns its window.
HWND OpenBox(const Chronel& app, Box box)
{
    switch (box)
    {
    case Box::LaunchQuestion:
        app.TimerTick();
        return WaitForBoxSaying(app.Process(), texts::LaunchQuestion("Pierre", Stations()[1].title));
    case Box::SwitchOffQuestion:
        app.Press(ids::ActiveButton);
        return WaitForBoxSaying(app.Process(), texts::SwitchOffQuestion);
    case Box::ErrorBox:
        app.Press(ids::AddButton); // no name typed
        return WaitForBoxSaying(app.Process(), texts::NoName);
    case Box::OpenFileDialog: app.Press(ids::LoadButton); return WaitForFileDialog(app.Process());
    }
    return nullptr;
}

// The quit arrives while the box is open. With the session's end the process is not ended by the system here:
// the box is then answered the way that would otherwise launch or remove, change or load something.
void QuitWhileOpen(Chronel& app, QuitFrom from, Box box, HWND open)
{
    switch (from)
    {
    case QuitFrom::SlashQuit:
        EXPECT_EQ(RunOnceMore(StepTimeout, "/quit"), 0u);
        EXPECT_EQ(app.WaitForExit(), 0u);
        return;
    case QuitFrom::ConfirmedQuitter: {
        PostMessageA(app.Main(), WM_COMMAND, QuitCommand, 0);
        const HWND question = WaitForBoxSaying(app.Process(), texts::QuitQuestion);
        PostMessageA(question, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(app.WaitForExit(), 0u);
        return;
    }
    case QuitFrom::SessionEnd:
        EXPECT_TRUE(QueryEndSession(app));
        EndSession(app, true);
        if (box == Box::OpenFileDialog)
            ChooseFile(open, BuildMediaList("other.slv", {Stations()[0]}));
        else
            PostMessageA(open, WM_COMMAND, box == Box::LaunchQuestion ? IDCANCEL : IDOK, 0);
        app.Settle();
        app.Kill();
        return;
    }
}

TEST_F(SessionEdges, AQuitWhileABoxIsOpenIsFinalAndTheProgrammeFileKeepsWhatItSaved)
{
    for (const QuitFrom from : {QuitFrom::SlashQuit, QuitFrom::ConfirmedQuitter, QuitFrom::SessionEnd})
        for (const Box box :
             {Box::LaunchQuestion, Box::SwitchOffQuestion, Box::ErrorBox, Box::OpenFileDialog})
        {
            SCOPED_TRACE("quit " + std::to_string(static_cast<int>(from)) + ", box " +
                         std::to_string(static_cast<int>(box)));
            ResetMachine();
            const std::string stations = RememberStations();
            if (box == Box::LaunchQuestion)
                WaitForEarlyMinute(40);
            const std::string before = RecordBytes(Pierre(box == Box::LaunchQuestion));
            WriteProgramFile(before);
            Chronel& scheduler = Start();
            QuitWhileOpen(scheduler, from, box, OpenBox(scheduler, box));
            EXPECT_TRUE(SameBytes(ReadBytes(ProgramFilePath()), before));
            EXPECT_TRUE(PlayerStarts().empty()) << "the player started";
            EXPECT_EQ(ReadMachineString(SettingsKey, "Media List"), stations) << "another list was loaded";
            EXPECT_NE(ReadMachineDword(SettingsKey, "Active"), std::optional<DWORD>(0)) << "switched off";
            app.reset();
            EndLeftoverSchedulers();
        }
}

TEST_F(SessionEdges, TheIconComesBackOnceWheneverTheTaskbarIsCreatedAgainWhileInTheTray)
{
    Chronel& scheduler = Start();
    ASSERT_TRUE(WaitFor(TrayIconShown));
    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    NOTIFYICONDATAA icon = {};
    icon.cbSize = sizeof icon;
    icon.hWnd = scheduler.Main();
    icon.uID = static_cast<UINT>(ids::TrayIconId);

    // An Explorer restart: the shell has lost the icon, then announces its new taskbar. A change of display
    // scaling: the same announcement while the icon is still there.
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &icon));
    ASSERT_TRUE(WaitFor([] { return !TrayIconShown(); }));
    for (int broadcast = 0; broadcast < 3; ++broadcast)
    {
        PostMessageA(HWND_BROADCAST, taskbarCreated, 0, 0);
        scheduler.Settle();
        EXPECT_TRUE(WaitFor(TrayIconShown)) << broadcast;
    }
    // Exactly one: one delete takes it away.
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &icon));
    EXPECT_FALSE(Shell_NotifyIconA(NIM_DELETE, &icon));

    // With the window open there is no icon, and the announcement adds none.
    scheduler.OpenWindow();
    PostMessageA(HWND_BROADCAST, taskbarCreated, 0, 0);
    scheduler.Settle();
    EXPECT_FALSE(Shell_NotifyIconA(NIM_DELETE, &icon)) << "an icon was added while the window is open";
}

// The programme file held without sharing, one programme added (the user was told the save failed): /quit
// reports that the scheduler could not end, and it goes on with the programme.
TEST_F(SessionEdges, SlashQuitWhoseSaveFailsLeavesTheSchedulerRunningAndSaysSo)
{
    RememberStations();
    const std::string saved = RecordBytes(Pierre(false));
    WriteProgramFile(saved);
    Chronel& scheduler = Start();
    ScopedHandle held = HoldOpen(ProgramFilePath(), 0);
    scheduler.Type(ids::ProgramName, "Soir");
    scheduler.SelectMedia(Stations()[0].title);
    scheduler.Tick(ids::AllDays);
    scheduler.Press(ids::AddButton);
    Answer(scheduler.WaitForMessage("after an add whose save cannot succeed"), IDOK);

    EXPECT_EQ(RunOnceMore(StepTimeout, "/quit"), 1u);
    EXPECT_TRUE(scheduler.Running());
    EXPECT_TRUE(NoMessageBoxWithin(scheduler.Process(), 0));
    EXPECT_EQ(scheduler.Items(ids::ProgramList), (std::vector<std::string>{"Pierre", "Soir"}));

    // Once the file is free, the next /quit saves both and ends it.
    held.Reset();
    EXPECT_EQ(RunOnceMore(StepTimeout, "/quit"), 0u);
    EXPECT_EQ(scheduler.WaitForExit(), 0u);
    const std::optional<std::string> after = ReadBytes(ProgramFilePath());
    ASSERT_TRUE(after);
    EXPECT_EQ(after->size(), 2 * RecordSize);
    EXPECT_EQ(after->substr(0, RecordSize), saved);
}

// A scheduler started with other rights (an elevated installer, another account) holds a mutex that a normal
// start may only wait on: no second scheduler starts, and /quit reports at once that it cannot end that one.
TEST_F(SessionEdges, AMutexThatCannotBeOpenedMeansASchedulerRuns)
{
    const ForeignSchedulerMutex other;
    EXPECT_EQ(RunOnceMore(StepTimeout, ""), 0u);
    EXPECT_TRUE(WindowsOfClass("CHRONEL").empty()) << "a second scheduler started";
    EXPECT_FALSE(TrayIconShown());
    const DWORD asked = GetTickCount();
    EXPECT_EQ(RunOnceMore(StepTimeout, "/quit"), 1u);
    EXPECT_LT(GetTickCount() - asked, 9000u) << "/quit waited for a scheduler it cannot reach";
}

// The command line is read as Windows programs read theirs: the quoted "/quit" is "/quit". A command line
// with anything else asks for nothing this program does: no scheduler starts (a caller waiting for the
// option's answer would wait for ever), and the exit code says so.
TEST_F(SessionEdges, TheCommandLineIsReadAsWindowsReadsItAndAnUnknownOptionStartsNothing)
{
    for (const char* refused : {"/quit now", "-quit", "/autostart maybe", "/foo", "\"/quit\" now"})
    {
        SCOPED_TRACE(refused);
        EXPECT_EQ(RunOnceMore(StepTimeout, refused), 2u);
        EXPECT_TRUE(WindowsOfClass("CHRONEL").empty()) << "a scheduler started";
    }
    EXPECT_FALSE(TrayIconShown());
    EXPECT_FALSE(PathExists(DataFolder())) << "the data folder was made";

    Chronel& scheduler = Start();
    EXPECT_EQ(RunOnceMore(StepTimeout, "\"/quit\""), 0u);
    EXPECT_EQ(scheduler.WaitForExit(), 0u);
}

// Two installers (or scripts) ask at once: both are told that the scheduler ended. The scheduler's thread is
// held for a moment, so that both requests wait for it before the first is handled. With its window open the
// first request's end has no icon to take away and lets no message in: the second comes to a window that is
// gone. From the tray, the shell's answer to the icon's removal lets the second in during the first's end.
TEST_F(SessionEdges, TwoSlashQuitsAtOnceAreBothToldThatTheSchedulerEnded)
{
    // As long as a /quit takes to start and look, without a scheduler.
    const DWORD asked = GetTickCount();
    ASSERT_EQ(RunOnceMore(StepTimeout, "/quit"), 0u);
    const DWORD lookTime = GetTickCount() - asked;

    for (const bool windowOpen : {true, false})
    {
        SCOPED_TRACE(windowOpen ? "window open" : "in the tray");
        Chronel& scheduler = Start();
        if (windowOpen)
            scheduler.OpenWindow();
        const HANDLE thread =
            OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(scheduler.Main(), nullptr));
        const ScopedHandle threadOwned{thread};
        ASSERT_TRUE(thread);
        ASSERT_NE(SuspendThread(thread), static_cast<DWORD>(-1));
        const PROCESS_INFORMATION first = StartTool(Paths().program, "/quit");
        const ScopedHandle firstOwned{first.hProcess};
        const PROCESS_INFORMATION second = StartTool(Paths().program, "/quit");
        const ScopedHandle secondOwned{second.hProcess};
        // Well within the 7 s in which a /quit's request must be taken up.
        Sleep(std::min<DWORD>(std::max<DWORD>(2 * lookTime, 1000), 4000));
        ResumeThread(thread);

        EXPECT_EQ(WaitForExitCode(first.hProcess, StepTimeout, "the first /quit"), 0u);
        EXPECT_EQ(WaitForExitCode(second.hProcess, StepTimeout, "the second /quit"), 0u);
        EXPECT_EQ(scheduler.WaitForExit(), 0u);
        app.reset();
    }
}

// What the activation switch runs with administrator rights where the user may not write the Run key.
TEST_F(SessionEdges, SlashAutostartWritesOrDeletesOnlyTheRunValue)
{
    const std::string quoted = "\"" + Paths().program + "\"";
    EXPECT_EQ(RunOnceMore(StepTimeout, "/autostart on"), 0u);
    EXPECT_EQ(ReadMachineString(RunKey, "Sylvane Programmateur"), quoted);
    EXPECT_EQ(RunOnceMore(StepTimeout, "/AUTOSTART OFF"), 0u);
    EXPECT_EQ(ReadMachineString(RunKey, "Sylvane Programmateur"), std::nullopt);
    EXPECT_EQ(RunOnceMore(StepTimeout, "/autostart off"), 0u) << "already off";
    EXPECT_EQ(RunOnceMore(StepTimeout, "/autostart maybe"), 2u);
    EXPECT_EQ(ReadMachineString(RunKey, "Sylvane Programmateur"), std::nullopt);
    EXPECT_EQ(ReadMachineString(SettingsKey, "Active"), std::nullopt) << "the settings key was touched";
    EXPECT_FALSE(PathExists(DataFolder())) << "the data folder was made";
    EXPECT_FALSE(TrayIconShown());
}

} // namespace
} // namespace e2e
