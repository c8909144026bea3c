// The installer as a Windows user or an administrator's script would run it: what it puts on the machine, an
// upgrade over a running scheduler (into the same folder or another), what the uninstaller takes away and
// leaves, when each of them refuses to go on, and a user's whole road from the install to the uninstall.
#include "Scenario.h"

#include <shlobj.h>
#include <tlhelp32.h>

namespace e2e
{
namespace
{

std::string SpecialFolder(int csidl)
{
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder)))
        throw BenchError("the special folder " + std::to_string(csidl) + " of this prefix cannot be found");
    return Utf8Path(folder) + "\\";
}

// The 32-bit program files folder: "Program Files" on a 32-bit Windows, "Program Files (x86)" on a 64-bit
// one, where the shell gives that folder to a 32-bit program such as this driver.
const std::string& InstallFolder()
{
    static const std::string folder = SpecialFolder(CSIDL_PROGRAM_FILES) + "Merovia\\Sylvane Programmateur\\";
    return folder;
}
const char* const OtherFolder = "C:\\Autres programmes\\Programmateur";
const char* const UninstallKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sylvane Programmateur";

std::string Shortcuts()
{
    return SpecialFolder(CSIDL_COMMON_PROGRAMS) + "Sylvane Programmateur\\";
}

std::string Installed(const char* file)
{
    return InstallFolder() + file;
}

// Runs the installer (or an uninstaller) with these arguments to its end; its exit code.
DWORD RunSilently(const std::string& program, const std::string& arguments)
{
    return RunTool(program, arguments, 6 * StepTimeout);
}

// The uninstaller run in place, so that its exit code is the uninstall's own (run plainly, it starts a copy
// of itself and ends at once).
DWORD UninstallInPlace()
{
    std::string folder = InstallFolder();
    folder.pop_back();
    return RunSilently(Installed("uninstall.exe"), "/S _?=" + folder);
}

// The process that started `process`, as the system's process list shows it; 0 when it is not listed.
DWORD ParentOf(DWORD process)
{
    DWORD parent = 0;
    HANDLE list = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (list == INVALID_HANDLE_VALUE)
        return 0;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(list, &entry); more; more = Process32Next(list, &entry))
        if (entry.th32ProcessID == process)
            parent = entry.th32ParentProcessID;
    CloseHandle(list);
    return parent;
}

std::string ImageOf(DWORD process)
{
    char image[MAX_PATH] = {};
    DWORD size = sizeof image;
    HANDLE opened = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
    if (!opened)
        return std::string();
    if (!QueryFullProcessImageNameA(opened, 0, image, &size))
        image[0] = '\0';
    CloseHandle(opened);
    return image;
}

// The file name of a process's program, in lower case.
std::string ProgramNameOf(DWORD process)
{
    std::string name = ImageOf(process);
    name.erase(0, name.find_last_of('\\') + 1);
    CharLowerA(name.data());
    return name;
}

// The one scheduler running, once it has come; 0 when none came or more than one runs.
DWORD WaitForOneScheduler(DWORD other = 0, DWORD timeout = StepTimeout)
{
    std::vector<HWND> schedulers;
    WaitFor(
        [&] {
            schedulers = WindowsOfClass("CHRONEL");
            return schedulers.size() == 1 && ProcessOf(schedulers[0]) != other;
        },
        timeout);
    return schedulers.size() == 1 && ProcessOf(schedulers[0]) != other ? ProcessOf(schedulers[0]) : 0;
}

// A started program, for the checks that need its process id.
struct Started
{
    DWORD id = 0;
    HANDLE process = nullptr;
};

Started Launch(const std::string& program, const std::string& arguments)
{
    const PROCESS_INFORMATION process = StartTool(program, arguments);
    return {process.dwProcessId, process.hProcess};
}

