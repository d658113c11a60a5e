// The main window over a real index file: its menu bar, accelerators, toolbar and context menu, the
// keys of the list, the single window and its rectangle, rows and the status bar, launching and
// sorting, the menus of a scrolled list, where the index file lives and when it moves, what a
// failed write or load does, and which commands an empty list greys.
#include <functional>
#include <tuple>

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

// The commands the main window gets, recorded and swallowed, so that none of them runs.
std::vector<UINT> commands;
WNDPROC windowProc = nullptr;

LRESULT CALLBACK RecordCommands(HWND w, UINT m, WPARAM wParam, LPARAM lParam) {
    if (m != WM_COMMAND || LOWORD(wParam) == IDC_LIST) return CallWindowProcA(windowProc, w, m, wParam, lParam);
    commands.push_back(LOWORD(wParam));
    return 0;
}

// A menu's items as "id text", a separator as "-", a submenu as its text followed by its items.
std::vector<std::string> Items(HMENU menu) {
    std::vector<std::string> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[128] = "";
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        const UINT id = GetMenuItemID(menu, i);
        items.push_back(GetSubMenu(menu, i) ? text : id ? std::to_string(id) + " " + text : "-");
        for (const std::string& item : Items(GetSubMenu(menu, i))) items.push_back(item);
    }
    return items;
}

// The popup menu shown while open runs, as it was shown on this thread: where, and its items. It is
// closed without a choice; a menu that never shows ends the wait in 6 s.
struct ShownMenu {
    RECT rect = {};
    std::vector<std::string> items;
};
ShownMenu* watching = nullptr;
int ticks = 0;

void CALLBACK MenuTick(HWND, UINT, UINT_PTR, DWORD) {
    HWND window = FindWindowA("#32768", nullptr);
    const bool shown = window && IsWindowVisible(window);
    if (!watching || (!shown && ++ticks < 200)) return;
    HMENU menu = shown ? reinterpret_cast<HMENU>(SendMessageA(window, 0x01E1, 0, 0)) : nullptr;  // MN_GETHMENU
    GetWindowRect(window, &watching->rect);
    watching->items = Items(menu);
    watching = nullptr;
    EndMenu();
}

ShownMenu WatchMenu(const std::function<void()>& open) {
    ShownMenu menu;
    watching = &menu;
    ticks = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 30, MenuTick);
    open();
    KillTimer(nullptr, timer);
    watching = nullptr;
    EXPECT_FALSE(menu.items.empty()) << "no menu";
    return menu;
}

class MainWindowTest : public FrameTest {
protected:
    // Three logs: alpha (written, never opened; its name holds a blank and the date macros, which
    // stand for 26, 03 and 04), beta (opened after it was written) and a missing one.
    void StartThree(bool start = true) {
        WriteLog(logs_.File("a 260304.log"), LocalFileTime(2026, 3, 4), "alpha\r\n");
        WriteLog(logs_.File("b.log"), LocalFileTime(2026, 1, 2), "beta beta\r\n");
        WriteProgramDword("Main", "MacroAuto", 0);
        const std::pair<const char*, const char*> macros[] = {
            {"MacroYear", "26"}, {"MacroMon", "03"}, {"MacroDay", "04"}};
        for (const auto& [name, text] : macros) WriteProgramText("Main", name, text);
        const std::string beta = IndexLine(logs_.File("b.log"), browser_, beta_, LocalFileTime(2026, 2, 1));
        ASSERT_TRUE(WriteFileBytes(indexPath_, beta + IndexLine(logs_.File("missing.log"), browser_, none_) +
                                                   IndexLine(logs_.File("a #$%.log"), browser_, alpha_)));
        if (start) StartProgram();
    }
    // The list's context menu, opened from the keyboard.
    ShownMenu ContextMenu() {
        const auto list = reinterpret_cast<WPARAM>(list_->Control());
        return WatchMenu([&] { SendMessageA(Main().Window(), WM_CONTEXTMENU, list, -1); });
    }
    std::string alpha_ = Sjis("アルファ|ポ"), beta_ = Sjis("ベータ"), none_ = Sjis("ない");
    std::string unread_ = Sjis("未") + "\t", read_ = Sjis("　") + "\t", file_ = Sjis("》 ");
};

