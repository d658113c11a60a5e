// The dialogs over a real main window: what the entry, operating environment and date macro dialogs
// show of an entry or a setting, what their checks and buttons do, what 設定 and 取消 store, and what
// the list, the index file and the browser history hold after them; the entry dialog's rules on
// their own; context help and the help file.
#include <algorithm>
#include <cstring>

#include "dialogs/entry_rules.h"
#include "frame_fixture.h"
#include "lib/core/local_time.h"
#include "lib/services/common_dialogs.h"

using namespace testing_support;

namespace {

// The font dialog answers with a font of this height.
LONG chosenHeight = 0;

BOOL WINAPI FakeChooseFont(LPCHOOSEFONTA cf) {
    EXPECT_GT(cf->lpLogFont->lfHeight, 0);  // the font is offered as it is kept
    *cf->lpLogFont = EnvironList::DefaultFont();
    cf->lpLogFont->lfHeight = chosenHeight;
    cf->rgbColors = RGB(10, 20, 30);
    return TRUE;
}

// The entry dialog's three fields, after typing fill into them when it is given.
std::vector<std::string> Fields(HWND dialog, const std::vector<std::string>& fill = {}) {
    std::vector<std::string> fields;
    for (int id : {IDC_LOGFILENAME, IDC_LISTNAME, IDC_BROWSERNAME}) {
        if (!fill.empty()) SetDlgItemTextA(dialog, id, fill[fields.size()].c_str());
        fields.push_back(DialogDriver::ItemText(dialog, id));
    }
    return fields;
}

// The field with the focus, once the messages that move it have run; the browser field is a combo
// box whose edit takes the focus.
int FocusedField(HWND dialog) {
    PumpMessages(30);
    HWND focus = GetFocus();
    return focus ? GetDlgCtrlID(GetParent(focus) != dialog ? GetParent(focus) : focus) : 0;
}

std::string Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED ? "1" : "0"; }

// The operating environment as "date mark markText order editor tab", from the dialog and from the
// settings.
std::string ShownOptions(HWND d) {
    const char* order = Checked(d, IDC_SORT_NAME) == "1" ? "name" : Checked(d, IDC_SORT_NEW) == "1" ? "new" : "old";
    return Checked(d, IDC_DISPDATE) + " " + Checked(d, IDC_DISPMARK) + " " + DialogDriver::ItemText(d, IDC_MARKCHAR) +
           " " + order + " " + DialogDriver::ItemText(d, IDC_EDITORNAME) + " " + DialogDriver::ItemText(d, IDC_TABSTOP);
}

std::string StoredOptions(const Environ& s) {
    const char* orders[] = {"name", "new", "old", "?"};
    return std::to_string(s.GetDispDate()) + " " + std::to_string(s.GetDispMark()) + " " + s.GetMarkChar() + " " +
           orders[std::min(3u, static_cast<unsigned>(s.GetSortList()))] + " " + s.GetEditor() + " " +
           std::to_string(s.GetTabStop());
}

class DialogTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        fileDialog = {};
    }
    // The program needs no system dialog.
    Seam<OpenFileFunction>::Override openFile_{openFileSeam, AnswerFileDialog};
    Seam<ChooseFontFunction>::Override chooseFont_{chooseFontSeam, FakeChooseFont};
    void StartWithThree() {
        std::string index;
        for (const auto& [name, day] : {std::make_pair("d", 5), std::make_pair("a", 4), std::make_pair("b", 6)}) {
            WriteLog(logs_.File(name + std::string(".log")), LocalFileTime(2026, 3, static_cast<WORD>(day)));
            index += IndexLine(logs_.File(name + std::string(".log")), browser_, name);
        }
        Start(index);
    }
    // Browsers C:\b0.exe, C:\b1.exe, ... in the history, the latest first.
    static std::vector<std::string> WriteHistory(int count) {
        std::vector<std::string> history;
        for (int i = 0; i < count; ++i) {
            history.push_back("C:\\b" + std::to_string(i) + ".exe");
            WriteProgramText("BrowseList", ("Browse" + std::to_string(i)).c_str(), history.back());
        }
        return history;
    }
    // Unchecks both columns, types a mark, the newest-first order and a tab width that is no
    // number, and chooses an editor and a font.
    static void ChangeEveryOption(HWND dialog) {
        CheckDlgButton(dialog, IDC_DISPDATE, BST_UNCHECKED);
        CheckDlgButton(dialog, IDC_DISPMARK, BST_UNCHECKED);
        SetDlgItemTextA(dialog, IDC_MARKCHAR, Sjis("●").c_str());
        CheckRadioButton(dialog, IDC_SORT_NAME, IDC_SORT_OLD, IDC_SORT_NEW);
        SetDlgItemTextA(dialog, IDC_TABSTOP, "ab");
        SendMessageA(dialog, WM_COMMAND, IDC_BROWSE_EDITOR, 0);
        SendMessageA(dialog, WM_COMMAND, IDC_CHOOSEFONT, 0);
    }
};

