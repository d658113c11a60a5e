#include "lib/core/local_time.h"

namespace {

SYSTEMTIME SystemLocalTime() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now;
}

}  // namespace

Seam<LocalClockFunction> localClockSeam(SystemLocalTime);

SYSTEMTIME LocalNow() { return localClockSeam.Current()(); }

FILETIME LocalNowAsFileTime() {
    const SYSTEMTIME now = LocalNow();
    FILETIME t = {};
    SystemTimeToFileTime(&now, &t);
    return t;
}