// Goes through the installer's pages as a user does: "Suivant" twice, "Installer", then, on the finish page,
// "Fermer" with "Démarrer le Programmateur" left ticked. Each page is a new dialog in the installer's window;
// its button is pressed once, when it is enabled (it is not while the files go in).
void ClickThroughThePages(const Started& setup)
{
    HWND pressedPage = nullptr;
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(setup.process, 100) == WAIT_TIMEOUT)
    {
        if (GetTickCount() - start > 6 * StepTimeout)
        {
            TerminateProcess(setup.process, 1);
            throw BenchError("the installer's pages did not come to their end within " +
                             std::to_string(6 * StepTimeout / 1000) + " s");
        }
        for (HWND window : TopWindows(setup.id, "#32770"))
        {
            HWND page = FindWindowExA(window, nullptr, "#32770", nullptr);
            HWND next = GetDlgItem(window, IDOK);
            if (page && page != pressedPage && next && IsWindowEnabled(next) && IsWindowVisible(next))
            {
                pressedPage = page;
                PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                             reinterpret_cast<LPARAM>(next));
            }
        }
    }
}

class Installer : public Scenario
{
protected:
    void SetUp() override
    {
        if (Paths().setup.empty())
            GTEST_SKIP() << "no installer was built (scripts/test builds and requires it)";
        Scenario::SetUp();
        // A machine on which it was never installed: the next install must not find an earlier folder.
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, UninstallKey);
        for (std::string folder : {InstallFolder(), Shortcuts(), std::string(OtherFolder) + "\\"})
        {
            folder.pop_back();
            RemoveFolder(folder);
        }
    }

    void Install() { ASSERT_EQ(RunSilently(Paths().setup, "/S"), 0u); }

    // The installed scheduler, started as the autostart entry starts it.
    Chronel& StartInstalled()
    {
        app = std::make_unique<Chronel>(Installed("chronel.exe"));
        return *app;
    }
};

TEST_F(Installer, ASilentInstallPutsTheProgramItsShortcutsAndItsRegistryValuesInPlace)
{
    Install();
    const std::string exe = Installed("chronel.exe");
    EXPECT_TRUE(SameBytes(ReadBytes(exe), *ReadBytes(Paths().program)));
    EXPECT_TRUE(PathExists(Installed("uninstall.exe")));
    EXPECT_TRUE(PathExists(Shortcuts() + "Sylvane Programmateur.lnk"));
    EXPECT_TRUE(PathExists(Shortcuts() + u8"Désinstaller Sylvane Programmateur.lnk"));

    const std::string folder = InstallFolder().substr(0, InstallFolder().size() - 1);
    const struct
    {
        const char* name;
        std::string value;
    } strings[] = {
        {"DisplayName", "Sylvane Programmateur"},
        {"DisplayVersion", "1.0.0"},
        {"Publisher", "Merovia"},
        {"DisplayIcon", "\"" + exe + "\",0"},
        {"InstallLocation", folder},
        {"UninstallString", "\"" + Installed("uninstall.exe") + "\""},
        {"QuietUninstallString", "\"" + Installed("uninstall.exe") + "\" /S"},
    };
    for (const auto& value : strings)
        EXPECT_EQ(ReadMachineString(UninstallKey, value.name), value.value) << value.name;
    EXPECT_EQ(ReadMachineDword(UninstallKey, "NoModify"), 1u);
    EXPECT_EQ(ReadMachineDword(UninstallKey, "NoRepair"), 1u);
    EXPECT_GT(ReadMachineDword(UninstallKey, "EstimatedSize").value_or(0), 0u);
    // The same quoted command the activation switch writes.
    EXPECT_EQ(ReadMachineString(RunKey, AutostartName), "\"" + exe + "\"");
    // On a 64-bit Windows both are in the registry's 32-bit view, which 64-bit programs see under
    // WOW6432Node.
    BOOL wow64 = FALSE;
    if (IsWow64Process(GetCurrentProcess(), &wow64) && wow64)
        for (const auto& [key, name] :
             {std::pair{UninstallKey, "DisplayName"}, std::pair{RunKey, AutostartName}})
        {
            const std::string seen = "SOFTWARE\\WOW6432Node" + std::string(key).substr(8);
            HKEY opened = nullptr;
            LONG found =
                RegOpenKeyExA(HKEY_LOCAL_MACHINE, seen.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &opened);
            if (found == ERROR_SUCCESS)
            {
                found = RegQueryValueExA(opened, name, nullptr, nullptr, nullptr, nullptr);
                RegCloseKey(opened);
            }
            EXPECT_EQ(found, ERROR_SUCCESS) << seen << "\\" << name << " in the 64-bit view";
        }

    Chronel& scheduler = StartInstalled();
    EXPECT_TRUE(WaitFor([] { return TrayIconShown(); })) << "the installed scheduler is not in the tray";
    EXPECT_TRUE(scheduler.Running());
}