TEST_F(DialogTest, EntryFieldsThatCannotBeStoredKeepTheDialogOpenWithTheFocusOnThem) {
    StartWithThree();
    const std::string log = logs_.File("a.log");
    const char* comma = "ログファイル名・リスト名・ブラウザ名にカンマ（,）は使えません";
    // The fields typed, the message, and the field that has the focus after it.
    const std::tuple<std::vector<std::string>, const char*, int> checks[] = {
        {{"", "", ""}, "ログファイルが指定されていません", IDC_LOGFILENAME},
        {{log, "", ""}, "リスト名が指定されていません", IDC_LISTNAME},
        {{"a,b.log", "x", ""}, "ブラウザが設定されていません", IDC_BROWSERNAME},  // empty first
        {{"C:\\a,b.log", "x", browser_}, comma, IDC_LOGFILENAME},
        {{log, Sjis("ログ,1"), browser_}, comma, IDC_LISTNAME},
        {{log, "x", "C:\\my,browser.exe"}, comma, IDC_BROWSERNAME}};
    Answer(IDM_ADDLIST, IDCANCEL, [&](HWND dialog) {
        for (const auto& [fields, text, focused] : checks) {
            Fields(dialog, fields);
            DialogDriver driver;  // 設定, and the message answered with OK
            driver.ExpectPress(IDOK);
            SendMessageA(dialog, WM_COMMAND, IDOK, 0);
            EXPECT_EQ(Sjis(text), driver.Shown().empty() ? "" : driver.Shown()[0].text);
            ASSERT_TRUE(IsWindow(dialog));
            EXPECT_EQ(fields, Fields(dialog));
            EXPECT_EQ(focused, FocusedField(dialog)) << text;
        }
    });
}

TEST_F(DialogTest, BrowseButtonsPutTheChosenFileInTheirFieldAndFocusIt) {
    StartWithThree();
    const std::tuple<int, int, const char*> choosers[] = {
        {IDC_BROWSE_LOG, IDC_LOGFILENAME,
         "ログファイルの設定|ﾛｸﾞ･ﾌｧｲﾙ (*.LOG)|*.log|ﾃｷｽﾄ･ﾌｧｲﾙ (*.TXT)|*.txt|"
         "全ﾌｧｲﾙ (*.*)|*.*"},
        {IDC_BROWSE_BROWSER, IDC_BROWSERNAME, "ブラウザの設定|実行ﾌｧｲﾙ (*.EXE)|*.exe"}};
    fileDialog.file = "C:\\Chosen\\file.x";
    Answer(IDM_ADDLIST, IDCANCEL, [&](HWND dialog) {
        for (const auto& [button, field, title] : choosers) {
            SendMessageA(dialog, WM_COMMAND, button, 0);
            EXPECT_EQ(std::make_pair(fileDialog.file, field),
                      std::make_pair(DialogDriver::ItemText(dialog, field), FocusedField(dialog)));
            EXPECT_EQ(Sjis(title), fileDialog.shown);
        }
    });
}

TEST_F(DialogTest, TheEditorButtonOpensTheExpandedLogNameAndFocusesTheListName) {
    WriteMacroTexts("26", "12", "05");
    WriteProgramText("Main", "Editor", browser_);
    StartWithThree();
    int focused = 0;
    Answer(IDM_ADDLIST, IDCANCEL, [&](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_LOGFILENAME, (logs_.Path() + "app #$%.log").c_str());
        SendMessageA(dialog, WM_COMMAND, IDC_OPEN_EDITOR, 0);
        focused = FocusedField(dialog);
    });
    EXPECT_NE(std::string::npos, Started().find("\"" + logs_.Path() + "app 261205.log\"\r\n"));
    EXPECT_EQ(IDC_LISTNAME, focused);
}

