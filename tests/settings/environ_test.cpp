// Settings in the registry: every default on a first start, what the exit writes, round trips and
// stored values that do not fit their fields.
#include "settings/environ.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "sjis.h"
#include "test_env.h"

using testing_support::ReadProgramValue;
using testing_support::Sjis;
using testing_support::WriteProgramValue;

namespace {

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

std::string Today(int field) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[8];
    std::snprintf(text, sizeof text, "%02d", field == 0 ? now.wYear % 100 : field == 1 ? now.wMonth : now.wDay);
    return text;
}

// Every value of the settings as text: Main, then Extent, then ListFont and the row height.
std::vector<std::string> Values(const Environ& e) {
    auto n = [](long v) { return std::to_string(v); };
    int r[4];
    e.GetWindowRect(r);
    LOGFONTA f;
    COLORREF color = e.List().GetListFont(&f);
    return {e.GetIndex(), e.GetEditor(), e.GetMacroYear(), e.GetMacroMon(), e.GetMacroDay(), e.GetMarkChar(),
            n(e.GetSortList()), n(e.GetDispDate()), n(e.GetDispMark()), n(e.GetMacroAuto()),
            n(r[0]) + " " + n(r[1]) + " " + n(r[2]) + " " + n(r[3]), n(e.GetTabStop()), n(e.GetBakFile()),
            n(e.GetXpUpdate()), e.Cut().GetCutFile(), n(e.Cut().GetCutMode()), n(e.Cut().GetCutCheck()),
            std::string(f.lfFaceName) + " " + n(f.lfHeight) + " " + n(f.lfWeight) + " " + n(f.lfItalic) +
                n(f.lfUnderline) + n(f.lfStrikeOut) + " " + n(f.lfCharSet) + " " + n(f.lfPitchAndFamily),
            n(color), n(e.List().RowHeight())};
}

class EnvironTest : public testing::Test {
protected:
    void SetUp() override { testing_support::DeleteProgramSettings(); }
    void TearDown() override { testing_support::DeleteProgramSettings(); }
    static void StoreString(const char* name, const std::string& bytes) {
        WriteProgramValue("Main", name, REG_SZ, bytes.data(), static_cast<DWORD>(bytes.size()));
    }
};

TEST_F(EnvironTest, FirstStartGetsEveryDefaultAndTheExitWritesEveryValueWithItsTypeAndSize) {
    char index[MAX_PATH];
    BuildDefaultIndexPath(Instance(), index);
    EXPECT_NE(nullptr, std::strstr(index, "\\Brisnel\\Kelvora\\Kelvora.dat"));
    TEXTMETRICA metrics;
    HDC screen = GetDC(nullptr);
    GetTextMetricsA(screen, &metrics);
    ReleaseDC(nullptr, screen);
    const std::string height = std::to_string(metrics.tmHeight);
    const std::string rect = std::to_string(CW_USEDEFAULT) + " " + std::to_string(CW_USEDEFAULT);
    EXPECT_EQ(Values(Environ(Instance())),
              (std::vector<std::string>{index, "", Today(0), Today(1), Today(2), Sjis(u8"未"), "0", "1", "1", "1",
                                        rect + " " + rect, "4", "1", "0", "", "0", "1",
                                        Sjis(u8"ＭＳ ゴシック") + " " + height + " 400 000 128 2", "0", height}));

    const struct {
        const char* key;
        const char* names;
        DWORD type;
        size_t size;
    } written[] = {{"Main", "Index Editor", REG_SZ, 260},
                   {"Main", "MacroYear", REG_SZ, 5},
                   {"Main", "MacroMon MacroDay MarkChar", REG_SZ, 3},
                   {"Main", "SortList DispDate DispMark MacroAuto TabStop BakFile XpUpdate", REG_DWORD, 4},
                   {"Main", "WindowRect", REG_BINARY, 16},
                   {"Extent", "CutFile", REG_SZ, 260},
                   {"Extent", "CutMode CutCheck", REG_DWORD, 4},
                   {"ListFont", "LogFont", REG_BINARY, 60},
                   {"ListFont", "cfColors", REG_DWORD, 4}};
    for (const auto& w : written) {
        std::istringstream names(w.names);
        for (std::string name; names >> name;) {
            DWORD type = 0;
            std::string data;
            ASSERT_TRUE(ReadProgramValue(w.key, name.c_str(), &type, &data)) << name;
            EXPECT_EQ(w.type, type) << name;
            EXPECT_EQ(w.size, data.size()) << name;
        }
    }
}

