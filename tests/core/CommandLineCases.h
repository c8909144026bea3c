// Whole command lines (the program's name first, as GetCommandLineW gives them), the arguments Windows reads
// in them and what each asks chronel.exe for. The portable tests hold the scheduler's reader to this table;
// the Win32 tests hold the table to the system's own reader, CommandLineToArgvW.
#pragma once

#include "app/CommandLine.h"

#include <string>
#include <vector>

struct CommandLineCase
{
    const wchar_t* commandLine;
    std::vector<std::wstring> arguments;
    StartRequest request;
};

inline const std::vector<CommandLineCase>& CommandLineCases()
{
    using R = StartRequest;
    static const std::vector<CommandLineCase> cases = {
        // No option: the scheduler runs, from the Run value, the Start menu or the installer's shell start.
        {L"chronel.exe", {}, R::Run},
        {L"\"C:\\Program Files\\Merovia\\Sylvane Programmateur\\chronel.exe\"", {}, R::Run},
        {L"\"C:\\Program Files\\Merovia\\chronel.exe\"  \t", {}, R::Run},
        {L"\"C:\\dossier sans fin\\chronel.exe", {}, R::Run},
        // The program's name: no backslash rule, and it may touch the first argument.
        {L"\"C:\\Programmes\\\" /quit", {L"/quit"}, R::Quit},
        {L"\"C:\\Program Files\\chronel.exe\"/quit", {L"/quit"}, R::Quit},
        {L"   /quit", {L"/quit"}, R::Quit},
        // The options, in any case, between any blanks, quoted whole or in part.
        {L"chronel.exe /quit", {L"/quit"}, R::Quit},
        {L"chronel.exe \t/QUIT\t ", {L"/QUIT"}, R::Quit},
        {L"chronel.exe \"/quit\"", {L"/quit"}, R::Quit},
        {L"chronel.exe /qu\"IT\"", {L"/quIT"}, R::Quit},
        {L"chronel.exe \"/quit", {L"/quit"}, R::Quit},
        {L"chronel.exe /autostart on", {L"/autostart", L"on"}, R::AutostartOn},
        {L"chronel.exe /AutoStart\t\"OFF\"", {L"/AutoStart", L"OFF"}, R::AutostartOff},
        // Anything else is refused.
        {L"chronel.exe /quit now", {L"/quit", L"now"}, R::Refused},
        {L"chronel.exe /quit /quit", {L"/quit", L"/quit"}, R::Refused},
        {L"chronel.exe -quit", {L"-quit"}, R::Refused},
        {L"chronel.exe quit", {L"quit"}, R::Refused},
        {L"chronel.exe /qui", {L"/qui"}, R::Refused},
        {L"chronel.exe /quitter", {L"/quitter"}, R::Refused},
        {L"chronel.exe /QU\x0130T", {L"/QU\x0130T"}, R::Refused},
        {L"chronel.exe /foo", {L"/foo"}, R::Refused},
        {L"chronel.exe \"\"", {L""}, R::Refused},
        {L"chronel.exe \"/quit now\"", {L"/quit now"}, R::Refused},
        {L"chronel.exe /autostart", {L"/autostart"}, R::Refused},
        {L"chronel.exe /autostart maybe", {L"/autostart", L"maybe"}, R::Refused},
        {L"chronel.exe /autostart on off", {L"/autostart", L"on", L"off"}, R::Refused},
        {L"chronel.exe \"/autostart on\"", {L"/autostart on"}, R::Refused},
        {L"chronel.exe /autostarter on", {L"/autostarter", L"on"}, R::Refused},
        {L"chronel.exe /autostart:on", {L"/autostart:on"}, R::Refused},
        // Backslashes: literal unless a quote follows; 2n and a quote give n and a delimiter, 2n + 1 and a
        // quote give n and a literal quote.
        {L"chronel.exe C:\\a\\\\b\\", {L"C:\\a\\\\b\\"}, R::Refused},
        {L"chronel.exe \"C:\\dossier\\\\\" /quit", {L"C:\\dossier\\", L"/quit"}, R::Refused},
        {L"chronel.exe \"C:\\dossier\\\" /quit", {L"C:\\dossier\" /quit"}, R::Refused},
        {L"chronel.exe \\\\\\\"/quit", {L"\\\"/quit"}, R::Refused},
        {L"chronel.exe \\\"/quit\\\"", {L"\"/quit\""}, R::Refused},
        // Quotes in a row: a third one is a literal quote and ends the quoted part.
        {L"chronel.exe \"\"\"", {L"\""}, R::Refused},
        {L"chronel.exe \"a\"\"b c\"", {L"a\"b", L"c"}, R::Refused},
        {L"chronel.exe \"\"/quit\"\"", {L"/quit"}, R::Quit},
    };
    return cases;
}