TEST_F(DialogTest, EntryFieldsTakeNoMoreThanAnEntryKeeps) {
    StartWithThree();
    std::vector<std::string> typed;
    Answer(IDM_ADDLIST, IDCANCEL, [&](HWND dialog) {
        HWND combo = GetDlgItem(dialog, IDC_BROWSERNAME);
        for (HWND edit : {GetDlgItem(dialog, IDC_LOGFILENAME), GetDlgItem(dialog, IDC_LISTNAME),
                          FindWindowExA(combo, nullptr, "Edit", nullptr)}) {
            SendMessageA(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(std::string(400, 'x').c_str()));
        }
        typed = Fields(dialog);
    });
    EXPECT_EQ((std::vector<std::string>{std::string(259, 'x'), std::string(127, 'x'), std::string(259, 'x')}), typed);
}

TEST_F(DialogTest, AddOpensEmptyWithTheTenLatestBrowsersOffered) {
    const std::vector<std::string> history = WriteHistory(11);
    StartWithThree();
    std::vector<std::string> shown, offered;
    const auto boxes = Answer(IDM_ADDLIST, IDCANCEL, [&](HWND dialog) {
        shown = Fields(dialog);
        for (int i = 0; i < SendDlgItemMessageA(dialog, IDC_BROWSERNAME, CB_GETCOUNT, 0, 0); ++i) {
            char text[MAX_PATH] = "";
            SendDlgItemMessageA(dialog, IDC_BROWSERNAME, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            offered.push_back(text);
        }
    });
    EXPECT_EQ(std::make_pair(Sjis("リストの追加"), std::vector<std::string>{"", "", ""}),
              std::make_pair(boxes.at(0).caption, shown));
    EXPECT_EQ(std::vector<std::string>(history.begin(), history.begin() + 10), offered);
}

TEST_F(DialogTest, AnAddedEntryIsSelectedReadNowAndWritten) {
    StartWithThree();
    Answer(IDM_ADDLIST, IDOK, [&](HWND dialog) { Fields(dialog, {logs_.File("c.log"), "c", browser_}); });
    EXPECT_EQ(std::make_pair(std::vector<std::string>{"a", "b", "c", "d"}, 2),
              std::make_pair(Names(), list_->GetSelection()));
    const FILETIME seen = Row(2).SeenTime;
    EXPECT_LT(FileTimeValue(LocalNowAsFileTime()) - FileTimeValue(seen), 600000000ull);  // a minute at most
    EXPECT_NE(std::string::npos, IndexBytes().find(IndexLine(logs_.File("c.log"), browser_, "c", seen)));
}

TEST_F(DialogTest, TheConfirmedBrowserGoesOnTopOfTheHistory) {
    std::vector<std::string> history = WriteHistory(11);
    StartWithThree();
    Answer(IDM_ADDLIST, IDOK, [&](HWND dialog) { Fields(dialog, {logs_.File("c.log"), "c", browser_}); });
    history.insert(history.begin(), browser_);
    history.back() = "<missing>";  // the eleventh was never loaded
    for (size_t i = 0; i < history.size(); ++i) {
        EXPECT_EQ(history[i], ProgramText("BrowseList", ("Browse" + std::to_string(i)).c_str())) << i;
    }
}

TEST_F(DialogTest, ACancelledEditChangesNothing) {
    StartWithThree();
    list_->Select(1);
    const std::string index = IndexBytes(), rows = RowTexts();
    const auto boxes = Answer(IDM_EDITLIST, IDCANCEL, [](HWND dialog) { Fields(dialog, {"x", "y", "z"}); });
    EXPECT_EQ(std::make_tuple(Sjis("リストの編集"), index, rows),
              std::make_tuple(boxes.at(0).caption, IndexBytes(), RowTexts()));
}

TEST_F(DialogTest, EditShowsTheSelectedEntryAndReplacesItWithWhatIsTyped) {
    StartWithThree();
    list_->Select(1);
    std::vector<std::string> shown;
    Answer(IDM_EDITLIST, IDOK, [&](HWND dialog) {
        shown = Fields(dialog);
        Fields(dialog, {logs_.File("b.log"), "z", browser_});
    });
    EXPECT_EQ((std::vector<std::string>{logs_.File("b.log"), "b", browser_}), shown);
    EXPECT_EQ(std::make_pair(std::vector<std::string>{"a", "d", "z"}, 2),
              std::make_pair(Names(), list_->GetSelection()));
    EXPECT_NE(std::string::npos, IndexBytes().find(IndexLine(logs_.File("b.log"), browser_, "z", Row(2).SeenTime)));
    EXPECT_TRUE(Row(2).SeenTime.dwHighDateTime && IndexBytes().find(",b,") == std::string::npos);
}

TEST_F(DialogTest, EditWithNothingSelectedSaysSoAndOpensNoDialog) {
    StartWithThree();
    list_->Select(-1);
    DialogDriver driver;
    driver.ExpectPress(IDOK);
    Command(IDM_EDITLIST);
    EXPECT_EQ(Sjis("リストの編集|リストが選択されていません"), driver.Box());
}

TEST_F(DialogTest, EnvironmentShowsEachSettingAndStoresWhatItShows) {
    StartWithThree();
    Environ& s = frame_->Settings();
    s.SetEditor("C:\\e.exe");
    // clang-format off
    struct Case { int date, mark; const char* markText; int order, tab; const char* shown; };
    const Case cases[] = {{0, 0, "**", 1, 12, "0 0 ** new C:\\e.exe 12"},
                          {1, 0, "x", 5, 0, "1 0 x old C:\\e.exe 0"},         // any order past 1 is the oldest first
                          {2, 1, "", 2, 99, "1 1 　 old C:\\e.exe 99"},  // no mark shows as the full-width space
                          {1, 1, "未", 0, 4, "1 1 未 name C:\\e.exe 4"}};
    // clang-format on
    for (const auto& c : cases) {
        s.SetDispDate(c.date);
        s.SetDispMark(c.mark);
        s.SetMarkChar(Sjis(c.markText).c_str());
        s.SetSortList(c.order);
        s.SetTabStop(c.tab);
        std::string shown;
        Answer(IDM_OPTION, IDOK, [&](HWND dialog) { shown = ShownOptions(dialog); });
        EXPECT_EQ(Sjis(c.shown), shown);
        EXPECT_EQ(Sjis(c.shown), StoredOptions(s));  // 設定 stores what was shown
    }
}

TEST_F(DialogTest, EnvironmentStoresWhatIsTypedAndChosenOnOkAndNothingOnCancel) {
    StartWithThree();
    const std::string before = StoredOptions(frame_->Settings());
    fileDialog.file = "C:\\Chosen\\editor.exe";
    chosenHeight = -21;  // a character height: kept as the positive cell height
    const std::tuple<int, std::string, LONG, COLORREF> cases[] = {
        {IDCANCEL, before, EnvironList::DefaultFont().lfHeight, 0},
        {IDOK, Sjis("0 0 ● new C:\\Chosen\\editor.exe 0"), 21, RGB(10, 20, 30)}};
    for (const auto& [button, options, height, colour] : cases) {
        Answer(IDM_OPTION, button, ChangeEveryOption);
        LOGFONTA font;
        const COLORREF shown = frame_->Settings().List().GetListFont(&font);
        EXPECT_EQ(std::make_tuple(options, height, colour),
                  std::make_tuple(StoredOptions(frame_->Settings()), font.lfHeight, shown));
    }
    EXPECT_EQ(Sjis("エディタの設定|実行ﾌｧｲﾙ (*.EXE)|*.exe"), fileDialog.shown);
}

TEST_F(DialogTest, EnvironmentOkShowsTheListInItsNewOrderColumnsAndRowHeightKeepingTheRowNumber) {
    StartWithThree();
    list_->Select(1);
    chosenHeight = 21;
    Answer(IDM_OPTION, IDOK, ChangeEveryOption);
    EXPECT_EQ(std::make_pair(std::vector<std::string>{"b", "d", "a"}, 1),
              std::make_pair(Names(), list_->GetSelection()));
    EXPECT_EQ(std::make_pair(std::string("d"), 21), std::make_pair(std::string(Row(1).DisplayText), RowHeight()));
}

TEST_F(DialogTest, TheListControlDrawsInTheListFontAtStartAndAfterTheOptions) {
    StartWithThree();
    for (bool changed : {false, true}) {
        chosenHeight = 23;
        if (changed) Answer(IDM_OPTION, IDOK, [](HWND d) { SendMessageA(d, WM_COMMAND, IDC_CHOOSEFONT, 0); });
        LOGFONTA kept, shown;
        frame_->Settings().List().GetListFont(&kept);
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(list_->Control(), WM_GETFONT, 0, 0)), sizeof shown, &shown);
        EXPECT_EQ(std::make_pair(std::string(kept.lfFaceName), kept.lfHeight),
                  std::make_pair(std::string(shown.lfFaceName), shown.lfHeight))
            << changed;
    }
}

