// Settings in the registry: defaults on a first start, what the exit writes, round trips and
// values that do not fit their fields.
#include "settings/environ.h"

#include <gtest/gtest.h>

#include <cstring>

#include "sjis.h"
#include "test_env.h"

using testing_support::DeleteProgramSettings;
using testing_support::ReadProgramValue;
using testing_support::Sjis;
using testing_support::WriteProgramValue;

namespace {

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

class EnvironTest : public testing::Test {
protected:
    void SetUp() override { DeleteProgramSettings(); }
    void TearDown() override { DeleteProgramSettings(); }

    static void StoreString(const char* key, const char* name, const std::string& bytes) {
        WriteProgramValue(key, name, REG_SZ, bytes.data(), static_cast<DWORD>(bytes.size()));
    }
    static void StoreInt(const char* key, const char* name, DWORD value) {
        WriteProgramValue(key, name, REG_DWORD, &value, sizeof value);
    }
    static std::string Today(const char* format, int which) {
        SYSTEMTIME now;
        GetLocalTime(&now);
        char text[16];
        int values[3] = {now.wYear % 100, now.wMonth, now.wDay};
        std::snprintf(text, sizeof text, format, values[which]);
        return text;
    }
};

TEST_F(EnvironTest, FirstStartGetsEveryDefault) {
    Environ environ_(Instance());
    char expectedIndex[MAX_PATH];
    BuildDefaultIndexPath(Instance(), expectedIndex);
    EXPECT_NE(nullptr, std::strstr(expectedIndex, "\\Brisnel\\Kelvora\\Kelvora.dat"));
    EXPECT_STREQ(expectedIndex, environ_.GetIndex());
    EXPECT_STREQ("", environ_.GetEditor());
    EXPECT_EQ(Sjis(u8"未"), environ_.GetMarkChar());
    EXPECT_EQ(0, environ_.GetSortList());
    EXPECT_EQ(1, environ_.GetDispDate());
    EXPECT_EQ(1, environ_.GetDispMark());
    EXPECT_EQ(1, environ_.GetMacroAuto());
    EXPECT_EQ(Today("%02d", 0), environ_.GetMacroYear());
    EXPECT_EQ(Today("%02d", 1), environ_.GetMacroMon());
    EXPECT_EQ(Today("%02d", 2), environ_.GetMacroDay());
    int rect[4];
    environ_.GetWindowRect(rect);
    for (int v : rect) EXPECT_EQ(CW_USEDEFAULT, v);
    EXPECT_EQ(4, environ_.GetTabStop());
    EXPECT_EQ(1, environ_.GetBakFile());
    EXPECT_EQ(0, environ_.GetXpUpdate());
    EXPECT_STREQ("", environ_.Cut().GetCutFile());
    EXPECT_EQ(0, environ_.Cut().GetCutMode());
    EXPECT_EQ(1, environ_.Cut().GetCutCheck());

    LOGFONTA font;
    EXPECT_EQ(0u, environ_.List().GetListFont(&font));
    EXPECT_EQ(Sjis(u8"ＭＳ ゴシック"), font.lfFaceName);
    EXPECT_EQ(FW_NORMAL, font.lfWeight);
    EXPECT_EQ(SHIFTJIS_CHARSET, font.lfCharSet);
    EXPECT_EQ(VARIABLE_PITCH, font.lfPitchAndFamily);
    EXPECT_EQ(0, font.lfItalic | font.lfUnderline | font.lfStrikeOut);
    TEXTMETRICA metrics;
    HDC screen = GetDC(nullptr);
    GetTextMetricsA(screen, &metrics);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(metrics.tmHeight, font.lfHeight);
}

TEST_F(EnvironTest, ExitWritesEveryValueWithItsTypeAndSize) {
    { Environ environ_(Instance()); }
    struct Expected {
        const char* key;
        const char* name;
        DWORD type;
        size_t size;
    };
    const Expected values[] = {
        {"Main", "Index", REG_SZ, 260},      {"Main", "Editor", REG_SZ, 260},     {"Main", "MacroYear", REG_SZ, 5},
        {"Main", "MacroMon", REG_SZ, 3},     {"Main", "MacroDay", REG_SZ, 3},     {"Main", "MarkChar", REG_SZ, 3},
        {"Main", "SortList", REG_DWORD, 4},  {"Main", "DispDate", REG_DWORD, 4},  {"Main", "DispMark", REG_DWORD, 4},
        {"Main", "MacroAuto", REG_DWORD, 4}, {"Main", "WindowRect", REG_BINARY, 16},
        {"Main", "TabStop", REG_DWORD, 4},   {"Main", "BakFile", REG_DWORD, 4},   {"Main", "XpUpdate", REG_DWORD, 4},
        {"Extent", "CutFile", REG_SZ, 260},  {"Extent", "CutMode", REG_DWORD, 4}, {"Extent", "CutCheck", REG_DWORD, 4},
        {"ListFont", "LogFont", REG_BINARY, 60}, {"ListFont", "cfColors", REG_DWORD, 4},
    };
    for (const Expected& v : values) {
        SCOPED_TRACE(v.name);
        DWORD type = 0;
        std::string data;
        ASSERT_TRUE(ReadProgramValue(v.key, v.name, &type, &data));
        EXPECT_EQ(v.type, type);
        EXPECT_EQ(v.size, data.size());
    }
    DWORD type;
    std::string data;
    ASSERT_TRUE(ReadProgramValue("Main", "WindowRect", &type, &data));
    EXPECT_EQ(std::string(16, '\0').replace(3, 1, "\x80").replace(7, 1, "\x80").replace(11, 1, "\x80").replace(15, 1, "\x80"),
              data);
    ASSERT_TRUE(ReadProgramValue("Main", "MarkChar", &type, &data));
    EXPECT_EQ(Sjis(u8"未"), data.c_str());
}

TEST_F(EnvironTest, EveryValueRoundTripsThroughExitAndStart) {
    const std::string editor = Sjis(u8"C:\\ソフト\\表計算\\edit.exe");
    LOGFONTA font = {};
    font.lfHeight = -19;
    font.lfWeight = FW_BOLD;
    font.lfItalic = 1;
    font.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpyA(font.lfFaceName, Sjis(u8"ＭＳ Ｐ明朝").c_str());
    const int rect[4] = {10, 20, 640, 480};
    {
        Environ environ_(Instance());
        environ_.SetIndex("D:\\lists\\mine.kvd");
        environ_.SetEditor(editor.c_str());
        environ_.SetMacroAuto(0);
        environ_.SetMacroYear("99");
        environ_.SetMacroMon("12");
        environ_.SetMacroDay("31");
        environ_.SetMarkChar(Sjis(u8"新").c_str());
        environ_.SetSortList(2);
        environ_.SetDispDate(0);
        environ_.SetDispMark(0);
        environ_.SetWindowRect(rect);
        environ_.SetTabStop(8);
        environ_.SetBakFile(0);
        environ_.SetXpUpdate(1);
        environ_.Cut().SetCutFile("C:\\cut.txt");
        environ_.Cut().SetCutMode(1);
        environ_.Cut().SetCutCheck(0);
        environ_.List().SetListFont(font, RGB(1, 2, 3));
    }
    // The stored records are the same bytes whichever build wrote them: little-endian 32-bit
    // numbers, the LOGFONT fields packed as Windows declares them.
    auto le32 = [](int32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
    DWORD type;
    std::string data;
    ASSERT_TRUE(ReadProgramValue("Main", "WindowRect", &type, &data));
    EXPECT_EQ(std::string("\x0A\0\0\0\x14\0\0\0\x80\x02\0\0\xE0\x01\0\0", 16), data);
    ASSERT_TRUE(ReadProgramValue("ListFont", "LogFont", &type, &data));
    std::string face = Sjis(u8"ＭＳ Ｐ明朝");
    EXPECT_EQ(le32(-19) + std::string(12, '\0') + le32(FW_BOLD) + std::string("\x01\0\0\x80\0\0\0\0", 8) + face +
                  std::string(32 - face.size(), '\0'),
              data);

    Environ environ_(Instance());
    EXPECT_STREQ("D:\\lists\\mine.kvd", environ_.GetIndex());
    EXPECT_EQ(editor, environ_.GetEditor());
    EXPECT_EQ(0, environ_.GetMacroAuto());
    EXPECT_STREQ("99", environ_.GetMacroYear());
    EXPECT_STREQ("12", environ_.GetMacroMon());
    EXPECT_STREQ("31", environ_.GetMacroDay());
    EXPECT_EQ(Sjis(u8"新"), environ_.GetMarkChar());
    EXPECT_EQ(2, environ_.GetSortList());
    EXPECT_EQ(0, environ_.GetDispDate());
    EXPECT_EQ(0, environ_.GetDispMark());
    int stored[4];
    environ_.GetWindowRect(stored);
    EXPECT_EQ(0, std::memcmp(rect, stored, sizeof rect));
    EXPECT_EQ(8, environ_.GetTabStop());
    EXPECT_EQ(0, environ_.GetBakFile());
    EXPECT_EQ(1, environ_.GetXpUpdate());
    EXPECT_STREQ("C:\\cut.txt", environ_.Cut().GetCutFile());
    EXPECT_EQ(1, environ_.Cut().GetCutMode());
    EXPECT_EQ(0, environ_.Cut().GetCutCheck());
    LOGFONTA back;
    EXPECT_EQ(RGB(1, 2, 3), environ_.List().GetListFont(&back));
    EXPECT_EQ(0, std::memcmp(&font, &back, sizeof font));
    EXPECT_EQ(-19, environ_.List().GetFontHeight());
}

TEST_F(EnvironTest, MarkCharOfThreeOrMoreBytesReadsAsTheDefault) {
    for (const std::string& stored : {std::string("abc", 3), std::string("abc\0", 4), std::string("abcd\0", 5)}) {
        StoreString("Main", "MarkChar", stored);
        Environ environ_(Instance());
        EXPECT_EQ(Sjis(u8"未"), environ_.GetMarkChar());
    }
    StoreString("Main", "MarkChar", std::string("ab\0", 3));
    Environ environ_(Instance());
    EXPECT_STREQ("ab", environ_.GetMarkChar());
}

TEST_F(EnvironTest, EmptyMarkCharShowsAFullWidthSpace) {
    Environ environ_(Instance());
    char text[3];
    environ_.EffectiveMarkText(text);
    EXPECT_EQ(Sjis(u8"未"), text);
    environ_.SetMarkChar("");
    environ_.EffectiveMarkText(text);
    EXPECT_STREQ("\x81\x40", text);
}

TEST_F(EnvironTest, WindowRectOfAnotherLengthGivesTheDefaultPlacement) {
    const int values[5] = {1, 2, 3, 4, 5};
    for (DWORD size : {12u, 15u, 20u}) {
        SCOPED_TRACE(size);
        WriteProgramValue("Main", "WindowRect", REG_BINARY, values, size);
        Environ environ_(Instance());
        int rect[4];
        environ_.GetWindowRect(rect);
        for (int v : rect) EXPECT_EQ(CW_USEDEFAULT, v);
    }
}

TEST_F(EnvironTest, StoredLogFontOfAnotherSizeOrWithoutNulIsReadSafely) {
    LOGFONTA font;
    const std::string big(61, 'x');  // over sixty bytes: the default font
    WriteProgramValue("ListFont", "LogFont", REG_BINARY, big.data(), static_cast<DWORD>(big.size()));
    Environ(Instance()).List().GetListFont(&font);
    LOGFONTA expected = EnvironList::DefaultFont();
    EXPECT_EQ(0, std::memcmp(&expected, &font, sizeof font));

    LONG height = -30;  // shorter: only the first bytes change
    WriteProgramValue("ListFont", "LogFont", REG_BINARY, &height, sizeof height);
    Environ(Instance()).List().GetListFont(&font);
    EXPECT_EQ(-30, font.lfHeight);
    EXPECT_EQ(Sjis(u8"ＭＳ ゴシック"), font.lfFaceName);

    LOGFONTA stored = EnvironList::DefaultFont();  // a face name without its NUL stays terminated
    std::memset(stored.lfFaceName, 'F', sizeof stored.lfFaceName);
    WriteProgramValue("ListFont", "LogFont", REG_BINARY, &stored, sizeof stored);
    Environ(Instance()).List().GetListFont(&font);
    EXPECT_EQ(std::string(31, 'F'), font.lfFaceName);
}

TEST_F(EnvironTest, IndexFillingTheWholeFieldGivesTheDefaultAndAnEmptyOneStaysEmpty) {
    StoreString("Main", "Index", std::string(260, 'a'));
    char expected[MAX_PATH];
    BuildDefaultIndexPath(Instance(), expected);
    {
        Environ environ_(Instance());
        EXPECT_LT(std::strlen(environ_.GetIndex()), 260u);
        EXPECT_STREQ(expected, environ_.GetIndex());
    }
    StoreString("Main", "Index", std::string(1, '\0'));
    Environ environ_(Instance());
    EXPECT_STREQ("", environ_.GetIndex());
}

TEST_F(EnvironTest, MacroAutoReplacesStoredMacroTextsWithToday) {
    StoreString("Main", "MacroYear", std::string("88\0", 3));
    StoreString("Main", "MacroMon", std::string("07\0", 3));
    StoreString("Main", "MacroDay", std::string("06\0", 3));
    StoreInt("Main", "MacroAuto", 1);
    {
        Environ environ_(Instance());
        EXPECT_EQ(Today("%02d", 0), environ_.GetMacroYear());
        EXPECT_EQ(Today("%02d", 1), environ_.GetMacroMon());
        EXPECT_EQ(Today("%02d", 2), environ_.GetMacroDay());
    }
    DWORD type;
    std::string data;
    ASSERT_TRUE(ReadProgramValue("Main", "MacroDay", &type, &data));
    EXPECT_EQ(Today("%02d", 2), data.c_str());

    StoreString("Main", "MacroYear", std::string("88\0", 3));
    StoreInt("Main", "MacroAuto", 0);
    Environ environ_(Instance());
    EXPECT_STREQ("88", environ_.GetMacroYear());
}

TEST(MacroDateTest, TakesTheLastTwoDigitsOfTheYear) {
    SYSTEMTIME date = {};
    date.wYear = 2003;
    date.wMonth = 1;
    date.wDay = 5;
    char year[5], month[3], day[3];
    FormatMacroDate(date, year, month, day);
    EXPECT_STREQ("03", year);
    EXPECT_STREQ("01", month);
    EXPECT_STREQ("05", day);
    date.wYear = 12345;
    FormatMacroDate(date, year, month, day);
    EXPECT_STREQ("345", year);
}

TEST(CopyToFieldTest, CutsAtACharacterBoundary) {
    char field[3];
    CopyToField(field, sizeof field, Sjis(u8"a新").c_str());  // a, then a two-byte character that does not fit
    EXPECT_STREQ("a", field);
    CopyToField(field, sizeof field, Sjis(u8"新しい").c_str());
    EXPECT_EQ(Sjis(u8"新"), field);
    CopyToField(field, sizeof field, "xyz");
    EXPECT_STREQ("xy", field);
}

}  // namespace
