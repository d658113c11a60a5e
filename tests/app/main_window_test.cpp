// The main window over a real index file: its menu bar, accelerators, toolbar and context menu and
// the commands each sends, the single window and its rectangle, rows and the status bar, launching,
// sorting, refreshing and deleting, the menus of a scrolled list, where the index file lives, what a
// failed write or load does, what a session end writes, and which commands an empty list greys.
#include "app/main_window.h"

#include <cstring>
#include <tuple>

#include "frame_fixture.h"
#include "lib/file_reader.h"
#include "lib/owned.h"
#include "loglist/index_file.h"

using namespace testing_support;

namespace {

// Makes one step of writing the index file fail while it lives: the write after 0, 50 or 99 percent
// of the bytes (the last one on a full disk), the flush, or putting the new file in place; any
// other step: nothing fails.
class FailingIndexOps : public IndexFileOps {
public:
    explicit FailingIndexOps(int step) : step_(step), previous_(SetIndexFileOps(this)) {}
    ~FailingIndexOps() override { SetIndexFileOps(previous_); }
    bool Write(HANDLE file, const void* data, DWORD size) override {
        if (step_ > 2) return IndexFileOps::Write(file, data, size);
        IndexFileOps::Write(file, data, static_cast<DWORD>(size * ULONGLONG{step_ == 0 ? 0u : step_ == 1 ? 50u : 99u} / 100));
        SetLastError(step_ == 2 ? ERROR_DISK_FULL : ERROR_WRITE_FAULT);
        return false;
    }
    bool Flush(HANDLE file) override { return step_ != 3 && IndexFileOps::Flush(file); }
    bool Replace(const char* from, const char* to) override { return step_ != 4 && IndexFileOps::Replace(from, to); }

private:
    int step_;
    IndexFileOps* previous_;
};

// The commands the main window gets, recorded and swallowed, so that none of them runs.
std::vector<UINT> commands;
WNDPROC windowProc = nullptr;

LRESULT CALLBACK RecordCommands(HWND w, UINT m, WPARAM wParam, LPARAM lParam) {
    if (m != WM_COMMAND || LOWORD(wParam) == IDC_LIST) return CallWindowProcA(windowProc, w, m, wParam, lParam);
    commands.push_back(LOWORD(wParam));
    return 0;
}

// A menu item as "id text", a separator as "-".
std::string Item(UINT id, const std::string& text) { return id ? std::to_string(id) + " " + text : "-"; }

std::string Item(HMENU menu, int position) {
    char text[128] = "";
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return GetSubMenu(menu, position) ? text : Item(GetMenuItemID(menu, position), text);
}

class MainWindowTest : public FrameTest {
protected:
    // Three logs: alpha (written, never opened; its name holds a blank and the date macros, which
    // stand for 26, 03 and 04), beta (opened after it was written) and a missing one.
    void StartThree(bool start = true) {
        WriteLog(logs_.File("a 260304.log"), LocalFileTime(2026, 3, 4), "alpha\r\n");
        WriteLog(logs_.File("b.log"), LocalFileTime(2026, 1, 2), "beta beta\r\n");
        WriteProgramDword("Main", "MacroAuto", 0);
        for (auto m : {std::make_pair("MacroYear", "26"), std::make_pair("MacroMon", "03"), std::make_pair("MacroDay", "04")}) {
            WriteProgramText("Main", m.first, m.second);
        }
        ASSERT_TRUE(WriteFileBytes(indexPath_, IndexLine(logs_.File("b.log"), browser_, beta_, LocalFileTime(2026, 2, 1)) +
                                                   IndexLine(logs_.File("missing.log"), browser_, none_) +
                                                   IndexLine(logs_.File("a #$%.log"), browser_, alpha_)));
        if (start) StartProgram();
    }
    std::vector<std::string> Status() const {
        std::vector<std::string> parts(4, std::string(512, '\0'));
        for (int i = 0; i < 4; ++i) SendMessageA(frame_->StatusBar(), SB_GETTEXTA, i, reinterpret_cast<LPARAM>(&parts[i][0]));
        for (std::string& part : parts) part.resize(part.find('\0'));
        return parts;
    }
    // The greyed commands: menu items by their id, toolbar buttons by their id + 100, the popup 起動 as 2.
    std::vector<UINT> Greyed() const {
        HMENU menu = GetMenu(frame_->MainWindow());
        std::vector<UINT> greyed;
        if (GetMenuState(menu, 2, MF_BYPOSITION) & MF_GRAYED) greyed.push_back(2);
        for (UINT id = IDM_EXIT; id <= IDM_REFRESH; ++id) {
            const UINT item = GetMenuState(menu, id, MF_BYCOMMAND);
            const LRESULT button = SendMessageA(frame_->Toolbar(), TB_GETSTATE, id, 0);
            if (item != static_cast<UINT>(-1) && (item & MF_GRAYED)) greyed.push_back(id);
            if (button != -1 && !(button & TBSTATE_ENABLED)) greyed.push_back(id + 100);
        }
        return greyed;
    }
    void EndSession() { EXPECT_TRUE(SendMessageA(frame_->MainWindow(), WM_QUERYENDSESSION, 0, 0)); }
    std::string alpha_ = Sjis(u8"アルファ|ポ"), beta_ = Sjis(u8"ベータ"), none_ = Sjis(u8"ない");
    std::string unread_ = Sjis(u8"未") + "\t", read_ = Sjis(u8"　") + "\t", file_ = Sjis(u8"》 ");
};

TEST_F(MainWindowTest, MenuBarKeysToolbarAndContextMenuEachSendTheirCommand) {
    StartThree();
    HWND w = frame_->MainWindow(), toolbar = frame_->Toolbar();
    EXPECT_EQ(Sjis(u8"Ｋｅｌｖｏｒａ"), DialogDriver::WindowText(w));
    EXPECT_EQ(w, FindWindowA("Kelvora", nullptr));
    EXPECT_TRUE(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);  // files may be dropped on it
    std::vector<std::string> bar;
    HMENU menu = GetMenu(w);
    for (int p = 0; p < GetMenuItemCount(menu); ++p) {
        bar.push_back(Item(menu, p));
        for (int i = 0; i < GetMenuItemCount(GetSubMenu(menu, p)); ++i) bar.push_back(Item(GetSubMenu(menu, p), i));
    }
    EXPECT_EQ(Sjis({u8"ファイル(&F)", u8"10 終了(&X)", u8"編集(&E)", u8"12 リストの追加(&A)...", u8"13 リストの変更(&E)...",
                    u8"14 リストの削除(&D)", "-", u8"15 文字列カット(&C)", u8"起動(&B)", u8"17 ブラウザ起動(&B)", "-",
                    u8"18 エディタ起動(&E)", u8"オプション(&O)", u8"24 日付マクロ設定(&M)...", "-", u8"22 動作環境設定(&O)...",
                    u8"23 文字列カット設定(&C)...", u8"ヘルプ(&H)", u8"25 ヘルプ(&H)", "-", u8"26 バージョン情報(&A)..."}),
              bar);
    // Character entries match the typed character; Ctrl+B and Ctrl+E arrive as the characters 2 and 5.
    ACCEL keys[32];
    const int count = CopyAcceleratorTableA(LoadAcceleratorsA(GetModuleHandleA(nullptr), "ACCFRAME"), keys, 32);
    std::vector<std::tuple<int, int, int>> table;
    for (int i = 0; i < count; ++i) table.emplace_back(keys[i].fVirt & (FVIRTKEY | FALT | FCONTROL | FSHIFT), keys[i].key, keys[i].cmd);
    EXPECT_EQ((std::vector<std::tuple<int, int, int>>{{FALT, 'a', 12}, {FALT, 'A', 12}, {FALT, 'e', 13}, {FALT, 'E', 13},
                                                       {FALT, 'd', 14}, {FALT, 'D', 14}, {FALT, 'c', 15}, {FALT, 'C', 15},
                                                       {0, 2, 17}, {0, 2, 17}, {0, 5, 18}, {0, 5, 18}, {FVIRTKEY, VK_INSERT, 12},
                                                       {FVIRTKEY, VK_DELETE, 14}, {FVIRTKEY, VK_F5, 28}}),
              table);
    auto tooltip = [&](UINT_PTR id) {
        NMTTDISPINFOA tip = {};
        tip.hdr = {toolbar, id, static_cast<UINT>(TTN_NEEDTEXTA)};
        SendMessageA(w, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
        char text[128] = "none";
        if (tip.lpszText) LoadStringA(tip.hinst, static_cast<UINT>(reinterpret_cast<UINT_PTR>(tip.lpszText)), text, sizeof text);
        return std::string(text);
    };
    std::vector<std::string> buttons;  // "command image tooltip"
    std::vector<UINT> expected;
    for (int i = 0; i < SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0); ++i) {
        TBBUTTON b = {};
        SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b));
        buttons.push_back(b.fsStyle & TBSTYLE_SEP ? "-" : Item(b.idCommand, std::to_string(b.iBitmap) + " " + tooltip(b.idCommand)));
        if (!(b.fsStyle & TBSTYLE_SEP)) expected.push_back(b.idCommand);
    }
    EXPECT_EQ(Sjis({"-", u8"12 0 リストの追加", u8"13 1 リストの変更", u8"14 2 リストの削除", "-", u8"15 3 文字列ｶｯﾄ", "-",
                    u8"17 4 ブラウザ起動", u8"18 5 エディタ起動", "-", u8"19 6 名前で並び替え", u8"20 7 日付昇順で並び替え",
                    u8"21 8 日付降順で並び替え", "-", u8"24 9 日付マクロの設定", u8"22 10 動作環境の設定",
                    u8"23 11 文字列行カット手順の設定", "-", u8"10 12 アプリケーションの終了", "-", u8"25 13 ヘルプの表示"}),
              buttons);
    EXPECT_EQ("none", tooltip(IDM_CUTDONE));

    commands.clear();
    windowProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordCommands)));
    for (UINT id : expected) ClickToolbar(id);
    constexpr LPARAM kAlt = 1 << 29;  // Wine matches Alt+A as WM_SYSKEYDOWN, Windows the WM_SYSCHAR after it
    struct Press { UINT message; WPARAM key; LPARAM context; UINT command; };
    const Press presses[] = {{WM_KEYDOWN, VK_INSERT, 0, 12}, {WM_SYSKEYDOWN, 'A', kAlt, 12}, {WM_SYSKEYDOWN, 'E', kAlt, 13},
                             {WM_SYSKEYDOWN, 'D', kAlt, 14}, {WM_KEYDOWN, VK_DELETE, 0, 14}, {WM_SYSKEYDOWN, 'C', kAlt, 15},
                             {WM_CHAR, 2, 0, 17}, {WM_KEYDOWN, VK_RETURN, 0, 17}, {WM_CHAR, 5, 0, 18}, {WM_KEYDOWN, VK_F5, 0, 28}};
    for (const Press& press : presses) {
        Key(press.message, press.key, press.context);
        expected.push_back(press.command);
    }
    SendMessageA(list_->Control(), WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 3));
    const ShownMenu context = ContextMenu(IDM_CUT);  // the last item
    std::vector<std::string> items;
    for (size_t i = 0; i < context.ids.size(); ++i) items.push_back(Item(context.ids[i], context.texts[i]));
    EXPECT_EQ(Sjis({u8"17 開く(&O)", u8"18 編集(&E)", "-", u8"12 リストの追加(&A)...", u8"13 リストの変更(&C)...",
                    u8"14 リストの削除(&D)", "-", u8"15 文字列カット(&C)..."}),
              items);
    SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(windowProc));
    expected.insert(expected.end(), {IDM_BROWSER, IDM_CUT});
    EXPECT_EQ(expected, commands);
}

