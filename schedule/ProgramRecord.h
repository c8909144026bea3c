#pragma once

#include <cstddef>
#include <cstdint>

// Every text of a record or media entry lives in a 260-byte field: at most 259 characters and a zero.
constexpr std::size_t TextFieldSize = 260;
constexpr std::size_t DaysPerWeek = 7;

#pragma pack(push, 1)

// One media entry as offered by a media list file: what a programme plays.
struct MediaEntry
{
    char title[TextFieldSize];
    char pageUrl[TextFieldSize];
    char streamUrl[TextFieldSize];
};

// One programme, the same 1054 bytes in memory and in the programme file (little-endian, unpadded).
struct ProgramRecord
{
    char name[TextFieldSize];
    MediaEntry media;
    std::uint8_t days[DaysPerWeek]; // index 0 = Monday; any non-zero value counts as set
    std::uint8_t reserved;
    std::int16_t hour;
    std::int16_t minute;
    std::uint8_t confirm;
    std::uint8_t repeat;
};

#pragma pack(pop)

static_assert(sizeof(MediaEntry) == 780);
static_assert(offsetof(MediaEntry, pageUrl) == 260);
static_assert(offsetof(MediaEntry, streamUrl) == 520);

static_assert(sizeof(ProgramRecord) == 1054);
static_assert(offsetof(ProgramRecord, name) == 0);
static_assert(offsetof(ProgramRecord, media) == 260);
static_assert(offsetof(ProgramRecord, media.pageUrl) == 520);
static_assert(offsetof(ProgramRecord, media.streamUrl) == 780);
static_assert(offsetof(ProgramRecord, days) == 1040);
static_assert(offsetof(ProgramRecord, reserved) == 1047);
static_assert(offsetof(ProgramRecord, hour) == 1048);
static_assert(offsetof(ProgramRecord, minute) == 1050);
static_assert(offsetof(ProgramRecord, confirm) == 1052);
static_assert(offsetof(ProgramRecord, repeat) == 1053);
