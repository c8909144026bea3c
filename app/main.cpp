#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/SingleInstance.h"

namespace
{

// The exit code of a command line that asks for nothing this program does: no scheduler is started.
constexpr int RefusedCommandLine = 2;

} // namespace

// The show command is ignored: the program always starts in the notification area. "/quit" ends the
// scheduler running in this session instead (installers use it); "/autostart on|off" changes the start with
// Windows (the activation switch runs it with administrator rights). Both come before the scheduler's mutex.
// The command line is read whole, as Windows programs read theirs, the program's own name first.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    switch (ReadStartRequest(GetCommandLineW()))
    {
    case StartRequest::Quit: return QuitRunningInstance();
    case StartRequest::AutostartOn: return SwitchAutostart(instance, true);
    case StartRequest::AutostartOff: return SwitchAutostart(instance, false);
    case StartRequest::Refused: return RefusedCommandLine;
    case StartRequest::Run: break;
    }
    return RunApplication(instance);
}

#if defined(__GLIBCXX__)
#include <cstdlib>
// An exception that nothing catches ends the program. libstdc++'s default handler would first print the
// exception's demangled type to a console that a GUI program does not have, and its demangler alone is a
// tenth of the executable.
namespace __gnu_cxx
{
void __verbose_terminate_handler()
{
    std::abort();
}
} // namespace __gnu_cxx
#endif
