#include "tools/medialist/MediaListSource.h"

#include "schedule/MediaListFile.h"
#include "schedule/TextField.h"

#include "tests/core/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// UTF-8 input is spelt in escapes here: narrow literals in these sources compile to code page 1252.

TEST(MediaListSource, Utf8ConvertsToCodePage1252)
{
    struct Case
    {
        const char* what;
        std::string utf8;
        std::string cp1252;
    };
    const Case cases[] = {
        {"ASCII", "Radio Sylvane 1", "Radio Sylvane 1"},
        {"e acute", "\xC3\xA9t\xC3\xA9", "\xE9t\xE9"},
        {"y diaeresis (last byte)", "\xC3\xBF", "\xFF"},
        {"no-break space", "\xC2\xA0", "\xA0"},
        {"euro sign (0x80)", "\xE2\x82\xAC", "\x80"},
        {"single low quote (0x82)", "\xE2\x80\x9A", "\x82"},
        {"OE ligature (0x8C)", "\xC5\x92", "\x8C"},
        {"Z caron (0x8E)", "\xC5\xBD", "\x8E"},
        {"left single quote (0x91)", "\xE2\x80\x98", "\x91"},
        {"trade mark (0x99)", "\xE2\x84\xA2", "\x99"},
        {"z caron (0x9E)", "\xC5\xBE", "\x9E"},
        {"Y diaeresis (0x9F)", "\xC5\xB8", "\x9F"},
        {"empty", "", ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        std::string out, problem;
        ASSERT_TRUE(Utf8ToCp1252(c.utf8, out, problem)) << problem;
        EXPECT_EQ(out, c.cp1252);
    }
}

TEST(MediaListSource, TextOutsideCodePage1252OrNotUtf8IsRefused)
{
    struct Case
    {
        const char* what;
        std::string utf8;
        const char* said;
    };
    const Case cases[] = {
        {"CJK character", "a\xE4\xB8\xAD", "U+4E2D"},
        {"emoji", "\xF0\x9F\x98\x80", "U+1F600"},
        {"C1 control U+0081 (undefined in 1252)", "\xC2\x81", "U+0081"},
        {"U+008D", "\xC2\x8D", "U+008D"},
        {"Cyrillic", "\xD0\x96", "U+0416"},
        {"zero character", std::string("a\0b", 3), "zero"},
        {"lone lead byte", "a\xC3", "UTF-8"},
        {"lone continuation byte", "\x80", "UTF-8"},
        {"code page 1252 byte given as is", "\xE9t\xE9", "UTF-8"},
        {"overlong slash", "\xC0\xAF", "UTF-8"},
        {"overlong three-byte", "\xE0\x80\xAF", "UTF-8"},
        {"surrogate", "\xED\xA0\x80", "UTF-8"},
        {"past U+10FFFF", "\xF4\x90\x80\x80", "UTF-8"},
        {"five-byte lead", "\xF8\x88\x80\x80\x80", "UTF-8"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        std::string out, problem;
        EXPECT_FALSE(Utf8ToCp1252(c.utf8, out, problem));
        EXPECT_NE(problem.find(c.said), std::string::npos) << problem;
    }
}

TEST(MediaListSource, LinesBecomeEntries)
{
    const std::string text = "\xEF\xBB\xBF"
                             "Beta\thttp://b/\tmms://b\r\n"
                             "\n"
                             "\xC3\x89t\xC3\xA9\t\tmms://e\t2\n"
                             "alpha\thttp://a/\tmms://a\t65535";
    std::vector<SourceEntry> entries;
    SourceReport report;
    ASSERT_TRUE(ParseMediaListSource(text, entries, report));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].title, "Beta");
    EXPECT_EQ(entries[0].pageUrl, "http://b/");
    EXPECT_EQ(entries[0].streamUrl, "mms://b");
    EXPECT_EQ(entries[0].entryKind, 0u);
    EXPECT_EQ(entries[1].title, "\xC9t\xE9");
    EXPECT_EQ(entries[1].pageUrl, "");
    EXPECT_EQ(entries[1].entryKind, 2u);
    EXPECT_EQ(entries[2].title, "alpha");
    EXPECT_EQ(entries[2].entryKind, 65535u);
}

