// The add and edit entry dialog over a real main window: how it opens, its checks and messages,
// what it does to the list, the index file and the browser history.
#include <gtest/gtest.h>

#include "frame_fixture.h"
#include "lib/common_dialogs.h"
#include "loglist/list_menu.h"
#include "resources/resource_ids.h"
#include "sjis.h"

using namespace testing_support;

namespace {

enum class Opener { Menu, Toolbar, InsertKey, AltKey, ContextMenu };

const char* OpenerName(Opener o) {
    switch (o) {
    case Opener::Menu: return "Menu";
    case Opener::Toolbar: return "Toolbar";
    case Opener::InsertKey: return "Insert";
    case Opener::AltKey: return "Alt";
    case Opener::ContextMenu: return "ContextMenu";
    }
    return "";
}

// The context code of a key message: Alt is held. Alt+A starts as WM_SYSKEYDOWN 'A', which Wine
// matches against the ALT character entries itself; Windows matches the WM_SYSCHAR that follows.
constexpr LPARAM kAltDown = 1 << 29;

struct Fields {
    std::string log, list, browser;
};

class EntryDialogTest : public FrameTest {
protected:
    void StartWithThree() {
        WriteLog(logs_.File("a.log"), LocalFileTime(2026, 3, 4));
        WriteLog(logs_.File("b.log"), LocalFileTime(2026, 3, 5));
        WriteLog(logs_.File("d.log"), LocalFileTime(2026, 3, 6));
        Start(IndexLine(logs_.File("d.log"), browser_, "d") + IndexLine(logs_.File("a.log"), browser_, "a") +
              IndexLine(logs_.File("b.log"), browser_, "b"));
    }
    void Open(Opener opener, UINT command) {
        const char key = command == IDM_ADDLIST ? 'A' : 'E';
        switch (opener) {
        case Opener::Menu:
            ASSERT_FALSE(GetMenuState(GetMenu(frame_->MainWindow()), command, MF_BYCOMMAND) & MF_GRAYED);
            Command(command);
            break;
        case Opener::Toolbar: ClickToolbar(command); break;
        case Opener::InsertKey: Key(WM_KEYDOWN, VK_INSERT); break;
        case Opener::AltKey: Key(WM_SYSKEYDOWN, key, kAltDown); break;
        case Opener::ContextMenu: ContextMenu(command); break;
        }
        PumpMessages(50);
    }
    // Queues filling the dialog with fields and pressing 設定; the dialog's first state is kept.
    void FillAndConfirm(DialogDriver& driver, const Fields& f, Fields* shown = nullptr) {
        driver.Expect([f, shown](HWND dialog) {
            if (shown) *shown = {DialogDriver::ItemText(dialog, IDC_LOGFILENAME),
                                 DialogDriver::ItemText(dialog, IDC_LISTNAME),
                                 DialogDriver::ItemText(dialog, IDC_BROWSERNAME)};
            SetDlgItemTextA(dialog, IDC_LOGFILENAME, f.log.c_str());
            SetDlgItemTextA(dialog, IDC_LISTNAME, f.list.c_str());
            SetDlgItemTextA(dialog, IDC_BROWSERNAME, f.browser.c_str());
            DialogDriver::Press(dialog, IDOK);
        });
    }
};

class AddOpenerTest : public EntryDialogTest, public testing::WithParamInterface<Opener> {};

TEST_P(AddOpenerTest, AddsTheEntryReadNowAndSelectsItAfterTheReload) {
    StartWithThree();
    const std::string log = logs_.File("c.log");
    WriteLog(log, LocalFileTime(2026, 1, 1));
    DialogDriver driver;
    Fields shown;
    FillAndConfirm(driver, {log, "c", browser_}, &shown);
    ULONGLONG before = LocalNowValue();
    Open(GetParam(), IDM_ADDLIST);
    ULONGLONG after = LocalNowValue();

    ASSERT_EQ(1u, driver.Shown().size());
    EXPECT_EQ(Sjis(u8"リストの追加"), driver.Shown()[0].caption);
    EXPECT_EQ("", shown.log + shown.list + shown.browser);
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c", "d"}), Names());
    EXPECT_EQ(2, list_->GetSelection());
    LogEntry added = Row(2);
    EXPECT_EQ(log, added.LogFileName);
    EXPECT_EQ(browser_, added.BrowserName);
    EXPECT_GE(FileTimeValue(added.SeenTime), before - 10000000ull);  // FILETIME of whole seconds
    EXPECT_LE(FileTimeValue(added.SeenTime), after);
    EXPECT_NE(std::string::npos, IndexBytes().find(IndexLine(log, browser_, "c", added.SeenTime)));
    EXPECT_EQ(std::vector<std::string>{browser_}, History());
    HMENU menu = GetMenu(frame_->MainWindow());
    EXPECT_FALSE(GetMenuState(menu, IDM_EDITLIST, MF_BYCOMMAND) & MF_GRAYED);
}

INSTANTIATE_TEST_SUITE_P(Openers, AddOpenerTest,
                         testing::Values(Opener::Menu, Opener::Toolbar, Opener::InsertKey, Opener::AltKey,
                                         Opener::ContextMenu),
                         [](const testing::TestParamInfo<Opener>& info) { return OpenerName(info.param); });

class EditOpenerTest : public EntryDialogTest, public testing::WithParamInterface<Opener> {};

TEST_P(EditOpenerTest, ShowsTheSelectedEntryAndReplacesIt) {
    StartWithThree();
    list_->Select(0);
    const FILETIME oldSeen = Row(0).SeenTime;
    DialogDriver driver;
    Fields shown;
    FillAndConfirm(driver, {logs_.File("a.log"), "z", browser_}, &shown);
    Open(GetParam(), IDM_EDITLIST);

    ASSERT_EQ(1u, driver.Shown().size());
    EXPECT_EQ(Sjis(u8"リストの編集"), driver.Shown()[0].caption);
    EXPECT_EQ(logs_.File("a.log"), shown.log);
    EXPECT_EQ("a", shown.list);
    EXPECT_EQ(browser_, shown.browser);
    EXPECT_EQ((std::vector<std::string>{"b", "d", "z"}), Names());
    EXPECT_EQ(2, list_->GetSelection());
    EXPECT_NE(FileTimeValue(oldSeen), FileTimeValue(Row(2).SeenTime));
    std::string index = IndexBytes();
    EXPECT_NE(std::string::npos, index.find(IndexLine(logs_.File("a.log"), browser_, "z", Row(2).SeenTime)));
    EXPECT_EQ(std::string::npos, index.find(",a,"));
}

INSTANTIATE_TEST_SUITE_P(Openers, EditOpenerTest,
                         testing::Values(Opener::Menu, Opener::Toolbar, Opener::AltKey, Opener::ContextMenu),
                         [](const testing::TestParamInfo<Opener>& info) { return OpenerName(info.param); });

TEST_F(EntryDialogTest, EditWithoutSelectionShowsMessage10AndNoDialog) {
    StartWithThree();
    list_->Select(-1);
    const std::string index = IndexBytes();
    DialogDriver driver;
    driver.ExpectPress(IDOK);
    Command(IDM_EDITLIST);
    ASSERT_EQ(1u, driver.Shown().size());
    EXPECT_EQ(Sjis(u8"リストの編集"), driver.Shown()[0].caption);
    EXPECT_EQ(Sjis(u8"リストが選択されていません"), driver.Shown()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), driver.Shown()[0].messageBoxStyle);
    EXPECT_EQ(index, IndexBytes());
    EXPECT_EQ(3, list_->GetEntryCount());
}

