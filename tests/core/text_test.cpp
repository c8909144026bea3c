#include "base/Text.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

// Code page 1252 as Microsoft publishes it: bytes 0x80-0x9F, the five it leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) standing for the control characters of the same value. Every other byte is Latin-1.
const std::wstring HighRow = L"€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090‘’“”•–—˜™š›œ\u009DžŸ";

std::wstring Units(std::initializer_list<unsigned> units)
{
    std::wstring wide;
    for (unsigned unit : units)
        wide += static_cast<wchar_t>(unit);
    return wide;
}

} // namespace

TEST(Text, EveryByteHasItsCharacterAndComesBackAsItWent)
{
    ASSERT_EQ(HighRow.size(), 32u);
    for (unsigned byte = 0; byte < 256; ++byte)
    {
        const std::string text(1, static_cast<char>(byte));
        const wchar_t expected =
            byte >= 0x80 && byte < 0xA0 ? HighRow[byte - 0x80] : static_cast<wchar_t>(byte);
        EXPECT_EQ(TextToWide(text), std::wstring(1, expected)) << "byte " << byte;
        EXPECT_EQ(TextFromWide(std::wstring(1, expected)), text) << "byte " << byte;
    }
}

TEST(Text, CharactersOutsideCodePage1252BecomeWhatWindowsBestFitMakesOfThem)
{
    struct Case
    {
        std::wstring wide;
        std::string text;
    };
    const Case cases[] = {
        {L"Réveil à l'aube", "R\xE9veil \xE0 l'aube"},
        {L"Łódź", "L\xF3"
                  "dz"}, // ó is in the code page itself
        {L"Łukasz Ćwik", "Lukasz Cwik"},
        {L"Đurđevac", "\xD0urdevac"},
        {L"Иван", "????"},
        {L"音乐", "??"},
        {L"ＡＢＣ１２３", "ABC123"},
        {L"6′2″", "6'2?"},
        {L"α ≤ β", "a = \xDF"},
        {L"\u2002\u3000", "  "},
        {Units({0xD83C, 0xDFB5}), "??"}, // a character beyond U+FFFF: each half is unknown
        {Units({0xFF5F, 0xFF00}), "??"}, // just beyond the fullwidth ASCII forms
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextFromWide(c.wide), c.text) << "UTF-16 length " << c.wide.size();
}

TEST(Text, PathsGoBetweenUtf8AndUtf16UnitForUnit)
{
    struct Case
    {
        std::string utf8;
        std::wstring wide;
        std::size_t units;
    };
    const Case cases[] = {
        {u8"C:\\Users\\Łukasz\\AppData", L"C:\\Users\\Łukasz\\AppData", 23},
        {u8"D:\\Иван\\音乐\\liste.slv", L"D:\\Иван\\音乐\\liste.slv", 20},
        {u8"\U0001F3B5.slv", Units({0xD83C, 0xDFB5, '.', 's', 'l', 'v'}), 6},
        {u8"\uFFFD", Units({0xFFFD}), 1},
        {"", L"", 0},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(PathToWide(c.utf8), c.wide) << c.utf8;
        EXPECT_EQ(PathFromWide(c.wide), c.utf8) << c.utf8;
        EXPECT_EQ(WideLength(c.utf8), c.units) << c.utf8;
    }
}

TEST(Text, AUtf16UnitWithoutItsPairComesBackAndBrokenUtf8BecomesReplacementCharacters)
{
    // Windows allows such a unit in a file name: the path must still name that file.
    for (const std::wstring& name : {Units({'a', 0xD800, 'b'}), Units({0xDC00}), Units({'x', 0xDBFF})})
        EXPECT_EQ(PathToWide(PathFromWide(name)), name);

    const std::wstring replacement = Units({0xFFFD});
    struct Case
    {
        std::string utf8;
        std::wstring wide;
    };
    const Case cases[] = {
        {"caf\xE9", L"caf" + replacement},                                           // a code page 1252 byte
        {"\xC3", replacement},                                                       // a cut sequence
        {"\xC0\xAF", replacement + replacement},                                     // an overlong "/"
        {"\xF4\x90\x80\x80", replacement + replacement + replacement + replacement}, // beyond U+10FFFF
        {"\xE2\x82x", replacement + replacement + L"x"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PathToWide(c.utf8), c.wide);
}
