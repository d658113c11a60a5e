// The main window over a real index file: its menu bar, toolbar and context menu, the keys, the
// single window and its rectangle, rows and the status bar, sorting, the menus of a scrolled list,
// the data folder and where the index file lives, and what failed loads and writes do.
#include <shlobj.h>

#include <filesystem>

#include "frame_fixture.h"
#include "lib/core/owned.h"
#include "lib/file_reader.h"
#include "loglist/index_file.h"

using namespace testing_support;

namespace {

// Makes putting the new index file in place of the old one fail while it lives, when it is on.
struct FailingReplace : IndexFileOps {
    explicit FailingReplace(bool on) : on(on) {}
    bool Replace(const char* from, const char* to) override { return !on && IndexFileOps::Replace(from, to); }
    bool on;
    Seam<IndexFileOps*>::Override used{indexFileOpsSeam, this};
};

class MainWindowTest : public FrameTest {
protected:
    // Three logs: alpha (written, never opened, and held open by its writer, as logging programs
    // do; its name holds a blank and the date macros, which stand for 26, 03 and 04), beta (opened
    // after it was written) and a missing one.
    void StartThree(bool start = true) {
        WriteLog(logs_.File("a 260304.log"), LocalFileTime(2026, 3, 4), "alpha\r\n");
        WriteLog(logs_.File("b.log"), LocalFileTime(2026, 1, 2), "beta beta\r\n");
        writer_.Reset(CreateFileA(logs_.File("a 260304.log").c_str(), FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
        WriteMacroTexts("26", "03", "04");
        const std::string beta = IndexLine(logs_.File("b.log"), browser_, beta_, LocalFileTime(2026, 2, 1));
        ASSERT_TRUE(WriteFileBytes(indexPath_, beta + IndexLine(logs_.File("missing.log"), browser_, none_) +
                                                   IndexLine(logs_.File("a #$%.log"), browser_, alpha_)));
        if (start) StartProgram();
    }
    // Starts over the three entries' index file while it cannot be read (until lock_ is reset): a
    // start tells so.
    void StartLocked() {
        StartThree(false);
        lock_.Reset(CreateFileA(indexPath_, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        loadFailed_.ExpectPress(IDOK);
        StartProgram();
    }
    std::string alpha_ = Sjis("アルファ|ポ"), beta_ = Sjis("ベータ"), none_ = Sjis("ない");
    OwnedFile writer_, lock_;
    DialogDriver loadFailed_;
};

TEST_F(MainWindowTest, MenuBarListsEachCommandUnderItsPopup) {
    StartThree();
    // clang-format off
    EXPECT_EQ(Sjis({"ファイル(&F)", "10 終了(&X)", "編集(&E)", "12 リストの追加(&A)...",
                    "13 リストの変更(&E)...", "14 リストの削除(&D)", "-", "15 文字列カット(&C)",
                    "起動(&B)", "17 ブラウザ起動(&B)", "-", "18 エディタ起動(&E)", "オプション(&O)",
                    "24 日付マクロ設定(&M)...", "-", "22 動作環境設定(&O)...",
                    "23 文字列カット設定(&C)...", "ヘルプ(&H)", "25 ヘルプ(&H)", "-",
                    "26 バージョン情報(&A)..."}),
              MenuItems(GetMenu(Main().Window())));
    // clang-format on
}

TEST_F(MainWindowTest, ToolbarShowsEachButtonsImageAndTooltipInOrder) {
    StartThree();
    HWND toolbar = Main().Toolbar();
    std::vector<std::string> buttons;  // "command image tooltip"
    for (int i = 0; i < SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0); ++i) {
        TBBUTTON b = {};
        SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b));
        NMTTDISPINFOA tip = {};
        tip.hdr = {toolbar, static_cast<UINT_PTR>(b.idCommand), static_cast<UINT>(TTN_NEEDTEXTA)};
        SendMessageA(Main().Window(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
        char text[128] = "";
        LoadStringA(tip.hinst, static_cast<UINT>(reinterpret_cast<UINT_PTR>(tip.lpszText)), text, sizeof text);
        const std::string button = std::to_string(b.idCommand) + " " + std::to_string(b.iBitmap) + " " + text;
        buttons.push_back(b.fsStyle & TBSTYLE_SEP ? "-" : button);
    }
    // clang-format off
    EXPECT_EQ(Sjis({"-", "12 0 リストの追加", "13 1 リストの変更", "14 2 リストの削除", "-",
                    "15 3 文字列ｶｯﾄ", "-", "17 4 ブラウザ起動", "18 5 エディタ起動", "-",
                    "19 6 名前で並び替え", "20 7 日付昇順で並び替え",
                    "21 8 日付降順で並び替え", "-", "24 9 日付マクロの設定",
                    "22 10 動作環境の設定", "23 11 文字列行カット手順の設定", "-",
                    "10 12 アプリケーションの終了", "-", "25 13 ヘルプの表示"}),
              buttons);
    // clang-format on
}

TEST_F(MainWindowTest, KeysAndADoubleClickOnTheListSendTheirCommands) {
    StartThree();
    const LPARAM alt = 1 << 29;  // the Alt key is down
    // clang-format off
    const struct { UINT message; WPARAM key; LPARAM flags; UINT command; } inputs[] = {
        {WM_SYSKEYDOWN, 'A', alt, IDM_ADDLIST}, {WM_SYSKEYDOWN, 'E', alt, IDM_EDITLIST},
        {WM_SYSKEYDOWN, 'D', alt, IDM_DELETELIST}, {WM_SYSKEYDOWN, 'C', alt, IDM_CUT},
        {WM_CHAR, 2, 0, IDM_BROWSER}, {WM_CHAR, 5, 0, IDM_EDITOR},  // Ctrl+B and Ctrl+E, as typed characters
        {WM_KEYDOWN, VK_INSERT, 0, IDM_ADDLIST}, {WM_KEYDOWN, VK_DELETE, 0, IDM_DELETELIST},
        {WM_KEYDOWN, VK_F5, 0, IDM_REFRESH}, {WM_KEYDOWN, VK_RETURN, 0, IDM_BROWSER},
        {WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 3), IDM_BROWSER}};
    // clang-format on
    for (const auto& in : inputs) {
        CommandRecorder recorder(Main().Window());
        TypeKey(in.message, in.key, in.flags);
        EXPECT_EQ(std::vector<UINT>{in.command}, recorder.Commands()) << in.message << " " << in.key;
    }
}

TEST_F(MainWindowTest, TheRectangleIsKeptButNotWhileMinimised) {
    StartProgram();
    MoveWindow(Main().Window(), 40, 50, 600, 400, TRUE);
    ShowWindow(Main().Window(), SW_MINIMIZE);
    PumpMessages(100);
    int rect[4];
    frame_->Settings().GetWindowRect(rect);
    EXPECT_EQ((std::vector<int>{40, 50, 600, 400}), std::vector<int>(rect, rect + 4));
}

TEST_F(MainWindowTest, ASecondStartBringsTheFirstWindowBackAndEnds) {
    StartProgram();
    HWND w = Main().Window();
    ShowWindow(w, SW_MINIMIZE);
    EXPECT_FALSE(KelvoraFrame(GetModuleHandleA(nullptr)).Created());
    EXPECT_TRUE(!IsIconic(w) && !FindWindowExA(nullptr, w, "Kelvora", nullptr));
}

TEST_F(MainWindowTest, StatusBarGivesSizeDateAndTimeEqualPartsAtTheRightEdge) {
    StartThree();
    int e[4];
    SendMessageA(Main().StatusBar(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(e));
    RECT client;
    GetClientRect(Main().Window(), &client);
    EXPECT_EQ((std::vector<int>{e[1] - e[0], e[1] - e[0], client.right}),
              (std::vector<int>{e[2] - e[1], e[3] - e[2], e[3]}));
}

TEST_F(MainWindowTest, SortingKeepsTheSelectedRowNumberAndStoresTheOrder) {
    StartThree();
    list_->Select(2);
    const std::pair<int, std::vector<std::string>> sorts[] = {{IDM_SORTNEW, {alpha_, beta_, none_}},
                                                              {IDM_SORTOLD, {none_, beta_, alpha_}},
                                                              {IDM_SORTNAME, {alpha_, none_, beta_}}};
    for (const auto& [command, names] : sorts) {
        Command(command);
        EXPECT_EQ(std::make_pair(names, 2), std::make_pair(Names(), list_->GetSelection()));
        EXPECT_EQ(command - IDM_SORTNAME, Environ(GetModuleHandleA(nullptr)).GetSortList());
    }
}

TEST_F(MainWindowTest, MenusOfAScrolledListGoToTheRowInView) {
    std::string index;
    for (int i = 10; i < 70; ++i) index += IndexLine(logs_.File("a.log"), browser_, "row" + std::to_string(i));
    Start(index);
    HWND list = list_->Control();
    MoveWindow(Main().Window(), 0, 0, 500, 300, TRUE);
    SendMessageA(list, LB_SETTOPINDEX, 10, 0);
    // A right click on the third row in view selects it, and its menu opens there.
    POINT at = {10, 2 * RowHeight() + 1};
    ShownMenu menu = WatchMenu([&] { SendMessageA(list, WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y)); });
    EXPECT_EQ(12, list_->GetSelection());
    ClientToScreen(list, &at);
    EXPECT_EQ((std::vector<LONG>{at.x, at.y}), (std::vector<LONG>{menu.rect.left, menu.rect.top}));
    // From the keyboard it opens 150 pixels left of the list's centre, at the middle of that row.
    SendMessageA(list, LB_SETTOPINDEX, 10, 0);
    menu = WatchMenu([&] { SendMessageA(Main().Window(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1); });
    RECT r;
    GetWindowRect(list, &r);
    EXPECT_EQ((std::vector<LONG>{(r.left + r.right) / 2 - 150, r.top + 2 * RowHeight() + RowHeight() / 2}),
              (std::vector<LONG>{menu.rect.left, menu.rect.top}));
}

TEST_F(MainWindowTest, AFreshProfileGetsTheDataFolderWithAnEmptyIndexFileInIt) {
    char appData[MAX_PATH];
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
    std::error_code ignored;
    std::filesystem::remove_all(std::string(appData) + "\\Brisnel", ignored);
    ASSERT_FALSE(CheckFile(indexPath_));
    StartProgram();
    EXPECT_TRUE(CheckFile(indexPath_) && ReadFileBytes(indexPath_).empty());
}

TEST_F(MainWindowTest, IndexFileElsewhereMovesIntoTheDataFolderUnlessItCannot) {
    const std::string dat = indexPath_, folder = dat.substr(0, dat.rfind('\\') + 1);
    const std::string mine = folder + "mine.kvd", dat2 = folder + "Kelvora2.dat";
    DeleteFileA(dat2.c_str());
    // The index file, and where it is after a start; a missing one is made empty where it is named.
    const std::pair<std::string, std::string> cases[] = {
        {logs_.File("moved.kvd"), dat},
        {logs_.File("second.kvd"), dat2},                    // Kelvora.dat is taken now: a free name
        {mine, mine},                                        // in the data folder under any name: it stays
        {logs_.File("stays.kvd"), logs_.File("stays.kvd")},  // the move cannot be written
        {logs_.File("missing.kvd"), logs_.File("missing.kvd")}};
    for (const auto& [from, to] : cases) {
        SCOPED_TRACE(from);
        const bool exists = from != logs_.File("missing.kvd");
        ASSERT_TRUE(!exists || WriteFileBytes(from, IndexLine(logs_.File("a.log"), "b.exe", from)));
        WriteProgramText("Main", "Index", from);
        const std::string kept = ReadFileBytes(dat);
        {
            const bool fails = from == to && from != mine && exists;
            FailingReplace failing(fails);
            DialogDriver driver;
            if (fails) driver.ExpectPress(IDOK);
            StartProgram();
        }
        // The registry names the list's file before the old one goes: a program ended now loses nothing.
        EXPECT_EQ(to, frame_->Settings().GetIndex());
        EXPECT_EQ(to, ProgramText("Main", "Index"));
        EXPECT_EQ(to == from, CheckFile(from.c_str()) != 0);
        Stop();
        EXPECT_EQ(exists, ReadFileBytes(to).find(from) != std::string::npos);
        EXPECT_EQ(to == dat ? ReadFileBytes(dat) : kept, ReadFileBytes(dat));
    }
    for (const std::string& made : {mine, dat2}) DeleteFileA(made.c_str());
}

TEST_F(MainWindowTest, AnEmptyIndexLoadsNothingAndWritesNothing) {
    ASSERT_TRUE(WriteFileBytes(indexPath_, "a,b,c\r\n"));
    WriteProgramText("Main", "Index", "");
    StartProgram();
    EXPECT_EQ(0, list_->GetEntryCount());
    Stop();
    EXPECT_EQ("a,b,c\r\n", IndexBytes());
}

TEST_F(MainWindowTest, AFailedLoadGreysAddingToo) {
    StartLocked();
    EXPECT_EQ((std::vector<UINT>{2, 12, 112, 13, 113, 14, 114, 15, 115, 17, 117, 18, 118, 119, 120, 121}), Greyed());
}

TEST_F(MainWindowTest, RefreshReadsAListThatFailedToLoad) {
    StartLocked();
    lock_.Reset();
    Command(IDM_REFRESH);
    EXPECT_EQ(3, list_->GetEntryCount());
    EXPECT_TRUE(Greyed().empty());
}

TEST_F(MainWindowTest, AFailedWriteIsToldWithTheFileAndKeepsTheRowsAndTheFile) {
    StartThree();
    const std::string before = IndexBytes();
    list_->DeleteEntry(1);  // a change that only a write would keep
    FailingReplace failing(true);
    DialogDriver driver;
    driver.ExpectPress(IDOK);
    Command(IDM_REFRESH);
    EXPECT_EQ(
        Sjis("リストの保存|目次テーブルファイルに書き込めませんでした（ファイルは前の内容のまま残っています）\r\n") +
            indexPath_,
        driver.Box());
    EXPECT_EQ(2, list_->GetEntryCount());  // not read over by the old file
    EXPECT_EQ(before, IndexBytes());
}

TEST_F(MainWindowTest, ASessionEndShowsNoBoxEvenWhenTheWriteFails) {
    StartThree();
    FailingReplace failing(true);
    DialogDriver driver;  // a box fails the test
    EXPECT_TRUE(SendMessageA(Main().Window(), WM_QUERYENDSESSION, 0, 0));
    EXPECT_TRUE(driver.Shown().empty());
}

}  // namespace
