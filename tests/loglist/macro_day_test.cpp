// The date macro texts' day against a clock: when the local date has moved on, and how long the
// timer waits for the next local midnight.
#include "loglist/macro_day.h"

#include <gtest/gtest.h>

namespace {

SYSTEMTIME At(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD ms = 0) {
    return SYSTEMTIME{year, month, 0, day, hour, minute, second, ms};
}

// A clock that shows whatever time the test sets.
class MacroDayTest : public testing::Test {
protected:
    SYSTEMTIME now_ = {};
    MacroDay day_{[this] { return now_; }};
};

TEST_F(MacroDayTest, TellsAChangeExactlyWhenTheLocalDateDiffersFromTheMarkedOne) {
    const struct {
        SYSTEMTIME marked, now;
        bool changed;
    } cases[] = {
        {At(2024, 3, 5, 0, 0, 0), At(2024, 3, 5, 23, 59, 59, 999), false},
        {At(2024, 3, 5, 23, 59, 59, 999), At(2024, 3, 6, 0, 0, 0), true},       // midnight
        {At(2024, 3, 5, 10, 0, 0), At(2024, 3, 9, 8, 0, 0), true},              // the clock set forward
        {At(2024, 3, 6, 0, 0, 5), At(2024, 3, 5, 23, 59, 50), true},            // and back
        {At(2024, 2, 29, 23, 59, 59), At(2024, 3, 1, 0, 0, 1), true},           // a month
        {At(2024, 3, 5, 12, 0, 0), At(2024, 4, 5, 12, 0, 0), true},             // the same day of another month
        {At(2023, 12, 31, 23, 59, 59, 999), At(2024, 1, 1, 0, 0, 0, 1), true},  // a year
        {At(2023, 3, 5, 12, 0, 0), At(2024, 3, 5, 12, 0, 0), true},
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
        {At(2024, 3, 5, 0, 0, 0), 86400000},
        {At(2024, 3, 5, 23, 59, 59, 999), 1},
        {At(2024, 3, 5, 23, 59, 0, 500), 59500},
        {At(2024, 12, 31, 12, 30, 15, 250), 41384750},
    };
    for (const auto& c : cases) {
        now_ = c.now;
        EXPECT_EQ(day_.MsUntilMidnight(), c.ms) << c.now.wHour << ":" << c.now.wMinute;
    }
}

}  // namespace
