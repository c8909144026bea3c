#include "scheduler/Tick.h"

#include "schedule/TextField.h"

int DayIndexFromWeekday(int dayOfWeek)
{
    if (dayOfWeek < 0 || dayOfWeek >= static_cast<int>(DaysPerWeek))
        return -1;
    return (dayOfWeek + 6) % 7;
}

bool IsDue(const ProgramRecord& record, int dayIndex, int hour, int minute)
{
    if (dayIndex < 0 || dayIndex >= static_cast<int>(DaysPerWeek))
        return false;
    const int recordHour = record.hour;
    const int recordMinute = record.minute;
    return record.days[dayIndex] != 0 && recordHour == hour && recordMinute == minute;
}

std::size_t FindFirstDue(const ProgramList& programs, int dayIndex, int hour, int minute)
{
    const std::size_t count = programs.Size();
    for (std::size_t i = 0; i < count; ++i)
        if (IsDue(programs[i], dayIndex, hour, minute))
            return i;
    return count;
}

std::string ClockCaption(int hour, int minute)
{
    return "Il est " + DecimalText(hour, 2) + " h et " + DecimalText(minute, 2) + " min.";
}

int SchedulerTick::OnTimer(unsigned id, unsigned timerId, bool active, const TickClock& now,
                           ProgramList& programs, TickHooks& hooks)
{
    if (!active || id != timerId)
        return 0;

    const int dayIndex = DayIndexFromWeekday(now.dayOfWeek);
    if (checked && now.hour == lastCheck.hour && now.minute == lastCheck.minute && now.day == lastCheck.day &&
        now.month == lastCheck.month && now.year == lastCheck.year)
        return 0;

    // The minute counts as handled before anything can run a nested message loop, so a tick arriving
    // meanwhile in the same minute does nothing.
    lastCheck = now;
    checked = true;
    hooks.ShowClock(ClockCaption(now.hour, now.minute));

    const std::size_t due = FindFirstDue(programs, dayIndex, now.hour, now.minute);
    if (due == programs.Size())
        return 0;

    // The launch may show a question whose message loop runs further ticks, which can remove records and
    // move this one: it gets its own copy, and the record is found again by its serial afterwards.
    const ProgramList::Serial fired = programs.SerialAt(due);
    const ProgramRecord record = programs[due];
    const LaunchResult launched = hooks.Launch(record);

    if (record.repeat == 0 && (launched == LaunchResult::Started || launched == LaunchResult::Declined))
    {
        const std::size_t position = programs.Find(fired);
        if (position < programs.Size())
        {
            programs.RemoveAt(position);
            hooks.ProgramRemoved(position);
        }
    }
    return 1;
}
