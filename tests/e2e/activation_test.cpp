// The activation switch: a confirmed switch-off stops the scheduler and the start with the session, a
// cancelled one changes nothing, and switching on asks nothing and restores both.
#include "Scenario.h"

namespace e2e
{
namespace
{

class Activation : public Scenario
{
};

TEST_F(Activation, SwitchingOffStopsTheSchedulerAndTheAutostartSwitchingOnRestoresThem)
{
    // A programme due in this minute, every day, asked for and kept after it fires.
    const SYSTEMTIME now = (WaitForEarlyMinute(40), Now());
    const MediaFixture& discovery = Stations()[1];
    WriteProgramFile(RecordBytes({"Veille",
                                  discovery,
                                  {1, 1, 1, 1, 1, 1, 1},
                                  static_cast<std::int16_t>(now.wHour),
                                  static_cast<std::int16_t>(now.wMinute),
                                  1,
                                  1}));
    WriteMachineString(RunKey, AutostartName, "autostart written before the scenario");
    Chronel& app = Start();
    app.OpenWindow();

    // Cancelled: still on, the entry untouched, "Active" written as 1.
    app.Press(ids::ActiveButton);
    MessageBoxView question = app.WaitForMessage("after \"Désactiver\"");
    ExpectMessage(question, texts::SwitchOffQuestion, BoxIcon::Question);
    SaveScreenshot("switch-off-question");
    Answer(question, IDCANCEL);
    app.Settle();
    EXPECT_EQ(app.Text(ids::ActiveLabel), "Programmes activés");
    EXPECT_EQ(app.Text(ids::ActiveButton), "Désactiver");
    EXPECT_EQ(ReadMachineString(RunKey, AutostartName), "autostart written before the scenario");
    EXPECT_EQ(ReadMachineDword(SettingsKey, "Active"), 1u);

    // Confirmed: off, the entry gone, "Active" 0, and the due programme does not fire.
    app.Press(ids::ActiveButton);
    question = app.WaitForMessage("after \"Désactiver\" again");
    ExpectMessage(question, texts::SwitchOffQuestion, BoxIcon::Question);
    Answer(question, IDOK);
    app.Settle();
    EXPECT_EQ(app.Text(ids::ActiveLabel), "Programmes désactivés");
    EXPECT_EQ(app.Text(ids::ActiveButton), "Activer");
    EXPECT_FALSE(ReadMachineString(RunKey, AutostartName).has_value());
    EXPECT_EQ(ReadMachineDword(SettingsKey, "Active"), 0u);
    const std::string clock = app.Text(ids::Clock);
    app.TimerTick();
    EXPECT_TRUE(NoMessageBoxWithin(app.Process(), 1500)) << "a programme fired while switched off";
    EXPECT_TRUE(PlayerStarts().empty());
    EXPECT_EQ(app.Items(ids::ProgramList), std::vector<std::string>{"Veille"});
    EXPECT_EQ(app.Text(ids::Clock), clock);

    // On again, without a question: the quoted entry is back, "Active" 1, and the programme fires.
    app.Press(ids::ActiveButton);
    EXPECT_TRUE(NoMessageBoxWithin(app.Process(), 1000)) << "switching on asked a question";
    EXPECT_EQ(app.Text(ids::ActiveLabel), "Programmes activés");
    EXPECT_EQ(app.Text(ids::ActiveButton), "Désactiver");
    EXPECT_EQ(ReadMachineString(RunKey, AutostartName), "\"" + Paths().program + "\"");
    EXPECT_EQ(ReadMachineDword(SettingsKey, "Active"), 1u);
    ASSERT_EQ(Now().wMinute, now.wMinute) << "the minute turned before the tick: the bench was too slow";
    app.TimerTick();
    question = app.WaitForMessage("after a tick once switched on again");
    ExpectMessage(question, texts::LaunchQuestion("Veille", discovery.title), BoxIcon::Question);
    Answer(question, IDCANCEL);
    app.Settle();
    EXPECT_TRUE(PlayerStarts().empty()) << "the player started although the question was cancelled";
    EXPECT_EQ(app.Items(ids::ProgramList), std::vector<std::string>{"Veille"});
}

} // namespace
} // namespace e2e
