#include "scheduler/Clock_win.h"
#include "scheduler/Launch_win.h"
#include "scheduler/Tick.h"
#include "schedule/TextField.h"

#include "../Wait.h"
#include "../core/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace
{

ProgramRecord Program(const std::string& name, const std::string& title, bool confirm)
{
    ProgramRecord record;
    std::memset(&record, 0, sizeof record);
    SetFieldText(record.name, name);
    SetFieldText(record.media.title, title);
    SetFieldText(record.media.streamUrl, "mms://stream.example/live?a=1&b=2");
    SetFieldText(record.media.pageUrl, "http://page.example/");
    record.days[0] = 1;
    record.hour = 8;
    record.minute = 5;
    record.confirm = confirm ? 1 : 0;
    return record;
}

// The bytes a launch of Program(name, title, ...) must leave on disk, spelt out here.
std::string ExpectedPlaylist(const std::string& escapedName, const std::string& escapedTitle)
{
    return "<ASX version=\"3.0\">\t\t\t\t\t\r\n"
           "\t<TITLE>" +
           escapedName +
           "</TITLE>\t\t\t\t\t\t\r\n"
           "\t<ENTRY>\t\t\t\t\t\t\t\t\t\r\n"
           "\t<TITLE>" +
           escapedTitle +
           "</TITLE>\t\t\t\t\t\t\r\n"
           "\t<REF href=\"mms://stream.example/live?a=1&amp;b=2\"/>\t\t\t\t\t\t\r\n"
           "\t<PARAM name=\"HTMLView\" value=\"http://page.example/\"/>\t\r\n"
           "\t</ENTRY>\t\t\t\t\t\t\t\t\r\n"
           "\t</ASX>";
}

std::string ReadText(const std::filesystem::path& path)
{
    const Bytes bytes = ReadBytes(path.string());
    return std::string(bytes.begin(), bytes.end());
}

// The player's arguments as it received them: its command line without the program's own name.
std::string Arguments(const std::string& commandLine)
{
    std::size_t end = commandLine[0] == '"' ? commandLine.find('"', 1) + 1 : commandLine.find(' ');
    if (end == std::string::npos || end > commandLine.size())
        return {};
    return commandLine.substr(commandLine.find_first_not_of(' ', end));
}

// A data folder and a folder in which the stub player records each start.
class LaunchTest : public ::testing::Test
{
protected:
    TempFolder data;
    TempFolder calls;
    std::string dataFolder = data.Path().string() + "\\";
    std::string playlist = data.File("media.asx");

    void SetUp() override { SetEnvironmentVariableA("CHRONEL_PLAYER_LOG", calls.Path().string().c_str()); }
    void TearDown() override { SetEnvironmentVariableA("CHRONEL_PLAYER_LOG", nullptr); }

    // The command lines of the player starts recorded so far, waiting for `count` of them.
    std::vector<std::string> PlayerStarts(std::size_t count)
    {
        std::vector<std::string> lines;
        WaitFor([&] {
            lines.clear();
            for (const auto& entry : std::filesystem::directory_iterator(calls.Path()))
                if (entry.path().extension() == ".txt")
                    lines.push_back(ReadText(entry.path()));
            return lines.size() >= count;
        });
        return lines;
    }
};

struct Asked
{
    std::vector<std::string> texts;
    std::vector<unsigned> styles;
};

AskFn Answer(int answer, Asked& asked)
{
    return [answer, &asked](const std::string& text, unsigned style) {
        asked.texts.push_back(text);
        asked.styles.push_back(style);
        return answer;
    };
}

} // namespace

TEST_F(LaunchTest, WithoutConfirmationWritesThePlaylistAndStartsThePlayerWithItsQuotedPath)
{
    Asked asked;
    LaunchProgram(nullptr, Program("Matin", "Radio Sylvane", false), dataFolder.c_str(),
                  Answer(IDCANCEL, asked));

    EXPECT_TRUE(asked.texts.empty());
    EXPECT_EQ(ReadText(playlist), ExpectedPlaylist("Matin", "Radio Sylvane"));
    const std::vector<std::string> starts = PlayerStarts(1);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(Arguments(starts[0]), "\"" + playlist + "\"") << starts[0];
    std::string program = starts[0].substr(0, starts[0].size() - Arguments(starts[0]).size());
    std::transform(program.begin(), program.end(), program.begin(), ::tolower);
    EXPECT_NE(program.find("wmplayer.exe"), std::string::npos) << starts[0];
}

TEST_F(LaunchTest, ConfirmedQuestionNamesProgrammeThenMediaAndGoesOn)
{
    Asked asked;
    LaunchProgram(nullptr, Program("Rock & \"Roll\"", "<Live> \xE0 Paris", true), dataFolder.c_str(),
                  Answer(IDOK, asked));

    ASSERT_EQ(asked.texts.size(), 1u);
    EXPECT_EQ(asked.texts[0], "Souhaitez vous \xE9"
                              "couter [Rock & \"Roll\"] sur [<Live> \xE0 Paris] ?");
    EXPECT_EQ(asked.styles[0], static_cast<unsigned>(MB_OKCANCEL | MB_ICONQUESTION));
    EXPECT_EQ(asked.styles[0], 0x21u);
    EXPECT_EQ(ReadText(playlist), ExpectedPlaylist("Rock &amp; &quot;Roll&quot;", "&lt;Live&gt; \xE0 Paris"));
    EXPECT_EQ(PlayerStarts(1).size(), 1u);
}

