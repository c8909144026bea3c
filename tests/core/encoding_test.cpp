#include <gtest/gtest.h>

#include <string>

// The sources are UTF-8; both toolchains must turn the interface's texts into code page 1252 bytes.
TEST(Encoding, AccentedLiteralsAreCodePage1252Bytes)
{
    const std::string quit = "Êtes vous sûr de vouloir quitter l'application ?";
    ASSERT_EQ(quit.size(), 48u);                           // one byte per character, as in code page 1252
    EXPECT_EQ(static_cast<unsigned char>(quit[0]), 0xCA);  // Ê
    EXPECT_EQ(static_cast<unsigned char>(quit[11]), 0xFB); // û

    const std::string question = "Souhaitez vous écouter [";
    EXPECT_EQ(static_cast<unsigned char>(question[15]), 0xE9); // é
    EXPECT_EQ(static_cast<unsigned char>(std::string("médias")[1]), 0xE9);
}
