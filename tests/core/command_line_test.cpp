#include "app/CommandLine.h"

#include "CommandLineCases.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

std::string Printable(const std::wstring& text)
{
    std::string shown;
    for (wchar_t c : text)
        shown += c < 0x80 ? static_cast<char>(c) : '?';
    return shown;
}

} // namespace

TEST(CommandLine, IsReadAsWindowsReadsItAndOnlyTheProgramsOwnOptionsAreTaken)
{
    for (const CommandLineCase& c : CommandLineCases())
    {
        SCOPED_TRACE(Printable(c.commandLine));
        EXPECT_EQ(SplitCommandLine(c.commandLine), c.arguments);
        EXPECT_EQ(ReadStartRequest(c.commandLine), c.request);
    }
}