TEST(MediaListSource, BadLinesAreNamed)
{
    struct Case
    {
        const char* what;
        std::string text;
        std::size_t line;
        const char* said;
    };
    const std::string good = "t\tp\ts\n";
    const Case cases[] = {
        {"two fields", good + "t\tp\n", 2, "missing field"},
        {"one field", "t\n", 1, "missing field"},
        {"five fields", good + good + "t\tp\ts\t1\tx\n", 3, "too many fields"},
        {"title of 260 bytes", "\n" + std::string(260, 'T') + "\tp\ts\n", 2, "title is 260 bytes"},
        {"page of 300 bytes", "t\t" + std::string(300, 'P') + "\ts\n", 1, "pageUrl is 300 bytes"},
        {"stream of 260 bytes once converted",
         [] {
             std::string s;
             for (int i = 0; i < 130; ++i)
                 s += "\xE2\x82\xAC\xC3\xA9"; // two bytes in code page 1252 each time
             return "t\tp\t" + s + "\n";
         }(),
         1, "streamUrl is 260 bytes"},
        {"character outside code page 1252", good + "t\xE4\xB8\xAD\tp\ts\n", 2, "U+4E2D"},
        {"kind not a number", "t\tp\ts\tdeux\n", 1, "entryKind"},
        {"kind 65536", "t\tp\ts\t65536\n", 1, "entryKind"},
        {"negative kind", "t\tp\ts\t-1\n", 1, "entryKind"},
        {"empty kind", "t\tp\ts\t\n", 1, "entryKind"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        std::vector<SourceEntry> entries;
        SourceReport report;
        EXPECT_FALSE(ParseMediaListSource(c.text, entries, report));
        ASSERT_EQ(report.errors.size(), 1u);
        EXPECT_EQ(report.errors[0].line, c.line);
        EXPECT_NE(report.errors[0].message.find(c.said), std::string::npos) << report.errors[0].message;
    }
}

TEST(MediaListSource, EveryBadLineIsReportedAndEveryHiddenEntryWarnedOf)
{
    const std::string text = "ok\tp\ts\n"
                             "short\tp\n"
                             "\tp\ts\n"
                             "kind\tp\ts\tdeux\n"
                             "no stream\tp\t\n"
                             "hidden\tp\ts\t2\n"
                             "\tp\t\t2\n";
    std::vector<SourceEntry> entries;
    SourceReport report;
    EXPECT_FALSE(ParseMediaListSource(text, entries, report));
    // Each note: its line, and how its message begins.
    using Said = std::vector<std::pair<std::size_t, std::string>>;
    auto said = [](const std::vector<SourceError>& notes, const Said& expected) {
        ASSERT_EQ(notes.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i)
        {
            EXPECT_EQ(notes[i].line, expected[i].first);
            EXPECT_EQ(notes[i].message.rfind(expected[i].second, 0), 0u) << notes[i].message;
        }
    };
    said(report.errors, {{2, "missing field"}, {4, "entryKind"}});
    said(report.warnings,
         {{3, "title: empty"}, {5, "streamUrl: empty"}, {6, "entryKind 2"}, {7, "entryKind 2"}});
}

TEST(MediaListSource, Cp1252ReadsBackAsTheUtf8ItCameFrom)
{
    std::string every;
    for (int byte = 1; byte < 256; ++byte)
        every += static_cast<char>(byte);
    const std::string utf8 = Cp1252ToUtf8(every);
    EXPECT_EQ(utf8.substr(0, 127), every.substr(0, 127));
    EXPECT_EQ(Cp1252ToUtf8("\x80\xE9\x81\x9F"), "\xE2\x82\xAC\xC3\xA9\xC2\x81\xC5\xB8");
    // Every defined byte comes back from its UTF-8; the five undefined ones are refused.
    std::string back, problem;
    for (const char c : every)
    {
        const auto byte = static_cast<unsigned char>(c);
        const bool undefined = byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
        EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(std::string(1, c)), back, problem), !undefined) << int(byte);
        if (!undefined)
            EXPECT_EQ(back, std::string(1, c));
    }
}

TEST(MediaListSource, LongestFieldsFit)
{
    std::string title;
    for (int i = 0; i < 259; ++i)
        title += "\xC3\xA9"; // 518 bytes of UTF-8, 259 in code page 1252
    std::vector<SourceEntry> entries;
    SourceReport report;
    ASSERT_TRUE(ParseMediaListSource(title + "\t" + std::string(259, 'P') + "\t" + std::string(259, 'S'),
                                     entries, report));
    EXPECT_EQ(entries[0].title, std::string(259, '\xE9'));
}

TEST(MediaListSource, ImageIsTheFileLayout)
{
    const std::vector<SourceEntry> entries = {
        {"Beta", "http://b/", "mms://b", 0},
        {"Hidden", "http://h/", "mms://h", 2},
        {"\xC9t\xE9", "", "mms://e", 0x0103},
    };
    Bytes expected(64 + 3 * 9264, 0);
    PutU32(expected, 0, 1);
    PutU32(expected, 4, 64);
    const std::size_t r0 = 64, r1 = 64 + 9264, r2 = 64 + 2 * 9264;
    PutText(expected, r0 + 2, "Beta");
    PutText(expected, r0 + 522, "mms://b");
    PutText(expected, r0 + 782, "http://b/");
    PutU16(expected, r1, 2);
    PutText(expected, r1 + 2, "Hidden");
    PutText(expected, r1 + 522, "mms://h");
    PutText(expected, r1 + 782, "http://h/");
    PutU16(expected, r2, 0x0103);
    PutText(expected, r2 + 2, "\xC9t\xE9");
    PutText(expected, r2 + 522, "mms://e");
    EXPECT_EQ(MediaListImage(entries), expected);

    // And the scheduler reads it back as intended.
    const std::vector<unsigned char> image = MediaListImage(entries);
    const MediaListResult result = ReadMediaListBytes(image.data(), image.size());
    ASSERT_EQ(result.outcome, MediaListRead::Loaded);
    ASSERT_EQ(result.entries.size(), 2u);
    EXPECT_EQ(FieldText(result.entries[1].title), "\xC9t\xE9");
    EXPECT_EQ(FieldText(result.entries[1].pageUrl), "");
    EXPECT_EQ(MediaListImage({}), Bytes({1, 0, 0, 0, 64, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                         0, 0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                         0, 0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}
