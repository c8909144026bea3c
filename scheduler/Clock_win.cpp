#include "scheduler/Clock_win.h"

#include <windows.h>

TickClock ReadLocalClock()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wDayOfWeek, now.wHour, now.wMinute, now.wYear, now.wMonth, now.wDay};
}
