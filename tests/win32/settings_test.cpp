#include "schedule/Settings_win.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{

// Reads a value of the settings key as raw bytes with its type.
std::vector<char> QueryValue(const char* name, DWORD* type)
{
    RegKey key = OpenSettingsKey();
    DWORD size = 0;
    if (!key || RegQueryValueExA(key.Get(), name, nullptr, type, nullptr, &size) != ERROR_SUCCESS)
        return {};
    std::vector<char> data(size);
    RegQueryValueExA(key.Get(), name, nullptr, type, reinterpret_cast<BYTE*>(data.data()), &size);
    return data;
}

bool ExistingFolder(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string g_fakeAppData;

bool FakeLookUp(char (&folder)[MAX_PATH])
{
    std::memset(folder, 0, sizeof folder);
    std::strcpy(folder, g_fakeAppData.c_str());
    return true;
}

bool FailingLookUp(char (&folder)[MAX_PATH])
{
    std::memset(folder, 0, sizeof folder);
    return false;
}

} // namespace

TEST(Settings, PrepareDataFolderCreatesTheFolderAndRecordsTheProgramFile)
{
    char appData[MAX_PATH] = {};
    ASSERT_TRUE(LookUpAppDataFolder(appData));
    const std::string expectedFolder = std::string(appData) + "\\Merovia\\Chronel\\";

    RegKey key = OpenSettingsKey();
    ASSERT_TRUE(key);
    char dataFolder[TextFieldSize];
    std::memset(dataFolder, 0x7F, sizeof dataFolder);
    const std::string programFile = PrepareDataFolder(key.Get(), dataFolder);

    EXPECT_STREQ(dataFolder, expectedFolder.c_str());
    EXPECT_EQ(dataFolder[TextFieldSize - 1], 0);
    EXPECT_TRUE(ExistingFolder(expectedFolder));
    EXPECT_NE(expectedFolder.find("\\AppData\\Roaming\\Merovia\\Chronel\\"), std::string::npos);
    EXPECT_EQ(programFile, expectedFolder + "programs.chronel");

    DWORD type = 0;
    const std::vector<char> value = QueryValue("Program List", &type);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    const std::string expectedValue = programFile + '\0'; // stored with its terminating zero
    EXPECT_EQ(std::string(value.begin(), value.end()), expectedValue);
}

TEST(Settings, AppDataEndingInABackslashGetsNoSecondOne)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp); // ends in a backslash
    g_fakeAppData = std::string(temp) + "chronel-appdata\\";
    CreateDirectoryA(g_fakeAppData.c_str(), nullptr);

    RegKey key = OpenSettingsKey();
    char dataFolder[TextFieldSize] = {};
    const std::string programFile = PrepareDataFolder(key.Get(), dataFolder, FakeLookUp);
    EXPECT_EQ(std::string(dataFolder), g_fakeAppData + "Merovia\\Chronel\\");
    EXPECT_EQ(programFile, g_fakeAppData + "Merovia\\Chronel\\programs.chronel");
    EXPECT_TRUE(ExistingFolder(dataFolder));
}

TEST(Settings, FailedAppDataLookupCreatesNothingAndWritesNothing)
{
    RegKey key = OpenSettingsKey();
    ASSERT_TRUE(key);
    RegDeleteValueA(key.Get(), "Program List");
    char dataFolder[TextFieldSize] = {};
    EXPECT_EQ(PrepareDataFolder(key.Get(), dataFolder, FailingLookUp), "");
    EXPECT_EQ(dataFolder[0], 0);
    DWORD type = 0;
    EXPECT_TRUE(QueryValue("Program List", &type).empty());
    EXPECT_FALSE(ExistingFolder("C:\\Merovia"));
    EXPECT_FALSE(ExistingFolder("\\Merovia"));
}

TEST(Settings, MediaListPathReadsBackAndEmptyOrMissingReadsEmpty)
{
    RegKey key = OpenSettingsKey();
    ASSERT_TRUE(key);

    RegDeleteValueA(key.Get(), "Media List");
    EXPECT_EQ(ReadMediaListPath(key.Get()), "");

    ASSERT_TRUE(WriteMediaListPath(key.Get(), ""));
    EXPECT_EQ(ReadMediaListPath(key.Get()), "");

    ASSERT_TRUE(WriteMediaListPath(key.Get(), "C:\\Listes\\médias.slv"));
    EXPECT_EQ(ReadMediaListPath(key.Get()), "C:\\Listes\\médias.slv");
    DWORD type = 0;
    EXPECT_EQ(QueryValue("Media List", &type).size(), std::strlen("C:\\Listes\\médias.slv") + 1);

    // A value filling the whole buffer without a zero is never read past: it is cut to 259 characters, or
    // refused as too long, depending on how the registry hands it out.
    const std::string full(TextFieldSize, 'p');
    RegSetValueExA(key.Get(), "Media List", 0, REG_SZ, reinterpret_cast<const BYTE*>(full.data()),
                   TextFieldSize);
    const std::string read = ReadMediaListPath(key.Get());
    EXPECT_TRUE(read.empty() || read == std::string(TextFieldSize - 1, 'p')) << read.size();
    RegDeleteValueA(key.Get(), "Media List");
}