// Each check keeps the dialog open with the fields as typed and changes nothing.
struct CheckCase {
    const char* name;
    Fields fields;  // "LOG" and "BROWSER" stand for a real log file and the test browser
    const char* caption;
    const char* text;
    int focused;
};

HWND afterBox = nullptr;
int focusedId = 0;

void CALLBACK LookAtFocusThenCancel(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (!afterBox) return;
    HWND focus = GetFocus();
    // The browser field is a combo box: its edit has the focus.
    if (focus && GetParent(focus) && GetDlgCtrlID(GetParent(focus)) == IDC_BROWSERNAME) focus = GetParent(focus);
    focusedId = focus ? GetDlgCtrlID(focus) : 0;
    DialogDriver::Press(afterBox, IDCANCEL);
    afterBox = nullptr;
}

class EntryCheckTest : public EntryDialogTest, public testing::WithParamInterface<CheckCase> {};

TEST_P(EntryCheckTest, ShowsItsMessageAndKeepsTheDialogAsTyped) {
    StartWithThree();
    WriteHistory({"C:\\old.exe"});
    const std::string index = IndexBytes();
    auto real = [&](const std::string& s) {
        if (s == "LOG") return logs_.File("a.log");
        if (s == "BROWSER") return browser_;
        return s;
    };
    const Fields typed = {real(GetParam().fields.log), Sjis(GetParam().fields.list.c_str()),
                          real(GetParam().fields.browser)};
    DialogDriver driver;
    HWND entry = nullptr;
    focusedId = 0;
    driver.Expect([&](HWND dialog) {
        entry = dialog;
        SetDlgItemTextA(dialog, IDC_LOGFILENAME, typed.log.c_str());
        SetDlgItemTextA(dialog, IDC_LISTNAME, typed.list.c_str());
        SetDlgItemTextA(dialog, IDC_BROWSERNAME, typed.browser.c_str());
        DialogDriver::Press(dialog, IDOK);
    });
    Fields after;
    bool stillOpen = false;
    driver.Expect([&](HWND box) {
        DialogDriver::Press(box, IDOK);
        stillOpen = IsWindow(entry) != FALSE;
        after = {DialogDriver::ItemText(entry, IDC_LOGFILENAME), DialogDriver::ItemText(entry, IDC_LISTNAME),
                 DialogDriver::ItemText(entry, IDC_BROWSERNAME)};
        // The field gets the focus once the box is gone: look when the queue has run dry.
        afterBox = entry;
        SetTimer(nullptr, 0, 20, LookAtFocusThenCancel);
    });
    Command(IDM_ADDLIST);
    for (int i = 0; i < 50 && afterBox; ++i) PumpMessages(20);

    ASSERT_GE(driver.Shown().size(), 2u);
    const ShownBox& box = driver.Shown()[1];
    EXPECT_EQ(Sjis(GetParam().caption), box.caption);
    EXPECT_EQ(Sjis(GetParam().text), box.text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), box.messageBoxStyle);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(typed.log, after.log);
    EXPECT_EQ(typed.list, after.list);
    EXPECT_EQ(typed.browser, after.browser);
    EXPECT_EQ(3, list_->GetEntryCount());
    EXPECT_EQ(index, IndexBytes());
    EXPECT_EQ(std::vector<std::string>{"C:\\old.exe"}, History());
    EXPECT_EQ(GetParam().focused, focusedId);
}

