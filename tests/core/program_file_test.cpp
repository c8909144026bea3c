#include "schedule/ProgramFile.h"
#include "schedule/ProgramList.h"
#include "schedule/ProgramStore.h"
#include "schedule/TextField.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
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

// The real C library calls, but for the one that a test makes fail.
enum class Failing
{
    Nothing,
    OpenDenied,
    OpenMissing,
    Seek,
    Tell,
    Read,
};
Failing failing = Failing::Nothing;

const FileCalls FailingCalls = {
    [](const char* path, const char* mode) -> std::FILE* {
        if (failing == Failing::OpenDenied || failing == Failing::OpenMissing)
        {
            errno = failing == Failing::OpenDenied ? EACCES : ENOENT;
            return nullptr;
        }
        return std::fopen(path, mode);
    },
    [](std::FILE* file, long offset, int origin) {
        return failing == Failing::Seek ? -1 : std::fseek(file, offset, origin);
    },
    [](std::FILE* file) { return failing == Failing::Tell ? -1L : std::ftell(file); },
    [](void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
        return failing == Failing::Read ? count - 1 : std::fread(buffer, size, count, file);
    },
};

ProgramRecord Named(const char* name)
{
    ProgramRecord record{};
    SetFieldText(record.name, name);
    return record;
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
    EXPECT_EQ(ReadProgramFile(folder.File("absent.chronel"), records), ProgramFileRead::Missing);
    EXPECT_EQ(ReadProgramFile("", records), ProgramFileRead::Missing);
    // A folder that cannot be reached (a share not there yet) says "no such file" too, but the file may well
    // be there once it is: never an empty list that a save would write over it.
    for (const char* folderName : {"absent", "absent/deeper"})
        EXPECT_EQ(ReadProgramFile(folder.File(folderName) + "/programs.chronel", records),
                  ProgramFileRead::Unreadable)
            << folderName;
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].hour, 17);
}

TEST(ProgramFile, EveryFailingCallMakesTheFileUnreadableNeverEmpty)
{
    TempFolder folder;
    const std::string path = folder.File("programs.chronel");
    WriteBytes(path, Concat({RecordImage("Un", 1, 1), RecordImage("Deux", 2, 2)}));
    const struct
    {
        Failing call;
        ProgramFileRead expected;
    } cases[] = {
        {Failing::Nothing, ProgramFileRead::Read},          {Failing::OpenMissing, ProgramFileRead::Missing},
        {Failing::OpenDenied, ProgramFileRead::Unreadable}, {Failing::Seek, ProgramFileRead::Unreadable},
        {Failing::Tell, ProgramFileRead::Unreadable},       {Failing::Read, ProgramFileRead::Unreadable},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(static_cast<int>(c.call));
        failing = c.call;
        std::vector<ProgramRecord> records(3);
        EXPECT_EQ(ReadProgramFile(path, records, FailingCalls), c.expected);
        // Only a successful read replaces what the caller had.
        EXPECT_EQ(records.size(), c.expected == ProgramFileRead::Read ? 2u : 3u);
    }
    failing = Failing::Nothing;
}

TEST(ProgramStore, AnUnreadableFileIsNeverWrittenOverAndItsRecordsComeFirstOnceRead)
{
    TempFolder folder;
    const std::string path = folder.File("programs.chronel");
    const Bytes old = Concat({RecordImage("Ancien", 1, 1, 0xEE), RecordImage("Autre", 2, 2)});
    WriteBytes(path, old);
    ProgramStore store(path, FailingCalls);
    ProgramList programs;

    failing = Failing::OpenDenied;
    EXPECT_EQ(store.Load(programs), ProgramFileRead::Unreadable);
    EXPECT_TRUE(store.Pending());
    EXPECT_TRUE(programs.Empty());
    const ProgramList::Serial added = programs.Append(Named("Nouveau"));
    EXPECT_EQ(store.Save(programs).outcome, ProgramStore::Outcome::NotRead);
    EXPECT_EQ(ReadBytes(path), old);

    failing = Failing::Nothing;
    const ProgramStore::SaveResult saved = store.Save(programs);
    EXPECT_EQ(saved.outcome, ProgramStore::Outcome::Saved);
    EXPECT_EQ(saved.moved, (std::vector<std::size_t>{2}));
    EXPECT_FALSE(store.Pending());
    EXPECT_EQ(Names(programs), (std::vector<std::string>{"Ancien", "Autre", "Nouveau"}));
    // A launch waiting on "Nouveau" across the save still finds it.
    EXPECT_EQ(programs.Find(added), 2u);
    Bytes expected = old;
    const auto* addedBytes = reinterpret_cast<const unsigned char*>(&programs[2]);
    expected.insert(expected.end(), addedBytes, addedBytes + sizeof(ProgramRecord));
    EXPECT_EQ(ReadBytes(path), expected);

    // Read once, the file is the list's own: the next save merges nothing again.
    EXPECT_FALSE(store.Save(programs).merged);
    EXPECT_EQ(ReadBytes(path), expected);
}

TEST(ProgramStore, AProgrammeAddedAgainWhileTheFileWasUnreadableIsKeptOnce)
{
    // The file holds "Soir" at 20:30 and "Matin" at 08:05, both on Monday and Sunday.
    ProgramRecord again = Named("Soir");
    ProgramRecord sameTime = Named("Réveil");
    sameTime.days[6] = 1;
    sameTime.hour = 8;
    sameTime.minute = 5;
    ProgramRecord otherDay = sameTime;
    SetFieldText(otherDay.name, "Mardi");
    otherDay.days[6] = 0;
    otherDay.days[1] = 1;
    ProgramRecord otherCase = Named("soir");

    TempFolder folder;
    const std::string path = folder.File("programs.chronel");
    const Bytes file = Concat({RecordImage("Soir", 20, 30), RecordImage("Matin", 8, 5)});
    WriteBytes(path, file);
    ProgramStore store(path, FailingCalls);
    ProgramList programs;
    failing = Failing::OpenDenied;
    ASSERT_EQ(store.Load(programs), ProgramFileRead::Unreadable);
    for (const ProgramRecord& record : {again, otherDay, sameTime, otherCase})
        programs.Append(record);
    failing = Failing::Nothing;

    const ProgramStore::SaveResult saved = store.Save(programs);
    ASSERT_EQ(saved.outcome, ProgramStore::Outcome::Saved);
    EXPECT_EQ(Names(programs), (std::vector<std::string>{"Soir", "Matin", "Mardi", "soir"}));
    // Each record that was in the list, where it now stands: a duplicate at the file's record it matched.
    EXPECT_EQ(saved.moved, (std::vector<std::size_t>{0, 2, 1, 3}));
    std::vector<ProgramRecord> written;
    ASSERT_EQ(ReadProgramFile(path, written), ProgramFileRead::Read);
    ASSERT_EQ(written.size(), 4u);
    EXPECT_EQ(Bytes(reinterpret_cast<const unsigned char*>(written.data()),
                    reinterpret_cast<const unsigned char*>(written.data()) + 2 * sizeof(ProgramRecord)),
              file);
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
}
