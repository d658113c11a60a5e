// The commands as the user meets them in the main window: starting a log's browser or the editor,
// what may be sent while the list holds no entry or could not be read, and the about box.
#include "frame_fixture.h"

using namespace testing_support;

namespace {

const char* const kNowhere = "C:\\no\\such\\viewer.exe";

// Three entries by name: a (written, never opened; its name holds a blank and the date macros,
// which stand for 26, 03 and 04), b (its browser cannot start) and m (its log is missing). The
// editor is the fake browser.
class CommandsTest : public FrameTest {
protected:
    void StartThree() {
        WriteLog(logs_.File("a 260304.log"), LocalFileTime(2026, 3, 4));
        WriteLog(logs_.File("b.log"), LocalFileTime(2026, 3, 4));
        WriteMacroTexts("26", "03", "04");
        WriteProgramText("Main", "Editor", browser_);
        Start(IndexLine(logs_.File("a #$%.log"), browser_, "a") + IndexLine(logs_.File("b.log"), kNowhere, "b") +
              IndexLine(logs_.File("missing.log"), browser_, "m"));
    }
    // How often a program was started with a's log as its one argument, once lines were started.
    size_t StartsOfA(size_t lines) const {
        const std::string started = ReadFileOnceItHasLines(browserLog_, lines),
                          a = " \"" + logs_.File("a 260304.log") + "\"\r\n";
        size_t count = 0;
        for (size_t at = started.find(a); at != std::string::npos; at = started.find(a, at + 1)) ++count;
        return count;
    }
};

class LaunchTest : public CommandsTest, public testing::WithParamInterface<int> {};

TEST_P(LaunchTest, StartsTheProgramWithTheExpandedNameAsOneArgument) {
    StartThree();
    Command(GetParam());
    EXPECT_EQ(1u, StartsOfA(1));
}

TEST_P(LaunchTest, ClearsTheUnreadMarkOfTheRowItStarted) {
    StartThree();
    const std::string unread = Row(0).DisplayText;
    Command(GetParam());
    EXPECT_EQ(std::make_pair(Sjis("未\t03/04\ta"), Sjis("　\t03/04\ta")),
              std::make_pair(unread, std::string(Row(0).DisplayText)));
}

INSTANTIATE_TEST_SUITE_P(BrowserAndEditor, LaunchTest, testing::Values(IDM_BROWSER, IDM_EDITOR));

// Its key and toolbar button are the main window's, shown there with the other commands.
TEST_F(CommandsTest, TheContextMenusEditItemStartsTheEditor) {
    StartThree();
    ChooseInContextMenu('e');  // 編集(&E)
    EXPECT_EQ(1u, StartsOfA(1));
}

TEST_F(CommandsTest, AFailedLaunchSaysWhyAndKeepsTheMark) {
    StartThree();
    // clang-format off
    const struct { int command, row; const char* editor; const char* box; } cases[] = {
        {IDM_BROWSER, -1, "", "ブラウザの起動|ブラウザの起動に失敗しました"},  // nothing selected
        {IDM_EDITOR, -1, "", ""},
        {IDM_EDITOR, 0, "", "エディタの起動|エディタが設定されていません"},
        {IDM_EDITOR, 0, kNowhere, "エディタの起動|エディタの起動に失敗しました"},
        {IDM_BROWSER, 1, "", "ブラウザの起動|ブラウザの起動に失敗しました"},
        {IDM_BROWSER, 2, "", "ブラウザの起動|ログファイルは存在していません"},
        {IDM_EDITOR, 2, "", "ブラウザの起動|ログファイルは存在していません"}};
    // clang-format on
    for (const auto& c : cases) {
        frame_->Settings().SetEditor(c.editor);
        list_->Select(c.row);
        const std::string rows = RowTexts();
        DialogDriver driver;
        if (c.box[0]) driver.ExpectPress(IDOK);
        Command(c.command);
        EXPECT_EQ(Sjis(c.box), driver.Box()) << c.command << " " << c.row;
        EXPECT_EQ(rows, RowTexts()) << c.command << " " << c.row;
    }
    EXPECT_EQ("", ReadFileBytes(browserLog_));  // nothing was started
}

TEST_F(CommandsTest, WhatNeedsAnEntryIsGreyedAtAStartWithoutEntries) {
    // Index empty, naming a missing file (made empty), naming a file of blank lines.
    const std::pair<std::string, const char*> cases[] = {
        {"", nullptr}, {logs_.File("new.kvd"), nullptr}, {logs_.File("blank.kvd"), "\r\n \r\n"}};
    for (const auto& [index, bytes] : cases) {
        ASSERT_TRUE(!bytes || WriteFileBytes(index, bytes));
        WriteProgramText("Main", "Index", index);
        StartProgram();
        EXPECT_EQ((std::vector<UINT>{2, 13, 113, 14, 114, 15, 115, 17, 117, 18, 118, 119, 120, 121}), Greyed())
            << index;
        Stop();
    }
}

TEST_F(CommandsTest, AfterAFailedLoadTheKeysClicksAndContextMenuChangeNothing) {
    DialogDriver driver;  // a box or dialog beyond the load's message fails the test
    driver.ExpectPress(IDOK);
    Start(std::string("a,b,c,0,0\r\n\0", 12));  // a NUL: no list
    TypeKey(WM_KEYDOWN, VK_RETURN);
    TypeKey(WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 3));
    for (char key : {'o', 'e', 'a', 'd'}) ChooseInContextMenu(key);  // 開く, 編集, adding, deleting
    EXPECT_EQ(1u, driver.Shown().size());
    EXPECT_EQ("", ReadFileBytes(browserLog_));
}

TEST_F(CommandsTest, AboutLinkIsBlueAndShowsTheHandOnlyOverItself) {
    Start("");
    HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), "CURSOR"), overLink = nullptr, overText = nullptr;
    std::string link;
    bool blue = false;
    Answer(IDM_ABOUT, IDOK, [&](HWND box) {
        HWND control = GetDlgItem(box, IDC_ABOUT_LINK), text = GetWindow(control, GW_HWNDPREV);
        RECT r;
        GetClientRect(control, &r);
        ShowWindow(box, SW_SHOWNORMAL);  // a modal box shows itself once its queue is empty
        blue = ColoursIn(control, r).count(RGB(0, 0, 255)) > 0;
        link = DialogDriver::WindowText(control);
        for (auto [over, cursor] : {std::make_pair(control, &overLink), std::make_pair(text, &overText)}) {
            SetCursor(nullptr);
            SendMessageA(over, WM_SETCURSOR, reinterpret_cast<WPARAM>(over), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            *cursor = GetCursor();
        }
    });
    char page[128] = "";
    LoadStringA(GetModuleHandleA(nullptr), IDS_WEBPAGE, page, sizeof page);
    EXPECT_EQ(std::make_tuple(std::string(page), true, hand), std::make_tuple(link, blue, overLink));
    EXPECT_NE(hand, overText);
}

}  // namespace
