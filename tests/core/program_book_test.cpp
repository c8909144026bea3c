#include "schedule/ProgramBook.h"
#include "schedule/ProgramFile.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace
{

ProgramRecord Named(const char* name, int hour)
{
    ProgramRecord record{};
    SetFieldText(record.name, name);
    record.days[0] = 1;
    record.hour = static_cast<std::int16_t>(hour);
    return record;
}

std::vector<std::string> FileNames(const std::string& path)
{
    std::vector<ProgramRecord> records;
    if (ReadProgramFile(path, records) != ProgramFileRead::Read)
        return {"<unreadable>"};
    ProgramList list;
    list.Replace(records);
    return Names(list);
}

} // namespace

TEST(ProgramBook, SavesWriteOnlyBetweenTheLoadAndTheQuit)
{
    TempFolder folder;
    const std::string path = folder.File("programs.chronel");
    const ProgramRecord earlier = Named("Ancien", 7);
    ASSERT_TRUE(WriteProgramFile(path, &earlier, 1));

    ProgramBook book;
    book.Open(path);
    // A quit before the file was read (during a box of the start-up) has nothing to write: the file stays.
    book.Programs().Append(Named("Avant", 8));
    ProgramBook::SaveOutcome outcome = book.Save(0);
    EXPECT_TRUE(outcome.saved);
    EXPECT_EQ(FileNames(path), (std::vector<std::string>{"Ancien"}));

    ASSERT_EQ(book.Load(), ProgramFileRead::Read);
    book.Programs().Append(Named("Matin", 9));
    outcome = book.SaveChange(book.Programs().Size());
    EXPECT_TRUE(outcome.saved);
    EXPECT_FALSE(outcome.tell);
    EXPECT_FALSE(outcome.relist);
    EXPECT_EQ(FileNames(path), (std::vector<std::string>{"Ancien", "Matin"}));

    // After the quit's save nothing more is written, whatever changes.
    book.BeginQuit();
    book.Programs().RemoveAt(0);
    EXPECT_TRUE(book.Save(0).saved);
    EXPECT_EQ(FileNames(path), (std::vector<std::string>{"Ancien", "Matin"}));
}

TEST(ProgramBook, AFailingSaveIsToldOnceAmongChangesAndAgainWhenAsked)
{
    TempFolder folder;
    ProgramBook book;
    std::filesystem::create_directories(folder.Path() / "gone");
    book.Open(folder.File("gone/programs.chronel"));
    ASSERT_EQ(book.Load(), ProgramFileRead::Missing);
    // The folder goes away (a share disconnected): every write fails.
    std::filesystem::remove_all(folder.Path() / "gone");
    const struct
    {
        const char* name;
        bool change; // the save after a change, or the save of a quit that asks
        bool quiet;
        bool tell;
    } steps[] = {
        {"first change", true, false, true},
        {"second change", true, false, false},
        {"the quit's save", false, false, true},
        {"the session's end", false, true, false},
        {"a change after a quiet failure", true, false, false},
    };
    for (const auto& step : steps)
    {
        SCOPED_TRACE(step.name);
        book.Programs().Append(Named(step.name, 1));
        const ProgramBook::SaveOutcome outcome = step.change ? book.SaveChange(0) : book.Save(0, step.quiet);
        EXPECT_FALSE(outcome.saved);
        EXPECT_EQ(outcome.tell, step.tell);
    }
    // Once the folder is there the next change saves; after the quit began the book answers the last save's
    // outcome.
    std::filesystem::create_directories(folder.Path() / "gone");
    EXPECT_TRUE(book.SaveChange(0).saved);
    book.BeginQuit();
    EXPECT_TRUE(book.Save(0).saved);
}
