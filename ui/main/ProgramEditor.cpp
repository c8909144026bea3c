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
        if (SameName(existing, record))
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

std::size_t SelectionAfterRemoval(std::size_t selected, std::size_t removed)
{
    if (selected == removed)
        return static_cast<std::size_t>(-1);
    return selected > removed ? selected - 1 : selected;
}