// The finish page's box starts the scheduler through the desktop's shell, not as a child of the installer
// (which would hand it the installer's administrator rights on Windows).
TEST_F(Installer, ThePagesInstallAndTheFinishPageStartsTheSchedulerThroughTheDesktopShell)
{
    const Started setup = Launch(Paths().setup, "");
    const ScopedHandle owned{setup.process};
    ClickThroughThePages(setup);
    EXPECT_EQ(WaitForExitCode(setup.process, StepTimeout, "the installer"), 0u);
    EXPECT_TRUE(SameBytes(ReadBytes(Installed("chronel.exe")), *ReadBytes(Paths().program)));

    const DWORD scheduler = WaitForOneScheduler();
    ASSERT_NE(scheduler, 0u) << "the finish page did not start the scheduler";
    EXPECT_TRUE(WaitFor(TrayIconShown)) << "the started scheduler is not in the tray";
    EXPECT_EQ(ProgramNameOf(ParentOf(scheduler)), "explorer.exe") << "not started by the desktop's shell";
}

TEST_F(Installer, AnUpgradeEndsTheRunningSchedulerWithItsProgrammesAndStartsTheNewOne)
{
    Install();
    RememberStations();
    Chronel& old = StartInstalled();
    old.OpenWindow();
    old.Type(ids::ProgramName, "Soir");
    old.SelectMedia(Stations()[0].title);
    old.Tick(ids::AllDays);
    old.Type(ids::Hour, "21");
    old.Type(ids::Minute, "30");
    AddProgram(old, "Soir");
    const std::optional<std::string> saved = ReadBytes(ProgramFilePath());
    ASSERT_TRUE(saved && saved->size() == RecordSize);
    // The user had switched the start with Windows off: the upgrade keeps it off.
    DeleteMachineValue(RunKey, AutostartName);

    ASSERT_EQ(RunSilently(Paths().setup, "/S"), 0u);
    EXPECT_EQ(old.WaitForExit(), 0u) << "the old scheduler was not ended by /quit";
    EXPECT_TRUE(SameBytes(ReadBytes(ProgramFilePath()), *saved));
    EXPECT_FALSE(ReadMachineString(RunKey, AutostartName).has_value());
    const DWORD restarted = WaitForOneScheduler(old.Process());
    ASSERT_NE(restarted, 0u) << "no new scheduler runs after the upgrade";
    EXPECT_EQ(ProgramNameOf(ParentOf(restarted)), "explorer.exe") << "not started by the desktop's shell";
}

// The directory page or /D= choose another folder: the scheduler running from the installed one is still
// ended with its programmes saved, and the one that starts again is the new folder's.
TEST_F(Installer, AnUpgradeIntoAnotherFolderEndsTheRunningSchedulerAndStartsItFromThere)
{
    Install();
    const RecordFixture evening{"Soir", Stations()[0], {1, 1, 1, 1, 1, 1, 1}, 21, 30, 0, 1};
    WriteProgramFile(RecordBytes(evening));
    Chronel& old = StartInstalled();
    ASSERT_TRUE(
        DeleteFileW(WidePath(ProgramFilePath()).c_str())); // only the quit's own save can bring it back

    ASSERT_EQ(RunSilently(Paths().setup, std::string("/S /D=") + OtherFolder), 0u);
    EXPECT_EQ(old.WaitForExit(), 0u) << "the scheduler of the first folder was not ended by /quit";
    EXPECT_TRUE(SameBytes(ReadBytes(ProgramFilePath()), RecordBytes(evening)));
    const std::string exe = std::string(OtherFolder) + "\\chronel.exe";
    EXPECT_EQ(ReadMachineString(RunKey, AutostartName), "\"" + exe + "\"");
    EXPECT_EQ(ReadMachineString(UninstallKey, "InstallLocation"), OtherFolder);
    EXPECT_FALSE(PathExists(InstallFolder())) << "the first folder's copy was left behind";
    const DWORD restarted = WaitForOneScheduler(old.Process());
    ASSERT_NE(restarted, 0u) << "no scheduler runs after the upgrade";
    EXPECT_EQ(ImageOf(restarted), exe);
}

