#include "schedule/MediaListFile.h"
#include "schedule/TextField.h"
#include "base/UniqueHandle.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{

// File images built byte by byte at the offsets of the layout, not with the reader's own constants.
Bytes Header(unsigned long first, unsigned long second, std::size_t size = 64)
{
    Bytes bytes(64, 0xC3); // the unread part of the header may hold anything
    PutU32(bytes, 0, first);
    PutU32(bytes, 4, second);
    bytes.resize(size);
    return bytes;
}

struct RecordTexts
{
    unsigned kind;
    std::string title;
    std::string streamUrl;
    std::string pageUrl;
};

Bytes Record(const RecordTexts& texts, unsigned char fill = 0)
{
    Bytes bytes(9264, fill);
    PutU16(bytes, 0, texts.kind);
    auto field = [&](std::size_t offset, const std::string& text) {
        PutText(bytes, offset, text);
        bytes[offset + text.size()] = 0;
    };
    field(2, texts.title);
    field(262, "not read");
    field(522, texts.streamUrl);
    field(782, texts.pageUrl);
    return bytes;
}

// Reads an image both from a real file and from memory; the two readings must agree.
MediaListResult ReadImage(const Bytes& image)
{
    TempFolder folder;
    const std::string path = folder.File("list.slv");
    WriteBytes(path, image);
    MediaListResult fromFile = ReadMediaListFile(path);
    MediaListResult fromMemory = ReadMediaListBytes(image.data(), image.size());
    EXPECT_EQ(fromFile.outcome, fromMemory.outcome);
    EXPECT_EQ(fromFile.entries.size(), fromMemory.entries.size());
    for (std::size_t i = 0; i < std::min(fromFile.entries.size(), fromMemory.entries.size()); ++i)
    {
        const MediaEntry a = fromFile.entries[i], b = fromMemory.entries[i];
        EXPECT_EQ(std::memcmp(&a, &b, sizeof(MediaEntry)), 0);
    }
    return fromFile;
}

std::vector<std::string> Titles(const MediaListResult& result)
{
    std::vector<std::string> titles;
    for (const MediaEntry& entry : result.entries)
        titles.emplace_back(FieldText(entry.title));
    return titles;
}

const RecordTexts radio{1, "Radio Sylvane", "mms://stream.example/live", "http://page.example/"};

} // namespace

TEST(MediaListFile, HeaderDecidesOnItsFirstEightBytesOnly)
{
    struct Case
    {
        const char* what;
        Bytes image;
        MediaListRead expected;
    };
    const Case cases[] = {
        {"empty file", {}, MediaListRead::NotValid},
        {"7 bytes", Header(1, 64, 7), MediaListRead::NotValid},
        {"8 bytes holding 1 and 64", Header(1, 64, 8), MediaListRead::Loaded},
        {"63 bytes", Header(1, 64, 63), MediaListRead::Loaded},
        {"64 bytes", Header(1, 64), MediaListRead::Loaded},
        {"first value 0", Header(0, 64), MediaListRead::NotValid},
        {"first value 2", Header(2, 64), MediaListRead::Loaded},
        {"first value 4294967295", Header(4294967295ul, 64), MediaListRead::Loaded},
        {"first value only in its high byte", Header(0x01000000ul, 64), MediaListRead::Loaded},
        {"second value 63", Header(1, 63), MediaListRead::NotValid},
        {"second value 65", Header(1, 65), MediaListRead::NotValid},
        {"second value 0", Header(1, 0), MediaListRead::NotValid},
        {"second value 64 plus a high byte", Header(1, 0x01000040ul), MediaListRead::NotValid},
        {"first value 0 with a good record", Concat({Header(0, 64), Record(radio)}), MediaListRead::NotValid},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        const MediaListResult result = ReadImage(c.image);
        EXPECT_EQ(result.outcome, c.expected);
        EXPECT_TRUE(result.entries.empty());
    }
}