TEST_F(DialogTest, TheOptionAndDateMacroDialogsWriteTheRegistryAtOnce) {
    StartWithThree();
    frame_->Settings().SetMacroAuto(0);
    const std::tuple<int, int, const char*, const char*> cases[] = {{IDM_OPTION, IDC_EDITORNAME, "C:\\e.exe", "Editor"},
                                                                    {IDM_DATEMACRO, IDC_MACRO_YEAR, "42", "MacroYear"}};
    for (const auto& [command, field, typed, value] : cases) {
        Answer(command, IDOK, [&](HWND dialog) { SetDlgItemTextA(dialog, field, typed); });
        EXPECT_EQ(typed, ProgramText("Main", value));
    }
}

TEST_F(DialogTest, DateMacrosStoreTypedTextOrTodayAndEveryLogNameIsExpandedAgain) {
    WriteLog(logs_.File("app010203.log"), LocalFileTime(2026, 2, 3));
    Start(IndexLine(logs_.Path() + "app#$%.log", browser_, "a"));
    SYSTEMTIME now;
    GetLocalTime(&now);
    char today[16];
    snprintf(today, sizeof today, "%02d/%02d/%02d 1", now.wYear % 100, now.wMonth, now.wDay);
    // typed: year, month, day and automatic update; stored: "year/month/day auto"; dated: the
    // first log's file exists under its expanded name
    // clang-format off
    struct Case { std::vector<const char*> typed; int button; std::string stored; bool dated; };
    // clang-format on
    const Case cases[] = {{{"01", "02", "03", "0"}, IDOK, "01/02/03 0", true},
                          {{"77", "7", "7", "1"}, IDCANCEL, "01/02/03 0", true},
                          {{"", "", "", "0"}, IDOK, "// 0", false},
                          {{"99", "99", "99", "1"}, IDOK, today, false}};
    const Environ& s = frame_->Settings();
    auto stored = [&] {
        return std::string(s.GetMacroYear()) + "/" + s.GetMacroMon() + "/" + s.GetMacroDay() + " " +
               std::to_string(s.GetMacroAuto());
    };
    for (const auto& c : cases) {
        const std::string before = stored();
        std::string shown;
        Answer(IDM_DATEMACRO, c.button, [&](HWND d) {
            const int fields[] = {IDC_MACRO_YEAR, IDC_MACRO_MON, IDC_MACRO_DAY};
            for (int i = 0; i < 3; ++i) {
                shown += DialogDriver::ItemText(d, fields[i]) + (i < 2 ? "/" : " " + Checked(d, IDC_MACRO_AUTO));
                SetDlgItemTextA(d, fields[i], c.typed[i]);
            }
            CheckDlgButton(d, IDC_MACRO_AUTO, c.typed[3][0] == '1' ? BST_CHECKED : BST_UNCHECKED);
        });
        EXPECT_EQ(before, shown);
        EXPECT_EQ(c.stored, stored());
        EXPECT_EQ(c.dated, Row(0).FileTime.dwHighDateTime != 0) << c.stored;
    }
}

