// The date macro texts' day against a clock: when the local date has moved on, and how long the
// timer waits for the next local midnight.
#include "loglist/macro_day.h"

#include <gtest/gtest.h>

namespace {

// A clock that shows whatever time the test sets.
class MacroDayTest : public testing::Test {
protected:
    SYSTEMTIME now_ = {};
    MacroDay day_{[this] { return now_; }};
};

// The times below are SYSTEMTIMEs: year, month, day of the week (not read), day, hour, minute, second, ms.
TEST_F(MacroDayTest, TellsAChangeExactlyWhenTheLocalDateDiffersFromTheMarkedOne) {
    const struct {
        SYSTEMTIME marked, now;
        bool changed;
    } cases[] = {
        {{2024, 3, 0, 5, 0, 0, 0, 0}, {2024, 3, 0, 5, 23, 59, 59, 999}, false},
        {{2024, 3, 0, 5, 23, 59, 59, 999}, {2024, 3, 0, 6, 0, 0, 0, 0}, true},    // midnight
        {{2024, 3, 0, 5, 10, 0, 0, 0}, {2024, 3, 0, 9, 8, 0, 0, 0}, true},        // the clock set forward
        {{2024, 3, 0, 6, 0, 0, 5, 0}, {2024, 3, 0, 5, 23, 59, 50, 0}, true},      // and back
        {{2024, 2, 0, 29, 23, 59, 59, 0}, {2024, 3, 0, 1, 0, 0, 1, 0}, true},     // a month
        {{2024, 3, 0, 5, 12, 0, 0, 0}, {2024, 4, 0, 5, 12, 0, 0, 0}, true},       // the same day of another month
        {{2023, 12, 0, 31, 23, 59, 59, 999}, {2024, 1, 0, 1, 0, 0, 0, 1}, true},  // a year
        {{2023, 3, 0, 5, 12, 0, 0, 0}, {2024, 3, 0, 5, 12, 0, 0, 0}, true},
    };
    for (const auto& c : cases) {
        now_ = c.marked;
        day_.Mark();
        now_ = c.now;
        EXPECT_EQ(day_.Changed(), c.changed) << c.now.wYear << "-" << c.now.wMonth << "-" << c.now.wDay;
    }
}

TEST_F(MacroDayTest, CountsTheMillisecondsToTheNextLocalMidnight) {
    const struct {
        SYSTEMTIME now;
        DWORD ms;
    } cases[] = {
        {{2024, 3, 0, 5, 0, 0, 0, 0}, 86400000},
        {{2024, 3, 0, 5, 23, 59, 59, 999}, 1},
        {{2024, 3, 0, 5, 23, 59, 0, 500}, 59500},
        {{2024, 12, 0, 31, 12, 30, 15, 250}, 41384750},
    };
    for (const auto& c : cases) {
        now_ = c.now;
        EXPECT_EQ(day_.MsUntilMidnight(), c.ms) << c.now.wHour << ":" << c.now.wMinute;
    }
}

}  // namespace
