// startup_bench: the start-up, memory and editing benchmark of chronel.exe against the floor program, run in
// one Wine session. Not a test: it prints a table and nothing passes or fails.
//
//   startup_bench CHRONEL.EXE FLOOR.EXE MEDIALIST.EXE WORKFOLDER [RUNS]
//
// RUNS 0 skips the start-up measurements and times the editing only.
// For each data set it writes the media list (through the media list builder) and the programme file, then
// starts the two programs in turn, RUNS times each (15 by default), and measures from CreateProcess until the
// program's "TrayIconClass" window exists, and its private memory 300 ms later. With the largest data set it
// then opens the scheduler and times "Ajouter", "Retirer" and "Charger" from the click until the dialog shows
// the change and answers again.
#include "resources/resource.h"
#include "base/Handles_win.h"
#include "schedule/ProgramRecord.h"
#include "schedule/TextField.h"

#include <windows.h>
#include <psapi.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{

const char* const SettingsKey = "SOFTWARE\\Merovia\\Sylvane Programs";
constexpr UINT TrayIconId = 109;
constexpr UINT TrayCallbackMessage = WM_APP + 10;
constexpr DWORD StartDeadline = 180000;
constexpr DWORD StepDeadline = 600000;
constexpr int FileNameEdit = 0x047C; // the open-file dialog's file name field

struct Failure : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

struct DataSet
{
    const char* label;
    std::size_t mediaEntries; // no media list at all when 0
    std::size_t programmes;   // no programme file at all when 0
};

const DataSet DataSets[] = {
    {"(a) no media list, no programmes", 0, 0},
    {"(b) 1,000 media, 200 programmes", 1000, 200},
    {"(c) 20,000 media, 5,000 programmes", 20000, 5000},
};

// Names in a scrambled order, as a user's list would come: a fixed sequence, so every run sees the same data.
class Names
{
public:
    explicit Names(unsigned seed) : state(seed) {}
    std::string Next(std::size_t serial)
    {
        static const char* const First[] = {"Radio", "Jazz",     "Classique", "Infos",   "Chanson", "Opera",
                                            "Rock",  "Matinale", "Concert",   "Journal", "Podcast", "Direct"};
        static const char* const Second[] = {"du matin",    "du soir",     "de nuit",  "en continu",
                                             "des regions", "live",        "archives", "du dimanche",
                                             "express",     "grand format"};
        const unsigned a = Step(), b = Step(), c = Step();
        return std::string(First[a % 12]) + " " + Second[b % 10] + " " + std::to_string(c % 100000) + "-" +
               std::to_string(serial);
    }

private:
    unsigned Step()
    {
        state = state * 1103515245u + 12345u;
        return state >> 8;
    }
    unsigned state;
};

std::string WorkFolder;

std::string MediaListPath(std::size_t entries, const char* suffix = "")
{
    return WorkFolder + "media-" + std::to_string(entries) + suffix + ".slv";
}

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    if (!file.flush())
        throw Failure("cannot write " + path);
}

// Puts a file the benchmark wrote on the disk before anything is timed: otherwise the first save a timed
// step makes would also wait for the system to write out the benchmark's own data files.
void ToDisk(const std::string& path)
{
    const UniqueFileHandle file{CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            nullptr, OPEN_EXISTING, 0, nullptr)};
    if (file)
        FlushFileBuffers(file.Get());
}

DWORD RunAndWait(const std::string& program, const std::string& arguments)
{
    std::string commandLine = "\"" + program + "\" " + arguments;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    const UniqueFileHandle nul{CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                           OPEN_EXISTING, 0, nullptr)};
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = nul.Get();
    startup.hStdError = nul.Get();
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process))
        throw Failure("cannot start " + program);
    const UniqueKernelHandle thread{process.hThread};
    const UniqueKernelHandle started{process.hProcess};
    WaitForSingleObject(started.Get(), StepDeadline);
    DWORD code = 1;
    GetExitCodeProcess(started.Get(), &code);
    return code;
}

