// The add and edit entry dialog over a real main window: the fields it shows and keeps, its checks
// and their messages, the buttons beside the fields, and what it does to the list, the index file
// and the browser history.
#include "frame_fixture.h"
#include "lib/common_dialogs.h"
#include "loglist/list_commands.h"

using namespace testing_support;

namespace {

// The file dialog: what it was asked to show as "title|filter|...", and the answer it gives.
std::string chooser;
const char* chooserAnswer = nullptr;

BOOL WINAPI FakeOpenFile(LPOPENFILENAMEA ofn) {
    chooser = ofn->lpstrTitle;
    for (const char* f = ofn->lpstrFilter; *f; f += lstrlenA(f) + 1) chooser.append("|").append(f);
    EXPECT_TRUE(ofn->nFilterIndex == 1 && (ofn->Flags & OFN_HIDEREADONLY) && !ofn->lpstrFile[0] && ofn->nMaxFile == MAX_PATH);
    if (chooserAnswer) lstrcpynA(ofn->lpstrFile, chooserAnswer, ofn->nMaxFile);
    return chooserAnswer != nullptr;
}

std::string HistoryName(size_t i) { return "Browse" + std::to_string(i); }

std::vector<std::string> History() {
    std::vector<std::string> items;
    while (ProgramText("BrowseList", HistoryName(items.size()).c_str()) != "<missing>") {
        items.push_back(ProgramText("BrowseList", HistoryName(items.size()).c_str()));
    }
    return items;
}

void WriteHistory(const std::vector<std::string>& items) {
    for (size_t i = 0; i < items.size(); ++i) WriteProgramText("BrowseList", HistoryName(i).c_str(), items[i]);
}

constexpr int kFields[] = {IDC_LOGFILENAME, IDC_LISTNAME, IDC_BROWSERNAME};

std::vector<std::string> Fields(HWND dialog) {
    std::vector<std::string> fields;
    for (int id : kFields) fields.push_back(DialogDriver::ItemText(dialog, id));
    return fields;
}

void Fill(HWND dialog, const std::vector<std::string>& fields) {
    for (int i = 0; i < 3; ++i) SetDlgItemTextA(dialog, kFields[i], fields[i].c_str());
}

// The field with the focus, once the messages that move it have run; the browser field is a combo
// box whose edit takes the focus.
int FocusedField(HWND dialog) {
    PumpMessages(30);
    HWND focus = GetFocus();
    if (focus && GetParent(focus) != dialog) focus = GetParent(focus);
    return focus ? GetDlgCtrlID(focus) : 0;
}

class EntryDialogTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        previousOpen_ = SetOpenFileHook(FakeOpenFile);
    }
    void TearDown() override {
        SetOpenFileHook(previousOpen_);
        FrameTest::TearDown();
    }
    void StartWithThree() {
        for (const char* name : {"a.log", "b.log", "d.log"}) WriteLog(logs_.File(name), LocalFileTime(2026, 3, 4));
        Start(IndexLine(logs_.File("d.log"), browser_, "d") + IndexLine(logs_.File("a.log"), browser_, "a") +
              IndexLine(logs_.File("b.log"), browser_, "b"));
    }
    OpenFileFunction previousOpen_ = nullptr;
};