TEST_F(MainWindowTest, MenuBarAcceleratorsToolbarAndContextMenuAreAsListedAndTheListKeysSendTheirCommands) {
    StartThree();
    HWND w = Main().Window(), toolbar = Main().Toolbar();
    // The single instance is found by the class; files may be dropped on the window.
    EXPECT_TRUE(w == FindWindowA("Kelvora", nullptr) && (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_ACCEPTFILES));
    // clang-format off
    EXPECT_EQ(Sjis({"ファイル(&F)", "10 終了(&X)", "編集(&E)", "12 リストの追加(&A)...",
                    "13 リストの変更(&E)...", "14 リストの削除(&D)", "-", "15 文字列カット(&C)",
                    "起動(&B)", "17 ブラウザ起動(&B)", "-", "18 エディタ起動(&E)", "オプション(&O)",
                    "24 日付マクロ設定(&M)...", "-", "22 動作環境設定(&O)...",
                    "23 文字列カット設定(&C)...", "ヘルプ(&H)", "25 ヘルプ(&H)", "-",
                    "26 バージョン情報(&A)..."}),
              Items(GetMenu(w)));
    // clang-format on
    // Character entries match the typed character; Ctrl+B and Ctrl+E arrive as the characters 2 and 5.
    ACCEL keys[32];
    const int count = CopyAcceleratorTableA(LoadAcceleratorsA(GetModuleHandleA(nullptr), "ACCFRAME"), keys, 32);
    std::vector<std::tuple<int, int, int>> table;
    for (int i = 0; i < count; ++i) {
        table.emplace_back(keys[i].fVirt & (FVIRTKEY | FALT | FCONTROL | FSHIFT), keys[i].key, keys[i].cmd);
    }
    // clang-format off
    EXPECT_EQ((std::vector<std::tuple<int, int, int>>{
                  {FALT, 'a', 12}, {FALT, 'A', 12}, {FALT, 'e', 13}, {FALT, 'E', 13}, {FALT, 'd', 14},
                  {FALT, 'D', 14}, {FALT, 'c', 15}, {FALT, 'C', 15}, {0, 2, 17}, {0, 2, 17}, {0, 5, 18},
                  {0, 5, 18}, {FVIRTKEY, VK_INSERT, 12}, {FVIRTKEY, VK_DELETE, 14}, {FVIRTKEY, VK_F5, 28}}),
              table);
    // clang-format on
    std::vector<std::string> buttons;  // "command image tooltip"
    for (int i = 0; i < SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0); ++i) {
        TBBUTTON b = {};
        SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b));
        NMTTDISPINFOA tip = {};
        tip.hdr = {toolbar, static_cast<UINT_PTR>(b.idCommand), static_cast<UINT>(TTN_NEEDTEXTA)};
        SendMessageA(w, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
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

    // clang-format off
    EXPECT_EQ(Sjis({"17 開く(&O)", "18 編集(&E)", "-", "12 リストの追加(&A)...",
                    "13 リストの変更(&C)...", "14 リストの削除(&D)", "-", "15 文字列カット(&C)..."}),
              ContextMenu().items);
    // clang-format on

    // The loop step translates the keys for the list; Enter and a double click open the log.
    commands.clear();
    windowProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordCommands)));
    for (WPARAM key : {VK_F5, VK_RETURN}) {
        MSG msg = {list_->Control(), WM_KEYDOWN, key, 0, 0, {}};
        frame_->Dispatch(msg);
    }
    SendMessageA(list_->Control(), WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 3));
    SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(windowProc));
    EXPECT_EQ((std::vector<UINT>{IDM_REFRESH, IDM_BROWSER, IDM_BROWSER}), commands);
}

