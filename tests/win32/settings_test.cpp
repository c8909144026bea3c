#include "schedule/Settings_win.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{

// UTF-16 of a UTF-8 path, by Windows' own conversion.
std::wstring Wide(const std::string& utf8)
{
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(
        CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), static_cast<int>(wide.size()))));
    return wide;
}

// Reads a value of the settings key as the registry holds it (UTF-16 for a string), with its type.
std::wstring QueryValue(const char* name, DWORD* type)
{
    RegKey key = OpenSettingsKey();
    const std::wstring wideName = Wide(name);
    DWORD size = 0;
    if (!key || RegQueryValueExW(key.Get(), wideName.c_str(), nullptr, type, nullptr, &size) != ERROR_SUCCESS)
        return {};
    std::wstring data(size / sizeof(wchar_t), L'\0');
    RegQueryValueExW(key.Get(), wideName.c_str(), nullptr, type, reinterpret_cast<BYTE*>(data.data()), &size);
    return data;
}

bool ExistingFolder(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string g_fakeAppData;

bool FakeLookUp(std::string& folder)
{
    folder = g_fakeAppData;
    return true;
}

bool FailingLookUp(std::string& folder)
{
    folder.clear();
    return false;
}

} // namespace

TEST(Settings, PrepareDataFolderCreatesTheFolderAndRecordsTheProgramFile)
{
    std::string appData;
    ASSERT_TRUE(LookUpAppDataFolder(appData));
    const std::string expectedFolder = appData + "\\Merovia\\Chronel\\";

    RegKey key = OpenSettingsKey();
    ASSERT_TRUE(key);
    std::string dataFolder = "left over";
    const std::string programFile = PrepareDataFolder(key.Get(), dataFolder);

    EXPECT_EQ(dataFolder, expectedFolder);
    EXPECT_TRUE(ExistingFolder(expectedFolder));
    EXPECT_NE(expectedFolder.find("\\AppData\\Roaming\\Merovia\\Chronel\\"), std::string::npos);
    EXPECT_EQ(programFile, expectedFolder + "programs.chronel");

    DWORD type = 0;
    EXPECT_EQ(QueryValue("Program List", &type), Wide(programFile) + L'\0'); // with its terminating zero
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
}

// The folder as Windows names it, whatever the system's code page: a user "Łukasz" keeps his programmes.
TEST(Settings, TheDataFolderIsMadeWhereverTheApplicationDataFolderIs)
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp); // ends in a backslash
    std::string tempFolder(MAX_PATH * 3, '\0');
    tempFolder.resize(
        static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, temp, -1, tempFolder.data(),
                                                     static_cast<int>(tempFolder.size()), nullptr, nullptr) -
                                 1));
    for (const std::string appData :
         {tempFolder + "chronel-appdata\\", tempFolder + u8"Łukasz Иван\\AppData\\Roaming"})
    {
        SCOPED_TRACE(appData);
        g_fakeAppData = appData;
        CreateDirectoryW(Wide(tempFolder + u8"Łukasz Иван").c_str(), nullptr);
        CreateDirectoryW(Wide(tempFolder + u8"Łukasz Иван\\AppData").c_str(), nullptr);
        CreateDirectoryW(Wide(appData).c_str(), nullptr);
        const std::string base = appData.back() == '\\' ? appData : appData + "\\";

        RegKey key = OpenSettingsKey();
        std::string dataFolder;
        const std::string programFile = PrepareDataFolder(key.Get(), dataFolder, FakeLookUp);
        EXPECT_EQ(dataFolder, base + "Merovia\\Chronel\\");
        EXPECT_EQ(programFile, base + "Merovia\\Chronel\\programs.chronel");
        EXPECT_TRUE(ExistingFolder(dataFolder));
        DWORD type = 0;
        EXPECT_EQ(QueryValue("Program List", &type), Wide(programFile) + L'\0');
    }
}

TEST(Settings, FailedAppDataLookupCreatesNothingAndWritesNothing)
{
    RegKey key = OpenSettingsKey();
    ASSERT_TRUE(key);
    RegDeleteValueA(key.Get(), "Program List");
    std::string dataFolder;
    EXPECT_EQ(PrepareDataFolder(key.Get(), dataFolder, FailingLookUp), "");
    EXPECT_EQ(dataFolder, "");
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

    for (const std::string path :
         {std::string(u8"C:\\Listes\\médias.slv"), std::string(u8"D:\\Łódź\\Иван.slv")})
    {
        ASSERT_TRUE(WriteMediaListPath(key.Get(), path));
        EXPECT_EQ(ReadMediaListPath(key.Get()), path);
        DWORD type = 0;
        EXPECT_EQ(QueryValue("Media List", &type), Wide(path) + L'\0');
    }

    // A value written through the ANSI function, as earlier versions did, is held by Windows in UTF-16,
    // converted from the system's code page: it reads back as the path it named.
    if (GetACP() == 1252)
    {
        const char ansi[] = "C:\\Listes\\m\xE9"
                            "dias.slv";
        RegSetValueExA(key.Get(), "Media List", 0, REG_SZ, reinterpret_cast<const BYTE*>(ansi), sizeof ansi);
        EXPECT_EQ(ReadMediaListPath(key.Get()), u8"C:\\Listes\\médias.slv");
    }

    // A value filling the whole buffer without a zero is no path the program can hold: it is refused, never
    // cut.
    const std::wstring full(TextFieldSize, L'p');
    RegSetValueExW(key.Get(), L"Media List", 0, REG_SZ, reinterpret_cast<const BYTE*>(full.data()),
                   TextFieldSize * sizeof(wchar_t));
    EXPECT_EQ(ReadMediaListPath(key.Get()), "");
    RegDeleteValueA(key.Get(), "Media List");
}
