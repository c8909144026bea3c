#include "ui/main/ProgramEditor.h"

#include "schedule/TextField.h"

#include <cstring>

#include <gtest/gtest.h>

namespace
{

std::vector<MediaEntry> SomeMedia()
{
    std::vector<MediaEntry> media(2);
    SetFieldText(media[0].title, "Radio Sylvane");
    SetFieldText(media[0].pageUrl, "http://page.example/");
    SetFieldText(media[0].streamUrl, "mms://stream.example/0");
    SetFieldText(media[1].title, "Jazz");
    SetFieldText(media[1].streamUrl, "mms://stream.example/1");
    // Bytes after a field's zero, and a field with no zero at all, as a damaged file may hold them: a new
    // record copies them as they are.
    media[1].title[200] = 'x';
    media[1].pageUrl[0] = 0;
    media[1].pageUrl[TextFieldSize - 1] = 'y';
    std::memset(media[1].streamUrl + 30, 's', TextFieldSize - 30);
    return media;
}

MediaEntries Kept(const std::vector<MediaEntry>& entries)
{
    MediaEntries kept;
    for (const MediaEntry& entry : entries)
        kept.push_back(entry);
    return kept;
}

ProgramInput GoodInput(const std::string& name = "Matin")
{
    ProgramInput input;
    input.name = name;
    input.mediaIndex = 0;
    input.days[0] = true;
    input.hourText = "8";
    input.minuteText = "05";
    input.confirm = true;
    input.repeat = false;
    return input;
}

ProgramRecord Existing(const std::string& name, std::initializer_list<int> days, int hour, int minute)
{
    ProgramRecord record{};
    SetFieldText(record.name, name);
    for (int day : days)
        record.days[day] = 1;
    record.hour = static_cast<std::int16_t>(hour);
    record.minute = static_cast<std::int16_t>(minute);
    return record;
}

} // namespace

TEST(ProgramEditor, ChecksRunInOrderAndTheFirstFailureWins)
{
    struct Case
    {
        const char* what;
        void (*change)(ProgramInput&);
        EditorMessage expected;
    };
    const Case cases[] = {
        {"empty name first, whatever else is missing",
         [](ProgramInput& in) {
             in = ProgramInput();
             in.hourText = "99";
         },
         EditorMessage::NoName},
        {"a name of one space is a name", [](ProgramInput& in) { in.name = " "; }, EditorMessage::None},
        {"no media selected", [](ProgramInput& in) { in.mediaIndex.reset(); }, EditorMessage::NoMedia},
        {"item data past the media array", [](ProgramInput& in) { in.mediaIndex = 2; },
         EditorMessage::NoMedia},
        {"item data -1", [](ProgramInput& in) { in.mediaIndex = static_cast<std::uintptr_t>(-1); },
         EditorMessage::NoMedia},
        {"no day", [](ProgramInput& in) { in.days[0] = false; }, EditorMessage::NoDay},
        {"hour 23", [](ProgramInput& in) { in.hourText = "23"; }, EditorMessage::None},
        {"hour 24", [](ProgramInput& in) { in.hourText = "24"; }, EditorMessage::HourOutOfRange},
        {"negative hour", [](ProgramInput& in) { in.hourText = "-1"; }, EditorMessage::HourOutOfRange},
        {"empty hour reads 0", [](ProgramInput& in) { in.hourText = ""; }, EditorMessage::None},
        {"minute 59", [](ProgramInput& in) { in.minuteText = "59"; }, EditorMessage::None},
        {"minute 60", [](ProgramInput& in) { in.minuteText = "60"; }, EditorMessage::MinuteOutOfRange},
        {"both out of range: the hour message",
         [](ProgramInput& in) {
             in.hourText = "24";
             in.minuteText = "60";
         },
         EditorMessage::HourOutOfRange},
        {"an hour that overflows 32 bits", [](ProgramInput& in) { in.hourText = "99999999999999999999"; },
         EditorMessage::HourOutOfRange},
        {"2^32 + 5 must not wrap to 5", [](ProgramInput& in) { in.hourText = "4294967301"; },
         EditorMessage::HourOutOfRange},
        {"not a number: nan", [](ProgramInput& in) { in.hourText = "nan"; }, EditorMessage::HourOutOfRange},
        {"infinity", [](ProgramInput& in) { in.minuteText = "inf"; }, EditorMessage::MinuteOutOfRange},
        {"strtod prefix and blanks", [](ProgramInput& in) { in.hourText = "  7h30"; }, EditorMessage::None},
    };
    const std::vector<MediaEntry> media = SomeMedia();
    const ProgramList programs;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        ProgramInput input = GoodInput();
        c.change(input);
        EXPECT_EQ(CheckNewProgram(input, Kept(media), programs).message, c.expected);
    }
}

TEST(ProgramEditor, NewRecordCarriesTheInputAndACopyOfTheMedia)
{
    const std::vector<MediaEntry> media = SomeMedia();
    ProgramInput input = GoodInput();
    input.mediaIndex = 1;
    input.days[2] = true;
    input.hourText = "  7.9";
    const AddCheck check = CheckNewProgram(input, Kept(media), ProgramList());
    ASSERT_EQ(check.message, EditorMessage::None);
    const ProgramRecord& r = check.record;
    EXPECT_EQ(FieldText(r.name), "Matin");
    EXPECT_EQ(std::memcmp(&r.media, &media[1], sizeof(MediaEntry)), 0);
    const std::uint8_t days[7] = {1, 0, 1, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(r.days, days, 7), 0);
    EXPECT_EQ(r.reserved, 0);
    EXPECT_EQ(r.hour, 7); // truncated toward zero
    EXPECT_EQ(r.minute, 5);
    EXPECT_EQ(r.confirm, 1);
    EXPECT_EQ(r.repeat, 0);
    // Every byte after each text's zero is zero.
    for (std::size_t i = 5; i < TextFieldSize; ++i)
        ASSERT_EQ(r.name[i], 0);
}

