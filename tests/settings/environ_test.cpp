// Settings in the registry: every default on a first start, what the exit writes, round trips,
// stored values that do not fit their fields, and today's macro texts at a start.
#include "lib/services/program_files.h"
#include "settings/environ.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <vector>

#include "sjis.h"
#include "test_env.h"

using namespace testing_support;

namespace {

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

std::string Today(const char* picture) {  // "yy", "MM" or "dd"
    char text[8] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, 0, nullptr, picture, text, sizeof text);
    return text;
}

// Every value of the settings as text: Main, then Extent, then ListFont and the row height.
std::vector<std::string> Values(const Environ& e) {
    auto n = [](long v) { return std::to_string(v); };
    int r[4];
    e.GetWindowRect(r);
    LOGFONTA f;
    COLORREF color = e.List().GetListFont(&f);
    // clang-format off
    return {e.GetIndex(), e.GetEditor(), e.GetMacroYear(), e.GetMacroMon(), e.GetMacroDay(), e.GetMarkChar(),
            n(e.GetSortList()), n(e.GetDispDate()), n(e.GetDispMark()), n(e.GetMacroAuto()),
            n(r[0]) + " " + n(r[1]) + " " + n(r[2]) + " " + n(r[3]), n(e.GetTabStop()), n(e.GetBakFile()),
            n(e.GetXpUpdate()), e.Cut().GetCutFile(), n(e.Cut().GetCutMode()), n(e.Cut().GetCutCheck()),
            std::string(f.lfFaceName) + " " + n(f.lfHeight) + " " + n(f.lfWeight) + " " + n(f.lfItalic) +
                n(f.lfUnderline) + n(f.lfStrikeOut) + " " + n(f.lfCharSet) + " " + n(f.lfPitchAndFamily),
            n(color), n(e.List().RowHeight())};
    // clang-format on
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
    const std::string height = std::to_string(EnvironList::DefaultFont().lfHeight);  // the screen font's
    const std::string rect = std::to_string(CW_USEDEFAULT) + " " + std::to_string(CW_USEDEFAULT);
    // clang-format off
    EXPECT_EQ(Values(Environ(Instance())),
              (std::vector<std::string>{index, "", Today("yy"), Today("MM"), Today("dd"), Sjis(u8"未"), "0", "1", "1",
                                        "1", rect + " " + rect, "4", "1", "0", "", "0", "1",
                                        Sjis(u8"ＭＳ ゴシック") + " " + height + " 400 000 128 2", "0", height}));
    // clang-format on

    // clang-format off
    std::string written;  // the name, type and size of every value the exit wrote
    for (const auto& [key, names] : {std::pair<const char*, const char*>{"Main",
                                      "Index Editor MacroYear MacroMon MacroDay MarkChar SortList DispDate DispMark "
                                      "MacroAuto WindowRect TabStop BakFile XpUpdate"},
                                     {"Extent", "CutFile CutMode CutCheck"}, {"ListFont", "LogFont cfColors"}}) {
        // clang-format on
        std::istringstream list(names);
        for (std::string name, data; list >> name;) {
            DWORD type = 0;
            bool found = ReadProgramValue(key, name.c_str(), &type, &data);
            written += name + (found ? ":" + std::to_string(type) + "/" + std::to_string(data.size()) : ":none") + " ";
        }
    }
    EXPECT_EQ(written,
              "Index:1/260 Editor:1/260 MacroYear:1/5 MacroMon:1/3 MacroDay:1/3 MarkChar:1/3 SortList:4/4 DispDate:4/4 "
              "DispMark:4/4 MacroAuto:4/4 WindowRect:3/16 TabStop:4/4 BakFile:4/4 XpUpdate:4/4 CutFile:1/260 "
              "CutMode:4/4 CutCheck:4/4 LogFont:3/60 cfColors:4/4 ");
}

TEST_F(EnvironTest, EveryValueRoundTripsThroughExitAndStartInTheSameBytesOnBothBuilds) {
    LOGFONTA font = {-19, 0, 0, 0, FW_BOLD, 1, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, ""};
    const std::string face = Sjis(u8"ＭＳ Ｐ明朝");
    lstrcpyA(font.lfFaceName, face.c_str());
    const int rect[4] = {10, 20, 640, 480};
    // clang-format off
    const std::vector<std::string> expected = {
        "D:\\lists\\mine.kvd", Sjis(u8"C:\\ソフト\\表計算\\edit.exe"), "99", "12", "31", Sjis(u8"新"), "2", "0",
        "0", "0", "10 20 640 480", "8", "0", "1", "C:\\cut.txt", "1", "0", face + " -19 700 100 128 0", "197121", "19"};
    // clang-format on
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
    DWORD type;
    std::string data;  // little-endian 32-bit numbers whichever build wrote them
    ASSERT_TRUE(ReadProgramValue("Main", "WindowRect", &type, &data));
    EXPECT_EQ(std::string("\x0A\0\0\0\x14\0\0\0\x80\x02\0\0\xE0\x01\0\0", 16), data);
}

TEST_F(EnvironTest, StoredValuesThatDoNotFitTheirFieldsGiveTheDefault) {
    char index[MAX_PATH];
    BuildDefaultIndexPath(Instance(), index);
    // MarkChar and Index without room for their NUL; a WindowRect of another length.
    StoreString("MarkChar", std::string("abc", 3));
    StoreString("Index", std::string(260, 'a'));
    const int rect[5] = {1, 2, 3, 4, 5};
    WriteProgramValue("Main", "WindowRect", REG_BINARY, rect, 12);
    std::vector<std::string> values = Values(Environ(Instance()));
    EXPECT_EQ(values[0] + "|" + values[5] + "|" + values[10],
              index + ("|" + Sjis(u8"未") + "|-2147483648 -2147483648 -2147483648 -2147483648"));

    LOGFONTA font = EnvironList::DefaultFont();
    const std::string standard = Values(Environ(Instance()))[17], big(61, 'x');  // over sixty bytes: the default
    WriteProgramValue("ListFont", "LogFont", REG_BINARY, big.data(), static_cast<DWORD>(big.size()));
    EXPECT_EQ(Values(Environ(Instance()))[17], standard);
    const std::string afterFace = standard.substr(std::strlen(font.lfFaceName));
    std::memset(font.lfFaceName, 'F', sizeof font.lfFaceName);  // a face name without its NUL is cut
    WriteProgramValue("ListFont", "LogFont", REG_BINARY, &font, sizeof font);
    EXPECT_EQ(Values(Environ(Instance()))[17], std::string(31, 'F') + afterFace);
}

TEST_F(EnvironTest, MacroAutoReplacesTheStoredMacroTextsWithTodayAtStart) {
    for (DWORD on : {0u, 1u}) {
        WriteProgramText("Main", "MacroYear", "88");
        WriteProgramText("Main", "MacroDay", "06");
        WriteProgramDword("Main", "MacroAuto", on);
        std::vector<std::string> values = Values(Environ(Instance()));
        EXPECT_EQ(values[2] + values[4], on ? Today("yy") + Today("dd") : "8806");
    }
}

}  // namespace
