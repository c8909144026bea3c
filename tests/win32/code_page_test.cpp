// The program's own code page 1252 rules against Windows' conversions with code page 1252 named: every byte,
// and every UTF-16 unit with Windows' best fit (the default of WideCharToMultiByte).
#include "base/Text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

TEST(CodePage1252, EveryByteConvertsAsWindowsConvertsIt)
{
    for (unsigned byte = 0; byte < 256; ++byte)
    {
        const char text = static_cast<char>(byte);
        wchar_t windows = 0;
        ASSERT_EQ(MultiByteToWideChar(1252, 0, &text, 1, &windows, 1), 1);
        EXPECT_EQ(TextToWide(std::string(1, text)), std::wstring(1, windows)) << "byte " << byte;
    }
}

TEST(CodePage1252, EveryUtf16UnitBecomesTheByteOfWindowsBestFit)
{
    int differences = 0;
    for (unsigned unit = 0; unit < 0x10000; ++unit)
    {
        const wchar_t wide = static_cast<wchar_t>(unit);
        char windows = 0;
        ASSERT_EQ(WideCharToMultiByte(1252, 0, &wide, 1, &windows, 1, nullptr, nullptr), 1);
        if (TextByteFor(wide) != windows && ++differences <= 10)
            ADD_FAILURE() << "U+" << std::hex << unit << ": 0x" << (TextByteFor(wide) & 0xFF)
                          << " instead of 0x" << (windows & 0xFF);
    }
    EXPECT_EQ(differences, 0);
}