TEST_F(MainWindowTest, OneWindowThatKeepsItsRectangleButNotMinimisedAndOpensThereNextTime) {
    StartProgram();  // without an index file: an empty one is made, and what needs an entry is greyed
    EXPECT_TRUE(CheckFile(indexPath_) && list_->GetEntryCount() == 0);
    EXPECT_EQ((std::vector<UINT>{2, 13, 113, 14, 114, 15, 115, 17, 117, 18, 118, 119, 120, 121}), Greyed());
    HWND w = frame_->MainWindow();
    ShowWindow(w, SW_SHOWNORMAL);
    MoveWindow(w, 40, 50, 600, 400, TRUE);
    ShowWindow(w, SW_MINIMIZE);
    PumpMessages(100);
    int rect[4];
    frame_->Settings().GetWindowRect(rect);
    EXPECT_EQ((std::vector<int>{40, 50, 600, 400}), std::vector<int>(rect, rect + 4));
    EXPECT_FALSE(KelvoraFrame(GetModuleHandleA(nullptr)).Created());  // a second start brings the first back instead
    EXPECT_TRUE(!IsIconic(w) && !FindWindowExA(nullptr, w, "Kelvora", nullptr));
    PostMessageA(w, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_EQ(0, frame_->Run(SW_SHOWNORMAL));
    EXPECT_FALSE(IsWindow(w));
    frame_.reset();
    StartProgram();
    RECT r;
    GetWindowRect(frame_->MainWindow(), &r);
    EXPECT_EQ((std::vector<LONG>{40, 50, 600, 400}), (std::vector<LONG>{r.left, r.top, r.right - r.left, r.bottom - r.top}));
    EXPECT_EQ(1u, ProgramDword("Main", "XpUpdate"));  // the first-run clean-up is done for good
}

TEST_F(MainWindowTest, RowsAndStatusBarFollowTheSelectionAndTheCommandsActOnTheSelectedRow) {
    StartThree(false);
    // Its writer holds alpha's log open, as logging programs do: it still shows and opens.
    OwnedFile writer(CreateFileA(logs_.File("a 260304.log").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr));
    StartProgram();
    const std::string alphaText = "03/04\t" + Sjis(u8"アルファ\tポ");
    EXPECT_EQ((std::vector<std::string>{unread_ + alphaText, read_ + "**/**\t" + none_, read_ + "01/02\t" + beta_}),
              (std::vector<std::string>{Row(0).DisplayText, Row(1).DisplayText, Row(2).DisplayText}));
    EXPECT_EQ(0, list_->GetSelection());
    EXPECT_EQ((std::vector<std::string>{file_ + logs_.File("a 260304.log"), "         7", " 2026/03/04", "  12:00:00"}), Status());
    // Size, date and time take equal parts at the right edge; the file name has the rest.
    int edges[4];
    SendMessageA(frame_->StatusBar(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges));
    RECT client;
    GetClientRect(frame_->MainWindow(), &client);
    EXPECT_EQ(client.right, edges[3]);
    EXPECT_TRUE(edges[3] - edges[2] > 0 && edges[3] - edges[2] == edges[2] - edges[1] && edges[2] - edges[1] == edges[1] - edges[0]);

    // The browser and the editor get the expanded name as one argument; the row is read now.
    const std::string quoted = "\"" + logs_.File("a 260304.log") + "\"\r\n";
    Command(IDM_BROWSER);
    EXPECT_NE(std::string::npos, Started(1).find(quoted));
    EXPECT_EQ(read_ + alphaText, Row(0).DisplayText);
    DialogDriver driver;
    for (int i = 0; i < 4; ++i) driver.ExpectPress(IDOK);
    Command(IDM_EDITOR);  // no editor set
    frame_->Settings().SetEditor(browser_.c_str());
    Command(IDM_EDITOR);
    SendMessageA(list_->Control(), LB_SETCURSEL, 1, 0);  // the missing log
    SendMessageA(frame_->MainWindow(), WM_COMMAND, MAKEWPARAM(IDC_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list_->Control()));
    EXPECT_EQ((std::vector<std::string>{file_ + logs_.File("missing.log"), "         0", " ****/**/**", "   **:**:**"}), Status());
    for (int row : {1, -1}) {
        list_->Select(row);
        Command(IDM_BROWSER);
        Command(IDM_EDITOR);  // without a selection it says nothing
    }
    std::vector<std::string> texts;
    for (const ShownBox& box : driver.Shown()) texts.push_back(box.text);
    EXPECT_EQ(Sjis({u8"エディタが設定されていません", u8"ログファイルは存在していません", u8"ログファイルは存在していません",
                    u8"ブラウザの起動に失敗しました"}),
              texts);
    EXPECT_EQ(0u, Row(1).SeenTime.dwHighDateTime);
    Sleep(200);
    const std::string started = Started(2), line = started.substr(0, started.find('\n') + 1);
    EXPECT_EQ(line + line, started);  // the browser and the editor, nothing since

    // Sorting keeps the selected row number and stores the order.
    const std::vector<std::string> byName = {alpha_, none_, beta_};
    EXPECT_EQ(byName, Names());
    list_->Select(2);
    const std::pair<int, std::vector<std::string>> sorts[] = {
        {IDM_SORTNEW, {alpha_, beta_, none_}}, {IDM_SORTOLD, {none_, beta_, alpha_}}, {IDM_SORTNAME, byName}};
    for (const auto& sort : sorts) {
        Command(sort.first);
        EXPECT_EQ(sort.second, Names());
        EXPECT_EQ(2, list_->GetSelection());
        EXPECT_EQ(static_cast<DWORD>(sort.first - IDM_SORTNAME), ProgramDword("Main", "SortList"));
    }
    WriteLog(logs_.File("b.log"), LocalFileTime(2026, 5, 6), "beta written again\r\n");
    Key(WM_KEYDOWN, VK_F5);
    EXPECT_EQ(unread_ + "05/06\t" + beta_, Row(2).DisplayText);

    // Deleting asks first and selects the row that takes the place; past the bottom row nothing.
    list_->Select(1);
    driver.ExpectPress(IDCANCEL);
    Command(IDM_DELETELIST);
    EXPECT_EQ(3, list_->GetEntryCount());
    EXPECT_EQ(Sjis(u8"選択されているリストを削除しても宜しいですか？"), driver.Shown().back().text);
    EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL | MB_ICONEXCLAMATION), driver.Shown().back().messageBoxStyle);
    for (int i = 0; i < 5; ++i) driver.ExpectPress(IDOK);
    Command(IDM_DELETELIST);
    EXPECT_EQ((std::vector<std::string>{alpha_, beta_}), Names());
    EXPECT_EQ(std::make_pair(1, std::string::npos), std::make_pair(list_->GetSelection(), IndexBytes().find(none_)));
    Command(IDM_DELETELIST);
    EXPECT_EQ(std::make_pair(std::vector<std::string>{alpha_}, -1), std::make_pair(Names(), list_->GetSelection()));
    Command(IDM_DELETELIST);
    EXPECT_EQ(Sjis(u8"ログファイルが指定されていません"), driver.Shown().back().text);
    list_->Select(0);
    Command(IDM_DELETELIST);  // the last entry: the file is left empty and it stays so
    Stop();
    EXPECT_EQ("", IndexBytes());
    StartProgram();
    EXPECT_EQ(0, list_->GetEntryCount());
}