INSTANTIATE_TEST_SUITE_P(
    InOrder, EntryCheckTest,
    testing::Values(
        CheckCase{"AllEmpty", {"", "", ""}, u8"エディタの起動", u8"ログファイルが指定されていません", IDC_LOGFILENAME},
        CheckCase{"NoListName", {"LOG", "", ""}, u8"リストの編集", u8"リスト名が指定されていません", IDC_LISTNAME},
        CheckCase{"NoBrowser", {"LOG", "x", ""}, u8"リストの編集", u8"ブラウザが設定されていません", IDC_BROWSERNAME},
        CheckCase{"EmptyBeforeComma", {"a,b.log", "x", ""}, u8"リストの編集", u8"ブラウザが設定されていません",
                  IDC_BROWSERNAME},
        CheckCase{"CommaInLog", {"C:\\a,b.log", "x", "BROWSER"}, u8"リストの追加",
                  u8"ログファイル名・リスト名・ブラウザ名にカンマ（,）は使えません", IDC_LOGFILENAME},
        CheckCase{"CommaInListName", {"LOG", u8"ログ,1", "BROWSER"}, u8"リストの追加",
                  u8"ログファイル名・リスト名・ブラウザ名にカンマ（,）は使えません", IDC_LISTNAME},
        CheckCase{"CommaInBrowser", {"LOG", "x", "C:\\my,browser.exe"}, u8"リストの追加",
                  u8"ログファイル名・リスト名・ブラウザ名にカンマ（,）は使えません", IDC_BROWSERNAME}),
    [](const testing::TestParamInfo<CheckCase>& info) { return info.param.name; });

