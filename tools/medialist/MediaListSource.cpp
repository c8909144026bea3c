#include "tools/medialist/MediaListSource.h"

#include "schedule/MediaListFile.h"

#include <cstdint>
#include <cstdio>

namespace
{

// Unicode code points of bytes 0x80..0x9F in code page 1252; 0 where the code page leaves a byte undefined.
constexpr char32_t Cp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

bool Cp1252Byte(char32_t codePoint, unsigned char& byte)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
    {
        byte = static_cast<unsigned char>(codePoint);
        return true;
    }
    for (unsigned i = 0; i < 32; ++i)
    {
        if (Cp1252High[i] != 0 && Cp1252High[i] == codePoint)
        {
            byte = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

std::string CodePointName(char32_t codePoint)
{
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(codePoint));
    return name;
}

// Decodes one UTF-8 sequence at `at`, rejecting overlong forms, surrogates and values past U+10FFFF.
bool DecodeUtf8(std::string_view text, std::size_t& at, char32_t& codePoint)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length;
    char32_t minimum;
    if (lead < 0x80)
    {
        codePoint = lead;
        ++at;
        return true;
    }
    if ((lead & 0xE0) == 0xC0)
        length = 2, minimum = 0x80, codePoint = lead & 0x1F;
    else if ((lead & 0xF0) == 0xE0)
        length = 3, minimum = 0x800, codePoint = lead & 0x0F;
    else if ((lead & 0xF8) == 0xF0)
        length = 4, minimum = 0x10000, codePoint = lead & 0x07;
    else
        return false;
    if (text.size() - at < length)
        return false;
    for (std::size_t i = 1; i < length; ++i)
    {
        if ((byte(at + i) & 0xC0) != 0x80)
            return false;
        codePoint = (codePoint << 6) | (byte(at + i) & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return false;
    at += length;
    return true;
}

bool ParseEntryKind(std::string_view text, unsigned& kind)
{
    if (text.empty() || text.size() > 5)
        return false;
    unsigned value = 0;
    for (char c : text)
    {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value > 0xFFFF)
        return false;
    kind = value;
    return true;
}

std::vector<std::string_view> SplitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;)
    {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(
            line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos)
            return fields;
        start = tab + 1;
    }
}

bool ParseLine(std::string_view line, SourceEntry& entry, std::string& problem)
{
    const std::vector<std::string_view> fields = SplitFields(line);
    if (fields.size() < 3)
    {
        problem = "missing field: expected title<TAB>pageUrl<TAB>streamUrl[<TAB>entryKind]";
        return false;
    }
    if (fields.size() > 4)
    {
        problem = "too many fields: expected title<TAB>pageUrl<TAB>streamUrl[<TAB>entryKind]";
        return false;
    }
    const char* const names[] = {"title", "pageUrl", "streamUrl"};
    std::string* const targets[] = {&entry.title, &entry.pageUrl, &entry.streamUrl};
    for (std::size_t i = 0; i < 3; ++i)
    {
        std::string why;
        if (!Utf8ToCp1252(fields[i], *targets[i], why))
        {
            problem = std::string(names[i]) + ": " + why;
            return false;
        }
        if (targets[i]->size() >= TextFieldSize)
        {
            problem = std::string(names[i]) + " is " + std::to_string(targets[i]->size()) +
                      " bytes long in code page 1252; at most " + std::to_string(TextFieldSize - 1) + " fit";
            return false;
        }
    }
    entry.entryKind = 0;
    if (fields.size() == 4 && !ParseEntryKind(fields[3], entry.entryKind))
    {
        problem = "entryKind \"" + std::string(fields[3]) + "\" is not a number from 0 to 65535";
        return false;
    }
    return true;
}

void PutField(unsigned char* record, std::size_t offset, const std::string& text)
{
    for (std::size_t i = 0; i < text.size() && i < TextFieldSize - 1; ++i)
        record[offset + i] = static_cast<unsigned char>(text[i]);
}

void PutU32(unsigned char* bytes, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
}

} // namespace

bool Utf8ToCp1252(std::string_view utf8, std::string& cp1252, std::string& problem)
{
    cp1252.clear();
    std::size_t at = 0;
    while (at < utf8.size())
    {
        char32_t codePoint;
        if (!DecodeUtf8(utf8, at, codePoint))
        {
            problem = "not valid UTF-8 at byte " + std::to_string(at + 1);
            return false;
        }
        unsigned char byte;
        if (codePoint == 0)
        {
            problem = "a zero character would end the text early";
            return false;
        }
        if (!Cp1252Byte(codePoint, byte))
        {
            problem = "character " + CodePointName(codePoint) + " is outside code page 1252";
            return false;
        }
        cp1252 += static_cast<char>(byte);
    }
    return true;
}

std::string Cp1252ToUtf8(std::string_view cp1252)
{
    std::string utf8;
    utf8.reserve(cp1252.size());
    for (const char c : cp1252)
    {
        const auto byte = static_cast<unsigned char>(c);
        char32_t codePoint = byte;
        if (byte >= 0x80 && byte < 0xA0 && Cp1252High[byte - 0x80] != 0)
            codePoint = Cp1252High[byte - 0x80];
        if (codePoint < 0x80)
        {
            utf8 += static_cast<char>(codePoint);
        }
        else if (codePoint < 0x800)
        {
            utf8 += static_cast<char>(0xC0 | (codePoint >> 6));
            utf8 += static_cast<char>(0x80 | (codePoint & 0x3F));
        }
        else
        {
            utf8 += static_cast<char>(0xE0 | (codePoint >> 12));
            utf8 += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (codePoint & 0x3F));
        }
    }
    return utf8;
}

bool ParseMediaListSource(std::string_view text, std::vector<SourceEntry>& entries, SourceReport& report)
{
    entries.clear();
    report = SourceReport();
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::size_t lineNumber = 0;
    while (!text.empty())
    {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty())
            continue;
        SourceEntry entry;
        std::string problem;
        if (!ParseLine(line, entry, problem))
        {
            report.errors.push_back({lineNumber, problem});
            continue;
        }
        // The scheduler's own test, in its order.
        const char* hidden = nullptr;
        if (entry.entryKind == MediaListLayout::SkippedEntryKind)
            hidden = "entryKind 2: the scheduler never offers such an entry";
        else if (entry.title.empty())
            hidden = "title: empty, so the scheduler will not show this entry";
        else if (entry.streamUrl.empty())
            hidden = "streamUrl: empty, so the scheduler will not show this entry";
        if (hidden)
            report.warnings.push_back({lineNumber, hidden});
        entries.push_back(std::move(entry));
    }
    return report.errors.empty();
}

std::vector<unsigned char> MediaListImage(const std::vector<SourceEntry>& entries)
{
    using namespace MediaListLayout;
    std::vector<unsigned char> image(HeaderSize + entries.size() * RecordSize, 0);
    PutU32(&image[0], 1);
    PutU32(&image[4], HeaderSize);
    unsigned char* record = image.data() + HeaderSize;
    for (const SourceEntry& entry : entries)
    {
        record[EntryKindOffset] = static_cast<unsigned char>(entry.entryKind & 0xFF);
        record[EntryKindOffset + 1] = static_cast<unsigned char>((entry.entryKind >> 8) & 0xFF);
        PutField(record, TitleOffset, entry.title);
        PutField(record, StreamUrlOffset, entry.streamUrl);
        PutField(record, PageUrlOffset, entry.pageUrl);
        record += RecordSize;
    }
    return image;
}
