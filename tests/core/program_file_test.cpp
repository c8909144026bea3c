#include "schedule/ProgramFile.h"
#include "schedule/ProgramList.h"
#include "schedule/TextField.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{

// A record image built byte by byte at the offsets of the file layout.
Bytes RecordImage(const std::string& name, int hour, int minute, unsigned char fill = 0)
{
    Bytes bytes(1054, fill);
    std::memset(bytes.data(), 0, 260);
    PutText(bytes, 0, name);
    bytes[name.size()] = 0;
    PutText(bytes, 260, "Radio Sylvane");
    bytes[260 + 13] = 0;
    PutText(bytes, 520, "http://page.example/");
    bytes[520 + 20] = 0;
    PutText(bytes, 780, "mms://stream.example/live");
    bytes[780 + 25] = 0;
    for (int day = 0; day < 7; ++day)
        bytes[1040 + static_cast<std::size_t>(day)] = day == 0 || day == 6 ? 1 : 0;
    bytes[1047] = 0x5A;
    PutU16(bytes, 1048, static_cast<unsigned>(hour) & 0xFFFF);
    PutU16(bytes, 1050, static_cast<unsigned>(minute) & 0xFFFF);
    bytes[1052] = 1;
    bytes[1053] = 0;
    return bytes;
}

} // namespace

TEST(ProgramFile, RecordBuiltByteByByteReadsBackFieldForField)
{
    TempFolder folder;
    const std::string path = folder.File("programs.chronel");
    WriteBytes(path, RecordImage("Matin", 8, -5, 0xEE));

    std::vector<ProgramRecord> records;
    ASSERT_EQ(ReadProgramFile(path, records), ProgramFileRead::Read);
    ASSERT_EQ(records.size(), 1u);
    const ProgramRecord& r = records[0];
    EXPECT_EQ(FieldText(r.name), "Matin");
    EXPECT_EQ(FieldText(r.media.title), "Radio Sylvane");
    EXPECT_EQ(FieldText(r.media.pageUrl), "http://page.example/");
    EXPECT_EQ(FieldText(r.media.streamUrl), "mms://stream.example/live");
    EXPECT_EQ(r.days[0], 1);
    EXPECT_EQ(r.days[1], 0);
    EXPECT_EQ(r.days[6], 1);
    EXPECT_EQ(r.reserved, 0x5A);
    EXPECT_EQ(r.hour, 8);
    EXPECT_EQ(r.minute, -5);
    EXPECT_EQ(r.confirm, 1);
    EXPECT_EQ(r.repeat, 0);
}

TEST(ProgramFile, ReadThenWriteIsByteIdenticalIncludingBytesAfterTheZero)
{
    TempFolder folder;
    const std::string path = folder.File("programs.chronel");
    // 0xEE fills every text field's tail behind its zero: those bytes must survive a round trip.
    const Bytes original = Concat({RecordImage("Matin", 8, 5, 0xEE), RecordImage("Soir", 20, 30, 0x11)});
    WriteBytes(path, original);

    std::vector<ProgramRecord> records;
    ASSERT_EQ(ReadProgramFile(path, records), ProgramFileRead::Read);
    ASSERT_TRUE(WriteProgramFile(path, records.data(), records.size()));
    EXPECT_EQ(ReadBytes(path), original);
}

TEST(ProgramFile, FileSizesGiveWholeRecordsOnly)
{
    struct Case
    {
        const char* what;
        Bytes content;
        std::size_t expected;
    };
    const Bytes one = RecordImage("Un", 1, 1);
    const Bytes two = RecordImage("Deux", 2, 2);
    const Case cases[] = {
        {"empty file", {}, 0},
        {"shorter than one record", Bytes(1053, 7), 0},
        {"one record", one, 1},
        {"two records and a fragment", Concat({one, two, Bytes(100, 9)}), 2},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        const std::string path = folder.File("programs.chronel");
        WriteBytes(path, c.content);
        std::vector<ProgramRecord> records(3); // stale content must be replaced
        ASSERT_EQ(ReadProgramFile(path, records), ProgramFileRead::Read);
        EXPECT_EQ(records.size(), c.expected);
    }
}

TEST(ProgramFile, MissingFileLeavesTheListAsItWas)
{
    TempFolder folder;
    std::vector<ProgramRecord> records(2);
    records[0].hour = 17;
    EXPECT_EQ(ReadProgramFile(folder.File("absent.chronel"), records), ProgramFileRead::NotOpened);
    EXPECT_EQ(ReadProgramFile("", records), ProgramFileRead::NotOpened);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].hour, 17);
}

TEST(ProgramFile, SavingAnEmptyListGivesAnEmptyFileAndLeavesNoTemporary)
{
    TempFolder folder;
    const std::string path = folder.File("programs.chronel");
    WriteBytes(path, RecordImage("Ancien", 3, 3));
    ASSERT_TRUE(WriteProgramFile(path, nullptr, 0));
    EXPECT_TRUE(ReadBytes(path).empty());
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    // Saving twice in a row is harmless.
    ASSERT_TRUE(WriteProgramFile(path, nullptr, 0));
    EXPECT_TRUE(std::filesystem::exists(path));
}

TEST(ProgramFile, FailedSavesSayFalseAndKeepTheEarlierFile)
{
    const Bytes earlier = RecordImage("Ancien", 3, 3, 0x33);
    std::vector<ProgramRecord> records(1);
    std::memset(&records[0], 0, sizeof(ProgramRecord));
    SetFieldText(records[0].name, "Nouveau");

    {
        SCOPED_TRACE("a folder stands where the file should go");
        TempFolder folder;
        const std::string path = folder.File("programs.chronel");
        std::filesystem::create_directory(path);
        EXPECT_FALSE(WriteProgramFile(path, records.data(), records.size()));
        EXPECT_TRUE(std::filesystem::is_directory(path));
        EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    }
    {
        SCOPED_TRACE("the data folder does not exist");
        TempFolder folder;
        EXPECT_FALSE(
            WriteProgramFile(folder.File("missing/programs.chronel"), records.data(), records.size()));
    }
    {
        SCOPED_TRACE("no path at all");
        EXPECT_FALSE(WriteProgramFile("", records.data(), records.size()));
    }
    {
        SCOPED_TRACE("interrupted after the temporary file was written");
        TempFolder folder;
        const std::string path = folder.File("programs.chronel");
        WriteBytes(path, earlier);
        auto interrupted = [](const std::string&, const std::string&) { return false; };
        EXPECT_FALSE(WriteProgramFile(path, records.data(), records.size(), interrupted));
        EXPECT_EQ(ReadBytes(path), earlier);
        EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    }
}

TEST(ProgramList, SerialsFollowTheirRecordsAcrossRemovals)
{
    ProgramList list;
    ProgramRecord record{};
    SetFieldText(record.name, "A");
    const auto a = list.Append(record);
    SetFieldText(record.name, "B");
    const auto b = list.Append(record);
    SetFieldText(record.name, "C");
    list.Append(record);

    list.RemoveAt(0);
    EXPECT_EQ(list.Find(a), list.Size());
    ASSERT_EQ(list.Find(b), 0u);
    EXPECT_EQ(FieldText(list[list.Find(b)].name), "B");
    EXPECT_EQ(list.IndexOf(&list[1]), 1u);
    EXPECT_EQ(list.IndexOf(&record), list.Size());
}
