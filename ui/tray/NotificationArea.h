#pragma once

#include <cstdint>

// A screen rectangle in pixels, laid out as the system's RECT.
struct ScreenRect
{
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

// The screen edge an app-bar query reports for the taskbar (the system's ABE_ values).
enum AppBarEdge : std::uint32_t
{
    AppBarEdgeLeft = 0,
    AppBarEdgeTop = 1,
    AppBarEdgeRight = 2,
    AppBarEdgeBottom = 3,
};

// Narrows the area found so far with one descendant of the taskbar, given its class name and window
// rectangle. Returns false once the clock has been met and the enumeration should stop.
bool ProbeTaskbarChild(const char* className, const ScreenRect& child, ScreenRect& area);

// Places the notification area at the end of a taskbar reported by the app-bar query. Returns false and
// leaves the area alone when the edge is none of the four.
bool PlaceAreaOnAppBar(std::uint32_t edge, const ScreenRect& taskbar, ScreenRect& area);

// The 150 by 30 pixel box in the bottom-right corner of the work area, the last resort.
ScreenRect CornerOfWorkArea(const ScreenRect& workArea);
