// Row text, the unread rule, row order and column stops of the log list.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "loglist/display.h"
#include "settings/environ.h"

namespace {

const char kMi[] = "\x96\xA2";           // 未
const char kSpace[] = "\x81\x40";        // full-width space
const char kPo[] = "\x83\x7C";           // ポ: its second byte is '|'
const char kHiragana[] = "\x82\xA0";     // あ

FILETIME Ft(DWORD high, DWORD low) { return FILETIME{low, high}; }

FILETIME LocalTime(WORD year, WORD month, WORD day) {
    SYSTEMTIME st = {};
    st.wYear = year;
    st.wMonth = month;
    st.wDay = day;
    st.wHour = 23;
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    return ft;
}

LogEntry Entry(const char* listName, FILETIME seen, FILETIME file) {
    LogEntry entry;
    lstrcpynA(entry.ListName, listName, kListNameSize);
    entry.SeenTime = seen;
    entry.FileTime = file;
    return entry;
}

struct DisplayCase {
    const char* name;
    int dispMark;
    int dispDate;
    const char* markChar;
    bool unread;
    bool missing;
    std::string expected;
};

class BuildDisplayTextTest : public testing::TestWithParam<DisplayCase> {};

TEST_P(BuildDisplayTextTest, ComposesTheColumns) {
    const DisplayCase& c = GetParam();
    FILETIME file = c.missing ? FILETIME{} : LocalTime(2024, 3, 5);
    FILETIME seen = c.unread ? LocalTime(2024, 3, 4) : LocalTime(2024, 3, 6);
    LogEntry entry = Entry("A|B", seen, file);
    int length = BuildDisplayText(&entry, DisplayOptions{c.dispMark, c.dispDate, c.markChar});
    EXPECT_EQ(std::string(entry.DisplayText), c.expected);
    EXPECT_EQ(length, static_cast<int>(c.expected.size()));
}

const std::string kMiS = kMi;
const std::string kSpaceS = kSpace;

INSTANTIATE_TEST_SUITE_P(
    Options, BuildDisplayTextTest,
    testing::Values(
        DisplayCase{"NoColumns", 0, 0, kMi, true, false, "A\tB"},
        DisplayCase{"MarkUnread", 1, 0, kMi, true, false, kMiS + "\tA\tB"},
        DisplayCase{"MarkRead", 1, 0, kMi, false, false, kSpaceS + "\tA\tB"},
        DisplayCase{"MarkUnreadEmptyMarkChar", 1, 0, "", true, false, kSpaceS + "\tA\tB"},
        DisplayCase{"MarkUnreadNullMarkChar", 1, 0, nullptr, true, false, kSpaceS + "\tA\tB"},
        DisplayCase{"MarkUnreadTwoSingleBytes", 1, 0, "**", true, false, "**\tA\tB"},
        DisplayCase{"MarkMissingFileIsNeverUnread", 1, 0, kMi, true, true, kSpaceS + "\tA\tB"},
        DisplayCase{"Date", 0, 1, kMi, true, false, "03/05\tA\tB"},
        DisplayCase{"DateMissingFile", 0, 1, kMi, true, true, "**/**\tA\tB"},
        DisplayCase{"BothUnread", 1, 1, kMi, true, false, kMiS + "\t03/05\tA\tB"},
        DisplayCase{"BothRead", 1, 1, kMi, false, false, kSpaceS + "\t03/05\tA\tB"},
        DisplayCase{"BothUnreadEmptyMarkChar", 1, 1, "", true, false, kSpaceS + "\t03/05\tA\tB"},
        DisplayCase{"BothReadEmptyMarkChar", 1, 1, "", false, false, kSpaceS + "\t03/05\tA\tB"},
        DisplayCase{"BothMissingFile", 1, 1, "*", true, true, kSpaceS + "\t**/**\tA\tB"}),
    [](const testing::TestParamInfo<DisplayCase>& info) { return std::string(info.param.name); });

TEST(BuildDisplayText, KeepsADoubleByteCharacterWhoseSecondByteIsABar) {
    LogEntry entry = Entry((std::string(kPo) + "|x" + kPo).c_str(), FILETIME{}, FILETIME{});
    BuildDisplayText(&entry, DisplayOptions{0, 0, kMi});
    EXPECT_EQ(std::string(entry.DisplayText), std::string(kPo) + "\tx" + kPo);
}

struct CutCase {
    const char* name;
    int dispMark;
    const char* markChar;
    int fittingCharacters;  // of the 63 あ in the list name
};

class DisplayTextCutTest : public testing::TestWithParam<CutCase> {};

TEST_P(DisplayTextCutTest, CutsTheListNameAtACharacterBoundary) {
    const CutCase& c = GetParam();
    std::string name;
    for (int i = 0; i < 63; ++i) name += kHiragana;
    LogEntry entry = Entry(name.c_str(), FILETIME{}, LocalTime(2024, 3, 5));
    int length = BuildDisplayText(&entry, DisplayOptions{c.dispMark, 1, c.markChar});
    std::string expected = c.dispMark ? std::string(c.markChar) + "\t" : "";
    expected += "03/05\t";
    for (int i = 0; i < c.fittingCharacters; ++i) expected += kHiragana;
    EXPECT_EQ(std::string(entry.DisplayText), expected);
    EXPECT_EQ(length, static_cast<int>(expected.size()));
    EXPECT_LE(length, kDisplayTextSize - 1);
}

INSTANTIATE_TEST_SUITE_P(LongNames, DisplayTextCutTest,
                         testing::Values(CutCase{"DoubleByteMarkLeavesEvenRoom", 1, kMi, 59},
                                         CutCase{"SingleByteMarkLeavesOddRoom", 1, "*", 59},
                                         CutCase{"DateOnly", 0, "", 60}),
                         [](const testing::TestParamInfo<CutCase>& info) { return std::string(info.param.name); });

struct UnreadCase {
    const char* name;
    FILETIME seen;
    FILETIME file;
    bool unread;
};

class UnreadRuleTest : public testing::TestWithParam<UnreadCase> {};

TEST_P(UnreadRuleTest, ComparesUnsigned64BitValues) {
    const UnreadCase& c = GetParam();
    EXPECT_EQ(IsUnread(Entry("n", c.seen, c.file)), c.unread);
}

INSTANTIATE_TEST_SUITE_P(
    Times, UnreadRuleTest,
    testing::Values(UnreadCase{"MissingNeverOpened", Ft(0, 0), Ft(0, 0), false},
                    UnreadCase{"MissingButOpened", Ft(5, 0), Ft(0, 0), false},
                    UnreadCase{"NeverOpenedExisting", Ft(0, 0), Ft(0, 1), true},
                    UnreadCase{"Equal", Ft(7, 9), Ft(7, 9), false},
                    UnreadCase{"HighHalfDecidesOverLow", Ft(0, 0xFFFFFFFF), Ft(1, 0), true},
                    UnreadCase{"HighHalfDecidesOverLowRead", Ft(1, 0), Ft(0, 0xFFFFFFFF), false},
                    UnreadCase{"HighBitIsNotASign", Ft(0x80000000, 0), Ft(0x7FFFFFFF, 0), false},
                    UnreadCase{"HighBitIsNotASignUnread", Ft(0x7FFFFFFF, 0), Ft(0x80000000, 0), true},
                    UnreadCase{"LowHalfUnsigned", Ft(3, 0x7FFFFFFF), Ft(3, 0x80000000), true}),
    [](const testing::TestParamInfo<UnreadCase>& info) { return std::string(info.param.name); });

struct OrderCase {
    const char* name;
    int sortList;
    const char* nameA;
    FILETIME fileA;
    const char* nameB;
    FILETIME fileB;
    int sign;  // of CompareEntries(a, b)
};

class CompareEntriesTest : public testing::TestWithParam<OrderCase> {};

TEST_P(CompareEntriesTest, OrdersBySortList) {
    const OrderCase& c = GetParam();
    LogEntry a = Entry(c.nameA, FILETIME{}, c.fileA);
    LogEntry b = Entry(c.nameB, FILETIME{}, c.fileB);
    int ab = CompareEntries(a, b, c.sortList);
    int ba = CompareEntries(b, a, c.sortList);
    EXPECT_EQ((ab > 0) - (ab < 0), c.sign);
    EXPECT_EQ((ba > 0) - (ba < 0), -c.sign);
}

INSTANTIATE_TEST_SUITE_P(
    Orders, CompareEntriesTest,
    testing::Values(
        OrderCase{"NameIgnoresCase", 0, "abc", Ft(0, 1), "ABC", Ft(0, 2), 0},
        OrderCase{"NameBefore", 0, "abc", Ft(0, 9), "ABD", Ft(0, 1), -1},
        OrderCase{"NameAfter", 0, "b", Ft(0, 1), "A", Ft(0, 9), 1},
        OrderCase{"NewestFirst", 1, "a", Ft(1, 0), "b", Ft(0, 0xFFFFFFFF), -1},
        OrderCase{"NewestFirstEqualTimes", 1, "a", Ft(2, 3), "b", Ft(2, 3), 0},
        OrderCase{"NewestFirstMissingLast", 1, "a", Ft(0, 0), "b", Ft(0, 1), 1},
        OrderCase{"NewestFirstHighBitIsNotASign", 1, "a", Ft(0x80000000, 0), "b", Ft(0x7FFFFFFF, 0), -1},
        OrderCase{"OldestFirst", 2, "a", Ft(0, 0xFFFFFFFF), "b", Ft(1, 0), -1},
        OrderCase{"OldestFirstEqualTimes", 2, "z", Ft(2, 3), "a", Ft(2, 3), 0},
        OrderCase{"OldestFirstMissingFirst", 2, "a", Ft(0, 0), "b", Ft(0, 1), -1},
        OrderCase{"OtherValueIsOldestFirst", 7, "a", Ft(0, 5), "b", Ft(0, 4), 1}),
    [](const testing::TestParamInfo<OrderCase>& info) { return std::string(info.param.name); });

struct StopsCase {
    const char* name;
    int width;
    int tabStop;
    int dispMark;
    int dispDate;
    std::vector<int> fixed;  // the stops before the 32 steps
    int step;                // between the following stops
};

class ComputeColumnStopsTest : public testing::TestWithParam<StopsCase> {};

TEST_P(ComputeColumnStopsTest, FixedStopsThenThirtyTwoSteps) {
    const StopsCase& c = GetParam();
    int stops[Environ::kMaxColumnStops + 1];
    std::fill(std::begin(stops), std::end(stops), -12345);
    int count = ComputeColumnStops(c.width, c.tabStop, c.dispMark, c.dispDate, stops);
    ASSERT_EQ(count, static_cast<int>(c.fixed.size()) + 32);
    EXPECT_EQ(stops[Environ::kMaxColumnStops], -12345);
    int last = 0;
    for (size_t i = 0; i < c.fixed.size(); ++i) {
        EXPECT_EQ(stops[i], c.fixed[i]) << "fixed stop " << i;
        last = c.fixed[i];
    }
    for (int k = 1; k <= 32; ++k) EXPECT_EQ(stops[c.fixed.size() + k - 1], last + k * c.step) << "step " << k;
}

INSTANTIATE_TEST_SUITE_P(
    Columns, ComputeColumnStopsTest,
    testing::Values(StopsCase{"Neither", 8, 4, 0, 0, {}, 32},
                    StopsCase{"MarkOnly", 8, 4, 1, 0, {24}, 32},
                    StopsCase{"DateOnly", 8, 4, 0, 1, {56}, 32},
                    StopsCase{"Both", 8, 4, 1, 1, {24, 80}, 32},
                    StopsCase{"BothOtherWidthAndTab", 7, 2, 1, 1, {21, 70}, 14},
                    StopsCase{"TabStopZero", 8, 0, 1, 1, {24, 80}, 0},
                    StopsCase{"NegativeTabStopCountsAsZero", 8, -3, 0, 1, {56}, 0}),
    [](const testing::TestParamInfo<StopsCase>& info) { return std::string(info.param.name); });

TEST(ComputeColumnStops, HugeTabStopStaysWithinInt) {
    int stops[Environ::kMaxColumnStops];
    int count = ComputeColumnStops(1000, 0x7FFFFFFF, 1, 1, stops);
    ASSERT_EQ(count, 34);
    EXPECT_EQ(stops[0], 3000);
    EXPECT_EQ(stops[1], 10000);
    for (int i = 2; i < count; ++i) EXPECT_GE(stops[i], stops[i - 1]);
    EXPECT_EQ(stops[33], 0x7FFFFFFF);
}

}  // namespace
