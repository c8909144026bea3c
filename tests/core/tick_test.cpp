#include "scheduler/Tick.h"
#include "schedule/TextField.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace
{

constexpr unsigned TimerId = 1;
// Platform days of week.
constexpr int Sunday = 0;
constexpr int Monday = 1;
constexpr int Tuesday = 2;

ProgramRecord Program(const std::string& name, int dayIndex, int hour, int minute, bool repeat = false)
{
    ProgramRecord record;
    std::memset(&record, 0, sizeof record);
    SetFieldText(record.name, name);
    SetFieldText(record.media.title, "Radio");
    SetFieldText(record.media.streamUrl, "mms://s");
    record.days[dayIndex] = 1;
    record.hour = static_cast<std::int16_t>(hour);
    record.minute = static_cast<std::int16_t>(minute);
    record.repeat = repeat ? 1 : 0;
    return record;
}

class RecordingHooks : public TickHooks
{
public:
    std::vector<std::string> captions;
    std::vector<std::string> launched;
    std::vector<std::size_t> removedAt;
    std::function<void(const ProgramRecord&)> onLaunch;
    LaunchResult result = LaunchResult::Started;

    void ShowClock(const std::string& caption) override { captions.push_back(caption); }
    LaunchResult Launch(const ProgramRecord& record) override
    {
        launched.emplace_back(FieldText(record.name));
        if (onLaunch)
            onLaunch(record);
        return result;
    }
    void ProgramRemoved(std::size_t position) override { removedAt.push_back(position); }
};

using Names_ = std::vector<std::string>;

} // namespace

TEST(Tick, PlatformDaysMapToMondayFirstIndices)
{
    const int expected[] = {6, 0, 1, 2, 3, 4, 5};
    for (int day = 0; day < 7; ++day)
        EXPECT_EQ(DayIndexFromWeekday(day), expected[day]) << "platform day " << day;
    EXPECT_EQ(DayIndexFromWeekday(-1), -1);
    EXPECT_EQ(DayIndexFromWeekday(7), -1);
}

