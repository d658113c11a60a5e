// Tests of the byte-order swaps, the decimal reader and the digit grouping.
#include "lib/numbers.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

namespace {

TEST(ByteOrder, SwapsWordsAndDoubleWords) {
    EXPECT_EQ(XChgWord(0x12345678), 0x7856u);
    EXPECT_EQ(XChgWord(0x00FF), 0xFF00u);
    EXPECT_EQ(XChgWord(0xFFFFFFFF), 0xFFFFu);
    EXPECT_EQ(XChgDWord(0x12345678), 0x78563412u);
    EXPECT_EQ(XChgDWord(0x000000FF), 0xFF000000u);
    EXPECT_EQ(XChgDWord(XChgDWord(0xDEADBEEF)), 0xDEADBEEFu);
}

// The first run of digits, taken modulo 2^32, counted independently of the reader.
DWORD Expected(const std::string& digits) {
    unsigned long long value = 0;
    for (size_t i = 0; i < digits.size() && i < 31; ++i) value = (value * 10 + (digits[i] - '0')) % 4294967296ULL;
    return static_cast<DWORD>(value);
}

struct DecimalCase {
    std::string text;
    DWORD expected;
};

class Decimal : public testing::TestWithParam<DecimalCase> {};

TEST_P(Decimal, ReadsTheFirstRunOfDigits) { EXPECT_EQ(AsciiToDWord(GetParam().text.c_str()), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    AsciiToDWord, Decimal,
    testing::Values(DecimalCase{"4294967296", 0}, DecimalCase{"4294967295", 4294967295u}, DecimalCase{"4294967297", 1},
                    DecimalCase{"007", 7}, DecimalCase{"", 0}, DecimalCase{"-12", 12}, DecimalCase{"a12b34", 12},
                    DecimalCase{"abc", 0}, DecimalCase{"\x83\x5C" "5", 5}, DecimalCase{"12,1999", 12},
                    // Digits beyond the 31st of one run are not taken.
                    DecimalCase{std::string(31, '9') + "12345", Expected(std::string(31, '9'))},
                    DecimalCase{"1" + std::string(30, '0') + "7", Expected("1" + std::string(30, '0'))},
                    DecimalCase{std::string(500, '1'), Expected(std::string(31, '1'))}));

TEST(IsCharNumeric, LooksAtTheLowByteOnly) {
    EXPECT_EQ(IsCharNumeric('0'), 1);
    EXPECT_EQ(IsCharNumeric('9'), 1);
    EXPECT_EQ(IsCharNumeric(0x130), 1);
    EXPECT_EQ(IsCharNumeric('/'), 0);
    EXPECT_EQ(IsCharNumeric(':'), 0);
    EXPECT_EQ(IsCharNumeric(-0xD0), 1);  // low byte 0x30
}

struct GroupCase {
    LONG value;
    int group;
    const char* expected;
};

class Grouping : public testing::TestWithParam<GroupCase> {};

TEST_P(Grouping, PutsCommasBetweenGroupsFromTheRight) {
    char out[40];
    memset(out, 0x7F, sizeof out);
    int len = ConvertCoinage(GetParam().value, out, GetParam().group);
    EXPECT_STREQ(out, GetParam().expected);
    EXPECT_EQ(len, static_cast<int>(strlen(GetParam().expected)));
    for (size_t i = 21; i < sizeof out; ++i) EXPECT_EQ(out[i], 0x7F);
}

INSTANTIATE_TEST_SUITE_P(ConvertCoinage, Grouping,
                         testing::Values(GroupCase{1234567, 3, "1,234,567"}, GroupCase{123, 3, "123"},
                                         GroupCase{-1234, 3, "-1,234"}, GroupCase{0, 3, "0"},
                                         GroupCase{-123, 3, "-123"}, GroupCase{123456, 3, "123,456"},
                                         GroupCase{LONG_MIN, 3, "-2,147,483,648"},
                                         GroupCase{LONG_MAX, 4, "21,4748,3647"}, GroupCase{12345, 1, "1,2,3,4,5"},
                                         GroupCase{LONG_MIN, 1, "-2,1,4,7,4,8,3,6,4,8"},
                                         GroupCase{1234567, 0, "1234567"}, GroupCase{-1234567, -3, "-1234567"},
                                         GroupCase{1234567, 20, "1234567"}));

}  // namespace