TEST_F(EntryDialogTest, FieldsKeepOnlyTheBytesAnEntryStores) {
    StartWithThree();
    DialogDriver driver;
    size_t log = 0, list = 0, browser = 0;
    driver.Expect([&](HWND dialog) {
        const std::string longText(400, 'x');
        SetDlgItemTextA(dialog, IDC_LOGFILENAME, "");
        SendDlgItemMessageA(dialog, IDC_LOGFILENAME, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(longText.c_str()));
        SendDlgItemMessageA(dialog, IDC_LISTNAME, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(longText.c_str()));
        HWND comboEdit = FindWindowExA(GetDlgItem(dialog, IDC_BROWSERNAME), nullptr, "Edit", nullptr);
        SendMessageA(comboEdit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(longText.c_str()));
        log = DialogDriver::ItemText(dialog, IDC_LOGFILENAME).size();
        list = DialogDriver::ItemText(dialog, IDC_LISTNAME).size();
        browser = DialogDriver::ItemText(dialog, IDC_BROWSERNAME).size();
        DialogDriver::Press(dialog, IDCANCEL);
    });
    Command(IDM_ADDLIST);
    EXPECT_EQ(259u, log);
    EXPECT_EQ(127u, list);
    EXPECT_EQ(259u, browser);
}

TEST_F(EntryDialogTest, CancelChangesNothing) {
    StartWithThree();
    WriteHistory({"C:\\one.exe"});
    const std::string index = IndexBytes();
    DialogDriver driver;
    driver.Expect([&](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_LOGFILENAME, logs_.File("a.log").c_str());
        SetDlgItemTextA(dialog, IDC_LISTNAME, "new");
        SetDlgItemTextA(dialog, IDC_BROWSERNAME, "C:\\two.exe");
        DialogDriver::Press(dialog, IDCANCEL);
    });
    Command(IDM_ADDLIST);
    EXPECT_EQ(1u, driver.Shown().size());
    EXPECT_EQ(3, list_->GetEntryCount());
    EXPECT_EQ(index, IndexBytes());
    EXPECT_EQ(std::vector<std::string>{"C:\\one.exe"}, History());
}

// ---- browser history ----

TEST_F(EntryDialogTest, HistoryIsOfferedMostRecentFirstAndOnlyTen) {
    StartWithThree();
    std::vector<std::string> eleven;
    for (int i = 0; i < 11; ++i) eleven.push_back("C:\\b" + std::to_string(i) + ".exe");
    WriteHistory(eleven);
    std::vector<std::string> offered;
    DialogDriver driver;
    driver.Expect([&](HWND dialog) {
        HWND combo = GetDlgItem(dialog, IDC_BROWSERNAME);
        int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[MAX_PATH] = "";
            SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            offered.push_back(text);
        }
        DialogDriver::Press(dialog, IDCANCEL);
    });
    Command(IDM_ADDLIST);
    EXPECT_EQ(std::vector<std::string>(eleven.begin(), eleven.begin() + 10), offered);
}

struct HistoryCase {
    const char* name;
    std::vector<std::string> before;
    std::string typed;
    std::vector<std::string> after;
};

class HistoryTest : public EntryDialogTest, public testing::WithParamInterface<HistoryCase> {};