// A scheduler of other rights (started elevated, or by another account) holds the session's mutex: /quit
// cannot reach it, so the installer stops with exit code 2 and the installed program stays as it was.
TEST_F(Installer, AnUpgradeStopsWithCode2WhileASchedulerOfOtherRightsRuns)
{
    Install();
    // A few bytes after the image tell the installed copy from the one the installer would write.
    const std::string before = *ReadBytes(Installed("chronel.exe")) + "installed";
    WriteBytes(Installed("chronel.exe"), before);
    ForeignSchedulerMutex other;
    EXPECT_EQ(RunSilently(Paths().setup, "/S"), 2u);
    EXPECT_TRUE(SameBytes(ReadBytes(Installed("chronel.exe")), before));
}

// chronel.exe still in use (by a scheduler in another session): nothing is taken away, the uninstall says so
// with exit code 2, and the scheduler it ended in this session runs again.
TEST_F(Installer, AnUninstallWhoseProgramIsInUseKeepsItInstalledAndEndsWithCode2)
{
    Install();
    const std::string exe = Installed("chronel.exe");
    Chronel& scheduler = StartInstalled();
    // Held open as a running program's image is: readable by others, not deletable.
    const ScopedHandle inUse = HoldOpen(exe, FILE_SHARE_READ);

    EXPECT_EQ(UninstallInPlace(), 2u);
    EXPECT_EQ(scheduler.WaitForExit(), 0u) << "the running scheduler was not ended by /quit";
    EXPECT_TRUE(PathExists(exe));
    EXPECT_EQ(ReadMachineString(UninstallKey, "DisplayName"), "Sylvane Programmateur");
    EXPECT_EQ(ReadMachineString(RunKey, AutostartName), "\"" + exe + "\"");
    EXPECT_TRUE(PathExists(Shortcuts() + "Sylvane Programmateur.lnk"));
    EXPECT_NE(WaitForOneScheduler(scheduler.Process()), 0u) << "the ended scheduler was not started again";
}

// The silent upgrade ends the running scheduler, then cannot replace chronel.exe (held open, as by a
// scheduler in another session): it stops with code 2, and the scheduler it ended runs again, the installed
// copy started through the desktop's shell.
TEST_F(Installer, AFailedSilentUpgradeStartsTheSchedulerItEndedAgain)
{
    Install();
    const std::string exe = Installed("chronel.exe");
    Chronel& old = StartInstalled();
    const ScopedHandle inUse = HoldOpen(exe, FILE_SHARE_READ);

    EXPECT_EQ(RunSilently(Paths().setup, "/S"), 2u);
    EXPECT_EQ(old.WaitForExit(), 0u) << "the running scheduler was not ended by /quit";
    const DWORD restarted = WaitForOneScheduler(old.Process(), 15000);
    ASSERT_NE(restarted, 0u) << "the ended scheduler was not started again within 15 s";
    EXPECT_EQ(ImageOf(restarted), exe);
    EXPECT_EQ(ProgramNameOf(ParentOf(restarted)), "explorer.exe") << "not started by the desktop's shell";
}

TEST_F(Installer, ASilentUninstallTakesAwayWhatWasInstalledAndKeepsTheUsersData)
{
    Install();
    WriteMachineString(SettingsKey, "Media List", "C:\\listes\\radios.slv");
    WriteProgramFile(RecordBytes({"Matin", Stations()[0], {1, 0, 0, 0, 0, 0, 0}, 8, 5, 1, 1}));
    const std::optional<std::string> programmes = ReadBytes(ProgramFilePath());
    Chronel& scheduler = StartInstalled();

    // The uninstaller copies itself away and runs from there: everything goes a moment later, the uninstall
    // entry last.
    ASSERT_EQ(RunSilently(Installed("uninstall.exe"), "/S"), 0u);
    EXPECT_TRUE(
        WaitFor([] { return !ReadMachineString(UninstallKey, "DisplayName").has_value(); }, 3 * StepTimeout));
    EXPECT_EQ(scheduler.WaitForExit(), 0u) << "the running scheduler was not ended by /quit";
    EXPECT_FALSE(PathExists(Installed("chronel.exe")));
    EXPECT_FALSE(PathExists(InstallFolder()));
    EXPECT_FALSE(PathExists(Shortcuts()));
    EXPECT_FALSE(ReadMachineString(RunKey, AutostartName).has_value());
    EXPECT_EQ(ReadMachineString(SettingsKey, "Media List"), "C:\\listes\\radios.slv");
    EXPECT_TRUE(SameBytes(ReadBytes(ProgramFilePath()), *programmes));
}