// The media list of `entries` entries, built from text by the media list builder.
void MakeMediaList(const std::string& medialist, std::size_t entries, unsigned seed, const std::string& path)
{
    Names names(seed);
    std::string text;
    for (std::size_t i = 0; i < entries; ++i)
        text += names.Next(i) + "\thttp://page.example/" + std::to_string(i) +
                "\tmms://stream.example/live/" + std::to_string(i) + "\n";
    const std::string source = path + ".tsv";
    WriteText(source, text);
    if (RunAndWait(medialist, "build \"" + source + "\" \"" + path + "\"") != 0)
        throw Failure("the media list builder refused " + source);
    ToDisk(source);
    ToDisk(path);
}

std::string DataFolder()
{
    char appData[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, appData, CSIDL_APPDATA, TRUE))
        throw Failure("no application-data folder in this prefix");
    const std::string merovia = std::string(appData) + "\\Merovia";
    CreateDirectoryA(merovia.c_str(), nullptr);
    CreateDirectoryA((merovia + "\\Chronel").c_str(), nullptr);
    return merovia + "\\Chronel\\";
}

// A programme file of `count` records, each on its own weekday and time so that none conflicts with another
// or with the programme the editing benchmark adds (Sunday 23:59).
void WriteProgrammes(std::size_t count)
{
    const std::string path = DataFolder() + "programs.chronel";
    if (count == 0)
    {
        DeleteFileA(path.c_str());
        return;
    }
    Names names(7);
    std::vector<ProgramRecord> records(count);
    for (std::size_t i = 0; i < count; ++i)
    {
        ProgramRecord& record = records[i];
        std::memset(&record, 0, sizeof record);
        SetFieldText(record.name, "Programme " + names.Next(i));
        SetFieldText(record.media.title, "Radio " + std::to_string(i));
        SetFieldText(record.media.pageUrl, "http://page.example/" + std::to_string(i));
        SetFieldText(record.media.streamUrl, "mms://stream.example/live/" + std::to_string(i));
        record.days[i % 7] = 1;
        record.hour = static_cast<std::int16_t>(i / 7 % 24);
        record.minute = static_cast<std::int16_t>(i / 168 % 60);
        record.confirm = static_cast<std::uint8_t>(i % 2);
        record.repeat = 1;
    }
    WriteText(path,
              std::string(reinterpret_cast<const char*>(records.data()), count * sizeof(ProgramRecord)));
    ToDisk(path);
}

void SelectMediaList(const std::string& path)
{
    HKEY opened = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, SettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened,
                        nullptr) != ERROR_SUCCESS)
        throw Failure("cannot open the settings key");
    const RegKey key{opened};
    if (path.empty())
        RegDeleteValueA(key.Get(), "Media List");
    else
        RegSetValueExA(key.Get(), "Media List", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                       static_cast<DWORD>(path.size() + 1));
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / frequency;
}

LARGE_INTEGER Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

struct WindowQuery
{
    DWORD process;
    const char* className;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter)
{
    WindowQuery& query = *reinterpret_cast<WindowQuery*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != query.process)
        return TRUE;
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, query.className) != 0)
        return TRUE;
    query.found = window;
    return FALSE;
}

// A top-level window of `className` that belongs to `process`. Class names are compared one by one: Wine's
// FindWindow can miss a class that another process registered.
HWND FindProcessWindow(DWORD process, const char* className)
{
    WindowQuery query = {process, className, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

template <class Condition> bool WaitUntil(Condition condition, DWORD deadline)
{
    const DWORD start = GetTickCount();
    while (!condition())
    {
        if (GetTickCount() - start > deadline)
            return false;
        Sleep(1);
    }
    return true;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, StepDeadline, &result))
        throw Failure("no answer to message " + std::to_string(message) + " from control " +
                      std::to_string(GetDlgCtrlID(window)) + " (error " + std::to_string(GetLastError()) +
                      ")");
    return static_cast<LRESULT>(result);
}

