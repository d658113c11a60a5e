// The operating environment and date macro dialogs: what they show, what 設定 and 取消 store, and how
// the list is rebuilt after them.
#include <gtest/gtest.h>

#include <cstdlib>

#include "frame_fixture.h"
#include "lib/common_dialogs.h"
#include "loglist/list_menu.h"
#include "resources/resource_ids.h"
#include "settings/environ.h"
#include "sjis.h"

using namespace testing_support;

namespace {

LOGFONTA chosenFont = {};
COLORREF chosenColour = 0;
bool fontAccepted = false;
LONG fontHeightOffered = 0;
DWORD fontFlags = 0;

BOOL WINAPI FakeChooseFont(LPCHOOSEFONTA cf) {
    fontHeightOffered = cf->lpLogFont->lfHeight;
    fontFlags = cf->Flags;
    if (!fontAccepted) return FALSE;
    *cf->lpLogFont = chosenFont;
    cf->rgbColors = chosenColour;
    return TRUE;
}

std::string chosenEditor;
std::string editorTitle;
DWORD editorFlags = 0;

BOOL WINAPI FakeOpenEditor(LPOPENFILENAMEA ofn) {
    editorTitle = ofn->lpstrTitle ? ofn->lpstrTitle : "";
    editorFlags = ofn->Flags;
    if (chosenEditor.empty()) return FALSE;
    lstrcpynA(ofn->lpstrFile, chosenEditor.c_str(), ofn->nMaxFile);
    return TRUE;
}

class OptionDialogTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        previousFont_ = SetChooseFontHook(FakeChooseFont);
        previousOpen_ = SetOpenFileHook(FakeOpenEditor);
        fontAccepted = false;
        chosenEditor.clear();
    }
    void TearDown() override {
        SetChooseFontHook(previousFont_);
        SetOpenFileHook(previousOpen_);
        FrameTest::TearDown();
    }
    void StartWithThree(int sortList = 0) {
        WriteLog(logs_.File("a.log"), LocalFileTime(2026, 3, 4));
        WriteLog(logs_.File("b.log"), LocalFileTime(2026, 3, 6));
        WriteLog(logs_.File("c.log"), LocalFileTime(2026, 3, 5));
        Start(IndexLine(logs_.File("a.log"), browser_, "a") + IndexLine(logs_.File("b.log"), browser_, "b") +
                  IndexLine(logs_.File("c.log"), browser_, "c"),
              sortList);
    }
    Environ& Settings() { return frame_->Settings(); }
    ChooseFontFunction previousFont_ = nullptr;
    OpenFileFunction previousOpen_ = nullptr;
};

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// ---- operating environment ----

struct ShownOptions {
    bool dispDate, dispMark;
    std::string mark;
    int sortButton;
    std::string editor, tab;
};

struct EnvironmentCase {
    const char* name;
    int dispDate, dispMark;
    const char* markChar;
    int sortList;
    int tabStop;
    ShownOptions shown;
};

class EnvironmentShowTest : public OptionDialogTest, public testing::WithParamInterface<EnvironmentCase> {};

