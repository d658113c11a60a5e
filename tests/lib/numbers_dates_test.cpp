// Byte-order swaps, the decimal reader, digit grouping, and the date texts read in Japan time.
#include "exports.h"

#include <climits>
#include <cstring>
#include <ctime>
#include <vector>

#include "lib/date_time.h"
#include "lib/numbers.h"

namespace {

TEST(Numbers, SwapsReadsAndGroups) {
    EXPECT_EQ(CALL(XChgWord, 0x12345678), 0x7856u);
    EXPECT_EQ(CALL(XChgDWord, 0x12345678), 0x78563412u);
    EXPECT_EQ(CALL(XChgDWord, 0x000000FF), 0xFF000000u);
    for (int c : {0x30, 0x39, 0x130, -0xD0}) EXPECT_EQ(CALL(IsCharNumeric, c), 1) << c;  // the low byte only
    for (int c : {0x2F, 0x3A, 0x13A}) EXPECT_EQ(CALL(IsCharNumeric, c), 0) << c;

    // The first run of digits, modulo 2^32; digits beyond the 31st of a run are not taken.
    // clang-format off
    const std::pair<std::string, DWORD> decimals[] = {
        {"4294967295", 4294967295u}, {"4294967297", 1}, {"-12", 12}, {"a12b34", 12}, {"\x83\x5C" "5", 5},
        {"", 0}, {"1" + std::string(30, '0') + "7", 1073741824u}, {"99" + std::string(29, '0') + "5", 3758096384u}};
    // clang-format on
    for (const auto& [text, value] : decimals) EXPECT_EQ(CALL(AsciiToDWord, text.c_str()), value) << text;

    // clang-format off
    const struct {
        LONG value;
        int group;
        const char* expected;
    } groups[] = {{1234567, 3, "1,234,567"}, {123, 3, "123"},         {-123456, 3, "-123,456"},
                  {0, 3, "0"},               {LONG_MIN, 3, "-2,147,483,648"}, {LONG_MAX, 4, "21,4748,3647"},
                  {12345, 1, "1,2,3,4,5"},   {1234567, 0, "1234567"},  {-1234567, -3, "-1234567"}};
    // clang-format on
    for (const auto& g : groups) {
        char out[40];
        memset(out, 0x7F, sizeof out);
        EXPECT_EQ(CALL(ConvertCoinage, g.value, out, g.group), static_cast<int>(strlen(g.expected)));
        EXPECT_STREQ(out, g.expected);
        EXPECT_EQ(out[21], 0x7F);
    }
}

TEST(Dates, DLTimeCountsSecondsFromTheEpochInJapanTime) {
    // clang-format off
    const std::pair<const char*, double> stamps[] = {
        {"19700101090000", 0},          {"19700101", -32400},           {"", -86400 - 32400},
        {"19720229235959", 68223599},   {"19720301000000", 68223600},   {"19991231235959", 946652399},
        {"20000229120000", 951793200},  {"20240301000000", 1709218800}, {"20991231235959", 4102412399},
        {"19701301000000", 31536000 - 32400},  // months past December run on into the next year
        {"19702501000000", 31536000 * 2 - 32400}};
    // clang-format on
    for (const auto& [text, seconds] : stamps) EXPECT_EQ(CALL(DLTime, text), seconds) << text;
}

TEST(Dates, StrToDateAndTimeReadThreeFieldsAndAnswerWhereTheyStopped) {
    const struct {
        bool date;  // GetStrToDate, else GetStrToTime
        const char* text;
        std::vector<int> expected;
        size_t advance;
    } cases[] = {{true, "1999-01-31xyz", {1999, 1, 31}, 10},
                 {true, "2026", {2026, 0, 0}, 4},
                 {true, "20a6/1b/05", {2016, 12, 5}, 10},  // each digit by its low four bits
                 {false, "23.59.58 rest", {23, 59, 58}, 8},
                 {false, "12:3", {12, 30, 0}, 4}};
    for (const auto& c : cases) {
        int fields[3] = {-1, -1, -1};
        EXPECT_EQ(c.date ? CALL(GetStrToDate, c.text, fields) : CALL(GetStrToTime, c.text, fields), c.text + c.advance);
        EXPECT_EQ(std::vector<int>(fields, fields + 3), c.expected) << c.text;
    }
}

// Today in Japan as CheckDateArea reads it, with the day before and after.
std::string JapanDate(int days) {
    time_t shifted = time(nullptr) + 9 * 3600 + days * 86400;
    char text[16];
    strftime(text, sizeof text, "%Y%m%d", gmtime(&shifted));
    return text;
}

TEST(Dates, CheckDateAreaIsInclusiveAndCountsInJapanTime) {
    const std::string today = JapanDate(0);
    EXPECT_EQ(CALL(CheckDateArea, today.c_str(), today.c_str()), JapanDate(0) == today ? 1 : 0);
    EXPECT_EQ(CALL(CheckDateArea, JapanDate(1).c_str(), "20991231"), 0);
    EXPECT_EQ(CALL(CheckDateArea, "19700101", JapanDate(-1).c_str()), 0);
    EXPECT_EQ(CALL(CheckDateArea, "19700101", std::string(100, '9').c_str()), 1);  // an over-long bound is cut
}

}  // namespace
