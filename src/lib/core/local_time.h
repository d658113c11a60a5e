// The current local time, as the program's clocks read it and as it stores the time a log was read.
#pragma once
#include <windows.h>

SYSTEMTIME LocalNow();
// The same as a FILETIME, as SeenTime is stored.
FILETIME LocalNowAsFileTime();
