// The entry dialog's decisions without a window: field checks and the history prefix match.
#include "dialogs/entry_rules.h"

#include <gtest/gtest.h>

#include "sjis.h"

using testing_support::Sjis;

namespace {

struct FieldsCase {
    const char *log, *list, *browser;
    EntryProblem expected;
};

class CheckEntryFieldsTest : public testing::TestWithParam<FieldsCase> {};

TEST_P(CheckEntryFieldsTest, FindsTheFirstProblem) {
    const FieldsCase& c = GetParam();
    EXPECT_EQ(c.expected, CheckEntryFields(Sjis(c.log).c_str(), Sjis(c.list).c_str(), Sjis(c.browser).c_str()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckEntryFieldsTest,
    testing::Values(FieldsCase{"C:\\a.log", u8"ログ", "b.exe", EntryProblem::None},
                    FieldsCase{"", "", "", EntryProblem::NoLogFile},
                    FieldsCase{"a,b", "", "", EntryProblem::NoListName},
                    FieldsCase{"a", "b", "", EntryProblem::NoBrowser},
                    FieldsCase{"a", "b,c", "d", EntryProblem::Comma},
                    FieldsCase{"a", "b", "C:\\x,y.exe", EntryProblem::Comma},
                    // 、 and ， are no commas of the file format
                    FieldsCase{"a", u8"ログ、一覧，二", "d", EntryProblem::None}));

struct PrefixCase {
    const char* item;
    const char* prefix;
    bool expected;
};

class StartsWithNoCaseTest : public testing::TestWithParam<PrefixCase> {};

TEST_P(StartsWithNoCaseTest, FoldsOnlyAsciiLetters) {
    EXPECT_EQ(GetParam().expected, StartsWithNoCase(GetParam().item, GetParam().prefix));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartsWithNoCaseTest,
    testing::Values(PrefixCase{"C:\\Tools\\View.exe", "c:\\tools\\v", true},
                    PrefixCase{"C:\\a.exe", "C:\\a.exe", true},
                    PrefixCase{"C:\\a", "C:\\a.exe", false},
                    PrefixCase{"anything", "", true},
                    // ア (83 41) and ヂ (83 61) differ only in a second byte that looks like A/a
                    PrefixCase{"\x83\x41.exe", "\x83\x61", false},
                    PrefixCase{"\x83\x41.exe", "\x83\x41", true},
                    // 表 (95 5C) ends in a backslash byte, which belongs to the character
                    PrefixCase{"\x95\x5C\\x.exe", "\x95\x5C\\X", true}));

TEST(HistoryTest, SearchesFromTheSecondItemAndTheFirstLast) {
    const std::vector<std::string> items = {"C:\\v0.exe", "C:\\v1.exe", "C:\\w.exe", "C:\\v3.exe"};
    EXPECT_EQ(1, FindHistoryPrefix(items, "c:\\V"));
    EXPECT_EQ(0, FindHistoryPrefix(items, "C:\\v0"));
    EXPECT_EQ(2, FindHistoryPrefix(items, "C:\\W.EXE"));
    EXPECT_EQ(-1, FindHistoryPrefix(items, "D:\\"));
    EXPECT_EQ(-1, FindHistoryPrefix({}, "C:\\"));
    EXPECT_EQ(0, FindHistoryPrefix({"C:\\only.exe"}, "C:\\only.exe"));
}

}  // namespace
