// Every message of the programme editor and of the media list loader, reached through the dialog's controls,
// each leaving the programmes as they were.
#include "Scenario.h"

#include <functional>

namespace e2e
{
namespace
{

class EditorMessages : public Scenario
{
};

TEST_F(EditorMessages, EachRefusalShowsItsTextAndIconAndChangesNothing)
{
    const std::string stations = RememberStations();
    Chronel& app = Start();
    app.OpenWindow();

    struct Step
    {
        const char* what;
        std::function<void()> prepare;
        int button;
        const char* text;
        BoxIcon icon;
        std::vector<std::string> programmes; // listed after the box is answered
    };
    const std::vector<std::string> none;
    const std::vector<std::string> matin = {"Matin"};
    const Step steps[] = {
        {"empty name", [] {}, ids::AddButton, texts::NoName, BoxIcon::Error, none},
        {"no media selected", [&] { app.Type(ids::ProgramName, "Matin"); }, ids::AddButton, texts::NoMedia,
         BoxIcon::Error, none},
        {"no day", [&] { app.SelectMedia("Actualités"); }, ids::AddButton, texts::NoDay, BoxIcon::Error,
         none},
        {"hour 24",
         [&] {
             app.CheckDay(0);
             app.Type(ids::Hour, "24");
         },
         ids::AddButton, texts::BadHour, BoxIcon::Error, none},
        {"minute 60",
         [&] {
             app.Type(ids::Hour, "8");
             app.Type(ids::Minute, "60");
         },
         ids::AddButton, texts::BadMinute, BoxIcon::Error, none},
        {"the same name again",
         [&] {
             app.Type(ids::Minute, "5");
             AddProgram(app, "Matin");
         },
         ids::AddButton, texts::SameName, BoxIcon::Warning, matin},
        {"another name at the same time", [&] { app.Type(ids::ProgramName, "Autre"); }, ids::AddButton,
         texts::SameTime, BoxIcon::Warning, matin},
        {"removing without a selection", [&] { app.ClearProgramSelection(); }, ids::RemoveButton,
         texts::NoProgramSelected, BoxIcon::Error, matin},
    };
    for (const Step& step : steps)
    {
        SCOPED_TRACE(step.what);
        step.prepare();
        app.Press(step.button);
        const MessageBoxView box = app.WaitForMessage(std::string("for ") + step.what);
        ExpectMessage(box, step.text, step.icon);
        if (step.icon == BoxIcon::Warning)
            SaveScreenshot("editor-warning");
        Answer(box, IDOK);
        app.Settle();
        EXPECT_EQ(app.Items(ids::ProgramList), step.programmes);
    }
    // After the refused removal the panel shows its placeholders.
    EXPECT_EQ(app.Text(ids::InfoName), "Aucun nom");
    EXPECT_EQ(app.Text(ids::InfoRepeat), "Aucune répétition");

    // A list that cannot be opened: the message, and the list already loaded stays, named by its label.
    app.Press(ids::LoadButton);
    ChooseFile(WaitForFileDialog(app.Process()), Paths().work + "absente.slv");
    const MessageBoxView notOpened = app.WaitForMessage("for a media list that does not exist");
    ExpectMessage(notOpened, texts::ListNotOpened, BoxIcon::Error);
    SaveScreenshot("error-message");
    Answer(notOpened, IDOK);
    app.Settle();
    EXPECT_EQ(app.Items(ids::MediaList).size(), Stations().size());
    EXPECT_EQ(app.Text(ids::ListLabel), stations);
    EXPECT_EQ(ReadMachineString(SettingsKey, "Media List"), stations);

    // Cancelling the open-file dialog says nothing and changes nothing.
    app.Press(ids::LoadButton);
    CancelFileDialog(WaitForFileDialog(app.Process()));
    EXPECT_TRUE(NoMessageBoxWithin(app.Process(), 1500));
    EXPECT_EQ(app.Items(ids::MediaList).size(), Stations().size());
    EXPECT_EQ(app.Text(ids::ListLabel), stations);

    // With a selection, "Retirer" removes without a question.
    app.SelectProgram("Matin");
    app.Press(ids::RemoveButton);
    EXPECT_TRUE(WaitFor([&] { return app.Items(ids::ProgramList).empty(); }));
    EXPECT_TRUE(NoMessageBoxWithin(app.Process(), 500));
    EXPECT_EQ(app.Text(ids::InfoName), "Aucun nom");
}

} // namespace
} // namespace e2e
