// Date macro expansion: substitution, double-byte names and the 260-byte result.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "loglist/date_macros.h"

namespace {

struct MacroCase {
    const char* name;
    const char* source;
    const char* year;
    const char* month;
    const char* day;
    const char* expected;
};

class ExpandDateMacrosTest : public testing::TestWithParam<MacroCase> {};

TEST_P(ExpandDateMacrosTest, ReplacesEachMacroCharacter) {
    const MacroCase& c = GetParam();
    char out[MAX_PATH];
    int length = ExpandDateMacros(c.source, out, DateMacroTexts{c.year, c.month, c.day});
    EXPECT_STREQ(out, c.expected);
    EXPECT_EQ(length, static_cast<int>(std::strlen(c.expected)));
}

TEST_P(ExpandDateMacrosTest, ExpandsInPlaceLikeIntoAnotherBuffer) {
    const MacroCase& c = GetParam();
    char buffer[MAX_PATH];
    std::strcpy(buffer, c.source);
    ExpandDateMacros(buffer, buffer, DateMacroTexts{c.year, c.month, c.day});
    EXPECT_STREQ(buffer, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Names, ExpandDateMacrosTest,
    testing::Values(
        MacroCase{"AllThree", "C:\\log\\ap#$%.log", "03", "07", "31", "C:\\log\\ap030731.log"},
        MacroCase{"NoMacro", "C:\\log\\app.log", "03", "07", "31", "C:\\log\\app.log"},
        MacroCase{"EmptyTextsRemoveTheirCharacter", "a#b$c%d", "", "", "", "abcd"},
        MacroCase{"NullTextCountsAsEmpty", "a#b", nullptr, "07", "31", "ab"},
        MacroCase{"TextIsNotExpandedAgain", "x#y", "#$%", "07", "31", "x#$%y"},
        MacroCase{"EveryOccurrence", "#$%-#$%-##", "24", "12", "01", "241201-241201-2424"},
        MacroCase{"FourDigitYear", "#.log", "2024", "1", "2", "2024.log"},
        // ソ (0x83 0x5C) and ポ (0x83 0x7C) pass whole; the macro after them is still expanded.
        MacroCase{"DoubleByteName", "C:\\\x83\x5C\x83\x74\x83\x67\\\x83\x7C#.log", "03", "07", "31",
                  "C:\\\x83\x5C\x83\x74\x83\x67\\\x83\x7C" "03.log"},
        // A byte pair that starts with a lead byte is one character, whatever its second byte.
        MacroCase{"SecondByteIsNeverAMacro", "a\x83#b\x88$c", "03", "07", "31", "a\x83#b\x88$c"},
        MacroCase{"HalfCharacterAtTheEndIsDropped", "ab#\x83", "03", "07", "31", "ab03"}),
    [](const testing::TestParamInfo<MacroCase>& info) { return std::string(info.param.name); });

struct LimitCase {
    const char* name;
    std::string source;
    const char* year;
    std::string expected;
};

class ExpandDateMacrosLimitTest : public testing::TestWithParam<LimitCase> {};

TEST_P(ExpandDateMacrosLimitTest, NeverWritesPastTheResultNorSplitsACharacter) {
    const LimitCase& c = GetParam();
    char out[MAX_PATH + 32];
    std::memset(out, 0x7F, sizeof out);
    int length = ExpandDateMacros(c.source.c_str(), out, DateMacroTexts{c.year, "07", "31"});
    EXPECT_EQ(std::string(out), c.expected);
    EXPECT_EQ(length, static_cast<int>(c.expected.size()));
    for (size_t i = MAX_PATH; i < sizeof out; ++i) ASSERT_EQ(out[i], 0x7F) << "byte " << i;
}

std::string Repeat(const std::string& text, int count) {
    std::string result;
    for (int i = 0; i < count; ++i) result += text;
    return result;
}

const std::string kHiragana = "\x82\xA0";  // あ

INSTANTIATE_TEST_SUITE_P(
    Limits, ExpandDateMacrosLimitTest,
    testing::Values(
        LimitCase{"LongSourceIsCutAt259", std::string(300, 'a'), "03", std::string(259, 'a')},
        LimitCase{"MacroThatFitsExactly", std::string(257, 'a') + "#", "03", std::string(257, 'a') + "03"},
        LimitCase{"MacroThatDoesNotFitEndsTheName", std::string(258, 'a') + "#b", "03", std::string(258, 'a')},
        LimitCase{"ManyMacrosGrowOnlyTo259", std::string(259, '#'), "2024", Repeat("2024", 64)},
        LimitCase{"DoubleByteCharacterAcrossTheLimit", std::string(258, 'a') + kHiragana, "03",
                  std::string(258, 'a')},
        LimitCase{"DoubleByteCharactersAfterAMacro", "#" + Repeat(kHiragana, 129), "2024",
                  "2024" + Repeat(kHiragana, 127)}),
    [](const testing::TestParamInfo<LimitCase>& info) { return std::string(info.param.name); });

}  // namespace
