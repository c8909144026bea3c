// The command-line table against the system's own reader: the scheduler's portable reader is held to the
// same table natively.
#include "../core/CommandLineCases.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

TEST(CommandLine, TheTableSplitsEachLineAsCommandLineToArgvWDoes)
{
    for (const CommandLineCase& c : CommandLineCases())
    {
        int count = 0;
        LPWSTR* read = CommandLineToArgvW(c.commandLine, &count);
        ASSERT_NE(read, nullptr);
        // The first is the program's name.
        const std::vector<std::wstring> arguments(read + 1, read + count);
        LocalFree(read);
        EXPECT_EQ(arguments, c.arguments) << "line " << &c - CommandLineCases().data();
    }
}
