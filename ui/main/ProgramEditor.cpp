#include "ui/main/ProgramEditor.h"

#include "schedule/TextField.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{

const char* const DayNames[DaysPerWeek] = {"lundi",    "mardi",  "mercredi", "jeudi",
                                           "vendredi", "samedi", "dimanche"};

bool SameSchedule(const ProgramRecord& a, const ProgramRecord& b)
{
    if (a.hour != b.hour || a.minute != b.minute)
        return false;
    for (std::size_t day = 0; day < DaysPerWeek; ++day)
        if (a.days[day] != 0 && b.days[day] != 0)
            return true;
    return false;
}

// What a code page 1252 character counts as when names are compared loosely: letters and digits folded to
// upper-case ASCII (accents dropped, ligatures spelled out), everything else nothing.
const char* LooseLetters(unsigned char c)
{
    static const char* const high[128] = {
        "",  "",  "",  "F", "",  "",  "",   "",  "",  "",  "S", "",  "OE", "",   "Z",  "",   // 0x80
        "",  "",  "",  "",  "",  "",  "",   "",  "",  "",  "S", "",  "OE", "",   "Z",  "Y",  // 0x90
        "",  "",  "",  "",  "",  "",  "",   "",  "",  "",  "A", "",  "",   "",   "",   "",   // 0xA0
        "",  "",  "2", "3", "",  "M", "",   "",  "",  "1", "O", "",  "14", "12", "34", "",   // 0xB0
        "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I",  "I",  "I",  "I",  // 0xC0
        "D", "N", "O", "O", "O", "O", "O",  "",  "O", "U", "U", "U", "U",  "Y",  "TH", "SS", // 0xD0
        "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I",  "I",  "I",  "I",  // 0xE0
        "D", "N", "O", "O", "O", "O", "O",  "",  "O", "U", "U", "U", "U",  "Y",  "TH", "Y",  // 0xF0
    };
    static char ascii[128][2];
    static const bool filled = [] {
        for (int i = 0; i < 128; ++i)
            ascii[i][0] = std::isalnum(i) ? static_cast<char>(std::toupper(i)) : 0;
        return true;
    }();
    (void)filled;
    return c < 128 ? ascii[c] : high[c - 128];
}

// A hash of the name compared loosely (FNV-1a over the folded letters).
std::uint64_t LooseHash(std::string_view name)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (char c : name)
        for (const char* letter = LooseLetters(static_cast<unsigned char>(c)); *letter; ++letter)
            hash = (hash ^ static_cast<unsigned char>(*letter)) * 1099511628211ull;
    return hash;
}

} // namespace

const char* MessageText(EditorMessage message)
{
    switch (message)
    {
    case EditorMessage::None: return "";
    case EditorMessage::NoName: return "Aucun nom n'est défini !";
    case EditorMessage::NoMedia: return "Aucun média n'est sélectionné !";
    case EditorMessage::NoDay: return "Aucun jour n'est sélectionné !";
    case EditorMessage::HourOutOfRange: return "L'heure doit être comprise entre 0H et 23H !";
    case EditorMessage::MinuteOutOfRange: return "Les minutes doivent être comprise entre 0mn et 59mn !";
    case EditorMessage::DuplicateName: return "Il existe déjà un programme avec le même nom !";
    case EditorMessage::DuplicateSchedule: return "Il existe déjà un programme avec le même horaire !";
    case EditorMessage::NoProgramSelected: return "Aucun programme n'est sélectionné !";
    }
    return "";
}

bool IsWarning(EditorMessage message)
{
    return message == EditorMessage::DuplicateName || message == EditorMessage::DuplicateSchedule;
}

std::optional<std::int32_t> ParseTimeField(const std::string& text)
{
    const std::string bounded = text.substr(0, TextFieldSize - 1);
    const double value = std::strtod(bounded.c_str(), nullptr);
    if (!std::isfinite(value) || value <= -2147483649.0 || value >= 2147483648.0)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

AddCheck CheckNewProgram(const ProgramInput& input, const MediaEntries& media, const ProgramList& programs)
{
    AddCheck check;
    const std::string name = input.name.substr(0, TextFieldSize - 1);
    if (name.empty())
    {
        check.message = EditorMessage::NoName;
        return check;
    }
    if (!input.mediaIndex || *input.mediaIndex >= media.size())
    {
        check.message = EditorMessage::NoMedia;
        return check;
    }
    bool anyDay = false;
    for (bool day : input.days)
        anyDay = anyDay || day;
    if (!anyDay)
    {
        check.message = EditorMessage::NoDay;
        return check;
    }
    // Taken as unsigned, a negative value is out of range as well.
    const std::optional<std::int32_t> hour = ParseTimeField(input.hourText);
    if (!hour || static_cast<std::uint32_t>(*hour) > 23)
    {
        check.message = EditorMessage::HourOutOfRange;
        return check;
    }
    const std::optional<std::int32_t> minute = ParseTimeField(input.minuteText);
    if (!minute || static_cast<std::uint32_t>(*minute) > 59)
    {
        check.message = EditorMessage::MinuteOutOfRange;
        return check;
    }

    ProgramRecord& record = check.record;
    std::memset(&record, 0, sizeof record);
    SetFieldText(record.name, name);
    record.media = media[*input.mediaIndex];
    for (std::size_t day = 0; day < DaysPerWeek; ++day)
        record.days[day] = input.days[day] ? 1 : 0;
    record.hour = static_cast<std::int16_t>(*hour);
    record.minute = static_cast<std::int16_t>(*minute);
    record.confirm = input.confirm ? 1 : 0;
    record.repeat = input.repeat ? 1 : 0;

    // The first conflicting programme in list order decides which message shows.
    for (const ProgramRecord& existing : programs.Records())
    {
        if (FieldText(existing.name) == FieldText(record.name))
        {
            check.message = EditorMessage::DuplicateName;
            return check;
        }
        if (SameSchedule(existing, record))
        {
            check.message = EditorMessage::DuplicateSchedule;
            return check;
        }
    }
    return check;
}

ProgramInfo DescribeProgram(const ProgramRecord* record)
{
    if (!record)
        return {"Aucun nom",    "Aucun média",         "Aucun jour",
                "Aucune heure", "Aucune confirmation", "Aucune répétition"};

    ProgramInfo info;
    info.name = std::string(FieldText(record->name));
    info.mediaTitle = std::string(FieldText(record->media.title));
    for (std::size_t day = 0; day < DaysPerWeek; ++day)
    {
        if (record->days[day] == 0)
            continue;
        if (!info.days.empty())
            info.days += ", ";
        info.days += DayNames[day];
    }
    info.time = DecimalText(record->hour) + " h et " + DecimalText(record->minute) + " min.";
    info.confirm = record->confirm ? "Confirmation : Oui" : "Confirmation : Non";
    info.repeat = record->repeat ? "Répétition : Oui" : "Répétition : Non";
    return info;
}

bool MayHoldEqualNames(const ProgramList& programs)
{
    // Equal hashes are taken as equal names: a rare collision only costs a fresh fill.
    std::vector<std::uint64_t> hashes;
    hashes.reserve(programs.Size());
    for (const ProgramRecord& record : programs.Records())
        hashes.push_back(LooseHash(FieldText(record.name)));
    std::sort(hashes.begin(), hashes.end());
    return std::adjacent_find(hashes.begin(), hashes.end()) != hashes.end();
}

std::size_t SelectionAfterRemoval(std::size_t selected, std::size_t removed)
{
    if (selected == removed)
        return static_cast<std::size_t>(-1);
    return selected > removed ? selected - 1 : selected;
}