// One user's road on one machine: the install, the scheduler in the tray, a media list loaded and a programme
// added that fires, the scheduler ended by /quit, started again as at the next log-on, an upgrade over it,
// and the uninstall, which keeps the programmes.
TEST_F(Installer, AUsersRoadFromTheInstallToTheUninstall)
{
    Install();
    // The stand-in player, found beside the program as wmplayer.exe would be on Windows.
    const std::string player = Paths().program.substr(0, Paths().program.rfind('\\') + 1) + "wmplayer.exe";
    ASSERT_TRUE(CopyFileW(WidePath(player).c_str(), WidePath(Installed("wmplayer.exe")).c_str(), FALSE));
    const std::string stations = BuildMediaList("stations.slv", Stations());
    const MediaFixture& discovery = Stations()[1];
    // The programme is due in the minute it is added, before the scheduler's own timer runs.
    WaitForEarlyMinute(40);
    Chronel& scheduler = StartInstalled();
    EXPECT_TRUE(WaitFor(TrayIconShown)) << "the installed scheduler is not in the tray";
    scheduler.OpenWindow();
    LoadMediaList(scheduler, stations);
    const SYSTEMTIME due = Now();
    scheduler.Type(ids::ProgramName, "Maintenant");
    scheduler.SelectMedia(discovery.title);
    scheduler.CheckDay(DayIndex(due));
    scheduler.Type(ids::Hour, std::to_string(due.wHour));
    scheduler.Type(ids::Minute, std::to_string(due.wMinute));
    scheduler.Tick(ids::ConfirmNo);
    AddProgram(scheduler, "Maintenant");
    ASSERT_EQ(Now().wMinute, due.wMinute) << "the minute turned before the tick: the bench was too slow";
    scheduler.TimerTick();
    ASSERT_TRUE(WaitFor([] { return !PlayerStarts().empty(); })) << "the player was not started";
    EXPECT_EQ(PlayerStarts(), std::vector<std::string>{"\"" + PlaylistPath() + "\""});
    const std::optional<std::string> saved = ReadBytes(ProgramFilePath());
    ASSERT_TRUE(saved && saved->size() == RecordSize);

    EXPECT_EQ(RunTool(Installed("chronel.exe"), "/quit"), 0u);
    EXPECT_EQ(scheduler.WaitForExit(), 0u);
    EXPECT_TRUE(WaitFor([] { return !TrayIconShown(); })) << "the icon stayed in the notification area";

    Chronel& again = StartInstalled();
    EXPECT_EQ(again.Items(ids::ProgramList), std::vector<std::string>{"Maintenant"});
    ASSERT_EQ(RunSilently(Paths().setup, "/S"), 0u);
    EXPECT_EQ(again.WaitForExit(), 0u) << "the scheduler was not ended by the upgrade";
    EXPECT_NE(WaitForOneScheduler(again.Process()), 0u) << "no scheduler runs after the upgrade";

    DeleteFileW(WidePath(Installed("wmplayer.exe")).c_str());
    ASSERT_EQ(RunSilently(Installed("uninstall.exe"), "/S"), 0u);
    EXPECT_TRUE(
        WaitFor([] { return !ReadMachineString(UninstallKey, "DisplayName").has_value(); }, 3 * StepTimeout));
    EXPECT_TRUE(WaitFor([] { return WindowsOfClass("CHRONEL").empty(); })) << "a scheduler still runs";
    EXPECT_FALSE(PathExists(InstallFolder()));
    EXPECT_FALSE(ReadMachineString(RunKey, AutostartName).has_value());
    EXPECT_TRUE(SameBytes(ReadBytes(ProgramFilePath()), *saved));
}

} // namespace
} // namespace e2e