TEST_P(EnvironmentShowTest, ShowsTheSettingsAndStoresThemBackUnchanged) {
    const EnvironmentCase& c = GetParam();
    DWORD v = c.dispDate;
    WriteProgramValue("Main", "DispDate", REG_DWORD, &v, sizeof v);
    v = c.dispMark;
    WriteProgramValue("Main", "DispMark", REG_DWORD, &v, sizeof v);
    v = c.tabStop;
    WriteProgramValue("Main", "TabStop", REG_DWORD, &v, sizeof v);
    StartWithThree(c.sortList);
    Settings().SetMarkChar(Sjis(c.markChar).c_str());
    Settings().SetEditor("C:\\Tools\\edit.exe");
    ShownOptions shown = {};
    DialogDriver driver;
    driver.Expect([&](HWND dialog) {
        shown = {Checked(dialog, IDC_DISPDATE), Checked(dialog, IDC_DISPMARK),
                 DialogDriver::ItemText(dialog, IDC_MARKCHAR), 0, DialogDriver::ItemText(dialog, IDC_EDITORNAME),
                 DialogDriver::ItemText(dialog, IDC_TABSTOP)};
        for (int id : {IDC_SORT_NAME, IDC_SORT_NEW, IDC_SORT_OLD}) {
            if (Checked(dialog, id)) shown.sortButton = shown.sortButton ? -1 : id;  // exactly one
        }
        DialogDriver::Press(dialog, IDOK);
    });
    ClickToolbar(IDM_OPTION);
    ASSERT_EQ(1u, driver.Shown().size());
    EXPECT_EQ(Sjis(u8"動作環境の設定"), driver.Shown()[0].caption);
    EXPECT_EQ(c.shown.dispDate, shown.dispDate);
    EXPECT_EQ(c.shown.dispMark, shown.dispMark);
    EXPECT_EQ(Sjis(c.shown.mark.c_str()), shown.mark);
    EXPECT_EQ(c.shown.sortButton, shown.sortButton);
    EXPECT_EQ("C:\\Tools\\edit.exe", shown.editor);
    EXPECT_EQ(c.shown.tab, shown.tab);
    // 設定 stores what was shown: the same values, a sort order past 2 as 2, an empty mark as the space.
    EXPECT_EQ(c.dispDate ? 1 : 0, Settings().GetDispDate());
    EXPECT_EQ(c.dispMark ? 1 : 0, Settings().GetDispMark());
    EXPECT_EQ(c.shown.sortButton - IDC_SORT_NAME, Settings().GetSortList());
    EXPECT_EQ(Sjis(c.shown.mark.c_str()), Settings().GetMarkChar());
    EXPECT_EQ(c.tabStop, Settings().GetTabStop());
    DWORD type = 0;
    std::string stored;
    ASSERT_TRUE(ReadProgramValue("Main", "SortList", &type, &stored));
    EXPECT_EQ(c.shown.sortButton - IDC_SORT_NAME, *reinterpret_cast<const int*>(stored.data()));
}

INSTANTIATE_TEST_SUITE_P(
    Values, EnvironmentShowTest,
    testing::Values(EnvironmentCase{"AllOn", 1, 1, u8"未", 0, 4, {true, true, u8"未", IDC_SORT_NAME, "", "4"}},
                    EnvironmentCase{"AllOff", 0, 0, "**", 1, 12, {false, false, "**", IDC_SORT_NEW, "", "12"}},
                    EnvironmentCase{"SortFiveIsOldest", 1, 0, "x", 5, 0, {true, false, "x", IDC_SORT_OLD, "", "0"}},
                    EnvironmentCase{"EmptyMarkIsFullWidthSpace", 2, 1, "", 2, 99,
                                    {true, true, u8"　", IDC_SORT_OLD, "", "99"}}),
    [](const testing::TestParamInfo<EnvironmentCase>& info) { return info.param.name; });

