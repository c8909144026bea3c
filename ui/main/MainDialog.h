#pragma once

#include "resources/resource.h"
#include "schedule/MediaEntries.h"
#include "schedule/ProgramList.h"
#include "schedule/ProgramRecord.h"
#include "schedule/TextField.h"
#include "schedule/ProgramBook.h"
#include "scheduler/Tick.h"
#include "ui/framework/Dialog.h"
#include "ui/main/AutostartSwitch.h"
#include "ui/main/DialogScaling.h"
#include "ui/main/MainServices.h"
#include "ui/main/ProgramEditor.h"
#include "ui/main/ProgramListBox.h"

#include <string>
#include <vector>

// The scheduler dialog: the programme editor, the list of programmes with its information panel, the
// general options and the application buttons. One object per process, a modeless child of the main window.
// It shows what the programme book and the autostart switch decide, and reaches the desktop through
// `services`.
class CMain : public CDialog
{
public:
    explicit CMain(MainServices& services = DesktopServices::Instance());

    LRESULT OnCommand(WORD code, WORD id, CWnd control) override;
    LRESULT OnInitDialog() override;
    LRESULT OnTimer(WPARAM id) override;

    void LoadMediaList(const std::string& path);
    // Loads this start's programme file. One that is there but cannot be read is tried again for
    // `loadRetryTime` ms; then the user is told, the list starts empty and the file is left for later saves.
    void LoadProgramList();
    // Writes the programmes to this start's programme file (after reading it first, if it could not be read
    // before); shows the save message unless `quiet`, and returns false on failure.
    bool SaveProgramList(bool quiet = false);
    LaunchResult LaunchProgram(const ProgramRecord& record);
    // Called once the quit has made its last save (a confirmed "Quitter", "/quit", the end of the session):
    // from then on nothing is removed from the list, nothing is written, and a box or dialog that the quit
    // closes counts as neither OK nor Cancel.
    void BeginQuit() { book.BeginQuit(); }
    bool QuitBegun() const { return book.QuitBegun(); }

    // Lays the dialog out again for `dpi` (controls, fonts, banner) as a start at that DPI lays it out.
    void ChangeDpi(unsigned dpi);
    const DialogScaling& Scaling() const { return scaling; }

    void AddProgram();
    void RemoveProgram();
    void RefreshProgramList();
    void ShowProgramInfo();
    void ToggleActive();

    // Every message box of the dialog goes through here; none once the scheduler is ending. Returns the
    // button pressed.
    int ShowMessage(const char* text, UINT style);

    const MediaEntries& Media() const { return media; }
    const ProgramList& Programs() const { return book.Programs(); }
    const char* DataFolder() const { return dataFolder.c_str(); }
    const std::string& ProgramFilePath() const { return book.Path(); }
    bool Active() const { return active != 0; }
    AutostartSwitch& Autostart() { return autostart; }

    UINT timerId = 1;
    // The timer after which a pending change of the autostart entry is reported as failed.
    static constexpr UINT_PTR AutostartTimer = 2;
    BYTE active = 1;
    DWORD loadRetryTime = 5000;
    // How long the switch gives the elevated run that changes the autostart entry (its prompt included).
    DWORD elevatedSwitchTimeout = 60000;

protected:
    MediaEntries media;
    std::string dataFolder; // UTF-8, ending in a backslash; empty without one

private:
    // The day check boxes, Monday first.
    static constexpr int DayBoxes[DaysPerWeek] = {IDC_DAY1, IDC_DAY2, IDC_DAY3, IDC_DAY4,
                                                  IDC_DAY5, IDC_DAY6, IDC_DAY7};

    void SetControlFonts();
    void SetCaptions();
    void SetEditorDefaults();
    void SetText(int id, const char* text);
    void SetInfoPlaceholders();
    void ShowInfo(const ProgramInfo& info);
    void SendToParent(UINT message, WPARAM wParam);
    void ApplyAllDays();
    // Position of the programme selected in the list box, or Size() when none is.
    std::size_t SelectedProgram() const;
    // Rebuilds the list box and selects the programme at `index` (none when out of range).
    void ShowProgramsSelecting(std::size_t index);
    // Puts every media title into its list box (which sorts them), each pointing to its entry's position.
    void FillMediaList();
    // Shows a save's outcome: the list rebuilt when the file's records came in, the message when asked.
    bool ShowSaved(const ProgramBook::SaveOutcome& outcome);
    // The save after a change of the list.
    void SaveChanges();
    // The switch's captions and state, and the "Active" value.
    void ShowActive(bool on);
    void WriteActive();
    void OnAutostartEnded();
    void OnAutostartTimeOut();

    // The scheduler tick's calls back into the dialog.
    class TickBridge : public TickHooks
    {
    public:
        explicit TickBridge(CMain& main) : main(main) {}
        void ShowClock(const std::string& caption) override;
        LaunchResult Launch(const ProgramRecord& record) override;
        void ProgramRemoved(std::size_t position) override;

    private:
        CMain& main;
    };

    MainServices& services;
    // The programmes and this start's programme file, built by the data folder's preparation: saves never go
    // to a path that another user's start wrote into the shared registry value.
    ProgramBook book;
    ProgramListBox programList;
    DialogScaling scaling;
    AutostartSwitch autostart;
    // The pending change outlived its time and the user was told: when it ends, the switch follows the Run
    // value as it then is.
    bool autostartTimedOut = false;
    SchedulerTick tick;
    TickBridge tickBridge{*this};
};
