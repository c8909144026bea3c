#pragma once

#include "schedule/MediaEntries.h"
#include "schedule/ProgramList.h"
#include "schedule/ProgramRecord.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the definition controls hold when the user presses "Ajouter".
struct ProgramInput
{
    std::string name;                         // the name edit's text
    std::optional<std::uintptr_t> mediaIndex; // item data of the selected media item; none without selection
    bool days[DaysPerWeek] = {};              // index 0 = Monday
    std::string hourText;
    std::string minuteText;
    bool confirm = true;
    bool repeat = true;
};

// The editor's messages, in the order its checks run.
enum class EditorMessage
{
    None,
    NoName,
    NoMedia,
    NoDay,
    HourOutOfRange,
    MinuteOutOfRange,
    DuplicateName,
    DuplicateSchedule,
    NoProgramSelected,
};

const char* MessageText(EditorMessage message);
// The duplicate messages are warnings; every other one is an error.
bool IsWarning(EditorMessage message);

struct AddCheck
{
    EditorMessage message = EditorMessage::None;
    ProgramRecord record{}; // the new programme, when message is None
};

// Runs the checks of "Ajouter" in their order and gives the first failing message, or the new record.
AddCheck CheckNewProgram(const ProgramInput& input, const MediaEntries& media, const ProgramList& programs);

// Converts an hour or minute text as strtod does (leading blanks skipped, longest number prefix, 0 when there
// is none), truncated toward zero. None when the number is not finite or does not fit a 32-bit integer: such
// a text counts as out of range instead of overflowing.
std::optional<std::int32_t> ParseTimeField(const std::string& text);

// The six texts of the information panel for a programme, or the placeholders for none.
struct ProgramInfo
{
    std::string name;
    std::string mediaTitle;
    std::string days;
    std::string time;
    std::string confirm;
    std::string repeat;
};

ProgramInfo DescribeProgram(const ProgramRecord* record);

// Where the list box's selection goes when the record at position `removed` leaves the list: the selected
// record (at `selected`) stays selected wherever it moved; when it is the one removed, nothing is selected
// (a position past any record).
std::size_t SelectionAfterRemoval(std::size_t selected, std::size_t removed);
