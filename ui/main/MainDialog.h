#pragma once

#include "resources/resource.h"
#include "schedule/MediaEntries.h"
#include "schedule/ProgramList.h"
#include "schedule/ProgramRecord.h"
#include "schedule/ProgramStore.h"
#include "schedule/Settings_win.h"
#include "scheduler/Tick.h"
#include "ui/framework/Dialog.h"
#include "ui/main/ProgramEditor.h"
#include "ui/main/ProgramListBox.h"

#include <string>
#include <vector>

// The scheduler dialog: the programme editor, the list of programmes with its information panel, the
// general options and the application buttons. One object per process, a modeless child of the main window.
class CMain : public CDialog
{
public:
    CMain();

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
    void BeginQuit() { quitBegun = true; }
    bool QuitBegun() const { return quitBegun; }

    void AddProgram();
    void RemoveProgram();
    void RefreshProgramList();
    void ShowProgramInfo();
    void ToggleActive();

    // Every message box of the dialog goes through here: owned by the dialog, titled with the application
    // caption. Returns the button pressed.
    virtual int ShowMessage(const char* text, UINT style);
    // The open-file dialog; an empty path when the user cancels, or (after the media-list message) when the
    // chosen path is too long to hold.
    virtual std::string ChooseMediaListFile();
    // The local wall clock as the scheduler reads it.
    virtual TickClock ReadClock();
    // Writes (on) or deletes (off) the machine-wide autostart entry, through an elevated run of this program
    // where the user may not write it; false when that could not be done.
    virtual bool SetAutostart(bool on);
    // The direct write or delete: ERROR_SUCCESS or the registry's error.
    virtual LONG WriteAutostart(bool on);
    // Starts "chronel.exe /autostart on|off" with administrator rights (the system asks the user); the
    // process, or none with the reason in `error` (ERROR_CANCELLED when the user declined).
    virtual UniqueKernelHandle StartElevatedSwitch(bool on, DWORD& error);
    // The settings key, created with full access or, where that is refused, opened for reading.
    virtual RegKey OpenSettings(bool forWriting);

    const MediaEntries& Media() const { return media; }
    const ProgramList& Programs() const { return programs; }
    const char* DataFolder() const { return dataFolder.c_str(); }
    const std::string& ProgramFilePath() const { return store.Path(); }
    bool Active() const { return active != 0; }

    UINT timerId = 1;
    BYTE active = 1;
    DWORD loadRetryTime = 5000;
    // How long the switch waits for the elevated run that changes the autostart entry.
    DWORD elevatedSwitchTimeout = 60000;

protected:
    MediaEntries media;
    ProgramList programs;
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
    // Position in `programs` of the programme selected in the list box, or programs.Size() when none is.
    std::size_t SelectedProgram() const;
    // Rebuilds the list box and selects the programme at `index` (none when out of range).
    void ShowProgramsSelecting(std::size_t index);
    // Puts every media title into its list box (which sorts them), each pointing to its entry's position.
    void FillMediaList();
    // The save after a change of the list.
    void SaveChanges();

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

    // The programme file of this start, built by the data folder's preparation: saves never go to a path
    // that another user's start wrote into the shared registry value.
    ProgramStore store;
    ProgramListBox programList;
    bool lastSaveFailed = false;
    bool quitBegun = false;
    bool programsLoaded = false;
    SchedulerTick tick;
    TickBridge tickBridge{*this};
};
