// The installer as a Windows user or an administrator's script would run it, silently: what it puts on the
// machine, an upgrade over a running scheduler, and what the uninstaller takes away and leaves.
#include "Scenario.h"

namespace e2e
{
namespace
{

const char* const InstallFolder = "C:\\Program Files\\Merovia\\Sylvane Programmateur\\";
const char* const UninstallKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sylvane Programmateur";
const char* const Shortcuts =
    "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Sylvane Programmateur\\";

std::string Installed(const char* file)
{
    return std::string(InstallFolder) + file;
}

// Runs the installer (or the installed uninstaller) with these arguments to its end; its exit code.
DWORD RunSilently(const std::string& program, const std::string& arguments)
{
    return RunTool(program, arguments, 6 * StepTimeout);
}

class Installer : public Scenario
{
protected:
    void SetUp() override
    {
        if (Paths().setup.empty())
            GTEST_SKIP() << "no installer was built (scripts/test builds and requires it)";
        Scenario::SetUp();
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
    EXPECT_TRUE(PathExists(std::string(Shortcuts) + "Sylvane Programmateur.lnk"));
    EXPECT_TRUE(PathExists(std::string(Shortcuts) + "D\xE9sinstaller Sylvane Programmateur.lnk"));

    const std::string folder = std::string(InstallFolder).substr(0, std::string(InstallFolder).size() - 1);
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

    Chronel& scheduler = StartInstalled();
    EXPECT_TRUE(WaitFor([] { return TrayIconShown(); })) << "the installed scheduler is not in the tray";
    EXPECT_TRUE(scheduler.Running());
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
    std::vector<HWND> schedulers;
    EXPECT_TRUE(WaitFor([&] {
        schedulers = WindowsOfClass("CHRONEL");
        return schedulers.size() == 1 && ProcessOf(schedulers[0]) != old.Process();
    })) << "no new scheduler runs after the upgrade";
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
    EXPECT_FALSE(PathExists(InstallFolder));
    EXPECT_FALSE(PathExists(Shortcuts));
    EXPECT_FALSE(ReadMachineString(RunKey, AutostartName).has_value());
    EXPECT_EQ(ReadMachineString(SettingsKey, "Media List"), "C:\\listes\\radios.slv");
    EXPECT_TRUE(SameBytes(ReadBytes(ProgramFilePath()), *programmes));
}

} // namespace
} // namespace e2e
