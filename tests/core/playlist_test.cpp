#include "scheduler/Playlist.h"
#include "schedule/TextField.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

namespace
{

ProgramRecord Program(const std::string& name, const std::string& title, const std::string& streamUrl,
                      const std::string& pageUrl)
{
    ProgramRecord record;
    std::memset(&record, 0, sizeof record);
    SetFieldText(record.name, name);
    SetFieldText(record.media.title, title);
    SetFieldText(record.media.streamUrl, streamUrl);
    SetFieldText(record.media.pageUrl, pageUrl);
    return record;
}

Bytes AsBytes(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

// The playlist as it must lie on disk, spelt out here with every tab and CR LF.
std::string ExpectedPlaylist(const std::string& name, const std::string& title, const std::string& ref,
                             const std::string& htmlView)
{
    return "<ASX version=\"3.0\">\t\t\t\t\t\r\n"
           "\t<TITLE>" +
           name +
           "</TITLE>\t\t\t\t\t\t\r\n"
           "\t<ENTRY>\t\t\t\t\t\t\t\t\t\r\n"
           "\t<TITLE>" +
           title +
           "</TITLE>\t\t\t\t\t\t\r\n"
           "\t<REF href=\"" +
           ref +
           "\"/>\t\t\t\t\t\t\r\n"
           "\t<PARAM name=\"HTMLView\" value=\"" +
           htmlView +
           "\"/>\t\r\n"
           "\t</ENTRY>\t\t\t\t\t\t\t\t\r\n"
           "\t</ASX>";
}

} // namespace

TEST(Playlist, BytesOnDiskFollowTheTemplate)
{
    struct Case
    {
        const char* what;
        ProgramRecord record;
        std::string expected;
    };
    const Case cases[] = {
        {"plain texts, slots in the order name, title, stream, page",
         Program("Matin", "Radio Sylvane", "mms://stream.example/live", "http://page.example/"),
         ExpectedPlaylist("Matin", "Radio Sylvane", "mms://stream.example/live", "http://page.example/")},
        {"code page 1252 texts and an apostrophe are written as they are",
         Program("\xC9t\xE9", "L'\xE9mission \x80", "mms://s/\xE0", "http://p/'a'"),
         ExpectedPlaylist("\xC9t\xE9", "L'\xE9mission \x80", "mms://s/\xE0", "http://p/'a'")},
        {"an empty page address gives an empty HTMLView value", Program("Matin", "Radio", "mms://s", ""),
         ExpectedPlaylist("Matin", "Radio", "mms://s", "")},
        {"& < > and \" are escaped in every slot",
         Program("Rock & \"Roll\"", "<Live> & co", "mms://s.example/a?x=1&y=2", "http://p/?q=\"a\"&b<c>"),
         ExpectedPlaylist("Rock &amp; &quot;Roll&quot;", "&lt;Live&gt; &amp; co",
                          "mms://s.example/a?x=1&amp;y=2", "http://p/?q=&quot;a&quot;&amp;b&lt;c&gt;")},
        {"an escape-looking text is escaped again", Program("&amp;", "t", "s", "p"),
         ExpectedPlaylist("&amp;amp;", "t", "s", "p")},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        const std::string path = folder.File("media.asx");
        ASSERT_TRUE(WritePlaylistFile(path, PlaylistText(c.record)));
        EXPECT_EQ(ReadBytes(path), AsBytes(c.expected));
    }
}

TEST(Playlist, TemplateWithEmptySlotsIsThe180CharactersWithCarriageReturns)
{
    // 180 characters of template, less the four two-character slots, plus a CR before each of 7 line feeds.
    EXPECT_EQ(PlaylistText(Program("", "", "", "")).size(), 180u - 8u + 7u);
}

TEST(Playlist, FieldsWithoutZeroGiveTheirFirst259Characters)
{
    ProgramRecord record = Program("", "", "", "");
    std::memset(record.name, 'N', sizeof record.name);
    std::memset(record.media.title, 'T', sizeof record.media.title);
    std::memset(record.media.pageUrl, 'P', sizeof record.media.pageUrl);
    std::memset(record.media.streamUrl, 'S', sizeof record.media.streamUrl);
    EXPECT_EQ(PlaylistText(record), ExpectedPlaylist(std::string(259, 'N'), std::string(259, 'T'),
                                                     std::string(259, 'S'), std::string(259, 'P')));
    EXPECT_EQ(ConfirmationQuestion(record), "Souhaitez vous \xE9"
                                            "couter [" +
                                                std::string(259, 'N') + "] sur [" + std::string(259, 'T') +
                                                "] ?");
}

TEST(Playlist, RewritingReplacesTheEarlierPlaylistWhole)
{
    TempFolder folder;
    const std::string path = folder.File("media.asx");
    const std::string longer = PlaylistText(Program(std::string(200, 'L'), "t", "s", "p"));
    const std::string shorter = PlaylistText(Program("S", "t", "s", "p"));
    ASSERT_TRUE(WritePlaylistFile(path, longer));
    ASSERT_TRUE(WritePlaylistFile(path, shorter));
    EXPECT_EQ(ReadBytes(path), AsBytes(shorter));
}

TEST(Playlist, MissingFolderMeansNoPlaylist)
{
    TempFolder folder;
    const std::string path = folder.File("missing/media.asx");
    EXPECT_FALSE(WritePlaylistFile(path, PlaylistText(Program("a", "b", "c", "d"))));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(Playlist, QuestionNamesTheProgrammeFirstAndTheMediaSecond)
{
    struct Case
    {
        std::string name;
        std::string title;
        std::string expected;
    };
    const Case cases[] = {
        {"Matin", "Radio Sylvane",
         "Souhaitez vous \xE9"
         "couter [Matin] sur [Radio Sylvane] ?"},
        {"", "",
         "Souhaitez vous \xE9"
         "couter [] sur [] ?"},
        {"A & <B>", "\"C\"",
         "Souhaitez vous \xE9"
         "couter [A & <B>] sur [\"C\"] ?"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ConfirmationQuestion(Program(c.name, c.title, "s", "p")), c.expected);
}

TEST(Playlist, PathAndPlayerParameters)
{
    // Paths are UTF-8: a user's folder outside code page 1252 stays as it is named.
    const std::string polish = u8"C:\\Users\\Łukasz\\AppData\\Roaming\\Merovia\\Chronel\\";
    struct Case
    {
        std::string dataFolder;
        std::string path;
    };
    const Case cases[] = {
        {"X:\\Data\\", "X:\\Data\\media.asx"},
        {"", "media.asx"},
        {polish, polish + "media.asx"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlaylistPath(c.dataFolder), c.path);

    EXPECT_EQ(PlayerParameters("X:\\Data\\media.asx"), " \"X:\\Data\\media.asx\"");
    EXPECT_EQ(PlayerParameters("C:\\Documents and Settings\\A\\media.asx"),
              " \"C:\\Documents and Settings\\A\\media.asx\"");
}
