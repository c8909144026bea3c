// Damaged files and absurd entries, given through the dialog: each is refused or bounded, none upsets the
// scheduler.
#include "Scenario.h"

namespace e2e
{
namespace
{

class BadInput : public Scenario
{
};

TEST_F(BadInput, ASevenByteMediaListIsNotValidAndEmptiesTheList)
{
    const std::string stations = RememberStations();
    const std::string shortList = WriteFixture("courte.slv", MediaListBytes({}).substr(0, 7));
    Chronel& app = Start();
    app.OpenWindow();
    ASSERT_EQ(app.Items(ids::MediaList).size(), Stations().size());

    app.Press(ids::LoadButton);
    ChooseFile(WaitForFileDialog(app.Process()), shortList);
    const MessageBoxView box = app.WaitForMessage("for a media list of 7 bytes");
    ExpectMessage(box, texts::ListNotValid, BoxIcon::Error);
    Answer(box, IDOK);
    app.Settle();
    EXPECT_TRUE(app.Items(ids::MediaList).empty());
    EXPECT_EQ(app.Text(ids::ListLabel), texts::NoListLoaded);
    EXPECT_EQ(ReadMachineString(SettingsKey, "Media List"), stations);
}

TEST_F(BadInput, ATitleFillingItsWholeFieldIsShownCutAndKeptWhole)
{
    std::string longTitle = "Titre sans fin ";
    while (longTitle.size() < 260)
        longTitle += static_cast<char>('a' + longTitle.size() % 26);
    const MediaFixture endless{longTitle, "http://radio.example/long", "http://flux.example/long.mp3", 1};
    const std::string list = WriteFixture("longue.slv", MediaListBytes({endless}));
    Chronel& app = Start();
    app.OpenWindow();

    LoadMediaList(app, list);
    const std::string shown = longTitle.substr(0, 259);
    ASSERT_EQ(app.Items(ids::MediaList), std::vector<std::string>{shown});
    app.Type(ids::ProgramName, "Longue");
    app.SelectMedia(shown);
    app.CheckDay(2);
    app.Type(ids::Hour, "6");
    app.Type(ids::Minute, "45");
    AddProgram(app, "Longue");
    EXPECT_EQ(app.Text(ids::InfoMedia), shown);

    app.Press(ids::QuitButton);
    Answer(app.WaitForMessage("after \"Quitter\""), IDOK);
    EXPECT_EQ(app.WaitForExit(), 0u);
    const RecordFixture expected{"Longue", endless, {0, 0, 1, 0, 0, 0, 0}, 6, 45, 1, 1};
    EXPECT_TRUE(SameBytes(ReadBytes(ProgramFilePath()), RecordBytes(expected)));
}

TEST_F(BadInput, HoursAndMinutesOutOfRangeAreRefused)
{
    RememberStations();
    Chronel& app = Start();
    app.OpenWindow();
    app.Type(ids::ProgramName, "Matin");
    app.SelectMedia(Stations()[2].title);
    app.CheckDay(0);

    struct Entry
    {
        const char* hour;
        const char* minute;
        const char* message;
    };
    const Entry entries[] = {
        {"99999999999999999999", "0", texts::BadHour},
        {"4294967304", "0", texts::BadHour}, // 2^32 + 8: would read as 8 if cut to 32 bits
        {"8", "99999999999999999999", texts::BadMinute},
        {"8", "4294967301", texts::BadMinute},
        {"99999999999999999999", "99999999999999999999", texts::BadHour},
    };
    for (const Entry& entry : entries)
    {
        SCOPED_TRACE(std::string(entry.hour) + " h " + entry.minute + " min");
        app.Type(ids::Hour, entry.hour);
        app.Type(ids::Minute, entry.minute);
        app.Press(ids::AddButton);
        const MessageBoxView box = app.WaitForMessage("for an hour or minute out of range");
        ExpectMessage(box, entry.message, BoxIcon::Error);
        Answer(box, IDOK);
        app.Settle();
        EXPECT_TRUE(app.Items(ids::ProgramList).empty());
    }
}

TEST_F(BadInput, AProgrammeFileWithATrailingFragmentLoadsItsWholeRecords)
{
    const RecordFixture matin{"Matin", Stations()[1], {1, 0, 1, 0, 1, 0, 0}, 8, 5, 1, 0};
    const RecordFixture soir{"Soir", Stations()[0], {1, 1, 1, 1, 1, 1, 1}, 21, 30, 0, 1};
    const std::string whole = RecordsBytes({soir, matin});
    WriteProgramFile(
        whole + RecordBytes({"Fragment", Stations()[2], {1, 1, 1, 1, 1, 1, 1}, 7, 0, 1, 1}).substr(0, 500));
    Chronel& app = Start();
    EXPECT_TRUE(NoMessageBoxWithin(app.Process(), 500));
    EXPECT_EQ(app.Items(ids::ProgramList), (std::vector<std::string>{"Matin", "Soir"}));

    app.OpenWindow();
    app.Press(ids::QuitButton);
    Answer(app.WaitForMessage("after \"Quitter\""), IDOK);
    EXPECT_EQ(app.WaitForExit(), 0u);
    EXPECT_TRUE(SameBytes(ReadBytes(ProgramFilePath()), whole));
}

} // namespace
} // namespace e2e