TEST_F(MainWindowTest, MenusOfAScrolledListGoToTheRowInView) {
    WriteLog(logs_.File("a.log"), LocalFileTime(2026, 3, 4));
    std::string index;
    for (int i = 10; i < 70; ++i) index += IndexLine(logs_.File("a.log"), browser_, "row" + std::to_string(i));
    Start(index);
    MoveWindow(frame_->MainWindow(), 0, 0, 500, 300, TRUE);
    SendMessageA(list_->Control(), LB_SETTOPINDEX, 10, 0);
    ASSERT_EQ(10, SendMessageA(list_->Control(), LB_GETTOPINDEX, 0, 0));
    // A right click on the third row in view selects it, and its menu opens there and opens it.
    POINT at = {10, 2 * RowHeight() + 1};
    ShownMenu menu = WatchMenu([&] { SendMessageA(list_->Control(), WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y)); }, IDM_BROWSER);
    EXPECT_EQ(12, list_->GetSelection());
    EXPECT_NE(0u, Row(12).SeenTime.dwHighDateTime);
    ClientToScreen(list_->Control(), &at);
    EXPECT_EQ((std::vector<LONG>{at.x, at.y}), (std::vector<LONG>{menu.rect.left, menu.rect.top}));
    // From the keyboard it opens 150 pixels left of the list's centre, at the middle of that row.
    SendMessageA(list_->Control(), LB_SETTOPINDEX, 10, 0);
    menu = ContextMenu(0);
    RECT r;
    GetWindowRect(list_->Control(), &r);
    EXPECT_EQ((std::vector<LONG>{(r.left + r.right) / 2 - 150, r.top + 2 * RowHeight() + RowHeight() / 2}),
              (std::vector<LONG>{menu.rect.left, menu.rect.top}));
}

