#include "ui/tray/NotificationArea.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

// Found by argument-dependent lookup, so beside the rectangle type rather than in the unnamed namespace.
static bool operator==(const ScreenRect& a, const ScreenRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

static std::ostream& operator<<(std::ostream& out, const ScreenRect& r)
{
    return out << '(' << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ')';
}

namespace
{

struct Child
{
    const char* className;
    ScreenRect rect;
};

// Walks the taskbar's descendants in order, as the enumeration does, and reports how many were visited.
ScreenRect Probe(const ScreenRect& taskbar, const std::vector<Child>& children, size_t* visited)
{
    ScreenRect area = taskbar;
    *visited = 0;
    for (const Child& child : children)
    {
        ++*visited;
        if (!ProbeTaskbarChild(child.className, child.rect, area))
            break;
    }
    return area;
}

} // namespace

TEST(NotificationArea, ProbeNarrowsTheTaskbarToTheAreaWithoutTheClock)
{
    const ScreenRect bottomBar = {0, 738, 1024, 768};
    const ScreenRect rightBar = {964, 0, 1024, 768};
    struct Case
    {
        const char* name;
        ScreenRect taskbar;
        std::vector<Child> children;
        ScreenRect expected;
        size_t visited;
    };
    const std::vector<Case> cases = {
        {"horizontal taskbar, clock at the right end",
         bottomBar,
         {{"Button", {2, 740, 60, 766}},
          {"TrayNotifyWnd", {880, 740, 1022, 766}},
          {"ToolbarWindow32", {884, 742, 960, 764}},
          {"TrayClockWClass", {962, 742, 1020, 764}},
          {"TrayNotifyWnd", {0, 0, 1, 1}}},
         {880, 740, 962, 766},
         4},
        {"vertical taskbar, clock more than 5 pixels above the bottom",
         rightBar,
         {{"TrayNotifyWnd", {966, 600, 1022, 766}}, {"TrayClockWClass", {966, 600, 1022, 620}}},
         {966, 620, 1022, 766},
         2},
        {"clock bottom 6 pixels above the area's bottom",
         rightBar,
         {{"TrayNotifyWnd", {966, 600, 1022, 766}}, {"TrayClockWClass", {966, 740, 1022, 760}}},
         {966, 760, 1022, 766},
         2},
        {"clock bottom exactly 5 pixels above the area's bottom counts as the end of a horizontal area",
         rightBar,
         {{"TrayNotifyWnd", {966, 600, 1022, 766}}, {"TrayClockWClass", {970, 740, 1022, 761}}},
         {966, 600, 970, 766},
         2},
        {"no notification window before the clock: the clock is cut from the whole taskbar",
         bottomBar,
         {{"Button", {2, 740, 60, 766}}, {"TrayClockWClass", {962, 742, 1020, 764}}},
         {0, 738, 962, 768},
         2},
        {"no clock: the whole notification area remains",
         bottomBar,
         {{"TrayNotifyWnd", {880, 740, 1022, 766}}, {"ToolbarWindow32", {884, 742, 960, 764}}},
         {880, 740, 1022, 766},
         2},
        {"class names compare exactly and with case",
         bottomBar,
         {{"traynotifywnd", {880, 740, 1022, 766}},
          {"TrayNotifyWndX", {880, 740, 1022, 766}},
          {"TRAYCLOCKWCLASS", {962, 742, 1020, 764}},
          {"", {1, 1, 2, 2}}},
         bottomBar,
         4},
        {"nothing at all: the whole taskbar", bottomBar, {}, bottomBar, 0},
    };
    for (const Case& c : cases)
    {
        size_t visited = 0;
        EXPECT_EQ(Probe(c.taskbar, c.children, &visited), c.expected) << c.name;
        EXPECT_EQ(visited, c.visited) << c.name;
    }
}

TEST(NotificationArea, AppBarEdgePlacesTheAreaNearTheTaskbarsFarEnd)
{
    const ScreenRect untouched = {-7, -8, -9, -10};
    struct Case
    {
        std::uint32_t edge;
        ScreenRect taskbar;
        bool placed;
        ScreenRect expected;
    };
    const Case cases[] = {
        {3, {0, 738, 1024, 768}, true, {924, 738, 1008, 768}},    // bottom
        {1, {0, 0, 1024, 30}, true, {924, 0, 1008, 30}},          // top
        {0, {0, 0, 60, 768}, true, {0, 668, 60, 752}},            // left
        {2, {964, 0, 1024, 768}, true, {964, 668, 1024, 752}},    // right
        {3, {-1280, 994, 0, 1024}, true, {-100, 994, -16, 1024}}, // a monitor left of the primary one
        {4, {0, 738, 1024, 768}, false, untouched},
        {0xFFFFFFFFu, {0, 738, 1024, 768}, false, untouched},
    };
    for (const Case& c : cases)
    {
        ScreenRect area = untouched;
        EXPECT_EQ(PlaceAreaOnAppBar(c.edge, c.taskbar, area), c.placed) << "edge " << c.edge;
        EXPECT_EQ(area, c.expected) << "edge " << c.edge;
    }
}

TEST(NotificationArea, WorkAreaBoxIsTheBottomRightCorner)
{
    const struct
    {
        ScreenRect workArea;
        ScreenRect expected;
    } cases[] = {
        {{0, 0, 1024, 738}, {874, 708, 1024, 738}},
        {{0, 30, 800, 600}, {650, 570, 800, 600}},
        {{-1024, 0, 0, 768}, {-150, 738, 0, 768}},
        {{0, 0, 100, 20}, {-50, -10, 100, 20}}, // a work area smaller than the box
    };
    for (const auto& c : cases)
        EXPECT_EQ(CornerOfWorkArea(c.workArea), c.expected);
}
