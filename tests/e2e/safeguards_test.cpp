// What the scheduler does where a plain reading of its rules would lose data or misbehave: saving at the end
// of the session and after every change, one scheduler per session, a well-formed playlist whatever the
// titles, and a failed save that keeps the earlier file.
#include "Scenario.h"

namespace e2e
{
namespace
{

class Safeguards : public Scenario
{
};

const RecordFixture& Morning()
{
    static const RecordFixture record{"Matin", Stations()[1], {1, 0, 1, 0, 1, 0, 0}, 8, 5, 1, 0};
    return record;
}

const RecordFixture& Evening()
{
    static const RecordFixture record{"Soir", Stations()[0], {1, 1, 1, 1, 1, 1, 1}, 21, 30, 0, 1};
    return record;
}

// Defines Soir through the dialog (the stations must be loaded).
void DefineEvening(const Chronel& app)
{
    app.Type(ids::ProgramName, "Soir");
    app.SelectMedia(Stations()[0].title);
    app.Tick(ids::AllDays);
    app.Type(ids::Hour, "21");
    app.Type(ids::Minute, "30");
    app.Tick(ids::ConfirmNo);
    AddProgram(app, "Soir");
}

TEST_F(Safeguards, TheEndOfTheSessionSavesTheProgrammesWhereverTheWindowIs)
{
    const std::string saved = RecordsBytes({Morning(), Evening()});
    // The end of the session is final: each place starts a scheduler of its own.
    for (const char* where : {"never opened", "sent back to the tray"})
    {
        SCOPED_TRACE(where);
        WriteProgramFile(saved);
        Chronel& app = Start();
        if (std::string(where) == "sent back to the tray")
        {
            app.OpenWindow();
            app.Press(ids::Ok);
            ASSERT_TRUE(WaitFor([&] { return !app.WindowShown(); }));
            app.Settle();
        }
        ASSERT_TRUE(DeleteFileW(WidePath(ProgramFilePath()).c_str()));
        EXPECT_TRUE(QueryEndSession(app)) << "the scheduler refused the end of the session";
        EXPECT_TRUE(NoMessageBoxWithin(app.Process(), 500));
        // A session end that was called off saves nothing.
        EndSession(app, false);
        EXPECT_FALSE(PathExists(ProgramFilePath()));
        EndSession(app, true);
        EXPECT_TRUE(SameBytes(ReadBytes(ProgramFilePath()), saved));
        app.Kill();
    }
}

TEST_F(Safeguards, AnAddedProgrammeSurvivesAKilledProcess)
{
    RememberStations();
    Chronel& app = Start();
    app.OpenWindow();
    DefineEvening(app);
    app.Kill();
    EXPECT_TRUE(SameBytes(ReadBytes(ProgramFilePath()), RecordBytes(Evening())));

    Chronel& again = Start();
    EXPECT_EQ(again.Items(ids::ProgramList), std::vector<std::string>{"Soir"});
}

TEST_F(Safeguards, ASecondStartOpensTheFirstSchedulerAndEnds)
{
    Chronel& first = Start();
    for (const char* where : {"never opened", "sent back to the tray"})
    {
        SCOPED_TRACE(where);
        if (std::string(where) == "sent back to the tray")
        {
            first.Press(ids::Ok);
            ASSERT_TRUE(WaitFor([&] { return !first.WindowShown(); }));
            first.Settle();
        }
        ASSERT_FALSE(first.WindowShown());
        EXPECT_EQ(RunOnceMore(), 0u);
        EXPECT_TRUE(WaitFor([&] { return first.WindowShown(); })) << "the running scheduler did not open";
        EXPECT_TRUE(WaitFor([] { return !TrayIconShown(); })) << "an icon is left in the notification area";
        EXPECT_TRUE(first.Running());
    }
    EXPECT_EQ(WindowsOfClass("CHRONEL").size(), 1u);
}

TEST_F(Safeguards, TitlesWithMarkupCharactersGiveAWellFormedPlaylist)
{
    const SYSTEMTIME now = (WaitForEarlyMinute(45), Now());
    RecordFixture night{
        "Nuit & \"Jour\"",
        {"Rock & \"Roll\" <Live>", "http://radio.example/?a=1&b=2", "http://flux.example/\"r&r\".mp3"},
        {1, 1, 1, 1, 1, 1, 1},
        static_cast<std::int16_t>(now.wHour),
        static_cast<std::int16_t>(now.wMinute),
        1,
        1};
    WriteProgramFile(RecordBytes(night));
    Chronel& app = Start();
    ASSERT_EQ(Now().wMinute, now.wMinute) << "the minute turned before the tick: the bench was too slow";
    app.TimerTick();
    const MessageBoxView question = app.WaitForMessage("after the tick in Nuit's minute");
    // The question shows the texts as they are.
    ExpectMessage(question, texts::LaunchQuestion(night.name, night.media.title), BoxIcon::Question);
    Answer(question, IDOK);
    ASSERT_TRUE(WaitFor([] { return !PlayerStarts().empty(); })) << "the player was not started";
    EXPECT_EQ(PlayerStarts(), std::vector<std::string>{"\"" + PlaylistPath() + "\""});
    EXPECT_TRUE(SameBytes(
        ReadBytes(PlaylistPath()),
        PlaylistText("Nuit &amp; &quot;Jour&quot;", "Rock &amp; &quot;Roll&quot; &lt;Live&gt;",
                     "http://flux.example/&quot;r&amp;r&quot;.mp3", "http://radio.example/?a=1&amp;b=2")));
}

// What an installer does before it replaces the program: "chronel.exe /quit" ends the running scheduler
// without its question, with its programmes saved and its icon gone, and succeeds when none runs.
TEST_F(Safeguards, SlashQuitEndsTheRunningSchedulerWithItsProgrammesSaved)
{
    EXPECT_EQ(RunOnceMore(StepTimeout, "/quit"), 0u) << "with no scheduler running";

    RememberStations();
    WriteProgramFile(RecordBytes(Morning()));
    Chronel& app = Start();
    app.OpenWindow();
    DefineEvening(app);
    app.Press(ids::Ok);
    ASSERT_TRUE(WaitFor([&] { return !app.WindowShown(); }));
    ASSERT_TRUE(
        DeleteFileW(WidePath(ProgramFilePath()).c_str())); // only the quit's own save can bring it back

    EXPECT_EQ(RunOnceMore(StepTimeout, "/QUIT "), 0u);
    EXPECT_EQ(app.WaitForExit(), 0u);
    EXPECT_TRUE(NoMessageBoxWithin(app.Process(), 0));
    EXPECT_TRUE(SameBytes(ReadBytes(ProgramFilePath()), RecordsBytes({Morning(), Evening()})));
    EXPECT_TRUE(WaitFor([] { return !TrayIconShown(); })) << "the icon stayed in the notification area";
}

// Another program (a backup, an antivirus at log-on) holds the programme file across the start-up: the user
// is told once, the file is not written over, and the first save after its release keeps its records first.
TEST_F(Safeguards, AProgrammeFileHeldAtStartUpLosesNothing)
{
    RememberStations();
    const RecordFixture noon{"Midi", Stations()[2], {0, 0, 0, 0, 0, 1, 1}, 12, 0, 0, 1};
    const std::string old = RecordsBytes({Morning(), noon});
    WriteProgramFile(old);
    ScopedHandle held = HoldOpen(ProgramFilePath(), 0);

    Chronel& app = Start();
    MessageBoxView box = app.WaitForMessage("at a start whose programme file is held");
    ExpectMessage(box, texts::LoadFailed, BoxIcon::Error);
    Answer(box, IDOK);
    app.Settle();
    EXPECT_TRUE(app.Items(ids::ProgramList).empty());
    EXPECT_TRUE(NoMessageBoxWithin(app.Process(), 500)) << "told more than once";

    held.Reset();
    app.OpenWindow();
    DefineEvening(app);
    EXPECT_EQ(app.Items(ids::ProgramList), (std::vector<std::string>{"Matin", "Midi", "Soir"}));
    EXPECT_TRUE(SameBytes(ReadBytes(ProgramFilePath()), old + RecordBytes(Evening())));
}

// The programme file held open without sharing by the driver: Wine running as root writes through a read-only
// attribute, but neither creating nor replacing a file that another process holds this way can succeed.
TEST_F(Safeguards, AFailedSaveShowsItsMessageAndKeepsTheEarlierFile)
{
    RememberStations();
    const std::string saved = RecordBytes(Morning());
    WriteProgramFile(saved);
    Chronel& app = Start();
    app.OpenWindow();
    ScopedHandle held = HoldOpen(ProgramFilePath(), 0);

    app.Type(ids::ProgramName, "Soir");
    app.SelectMedia(Stations()[0].title);
    app.Tick(ids::AllDays);
    app.Type(ids::Hour, "21");
    app.Type(ids::Minute, "30");
    app.Press(ids::AddButton);
    MessageBoxView failed = app.WaitForMessage("after an add whose save cannot succeed");
    ExpectMessage(failed, texts::SaveFailed, BoxIcon::Error);
    SaveScreenshot("save-failed");
    Answer(failed, IDOK);
    app.Settle();
    EXPECT_EQ(app.Items(ids::ProgramList), (std::vector<std::string>{"Matin", "Soir"}));

    // The quit goes on after the same message.
    app.Press(ids::QuitButton);
    Answer(app.WaitForMessage("after \"Quitter\""), IDOK);
    failed = app.WaitForMessage("after the confirmed quit whose save cannot succeed");
    ExpectMessage(failed, texts::SaveFailed, BoxIcon::Error);
    Answer(failed, IDOK);
    EXPECT_EQ(app.WaitForExit(), 0u);
    held.Reset();
    EXPECT_TRUE(SameBytes(ReadBytes(ProgramFilePath()), saved));
}

} // namespace
} // namespace e2e
