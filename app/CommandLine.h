#pragma once

#include <string>
#include <string_view>
#include <vector>

// What chronel.exe is started for. Installers end the running scheduler with "/quit", the activation switch
// runs "/autostart on|off" with administrator rights, a start without options runs the scheduler. Anything
// else is refused: a caller waiting for an option's answer must never meet a scheduler that does not end.
enum class StartRequest
{
    Run,
    Quit,         // "/quit"
    AutostartOn,  // "/autostart on"
    AutostartOff, // "/autostart off"
    Refused,      // an unknown or malformed option: nothing is done
};

// The arguments after the program's name in a whole command line (as GetCommandLineW gives it), split as
// CommandLineToArgvW splits them.
std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine);

// Options and their words in any case.
StartRequest ReadStartRequest(std::wstring_view commandLine);
