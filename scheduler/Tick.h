#pragma once

#include "schedule/ProgramList.h"
#include "schedule/ProgramRecord.h"

#include <cstddef>
#include <string>

// One reading of the local clock, as the tick needs it.
struct TickClock
{
    int dayOfWeek; // the platform's: 0 = Sunday ... 6 = Saturday
    int hour;
    int minute;
    // The date: the same hour and minute on another day (a resume from sleep, a corrected date) is another
    // minute to check.
    int year = 0;
    int month = 0;
    int day = 0;
};

// What became of a launch.
enum class LaunchResult
{
    Started,  // the player was asked to open the playlist
    Declined, // the user cancelled the question
    Failed,   // the playlist could not be written or the player could not be started
    // The scheduler began to quit meanwhile (its question closed by the quit): nothing was launched, and the
    // programme stays as the quit saved it
    Interrupted,
};

// What the tick does to the world around it: the dialog's clock caption, the launch, the list box.
class TickHooks
{
public:
    virtual ~TickHooks() = default;
    virtual void ShowClock(const std::string& caption) = 0;
    // Gets a copy of the fired record that stays valid whatever happens to the list meanwhile; may run a
    // nested message loop in which further ticks run.
    virtual LaunchResult Launch(const ProgramRecord& record) = 0;
    // Called after the tick removed the record it fired, which was at `position`.
    virtual void ProgramRemoved(std::size_t position) = 0;
};

// The index into ProgramRecord::days (0 = Monday ... 6 = Sunday) for a platform day of week (0 = Sunday);
// -1 for a value outside 0..6, which no programme matches.
int DayIndexFromWeekday(int dayOfWeek);

// A record is due when its flag for the day is set and its hour and minute, compared as the signed 16-bit
// values they are, equal the clock's; a negative field therefore never matches.
bool IsDue(const ProgramRecord& record, int dayIndex, int hour, int minute);

// Position of the first due record in list order, or programs.Size() when none is due.
std::size_t FindFirstDue(const ProgramList& programs, int dayIndex, int hour, int minute);

// "Il est 07 h et 05 min." for 7 h 5 min.
std::string ClockCaption(int hour, int minute);

// The scheduler's timer handler: at most one check per minute of local time, at most one programme fired
// per check. A non-repeating programme is removed after its launch, or after the user declined it; one
// whose launch failed, or was interrupted by the quit, stays, so that it is not lost.
class SchedulerTick
{
public:
    // Returns 1 when a programme fired, 0 otherwise.
    int OnTimer(unsigned id, unsigned timerId, bool active, const TickClock& now, ProgramList& programs,
                TickHooks& hooks);

private:
    // The last minute checked, with its date. Nothing is checked before the first tick, whatever its minute
    // (00:00 included).
    TickClock lastCheck{};
    bool checked = false;
};