// One started program, ended by the destructor: its icon taken out of the notification area first (a killed
// program's icon would stay there), then the process.
class Started
{
public:
    Started(const std::string& program, double& startMs)
    {
        std::string commandLine = "\"" + program + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        const LARGE_INTEGER from = Now();
        if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            WorkFolder.c_str(), &startup, &process))
            throw Failure("cannot start " + program);
        const UniqueKernelHandle thread{process.hThread}; // only the process is waited for
        if (!WaitUntil([&] { return FindProcessWindow(process.dwProcessId, "TrayIconClass") != nullptr; },
                       StartDeadline))
        {
            End();
            throw Failure(program + " made no TrayIconClass window");
        }
        startMs = Milliseconds(from, Now());
    }
    ~Started() { End(); }
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;

    DWORD Id() const { return process.dwProcessId; }

    double PrivateMiB() const
    {
        PROCESS_MEMORY_COUNTERS_EX counters = {};
        counters.cb = sizeof counters;
        if (!GetProcessMemoryInfo(process.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                  sizeof counters))
            return 0;
        // Windows gives the commit charge in both fields; Wine fills only PagefileUsage for another process
        // (from the process's resident anonymous memory).
        const SIZE_T privateBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
        return static_cast<double>(privateBytes) / (1024.0 * 1024.0);
    }

private:
    void End()
    {
        if (!process.hProcess)
            return;
        for (const char* className : {"CHRONEL", "CHRONEL_FLOOR"})
            if (HWND owner = FindProcessWindow(process.dwProcessId, className))
            {
                NOTIFYICONDATAA icon = {};
                icon.cbSize = sizeof icon;
                icon.hWnd = owner;
                icon.uID = TrayIconId;
                Shell_NotifyIconA(NIM_DELETE, &icon);
            }
        const UniqueKernelHandle ending{process.hProcess};
        process.hProcess = nullptr;
        TerminateProcess(ending.Get(), 1);
        WaitForSingleObject(ending.Get(), StepDeadline);
    }

    PROCESS_INFORMATION process = {};
};

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct Sample
{
    std::vector<double> ms;
    std::vector<double> mib;
};

void Measure(const std::string& program, Sample& sample)
{
    double ms = 0;
    Started started(program, ms);
    Sleep(300);
    sample.ms.push_back(ms);
    sample.mib.push_back(started.PrivateMiB());
}

// Waits until the dialog has handled everything sent to it so far.
void Settle(HWND dialog)
{
    Send(dialog, WM_NULL);
}

// Editing is timed until the dialog answers again; a step that takes longer than this is reported as such
// and the program is ended.
constexpr DWORD EditDeadline = 60000;

void Report(const char* what, double ms)
{
    std::printf("  %-46s %8.0f ms\n", what, ms);
    std::fflush(stdout);
}

bool ReportTooLong(const char* what)
{
    std::printf("  %-46s  > %5lu ms (still busy: stopped)\n", what, EditDeadline);
    std::fflush(stdout);
    return false;
}

// The time from a posted click until `done` holds and the dialog answers again; false past the deadline.
template <class Done> bool TimeClick(const char* what, HWND dialog, HWND button, Done done)
{
    const LARGE_INTEGER from = Now();
    PostMessageA(button, BM_CLICK, 0, 0);
    if (!WaitUntil(done, EditDeadline))
        return ReportTooLong(what);
    Settle(dialog);
    Report(what, Milliseconds(from, Now()));
    Sleep(300);
    return true;
}

LRESULT CountWithin(HWND list, DWORD deadline)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, deadline, &result)
               ? static_cast<LRESULT>(result)
               : -1;
}

