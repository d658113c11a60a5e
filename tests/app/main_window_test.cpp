// The main window over a real index file: rows in order with their texts, the status bar, the
// browser and editor commands, deleting, sorting, refreshing and the keys that reach them.
#include "app/main_window.h"

#include <commctrl.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/kelvora_frame.h"
#include "app/layout.h"
#include "app/status_text.h"
#include "dialog_driver.h"
#include "frame_fixture.h"
#include "lib/owned.h"
#include "loglist/index_file.h"
#include "loglist/list_commands.h"
#include "loglist/list_menu.h"
#include "menu_watcher.h"
#include "resources/resource_ids.h"
#include "settings/environ.h"
#include "sjis.h"
#include "test_env.h"

using namespace testing_support;

namespace {

class MainWindowTest : public FrameTest {
protected:
    // Three logs: alpha (written, never opened), beta (opened after it was written), and a missing one.
    void PrepareThreeEntries() {
        WriteLog(logs_.File("a.log"), LocalFileTime(2026, 3, 4), "alpha\r\n");
        WriteLog(logs_.File("b.log"), LocalFileTime(2026, 1, 2), "beta beta\r\n");
        std::string index = IndexLine(logs_.File("b.log"), browser_, Sjis(u8"ベータ"), LocalFileTime(2026, 2, 1)) +
                            IndexLine(logs_.File("missing.log"), browser_, Sjis(u8"ない")) +
                            IndexLine(logs_.File("a.log"), browser_, Sjis(u8"アルファ|ポ"));
        ASSERT_TRUE(WriteFileBytes(indexPath_, index));
    }

    std::string StatusPart(int part) const {
        char text[512] = "";
        SendMessageA(frame_->StatusBar(), SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text));
        return text;
    }
    void StartThree() {
        PrepareThreeEntries();
        StartProgram();
    }
    std::string BrowserLog() const { return ReadFileBytes(browserLog_); }
    // The fake browser's record once it names every path, or after five seconds what it has.
    std::string WaitForBrowserLog(std::vector<std::string> paths) const {
        auto complete = [&] {
            std::string log = BrowserLog();
            for (const std::string& p : paths) if (log.find(p) == std::string::npos) return false;
            return !log.empty();
        };
        for (int i = 0; i < 100 && !complete(); ++i) Sleep(50);
        return BrowserLog();
    }
    static std::string Unread() { return Sjis(u8"未") + "\t"; }
    static std::string Read() { return Sjis(u8"　") + "\t"; }
};

// Makes one step of writing the index file fail, for as long as it lives.
struct WriteFault {
    const char* name;
    int writtenPercent;  // of the list's bytes, before Write fails; -1: Write succeeds
    DWORD error;
    bool failFlush;
    bool failReplace;
};

class FailingIndexOps : public IndexFileOps {
public:
    explicit FailingIndexOps(const WriteFault& fault) : fault_(fault), previous_(SetIndexFileOps(this)) {}
    ~FailingIndexOps() override { SetIndexFileOps(previous_); }
    bool Write(HANDLE file, const void* data, DWORD size) override {
        if (fault_.writtenPercent < 0) return IndexFileOps::Write(file, data, size);
        IndexFileOps::Write(file, data, static_cast<DWORD>(size * static_cast<ULONGLONG>(fault_.writtenPercent) / 100));
        SetLastError(fault_.error);
        return false;
    }
    bool Flush(HANDLE file) override { return !fault_.failFlush && IndexFileOps::Flush(file); }
    bool Replace(const char* from, const char* to) override {
        return !fault_.failReplace && IndexFileOps::Replace(from, to);
    }

private:
    WriteFault fault_;
    IndexFileOps* previous_;
};

