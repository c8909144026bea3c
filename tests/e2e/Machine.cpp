#include "Machine.h"

#include <sddl.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace e2e
{

namespace
{

std::string Environment(const char* name)
{
    wchar_t value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(WidePath(name).c_str(), value, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        throw BenchError(std::string(name) + " is not set: run the scenarios through scripts/test-e2e");
    return Utf8Path(value);
}

std::string WithBackslash(std::string folder)
{
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    return folder;
}

struct KeyCloser
{
    HKEY key = nullptr;
    ~KeyCloser()
    {
        if (key)
            RegCloseKey(key);
    }
};

} // namespace

std::wstring WidePath(const std::string& utf8)
{
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(
        CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), static_cast<int>(wide.size()))));
    return wide;
}

std::string Utf8Path(const std::wstring& wide)
{
    std::string utf8(wide.size() * 3, '\0');
    utf8.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(),
                            static_cast<int>(utf8.size()), nullptr, nullptr)));
    return utf8;
}

const BenchPaths& Paths()
{
    static const BenchPaths paths = [] {
        BenchPaths found;
        found.program = Environment("CHRONEL_E2E_PROGRAM");
        found.medialist = Environment("CHRONEL_E2E_MEDIALIST");
        found.work = WithBackslash(Environment("CHRONEL_E2E_WORK"));
        found.screenshots = WithBackslash(Environment("CHRONEL_E2E_SHOTS"));
        wchar_t setup[MAX_PATH] = {};
        const DWORD length = GetEnvironmentVariableW(L"CHRONEL_E2E_SETUP", setup, MAX_PATH);
        if (length > 0 && length < MAX_PATH)
            found.setup = Utf8Path(setup);
        CreateDirectoryW(WidePath(found.work).c_str(), nullptr);
        CreateDirectoryW(WidePath(found.screenshots).c_str(), nullptr);
        // Every program the driver starts inherits it, and the player inherits it from the scheduler.
        SetEnvironmentVariableW(L"CHRONEL_PLAYER_LOG", WidePath(found.work + "player").c_str());
        return found;
    }();
    return paths;
}

std::string DataFolder()
{
    wchar_t appData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)))
        throw BenchError("the application-data folder of this prefix cannot be found");
    return WithBackslash(Utf8Path(appData)) + "Merovia\\Chronel\\";
}

std::string ProgramFilePath()
{
    return DataFolder() + "programs.chronel";
}

std::string PlaylistPath()
{
    return DataFolder() + "media.asx";
}