TEST(ProgramEditor, DuplicatesByNameAndByScheduleFirstConflictDecides)
{
    struct Case
    {
        const char* what;
        std::vector<ProgramRecord> existing;
        ProgramInput input;
        EditorMessage expected;
    };
    auto at = [](const std::string& name, std::initializer_list<int> days, const char* hour,
                 const char* minute) {
        ProgramInput input = GoodInput(name);
        input.days[0] = false;
        for (int day : days)
            input.days[day] = true;
        input.hourText = hour;
        input.minuteText = minute;
        return input;
    };
    const Case cases[] = {
        {"same name, case counts",
         {Existing("Matin", {3}, 1, 1)},
         at("matin", {0}, "8", "0"),
         EditorMessage::None},
        {"same name again",
         {Existing("Matin", {3}, 1, 1)},
         at("Matin", {0}, "8", "0"),
         EditorMessage::DuplicateName},
        {"Monday and Tuesday at 8:00",
         {Existing("Lundi", {0}, 8, 0)},
         at("Mardi", {1}, "8", "0"),
         EditorMessage::None},
        {"Monday at 8:00 and at 8:01",
         {Existing("A", {0}, 8, 0)},
         at("B", {0}, "8", "1"),
         EditorMessage::None},
        {"all seven days at 8:00 block every 8:00",
         {Existing("Tous", {0, 1, 2, 3, 4, 5, 6}, 8, 0)},
         at("Dimanche", {6}, "8", "00"),
         EditorMessage::DuplicateSchedule},
        {"schedule conflict first, name conflict later",
         {Existing("Autre", {0}, 8, 0), Existing("Matin", {4}, 9, 0)},
         at("Matin", {0}, "8", "0"),
         EditorMessage::DuplicateSchedule},
        {"name conflict first, schedule conflict later",
         {Existing("Matin", {4}, 9, 0), Existing("Autre", {0}, 8, 0)},
         at("Matin", {0}, "8", "0"),
         EditorMessage::DuplicateName},
        {"names equal in their first 259 characters",
         {Existing(std::string(259, 'n') + "a", {3}, 1, 1)},
         at(std::string(259, 'n') + "b", {0}, "8", "0"),
         EditorMessage::DuplicateName},
    };
    const std::vector<MediaEntry> media = SomeMedia();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        ProgramList programs;
        for (const ProgramRecord& record : c.existing)
            programs.Append(record);
        EXPECT_EQ(CheckNewProgram(c.input, Kept(media), programs).message, c.expected);
    }
}

TEST(ProgramEditor, InformationPanelTexts)
{
    const ProgramInfo none = DescribeProgram(nullptr);
    EXPECT_EQ(none.name, "Aucun nom");
    EXPECT_EQ(none.mediaTitle, "Aucun média");
    EXPECT_EQ(none.days, "Aucun jour");
    EXPECT_EQ(none.time, "Aucune heure");
    EXPECT_EQ(none.confirm, "Aucune confirmation");
    EXPECT_EQ(none.repeat, "Aucune répétition");

    ProgramRecord record = Existing("Matin", {0, 2, 4}, 8, 5);
    SetFieldText(record.media.title, "Radio Sylvane");
    record.confirm = 1;
    record.repeat = 0;
    const ProgramInfo info = DescribeProgram(&record);
    EXPECT_EQ(info.name, "Matin");
    EXPECT_EQ(info.mediaTitle, "Radio Sylvane");
    EXPECT_EQ(info.days, "lundi, mercredi, vendredi");
    EXPECT_EQ(info.time, "8 h et 5 min.");
    EXPECT_EQ(info.confirm, "Confirmation : Oui");
    EXPECT_EQ(info.repeat, "Répétition : Non");

    const ProgramRecord all = Existing("Tous", {0, 1, 2, 3, 4, 5, 6}, -3, 70);
    EXPECT_EQ(DescribeProgram(&all).days, "lundi, mardi, mercredi, jeudi, vendredi, samedi, dimanche");
    EXPECT_EQ(DescribeProgram(&all).time, "-3 h et 70 min.");
    EXPECT_EQ(DescribeProgram(&all).confirm, "Confirmation : Non");
    const ProgramRecord noDay = Existing("Rien", {}, 1, 2);
    EXPECT_EQ(DescribeProgram(&noDay).days, "");

    // A damaged name with no zero in its 260 bytes is shown as its first 259 characters.
    ProgramRecord damaged = record;
    std::memset(damaged.name, 'z', TextFieldSize);
    EXPECT_EQ(DescribeProgram(&damaged).name, std::string(259, 'z'));
}

TEST(ProgramEditor, SelectionFollowsTheSelectedRecordWhenAnotherIsRemoved)
{
    const std::size_t none = static_cast<std::size_t>(-1);
    // With A, B, C listed in that order: {selected, removed, selected afterwards}.
    const std::size_t cases[][3] = {{1, 0, 0}, {1, 2, 1}, {1, 1, none}, {2, 0, 1}, {0, 0, none}};
    for (const auto& c : cases)
        EXPECT_EQ(SelectionAfterRemoval(c[0], c[1]), c[2]) << "selected " << c[0] << ", removed " << c[1];
}
