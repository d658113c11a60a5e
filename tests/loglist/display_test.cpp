// Row text, the unread rule, row order and column stops of the log list, from explicit options and
// from the settings as they stand (every default included), and the date macros of log file names
// (the window tests show names expanded with the settings' texts).
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "loglist/date_macros.h"
#include "loglist/display.h"
#include "settings/environ.h"
#include "test_env.h"

using testing_support::Repeat;

namespace {

const std::string kMi = "\x96\xA2";     // 未
const std::string kSpace = "\x81\x40";  // full-width space
const std::string kPo = "\x83\x7C";     // ポ: its second byte is '|'
const std::string kA = "\x82\xA0";      // あ

FILETIME Ft(DWORD high, DWORD low) { return FILETIME{low, high}; }

FILETIME March(WORD day) {  // 2024-03-<day> 23:00
    SYSTEMTIME st = {2024, 3, 0, day, 23, 0, 0, 0};
    FILETIME ft{};
    return SystemTimeToFileTime(&st, &ft), ft;
}

LogEntry Entry(const std::string& listName, FILETIME seen, FILETIME file) {
    LogEntry entry;
    lstrcpynA(entry.ListName, listName.c_str(), kListNameSize);
    entry.SeenTime = seen;
    entry.FileTime = file;
    return entry;
}

TEST(Display, RowTextHasTheShownColumnsAndTheListNameCutAtACharacter) {
    const std::string hiragana = Repeat(kA, 63);  // あ x 63: more than the row text holds
    const struct {
        int dispMark, dispDate;
        const char* markChar;
        FILETIME seen, file;
        std::string name, expected;
    } cases[] = {
        {0, 0, "*", {}, March(5), "A|B", "A\tB"},
        {1, 0, "**", March(4), March(5), "A|B", "**\tA\tB"},
        {1, 0, kMi.c_str(), March(6), March(5), "A|B", kSpace + "\tA\tB"},  // read
        {1, 0, nullptr, March(4), March(5), "A|B", kSpace + "\tA\tB"},
        {0, 1, "*", March(4), March(5), "A|B", "03/05\tA\tB"},
        {1, 1, kMi.c_str(), March(4), {}, kPo + "|x" + kPo, kSpace + "\t**/**\t" + kPo + "\tx" + kPo},
        {1, 1, kMi.c_str(), {}, March(5), hiragana, kMi + "\t03/05\t" + Repeat(kA, 59)},
        {1, 1, "*", {}, March(5), hiragana, "*\t03/05\t" + Repeat(kA, 59)},  // odd room left
    };
    for (const auto& c : cases) {
        LogEntry entry = Entry(c.name, c.seen, c.file);
        EXPECT_EQ(BuildDisplayText(&entry, DisplayOptions{c.dispMark, c.dispDate, c.markChar}),
                  static_cast<int>(c.expected.size()));
        EXPECT_EQ(std::string(entry.DisplayText), c.expected);
    }
}

TEST(Display, UnreadAndOrderCompareUnsigned64BitTimes) {
    // {seen, file}: unread when seen is before file; a missing file (0) is never unread.
    const std::pair<FILETIME, FILETIME> unread[] = {
        {Ft(0, 0), Ft(0, 1)}, {Ft(0, 0xFFFFFFFF), Ft(1, 0)}, {Ft(3, 0x7FFFFFFF), Ft(3, 0x80000000)}};
    const std::pair<FILETIME, FILETIME> read[] = {
        {Ft(5, 0), Ft(0, 0)}, {Ft(7, 9), Ft(7, 9)}, {Ft(0x80000000, 0), Ft(0x7FFFFFFF, 0)}};
    for (const auto& [seen, file] : unread) EXPECT_TRUE(IsUnread(Entry("n", seen, file))) << file.dwHighDateTime;
    for (const auto& [seen, file] : read) EXPECT_FALSE(IsUnread(Entry("n", seen, file))) << file.dwHighDateTime;
    const struct {
        int sortList;
        const char *nameA, *nameB;
        FILETIME fileA, fileB;
        int sign;  // of CompareEntries(a, b)
    } orders[] = {{0, "abc", "ABC", Ft(0, 1), Ft(0, 2), 0},
                  {0, "abc", "ABD", Ft(0, 9), Ft(0, 1), -1},
                  {1, "a", "b", Ft(1, 0), Ft(0, 0xFFFFFFFF), -1},
                  {1, "a", "b", Ft(2, 3), Ft(2, 3), 0},
                  {1, "a", "b", Ft(0x80000000, 0), Ft(0x7FFFFFFF, 0), -1},
                  {2, "a", "b", Ft(0, 0xFFFFFFFF), Ft(1, 0), -1},
                  {7, "a", "b", Ft(0, 5), Ft(0, 4), 1}};
    for (const auto& c : orders) {
        LogEntry a = Entry(c.nameA, {}, c.fileA), b = Entry(c.nameB, {}, c.fileB);
        int ab = CompareEntries(a, b, c.sortList), ba = CompareEntries(b, a, c.sortList);
        EXPECT_EQ(std::make_pair((ab > 0) - (ab < 0), (ba > 0) - (ba < 0)), std::make_pair(c.sign, -c.sign))
            << c.sortList << " " << c.nameA;
    }
}

// The fixed stops of the shown columns, then 32 stops a TabStop apart.
std::vector<int> Stops(std::vector<int> fixed, int step) {
    for (int k = 1, last = fixed.empty() ? 0 : fixed.back(); k <= 32; ++k) fixed.push_back(last + k * step);
    return fixed;
}

TEST(Display, ColumnStopsStayWithinIntAndWithinTheirArray) {
    std::vector<int> stops(Environ::kMaxColumnStops + 1, -12345);
    ASSERT_EQ(ComputeColumnStops(1000, 0x7FFFFFFF, 1, 1, stops.data()), 34);
    EXPECT_EQ(std::vector<int>(stops.begin(), stops.begin() + 4), std::vector<int>({3000, 10000, INT_MAX, INT_MAX}));
    EXPECT_EQ(stops[33], INT_MAX);
    EXPECT_EQ(stops[34], -12345);
    EXPECT_EQ(ComputeColumnStops(8, -3, 0, 1, stops.data()), 33);  // a negative TabStop counts as 0
    EXPECT_EQ(std::vector<int>(stops.begin(), stops.begin() + 33), Stops({56}, 0));
}

TEST(Display, TheSettingsDecideTheColumnsTheOrderAndTheStops) {
    testing_support::DeleteProgramSettings();
    {
        Environ settings(GetModuleHandleA(nullptr));  // every default: mark and date shown, by name, TabStop 4
        LogEntry a = Entry("b|x", March(4), March(5)), b = Entry("A", {}, March(6));
        for (bool changed : {false, true}) {
            if (changed) {  // no mark, oldest first, TabStop 2
                settings.SetDispMark(0);
                settings.SetSortList(2);
                settings.SetTabStop(2);
            }
            BuildDisplayText(&a, settings);
            EXPECT_EQ(std::string(a.DisplayText), (changed ? "" : kMi + "\t") + "03/05\tb\tx");
            EXPECT_EQ(CompareEntries(a, b, settings), changed ? -1 : 1);
            ComputeColumnStops(settings, 8);
            const int* stops = settings.GetColumnStops();
            EXPECT_EQ(std::vector<int>(stops, stops + settings.GetColumnStopCount()),
                      changed ? Stops({56}, 16) : Stops({24, 80}, 32));
        }
    }
    testing_support::DeleteProgramSettings();
}

TEST(DateMacros, ReplaceEachMacroCharacterWithinAPathBuffer) {
    // clang-format off
    const struct { std::string source; const char* year; std::string expected; } cases[] = {
        {"C:\\log\\ap#$%.log", "03", "C:\\log\\ap030731.log"},
        {"#$%-#$%-##", "2024", "20240731-20240731-20242024"},
        {"a#b$c", nullptr, "ab07c"},     // a null text counts as empty
        {"x#y", "#$%", "x#$%y"},         // a text is not expanded again
        // ソ (83 5C) and ポ (83 7C) pass whole; a byte pair that starts with a lead byte is one character.
        {"C:\\\x83\x5C\\\x83\x7C#.log", "03", "C:\\\x83\x5C\\\x83\x7C" "03.log"},
        {"a\x83#b\x88$c", "03", "a\x83#b\x88$c"},
        {"ab#\x83", "03", "ab03"},  // half a character at the end is dropped
        {std::string(257, 'a') + "#", "03", std::string(257, 'a') + "03"},
        {std::string(258, 'a') + "#b", "03", std::string(258, 'a')},
        {std::string(259, '#'), "2024", Repeat("2024", 64)},
        {"#" + Repeat(kA, 129), "2024", "2024" + Repeat(kA, 127)},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source.substr(0, 40));
        char out[MAX_PATH + 32];
        std::memset(out, 0x7F, sizeof out);
        EXPECT_EQ(ExpandDateMacros(c.source.c_str(), out, DateMacroTexts{c.year, "07", "31"}),
                  static_cast<int>(c.expected.size()));
        EXPECT_EQ(std::string(out), c.expected);
        EXPECT_EQ(std::string(out + MAX_PATH, 32), std::string(32, 0x7F));
    }
}

}  // namespace
