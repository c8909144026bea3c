#include "ui/framework/Dpi.h"

#include "base/Handles_win.h"
#include "ui/framework/DpiScaling.h"

#include <utility>
#include <vector>

namespace
{

// A function of a system library already loaded by the process (user32, comctl32), or none.
template <typename Function> Function Lookup(const char* module, const char* name)
{
    const HMODULE library = GetModuleHandleA(module);
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(library ? GetProcAddress(library, name) : nullptr));
}

using DpiForWindowFunction = UINT(WINAPI*)(HWND);
using DpiForSystemFunction = UINT(WINAPI*)();
using AdjustForDpiFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using DialogBehaviorFunction = BOOL(WINAPI*)(HWND, DWORD, DWORD);
using LoadIconMetricFunction = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, HICON*);

// DIALOG_DPI_CHANGE_BEHAVIORS and DIALOG_CONTROL_DPI_CHANGE_BEHAVIORS.
constexpr DWORD DialogDisableAll = 0x0001;
constexpr DWORD ControlDisableFontUpdate = 0x0001;
constexpr DWORD ControlDisableRelayout = 0x0002;
constexpr int SmallIconMetric = 0; // LIM_SMALL

BOOL CALLBACK KeepControlAsItIs(HWND control, LPARAM setBehavior)
{
    const DWORD both = ControlDisableFontUpdate | ControlDisableRelayout;
    reinterpret_cast<DialogBehaviorFunction>(setBehavior)(control, both, both);
    return TRUE;
}

UniqueIcon LoadSmallIcon(HINSTANCE instance, int id)
{
    // The shell's own choice of size for notification icons (Windows Vista and later), else the same metric.
    static const auto loadIconMetric = Lookup<LoadIconMetricFunction>("comctl32.dll", "LoadIconMetric");
    HICON icon = nullptr;
    if (loadIconMetric && SUCCEEDED(loadIconMetric(instance, MAKEINTRESOURCEW(id), SmallIconMetric, &icon)))
        return UniqueIcon(icon);
    return UniqueIcon(static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON,
                                                    GetSystemMetrics(SM_CXSMICON),
                                                    GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
}

} // namespace

UINT SystemDpi()
{
    static const auto dpiForSystem = Lookup<DpiForSystemFunction>("user32.dll", "GetDpiForSystem");
    if (dpiForSystem)
        return dpiForSystem();
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : DefaultDpi;
}

UINT WindowDpi(HWND window)
{
    static const auto dpiForWindow = Lookup<DpiForWindowFunction>("user32.dll", "GetDpiForWindow");
    const UINT dpi = dpiForWindow && window ? dpiForWindow(window) : 0;
    return dpi ? dpi : SystemDpi();
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi)
{
    static const auto adjustForDpi = Lookup<AdjustForDpiFunction>("user32.dll", "AdjustWindowRectExForDpi");
    if (!adjustForDpi || !adjustForDpi(&rect, style, FALSE, exStyle, dpi))
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

void TakeOverDialogScaling(HWND dialog)
{
    static const auto dialogBehavior =
        Lookup<DialogBehaviorFunction>("user32.dll", "SetDialogDpiChangeBehavior");
    static const auto controlBehavior =
        Lookup<DialogBehaviorFunction>("user32.dll", "SetDialogControlDpiChangeBehavior");
    if (dialogBehavior)
        dialogBehavior(dialog, DialogDisableAll, DialogDisableAll);
    if (controlBehavior)
        EnumChildWindows(dialog, KeepControlAsItIs, reinterpret_cast<LPARAM>(controlBehavior));
}

HICON SmallIcon(HINSTANCE instance, int id)
{
    static std::vector<std::pair<int, UniqueIcon>> loaded;
    for (const auto& entry : loaded)
        if (entry.first == id)
            return entry.second.Get();
    loaded.emplace_back(id, LoadSmallIcon(instance, id));
    return loaded.back().second.Get();
}
