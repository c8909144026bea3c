#include "schedule/DataFolder.h"
#include "schedule/TextField.h"

#include <gtest/gtest.h>

TEST(DataFolder, BuildsTheTwoFoldersWithOneBackslashEach)
{
    const char* const withAndWithout[] = {"C:\\Users\\Ana\\AppData\\Roaming",
                                          "C:\\Users\\Ana\\AppData\\Roaming\\"};
    for (const char* appData : withAndWithout)
    {
        SCOPED_TRACE(appData);
        const DataFolderPaths paths = BuildDataFolderPaths(appData);
        EXPECT_EQ(paths.makerFolder, "C:\\Users\\Ana\\AppData\\Roaming\\Merovia\\");
        EXPECT_EQ(paths.dataFolder, "C:\\Users\\Ana\\AppData\\Roaming\\Merovia\\Chronel\\");
    }
}

TEST(DataFolder, FailedLookupGivesNoFolderAtTheDriveRoot)
{
    const DataFolderPaths paths = BuildDataFolderPaths("");
    EXPECT_TRUE(paths.makerFolder.empty());
    EXPECT_TRUE(paths.dataFolder.empty());
}

TEST(TextField, FieldWithoutZeroReadsAsItsFirst259Characters)
{
    char field[TextFieldSize];
    std::memset(field, 'x', sizeof field);
    EXPECT_EQ(FieldText(field).size(), 259u);

    SetFieldText(field, std::string(300, 'y'));
    EXPECT_EQ(FieldText(field), std::string(259, 'y'));
    EXPECT_EQ(field[259], 0);

    SetFieldText(field, "Matin");
    EXPECT_EQ(FieldText(field), "Matin");
    EXPECT_EQ(field[5], 0);
    EXPECT_EQ(field[259], 0);
}
