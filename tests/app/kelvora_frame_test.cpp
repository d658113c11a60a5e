// The application object and what reaches its commands: the window with its menu bar, accelerator
// table, toolbar and context menu, the commands each of them sends, which of them an empty list
// greys, the single window and its rectangle kept across starts.
#include "app/kelvora_frame.h"

#include <tuple>

#include "frame_fixture.h"

using namespace testing_support;

namespace {

// The commands the main window gets, recorded and swallowed, so that none of them runs.
std::vector<UINT> commands;
WNDPROC windowProc = nullptr;

LRESULT CALLBACK RecordCommands(HWND w, UINT m, WPARAM wParam, LPARAM lParam) {
    if (m != WM_COMMAND || LOWORD(wParam) == IDC_LIST) return CallWindowProcA(windowProc, w, m, wParam, lParam);
    commands.push_back(LOWORD(wParam));
    return 0;
}

std::string MenuText(HMENU menu, int position) {
    char text[128] = "";
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

// A menu item as "id text", a separator as "-".
std::string Item(UINT id, const std::string& text) { return id ? std::to_string(id) + " " + text : "-"; }

using KelvoraFrameTest = FrameTest;

TEST_F(KelvoraFrameTest, MenuBarKeysToolbarAndContextMenuEachSendTheirCommand) {
    Start(IndexLine("C:\\a.log", browser_, "a") + IndexLine("C:\\b.log", browser_, "b"));
    HWND w = frame_->MainWindow(), toolbar = frame_->Toolbar();
    EXPECT_EQ(Sjis(u8"Ｋｅｌｖｏｒａ"), DialogDriver::WindowText(w));
    EXPECT_EQ(w, FindWindowA("Kelvora", nullptr));
    EXPECT_TRUE(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);  // files may be dropped on it
    std::vector<std::string> bar;
    HMENU menu = GetMenu(w);
    for (int p = 0; p < GetMenuItemCount(menu); ++p) {
        bar.push_back(MenuText(menu, p));
        HMENU popup = GetSubMenu(menu, p);
        for (int i = 0; i < GetMenuItemCount(popup); ++i) bar.push_back(Item(GetMenuItemID(popup, i), MenuText(popup, i)));
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
    const struct {
        UINT message;
        WPARAM key;
        LPARAM context;
        UINT command;
    } presses[] = {{WM_KEYDOWN, VK_INSERT, 0, 12}, {WM_SYSKEYDOWN, 'A', kAlt, 12}, {WM_SYSKEYDOWN, 'E', kAlt, 13},
                   {WM_SYSKEYDOWN, 'D', kAlt, 14}, {WM_KEYDOWN, VK_DELETE, 0, 14}, {WM_SYSKEYDOWN, 'C', kAlt, 15},
                   {WM_CHAR, 2, 0, 17}, {WM_KEYDOWN, VK_RETURN, 0, 17}, {WM_CHAR, 5, 0, 18}, {WM_KEYDOWN, VK_F5, 0, 28}};
    for (const auto& press : presses) {
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

TEST_F(KelvoraFrameTest, EmptyListGreysWhatNeedsAnEntry) {
    StartProgram();  // without an index file: an empty one is made
    EXPECT_EQ(0, list_->GetEntryCount());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(indexPath_));
    HMENU menu = GetMenu(frame_->MainWindow());
    EXPECT_TRUE(GetMenuState(menu, 2, MF_BYPOSITION) & MF_GRAYED);  // 起動(&B)
    std::vector<UINT> greyed;  // menu items by their command, toolbar buttons by their command + 100
    for (UINT id = IDM_EXIT; id <= IDM_REFRESH; ++id) {
        const UINT item = GetMenuState(menu, id, MF_BYCOMMAND);
        const LRESULT button = SendMessageA(frame_->Toolbar(), TB_GETSTATE, id, 0);
        if (item != static_cast<UINT>(-1) && (item & MF_GRAYED)) greyed.push_back(id);
        if (button != -1 && !(button & TBSTATE_ENABLED)) greyed.push_back(id + 100);
    }
    EXPECT_EQ((std::vector<UINT>{13, 113, 14, 114, 15, 115, 17, 117, 18, 118, 119, 120, 121}), greyed);
}

TEST_F(KelvoraFrameTest, OneWindowThatKeepsItsRectangleButNotMinimisedAndOpensThereNextTime) {
    StartProgram();
    HWND w = frame_->MainWindow();
    ShowWindow(w, SW_SHOWNORMAL);
    MoveWindow(w, 40, 50, 600, 400, TRUE);
    ShowWindow(w, SW_MINIMIZE);
    PumpMessages(100);
    int rect[4];
    frame_->Settings().GetWindowRect(rect);
    EXPECT_EQ((std::vector<int>{40, 50, 600, 400}), std::vector<int>(rect, rect + 4));
    EXPECT_FALSE(KelvoraFrame(GetModuleHandleA(nullptr)).Created());  // a second start brings the first back instead
    EXPECT_FALSE(IsIconic(w));
    EXPECT_EQ(nullptr, FindWindowExA(nullptr, w, "Kelvora", nullptr));
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

}  // namespace
