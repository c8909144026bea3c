#include "base/Text.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace
{

// Bytes 0x80-0x9F of code page 1252; every other byte is the character of the same value (ASCII and
// Latin-1). The five undefined bytes keep their own values, as Windows' table gives them.
constexpr char16_t HighRow[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

struct BestFit
{
    char16_t unit;
    unsigned char byte;
};

// Windows' best fit for code page 1252 (Microsoft's published "bestfit1252" table), the characters beyond
// the code page itself, in order; the fullwidth forms U+FF01-U+FF5E, which become their ASCII characters,
// are a rule of their own below.
constexpr BestFit BestFits[] = {
    {0x0100, 'A'},  {0x0101, 'a'},  {0x0102, 'A'},  {0x0103, 'a'},  {0x0104, 'A'},  {0x0105, 'a'},
    {0x0106, 'C'},  {0x0107, 'c'},  {0x0108, 'C'},  {0x0109, 'c'},  {0x010A, 'C'},  {0x010B, 'c'},
    {0x010C, 'C'},  {0x010D, 'c'},  {0x010E, 'D'},  {0x010F, 'd'},  {0x0110, 0xD0}, {0x0111, 'd'},
    {0x0112, 'E'},  {0x0113, 'e'},  {0x0114, 'E'},  {0x0115, 'e'},  {0x0116, 'E'},  {0x0117, 'e'},
    {0x0118, 'E'},  {0x0119, 'e'},  {0x011A, 'E'},  {0x011B, 'e'},  {0x011C, 'G'},  {0x011D, 'g'},
    {0x011E, 'G'},  {0x011F, 'g'},  {0x0120, 'G'},  {0x0121, 'g'},  {0x0122, 'G'},  {0x0123, 'g'},
    {0x0124, 'H'},  {0x0125, 'h'},  {0x0126, 'H'},  {0x0127, 'h'},  {0x0128, 'I'},  {0x0129, 'i'},
    {0x012A, 'I'},  {0x012B, 'i'},  {0x012C, 'I'},  {0x012D, 'i'},  {0x012E, 'I'},  {0x012F, 'i'},
    {0x0130, 'I'},  {0x0131, 'i'},  {0x0134, 'J'},  {0x0135, 'j'},  {0x0136, 'K'},  {0x0137, 'k'},
    {0x0139, 'L'},  {0x013A, 'l'},  {0x013B, 'L'},  {0x013C, 'l'},  {0x013D, 'L'},  {0x013E, 'l'},
    {0x0141, 'L'},  {0x0142, 'l'},  {0x0143, 'N'},  {0x0144, 'n'},  {0x0145, 'N'},  {0x0146, 'n'},
    {0x0147, 'N'},  {0x0148, 'n'},  {0x014C, 'O'},  {0x014D, 'o'},  {0x014E, 'O'},  {0x014F, 'o'},
    {0x0150, 'O'},  {0x0151, 'o'},  {0x0154, 'R'},  {0x0155, 'r'},  {0x0156, 'R'},  {0x0157, 'r'},
    {0x0158, 'R'},  {0x0159, 'r'},  {0x015A, 'S'},  {0x015B, 's'},  {0x015C, 'S'},  {0x015D, 's'},
    {0x015E, 'S'},  {0x015F, 's'},  {0x0162, 'T'},  {0x0163, 't'},  {0x0164, 'T'},  {0x0165, 't'},
    {0x0166, 'T'},  {0x0167, 't'},  {0x0168, 'U'},  {0x0169, 'u'},  {0x016A, 'U'},  {0x016B, 'u'},
    {0x016C, 'U'},  {0x016D, 'u'},  {0x016E, 'U'},  {0x016F, 'u'},  {0x0170, 'U'},  {0x0171, 'u'},
    {0x0172, 'U'},  {0x0173, 'u'},  {0x0174, 'W'},  {0x0175, 'w'},  {0x0176, 'Y'},  {0x0177, 'y'},
    {0x0179, 'Z'},  {0x017A, 'z'},  {0x017B, 'Z'},  {0x017C, 'z'},  {0x0180, 'b'},  {0x0189, 0xD0},
    {0x0191, 0x83}, {0x0197, 'I'},  {0x019A, 'l'},  {0x019F, 'O'},  {0x01A0, 'O'},  {0x01A1, 'o'},
    {0x01AB, 't'},  {0x01AE, 'T'},  {0x01AF, 'U'},  {0x01B0, 'u'},  {0x01B6, 'z'},  {0x01C0, '|'},
    {0x01C3, '!'},  {0x01CD, 'A'},  {0x01CE, 'a'},  {0x01CF, 'I'},  {0x01D0, 'i'},  {0x01D1, 'O'},
    {0x01D2, 'o'},  {0x01D3, 'U'},  {0x01D4, 'u'},  {0x01D5, 'U'},  {0x01D6, 'u'},  {0x01D7, 'U'},
    {0x01D8, 'u'},  {0x01D9, 'U'},  {0x01DA, 'u'},  {0x01DB, 'U'},  {0x01DC, 'u'},  {0x01DE, 'A'},
    {0x01DF, 'a'},  {0x01E4, 'G'},  {0x01E5, 'g'},  {0x01E6, 'G'},  {0x01E7, 'g'},  {0x01E8, 'K'},
    {0x01E9, 'k'},  {0x01EA, 'O'},  {0x01EB, 'o'},  {0x01EC, 'O'},  {0x01ED, 'o'},  {0x01F0, 'j'},
    {0x0261, 'g'},  {0x02B9, '\''}, {0x02BA, '"'},  {0x02BC, '\''}, {0x02C4, '^'},  {0x02C8, '\''},
    {0x02C9, 0xAF}, {0x02CA, 0xB4}, {0x02CB, '`'},  {0x02CD, '_'},  {0x02DA, 0xB0}, {0x0300, '`'},
    {0x0301, 0xB4}, {0x0302, '^'},  {0x0303, '~'},  {0x0304, 0xAF}, {0x0305, 0xAF}, {0x0308, 0xA8},
    {0x030A, 0xB0}, {0x030E, '"'},  {0x0327, 0xB8}, {0x0331, '_'},  {0x0332, '_'},  {0x037E, ';'},
    {0x0393, 'G'},  {0x0398, 'T'},  {0x03A3, 'S'},  {0x03A6, 'F'},  {0x03A9, 'O'},  {0x03B1, 'a'},
    {0x03B2, 0xDF}, {0x03B4, 'd'},  {0x03B5, 'e'},  {0x03BC, 0xB5}, {0x03C0, 'p'},  {0x03C3, 's'},
    {0x03C4, 't'},  {0x03C6, 'f'},  {0x04BB, 'h'},  {0x0589, ':'},  {0x066A, '%'},  {0x2000, 0x20},
    {0x2001, 0x20}, {0x2002, 0x20}, {0x2003, 0x20}, {0x2004, 0x20}, {0x2005, 0x20}, {0x2006, 0x20},
    {0x2010, '-'},  {0x2011, '-'},  {0x2017, '='},  {0x2024, 0xB7}, {0x2032, '\''}, {0x2035, '`'},
    {0x2044, '/'},  {0x2070, 0xB0}, {0x2074, '4'},  {0x2075, '5'},  {0x2076, '6'},  {0x2077, '7'},
    {0x2078, '8'},  {0x207F, 'n'},  {0x2080, '0'},  {0x2081, '1'},  {0x2082, '2'},  {0x2083, '3'},
    {0x2084, '4'},  {0x2085, '5'},  {0x2086, '6'},  {0x2087, '7'},  {0x2088, '8'},  {0x2089, '9'},
    {0x20A1, 0xA2}, {0x20A4, 0xA3}, {0x20A7, 'P'},  {0x2102, 'C'},  {0x2107, 'E'},  {0x210A, 'g'},
    {0x210B, 'H'},  {0x210C, 'H'},  {0x210D, 'H'},  {0x210E, 'h'},  {0x2110, 'I'},  {0x2111, 'I'},
    {0x2112, 'L'},  {0x2113, 'l'},  {0x2115, 'N'},  {0x2118, 'P'},  {0x2119, 'P'},  {0x211A, 'Q'},
    {0x211B, 'R'},  {0x211C, 'R'},  {0x211D, 'R'},  {0x2124, 'Z'},  {0x2128, 'Z'},  {0x212A, 'K'},
    {0x212B, 0xC5}, {0x212C, 'B'},  {0x212D, 'C'},  {0x212E, 'e'},  {0x212F, 'e'},  {0x2130, 'E'},
    {0x2131, 'F'},  {0x2133, 'M'},  {0x2134, 'o'},  {0x2205, 0xD8}, {0x2212, '-'},  {0x2213, 0xB1},
    {0x2215, '/'},  {0x2216, '\\'}, {0x2217, '*'},  {0x2218, 0xB0}, {0x2219, 0xB7}, {0x221A, 'v'},
    {0x221E, '8'},  {0x2223, '|'},  {0x2229, 'n'},  {0x2236, ':'},  {0x223C, '~'},  {0x2248, 0x98},
    {0x2261, '='},  {0x2264, '='},  {0x2265, '='},  {0x226A, 0xAB}, {0x226B, 0xBB}, {0x22C5, 0xB7},
    {0x2302, 0xA6}, {0x2303, '^'},  {0x2310, 0xAC}, {0x2320, '('},  {0x2321, ')'},  {0x2329, '<'},
    {0x232A, '>'},  {0x2500, '-'},  {0x2502, 0xA6}, {0x250C, '+'},  {0x2510, '+'},  {0x2514, '+'},
    {0x2518, '+'},  {0x251C, '+'},  {0x2524, 0xA6}, {0x252C, '-'},  {0x2534, '-'},  {0x253C, '+'},
    {0x2550, '-'},  {0x2551, 0xA6}, {0x2552, '+'},  {0x2553, '+'},  {0x2554, '+'},  {0x2555, '+'},
    {0x2556, '+'},  {0x2557, '+'},  {0x2558, '+'},  {0x2559, '+'},  {0x255A, '+'},  {0x255B, '+'},
    {0x255C, '+'},  {0x255D, '+'},  {0x255E, 0xA6}, {0x255F, 0xA6}, {0x2560, 0xA6}, {0x2561, 0xA6},
    {0x2562, 0xA6}, {0x2563, 0xA6}, {0x2564, '-'},  {0x2565, '-'},  {0x2566, '-'},  {0x2567, '-'},
    {0x2568, '-'},  {0x2569, '-'},  {0x256A, '+'},  {0x256B, '+'},  {0x256C, '+'},  {0x2580, 0xAF},
    {0x2584, '_'},  {0x2588, 0xA6}, {0x258C, 0xA6}, {0x2590, 0xA6}, {0x2591, 0xA6}, {0x2592, 0xA6},
    {0x2593, 0xA6}, {0x25A0, 0xA6}, {0x263C, 0xA4}, {0x2758, '|'},  {0x3000, 0x20}, {0x3008, '<'},
    {0x3009, '>'},  {0x300A, 0xAB}, {0x300B, 0xBB}, {0x301A, '['},  {0x301B, ']'},  {0x30FB, 0xB7}};

constexpr char16_t FullwidthFirst = 0xFF01;
constexpr char16_t FullwidthLast = 0xFF5E;
constexpr char16_t FullwidthOffset = 0xFEE0;

constexpr char DefaultByte = '?';
constexpr char32_t Replacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80)
        out += static_cast<char>(code);
    else if (code < 0x800)
    {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
    else if (code < 0x10000)
    {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
    else
    {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

void AppendUtf16(std::wstring& out, char32_t code)
{
    if (code < 0x10000)
        out += static_cast<wchar_t>(code);
    else
    {
        code -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (code >> 10));
        out += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
    }
}

// The character that starts at `at` in UTF-8, moving `at` past it; U+FFFD for a byte that starts no valid
// sequence (an overlong form, a code beyond U+10FFFF, a cut sequence), which then moves one byte on. A lone
// surrogate's three bytes are valid here: they are how PathFromWide writes one.
char32_t NextCode(std::string_view text, std::size_t& at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    char32_t code = 0;
    char32_t smallest = 0;
    if (lead < 0x80)
    {
        ++at;
        return lead;
    }
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2, code = lead & 0x1F, smallest = 0x80;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, code = lead & 0x0F, smallest = 0x800;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, code = lead & 0x07, smallest = 0x10000;
    if (length == 0 || at + length > text.size())
    {
        ++at;
        return Replacement;
    }
    for (std::size_t i = 1; i < length; ++i)
    {
        if ((byte(at + i) & 0xC0) != 0x80)
        {
            ++at;
            return Replacement;
        }
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    if (code < smallest || code > 0x10FFFF)
    {
        ++at;
        return Replacement;
    }
    at += length;
    return code;
}

} // namespace

std::wstring TextToWide(std::string_view text)
{
    std::wstring wide;
    wide.reserve(text.size());
    for (const char c : text)
    {
        const auto byte = static_cast<unsigned char>(c);
        wide += static_cast<wchar_t>(byte >= 0x80 && byte < 0xA0 ? HighRow[byte - 0x80] : byte);
    }
    return wide;
}

char TextByteFor(wchar_t wideUnit)
{
    const auto unit = static_cast<char32_t>(wideUnit);
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return static_cast<char>(unit);
    const auto high = std::find(std::begin(HighRow), std::end(HighRow), unit);
    if (high != std::end(HighRow))
        return static_cast<char>(0x80 + (high - std::begin(HighRow)));
    if (unit >= FullwidthFirst && unit <= FullwidthLast)
        return static_cast<char>(unit - FullwidthOffset);
    const auto fit =
        std::lower_bound(std::begin(BestFits), std::end(BestFits), unit,
                         [](const BestFit& entry, char32_t wanted) { return entry.unit < wanted; });
    return fit != std::end(BestFits) && fit->unit == unit ? static_cast<char>(fit->byte) : DefaultByte;
}

std::string TextFromWide(std::wstring_view text)
{
    std::string narrow;
    narrow.reserve(text.size());
    for (const wchar_t unit : text)
        narrow += TextByteFor(unit);
    return narrow;
}

std::wstring PathToWide(std::string_view path)
{
    std::wstring wide;
    wide.reserve(path.size());
    for (std::size_t at = 0; at < path.size();)
        AppendUtf16(wide, NextCode(path, at));
    return wide;
}

std::string PathFromWide(std::wstring_view path)
{
    std::string utf8;
    utf8.reserve(path.size());
    for (std::size_t at = 0; at < path.size(); ++at)
    {
        const auto unit = static_cast<char32_t>(path[at]) & 0xFFFF;
        const bool pairs = unit >= 0xD800 && unit <= 0xDBFF && at + 1 < path.size() &&
                           (static_cast<char32_t>(path[at + 1]) & 0xFC00) == 0xDC00;
        if (pairs)
        {
            const auto low = static_cast<char32_t>(path[++at]) & 0x3FF;
            AppendUtf8(utf8, 0x10000 + ((unit - 0xD800) << 10) + low);
        }
        else
            AppendUtf8(utf8, unit);
    }
    return utf8;
}

std::size_t WideLength(std::string_view path)
{
    std::size_t units = 0;
    for (std::size_t at = 0; at < path.size();)
        units += NextCode(path, at) < 0x10000 ? 1 : 2;
    return units;
}