TEST_F(MainWindowTest, IndexFileElsewhereMovesIntoTheDataFolderUnlessItCannot) {
    const std::string dat = indexPath_, folder = dat.substr(0, dat.rfind('\\') + 1), dat2 = folder + "Kelvora2.dat",
                      mine = folder + "mine.kvd";
    DeleteFileA(dat2.c_str());
    // The index file, and where it is after a start.
    const std::pair<std::string, std::string> cases[] = {
        {logs_.File("moved.kvd"), dat},
        {logs_.File("second.kvd"), dat2},                      // Kelvora.dat is taken now: a free name
        {mine, mine},                                          // in the data folder under any name: it stays
        {logs_.File("third.kvd"), logs_.File("third.kvd")}};  // the move cannot be written
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        ASSERT_TRUE(WriteFileBytes(c.first, IndexLine(logs_.File("a.log"), "b.exe", c.first)));
        WriteProgramText("Main", "Index", c.first);
        const std::string kept = ReadFileBytes(dat);
        {
            const bool fails = c.first == c.second && c.first != mine;
            FailingIndexOps failing(fails ? 4 : 5);
            DialogDriver driver;
            if (fails) driver.ExpectPress(IDOK);
            StartProgram();
        }
        EXPECT_EQ(c.second, frame_->Settings().GetIndex());
        Stop();
        EXPECT_NE(std::string::npos, ReadFileBytes(c.second).find(c.first));
        EXPECT_EQ(c.second == c.first, CheckFile(c.first.c_str()) != 0);
        EXPECT_EQ(c.second == dat ? ReadFileBytes(dat) : kept, ReadFileBytes(dat));
    }
    DeleteFileA(dat2.c_str());
    DeleteFileA(mine.c_str());
    const std::string before = ReadFileBytes(dat);
    WriteProgramText("Main", "Index", "");
    StartProgram();  // an empty Index loads nothing and writes nothing
    EXPECT_EQ(0, list_->GetEntryCount());
    Stop();
    EXPECT_EQ(before, ReadFileBytes(dat));
}