TEST(Tick, DueTest)
{
    struct Case
    {
        const char* what;
        ProgramRecord record;
        int dayIndex, hour, minute;
        bool due;
    };
    ProgramRecord anyNonZeroFlag = Program("a", 2, 8, 5);
    anyNonZeroFlag.days[2] = 0xFF;
    const Case cases[] = {
        {"same day, hour and minute", Program("a", 0, 8, 5), 0, 8, 5, true},
        {"any non-zero flag counts", anyNonZeroFlag, 2, 8, 5, true},
        {"other day", Program("a", 0, 8, 5), 1, 8, 5, false},
        {"other hour", Program("a", 0, 8, 5), 0, 9, 5, false},
        {"other minute", Program("a", 0, 8, 5), 0, 8, 6, false},
        {"Sunday is index 6", Program("a", 6, 0, 1), 6, 0, 1, true},
        {"negative hour", Program("a", 0, -1, 5), 0, 23, 5, false},
        {"negative minute", Program("a", 0, 8, -1), 0, 8, 59, false},
        {"hour 264 is not 8 (low byte 8)", Program("a", 0, 264, 5), 0, 8, 5, false},
        {"hour -248 is not 8 (low byte 8)", Program("a", 0, -248, 5), 0, 8, 5, false},
        {"minute 65535 read as -1", Program("a", 0, 8, 65535), 0, 8, 59, false},
        {"hour 24 never comes", Program("a", 0, 24, 0), 0, 0, 0, false},
        {"day index outside the week", Program("a", 0, 8, 5), -1, 8, 5, false},
        {"day index 7", Program("a", 6, 8, 5), 7, 8, 5, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsDue(c.record, c.dayIndex, c.hour, c.minute), c.due) << c.what;
}

TEST(Tick, FirstDueIsTheFrontMost)
{
    ProgramList programs;
    programs.Append(Program("early", 0, 7, 0));
    programs.Append(Program("first", 0, 8, 5));
    programs.Append(Program("second", 0, 8, 5));
    EXPECT_EQ(FindFirstDue(programs, 0, 8, 5), 1u);
    EXPECT_EQ(FindFirstDue(programs, 1, 8, 5), programs.Size());
    EXPECT_EQ(FindFirstDue(ProgramList(), 0, 8, 5), 0u);
}

TEST(Tick, ClockCaptionPadsToTwoDigits)
{
    EXPECT_EQ(ClockCaption(7, 5), "Il est 07 h et 05 min.");
    EXPECT_EQ(ClockCaption(0, 0), "Il est 00 h et 00 min.");
    EXPECT_EQ(ClockCaption(23, 59), "Il est 23 h et 59 min.");
    EXPECT_EQ(ClockCaption(123, 5), "Il est 123 h et 05 min.");
}

TEST(Tick, FiresTheDueProgrammeAndRemovesItUnlessItRepeats)
{
    ProgramList programs;
    programs.Append(Program("Matin", 0, 8, 5));
    programs.Append(Program("Chaque lundi", 0, 8, 6, true));
    SchedulerTick tick;
    RecordingHooks hooks;

    EXPECT_EQ(tick.OnTimer(TimerId, TimerId, true, {Monday, 8, 5}, programs, hooks), 1);
    EXPECT_EQ(hooks.captions, Names_{"Il est 08 h et 05 min."});
    EXPECT_EQ(hooks.launched, Names_{"Matin"});
    EXPECT_EQ(hooks.removedAt.size(), 1u);
    EXPECT_EQ(Names(programs), Names_{"Chaque lundi"});

    EXPECT_EQ(tick.OnTimer(TimerId, TimerId, true, {Monday, 8, 6}, programs, hooks), 1);
    EXPECT_EQ(hooks.launched, (Names_{"Matin", "Chaque lundi"}));
    EXPECT_EQ(hooks.removedAt.size(), 1u);
    EXPECT_EQ(Names(programs), Names_{"Chaque lundi"});

    // A week later (with ticks in between) the repeating one fires again.
    EXPECT_EQ(tick.OnTimer(TimerId, TimerId, true, {Tuesday, 0, 1}, programs, hooks), 0);
    EXPECT_EQ(tick.OnTimer(TimerId, TimerId, true, {Monday, 8, 6}, programs, hooks), 1);
    EXPECT_EQ(hooks.launched.size(), 3u);
}

TEST(Tick, OneCheckPerMinuteOfADate)
{
    // Monday 7 December 2026 and Tuesday 8 December, each with a programme at 08:05.
    const TickClock monday{Monday, 8, 5, 2026, 12, 7};
    const struct
    {
        const char* name;
        TickClock next;
        int fired;
        const char* launched;
    } cases[] = {
        {"the same minute again", monday, 0, ""},
        {"a resume from sleep on the next day, same time", {Tuesday, 8, 5, 2026, 12, 8}, 1, "Mardi"},
        {"the same weekday and time a week later", {Monday, 8, 5, 2026, 12, 14}, 1, "Lundi"},
        {"a date corrected to another month", {Monday, 8, 5, 2027, 1, 7}, 1, "Lundi"},
        {"a date corrected to another year", {Monday, 8, 5, 2027, 12, 7}, 1, "Lundi"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        ProgramList programs;
        programs.Append(Program("Lundi", 0, 8, 5, true));
        programs.Append(Program("Mardi", 1, 8, 5, true));
        SchedulerTick tick;
        RecordingHooks hooks;
        ASSERT_EQ(tick.OnTimer(TimerId, TimerId, true, monday, programs, hooks), 1);
        EXPECT_EQ(tick.OnTimer(TimerId, TimerId, true, c.next, programs, hooks), c.fired);
        EXPECT_EQ(hooks.captions.size(), 1u + c.fired);
        EXPECT_EQ(hooks.launched.back(), c.fired ? c.launched : "Lundi");
    }
    // The clock set back an hour on the same date: the repeated minute is checked again.
    ProgramList programs;
    programs.Append(Program("Lundi", 0, 8, 5, true));
    SchedulerTick tick;
    RecordingHooks hooks;
    for (const TickClock& now : {monday, TickClock{Monday, 9, 5, 2026, 12, 7}, monday})
        tick.OnTimer(TimerId, TimerId, true, now, programs, hooks);
    EXPECT_EQ(hooks.launched, (Names_{"Lundi", "Lundi"}));
}

TEST(Tick, TwoProgrammesDueInTheSameMinuteOnlyTheFrontOneFires)
{
    ProgramList programs;
    programs.Append(Program("first", 0, 8, 5));
    programs.Append(Program("second", 0, 8, 5));
    SchedulerTick tick;
    RecordingHooks hooks;

    EXPECT_EQ(tick.OnTimer(TimerId, TimerId, true, {Monday, 8, 5}, programs, hooks), 1);
    EXPECT_EQ(tick.OnTimer(TimerId, TimerId, true, {Monday, 8, 5}, programs, hooks), 0);
    EXPECT_EQ(tick.OnTimer(TimerId, TimerId, true, {Monday, 8, 6}, programs, hooks), 0);
    EXPECT_EQ(hooks.launched, Names_{"first"});
    EXPECT_EQ(Names(programs), Names_{"second"});
}

TEST(Tick, SundayIsPlatformDayZero)
{
    ProgramList programs;
    programs.Append(Program("Dimanche", 6, 10, 0, true));
    programs.Append(Program("Lundi", 0, 10, 1, true));
    SchedulerTick tick;
    RecordingHooks hooks;

    EXPECT_EQ(tick.OnTimer(TimerId, TimerId, true, {Monday, 10, 0}, programs, hooks), 0);
    EXPECT_EQ(tick.OnTimer(TimerId, TimerId, true, {Sunday, 10, 1}, programs, hooks), 0);
    EXPECT_EQ(tick.OnTimer(TimerId, TimerId, true, {Sunday, 10, 0}, programs, hooks), 1);
    EXPECT_EQ(tick.OnTimer(TimerId, TimerId, true, {Monday, 10, 1}, programs, hooks), 1);
    EXPECT_EQ(hooks.launched, (Names_{"Dimanche", "Lundi"}));
}

TEST(Tick, TheFirstTickChecksWhateverTheMinuteMidnightIncluded)
{
    ProgramList programs;
    programs.Append(Program("Minuit", 0, 0, 0));
    programs.Append(Program("Minuit une", 0, 0, 1));
    SchedulerTick tick;
    RecordingHooks hooks;

    EXPECT_EQ(tick.OnTimer(TimerId, TimerId, true, {Monday, 0, 0}, programs, hooks), 1);
    EXPECT_EQ(tick.OnTimer(TimerId, TimerId, true, {Monday, 0, 0}, programs, hooks), 0);
    EXPECT_EQ(tick.OnTimer(TimerId, TimerId, true, {Monday, 0, 1}, programs, hooks), 1);
    EXPECT_EQ(hooks.captions, (Names_{"Il est 00 h et 00 min.", "Il est 00 h et 01 min."}));
    EXPECT_EQ(hooks.launched, (Names_{"Minuit", "Minuit une"}));
    EXPECT_TRUE(programs.Empty());
}

TEST(Tick, InactiveOrForeignTimerDoesNothingAtAll)
{
    ProgramList programs;
    programs.Append(Program("Matin", 0, 8, 5));
    SchedulerTick tick;
    RecordingHooks hooks;

    EXPECT_EQ(tick.OnTimer(TimerId, TimerId, false, {Monday, 8, 5}, programs, hooks), 0);
    EXPECT_EQ(tick.OnTimer(2, TimerId, true, {Monday, 8, 5}, programs, hooks), 0);
    EXPECT_TRUE(hooks.captions.empty());
    EXPECT_TRUE(hooks.launched.empty());
    EXPECT_EQ(Names(programs), Names_{"Matin"});

    // Neither marked the minute as handled: switched back on, the same minute is checked.
    EXPECT_EQ(tick.OnTimer(TimerId, TimerId, true, {Monday, 8, 5}, programs, hooks), 1);
    EXPECT_EQ(hooks.launched, Names_{"Matin"});
}

TEST(Tick, NonRepeatingProgrammeStaysWhenItsLaunchFailedOrWasInterruptedByTheQuit)
{
    const struct
    {
        LaunchResult result;
        Names_ left;
        std::vector<std::size_t> removedAt;
    } cases[] = {
        {LaunchResult::Started, {"Avant", "Après"}, {1}},
        {LaunchResult::Declined, {"Avant", "Après"}, {1}},
        {LaunchResult::Failed, {"Avant", "Matin", "Après"}, {}},
        {LaunchResult::Interrupted, {"Avant", "Matin", "Après"}, {}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(static_cast<int>(c.result));
        ProgramList programs;
        programs.Append(Program("Avant", 0, 7, 0));
        programs.Append(Program("Matin", 0, 8, 5));
        programs.Append(Program("Après", 0, 9, 0));
        SchedulerTick tick;
        RecordingHooks hooks;
        hooks.result = c.result;

        EXPECT_EQ(tick.OnTimer(TimerId, TimerId, true, {Monday, 8, 5}, programs, hooks), 1);
        EXPECT_EQ(Names(programs), c.left);
        EXPECT_EQ(hooks.removedAt, c.removedAt);
    }
}

TEST(Tick, TickInsideTheLaunchInTheSameMinuteDoesNothing)
{
    ProgramList programs;
    programs.Append(Program("first", 0, 8, 5));
    programs.Append(Program("second", 0, 8, 5));
    SchedulerTick tick;
    RecordingHooks hooks;
    int nestedResult = -1;
    bool nested = false;
    hooks.onLaunch = [&](const ProgramRecord&) {
        if (std::exchange(nested, true))
            return;
        nestedResult = tick.OnTimer(TimerId, TimerId, true, {Monday, 8, 5}, programs, hooks);
    };

    EXPECT_EQ(tick.OnTimer(TimerId, TimerId, true, {Monday, 8, 5}, programs, hooks), 1);
    EXPECT_EQ(nestedResult, 0);
    EXPECT_EQ(hooks.launched, Names_{"first"});
    EXPECT_EQ(hooks.captions.size(), 1u);
    EXPECT_EQ(Names(programs), Names_{"second"});
}

TEST(Tick, NestedTickRemovingOtherRecordsLeavesTheOuterRemovalOnItsOwnRecord)
{
    struct Case
    {
        const char* what;
        std::vector<ProgramRecord> list;
        Names_ launched;
        Names_ left;
    };
    // The outer tick fires at 08:05; the question stays open into 08:06, when a nested tick fires.
    const Case cases[] = {
        {"the nested tick removes a record in front of the fired one",
         {Program("nested", 0, 8, 6), Program("outer", 0, 8, 5), Program("after", 0, 9, 0)},
         {"outer", "nested"},
         {"after"}},
        {"the nested tick removes a record behind the fired one",
         {Program("before", 0, 9, 0), Program("outer", 0, 8, 5), Program("nested", 0, 8, 6)},
         {"outer", "nested"},
         {"before"}},
        {"the nested tick fires a repeating record",
         {Program("nested", 0, 8, 6, true), Program("outer", 0, 8, 5), Program("after", 0, 9, 0)},
         {"outer", "nested"},
         {"nested", "after"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        ProgramList programs;
        for (const ProgramRecord& record : c.list)
            programs.Append(record);
        SchedulerTick tick;
        RecordingHooks hooks;
        std::string seenAfterNestedTick;
        bool handedACopy = false;
        bool nested = false;
        hooks.onLaunch = [&](const ProgramRecord& record) {
            if (std::exchange(nested, true))
                return;
            handedACopy = std::none_of(programs.Records().begin(), programs.Records().end(),
                                       [&](const ProgramRecord& stored) { return &stored == &record; });
            EXPECT_EQ(tick.OnTimer(TimerId, TimerId, true, {Monday, 8, 6}, programs, hooks), 1);
            seenAfterNestedTick = std::string(FieldText(record.name));
        };

        EXPECT_EQ(tick.OnTimer(TimerId, TimerId, true, {Monday, 8, 5}, programs, hooks), 1);
        EXPECT_TRUE(handedACopy);
        EXPECT_EQ(seenAfterNestedTick, "outer");
        EXPECT_EQ(hooks.launched, c.launched);
        EXPECT_EQ(Names(programs), c.left);
    }
}

TEST(Tick, FiredRecordRemovedDuringTheLaunchTakesNoOtherWithIt)
{
    ProgramList programs;
    programs.Append(Program("outer", 0, 8, 5));
    programs.Append(Program("moves up", 0, 9, 0));
    SchedulerTick tick;
    RecordingHooks hooks;
    // The user removes the fired programme while its question is open.
    hooks.onLaunch = [&](const ProgramRecord&) { programs.RemoveAt(0); };

    EXPECT_EQ(tick.OnTimer(TimerId, TimerId, true, {Monday, 8, 5}, programs, hooks), 1);
    EXPECT_EQ(Names(programs), Names_{"moves up"});
    EXPECT_TRUE(hooks.removedAt.empty());
}

TEST(Tick, IdenticalRecordAddedDuringTheLaunchIsNotTheFiredOne)
{
    // The fired programme is removed and an identical one added while the question is open: the outer tick
    // must not take the newcomer for the record it fired.
    ProgramList programs;
    const ProgramRecord matin = Program("Matin", 0, 8, 5);
    programs.Append(matin);
    SchedulerTick tick;
    RecordingHooks hooks;
    hooks.onLaunch = [&](const ProgramRecord&) {
        programs.RemoveAt(0);
        programs.Append(matin);
    };

    EXPECT_EQ(tick.OnTimer(TimerId, TimerId, true, {Monday, 8, 5}, programs, hooks), 1);
    EXPECT_EQ(Names(programs), Names_{"Matin"});
    EXPECT_TRUE(hooks.removedAt.empty());
}

TEST(Tick, DecimalTextWritesWhatPercentDotTwoDWould)
{
    const struct
    {
        int value;
        std::size_t digits;
        const char* text;
    } cases[] = {{0, 2, "00"},          {7, 2, "07"}, {59, 2, "59"}, {123, 2, "123"}, {-5, 2, "-05"},
                 {-32768, 1, "-32768"}, {0, 1, "0"},  {70, 1, "70"}, {-3, 1, "-3"}};
    for (const auto& c : cases)
        EXPECT_EQ(DecimalText(c.value, c.digits), c.text) << c.value;
}