TEST_F(EntryDialogTest, AddStartsEmptyTakesWhatAnEntryKeepsAndAddsTheRowReadNow) {
    StartWithThree();
    std::vector<std::string> eleven;
    for (int i = 0; i < 11; ++i) eleven.push_back("C:\\b" + std::to_string(i) + ".exe");
    WriteHistory(eleven);
    const std::string log = logs_.File("c.log");
    WriteLog(log, LocalFileTime(2026, 1, 1));
    std::vector<std::string> shown, offered;
    std::vector<size_t> lengths;
    DialogDriver driver;
    driver.Expect([&](HWND dialog) {
        shown = Fields(dialog);
        HWND combo = GetDlgItem(dialog, IDC_BROWSERNAME);
        for (int i = 0; i < SendMessageA(combo, CB_GETCOUNT, 0, 0); ++i) {
            char text[MAX_PATH] = "";
            SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            offered.push_back(text);
        }
        const std::string typed(400, 'x');
        for (HWND edit : {GetDlgItem(dialog, IDC_LOGFILENAME), GetDlgItem(dialog, IDC_LISTNAME),
                          FindWindowExA(combo, nullptr, "Edit", nullptr)}) {
            SendMessageA(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(typed.c_str()));
        }
        for (const std::string& field : Fields(dialog)) lengths.push_back(field.size());
        Fill(dialog, {log, "c", browser_});
        DialogDriver::Press(dialog, IDOK);
    });
    const ULONGLONG before = FileTimeValue(list_commands::LocalNow());
    Command(IDM_ADDLIST);
    const ULONGLONG after = FileTimeValue(list_commands::LocalNow());
    ASSERT_EQ(1u, driver.Shown().size());
    EXPECT_EQ(Sjis(u8"リストの追加"), driver.Shown()[0].caption);
    EXPECT_EQ((std::vector<std::string>{"", "", ""}), shown);
    EXPECT_EQ(std::vector<std::string>(eleven.begin(), eleven.begin() + 10), offered);  // ten, the latest first
    EXPECT_EQ((std::vector<size_t>{259, 127, 259}), lengths);
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c", "d"}), Names());
    EXPECT_EQ(2, list_->GetSelection());  // the new row, once the list was read again
    const LogEntry added = Row(2);
    EXPECT_GE(FileTimeValue(added.SeenTime), before - 10000000ull);  // a FILETIME of whole seconds
    EXPECT_LE(FileTimeValue(added.SeenTime), after);
    EXPECT_NE(std::string::npos, IndexBytes().find(IndexLine(log, browser_, "c", added.SeenTime)));
    std::vector<std::string> history = {browser_};
    history.insert(history.end(), eleven.begin(), eleven.begin() + 10);
    EXPECT_EQ(history, History());

    const std::string index = IndexBytes();
    driver.Expect([&](HWND dialog) {
        Fill(dialog, {logs_.File("a.log"), "new", "C:\\two.exe"});
        DialogDriver::Press(dialog, IDCANCEL);
    });
    Command(IDM_ADDLIST);  // 取消 changes nothing
    EXPECT_EQ(4, list_->GetEntryCount());
    EXPECT_EQ(index, IndexBytes());
    EXPECT_EQ(history, History());
}

TEST_F(EntryDialogTest, EditShowsTheSelectedEntryAndReplacesIt) {
    StartWithThree();
    list_->Select(1);
    std::vector<std::string> shown;
    DialogDriver driver;
    driver.Expect([&](HWND dialog) {
        shown = Fields(dialog);
        Fill(dialog, {logs_.File("b.log"), "z", browser_});
        DialogDriver::Press(dialog, IDOK);
    });
    Command(IDM_EDITLIST);
    ASSERT_EQ(1u, driver.Shown().size());
    EXPECT_EQ(Sjis(u8"リストの編集"), driver.Shown()[0].caption);
    EXPECT_EQ((std::vector<std::string>{logs_.File("b.log"), "b", browser_}), shown);
    EXPECT_EQ((std::vector<std::string>{"a", "d", "z"}), Names());
    EXPECT_EQ(2, list_->GetSelection());
    EXPECT_NE(0u, Row(2).SeenTime.dwHighDateTime);  // read now
    EXPECT_NE(std::string::npos, IndexBytes().find(IndexLine(logs_.File("b.log"), browser_, "z", Row(2).SeenTime)));
    EXPECT_EQ(std::string::npos, IndexBytes().find(",b,"));

    list_->Select(-1);
    driver.ExpectPress(IDOK);
    Command(IDM_EDITLIST);  // a message instead of the dialog
    EXPECT_EQ(Sjis(u8"リストが選択されていません"), driver.Shown().back().text);
    EXPECT_EQ(3, list_->GetEntryCount());
}

