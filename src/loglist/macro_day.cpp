#include "loglist/macro_day.h"

DWORD MsUntilMidnight(const SYSTEMTIME& now) {
    constexpr DWORD kDay = 24 * 60 * 60 * 1000;
    const DWORD passed = ((now.wHour * 60u + now.wMinute) * 60u + now.wSecond) * 1000u + now.wMilliseconds;
    return passed < kDay ? kDay - passed : 1;
}

SYSTEMTIME MacroDay::Mark() {
    const SYSTEMTIME now = clock_();
    year_ = now.wYear;
    month_ = now.wMonth;
    day_ = now.wDay;
    return now;
}

bool MacroDay::Changed() const {
    const SYSTEMTIME now = clock_();
    return now.wYear != year_ || now.wMonth != month_ || now.wDay != day_;
}