TEST_F(DialogTest, ACommandSentAgainWhileItsDialogIsOpenOpensNoSecondOneAndTheFirstStillCloses) {
    StartWithThree();
    const int commands[] = {IDM_ADDLIST, IDM_EDITLIST, IDM_OPTION, IDM_DATEMACRO, IDM_CUTOPTION, IDM_CUT, IDM_ABOUT};
    for (int command : commands) {
        SCOPED_TRACE(command);
        list_->Select(0);
        HWND first = nullptr;
        // The main window is disabled, but a message sent from outside still reaches it; a second
        // dialog would be a box without an answer.
        const auto shown = Answer(command, IDCANCEL, [&](HWND dialog) {
            first = dialog;
            SendMessageA(Main().Window(), WM_COMMAND, command, 0);
        });
        EXPECT_TRUE(shown.size() == 1 && !IsWindow(first));
    }
}

TEST(EntryRulesTest, TheConfirmedBrowserGoesToTheTopInPlaceOfTheFirstItemItBeginsFoldingOnlyAsciiLetters) {
    using Items = std::vector<std::string>;
    const std::tuple<Items, const char*, Items> histories[] = {
        {{}, "C:\\x.exe", {"C:\\x.exe"}},
        {{"C:\\a.exe", "C:\\b.exe", "C:\\c.exe"}, "C:\\c.exe", {"C:\\c.exe", "C:\\a.exe", "C:\\b.exe"}},
        {{"C:\\a.exe", "C:\\b.exe"}, "C:\\a.exe", {"C:\\a.exe", "C:\\b.exe"}},  // the top item stays once
        {{"C:\\a.exe", "C:\\Tools\\View.exe"}, "c:\\tools\\v", {"c:\\tools\\v", "C:\\a.exe"}},
        // the search starts at the second item and looks at the first one last
        {{"C:\\v1.exe", "C:\\v2.exe", "C:\\v3.exe"}, "C:\\v", {"C:\\v", "C:\\v1.exe", "C:\\v3.exe"}},
        {{"C:\\v0.exe", "C:\\w.exe"}, "C:\\v", {"C:\\v", "C:\\w.exe"}},
        {{"C:\\b.exe", "C:\\a"}, "C:\\a.exe", {"C:\\a.exe", "C:\\b.exe", "C:\\a"}},  // a shorter item does not
        // ア and ヂ differ in a byte like A and a; 表 ends in a backslash byte
        {{"C:\\b.exe", "\x83\x41.exe"}, "\x83\x61", {"\x83\x61", "C:\\b.exe", "\x83\x41.exe"}},
        {{"C:\\b.exe", "\x95\x5C\\x.exe"}, "\x95\x5C\\X", {"\x95\x5C\\X", "C:\\b.exe"}}};
    for (auto [items, browser, expected] : histories) {
        UpdateHistory(&items, browser);
        EXPECT_EQ(expected, items) << browser;
    }
}

