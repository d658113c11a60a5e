// The local date the date macro texts were set for, checked against a clock, and the time left
// until the next local day begins.
#pragma once
#include <windows.h>

#include <functional>

#include "lib/core/local_time.h"

// The local time; tests put in clocks of their own.
using LocalClock = std::function<SYSTEMTIME()>;

// Milliseconds from the time of day of now to the next local midnight: 1 to 86,400,000.
DWORD MsUntilMidnight(const SYSTEMTIME& now);

class MacroDay {
public:
    explicit MacroDay(LocalClock clock = LocalNow) : clock_(std::move(clock)) {}

    // Takes the clock's date as the one the macro texts are set for; returns the clock's time,
    // from which the texts are to be set (Environ::SetMacrosToDate), so both name the same day.
    SYSTEMTIME Mark();
    // The clock's date is not the marked one: midnight has passed or the clock was set. True
    // before the first Mark.
    bool Changed() const;
    // For the timer that checks again at the next midnight.
    DWORD MsUntilMidnight() const { return ::MsUntilMidnight(clock_()); }

private:
    LocalClock clock_;
    WORD year_ = 0, month_ = 0, day_ = 0;
};