TEST_P(HistoryTest, ConfirmedBrowserGoesToTheTop) {
    StartWithThree();
    WriteHistory(GetParam().before);
    DialogDriver driver;
    FillAndConfirm(driver, {logs_.File("a.log"), "new", GetParam().typed});
    Command(IDM_ADDLIST);
    EXPECT_EQ(GetParam().after, History());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HistoryTest,
    testing::Values(
        HistoryCase{"Empty", {}, "C:\\x.exe", {"C:\\x.exe"}},
        HistoryCase{"KnownMovesUp", {"C:\\a.exe", "C:\\b.exe", "C:\\c.exe"}, "C:\\c.exe",
                    {"C:\\c.exe", "C:\\a.exe", "C:\\b.exe"}},
        HistoryCase{"TopStaysOnce", {"C:\\a.exe", "C:\\b.exe"}, "C:\\a.exe", {"C:\\a.exe", "C:\\b.exe"}},
        HistoryCase{"PrefixAnyCaseReplacesLonger", {"C:\\a.exe", "C:\\Tools\\View.exe"}, "c:\\tools\\v",
                    {"c:\\tools\\v", "C:\\a.exe"}},
        HistoryCase{"OnlyTheFirstMatchFromTheSecond", {"C:\\v1.exe", "C:\\v2.exe", "C:\\v3.exe"}, "C:\\v",
                    {"C:\\v", "C:\\v1.exe", "C:\\v3.exe"}},
        HistoryCase{"EleventhIsWrittenButNotRead",
                    {"C:\\0", "C:\\1", "C:\\2", "C:\\3", "C:\\4", "C:\\5", "C:\\6", "C:\\7", "C:\\8", "C:\\9"},
                    "D:\\new.exe",
                    {"D:\\new.exe", "C:\\0", "C:\\1", "C:\\2", "C:\\3", "C:\\4", "C:\\5", "C:\\6", "C:\\7", "C:\\8",
                     "C:\\9"}}),
    [](const testing::TestParamInfo<HistoryCase>& info) { return info.param.name; });

// ---- the buttons beside the fields ----

struct ChooserCall {
    std::string title;
    std::string filter;
    DWORD flags = 0;
    DWORD filterIndex = 0;
    bool emptyName = false;
};
ChooserCall lastChooser;
const char* chooserAnswer = nullptr;

BOOL WINAPI FakeOpenFile(LPOPENFILENAMEA ofn) {
    lastChooser.title = ofn->lpstrTitle ? ofn->lpstrTitle : "";
    const char* f = ofn->lpstrFilter;
    lastChooser.filter.clear();
    while (f && *f) {
        lastChooser.filter.append(f).append("|");
        f += lstrlenA(f) + 1;
    }
    lastChooser.flags = ofn->Flags;
    lastChooser.filterIndex = ofn->nFilterIndex;
    lastChooser.emptyName = ofn->lpstrFile[0] == '\0' && ofn->nMaxFile == MAX_PATH;
    if (!chooserAnswer) return FALSE;
    lstrcpynA(ofn->lpstrFile, chooserAnswer, ofn->nMaxFile);
    return TRUE;
}

struct ChooserCase {
    const char* name;
    int button;
    int field;
    const char* title;
    const char* filter;
};

class EntryChooserTest : public EntryDialogTest, public testing::WithParamInterface<ChooserCase> {
protected:
    void SetUp() override {
        EntryDialogTest::SetUp();
        previous_ = SetOpenFileHook(FakeOpenFile);
    }
    void TearDown() override {
        SetOpenFileHook(previous_);
        EntryDialogTest::TearDown();
    }
    OpenFileFunction previous_ = nullptr;
};

