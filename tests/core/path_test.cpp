// The core's files in folders named outside any ANSI code page, the paths given in UTF-8 as the program keeps
// them. Natively they go to the system as they are; under Windows through the wide functions.
#include "base/FileSystem.h"
#include "schedule/MediaListFile.h"
#include "schedule/ProgramFile.h"
#include "schedule/TextField.h"
#include "scheduler/Playlist.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace
{

std::filesystem::path Native(const std::string& utf8)
{
    return std::filesystem::u8path(utf8);
}

const std::string Separator(1, static_cast<char>(std::filesystem::path::preferred_separator));

} // namespace

TEST(Paths, FilesInFoldersNamedOutsideTheCodePageAreMadeReadAndReplaced)
{
    for (const char* name : {u8"Łódź", u8"Иван", u8"音乐 \U0001F3B5"})
    {
        SCOPED_TRACE(name);
        TempFolder temp;
        const std::string folder = temp.Utf8File(name);
        const std::string programs = folder + Separator + "programs.chronel";

        // Before the folder exists the file cannot be reached; once it does, a missing file is an empty list.
        std::vector<ProgramRecord> read;
        EXPECT_EQ(ReadProgramFile(programs, read), ProgramFileRead::Unreadable);
        ASSERT_TRUE(CreateFolder(folder));
        EXPECT_TRUE(std::filesystem::is_directory(Native(folder)));
        EXPECT_EQ(ReadProgramFile(programs, read), ProgramFileRead::Missing);

        ProgramRecord record{};
        SetFieldText(record.name, "Réveil à l'aube");
        for (int save = 0; save < 2; ++save)
            ASSERT_TRUE(WriteProgramFile(programs, &record, 1));
        EXPECT_TRUE(std::filesystem::exists(Native(programs)));
        EXPECT_FALSE(std::filesystem::exists(Native(programs + ".tmp")));
        ASSERT_EQ(ReadProgramFile(programs, read), ProgramFileRead::Read);
        ASSERT_EQ(read.size(), 1u);
        EXPECT_EQ(FieldText(read[0].name), "Réveil à l'aube");

        const std::string list = folder + Separator + "liste.slv";
        {
            Bytes header(64, 0);
            PutU32(header, 0, 1);
            PutU32(header, 4, 64);
            std::ofstream out(Native(list), std::ios::binary);
            out.write(reinterpret_cast<const char*>(header.data()),
                      static_cast<std::streamsize>(header.size()));
        }
        EXPECT_EQ(ReadMediaListFile(list).outcome, MediaListRead::Loaded);

        const std::string playlist = PlaylistPath(folder + Separator);
        ASSERT_TRUE(WritePlaylistFile(playlist, "<ASX/>"));
        std::ifstream in(Native(playlist), std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()),
                  "<ASX/>");
    }
}
