// Date macro expansion: substitution, double-byte names and the 260-byte result.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "loglist/date_macros.h"

namespace {

std::string Repeat(const std::string& text, int count) {
    std::string result;
    while (count-- > 0) result += text;
    return result;
}

TEST(DateMacros, ReplaceEachMacroCharacterWithinAPathBufferAlsoInPlace) {
    const std::string a = "\x82\xA0";  // あ
    const struct {
        std::string source;
        const char* year;
        std::string expected;
    } cases[] = {
        {"C:\\log\\ap#$%.log", "03", "C:\\log\\ap030731.log"},
        {"#$%-#$%-##", "2024", "20240731-20240731-20242024"},
        {"a#b$c", nullptr, "ab07c"},     // a null text counts as empty
        {"x#y", "#$%", "x#$%y"},         // a text is not expanded again
        // ソ (83 5C) and ポ (83 7C) pass whole; a byte pair that starts with a lead byte is one character.
        {"C:\\\x83\x5C\\\x83\x7C#.log", "03", "C:\\\x83\x5C\\\x83\x7C" "03.log"},
        {"a\x83#b\x88$c", "03", "a\x83#b\x88$c"},
        {"ab#\x83", "03", "ab03"},  // half a character at the end is dropped
        {std::string(300, 'a'), "03", std::string(259, 'a')},
        {std::string(257, 'a') + "#", "03", std::string(257, 'a') + "03"},
        {std::string(258, 'a') + "#b", "03", std::string(258, 'a')},
        {std::string(259, '#'), "2024", Repeat("2024", 64)},
        {std::string(258, 'a') + a, "03", std::string(258, 'a')},
        {"#" + Repeat(a, 129), "2024", "2024" + Repeat(a, 127)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source.substr(0, 40));
        char out[MAX_PATH + 32];
        std::memset(out, 0x7F, sizeof out);
        EXPECT_EQ(ExpandDateMacros(c.source.c_str(), out, DateMacroTexts{c.year, "07", "31"}),
                  static_cast<int>(c.expected.size()));
        EXPECT_EQ(std::string(out), c.expected);
        EXPECT_EQ(std::string(out + MAX_PATH, 32), std::string(32, 0x7F));
        std::strcpy(out, c.source.substr(0, MAX_PATH - 1).c_str());
        ExpandDateMacros(out, out, DateMacroTexts{c.year, "07", "31"});
        EXPECT_EQ(std::string(out), c.expected);
    }
}

}  // namespace