TEST_F(MainWindowTest, StartShowsTheRowsInOrderWithTheFirstSelected) {
    StartThree();
    ASSERT_EQ(3, list_->GetEntryCount());
    EXPECT_EQ((std::vector<std::string>{Sjis(u8"アルファ|ポ"), Sjis(u8"ない"), Sjis(u8"ベータ")}), Names());
    EXPECT_EQ(Unread() + "03/04\t" + Sjis(u8"アルファ\tポ"), Row(0).DisplayText);
    EXPECT_EQ(Read() + "**/**\t" + Sjis(u8"ない"), Row(1).DisplayText);
    EXPECT_EQ(Read() + "01/02\t" + Sjis(u8"ベータ"), Row(2).DisplayText);
    EXPECT_EQ(0, list_->GetSelection());
    EXPECT_EQ(Sjis(u8"》 ") + logs_.File("a.log"), StatusPart(0));
    EXPECT_EQ("         7", StatusPart(1));
    EXPECT_EQ(" 2026/03/04", StatusPart(2));
    EXPECT_EQ("  12:00:00", StatusPart(3));
    EXPECT_TRUE(IsWindowEnabled(list_->Control()));
    HMENU menu = GetMenu(frame_->MainWindow());
    EXPECT_FALSE(GetMenuState(menu, IDM_EDITLIST, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(MainWindowTest, DateOrdersPutMissingFilesLastOrFirst) {
    PrepareThreeEntries();
    StartProgram(1);
    EXPECT_EQ((std::vector<std::string>{Sjis(u8"アルファ|ポ"), Sjis(u8"ベータ"), Sjis(u8"ない")}), Names());
    Stop();
    StartProgram(2);
    EXPECT_EQ((std::vector<std::string>{Sjis(u8"ない"), Sjis(u8"ベータ"), Sjis(u8"アルファ|ポ")}), Names());
}

TEST_F(MainWindowTest, EmptyIndexLeavesTheEntryCommandsGreyed) {
    ASSERT_TRUE(WriteFileBytes(indexPath_, ""));
    StartProgram();
    EXPECT_EQ(0, list_->GetEntryCount());
    HMENU menu = GetMenu(frame_->MainWindow());
    for (UINT id : {IDM_EDITLIST, IDM_DELETELIST, IDM_CUT, IDM_BROWSER, IDM_EDITOR}) {
        EXPECT_TRUE(GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) << id;
    }
    EXPECT_FALSE(GetMenuState(menu, IDM_ADDLIST, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(SendMessageA(frame_->Toolbar(), TB_ISBUTTONENABLED, IDM_SORTNAME, 0));
    EXPECT_TRUE(SendMessageA(frame_->Toolbar(), TB_ISBUTTONENABLED, IDM_ADDLIST, 0));
}

TEST_F(MainWindowTest, MissingIndexFileIsCreatedEmpty) {
    StartProgram();
    EXPECT_EQ(0, list_->GetEntryCount());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES != GetFileAttributesA(indexPath_), true);
}

TEST_F(MainWindowTest, BrowserCommandStartsTheBrowserAndClearsTheMark) {
    PrepareThreeEntries();
    // Its writer holds the log open, as logging programs do: it still shows and opens.
    OwnedFile writer(CreateFileA(logs_.File("a.log").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(writer);
    StartProgram();
    EXPECT_EQ(Unread() + "03/04\t" + Sjis(u8"アルファ\tポ"), Row(0).DisplayText);
    ASSERT_EQ(0, Row(0).SeenTime.dwHighDateTime);
    Command(IDM_BROWSER);
    EXPECT_NE(std::string::npos, WaitForBrowserLog({logs_.File("a.log")}).find(logs_.File("a.log"))) << BrowserLog();
    EXPECT_EQ(0, list_->GetSelection());
    EXPECT_EQ(Sjis(u8"アルファ|ポ"), Row(0).ListName);
    EXPECT_NE(0u, Row(0).SeenTime.dwHighDateTime);
    EXPECT_EQ(Read() + "03/04\t" + Sjis(u8"アルファ\tポ"), Row(0).DisplayText);
}

TEST_F(MainWindowTest, EnterAndDoubleClickOpenTheSelectedLog) {
    StartThree();
    list_->Select(2);
    SendMessageA(list_->Control(), WM_KEYDOWN, VK_RETURN, 0);
    list_->Select(0);
    SendMessageA(list_->Control(), WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 3));
    PumpMessages();
    const std::string log = WaitForBrowserLog({logs_.File("a.log"), logs_.File("b.log")});
    EXPECT_NE(std::string::npos, log.find(logs_.File("b.log")));
    EXPECT_NE(std::string::npos, log.find(logs_.File("a.log")));
}

TEST_F(MainWindowTest, MissingLogFileIsReportedAndNothingStarts) {
    StartThree();
    list_->Select(1);
    DialogDriver driver;
    driver.ExpectPress(IDOK);
    driver.ExpectPress(IDOK);
    Command(IDM_BROWSER);
    Command(IDM_EDITOR);
    ASSERT_EQ(2u, driver.Shown().size());
    for (const ShownBox& box : driver.Shown()) {
        EXPECT_EQ(Sjis(u8"ブラウザの起動"), box.caption);
        EXPECT_EQ(Sjis(u8"ログファイルは存在していません"), box.text);
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), box.messageBoxStyle);
    }
    EXPECT_EQ(0u, Row(1).SeenTime.dwHighDateTime);
    Sleep(200);
    EXPECT_TRUE(BrowserLog().empty());
}

TEST_F(MainWindowTest, NoSelectionAndNoEditorAreReported) {
    StartThree();
    list_->Select(-1);
    DialogDriver driver;
    driver.ExpectPress(IDOK);
    Command(IDM_BROWSER);
    Command(IDM_EDITOR);  // no selection: the editor command says nothing
    ASSERT_EQ(1u, driver.Shown().size());
    EXPECT_EQ(Sjis(u8"ブラウザの起動"), driver.Shown()[0].caption);
    EXPECT_EQ(Sjis(u8"ブラウザの起動に失敗しました"), driver.Shown()[0].text);

    list_->Select(0);
    driver.ExpectPress(IDOK);
    Command(IDM_EDITOR);
    ASSERT_EQ(2u, driver.Shown().size());
    EXPECT_EQ(Sjis(u8"エディタの起動"), driver.Shown()[1].caption);
    EXPECT_EQ(Sjis(u8"エディタが設定されていません"), driver.Shown()[1].text);
}

TEST_F(MainWindowTest, EditorCommandStartsTheEditorWithTheExpandedNameAsOneArgument) {
    WriteLog(logs_.File("ap 260306.log"), LocalFileTime(2026, 3, 6), "x\r\n");
    ASSERT_TRUE(WriteFileBytes(indexPath_, IndexLine(logs_.File("ap #$%.log"), "none.exe", "daily")));
    DWORD off = 0;
    WriteProgramValue("Main", "MacroAuto", REG_DWORD, &off, sizeof off);
    WriteProgramValue("Main", "MacroYear", REG_SZ, "26", 3);
    WriteProgramValue("Main", "MacroMon", REG_SZ, "03", 3);
    WriteProgramValue("Main", "MacroDay", REG_SZ, "06", 3);
    WriteProgramValue("Main", "Editor", REG_SZ, browser_.c_str(), static_cast<DWORD>(browser_.size() + 1));
    StartProgram();
    EXPECT_EQ(Sjis(u8"》 ") + logs_.File("ap 260306.log"), StatusPart(0));
    Command(IDM_EDITOR);
    const std::string quoted = "\"" + logs_.File("ap 260306.log") + "\"";
    EXPECT_NE(std::string::npos, WaitForBrowserLog({quoted}).find(quoted)) << BrowserLog();
    EXPECT_NE(0u, Row(0).SeenTime.dwHighDateTime);
}

TEST_F(MainWindowTest, DeleteAsksKeepsTheRowOnCancelAndSelectsTheNextRow) {
    StartThree();
    list_->Select(1);
    DialogDriver driver;
    driver.ExpectPress(IDCANCEL);
    Command(IDM_DELETELIST);
    ASSERT_EQ(1u, driver.Shown().size());
    EXPECT_EQ(Sjis(u8"リストの削除"), driver.Shown()[0].caption);
    EXPECT_EQ(Sjis(u8"選択されているリストを削除しても宜しいですか？"), driver.Shown()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL | MB_ICONEXCLAMATION), driver.Shown()[0].messageBoxStyle);
    EXPECT_EQ(3, list_->GetEntryCount());

    driver.ExpectPress(IDOK);
    Command(IDM_DELETELIST);
    EXPECT_EQ((std::vector<std::string>{Sjis(u8"アルファ|ポ"), Sjis(u8"ベータ")}), Names());
    EXPECT_EQ(1, list_->GetSelection());
    std::string file = ReadFileBytes(indexPath_);
    EXPECT_EQ(std::string::npos, file.find(Sjis(u8"ない")));
    EXPECT_NE(std::string::npos, file.find(Sjis(u8"ベータ")));

    // Deleting the bottom row leaves no selection.
    driver.ExpectPress(IDOK);
    Command(IDM_DELETELIST);
    EXPECT_EQ(std::vector<std::string>{Sjis(u8"アルファ|ポ")}, Names());
    EXPECT_EQ(-1, list_->GetSelection());
}

TEST_F(MainWindowTest, DeletingTheLastEntryDoesNotBringItBack) {
    ASSERT_TRUE(WriteFileBytes(indexPath_, IndexLine(logs_.File("a.log"), "b.exe", "only")));
    StartProgram();
    ASSERT_EQ(1, list_->GetEntryCount());
    DialogDriver driver;
    driver.ExpectPress(IDOK);
    Command(IDM_DELETELIST);
    EXPECT_EQ(0, list_->GetEntryCount());
    Stop();
    EXPECT_EQ("", ReadFileBytes(indexPath_));
    StartProgram();
    EXPECT_EQ(0, list_->GetEntryCount());
}

TEST_F(MainWindowTest, DeleteWithNothingSelectedSaysSo) {
    StartThree();
    list_->Select(-1);
    DialogDriver driver;
    driver.ExpectPress(IDOK);
    driver.ExpectPress(IDOK);
    Command(IDM_DELETELIST);
    ASSERT_EQ(2u, driver.Shown().size());
    EXPECT_EQ(Sjis(u8"ログファイルが指定されていません"), driver.Shown()[1].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONHAND), driver.Shown()[1].messageBoxStyle);
    EXPECT_EQ(3, list_->GetEntryCount());
}

TEST_F(MainWindowTest, SortCommandsKeepTheSelectedRowNumberAndStoreTheOrder) {
    StartThree();
    list_->Select(2);
    Command(IDM_SORTNEW);
    EXPECT_EQ((std::vector<std::string>{Sjis(u8"アルファ|ポ"), Sjis(u8"ベータ"), Sjis(u8"ない")}), Names());
    EXPECT_EQ(2, list_->GetSelection());
    DWORD type;
    std::string data;
    ASSERT_TRUE(ReadProgramValue("Main", "SortList", &type, &data));
    EXPECT_EQ(1u, *reinterpret_cast<const DWORD*>(data.data()));

    Command(IDM_SORTOLD);
    EXPECT_EQ((std::vector<std::string>{Sjis(u8"ない"), Sjis(u8"ベータ"), Sjis(u8"アルファ|ポ")}), Names());
    Command(IDM_SORTNAME);
    EXPECT_EQ(Sjis(u8"アルファ|ポ"), Names()[0]);
    EXPECT_EQ(2, list_->GetSelection());
}

TEST_F(MainWindowTest, RefreshShowsANewDateAndTheUnreadMark) {
    StartThree();
    EXPECT_EQ(Read() + "01/02\t" + Sjis(u8"ベータ"), Row(2).DisplayText);
    WriteLog(logs_.File("b.log"), LocalFileTime(2026, 5, 6), "beta written again\r\n");
    Key(WM_KEYDOWN, VK_F5);
    EXPECT_EQ(Unread() + "05/06\t" + Sjis(u8"ベータ"), Row(2).DisplayText);
}

TEST_F(MainWindowTest, DeleteAndBrowserKeysGoThroughTheAcceleratorTable) {
    StartThree();
    list_->Select(1);
    {
        DialogDriver driver;
        driver.ExpectPress(IDOK);
        Key(WM_KEYDOWN, VK_DELETE);
        EXPECT_EQ(1u, driver.Shown().size());
    }
    EXPECT_EQ(2, list_->GetEntryCount());
    list_->Select(0);
    Key(WM_CHAR, 2);  // Ctrl+B
    EXPECT_NE(std::string::npos, WaitForBrowserLog({logs_.File("a.log")}).find(logs_.File("a.log")));
}

TEST_F(MainWindowTest, RightClickSelectsTheRowAndItsMenuOpensThatRow) {
    StartThree();
    int height = static_cast<int>(SendMessageA(list_->Control(), LB_GETITEMHEIGHT, 0, 0));
    ASSERT_GT(height, 0);
    {
        MenuWatcher watcher('o');  // 開く(&O)
        SendMessageA(list_->Control(), WM_RBUTTONUP, 0, MAKELPARAM(10, 2 * height + 1));
        PumpMessages(100);
        ASSERT_TRUE(watcher.Menu().shown);
        EXPECT_EQ((std::vector<UINT>{IDM_BROWSER, IDM_EDITOR, 0, IDM_ADDLIST, IDM_EDITLIST, IDM_DELETELIST, 0, IDM_CUT}),
                  watcher.Menu().ids);
        EXPECT_EQ(Sjis(u8"開く(&O)"), watcher.Menu().texts[0]);
        EXPECT_EQ(Sjis(u8"文字列カット(&C)..."), watcher.Menu().texts[7]);
    }
    EXPECT_EQ(2, list_->GetSelection());
    EXPECT_EQ(Sjis(u8"》 ") + logs_.File("b.log"), StatusPart(0));
    EXPECT_NE(std::string::npos, WaitForBrowserLog({logs_.File("b.log")}).find(logs_.File("b.log"))) << BrowserLog();
}

TEST_F(MainWindowTest, KeyboardContextMenuOpensBesideTheSelectedRow) {
    StartThree();
    list_->Select(1);
    MenuWatcher watcher;
    SendMessageA(frame_->MainWindow(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list_->Control()), -1);
    ASSERT_TRUE(watcher.Menu().shown);
    RECT r;
    GetWindowRect(list_->Control(), &r);
    int height = static_cast<int>(SendMessageA(list_->Control(), LB_GETITEMHEIGHT, 0, 0));
    POINT expected = KeyboardMenuPosition(r, 0, 1, height);
    EXPECT_EQ(expected.x, watcher.Menu().rect.left);
    EXPECT_EQ(expected.y, watcher.Menu().rect.top);
}

TEST_F(MainWindowTest, IndexFileElsewhereMovesIntoTheDataFolderBesideAnyListThere) {
    auto startFrom = [this](const std::string& other, const std::string& name) {
        ASSERT_TRUE(WriteFileBytes(other, IndexLine(logs_.File("a.log"), "b.exe", name)));
        WriteProgramValue("Main", "Index", REG_SZ, other.c_str(), static_cast<DWORD>(other.size() + 1));
        StartProgram();
        EXPECT_EQ(1, list_->GetEntryCount());
    };
    startFrom(logs_.File("moved.kvd"), "moved");
    EXPECT_STREQ(indexPath_, frame_->Settings().GetIndex());
    EXPECT_NE(std::string::npos, ReadFileBytes(indexPath_).find("moved"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(logs_.File("moved.kvd").c_str()));
    Stop();

    // Kelvora.dat is there now: the next list moved in takes a free name and leaves it alone.
    const std::string kept = ReadFileBytes(indexPath_);
    const std::string second = std::string(indexPath_).replace(std::strlen(indexPath_) - 4, 4, "2.dat");
    DeleteFileA(second.c_str());
    startFrom(logs_.File("second.kvd"), "second");
    EXPECT_EQ(second, frame_->Settings().GetIndex());
    EXPECT_NE(std::string::npos, ReadFileBytes(second).find("second"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(logs_.File("second.kvd").c_str()));
    Stop();
    EXPECT_EQ(kept, ReadFileBytes(indexPath_));
    DeleteFileA(second.c_str());

    // A move that cannot be written leaves the list in its file, which stays the current one.
    {
        FailingIndexOps failing(WriteFault{"", -1, 0, false, true});
        DialogDriver driver;
        driver.ExpectPress(IDOK);
        startFrom(logs_.File("third.kvd"), "third");
        EXPECT_EQ(logs_.File("third.kvd"), frame_->Settings().GetIndex());
        EXPECT_EQ(1u, driver.Shown().size());
    }
    Stop();
    EXPECT_NE(std::string::npos, ReadFileBytes(logs_.File("third.kvd")).find("third"));
}

TEST_F(MainWindowTest, EmptyIndexSettingLoadsNothingAndWritesNothing) {
    PrepareThreeEntries();
    const std::string before = ReadFileBytes(indexPath_);
    WriteProgramValue("Main", "Index", REG_SZ, "", 1);
    StartProgram();
    EXPECT_EQ(0, list_->GetEntryCount());
    Stop();
    EXPECT_EQ(before, ReadFileBytes(indexPath_));
}

TEST_F(MainWindowTest, IndexFileInTheDataFolderStaysUnderItsName) {
    char folder[MAX_PATH];
    BuildDataFolder(GetModuleHandleA(nullptr), folder);
    std::string mine = std::string(folder) + "mine.kvd";
    ASSERT_TRUE(WriteFileBytes(mine, IndexLine(logs_.File("a.log"), "b.exe", "mine")));
    WriteProgramValue("Main", "Index", REG_SZ, mine.c_str(), static_cast<DWORD>(mine.size() + 1));
    StartProgram();
    EXPECT_EQ(mine, frame_->Settings().GetIndex());
    Stop();
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(mine.c_str()));
    DeleteFileA(mine.c_str());
}

TEST_F(MainWindowTest, SessionEndWritesTheListAndEverySetting) {
    StartThree();
    Command(IDM_BROWSER);  // changes SeenTime of row 0 in memory only
    frame_->Settings().SetTabStop(7);
    frame_->Settings().Cut().SetCutFile("C:\\cut.txt");
    std::string before = ReadFileBytes(indexPath_);
    EXPECT_TRUE(SendMessageA(frame_->MainWindow(), WM_QUERYENDSESSION, 0, 0));
    EXPECT_NE(before, ReadFileBytes(indexPath_));
    // The program may be ended without its destructor: Main, Extent and ListFont are written now.
    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(ReadProgramValue("Main", "TabStop", &type, &data));
    EXPECT_EQ(7u, *reinterpret_cast<const DWORD*>(data.data()));
    ASSERT_TRUE(ReadProgramValue("Extent", "CutFile", &type, &data));
    EXPECT_STREQ("C:\\cut.txt", data.c_str());
    EXPECT_TRUE(ReadProgramValue("ListFont", "LogFont", &type, &data));
}

// ---- writing the list: a failure at any step leaves the old file whole and is told ----

class ListWriteFaultTest : public MainWindowTest, public testing::WithParamInterface<WriteFault> {};

TEST_P(ListWriteFaultTest, LeavesTheOldFileWholeAndTellsTheUser) {
    StartThree();
    Command(IDM_BROWSER);  // a new SeenTime in memory, which only a write would keep
    const std::string before = ReadFileBytes(indexPath_);
    {
        FailingIndexOps failing(GetParam());
        DialogDriver driver;
        for (int i = 0; i < 3; ++i) driver.ExpectPress(IDOK);
        Key(WM_KEYDOWN, VK_F5);
        EXPECT_NE(0u, Row(0).SeenTime.dwHighDateTime);  // not read over by the old file
        EXPECT_TRUE(SendMessageA(frame_->MainWindow(), WM_QUERYENDSESSION, 0, 0));
        Stop();  // the program still ends
        ASSERT_EQ(3u, driver.Shown().size());
        for (const ShownBox& box : driver.Shown()) {
            EXPECT_EQ(Sjis(u8"リストの保存"), box.caption);
            EXPECT_EQ(Sjis(u8"目次テーブルファイルに書き込めませんでした（ファイルは前の内容のまま残っています）") +
                          "\r\n" + indexPath_,
                      box.text);
        }
    }
    EXPECT_EQ(before, ReadFileBytes(indexPath_));
    char folder[MAX_PATH];
    BuildDataFolder(GetModuleHandleA(nullptr), folder);
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((std::string(folder) + "KV*.tmp").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, find) << "left behind: " << found.cFileName;
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ListWriteFaultTest,
    testing::Values(WriteFault{"WriteFailsAtTheFirstByte", 0, ERROR_WRITE_FAULT, false, false},
                    WriteFault{"WriteFailsInTheMiddle", 50, ERROR_WRITE_FAULT, false, false},
                    WriteFault{"DiskFullOnTheTemporaryFile", 99, ERROR_DISK_FULL, false, false},
                    WriteFault{"FlushFails", -1, 0, true, false},
                    WriteFault{"RenameFails", -1, 0, false, true}),
    [](const testing::TestParamInfo<WriteFault>& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, TooltipsComeFromTheStringTable) {
    StartThree();
    NMTTDISPINFOA info = {};
    info.hdr.code = TTN_NEEDTEXTA;
    info.hdr.idFrom = IDM_CUTOPTION;
    SendMessageA(frame_->MainWindow(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(MAKEINTRESOURCEA(IDS_TIP_CUTOPTION), info.lpszText);
    NMTTDISPINFOA none = {};
    none.hdr.code = TTN_NEEDTEXTA;
    none.hdr.idFrom = IDM_CUTDONE;
    SendMessageA(frame_->MainWindow(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&none));
    EXPECT_EQ(nullptr, none.lpszText);
}

// ---- plain geometry ----

TEST(LayoutTest, StatusBarPartsFollowTheWidestCharacter) {
    int edges[4];
    StatusBarEdges(800, 14, edges);
    EXPECT_EQ(590, edges[0]);
    EXPECT_EQ(660, edges[1]);
    EXPECT_EQ(730, edges[2]);
    EXPECT_EQ(800, edges[3]);
}

TEST(LayoutTest, ListFillsTheSpaceBetweenToolbarAndStatusBar) {
    RECT r = ListRectangle(640, 480, 28, 20, 1);
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(30, r.top);
    EXPECT_EQ(640, r.right);
    EXPECT_EQ(30 + 480 - 28 - 20 - 4, r.bottom);
}

TEST(LayoutTest, KeyboardContextMenuOpensAtTheSelectedRow) {
    RECT list = {100, 200, 500, 600};
    POINT p = KeyboardMenuPosition(list, 0, 3, 16);
    EXPECT_EQ(150, p.x);
    EXPECT_EQ(256, p.y);
    p = KeyboardMenuPosition(list, 5, 8, 16);  // scrolled: rows count from the top visible one
    EXPECT_EQ(256, p.y);
    p = KeyboardMenuPosition(list, 0, -1, 16);  // nothing selected: above the list
    EXPECT_EQ(192, p.y);
}

TEST(ProgramArgumentTest, QuotesANameWithABlankOnce) {
    const struct {
        const char* name;
        const char* argument;
    } cases[] = {{"C:\\logs\\app.log", "C:\\logs\\app.log"},
                 {"C:\\My Logs\\app.log", "\"C:\\My Logs\\app.log\""},
                 {"C:\\logs\\a\tb.log", "\"C:\\logs\\a\tb.log\""},
                 {"\"C:\\My Logs\\app.log\"", "\"C:\\My Logs\\app.log\""},
                 {"\x83\x5C \x83\x7C.log", "\"\x83\x5C \x83\x7C.log\""},  // ソ ポ.log
                 {"", ""}};
    for (const auto& c : cases) EXPECT_EQ(c.argument, list_commands::ProgramArgument(c.name)) << c.name;
}

TEST(StatusTextTest, MissingFileShowsStars) {
    LogEntry entry;
    lstrcpyA(entry.LogFileName, "D:\\log\\ap#$%.log");
    StatusTexts texts = FormatStatusTexts(entry, DateMacroTexts{"03", "12", "05"});
    EXPECT_EQ(Sjis(u8"》 ") + "D:\\log\\ap031205.log", texts.file);
    EXPECT_EQ("         0", texts.size);
    EXPECT_EQ(" ****/**/**", texts.date);
    EXPECT_EQ("   **:**:**", texts.time);
}

}  // namespace

// ---- opening another index table file (command 11) ----

namespace {

// Types a name into a file-open dialog and confirms it.
DialogDriver::Answer ChooseFile(const std::string& path) {
    return [path](HWND dialog) {
        // The file name box of the Explorer-style dialog is cmb13 (1148), on older ones edt1 (1152).
        HWND name = GetDlgItem(dialog, 1148);
        if (!name) name = GetDlgItem(dialog, 1152);
        SetWindowTextA(name, path.c_str());
        DialogDriver::Press(dialog, IDOK);
    };
}

}  // namespace

TEST_F(MainWindowTest, OpenCommandLoadsAnExistingIndexFile) {
    StartThree();
    Command(IDM_BROWSER);  // a new SeenTime for a.log, in memory only
    std::string other = logs_.File("other.dat");
    ASSERT_TRUE(WriteFileBytes(other, IndexLine(logs_.File("a.log"), "b.exe", "other")));
    DialogDriver driver;
    driver.Expect(ChooseFile(other));
    Command(IDM_OPENLIST);
    ASSERT_EQ(1u, driver.Shown().size());
    EXPECT_EQ(Sjis(u8"ﾘｽﾄ ﾃﾞｰﾀ指定"), driver.Shown()[0].caption);
    EXPECT_EQ(other, frame_->Settings().GetIndex());
    ASSERT_EQ(1, list_->GetEntryCount());
    EXPECT_STREQ("other", Row(0).ListName);
    EXPECT_EQ(0, list_->GetSelection());
    EXPECT_EQ(Sjis(u8"》 ") + logs_.File("a.log"), StatusPart(0));
    // The list that was left reached its file first, with the new SeenTime.
    const std::string left = ReadFileBytes(indexPath_);
    const size_t line = left.find(logs_.File("a.log"));
    ASSERT_NE(std::string::npos, line);
    EXPECT_NE(left.find(",0,0\r\n", line), left.find("\r\n", line) - 4);
}

TEST_F(MainWindowTest, OpenCommandAsksBeforeCreatingANewIndexFileAndMakesItCurrent) {
    StartThree();
    std::string created = logs_.File("new.kvd");
    DialogDriver driver;
    driver.Expect(ChooseFile(created));
    driver.ExpectPress(IDCANCEL);  // 取消 at the question changes nothing
    Command(IDM_OPENLIST);
    ASSERT_EQ(2u, driver.Shown().size());
    EXPECT_EQ(Sjis(u8"ﾘｽﾄ ﾃﾞｰﾀ指定"), driver.Shown()[1].caption);
    EXPECT_EQ(Sjis(u8"目次テーブルファイルがありません　新規作成ですか？"), driver.Shown()[1].text);
    EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION), driver.Shown()[1].messageBoxStyle);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(created.c_str()));
    EXPECT_STREQ(indexPath_, frame_->Settings().GetIndex());
    EXPECT_EQ(3, list_->GetEntryCount());

    driver.Expect(ChooseFile(created));
    driver.ExpectPress(IDOK);
    Command(IDM_OPENLIST);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(created.c_str()));
    EXPECT_EQ(created, frame_->Settings().GetIndex());
    EXPECT_EQ(0, list_->GetEntryCount());
    EXPECT_TRUE(GetMenuState(GetMenu(frame_->MainWindow()), IDM_DELETELIST, MF_BYCOMMAND) & MF_GRAYED);
}


