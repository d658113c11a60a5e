// Tests of the date and time parsing against fixed values and against the system's own calendar.
#include "lib/date_time.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <string>

namespace {

struct StampCase {
    const char* text;
    double seconds;
};

class DLTimeValues : public testing::TestWithParam<StampCase> {};

TEST_P(DLTimeValues, CountsSecondsFromTheEpochInJapanTime) { EXPECT_EQ(DLTime(GetParam().text), GetParam().seconds); }

INSTANTIATE_TEST_SUITE_P(DLTime, DLTimeValues,
                         testing::Values(StampCase{"19700101090000", 0}, StampCase{"19700101000000", -32400},
                                         StampCase{"20000301000000", 951836400},
                                         StampCase{"20261205083000", 1796427000},
                                         // A short text counts what is missing as 0.
                                         StampCase{"19700101", -32400}, StampCase{"", -86400 - 32400},
                                         // Months past December run on into the next year.
                                         StampCase{"19701301000000", 31536000 - 32400},
                                         StampCase{"19702501000000", 31536000 * 2 - 32400}));

// Seconds since the epoch of a UTC+9 wall-clock time, as the system's calendar counts them.
long long SystemSeconds(int year, int month, int day, int hour, int minute, int second) {
    SYSTEMTIME t = {};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    FILETIME f;
    EXPECT_TRUE(SystemTimeToFileTime(&t, &f));
    ULARGE_INTEGER u;
    u.LowPart = f.dwLowDateTime;
    u.HighPart = f.dwHighDateTime;
    const long long kEpoch = 116444736000000000LL;  // 1970-01-01 in FILETIME units
    return (static_cast<long long>(u.QuadPart) - kEpoch) / 10000000 - 9 * 3600;
}

TEST(DLTime, AgreesWithTheSystemCalendarFrom1970To2099) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int checked = 0;
    for (int year = 1970; year <= 2099; year += 3) {
        for (int month = 1; month <= 12; ++month) {
            int last = kDays[month - 1] + (month == 2 && year % 4 == 0 ? 1 : 0);
            for (int day : {1, 15, last}) {
                int hour = (year + month + day) % 24;
                int minute = (year * 7 + day) % 60;
                int second = (month * 13 + day) % 60;
                char text[16];
                snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", year, month, day, hour, minute, second);
                EXPECT_EQ(DLTime(text), static_cast<double>(SystemSeconds(year, month, day, hour, minute, second)))
                    << text;
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 1500);
}

// Dates by the low four bits of each digit, times as hours, minutes and seconds.
TEST(StrToDateAndTime, ReadThreeFieldsAndAnswerWhereTheyStopped) {
    struct {
        LPCSTR(WINAPI* read)(LPCSTR, int*);
        const char* text;
        int expected[3];
        size_t advance;
    } cases[] = {{GetStrToDate, "2026/12/05", {2026, 12, 5}, 10},
                 {GetStrToDate, "1999-01-31xyz", {1999, 1, 31}, 10},
                 {GetStrToDate, "2026", {2026, 0, 0}, 4},
                 {GetStrToDate, "", {0, 0, 0}, 0},
                 {GetStrToDate, "20a6/1b/05", {2016, 12, 5}, 10},
                 {GetStrToTime, "08:30:15", {8, 30, 15}, 8},
                 {GetStrToTime, "23.59.59 rest", {23, 59, 59}, 8},
                 {GetStrToTime, "12:3", {12, 30, 0}, 4}};
    for (const auto& c : cases) {
        int fields[3] = {-1, -1, -1};
        EXPECT_EQ(c.read(c.text, fields), c.text + c.advance) << c.text;
        EXPECT_EQ(fields[0], c.expected[0]) << c.text;
        EXPECT_EQ(fields[1], c.expected[1]) << c.text;
        EXPECT_EQ(fields[2], c.expected[2]) << c.text;
    }
}

std::string JapanDate(time_t when) {
    time_t shifted = when + 9 * 3600;
    struct tm* t = gmtime(&shifted);
    char text[16];
    strftime(text, sizeof text, "%Y%m%d", t);
    return text;
}

TEST(CheckDateArea, IsInclusiveAndCountsInJapanTime) {
    time_t now = time(nullptr);
    std::string today = JapanDate(now);
    std::string yesterday = JapanDate(now - 86400);
    std::string tomorrow = JapanDate(now + 86400);
    int sameDay = CheckDateArea(today.c_str(), today.c_str());
    if (JapanDate(time(nullptr)) != today) GTEST_SKIP() << "the date changed during the test";
    EXPECT_EQ(sameDay, 1);
    EXPECT_EQ(CheckDateArea(yesterday.c_str(), tomorrow.c_str()), 1);
    EXPECT_EQ(CheckDateArea("19700101", "20991231"), 1);
    EXPECT_EQ(CheckDateArea(tomorrow.c_str(), yesterday.c_str()), 0);
    EXPECT_EQ(CheckDateArea(tomorrow.c_str(), "20991231"), 0);
    EXPECT_EQ(CheckDateArea("19700101", yesterday.c_str()), 0);
    // An over-long bound is cut, not overrun.
    std::string longBound(100, '9');
    EXPECT_EQ(CheckDateArea("19700101", longBound.c_str()), 1);
}

}  // namespace