TEST_F(MainWindowTest, OneWindowThatKeepsItsRectangleButNotWhileMinimised) {
    StartProgram();  // without an index file: an empty one is made, and what needs an entry is greyed
    EXPECT_TRUE(CheckFile(indexPath_) && list_->GetEntryCount() == 0);
    EXPECT_EQ((std::vector<UINT>{2, 13, 113, 14, 114, 15, 115, 17, 117, 18, 118, 119, 120, 121}), Greyed());
    HWND w = Main().Window();
    ShowWindow(w, SW_SHOWNORMAL);
    MoveWindow(w, 40, 50, 600, 400, TRUE);
    ShowWindow(w, SW_MINIMIZE);
    PumpMessages(100);
    int rect[4];
    frame_->Settings().GetWindowRect(rect);
    EXPECT_EQ((std::vector<int>{40, 50, 600, 400}), std::vector<int>(rect, rect + 4));
    EXPECT_FALSE(KelvoraFrame(GetModuleHandleA(nullptr)).Created());  // a second start brings the first back
    EXPECT_TRUE(!IsIconic(w) && !FindWindowExA(nullptr, w, "Kelvora", nullptr));
    PostMessageA(w, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_EQ(0, frame_->Run(SW_SHOWNORMAL));
    frame_.reset();
    EXPECT_EQ(1, Environ(GetModuleHandleA(nullptr)).GetXpUpdate());  // the first-run clean-up is done for good
}

TEST_F(MainWindowTest, RowsAndStatusBarFollowTheSelectionAndTheCommandsActOnTheSelectedRow) {
    StartThree(false);
    // Its writer holds alpha's log open, as logging programs do: it still shows and opens.
    OwnedFile writer(CreateFileA(logs_.File("a 260304.log").c_str(), FILE_APPEND_DATA,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    StartProgram();
    const std::string alphaText = "03/04\t" + Sjis("アルファ\tポ"), alphaLog = logs_.File("a 260304.log");
    EXPECT_EQ((std::vector<std::string>{unread_ + alphaText, read_ + "**/**\t" + none_, read_ + "01/02\t" + beta_}),
              (std::vector<std::string>{Row(0).DisplayText, Row(1).DisplayText, Row(2).DisplayText}));
    EXPECT_EQ((std::vector<std::string>{file_ + alphaLog, "         7", " 2026/03/04", "  12:00:00"}), Status());
    // Size, date and time take equal parts at the right edge; the file name has the rest.
    int e[4];
    SendMessageA(Main().StatusBar(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(e));
    RECT client;
    GetClientRect(Main().Window(), &client);
    EXPECT_EQ((std::vector<int>{e[1] - e[0], e[1] - e[0], client.right}),
              (std::vector<int>{e[2] - e[1], e[3] - e[2], e[3]}));

    // The browser gets the expanded name as one argument; the row is read now.
    Command(IDM_BROWSER);
    EXPECT_NE(std::string::npos, Started().find("\"" + alphaLog + "\"\r\n"));
    EXPECT_EQ(read_ + alphaText, Row(0).DisplayText);
    SendMessageA(list_->Control(), WM_KEYDOWN, VK_DOWN, 0);  // to the missing log
    EXPECT_EQ((std::vector<std::string>{file_ + logs_.File("missing.log"), "         0", " ****/**/**", "   **:**:**"}),
              Status());
    DialogDriver driver;
    driver.ExpectPress(IDOK);
    Command(IDM_BROWSER);
    EXPECT_EQ(Sjis("ログファイルは存在していません"), driver.Shown().back().text);

    // Sorting keeps the selected row number and stores the order.
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
    menu = ContextMenu();
    RECT r;
    GetWindowRect(list, &r);
    EXPECT_EQ((std::vector<LONG>{(r.left + r.right) / 2 - 150, r.top + 2 * RowHeight() + RowHeight() / 2}),
              (std::vector<LONG>{menu.rect.left, menu.rect.top}));
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
    const std::string before = ReadFileBytes(dat);
    WriteProgramText("Main", "Index", "");
    StartProgram();  // an empty Index loads nothing and writes nothing
    EXPECT_EQ(0, list_->GetEntryCount());
    Stop();
    EXPECT_EQ(before, ReadFileBytes(dat));
}

TEST_F(MainWindowTest, FailedLoadsAndWritesAreToldButNotAtASessionEndAndLeaveTheFileWhole) {
    StartThree(false);
    std::string before;
    DialogDriver driver;
    for (bool retry : {false, true}) {
        OwnedFile lock(CreateFileA(indexPath_, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        driver.ExpectPress(IDOK);
        StartProgram();  // told as any failed load is
        // Adding is greyed too, and the command does nothing when sent: it could not be written back.
        EXPECT_EQ((std::vector<UINT>{2, 12, 112, 13, 113, 14, 114, 15, 115, 17, 117, 18, 118, 119, 120, 121}),
                  Greyed());
        Command(IDM_ADDLIST);
        lock.Reset();
        if (!retry) Stop();  // without a load that succeeded the file stays as it is
    }
    Command(IDM_REFRESH);  // tries the load again
    EXPECT_EQ(3, list_->GetEntryCount());
    EXPECT_TRUE(Greyed().empty());

    before = IndexBytes();
    list_->DeleteEntry(1);  // a change that only a write would keep
    FailingReplace failing(true);
    for (int i = 0; i < 2; ++i) driver.ExpectPress(IDOK);
    Command(IDM_REFRESH);
    EXPECT_EQ(2, list_->GetEntryCount());                                  // not read over by the old file
    EXPECT_TRUE(SendMessageA(Main().Window(), WM_QUERYENDSESSION, 0, 0));  // without a box
    Stop();                                                                // the program still ends
    ASSERT_EQ(4u, driver.Shown().size());
    const std::string failed = Sjis(
        "目次テーブルファイルに書き込めませんでした"
        "（ファイルは前の内容のまま残っています）");
    for (size_t i = 2; i < 4; ++i) EXPECT_EQ(failed + "\r\n" + indexPath_, driver.Shown()[i].text);
    EXPECT_EQ(before, IndexBytes());
}

}  // namespace
