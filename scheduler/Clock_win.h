#pragma once

#include "scheduler/Tick.h"

// The local wall clock now (GetLocalTime).
TickClock ReadLocalClock();