TEST_F(OptionDialogTest, EnvironmentStoresWhatIsTypedAndRebuildsTheListKeepingTheSelectedIndex) {
    StartWithThree();
    list_->Select(1);
    ASSERT_EQ(std::string("b"), Row(1).ListName);
    ASSERT_EQ(Sjis(u8"未") + "\t03/06\tb", Row(1).DisplayText);
    chosenEditor = "C:\\Chosen\\editor.exe";
    DialogDriver driver;
    driver.Expect([&](HWND dialog) {
        CheckDlgButton(dialog, IDC_DISPDATE, BST_UNCHECKED);
        CheckDlgButton(dialog, IDC_DISPMARK, BST_UNCHECKED);
        SetDlgItemTextA(dialog, IDC_MARKCHAR, Sjis(u8"●").c_str());
        CheckRadioButton(dialog, IDC_SORT_NAME, IDC_SORT_OLD, IDC_SORT_NEW);
        SetDlgItemTextA(dialog, IDC_TABSTOP, "ab");
        SendMessageA(dialog, WM_COMMAND, IDC_BROWSE_EDITOR, 0);
        DialogDriver::Press(dialog, IDOK);
    });
    Command(IDM_OPTION);
    EXPECT_EQ(0, Settings().GetDispDate());
    EXPECT_EQ(0, Settings().GetDispMark());
    EXPECT_EQ(Sjis(u8"●"), Settings().GetMarkChar());
    EXPECT_EQ(1, Settings().GetSortList());
    EXPECT_EQ(0, Settings().GetTabStop());
    EXPECT_EQ("C:\\Chosen\\editor.exe", std::string(Settings().GetEditor()));
    EXPECT_EQ(Sjis(u8"エディタの設定"), editorTitle);
    EXPECT_EQ(static_cast<DWORD>(OFN_READONLY | OFN_HIDEREADONLY), editorFlags);
    EXPECT_EQ((std::vector<std::string>{"b", "c", "a"}), Names());
    EXPECT_EQ(1, list_->GetSelection());
    EXPECT_EQ(std::string("c"), Row(1).DisplayText);  // neither date nor mark
    DWORD type = 0;
    std::string stored;
    ASSERT_TRUE(ReadProgramValue("Main", "SortList", &type, &stored));
    EXPECT_EQ(1, *reinterpret_cast<const int*>(stored.data()));
}

TEST_F(OptionDialogTest, ChosenFontIsStoredWithPositiveHeightAndSetsTheRowHeight) {
    StartWithThree();
    chosenFont = EnvironList::DefaultFont();
    chosenFont.lfHeight = -21;
    chosenColour = RGB(10, 20, 30);
    fontAccepted = true;
    DialogDriver driver;
    driver.Expect([&](HWND dialog) {
        SendMessageA(dialog, WM_COMMAND, IDC_CHOOSEFONT, 0);
        DialogDriver::Press(dialog, IDOK);
    });
    Command(IDM_OPTION);
    LOGFONTA stored;
    EXPECT_EQ(RGB(10, 20, 30), Settings().List().GetListFont(&stored));
    EXPECT_EQ(21, stored.lfHeight);
    EXPECT_EQ(21, SendMessageA(list_->Control(), LB_GETITEMHEIGHT, 0, 0));
    EXPECT_GT(fontHeightOffered, 0);
    EXPECT_EQ(static_cast<DWORD>(CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS), fontFlags);
}

TEST_F(OptionDialogTest, CancelAfterChoosingAFontChangesNothing) {
    StartWithThree();
    LOGFONTA before;
    COLORREF colourBefore = Settings().List().GetListFont(&before);
    const int sortBefore = Settings().GetSortList();
    const std::string index = IndexBytes();
    chosenFont = EnvironList::DefaultFont();
    chosenFont.lfHeight = -30;
    chosenColour = RGB(200, 0, 0);
    fontAccepted = true;
    DialogDriver driver;
    driver.Expect([&](HWND dialog) {
        SendMessageA(dialog, WM_COMMAND, IDC_CHOOSEFONT, 0);
        CheckRadioButton(dialog, IDC_SORT_NAME, IDC_SORT_OLD, IDC_SORT_OLD);
        DialogDriver::Press(dialog, IDCANCEL);
    });
    Command(IDM_OPTION);
    LOGFONTA after;
    EXPECT_EQ(colourBefore, Settings().List().GetListFont(&after));
    EXPECT_EQ(0, memcmp(&before, &after, sizeof before));
    EXPECT_EQ(sortBefore, Settings().GetSortList());
    EXPECT_EQ(index, IndexBytes());
}

// ---- date macros ----

struct MacroCase {
    const char* name;
    bool autoUpdate;
    const char *year, *month, *day;
    bool confirm;
};

class DateMacroTest : public OptionDialogTest, public testing::WithParamInterface<MacroCase> {};

