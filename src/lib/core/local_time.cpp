#include "lib/core/local_time.h"

SYSTEMTIME LocalNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now;
}

FILETIME LocalNowAsFileTime() {
    const SYSTEMTIME now = LocalNow();
    FILETIME t = {};
    SystemTimeToFileTime(&now, &t);
    return t;
}