std::optional<std::string> ReadMachineString(const char* key, const char* name)
{
    KeyCloser open;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &open.key) != ERROR_SUCCESS)
        return std::nullopt;
    wchar_t value[1024] = {};
    DWORD size = sizeof value - sizeof value[0];
    DWORD type = 0;
    if (RegQueryValueExW(open.key, WidePath(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value),
                         &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    return Utf8Path(value);
}

std::optional<DWORD> ReadMachineDword(const char* key, const char* name)
{
    KeyCloser open;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &open.key) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD value = 0;
    DWORD size = sizeof value;
    DWORD type = 0;
    if (RegQueryValueExA(open.key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return std::nullopt;
    return value;
}

void WriteMachineString(const char* key, const char* name, const std::string& value)
{
    const std::wstring wide = WidePath(value);
    KeyCloser open;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &open.key, nullptr) != ERROR_SUCCESS ||
        RegSetValueExW(open.key, WidePath(name).c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(wide.c_str()),
                       static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
        throw BenchError(std::string("cannot write the registry value ") + key + "\\" + name);
}

void ResetMachine()
{
    const BenchPaths& paths = Paths();
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, SettingsKey);
    DeleteMachineValue(RunKey, AutostartName);
    std::string folder = DataFolder();
    folder.pop_back();
    RemoveFolder(folder);
    std::string work = paths.work;
    work.pop_back();
    RemoveFolder(work);
    CreateDirectoryW(WidePath(work).c_str(), nullptr);
    CreateDirectoryW(WidePath(PlayerLogFolder()).c_str(), nullptr);
    if (PathExists(folder) || !PlayerStarts().empty() ||
        ReadMachineString(SettingsKey, "Program List").has_value())
        throw BenchError("the previous scenario's files or settings cannot be removed");
}

void RemoveFolder(const std::string& folder)
{
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(WidePath(folder + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE)
    {
        do
        {
            const std::string name = Utf8Path(entry.cFileName);
            if (name == "." || name == "..")
                continue;
            const std::string path = folder + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveFolder(path);
            else
            {
                SetFileAttributesW(WidePath(path).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(WidePath(path).c_str());
            }
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(WidePath(folder).c_str());
}

ForeignSchedulerMutex::ForeignSchedulerMutex(const char* sddl)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, nullptr))
        throw BenchError(std::string("the security descriptor ") + sddl + " cannot be made");
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor, FALSE};
    mutex = CreateMutexA(&attributes, FALSE, "Local\\Merovia.Chronel.Scheduler");
    const DWORD error = GetLastError();
    LocalFree(descriptor);
    if (!mutex || error == ERROR_ALREADY_EXISTS)
    {
        if (mutex)
            CloseHandle(mutex);
        throw BenchError("the scheduler's mutex cannot be made for another scheduler: one exists already");
    }
}

ForeignSchedulerMutex::~ForeignSchedulerMutex()
{
    CloseHandle(mutex);
}

std::optional<std::string> ReadBytes(const std::string& path)
{
    std::ifstream file(std::filesystem::u8path(path), std::ios::binary);
    if (!file)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream file(std::filesystem::u8path(path), std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file)
        throw BenchError("cannot write " + path);
}

bool PathExists(const std::string& path)
{
    return GetFileAttributesW(WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string WriteFixture(const std::string& name, const std::string& bytes)
{
    const std::string path = Paths().work + name;
    WriteBytes(path, bytes);
    return path;
}

void WriteProgramFile(const std::string& bytes)
{
    std::string folder = DataFolder();
    const std::string parent = folder.substr(0, folder.rfind('\\', folder.size() - 2));
    CreateDirectoryW(WidePath(parent).c_str(), nullptr);
    folder.pop_back();
    CreateDirectoryW(WidePath(folder).c_str(), nullptr);
    WriteBytes(ProgramFilePath(), bytes);
}

std::string PlayerLogFolder()
{
    return Paths().work + "player";
}

std::vector<std::string> PlayerStarts()
{
    struct Start
    {
        FILETIME written;
        std::string name;
    };
    std::vector<Start> records;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(WidePath(PlayerLogFolder() + "\\wmplayer-*.txt").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE)
    {
        do
            records.push_back({entry.ftLastWriteTime, Utf8Path(entry.cFileName)});
        while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    std::sort(records.begin(), records.end(), [](const Start& a, const Start& b) {
        const LONG order = CompareFileTime(&a.written, &b.written);
        return order != 0 ? order < 0 : a.name < b.name;
    });
    std::vector<std::string> starts;
    for (const Start& record : records)
    {
        const std::string line = ReadBytes(PlayerLogFolder() + "\\" + record.name).value_or("");
        // The program's own name comes first, quoted or not.
        std::size_t end = 0;
        if (!line.empty() && line[0] == '"')
        {
            end = line.find('"', 1);
            end = end == std::string::npos ? line.size() : end + 1;
        }
        else
        {
            end = line.find(' ');
            end = end == std::string::npos ? line.size() : end;
        }
        const std::size_t arguments = line.find_first_not_of(' ', end);
        starts.push_back(arguments == std::string::npos ? std::string() : line.substr(arguments));
    }
    return starts;
}

void DeleteMachineValue(const char* key, const char* name)
{
    KeyCloser opened;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_ALL_ACCESS, &opened.key) == ERROR_SUCCESS)
        RegDeleteValueA(opened.key, name);
}

PROCESS_INFORMATION StartTool(const std::string& program, const std::string& arguments)
{
    std::wstring commandLine = WidePath("\"" + program + "\" " + arguments);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(WidePath(program).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        throw BenchError("cannot start " + program);
    CloseHandle(process.hThread);
    process.hThread = nullptr;
    return process;
}

DWORD RunTool(const std::string& program, const std::string& arguments, DWORD timeout)
{
    const PROCESS_INFORMATION process = StartTool(program, arguments);
    const ScopedHandle owned{process.hProcess};
    return WaitForExitCode(process.hProcess, timeout, program);
}

DWORD WaitForExitCode(HANDLE process, DWORD timeout, const std::string& what)
{
    const DWORD waited = WaitForSingleObject(process, timeout);
    DWORD code = 1;
    GetExitCodeProcess(process, &code);
    if (waited != WAIT_OBJECT_0)
    {
        TerminateProcess(process, 1);
        throw BenchError(what + " did not end within " + std::to_string(timeout / 1000) + " s");
    }
    return code;
}

SYSTEMTIME Now()
{
    SYSTEMTIME time;
    GetLocalTime(&time);
    return time;
}

int DayIndex(const SYSTEMTIME& time)
{
    return (time.wDayOfWeek + 6) % 7;
}

void WaitForEarlyMinute(int latestSecond)
{
    SYSTEMTIME time = Now();
    if (time.wSecond <= latestSecond)
        return;
    Sleep(static_cast<DWORD>((60 - time.wSecond) * 1000 - time.wMilliseconds + 200));
    time = Now();
    if (time.wSecond > latestSecond)
        throw BenchError("the clock did not reach the start of a minute");
}

} // namespace e2e
