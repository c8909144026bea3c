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

struct SourceError
{
    std::size_t line = 0; // 1-based
    std::string message;
};

// Converts UTF-8 to code page 1252. On failure returns false with `problem` saying why (invalid UTF-8, a
// character the code page lacks, a zero character).
bool Utf8ToCp1252(std::string_view utf8, std::string& cp1252, std::string& problem);

// Reads every entry of the text (a leading byte-order mark, CR LF line ends and empty lines are fine).
// Stops at the first bad line: a missing or extra field, a field of 260 bytes or more once converted, a
// character outside code page 1252, or an entry kind that is not a number from 0 to 65535.
bool ParseMediaListSource(std::string_view text, std::vector<SourceEntry>& entries, SourceError& error);

// The bytes of a media list file holding the entries in order: header values 1 and 64, one record each.
std::vector<unsigned char> MediaListImage(const std::vector<SourceEntry>& entries);
