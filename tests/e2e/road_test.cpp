// The road of one programme, Matin, from the media list to the player, next to a programme that stays.
#include "Scenario.h"

namespace e2e
{
namespace
{

class RoadOfAProgramme : public Scenario
{
};

TEST_F(RoadOfAProgramme, MatinIsDefinedFiresOnceLeavesAndTheOtherProgrammeIsSaved)
{
    const std::string stations = BuildMediaList("stations.slv", Stations());
    const MediaFixture& jazz = Stations()[0];
    const MediaFixture& discovery = Stations()[1];
    // The whole road must fit in the minute in which Matin falls due, before the scheduler's own timer runs.
    WaitForEarlyMinute(40);
    Chronel& app = Start();
    app.OpenWindow();

    LoadMediaList(app, stations);
    EXPECT_EQ(app.Items(ids::MediaList),
              (std::vector<std::string>{"Actualités", "Chaîne Découverte", "Jazz du Soir"}));
    EXPECT_EQ(app.Text(ids::ListLabel), stations);
    EXPECT_EQ(ReadMachineString(SettingsKey, "Media List"), stations);

    // Soir: every weekday through "tous", twelve hours away, without confirmation, repeated.
    RecordFixture soir;
    soir.name = "Soir";
    soir.media = jazz;
    soir.days = {1, 1, 1, 1, 1, 0, 0};
    soir.hour = static_cast<std::int16_t>((Now().wHour + 12) % 24);
    soir.minute = 30;
    soir.confirm = 0;
    soir.repeat = 1;
    app.Type(ids::ProgramName, soir.name);
    app.SelectMedia(jazz.title);
    app.Tick(ids::AllDays);
    app.Tick(ids::Monday + 5);
    app.Tick(ids::Monday + 6);
    EXPECT_TRUE(app.Checked(ids::AllDays));
    app.Type(ids::Hour, std::to_string(soir.hour));
    app.Type(ids::Minute, "30");
    app.Tick(ids::ConfirmNo);
    AddProgram(app, "Soir");

    // Matin: today, this very minute, with confirmation, without repetition.
    app.Type(ids::ProgramName, "Matin");
    app.SelectMedia(discovery.title);
    app.Tick(ids::AllDays);
    app.Tick(ids::ConfirmYes);
    const SYSTEMTIME due = Now();
    app.CheckDay(DayIndex(due));
    app.Tick(ids::RepeatNo);
    app.Type(ids::Hour, std::to_string(due.wHour));
    app.Type(ids::Minute, std::to_string(due.wMinute));
    RecordProperty("ms_from_start_to_adding_matin", static_cast<int>(app.Age()));
    ASSERT_LT(app.Age(), 25000u)
        << "the scheduler's own first tick may come before Matin: the bench was too slow";
    AddProgram(app, "Matin");

    EXPECT_EQ(app.Items(ids::ProgramList), (std::vector<std::string>{"Matin", "Soir"}));
    EXPECT_EQ(app.Selection(ids::ProgramList), 0);
    EXPECT_EQ(app.Text(ids::InfoName), "Matin");
    EXPECT_EQ(app.Text(ids::InfoMedia), discovery.title);
    EXPECT_EQ(app.Text(ids::InfoDays), texts::DayNames[DayIndex(due)]);
    EXPECT_EQ(app.Text(ids::InfoTime),
              std::to_string(due.wHour) + " h et " + std::to_string(due.wMinute) + " min.");
    EXPECT_EQ(app.Text(ids::InfoConfirm), "Confirmation : Oui");
    EXPECT_EQ(app.Text(ids::InfoRepeat), "Répétition : Non");
    SaveScreenshot("scheduler-with-programmes");

    ASSERT_EQ(Now().wMinute, due.wMinute) << "the minute turned before the tick: the bench was too slow";
    app.TimerTick();
    const MessageBoxView question = app.WaitForMessage("after the timer tick in Matin's minute");
    ExpectMessage(question, texts::LaunchQuestion("Matin", discovery.title), BoxIcon::Question);
    EXPECT_EQ(app.Text(ids::Clock), texts::ClockCaption(due.wHour, due.wMinute));
    SaveScreenshot("launch-question");
    EXPECT_TRUE(PlayerStarts().empty()) << "the player started before the answer";
    Answer(question, IDOK);

    ASSERT_TRUE(WaitFor([] { return !PlayerStarts().empty(); })) << "the player was not started";
    EXPECT_EQ(PlayerStarts(), std::vector<std::string>{"\"" + PlaylistPath() + "\""});
    EXPECT_TRUE(SameBytes(ReadBytes(PlaylistPath()),
                          PlaylistText("Matin", discovery.title, discovery.streamUrl, discovery.pageUrl)));
    EXPECT_TRUE(WaitFor([&] { return app.Items(ids::ProgramList) == std::vector<std::string>{"Soir"}; }))
        << "Matin did not leave the list after it fired";

    app.Press(ids::QuitButton);
    const MessageBoxView quit = app.WaitForMessage("after \"Quitter\"");
    ExpectMessage(quit, texts::QuitQuestion, BoxIcon::Question);
    Answer(quit, IDOK);
    EXPECT_EQ(app.WaitForExit(), 0u);
    EXPECT_TRUE(SameBytes(ReadBytes(ProgramFilePath()), RecordBytes(soir)));
}

} // namespace
} // namespace e2e