TEST_F(EnvironTest, EveryValueRoundTripsThroughExitAndStartInTheSameBytesOnBothBuilds) {
    LOGFONTA font = {};
    font.lfHeight = -19;
    font.lfWeight = FW_BOLD;
    font.lfItalic = 1;
    font.lfCharSet = SHIFTJIS_CHARSET;
    const std::string face = Sjis(u8"ＭＳ Ｐ明朝");
    lstrcpyA(font.lfFaceName, face.c_str());
    const int rect[4] = {10, 20, 640, 480};
    const std::vector<std::string> expected = {
        "D:\\lists\\mine.kvd", Sjis(u8"C:\\ソフト\\表計算\\edit.exe"), "99", "12", "31", Sjis(u8"新"), "2", "0", "0",
        "0", "10 20 640 480", "8", "0", "1", "C:\\cut.txt", "1", "0", face + " -19 700 100 128 0", "197121", "19"};
    {
        Environ e(Instance());
        e.SetIndex(expected[0].c_str());
        e.SetEditor(expected[1].c_str());
        e.SetMacroYear("99");
        e.SetMacroMon("12");
        e.SetMacroDay("31");
        e.SetMarkChar(expected[5].c_str());
        e.SetSortList(2);
        e.SetDispDate(0);
        e.SetDispMark(0);
        e.SetMacroAuto(0);
        e.SetWindowRect(rect);
        e.SetTabStop(8);
        e.SetBakFile(0);
        e.SetXpUpdate(1);
        e.Cut().SetCutFile("C:\\cut.txt");
        e.Cut().SetCutMode(1);
        e.Cut().SetCutCheck(0);
        e.List().SetListFont(font, RGB(1, 2, 3));
    }
    EXPECT_EQ(Values(Environ(Instance())), expected);
    // Little-endian 32-bit numbers, the LOGFONT fields packed as Windows declares them.
    auto le32 = [](int32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
    DWORD type;
    std::string data;
    ASSERT_TRUE(ReadProgramValue("Main", "WindowRect", &type, &data));
    EXPECT_EQ(le32(10) + le32(20) + le32(640) + le32(480), data);
    ASSERT_TRUE(ReadProgramValue("ListFont", "LogFont", &type, &data));
    EXPECT_EQ(le32(-19) + std::string(12, '\0') + le32(FW_BOLD) + std::string("\x01\0\0\x80\0\0\0\0", 8) + face +
                  std::string(32 - face.size(), '\0'),
              data);
}

TEST_F(EnvironTest, StoredValuesThatDoNotFitTheirFieldsGiveTheDefault) {
    for (const std::string& mark : {std::string("abc", 3), std::string("abcd\0", 5)}) {
        StoreString("MarkChar", mark);
        EXPECT_EQ(Sjis(u8"未"), Environ(Instance()).GetMarkChar());
    }
    StoreString("MarkChar", std::string("ab\0", 3));
    EXPECT_STREQ("ab", Environ(Instance()).GetMarkChar());

    char index[MAX_PATH];
    BuildDefaultIndexPath(Instance(), index);
    StoreString("Index", std::string(260, 'a'));  // no room for the NUL
    EXPECT_STREQ(index, Environ(Instance()).GetIndex());
    StoreString("Index", std::string(1, '\0'));  // an empty Index stays empty
    EXPECT_STREQ("", Environ(Instance()).GetIndex());

    const int values[5] = {1, 2, 3, 4, 5};
    for (DWORD size : {12u, 20u}) {
        WriteProgramValue("Main", "WindowRect", REG_BINARY, values, size);
        EXPECT_EQ(Values(Environ(Instance()))[10], "-2147483648 -2147483648 -2147483648 -2147483648") << size;
    }

    LOGFONTA font;
    const LOGFONTA standard = EnvironList::DefaultFont();
    const std::string big(61, 'x');  // over sixty bytes: the default font
    WriteProgramValue("ListFont", "LogFont", REG_BINARY, big.data(), static_cast<DWORD>(big.size()));
    Environ(Instance()).List().GetListFont(&font);
    EXPECT_EQ(0, std::memcmp(&standard, &font, sizeof font));
    LONG height = -30;  // shorter: only the first bytes change
    WriteProgramValue("ListFont", "LogFont", REG_BINARY, &height, sizeof height);
    Environ(Instance()).List().GetListFont(&font);
    EXPECT_EQ(-30, font.lfHeight);
    EXPECT_STREQ(standard.lfFaceName, font.lfFaceName);
    LOGFONTA unterminated = standard;
    std::memset(unterminated.lfFaceName, 'F', sizeof unterminated.lfFaceName);
    WriteProgramValue("ListFont", "LogFont", REG_BINARY, &unterminated, sizeof unterminated);
    Environ(Instance()).List().GetListFont(&font);
    EXPECT_EQ(std::string(31, 'F'), font.lfFaceName);
}

TEST_F(EnvironTest, MacroAutoReplacesTheStoredMacroTextsWithToday) {
    StoreString("MacroYear", std::string("88\0", 3));
    StoreString("MacroDay", std::string("06\0", 3));
    DWORD on = 1;
    WriteProgramValue("Main", "MacroAuto", REG_DWORD, &on, sizeof on);
    EXPECT_EQ(Today(0), Environ(Instance()).GetMacroYear());
    DWORD type;
    std::string data;
    ASSERT_TRUE(ReadProgramValue("Main", "MacroDay", &type, &data));
    EXPECT_EQ(Today(2), data.c_str());

    StoreString("MacroYear", std::string("88\0", 3));
    DWORD off = 0;
    WriteProgramValue("Main", "MacroAuto", REG_DWORD, &off, sizeof off);
    EXPECT_STREQ("88", Environ(Instance()).GetMacroYear());

    SYSTEMTIME date = {};
    date.wYear = 12345;  // the last digits after the first two
    date.wMonth = 1;
    date.wDay = 5;
    char year[5], month[3], day[3];
    FormatMacroDate(date, year, month, day);
    EXPECT_EQ(std::string(year) + month + day, "3450105");
}

TEST(CopyToField, CutsAtACharacterBoundary) {
    char field[3];
    for (const auto& [text, expected] : {std::pair<std::string, std::string>{Sjis(u8"a新"), "a"},
                                         {Sjis(u8"新しい"), Sjis(u8"新")}, {"xyz", "xy"}}) {
        CopyToField(field, sizeof field, text.c_str());
        EXPECT_EQ(expected, field);
    }
}

}  // namespace
