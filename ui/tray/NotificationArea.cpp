#include "ui/tray/NotificationArea.h"

#include <cstring>

namespace
{

// A clock this far above the area's bottom sits on a vertical taskbar, not at the end of a horizontal one.
constexpr std::int32_t ClockBottomMargin = 5;

// Where the notification area usually lies on a taskbar reported by the app-bar query: between these
// distances from the taskbar's far end.
constexpr std::int32_t AppBarAreaStart = 100;
constexpr std::int32_t AppBarAreaEnd = 16;

constexpr std::int32_t WorkAreaBoxWidth = 150;
constexpr std::int32_t WorkAreaBoxHeight = 30;

} // namespace

bool ProbeTaskbarChild(const char* className, const ScreenRect& child, ScreenRect& area)
{
    if (std::strcmp(className, "TrayNotifyWnd") == 0)
    {
        area = child;
        return true;
    }
    if (std::strcmp(className, "TrayClockWClass") == 0)
    {
        if (child.bottom < area.bottom - ClockBottomMargin)
            area.top = child.bottom;
        else
            area.right = child.left;
        return false;
    }
    return true;
}

bool PlaceAreaOnAppBar(std::uint32_t edge, const ScreenRect& taskbar, ScreenRect& area)
{
    switch (edge)
    {
    case AppBarEdgeLeft:
    case AppBarEdgeRight:
        area = {taskbar.left, taskbar.bottom - AppBarAreaStart, taskbar.right,
                taskbar.bottom - AppBarAreaEnd};
        return true;
    case AppBarEdgeTop:
    case AppBarEdgeBottom:
        area = {taskbar.right - AppBarAreaStart, taskbar.top, taskbar.right - AppBarAreaEnd, taskbar.bottom};
        return true;
    default: return false;
    }
}

ScreenRect CornerOfWorkArea(const ScreenRect& workArea)
{
    return {workArea.right - WorkAreaBoxWidth, workArea.bottom - WorkAreaBoxHeight, workArea.right,
            workArea.bottom};
}
