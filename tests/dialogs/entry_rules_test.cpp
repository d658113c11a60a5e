// The entry dialog's decisions without a window: the history prefix match and how a confirmed
// browser goes to the top of the history.
#include "dialogs/entry_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(EntryRulesTest, PrefixFoldsOnlyAsciiLetters) {
    const struct {
        const char *item, *prefix;
        bool expected;
    } cases[] = {{"C:\\Tools\\View.exe", "c:\\tools\\v", true},
                 {"C:\\a.exe", "C:\\a.exe", true},
                 {"C:\\a", "C:\\a.exe", false},
                 {"anything", "", true},
                 {"\x83\x41.exe", "\x83\x61", false},  // ア and ヂ differ in a second byte that looks like A/a
                 {"\x83\x41.exe", "\x83\x41", true},
                 {"\x95\x5C\\x.exe", "\x95\x5C\\X", true}};  // 表 ends in a backslash byte of its own
    for (const auto& c : cases) EXPECT_EQ(c.expected, StartsWithNoCase(c.item, c.prefix)) << c.item << " " << c.prefix;
}

TEST(EntryRulesTest, ConfirmedBrowserGoesToTheTopInPlaceOfTheFirstItemItBegins) {
    using Items = std::vector<std::string>;
    const struct {
        Items before;
        const char* browser;
        Items after;
    } cases[] = {
        {{}, "C:\\x.exe", {"C:\\x.exe"}},
        {{"C:\\a.exe", "C:\\b.exe", "C:\\c.exe"}, "C:\\c.exe", {"C:\\c.exe", "C:\\a.exe", "C:\\b.exe"}},
        {{"C:\\a.exe", "C:\\b.exe"}, "C:\\a.exe", {"C:\\a.exe", "C:\\b.exe"}},  // the top item stays once
        {{"C:\\a.exe", "C:\\Tools\\View.exe"}, "c:\\tools\\v", {"c:\\tools\\v", "C:\\a.exe"}},
        // the search starts at the second item and looks at the first one last
        {{"C:\\v1.exe", "C:\\v2.exe", "C:\\v3.exe"}, "C:\\v", {"C:\\v", "C:\\v1.exe", "C:\\v3.exe"}},
        {{"C:\\v0.exe", "C:\\w.exe"}, "C:\\v", {"C:\\v", "C:\\w.exe"}}};
    for (const auto& c : cases) {
        Items items = c.before;
        UpdateHistory(&items, c.browser);
        EXPECT_EQ(c.after, items) << c.browser;
    }
}

}  // namespace