TEST(MediaListFile, OnlyWholeRecordsAreRead)
{
    struct Case
    {
        const char* what;
        Bytes image;
        std::size_t expected;
    };
    const Bytes one = Record(radio);
    const Case cases[] = {
        {"one record", Concat({Header(1, 64), one}), 1},
        {"one record and 100 trailing bytes", Concat({Header(1, 64), one, Bytes(100, 0x41)}), 1},
        {"a record one byte short", Concat({Header(1, 64), Bytes(one.begin(), one.end() - 1)}), 0},
        {"two records and one byte short of a third", Concat({Header(1, 64), one, one, Bytes(9263, 0x41)}),
         2},
        {"an 8-byte header and a record: the header still takes 64 bytes", Concat({Header(1, 64, 8), one}),
         0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        const MediaListResult result = ReadImage(c.image);
        EXPECT_EQ(result.outcome, MediaListRead::Loaded);
        EXPECT_EQ(result.entries.size(), c.expected);
    }
}

TEST(MediaListFile, SkipRulesTakeKindTitleAndStreamButNotThePage)
{
    struct Case
    {
        const char* what;
        RecordTexts texts;
        bool offered;
    };
    const Case cases[] = {
        {"kind 0", {0, "T", "mms://s", "http://p"}, true},
        {"kind 1", {1, "T", "mms://s", "http://p"}, true},
        {"kind 2", {2, "T", "mms://s", "http://p"}, false},
        {"kind 3", {3, "T", "mms://s", "http://p"}, true},
        {"kind 2 in the high byte (512)", {0x0200, "T", "mms://s", "http://p"}, true},
        {"kind 258 (2 in the low byte)", {0x0102, "T", "mms://s", "http://p"}, true},
        {"kind 65535", {0xFFFF, "T", "mms://s", "http://p"}, true},
        {"empty title", {1, "", "mms://s", "http://p"}, false},
        {"empty stream address", {1, "T", "", "http://p"}, false},
        {"empty page address", {1, "T", "mms://s", ""}, true},
        {"kind 2 and nothing else", {2, "", "", ""}, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        const MediaListResult result = ReadImage(Concat({Header(1, 64), Record(c.texts, 0x5A)}));
        ASSERT_EQ(result.outcome, MediaListRead::Loaded);
        ASSERT_EQ(result.entries.size(), c.offered ? 1u : 0u);
        if (c.offered)
            EXPECT_EQ(FieldText(result.entries[0].pageUrl), c.texts.pageUrl);
    }
}

TEST(MediaListFile, StreamAndPageComeFromTheirOffsetsWithEveryByteOfTheField)
{
    const Bytes record =
        Record({3, "Radio Sylvane", "mms://stream.example/live", "http://page.example/"}, 0x5A);
    const MediaListResult result = ReadImage(Concat({Header(1, 64), record}));
    ASSERT_EQ(result.entries.size(), 1u);
    const MediaEntry& entry = result.entries[0];
    EXPECT_EQ(FieldText(entry.title), "Radio Sylvane");
    EXPECT_EQ(FieldText(entry.streamUrl), "mms://stream.example/live");
    EXPECT_EQ(FieldText(entry.pageUrl), "http://page.example/");
    // The bytes after each zero come along too.
    EXPECT_EQ(std::memcmp(entry.title, &record[2], 260), 0);
    EXPECT_EQ(std::memcmp(entry.streamUrl, &record[522], 260), 0);
    EXPECT_EQ(std::memcmp(entry.pageUrl, &record[782], 260), 0);
    EXPECT_EQ(static_cast<unsigned char>(entry.title[259]), 0x5A);
}

TEST(MediaListFile, EntriesKeepFileOrder)
{
    const MediaListResult result = ReadImage(
        Concat({Header(1, 64), Record({1, "Beta", "mms://b", ""}), Record({2, "Skipped", "mms://x", ""}),
                Record({1, "alpha", "mms://a", ""}), Record({1, "Gamma", "mms://g", ""})}));
    EXPECT_EQ(Titles(result), (std::vector<std::string>{"Beta", "alpha", "Gamma"}));
}

TEST(MediaListFile, FieldsWithoutZeroAreKeptWholeAndReadAsTheirFirst259Characters)
{
    Bytes record = Record(radio);
    std::memset(&record[2], 'T', 260);   // title runs into the unread field
    std::memset(&record[522], 'S', 260); // stream runs into the page field
    std::memset(&record[782], 'P', 260); // page runs into the unread remainder
    const MediaListResult result = ReadImage(Concat({Header(1, 64), record}));
    ASSERT_EQ(result.entries.size(), 1u);
    const MediaEntry& entry = result.entries[0];
    EXPECT_EQ(FieldText(entry.title), std::string(259, 'T'));
    EXPECT_EQ(FieldText(entry.streamUrl), std::string(259, 'S'));
    EXPECT_EQ(FieldText(entry.pageUrl), std::string(259, 'P'));
    EXPECT_EQ(entry.title[259], 'T');
}

TEST(MediaListFile, OnlyFilesOnADiskAreOpened)
{
    TempFolder folder;
    std::vector<std::string> paths = {"", folder.File("absent.slv"), folder.Path().string()};
#if defined(_WIN32)
    // Device names are devices in any folder; reading the null device would end at once, a serial line never.
    for (const char* device : {"NUL", "AUX", "COM1", "\\\\.\\COM1", "\\\\.\\NUL"})
        paths.push_back(device);
    paths.push_back(folder.File("NUL.slv"));
#else
    paths.push_back("/dev/null");
    // A pipe with a writer that never writes: a read would wait for ever.
    const std::string pipe = folder.File("list.slv");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const int writer = open(pipe.c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_NE(writer, -1);
    paths.push_back(pipe);
#endif
    for (const std::string& path : paths)
    {
        SCOPED_TRACE(path);
        EXPECT_EQ(ReadMediaListFile(path).outcome, MediaListRead::NotOpened);
    }
#if !defined(_WIN32)
    close(writer);
#endif
}

TEST(MediaListFile, AnyNameLoads)
{
    TempFolder folder;
    const Bytes image = Concat({Header(1, 64), Record(radio)});
    for (const char* name : {"list.slv", "list.tsl", "list.txt", "noextension"})
    {
        SCOPED_TRACE(name);
        WriteBytes(folder.File(name), image);
        const MediaListResult result = ReadMediaListFile(folder.File(name));
        EXPECT_EQ(result.outcome, MediaListRead::Loaded);
        EXPECT_EQ(result.entries.size(), 1u);
    }
}

TEST(MediaListFile, StreamReaderStartsWhereTheStreamStands)
{
    TempFolder folder;
    const std::string path = folder.File("prefixed.bin");
    WriteBytes(path, Concat({Bytes(5, 0xEE), Header(1, 64), Record(radio)}));
    UniqueFile file(std::fopen(path.c_str(), "rb"));
    ASSERT_TRUE(file);
    ASSERT_EQ(std::fseek(file.Get(), 5, SEEK_SET), 0);
    const MediaListResult result = ReadMediaList(file.Get());
    EXPECT_EQ(result.outcome, MediaListRead::Loaded);
    EXPECT_EQ(Titles(result), std::vector<std::string>{"Radio Sylvane"});
}
