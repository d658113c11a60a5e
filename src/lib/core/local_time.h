// The current local time, as the program's clocks read it and as it stores the time a log was read.
#pragma once
#include <windows.h>

#include "lib/core/seam.h"

SYSTEMTIME LocalNow();
// The same as a FILETIME, as SeenTime is stored.
FILETIME LocalNowAsFileTime();

using LocalClockFunction = SYSTEMTIME (*)();
// The clock LocalNow reads: the system's; tests put in clocks whose date they set.
extern Seam<LocalClockFunction> localClockSeam;
