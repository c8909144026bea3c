#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The text form the media-list tool builds files from: one entry per line,
// title<TAB>pageUrl<TAB>streamUrl[<TAB>entryKind], in UTF-8, converted to the files' code page 1252.

struct SourceEntry
{
    std::string title; // code page 1252 bytes
    std::string pageUrl;
    std::string streamUrl;
    unsigned entryKind = 0;
};

// What the tool says of one line of the text.
struct SourceError
{
    std::size_t line = 0; // 1-based
    std::string message;  // "field: reason"
};

struct SourceReport
{
    std::vector<SourceError> errors;   // lines that make no entry: nothing may be written
    std::vector<SourceError> warnings; // entries the file may hold but the scheduler will never offer
};

// Converts UTF-8 to code page 1252. On failure returns false with `problem` saying why (invalid UTF-8, a
// character the code page lacks, a zero character).
bool Utf8ToCp1252(std::string_view utf8, std::string& cp1252, std::string& problem);

// Converts code page 1252 to UTF-8; the five bytes the code page leaves undefined become U+0081, U+008D,
// U+008F, U+0090 and U+009D, as Windows converts them (Utf8ToCp1252 refuses those back: no text should hold
// them).
std::string Cp1252ToUtf8(std::string_view cp1252);

// Reads every entry of the text (a leading byte-order mark, CR LF line ends and empty lines are fine) and
// reports every bad line: a missing or extra field, a field of 260 bytes or more once converted, a
// character outside code page 1252, or an entry kind that is not a number from 0 to 65535. Warns of each
// entry that the scheduler will not offer (entry kind 2, an empty title, an empty stream address). True
// when no line is bad.
bool ParseMediaListSource(std::string_view text, std::vector<SourceEntry>& entries, SourceReport& report);

// The bytes of a media list file holding the entries in order: header values 1 and 64, one record each.
std::vector<unsigned char> MediaListImage(const std::vector<SourceEntry>& entries);
