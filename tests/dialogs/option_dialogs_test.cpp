// The operating environment and date macro dialogs: what they show of each setting, what 設定 and
// 取消 store, and how the list is rebuilt after them.
#include "frame_fixture.h"
#include "lib/common_dialogs.h"

using namespace testing_support;

namespace {

LOGFONTA chosenFont = {};
COLORREF chosenColour = 0;
LONG fontHeightOffered = 0;
DWORD fontFlags = 0;

BOOL WINAPI FakeChooseFont(LPCHOOSEFONTA cf) {
    fontHeightOffered = cf->lpLogFont->lfHeight;
    fontFlags = cf->Flags;
    *cf->lpLogFont = chosenFont;
    cf->rgbColors = chosenColour;
    return TRUE;
}

std::string editorTitle;
DWORD editorFlags = 0;

BOOL WINAPI FakeOpenEditor(LPOPENFILENAMEA ofn) {
    editorTitle = ofn->lpstrTitle ? ofn->lpstrTitle : "";
    editorFlags = ofn->Flags;
    lstrcpynA(ofn->lpstrFile, "C:\\Chosen\\editor.exe", ofn->nMaxFile);
    return TRUE;
}

std::string Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED ? "on" : "off"; }

class OptionDialogTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        previousFont_ = SetChooseFontHook(FakeChooseFont);
        previousOpen_ = SetOpenFileHook(FakeOpenEditor);
    }
    void TearDown() override {
        SetChooseFontHook(previousFont_);
        SetOpenFileHook(previousOpen_);
        FrameTest::TearDown();
    }
    void StartWithThree() {
        WriteLog(logs_.File("a.log"), LocalFileTime(2026, 3, 4));
        WriteLog(logs_.File("b.log"), LocalFileTime(2026, 3, 6));
        WriteLog(logs_.File("c.log"), LocalFileTime(2026, 3, 5));
        Start(IndexLine(logs_.File("a.log"), browser_, "a") + IndexLine(logs_.File("b.log"), browser_, "b") +
              IndexLine(logs_.File("c.log"), browser_, "c"));
    }
    Environ& Settings() { return frame_->Settings(); }
    ChooseFontFunction previousFont_ = nullptr;
    OpenFileFunction previousOpen_ = nullptr;
};

TEST_F(OptionDialogTest, EnvironmentShowsEachSettingAndStoresItBackAsShown) {
    StartWithThree();
    Settings().SetEditor("C:\\Tools\\edit.exe");
    const struct {
        int dispDate, dispMark;
        const char* mark;
        int sortList, tabStop;
        const char* shownMark;
        int sortButton;
    } cases[] = {{1, 1, u8"未", 0, 4, u8"未", IDC_SORT_NAME},
                 {0, 0, "**", 1, 12, "**", IDC_SORT_NEW},
                 {1, 0, "x", 5, 0, "x", IDC_SORT_OLD},         // any order past 1 is the oldest first
                 {2, 1, "", 2, 99, u8"　", IDC_SORT_OLD}};  // no mark shows as the full-width space
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sortList);
        Settings().SetDispDate(c.dispDate);
        Settings().SetDispMark(c.dispMark);
        Settings().SetMarkChar(Sjis(c.mark).c_str());
        Settings().SetSortList(c.sortList);
        Settings().SetTabStop(c.tabStop);
        std::vector<std::string> shown;
        DialogDriver driver;
        driver.Expect([&](HWND dialog) {
            shown = {Checked(dialog, IDC_DISPDATE), Checked(dialog, IDC_DISPMARK), DialogDriver::ItemText(dialog, IDC_MARKCHAR),
                     Checked(dialog, IDC_SORT_NAME) + Checked(dialog, IDC_SORT_NEW) + Checked(dialog, IDC_SORT_OLD),
                     DialogDriver::ItemText(dialog, IDC_EDITORNAME), DialogDriver::ItemText(dialog, IDC_TABSTOP)};
            DialogDriver::Press(dialog, IDOK);
        });
        Command(IDM_OPTION);
        ASSERT_EQ(1u, driver.Shown().size());
        EXPECT_EQ(Sjis(u8"動作環境の設定"), driver.Shown()[0].caption);
        const int order = c.sortButton - IDC_SORT_NAME;
        EXPECT_EQ((std::vector<std::string>{c.dispDate ? "on" : "off", c.dispMark ? "on" : "off", Sjis(c.shownMark),
                                            std::string(order == 0 ? "on" : "off") + (order == 1 ? "on" : "off") + (order == 2 ? "on" : "off"),
                                            "C:\\Tools\\edit.exe", std::to_string(c.tabStop)}),
                  shown);
        EXPECT_EQ((std::vector<int>{c.dispDate ? 1 : 0, c.dispMark ? 1 : 0, order, c.tabStop}),
                  (std::vector<int>{Settings().GetDispDate(), Settings().GetDispMark(), Settings().GetSortList(),
                                    Settings().GetTabStop()}));
        EXPECT_EQ(Sjis(c.shownMark), Settings().GetMarkChar());
        EXPECT_EQ(static_cast<DWORD>(order), ProgramDword("Main", "SortList"));
    }
}

