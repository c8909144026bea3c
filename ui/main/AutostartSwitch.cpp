#include "ui/main/AutostartSwitch.h"

#include "base/System_win.h"
#include "resources/resource.h"
#include "schedule/Settings_win.h"
#include "ui/framework/AppGlobals.h"

#include <objbase.h>
#include <shellapi.h>

#include <atomic>

namespace
{

// ShellExecuteEx may hand the request to shell extensions, which want COM on the calling thread. ole32 is
// loaded only on this rare path, not at every start.
void InitializeComForShell()
{
    using CoInitializeExFn = HRESULT(WINAPI*)(void*, DWORD);
    const HMODULE ole = LoadLibraryA("ole32.dll");
    const auto initialize = reinterpret_cast<CoInitializeExFn>(
        reinterpret_cast<void*>(ole ? GetProcAddress(ole, "CoInitializeEx") : nullptr));
    if (initialize)
        initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
}

UniqueKernelHandle StartElevatedRun(HWND owner, bool on, DWORD& error)
{
    const std::string path = ModulePath();
    if (path.empty())
    {
        error = ERROR_INSUFFICIENT_BUFFER;
        return UniqueKernelHandle();
    }
    InitializeComForShell();
    // The process is kept to read its exit code; the shell shows no error box of its own, the switch tells.
    return UniqueKernelHandle(ShellRun(owner, L"runas", path, on ? "/autostart on" : "/autostart off",
                                       SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC,
                                       SW_HIDE, error));
}

} // namespace

// What the switch's thread and the window share: the thread fills `outcome` and then sets `ended`.
struct AutostartSwitch::Run
{
    HWND window;
    bool on;
    std::function<UniqueKernelHandle(HWND, bool, DWORD&)> start;
    AutostartSwitch::Outcome outcome = AutostartSwitch::Outcome::Failed;
    std::atomic<bool> ended{false};
};

AutostartSwitch::AutostartSwitch()
    : write([](bool on) { return SetAutostartEntry(AppCaption, on); }), startElevated(StartElevatedRun)
{
}

// A run still pending when the program ends is left to its thread, which holds its own share of it.
AutostartSwitch::~AutostartSwitch() = default;

AutostartSwitch::Outcome AutostartSwitch::Change(HWND window, bool on)
{
    if (run)
        return Outcome::Failed;
    // The machine-wide Run key is never redirected for a program without administrator rights: where the
    // user may not write it, this program is run once more with those rights (one prompt of the system).
    const LONG direct = write(on);
    if (direct != ERROR_ACCESS_DENIED)
        return direct == ERROR_SUCCESS ? Outcome::Done : Outcome::Failed;

    auto pending = std::make_shared<Run>();
    pending->window = window;
    pending->on = on;
    pending->start = startElevated;
    // The thread gets a share of its own, so that nothing it touches goes away before it ends.
    auto* share = new std::shared_ptr<Run>(pending);
    const UniqueKernelHandle thread{CreateThread(nullptr, 0, Wait, share, 0, nullptr)};
    if (!thread)
    {
        delete share;
        return Outcome::Failed;
    }
    run = std::move(pending);
    return Outcome::Pending;
}

DWORD WINAPI AutostartSwitch::Wait(void* parameter)
{
    const std::unique_ptr<std::shared_ptr<Run>> share(static_cast<std::shared_ptr<Run>*>(parameter));
    Run& pending = **share;
    DWORD error = ERROR_SUCCESS;
    const UniqueKernelHandle process = pending.start(pending.window, pending.on, error);
    DWORD exitCode = 1;
    if (process && WaitForSingleObject(process.Get(), INFINITE) == WAIT_OBJECT_0 &&
        GetExitCodeProcess(process.Get(), &exitCode) && exitCode == 0)
        pending.outcome = Outcome::Done;
    pending.ended = true;
    PostMessageA(pending.window, WM_COMMAND, ID_AUTOSTART_ENDED, 0);
    return 0;
}

AutostartSwitch::Outcome AutostartSwitch::Finish()
{
    if (!run || !run->ended)
        return run ? Outcome::Pending : Outcome::Failed;
    const Outcome outcome = run->outcome;
    run.reset();
    return outcome;
}