void RunEditing(const std::string& chronel, std::size_t mediaEntries, std::size_t programmes, int repetitions)
{
    std::printf(
        "\nEditing with %zu programmes and %zu media entries, from the click until the dialog shows the "
        "change and answers again:\n",
        programmes, mediaEntries);
    double ms = 0;
    Started started(chronel, ms);
    HWND main = nullptr;
    HWND dialog = nullptr;
    if (!WaitUntil(
            [&] {
                main = FindProcessWindow(started.Id(), "CHRONEL");
                dialog = main ? FindWindowExA(main, nullptr, "#32770", nullptr) : nullptr;
                return dialog != nullptr;
            },
            StepDeadline))
        throw Failure("chronel.exe shows no scheduler dialog");
    Settle(dialog);
    PostMessageA(main, TrayCallbackMessage, TrayIconId, WM_LBUTTONDBLCLK);
    if (!WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, StepDeadline))
        throw Failure("the scheduler window did not open");
    Sleep(1000);
    Settle(dialog);

    const HWND programs = GetDlgItem(dialog, IDC_PROGRAM_LIST);
    const HWND label = GetDlgItem(dialog, IDC_TEXT_LIST);
    for (int round = 0; round < repetitions; ++round)
    {
        Send(GetDlgItem(dialog, IDC_MEDIA_LIST), LB_SETCURSEL, 0);
        Send(GetDlgItem(dialog, IDC_PROGRAM_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Bench added"));
        for (int day = 0; day < 7; ++day)
            Send(GetDlgItem(dialog, IDC_DAY1 + day), BM_SETCHECK, day == 6 ? BST_CHECKED : BST_UNCHECKED);
        Send(GetDlgItem(dialog, IDC_HOUR), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("23"));
        Send(GetDlgItem(dialog, IDC_MINUTE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("59"));
        Settle(dialog);
        const LRESULT before = Send(programs, LB_GETCOUNT);

        if (!TimeClick("Ajouter (one programme, save included)", dialog, GetDlgItem(dialog, IDC_BUTTON_ADD),
                       [&] { return CountWithin(programs, EditDeadline) == before + 1; }) ||
            !TimeClick("Retirer (that programme, save included)", dialog,
                       GetDlgItem(dialog, IDC_BUTTON_REMOVE),
                       [&] { return CountWithin(programs, EditDeadline) == before; }))
            return;

        const std::string list = MediaListPath(mediaEntries, round % 2 ? "" : "-other");
        PostMessageA(GetDlgItem(dialog, IDC_BUTTON_LIST), BM_CLICK, 0, 0);
        HWND files = nullptr;
        if (!WaitUntil(
                [&] {
                    files = FindProcessWindow(started.Id(), "#32770");
                    return files && IsWindowVisible(files) && GetDlgItem(files, FileNameEdit);
                },
                StepDeadline))
            throw Failure("the open-file dialog did not open");
        Sleep(500);
        Send(GetDlgItem(files, FileNameEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(list.c_str()));
        const LARGE_INTEGER from = Now();
        PostMessageA(files, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        const std::string fileName = list.substr(list.rfind('\\') + 1);
        const char* const what = "Charger (a 20,000-entry media list)";
        if (!WaitUntil(
                [&] {
                    char text[1024] = {};
                    DWORD_PTR result = 0;
                    return SendMessageTimeoutA(label, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                                               SMTO_NORMAL, EditDeadline, &result) &&
                           std::strstr(text, fileName.c_str()) != nullptr;
                },
                EditDeadline))
        {
            ReportTooLong(what);
            return;
        }
        Settle(dialog);
        Report(what, Milliseconds(from, Now()));
        Sleep(300);
    }

    // Names equal but for case: the list box places such names by the history of its insertions, so a removal
    // rebuilds the whole list the way a fresh start would, and the box places every name itself.
    Send(GetDlgItem(dialog, IDC_MEDIA_LIST), LB_SETCURSEL, 0);
    const LRESULT before = Send(programs, LB_GETCOUNT);
    const char* const names[] = {"Bench added", "BENCH ADDED", "bench added"};
    const char* const minutes[] = {"59", "58", "57"};
    for (int k = 0; k < 3; ++k)
    {
        Send(GetDlgItem(dialog, IDC_PROGRAM_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(names[k]));
        Send(GetDlgItem(dialog, IDC_MINUTE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(minutes[k]));
        PostMessageA(GetDlgItem(dialog, IDC_BUTTON_ADD), BM_CLICK, 0, 0);
        if (!WaitUntil([&] { return CountWithin(programs, EditDeadline) == before + k + 1; }, EditDeadline))
            throw Failure(std::string("could not add ") + names[k]);
        Settle(dialog);
    }
    TimeClick("Retirer (two other names equal but for case)", dialog, GetDlgItem(dialog, IDC_BUTTON_REMOVE),
              [&] { return CountWithin(programs, EditDeadline) == before + 2; });
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5)
    {
        std::fprintf(stderr, "usage: startup_bench CHRONEL.EXE FLOOR.EXE MEDIALIST.EXE WORKFOLDER [RUNS]\n");
        return 2;
    }
    const std::string chronel = argv[1];
    const std::string floor = argv[2];
    const std::string medialist = argv[3];
    WorkFolder = argv[4];
    if (WorkFolder.back() != '\\')
        WorkFolder += '\\';
    const int runs = argc > 5 ? std::max(0, std::atoi(argv[5])) : 15;
    CreateDirectoryA(WorkFolder.c_str(), nullptr);

    try
    {
        if (runs > 0)
        {
            std::printf("Start to tray icon (median of %d, interleaved) and private memory 300 ms later:\n\n",
                        runs);
            std::printf("%-36s %9s %11s %7s %11s %10s %12s %9s\n", "data set", "floor ms", "chronel ms",
                        "ratio", "pairs IQR", "floor MiB", "chronel MiB", "+MiB");
        }
        std::fflush(stdout);
        for (const DataSet& set : DataSets)
        {
            // With no runs, only the editing benchmark's data set is made.
            if (runs == 0 && &set != &DataSets[2])
                continue;
            if (set.mediaEntries > 0)
                MakeMediaList(medialist, set.mediaEntries, 1, MediaListPath(set.mediaEntries));
            SelectMediaList(set.mediaEntries > 0 ? MediaListPath(set.mediaEntries) : std::string());
            WriteProgrammes(set.programmes);

            if (runs == 0)
                continue;
            Sample floorSample, chronelSample;
            Sample warmUp;
            Measure(floor, warmUp);
            Measure(chronel, warmUp);
            for (int run = 0; run < runs; ++run)
            {
                Measure(floor, floorSample);
                Measure(chronel, chronelSample);
            }
            const double floorMs = Median(floorSample.ms), chronelMs = Median(chronelSample.ms);
            const double floorMiB = Median(floorSample.mib), chronelMiB = Median(chronelSample.mib);
            // The ratio of each interleaved pair, whose middle half shows how much the machine moved the
            // figures during the run.
            std::vector<double> pairs;
            for (std::size_t run = 0; run < chronelSample.ms.size(); ++run)
                pairs.push_back(chronelSample.ms[run] / floorSample.ms[run]);
            std::sort(pairs.begin(), pairs.end());
            const double low = pairs[pairs.size() / 4], high = pairs[(pairs.size() * 3) / 4];
            std::printf("%-36s %9.0f %11.0f %6.2fx %5.2f-%.2fx %10.1f %12.1f %+9.1f\n", set.label, floorMs,
                        chronelMs, chronelMs / floorMs, low, high, floorMiB, chronelMiB,
                        chronelMiB - floorMiB);
            std::fflush(stdout);
        }

        const DataSet& largest = DataSets[2];
        MakeMediaList(medialist, largest.mediaEntries, 2, MediaListPath(largest.mediaEntries, "-other"));
        RunEditing(chronel, largest.mediaEntries, largest.programmes, 3);
    }
    catch (const Failure& failure)
    {
        std::fprintf(stderr, "startup_bench: %s\n", failure.what());
        return 1;
    }
    return 0;
}