TEST_P(DateMacroTest, StoresTypedOrTodayOrNothing) {
    DWORD off = 0;
    WriteProgramValue("Main", "MacroAuto", REG_DWORD, &off, sizeof off);
    StartWithThree();
    Settings().SetMacroYear("20");
    Settings().SetMacroMon("01");
    Settings().SetMacroDay("02");
    std::string shownYear;
    bool shownAuto = true;
    DialogDriver driver;
    driver.Expect([&](HWND dialog) {
        shownYear = DialogDriver::ItemText(dialog, IDC_MACRO_YEAR);
        shownAuto = Checked(dialog, IDC_MACRO_AUTO);
        SetDlgItemTextA(dialog, IDC_MACRO_YEAR, GetParam().year);
        SetDlgItemTextA(dialog, IDC_MACRO_MON, GetParam().month);
        SetDlgItemTextA(dialog, IDC_MACRO_DAY, GetParam().day);
        CheckDlgButton(dialog, IDC_MACRO_AUTO, GetParam().autoUpdate ? BST_CHECKED : BST_UNCHECKED);
        DialogDriver::Press(dialog, GetParam().confirm ? IDOK : IDCANCEL);
    });
    ClickToolbar(IDM_DATEMACRO);
    ASSERT_EQ(1u, driver.Shown().size());
    EXPECT_EQ(Sjis(u8"日付マクロ設定"), driver.Shown()[0].caption);
    EXPECT_EQ("20", shownYear);
    EXPECT_FALSE(shownAuto);
    std::string y = Settings().GetMacroYear(), m = Settings().GetMacroMon(), d = Settings().GetMacroDay();
    if (!GetParam().confirm) {
        EXPECT_EQ("20/01/02", y + "/" + m + "/" + d);
        EXPECT_EQ(0, Settings().GetMacroAuto());
        return;
    }
    if (GetParam().autoUpdate) {
        SYSTEMTIME today;
        GetLocalTime(&today);
        char expected[16];
        snprintf(expected, sizeof expected, "%02d/%02d/%02d", today.wYear % 100, today.wMonth, today.wDay);
        EXPECT_EQ(expected, y + "/" + m + "/" + d);
        EXPECT_EQ(1, Settings().GetMacroAuto());
    } else {
        EXPECT_EQ(std::string(GetParam().year) + "/" + GetParam().month + "/" + GetParam().day, y + "/" + m + "/" + d);
        EXPECT_EQ(0, Settings().GetMacroAuto());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, DateMacroTest,
                         testing::Values(MacroCase{"AutoGivesToday", true, "99", "99", "99", true},
                                         MacroCase{"TypedAsTheyStand", false, "1", "2", "3", true},
                                         MacroCase{"EmptyStaysEmpty", false, "", "", "", true},
                                         MacroCase{"CancelKeepsAll", true, "77", "7", "7", false}),
                         [](const testing::TestParamInfo<MacroCase>& info) { return info.param.name; });

TEST_F(OptionDialogTest, NewMacroDateReevaluatesEveryLogFile) {
    DWORD off = 0;
    WriteProgramValue("Main", "MacroAuto", REG_DWORD, &off, sizeof off);
    WriteLog(logs_.File("app010203.log"), LocalFileTime(2026, 2, 3));
    WriteLog(logs_.File("b.log"), LocalFileTime(2026, 3, 6));
    Start(IndexLine(logs_.Path() + "app#$%.log", browser_, "a") + IndexLine(logs_.File("b.log"), browser_, "b"));
    list_->Select(1);
    ASSERT_EQ(0u, Row(0).FileTime.dwHighDateTime);  // today's file does not exist
    DialogDriver driver;
    driver.Expect([&](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_MACRO_YEAR, "01");
        SetDlgItemTextA(dialog, IDC_MACRO_MON, "02");
        SetDlgItemTextA(dialog, IDC_MACRO_DAY, "03");
        DialogDriver::Press(dialog, IDOK);
    });
    Command(IDM_DATEMACRO);
    EXPECT_NE(0u, Row(0).FileTime.dwHighDateTime);
    EXPECT_EQ(1, list_->GetSelection());
    DWORD type = 0;
    std::string stored;
    ASSERT_TRUE(ReadProgramValue("Main", "MacroYear", &type, &stored));
    EXPECT_EQ("01", std::string(stored.c_str()));
}

}  // namespace