TEST_F(LaunchTest, OnlyOkGoesOnAndAMissingFolderStartsNothing)
{
    struct Case
    {
        const char* what;
        int answer;
    };
    const Case refusals[] = {{"Cancel", IDCANCEL}, {"Yes is not OK", IDYES}, {"No", IDNO}, {"failed box", 0}};
    for (const Case& c : refusals)
    {
        SCOPED_TRACE(c.what);
        Asked asked;
        LaunchProgram(nullptr, Program("Matin", "Radio", true), dataFolder.c_str(), Answer(c.answer, asked));
        EXPECT_EQ(asked.texts.size(), 1u);
        EXPECT_FALSE(std::filesystem::exists(playlist));
    }
    const std::string missing = data.File("missing") + "\\";
    EXPECT_EQ(LaunchProgram(nullptr, Program("Matin", "Radio", false), missing.c_str(), nullptr),
              LaunchResult::Failed);
    EXPECT_FALSE(std::filesystem::exists(missing + "media.asx"));

    // One launch that does start the player: by the time its start is recorded, any start from the refused
    // launches above would have been recorded too.
    LaunchProgram(nullptr, Program("Soir", "Radio", false), dataFolder.c_str(), nullptr);
    ASSERT_EQ(PlayerStarts(1).size(), 1u);
    Sleep(500);
    EXPECT_EQ(PlayerStarts(1).size(), 1u);
}

TEST_F(LaunchTest, WithoutADataFolderThePlaylistGoesToTheTemporaryFolder)
{
    char temporary[MAX_PATH + 1] = {};
    ASSERT_GT(GetTempPathA(sizeof temporary, temporary), 0u);
    const std::string expected = std::string(temporary) + "media.asx";
    DeleteFileA(expected.c_str());

    EXPECT_EQ(LaunchProgram(nullptr, Program("Matin", "Radio", false), "", nullptr), LaunchResult::Started);
    EXPECT_EQ(ReadText(expected), ExpectedPlaylist("Matin", "Radio"));
    const std::vector<std::string> starts = PlayerStarts(1);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(Arguments(starts[0]), "\"" + expected + "\"");
    DeleteFileA(expected.c_str());
}

TEST_F(LaunchTest, TwoLaunchesOverwriteThePlaylistAndStartThePlayerTwiceAlike)
{
    LaunchProgram(nullptr, Program(std::string(200, 'L'), "Radio", false), dataFolder.c_str(), nullptr);
    LaunchProgram(nullptr, Program("Court", "Radio", false), dataFolder.c_str(), nullptr);

    EXPECT_EQ(ReadText(playlist), ExpectedPlaylist("Court", "Radio"));
    const std::vector<std::string> starts = PlayerStarts(2);
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(Arguments(starts[0]), Arguments(starts[1]));
    EXPECT_EQ(Arguments(starts[0]), "\"" + playlist + "\"");
}

TEST_F(LaunchTest, TickRemovesTheProgrammeWhoseQuestionWasCancelled)
{
    class LaunchingHooks : public TickHooks
    {
    public:
        const char* dataFolder;
        Asked asked;
        void ShowClock(const std::string&) override {}
        LaunchResult Launch(const ProgramRecord& record) override
        {
            return LaunchProgram(nullptr, record, dataFolder, Answer(IDCANCEL, asked));
        }
        void ProgramRemoved(std::size_t) override {}
    } hooks;
    hooks.dataFolder = dataFolder.c_str();

    ProgramList programs;
    programs.Append(Program("Matin", "Radio", true));
    SchedulerTick tick;
    EXPECT_EQ(tick.OnTimer(1, 1, true, {1, 8, 5}, programs, hooks), 1);
    EXPECT_EQ(hooks.asked.texts.size(), 1u);
    EXPECT_TRUE(programs.Empty());
    EXPECT_FALSE(std::filesystem::exists(playlist));
}

TEST(LocalClock, ReadsTheWeekdayHourAndMinuteOfTheLocalTime)
{
    for (int attempt = 0; attempt < 3; ++attempt)
    {
        SYSTEMTIME before;
        GetLocalTime(&before);
        const TickClock now = ReadLocalClock();
        SYSTEMTIME after;
        GetLocalTime(&after);
        if (before.wMinute != after.wMinute)
            continue; // the minute turned between the readings
        EXPECT_EQ(now.dayOfWeek, before.wDayOfWeek);
        EXPECT_EQ(now.hour, before.wHour);
        EXPECT_EQ(now.minute, before.wMinute);
        return;
    }
    FAIL() << "the clock kept turning";
}