TEST_F(MainWindowTest, FailedLoadsAndWritesAreToldAndLeaveTheFileWholeAndASessionEndWritesEverything) {
    StartThree(false);
    DialogDriver driver;
    for (bool retry : {false, true}) {
        const std::string before = IndexBytes();
        HANDLE lock = CreateFileA(indexPath_, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        driver.ExpectPress(IDOK);
        StartProgram();
        EXPECT_EQ(Sjis(u8"ファイル読み込み中にエラーが発生しました") + "\r\n" + indexPath_, driver.Shown().back().text);
        EXPECT_GT(frame_->Settings().GetColumnStopCount(), 0);  // rows drawn later still have their stops
        // Adding is greyed too, and the command does nothing when sent: it could not be written back.
        EXPECT_EQ((std::vector<UINT>{2, 12, 112, 13, 113, 14, 114, 15, 115, 17, 117, 18, 118, 119, 120, 121}), Greyed());
        Command(IDM_ADDLIST);
        CloseHandle(lock);
        if (retry) break;
        Stop();  // without a load that succeeded the file stays as it is
        EXPECT_EQ(before, IndexBytes());
    }
    Key(WM_KEYDOWN, VK_F5);  // tries the load again
    EXPECT_EQ(3, list_->GetEntryCount());
    EXPECT_TRUE(Greyed().empty());

    list_->DeleteEntry(2);  // in memory only
    frame_->Settings().SetTabStop(7);
    frame_->Settings().Cut().SetCutFile("C:\\cut.txt");
    std::string before = IndexBytes();
    EndSession();
    EXPECT_NE(before, IndexBytes());
    // The program may be ended without its destructor: Main, Extent and ListFont are written now.
    EXPECT_EQ(7u, ProgramDword("Main", "TabStop"));
    EXPECT_EQ("C:\\cut.txt", ProgramText("Extent", "CutFile"));
    EXPECT_NE("<missing>", ProgramText("ListFont", "LogFont"));

    before = IndexBytes();
    list_->DeleteEntry(1);  // again a change that only a write would keep
    for (int step = 0; step < 5; ++step) {
        FailingIndexOps failing(step);
        driver.ExpectPress(IDOK);
        Key(WM_KEYDOWN, VK_F5);
        EXPECT_EQ(1, list_->GetEntryCount());  // not read over by the old file
        EXPECT_EQ(before, IndexBytes());
    }
    FailingIndexOps failing(1);
    driver.ExpectPress(IDOK);
    driver.ExpectPress(IDOK);
    EndSession();
    Stop();  // the program still ends
    ASSERT_EQ(9u, driver.Shown().size());
    for (size_t i = 2; i < 9; ++i) {
        EXPECT_EQ(Sjis(u8"目次テーブルファイルに書き込めませんでした（ファイルは前の内容のまま残っています）") + "\r\n" + indexPath_,
                  driver.Shown()[i].text);
    }
    EXPECT_EQ(before, IndexBytes());
    EXPECT_FALSE(CheckFile((std::string(indexPath_, std::strrchr(indexPath_, '\\') + 1) + "KV*.tmp").c_str())) << "left behind";
}

}  // namespace