TEST_F(EntryDialogTest, EachCheckTellsItsProblemAndKeepsTheDialogAsTyped) {
    StartWithThree();
    WriteHistory({"C:\\old.exe"});
    const std::string index = IndexBytes(), log = logs_.File("a.log");
    const char* comma = u8"ログファイル名・リスト名・ブラウザ名にカンマ（,）は使えません";
    const struct {
        std::vector<std::string> fields;
        const char *caption, *text;
        int focused;
    } checks[] = {
        {{"", "", ""}, u8"エディタの起動", u8"ログファイルが指定されていません", IDC_LOGFILENAME},
        {{log, "", ""}, u8"リストの編集", u8"リスト名が指定されていません", IDC_LISTNAME},
        {{log, "x", ""}, u8"リストの編集", u8"ブラウザが設定されていません", IDC_BROWSERNAME},
        {{"a,b.log", "x", ""}, u8"リストの編集", u8"ブラウザが設定されていません", IDC_BROWSERNAME},  // empty first
        {{"C:\\a,b.log", "x", browser_}, u8"リストの追加", comma, IDC_LOGFILENAME},
        {{log, Sjis(u8"ログ,1"), browser_}, u8"リストの追加", comma, IDC_LISTNAME},
        {{log, "x", "C:\\my,browser.exe"}, u8"リストの追加", comma, IDC_BROWSERNAME}};
    DialogDriver driver;
    driver.Expect([&](HWND dialog) {
        for (const auto& check : checks) {
            SCOPED_TRACE(check.text);
            driver.ExpectPress(IDOK);
            Fill(dialog, check.fields);
            SendMessageA(dialog, WM_COMMAND, IDOK, 0);  // the message comes and goes inside
            ASSERT_TRUE(IsWindow(dialog));
            EXPECT_EQ(Sjis(check.caption), driver.Shown().back().caption);
            EXPECT_EQ(Sjis(check.text), driver.Shown().back().text);
            EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), driver.Shown().back().messageBoxStyle);
            EXPECT_EQ(check.fields, Fields(dialog));
            EXPECT_EQ(check.focused, FocusedField(dialog));
        }
        DialogDriver::Press(dialog, IDCANCEL);
    });
    Command(IDM_ADDLIST);
    EXPECT_EQ(8u, driver.Shown().size());
    EXPECT_EQ(3, list_->GetEntryCount());
    EXPECT_EQ(index, IndexBytes());
    EXPECT_EQ(std::vector<std::string>{"C:\\old.exe"}, History());
}

TEST_F(EntryDialogTest, ButtonsBesideTheFieldsChooseAFileOrOpenTheExpandedLogInTheEditor) {
    StartWithThree();
    Environ& settings = frame_->Settings();
    settings.SetMacroYear("26");
    settings.SetMacroMon("12");
    settings.SetMacroDay("05");
    const struct {
        int button, field;
        const char* shown;  // "title|filter|..."
    } choosers[] = {{IDC_BROWSE_LOG, IDC_LOGFILENAME,
                     u8"ログファイルの設定|ﾛｸﾞ･ﾌｧｲﾙ (*.LOG)|*.log|ﾃｷｽﾄ･ﾌｧｲﾙ (*.TXT)|*.txt|全ﾌｧｲﾙ (*.*)|*.*"},
                    {IDC_BROWSE_BROWSER, IDC_BROWSERNAME, u8"ブラウザの設定|実行ﾌｧｲﾙ (*.EXE)|*.exe"}};
    const struct {
        const char* log;
        std::string editor;
        const char* text;
    } failures[] = {{"", browser_, u8"リストが選択されていません"},
                    {"C:\\a.log", "", u8"エディタが設定されていません"},
                    {"C:\\a.log", "C:\\no\\such\\editor.exe", u8"エディタの起動に失敗しました"}};
    DialogDriver driver;
    driver.Expect([&](HWND dialog) {
        for (const auto& c : choosers) {
            for (const char* answer : {"C:\\Chosen\\file.x", static_cast<const char*>(nullptr)}) {  // then 取消
                SetDlgItemTextA(dialog, c.field, "typed");
                chooserAnswer = answer;
                SendMessageA(dialog, WM_COMMAND, c.button, 0);
                EXPECT_EQ(answer ? answer : "typed", DialogDriver::ItemText(dialog, c.field));
                EXPECT_EQ(c.field, FocusedField(dialog));
                EXPECT_EQ(Sjis(c.shown), chooser);
            }
        }
        for (const auto& f : failures) {
            settings.SetEditor(f.editor.c_str());
            SetDlgItemTextA(dialog, IDC_LOGFILENAME, f.log);
            driver.ExpectPress(IDOK);
            SendMessageA(dialog, WM_COMMAND, IDC_OPEN_EDITOR, 0);
            EXPECT_EQ(Sjis(f.text), driver.Shown().back().text);
        }
        Sleep(200);
        EXPECT_EQ("", ReadFileBytes(browserLog_));
        settings.SetEditor(browser_.c_str());
        SetDlgItemTextA(dialog, IDC_LOGFILENAME, (logs_.Path() + "app #$%.log").c_str());
        SendMessageA(dialog, WM_COMMAND, IDC_OPEN_EDITOR, 0);
        EXPECT_EQ(IDC_LISTNAME, FocusedField(dialog));
        DialogDriver::Press(dialog, IDCANCEL);
    });
    Command(IDM_ADDLIST);
    EXPECT_NE(std::string::npos, Started(1).find("\"" + logs_.Path() + "app 261205.log\"\r\n"));
}

}  // namespace