TEST_P(EntryChooserTest, ChosenPathReplacesTheFieldAndCancelKeepsIt) {
    StartWithThree();
    std::string afterChoice, afterCancel;
    HWND focus = nullptr;
    int focusedAfterChoice = 0;
    DialogDriver driver;
    driver.Expect([&](HWND dialog) {
        SetDlgItemTextA(dialog, GetParam().field, "typed");
        chooserAnswer = "C:\\Chosen\\file.x";
        SendMessageA(dialog, WM_COMMAND, GetParam().button, 0);
        afterChoice = DialogDriver::ItemText(dialog, GetParam().field);
        focus = GetFocus();
        if (focus && GetDlgCtrlID(focus) != GetParam().field) focus = GetParent(focus);  // a combo's edit
        focusedAfterChoice = focus ? GetDlgCtrlID(focus) : 0;
        chooserAnswer = nullptr;
        SetDlgItemTextA(dialog, GetParam().field, "typed");
        SendMessageA(dialog, WM_COMMAND, GetParam().button, 0);
        afterCancel = DialogDriver::ItemText(dialog, GetParam().field);
        DialogDriver::Press(dialog, IDCANCEL);
    });
    Command(IDM_ADDLIST);
    EXPECT_EQ("C:\\Chosen\\file.x", afterChoice);
    EXPECT_EQ("typed", afterCancel);
    EXPECT_EQ(GetParam().field, focusedAfterChoice);
    EXPECT_EQ(Sjis(GetParam().title), lastChooser.title);
    EXPECT_EQ(Sjis(GetParam().filter), lastChooser.filter);
    EXPECT_EQ(1u, lastChooser.filterIndex);
    EXPECT_TRUE(lastChooser.flags & OFN_HIDEREADONLY);
    EXPECT_TRUE(lastChooser.emptyName);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, EntryChooserTest,
    testing::Values(ChooserCase{"LogFile", IDC_BROWSE_LOG, IDC_LOGFILENAME, u8"ログファイルの設定",
                                u8"ﾛｸﾞ･ﾌｧｲﾙ (*.LOG)|*.log|ﾃｷｽﾄ･ﾌｧｲﾙ (*.TXT)|*.txt|全ﾌｧｲﾙ (*.*)|*.*|"},
                    ChooserCase{"Browser", IDC_BROWSE_BROWSER, IDC_BROWSERNAME, u8"ブラウザの設定",
                                u8"実行ﾌｧｲﾙ (*.EXE)|*.exe|"}),
    [](const testing::TestParamInfo<ChooserCase>& info) { return info.param.name; });

TEST_F(EntryDialogTest, EditorButtonOpensTheExpandedLogInTheEditor) {
    StartWithThree();
    frame_->Settings().SetEditor(browser_.c_str());
    frame_->Settings().SetMacroYear("26");
    frame_->Settings().SetMacroMon("12");
    frame_->Settings().SetMacroDay("05");
    DialogDriver driver;
    driver.Expect([&](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_LOGFILENAME, (logs_.Path() + "app#$%.log").c_str());
        SendMessageA(dialog, WM_COMMAND, IDC_OPEN_EDITOR, 0);
        DialogDriver::Press(dialog, IDCANCEL);
    });
    Command(IDM_ADDLIST);
    std::string started;
    for (int i = 0; i < 100 && started.empty(); ++i) {
        Sleep(50);
        started = ReadFileBytes(browserLog_);
    }
    EXPECT_NE(std::string::npos, started.find(logs_.Path() + "app261205.log")) << started;
}

struct EditorFailure {
    const char* name;
    const char* log;
    const char* editor;
    const char* caption;
    const char* text;
};

class EditorButtonFailureTest : public EntryDialogTest, public testing::WithParamInterface<EditorFailure> {};

TEST_P(EditorButtonFailureTest, ShowsItsMessageAndStartsNothing) {
    StartWithThree();
    frame_->Settings().SetEditor(GetParam().editor[0] == '*' ? browser_.c_str() : GetParam().editor);
    DialogDriver driver;
    HWND entry = nullptr;
    driver.Expect([&](HWND dialog) {
        entry = dialog;
        SetDlgItemTextA(dialog, IDC_LOGFILENAME, GetParam().log);
        DialogDriver::Press(dialog, IDC_OPEN_EDITOR);
    });
    driver.Expect([&](HWND box) {
        DialogDriver::Press(box, IDOK);
        DialogDriver::Press(entry, IDCANCEL);
    });
    Command(IDM_ADDLIST);
    ASSERT_EQ(2u, driver.Shown().size());
    EXPECT_EQ(Sjis(GetParam().caption), driver.Shown()[1].caption);
    EXPECT_EQ(Sjis(GetParam().text), driver.Shown()[1].text);
    Sleep(200);
    EXPECT_EQ("", ReadFileBytes(browserLog_));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EditorButtonFailureTest,
    testing::Values(EditorFailure{"EmptyLogField", "", "*", u8"リストの追加", u8"リストが選択されていません"},
                    EditorFailure{"NoEditorSet", "C:\\a.log", "", u8"エディタの起動", u8"エディタが設定されていません"},
                    EditorFailure{"EditorMissing", "C:\\a.log", "C:\\no\\such\\editor.exe", u8"エディタの起動",
                                  u8"エディタの起動に失敗しました"}),
    [](const testing::TestParamInfo<EditorFailure>& info) { return info.param.name; });

}  // namespace