TEST_F(MainWindowTest, FailedLoadIsToldWithTheFileAndChangesWaitUntilALoadSucceeds) {
    PrepareThreeEntries();
    const std::string before = ReadFileBytes(indexPath_);
    HANDLE lock = CreateFileA(indexPath_, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    DialogDriver driver;
    driver.ExpectPress(IDOK);
    StartProgram();
    ASSERT_EQ(1u, driver.Shown().size());
    EXPECT_EQ(Sjis(u8"リストを開く"), driver.Shown()[0].caption);
    EXPECT_EQ(Sjis(u8"ファイル読み込み中にエラーが発生しました") + "\r\n" + indexPath_, driver.Shown()[0].text);
    EXPECT_GT(frame_->Settings().GetColumnStopCount(), 0);  // rows drawn later still have their stops
    // Adding is greyed too, and the command does nothing when sent: it could not be written back.
    EXPECT_TRUE(GetMenuState(GetMenu(frame_->MainWindow()), IDM_ADDLIST, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(SendMessageA(frame_->Toolbar(), TB_ISBUTTONENABLED, IDM_ADDLIST, 0));
    Command(IDM_ADDLIST);
    EXPECT_EQ(1u, driver.Shown().size());
    // F5 tries the load again.
    CloseHandle(lock);
    Key(WM_KEYDOWN, VK_F5);
    EXPECT_EQ(3, list_->GetEntryCount());
    EXPECT_FALSE(GetMenuState(GetMenu(frame_->MainWindow()), IDM_ADDLIST, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(GetMenu(frame_->MainWindow()), IDM_EDITLIST, MF_BYCOMMAND) & MF_GRAYED);

    // Closing after a failed load leaves the entries that could not be read where they are.
    Stop();
    ASSERT_TRUE(WriteFileBytes(indexPath_, before));
    lock = CreateFileA(indexPath_, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    driver.ExpectPress(IDOK);
    StartProgram();
    CloseHandle(lock);
    Stop();
    EXPECT_EQ(before, ReadFileBytes(indexPath_));
}
