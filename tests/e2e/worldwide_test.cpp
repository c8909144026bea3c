// Texts and paths whatever Windows' language and the user's name. scripts/test runs this suite again in a
// prefix whose system code page is 1251 (Cyrillic) and in one whose user is named "Łukasz" (outside code page
// 1252, his profile "C:\users\Łukasz"); the media list sits in a folder that neither code page can name.
#include "Scenario.h"

namespace e2e
{
namespace
{

const char* const Accented = "Réveil à l'aube";

class Worldwide : public Scenario
{
protected:
    // A start that shows a box (a list or a programme file it cannot reach) fails here, naming the box.
    Chronel& StartWithoutBox()
    {
        Chronel& started = Start();
        if (!NoMessageBoxWithin(started.Process(), 1000))
            throw BenchError("the start showed \"" + WaitForMessageBox(started.Process(), "").text + "\"");
        return started;
    }

    // The stations' list in a folder named outside every ANSI code page of the bench.
    static std::string FarList()
    {
        CreateDirectoryW(WidePath(Paths().work + u8"Łódź").c_str(), nullptr);
        return BuildMediaList(u8"Łódź\\stations.slv", Stations());
    }
};

std::string Joined(const std::vector<std::string>& items)
{
    std::string joined;
    for (const std::string& item : items)
        joined += (joined.empty() ? "" : " | ") + item;
    return joined;
}

// When a programme added now falls due: this minute while the scheduler has not checked it yet (its first
// check comes 30 s after its start) and the add and a tick still fit in it, else the next minute (a minute
// once checked is not checked again).
SYSTEMTIME DueMinute(const Chronel& app)
{
    const SYSTEMTIME now = Now();
    if (app.Age() < 20000 && now.wSecond < 45)
        return now;
    FILETIME file;
    SystemTimeToFileTime(&now, &file);
    ULARGE_INTEGER ticks{{file.dwLowDateTime, file.dwHighDateTime}};
    ticks.QuadPart += 60ull * 10000000ull;
    file = {ticks.LowPart, ticks.HighPart};
    SYSTEMTIME later;
    FileTimeToSystemTime(&file, &later);
    return later;
}

TEST_F(Worldwide, WhatAUserSeesReadsAsWritten)
{
    const std::string list = FarList();
    WriteMachineString(SettingsKey, "Media List", list);
    WriteProgramFile(RecordBytes({Accented, Stations()[1], {1, 1, 1, 1, 1, 1, 1}, 6, 30, 1, 1}));
    Chronel& app = StartWithoutBox();
    app.OpenWindow();
    app.SelectProgram(Accented);

    app.Press(ids::AddButton);
    const MessageBoxView message = app.WaitForMessage("after \"Ajouter\" without a name");
    Answer(message, IDOK);
    app.Press(ids::ActiveButton);
    const MessageBoxView question = app.WaitForMessage("after \"Désactiver\"");
    SaveScreenshot("worldwide-question");
    Answer(question, IDCANCEL);

    struct Seen
    {
        const char* what;
        std::string shown;
        std::string expected;
    };
    const Seen seen[] = {
        {"group caption", app.Text(1029), "Définition d'un programme"},
        {"switch", app.Text(ids::ActiveButton), "Désactiver"},
        {"media list label", app.PathText(ids::ListLabel), list},
        {"media titles", Joined(app.Items(ids::MediaList)), "Actualités | Chaîne Découverte | Jazz du Soir"},
        {"programme names", Joined(app.Items(ids::ProgramList)), Accented},
        {"information panel",
         app.Text(ids::InfoName) + " / " + app.Text(ids::InfoMedia) + " / " + app.Text(ids::InfoRepeat),
         std::string(Accented) + " / Chaîne Découverte / Répétition : Oui"},
        {"message", message.caption + ": " + message.text,
         std::string(texts::Caption) + ": " + texts::NoName},
        {"question", question.text, texts::SwitchOffQuestion},
    };
    for (const Seen& row : seen)
        EXPECT_EQ(row.shown, row.expected) << row.what;
    SaveScreenshot("worldwide-dialog");
}

TEST_F(Worldwide, AnAccentedProgrammeFromAFarFolderFiresAndIsThereAfterARestart)
{
    const std::string list = FarList();
    const MediaFixture& discovery = Stations()[1];
    Chronel& app = StartWithoutBox();
    app.OpenWindow();
    LoadMediaList(app, list);
    EXPECT_EQ(app.PathText(ids::ListLabel), list);
    EXPECT_EQ(ReadMachineString(SettingsKey, "Media List"), list);
    EXPECT_EQ(ReadMachineString(SettingsKey, "Program List"), ProgramFilePath());

    // Typed key by key, through the program's own message loop, as a keyboard would.
    app.TypeKeys(ids::ProgramName, Accented);
    EXPECT_EQ(app.Text(ids::ProgramName), Accented);
    app.SelectMedia(discovery.title);
    app.Tick(ids::ConfirmNo);
    const SYSTEMTIME due = DueMinute(app);
    app.CheckDay(DayIndex(due));
    app.Type(ids::Hour, std::to_string(due.wHour));
    app.Type(ids::Minute, std::to_string(due.wMinute));
    AddProgram(app, Accented);
    RecordFixture reveil{
        Accented, discovery, {}, static_cast<std::int16_t>(due.wHour), static_cast<std::int16_t>(due.wMinute),
        0,        1};
    reveil.days[static_cast<std::size_t>(DayIndex(due))] = 1;
    EXPECT_TRUE(SameBytes(ReadBytes(ProgramFilePath()), RecordBytes(reveil)));

    ASSERT_TRUE(WaitFor([&] { return Now().wMinute == due.wMinute; }, 65000));
    app.TimerTick();
    ASSERT_TRUE(WaitFor([] { return !PlayerStarts().empty(); }, 2 * StepTimeout))
        << "the player was not started";
    EXPECT_EQ(PlayerStarts(), std::vector<std::string>{"\"" + PlaylistPath() + "\""});
    EXPECT_TRUE(SameBytes(ReadBytes(PlaylistPath()),
                          PlaylistText(Accented, discovery.title, discovery.streamUrl, discovery.pageUrl)));

    EXPECT_EQ(RunOnceMore(StepTimeout, "/quit"), 0u);
    EXPECT_EQ(app.WaitForExit(), 0u);
    EXPECT_TRUE(SameBytes(ReadBytes(ProgramFilePath()), RecordBytes(reveil)));

    Chronel& again = StartWithoutBox();
    again.OpenWindow();
    again.SelectProgram(Accented);
    EXPECT_EQ(Joined(again.Items(ids::ProgramList)), Accented);
    EXPECT_EQ(again.Text(ids::InfoName), Accented);
    EXPECT_EQ(again.PathText(ids::ListLabel), list);
}

} // namespace
} // namespace e2e