TEST_F(OptionDialogTest, EnvironmentStoresWhatIsTypedAndRebuildsTheListKeepingTheSelectedRow) {
    StartWithThree();
    list_->Select(1);
    ASSERT_EQ(Sjis(u8"未") + "\t03/06\tb", Row(1).DisplayText);
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
    EXPECT_EQ((std::vector<int>{0, 0, 1, 0}), (std::vector<int>{Settings().GetDispDate(), Settings().GetDispMark(),
                                                                Settings().GetSortList(), Settings().GetTabStop()}));
    EXPECT_EQ(Sjis(u8"●"), Settings().GetMarkChar());
    EXPECT_STREQ("C:\\Chosen\\editor.exe", Settings().GetEditor());
    EXPECT_EQ(Sjis(u8"エディタの設定"), editorTitle);
    EXPECT_EQ(static_cast<DWORD>(OFN_READONLY | OFN_HIDEREADONLY), editorFlags);
    EXPECT_EQ((std::vector<std::string>{"b", "c", "a"}), Names());
    EXPECT_EQ(1, list_->GetSelection());
    EXPECT_STREQ("c", Row(1).DisplayText);  // neither date nor mark
    EXPECT_EQ(1u, ProgramDword("Main", "SortList"));
}

TEST_F(OptionDialogTest, ChosenFontCountsOnlyAfter設定WithAPositiveHeightThatIsTheRowHeight) {
    StartWithThree();
    LOGFONTA before;
    const COLORREF colourBefore = Settings().List().GetListFont(&before);
    chosenFont = EnvironList::DefaultFont();
    chosenColour = RGB(10, 20, 30);
    for (int button : {IDCANCEL, IDOK}) {
        chosenFont.lfHeight = button == IDOK ? -21 : -30;
        DialogDriver driver;
        driver.Expect([&](HWND dialog) {
            SendMessageA(dialog, WM_COMMAND, IDC_CHOOSEFONT, 0);
            DialogDriver::Press(dialog, button);
        });
        Command(IDM_OPTION);
    }
    EXPECT_NE(colourBefore, RGB(10, 20, 30));
    EXPECT_GT(fontHeightOffered, 0);
    EXPECT_EQ(static_cast<DWORD>(CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS), fontFlags);
    LOGFONTA stored;
    EXPECT_EQ(RGB(10, 20, 30), Settings().List().GetListFont(&stored));
    EXPECT_EQ(21, stored.lfHeight);
    EXPECT_EQ(21, RowHeight());
}

TEST_F(OptionDialogTest, DateMacrosStoreTypedTextOrTodayAndEveryLogNameIsExpandedAgain) {
    WriteProgramDword("Main", "MacroAuto", 0);
    WriteLog(logs_.File("app010203.log"), LocalFileTime(2026, 2, 3));
    WriteLog(logs_.File("b.log"), LocalFileTime(2026, 3, 6));
    Start(IndexLine(logs_.Path() + "app#$%.log", browser_, "a") + IndexLine(logs_.File("b.log"), browser_, "b"));
    list_->Select(1);
    SYSTEMTIME now;
    GetLocalTime(&now);
    char today[16];
    snprintf(today, sizeof today, "%02d/%02d/%02d", now.wYear % 100, now.wMonth, now.wDay);
    const struct {
        bool autoUpdate;
        const char *year, *month, *day;
        int button;
        std::string stored;
        bool dated;  // the first log's file exists under its expanded name
    } cases[] = {{false, "01", "02", "03", IDOK, "01/02/03", true},
                 {true, "77", "7", "7", IDCANCEL, "01/02/03", true},
                 {false, "", "", "", IDOK, "//", false},
                 {true, "99", "99", "99", IDOK, today, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        const std::string year = Settings().GetMacroYear();
        const int autoBefore = Settings().GetMacroAuto();
        std::string shown;
        DialogDriver driver;
        driver.Expect([&](HWND dialog) {
            shown = DialogDriver::ItemText(dialog, IDC_MACRO_YEAR) + " " + Checked(dialog, IDC_MACRO_AUTO);
            SetDlgItemTextA(dialog, IDC_MACRO_YEAR, c.year);
            SetDlgItemTextA(dialog, IDC_MACRO_MON, c.month);
            SetDlgItemTextA(dialog, IDC_MACRO_DAY, c.day);
            CheckDlgButton(dialog, IDC_MACRO_AUTO, c.autoUpdate ? BST_CHECKED : BST_UNCHECKED);
            DialogDriver::Press(dialog, c.button);
        });
        Command(IDM_DATEMACRO);
        ASSERT_EQ(1u, driver.Shown().size());
        EXPECT_EQ(Sjis(u8"日付マクロ設定"), driver.Shown()[0].caption);
        EXPECT_EQ(year + (autoBefore ? " on" : " off"), shown);
        EXPECT_EQ(c.stored, std::string(Settings().GetMacroYear()) + "/" + Settings().GetMacroMon() + "/" + Settings().GetMacroDay());
        EXPECT_EQ(c.button == IDOK ? c.autoUpdate : autoBefore, Settings().GetMacroAuto());
        EXPECT_EQ(Settings().GetMacroYear(), ProgramText("Main", "MacroYear"));
        EXPECT_EQ(c.dated, Row(0).FileTime.dwHighDateTime != 0);
        EXPECT_EQ(1, list_->GetSelection());
    }
}

}  // namespace
