// What the scheduler leaves on the machine, seen from outside: its registry values, its data folder, the
// playlist and the stand-in player's log; and the wall clock that decides when a programme falls due.
#pragma once

#include <windows.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace e2e
{

// A step of a scenario that could not be carried out (a window that never came, a file that cannot be
// written): the scenario fails with this message instead of hanging or going on blind.
class BenchError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Paths are UTF-8 here, as the program keeps them, and reach Windows through the wide functions: a work
// folder, a media list folder or a user name outside the system's code page is named as it is. The
// conversions are Windows' own (CP_UTF8).
std::wstring WidePath(const std::string& utf8);
std::string Utf8Path(const std::wstring& wide);

// Where scripts/test-e2e put the program under test and the scratch folders (Windows paths).
struct BenchPaths
{
    std::string program;     // chronel.exe, with the stand-in wmplayer.exe beside it
    std::string medialist;   // the media list builder, medialist.exe
    std::string work;        // fixtures and the player's log; ends in a backslash
    std::string screenshots; // pictures for people to look at; ends in a backslash
    std::string setup;       // the installer made from the program under test; empty when not built
};
const BenchPaths& Paths();

// The scheduler's per-user data folder under the application-data folder; ends in a backslash.
std::string DataFolder();
std::string ProgramFilePath();
std::string PlaylistPath();

inline constexpr const char* SettingsKey = "SOFTWARE\\Merovia\\Sylvane Programs";
inline constexpr const char* RunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* AutostartName = "Sylvane Programmateur";

// HKEY_LOCAL_MACHINE values (strings in UTF-8: every one the scheduler writes is a path); empty when the key
// or the value is missing or of another type.
std::optional<std::string> ReadMachineString(const char* key, const char* name);
std::optional<DWORD> ReadMachineDword(const char* key, const char* name);
void WriteMachineString(const char* key, const char* name, const std::string& value);

// The state of a machine on which the scheduler never ran: no settings key, no autostart entry, no data
// folder, no player log.
void ResetMachine();

// Removes a folder with everything in it; nothing happens when it does not exist.
void RemoveFolder(const std::string& folder);

// The scheduler's session mutex as a scheduler of other rights holds it (started elevated, or by another
// account): it exists, and this user may open it with no more than the access `sddl` grants (by default
// SYNCHRONIZE only, so it can be waited on but not created again). Released when destroyed.
class ForeignSchedulerMutex
{
public:
    explicit ForeignSchedulerMutex(const char* sddl = "D:(A;;0x100000;;;WD)");
    ~ForeignSchedulerMutex();
    ForeignSchedulerMutex(const ForeignSchedulerMutex&) = delete;
    ForeignSchedulerMutex& operator=(const ForeignSchedulerMutex&) = delete;

private:
    HANDLE mutex = nullptr;
};

std::optional<std::string> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
bool PathExists(const std::string& path);
// Writes a fixture into the work folder and returns its full path.
std::string WriteFixture(const std::string& name, const std::string& bytes);
// Creates the data folder ahead of the scheduler, for a programme file written by a scenario.
void WriteProgramFile(const std::string& bytes);

// The stand-in player records each start as a file in this folder; the arguments of each start, oldest first
// (the command line without the program's own name and the blanks after it).
std::string PlayerLogFolder();
std::vector<std::string> PlayerStarts();

// Starts a program (a console tool of the bench, an installer); the process handle is the caller's.
PROCESS_INFORMATION StartTool(const std::string& program, const std::string& arguments);
// Runs a program to its end; returns its exit code.
DWORD RunTool(const std::string& program, const std::string& arguments, DWORD timeout = 30000);
void DeleteMachineValue(const char* key, const char* name);

// Waits for a started process to end; returns its exit code. A process still running after `timeout` ms is
// terminated and reported as `what` "did not end within N s". The handle stays its owner's.
DWORD WaitForExitCode(HANDLE process, DWORD timeout, const std::string& what);

// A handle a scenario holds (a file held open, a mutex) and that goes with it, even when a check fails.
class ScopedHandle
{
public:
    explicit ScopedHandle(HANDLE handle) : handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    ~ScopedHandle() { Reset(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    explicit operator bool() const { return handle != nullptr; }
    void Reset()
    {
        if (handle)
            CloseHandle(handle);
        handle = nullptr;
    }

private:
    HANDLE handle;
};

// Holds a file open as another program would (a backup, a running image), sharing only `sharing`.
inline ScopedHandle HoldOpen(const std::string& path, DWORD sharing)
{
    const HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw BenchError("cannot hold " + path + " open");
    return ScopedHandle{file};
}

SYSTEMTIME Now();
// Monday 0 ... Sunday 6.
int DayIndex(const SYSTEMTIME& time);
// Returns at a moment whose second is at most `latestSecond`, waiting for the next minute when needed: a
// scenario that needs a programme due "now" must finish before the minute turns.
void WaitForEarlyMinute(int latestSecond);

} // namespace e2e