TEST_F(DialogTest, ControlsWithATopicInTheHelpFileShowItAndOthersNothing) {
    Start(IndexLine("C:\\a.log", "C:\\b.exe", "a"));
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, sizeof module);
    const std::string help = std::string(module, std::strrchr(module, '\\') + 1) + "Kelvora.chm";
    const std::string popups =
        "\r\n" + ReadFileBytes(EnvPath("KELVORA_BINARY_DIR") + "\\src\\resources\\help\\popup.txt");
    for (int command : {IDM_ADDLIST, IDM_OPTION, IDM_DATEMACRO, IDM_CUTOPTION}) {
        helpCalls.clear();
        std::string expected, calls;  // a popup numbered by the control id at the pointer, from the help file
        Answer(command, IDCANCEL, [&](HWND dialog) {
            EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
            for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
                const int id = GetDlgCtrlID(control);
                if (popups.find("\r\n.topic " + std::to_string(id) + "\r\n") != std::string::npos) {
                    expected += std::to_string(id) + " " + std::to_string(id) + "\n";
                }
                HELPINFO info = {sizeof info, HELPINFO_WINDOW, id, control, 0, {id, 7}};
                SendMessageA(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
            }
        });
        for (const HelpCall& c : helpCalls) {
            EXPECT_EQ(std::make_pair(static_cast<UINT>(HH_DISPLAY_TEXT_POPUP), help + "::/popup.txt"),
                      std::make_pair(c.command, c.file));
            calls += std::to_string(c.popupId) + " " + std::to_string(c.at.x) + "\n";
        }
        EXPECT_EQ(expected, calls);
    }
    helpCalls.clear();
    Command(IDM_HELP);
    ASSERT_EQ(1u, helpCalls.size());
    EXPECT_EQ(std::make_pair(static_cast<UINT>(HH_DISPLAY_TOPIC), help),
              std::make_pair(helpCalls[0].command, helpCalls[0].file));
}

}  // namespace
