// The main window over a real index file: rows and the status bar, sorting and refreshing, opening
// logs, deleting, the menus of a scrolled list, where the index file lives, what a failed write or
// load does, and what a session end writes.
#include "app/main_window.h"

#include <cstring>

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

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class MainWindowTest : public FrameTest {
protected:
    // Three logs: alpha (written, never opened; its name holds a blank and the date macros, which
    // stand for 26, 03 and 04), beta (opened after it was written) and a missing one.
    void PrepareThree() {
        WriteLog(logs_.File("a 260304.log"), LocalFileTime(2026, 3, 4), "alpha\r\n");
        WriteLog(logs_.File("b.log"), LocalFileTime(2026, 1, 2), "beta beta\r\n");
        WriteProgramDword("Main", "MacroAuto", 0);
        WriteProgramText("Main", "MacroYear", "26");
        WriteProgramText("Main", "MacroMon", "03");
        WriteProgramText("Main", "MacroDay", "04");
        ASSERT_TRUE(WriteFileBytes(indexPath_, IndexLine(logs_.File("b.log"), browser_, beta_, LocalFileTime(2026, 2, 1)) +
                                                   IndexLine(logs_.File("missing.log"), browser_, none_) +
                                                   IndexLine(logs_.File("a #$%.log"), browser_, alpha_)));
    }
    void StartThree() {
        PrepareThree();
        StartProgram();
    }
    std::vector<std::string> Status() const {
        std::vector<std::string> parts(4, std::string(512, '\0'));
        for (int i = 0; i < 4; ++i) SendMessageA(frame_->StatusBar(), SB_GETTEXTA, i, reinterpret_cast<LPARAM>(&parts[i][0]));
        for (std::string& part : parts) part.resize(part.find('\0'));
        return parts;
    }
    bool Greyed(UINT id) const { return GetMenuState(GetMenu(frame_->MainWindow()), id, MF_BYCOMMAND) & MF_GRAYED; }
    void EndSession() { EXPECT_TRUE(SendMessageA(frame_->MainWindow(), WM_QUERYENDSESSION, 0, 0)); }
    std::string alpha_ = Sjis(u8"アルファ|ポ"), beta_ = Sjis(u8"ベータ"), none_ = Sjis(u8"ない");
    std::string unread_ = Sjis(u8"未") + "\t", read_ = Sjis(u8"　") + "\t", file_ = Sjis(u8"》 ");
};

TEST_F(MainWindowTest, RowsAndStatusBarFollowTheSelectionSortingAndRefresh) {
    StartThree();
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
    SendMessageA(list_->Control(), LB_SETCURSEL, 1, 0);
    SendMessageA(frame_->MainWindow(), WM_COMMAND, MAKEWPARAM(IDC_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list_->Control()));
    EXPECT_EQ((std::vector<std::string>{file_ + logs_.File("missing.log"), "         0", " ****/**/**", "   **:**:**"}), Status());

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
}

TEST_F(MainWindowTest, OpensTheSelectedLogInItsBrowserOrTheEditorAsOneArgument) {
    PrepareThree();
    // Its writer holds the log open, as logging programs do: it still shows and opens.
    OwnedFile writer(CreateFileA(logs_.File("a 260304.log").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr));
    StartProgram();
    const std::string quoted = "\"" + logs_.File("a 260304.log") + "\"\r\n";
    Command(IDM_BROWSER);
    EXPECT_NE(std::string::npos, Started(1).find(quoted));
    EXPECT_EQ(read_ + "03/04\t" + Sjis(u8"アルファ\tポ"), Row(0).DisplayText);  // read now
    EXPECT_EQ(0, list_->GetSelection());
    DialogDriver driver;
    for (int i = 0; i < 4; ++i) driver.ExpectPress(IDOK);
    Command(IDM_EDITOR);  // no editor set
    frame_->Settings().SetEditor(browser_.c_str());
    Command(IDM_EDITOR);
    list_->Select(1);  // the missing log
    Command(IDM_BROWSER);
    Command(IDM_EDITOR);
    list_->Select(-1);
    Command(IDM_BROWSER);
    Command(IDM_EDITOR);  // says nothing
    std::vector<std::string> texts;
    for (const ShownBox& box : driver.Shown()) texts.push_back(box.text);
    EXPECT_EQ(Sjis({u8"エディタが設定されていません", u8"ログファイルは存在していません", u8"ログファイルは存在していません",
                    u8"ブラウザの起動に失敗しました"}),
              texts);
    EXPECT_EQ(0u, Row(1).SeenTime.dwHighDateTime);
    Sleep(200);
    const std::string started = Started(2), line = started.substr(0, started.find('\n') + 1);
    EXPECT_EQ(line + line, started);  // the browser and the editor, nothing since
}

TEST_F(MainWindowTest, DeleteAsksAndSelectsTheRowThatTakesThePlace) {
    StartThree();
    list_->Select(1);
    DialogDriver driver;
    driver.ExpectPress(IDCANCEL);
    Command(IDM_DELETELIST);
    EXPECT_EQ(3, list_->GetEntryCount());
    EXPECT_EQ(Sjis(u8"選択されているリストを削除しても宜しいですか？"), driver.Shown().at(0).text);
    EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL | MB_ICONEXCLAMATION), driver.Shown()[0].messageBoxStyle);
    for (int i = 0; i < 5; ++i) driver.ExpectPress(IDOK);
    Command(IDM_DELETELIST);
    EXPECT_EQ((std::vector<std::string>{alpha_, beta_}), Names());
    EXPECT_EQ(1, list_->GetSelection());
    EXPECT_EQ(std::string::npos, IndexBytes().find(none_));
    Command(IDM_DELETELIST);  // the bottom row: nothing is selected after it
    EXPECT_EQ(std::vector<std::string>{alpha_}, Names());
    EXPECT_EQ(-1, list_->GetSelection());
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
    char folder[MAX_PATH];
    BuildDataFolder(GetModuleHandleA(nullptr), folder);
    const std::string dat = indexPath_, dat2 = std::string(folder) + "Kelvora2.dat", mine = std::string(folder) + "mine.kvd";
    DeleteFileA(dat2.c_str());
    const struct {
        std::string from, current;
    } cases[] = {{logs_.File("moved.kvd"), dat},
                 {logs_.File("second.kvd"), dat2},  // Kelvora.dat is taken now: a free name
                 {mine, mine},                      // in the data folder under any name: it stays
                 {logs_.File("third.kvd"), logs_.File("third.kvd")}};  // the move cannot be written
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from);
        ASSERT_TRUE(WriteFileBytes(c.from, IndexLine(logs_.File("a.log"), "b.exe", c.from)));
        WriteProgramText("Main", "Index", c.from);
        const std::string kept = ReadFileBytes(dat);
        {
            const bool fails = c.from == c.current && c.from != mine;
            FailingIndexOps failing(fails ? 4 : 5);
            DialogDriver driver;
            if (fails) driver.ExpectPress(IDOK);
            StartProgram();
        }
        EXPECT_EQ(1, list_->GetEntryCount());
        EXPECT_EQ(c.current, frame_->Settings().GetIndex());
        Stop();
        EXPECT_NE(std::string::npos, ReadFileBytes(c.current).find(c.from));
        EXPECT_EQ(c.current == c.from, Exists(c.from));
        EXPECT_EQ(c.current == dat ? ReadFileBytes(dat) : kept, ReadFileBytes(dat));
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

TEST_F(MainWindowTest, SessionEndWritesTheListAndEverySettingAndFailedWritesLeaveTheOldFileWhole) {
    StartThree();
    Command(IDM_BROWSER);  // a new SeenTime, in memory only
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
    list_->DeleteEntry(1);  // a change that only a write would keep
    DialogDriver driver;
    for (int step = 0; step < 5; ++step) {
        FailingIndexOps failing(step);
        driver.ExpectPress(IDOK);
        Key(WM_KEYDOWN, VK_F5);
        EXPECT_EQ(2, list_->GetEntryCount());  // not read over by the old file
        EXPECT_EQ(before, IndexBytes());
    }
    {
        FailingIndexOps failing(1);
        driver.ExpectPress(IDOK);
        driver.ExpectPress(IDOK);
        EndSession();
        Stop();  // the program still ends
    }
    ASSERT_EQ(7u, driver.Shown().size());
    for (const ShownBox& box : driver.Shown()) {
        EXPECT_EQ(Sjis(u8"目次テーブルファイルに書き込めませんでした（ファイルは前の内容のまま残っています）") + "\r\n" + indexPath_, box.text);
    }
    EXPECT_EQ(before, IndexBytes());
    EXPECT_FALSE(CheckFile((std::string(indexPath_, std::strrchr(indexPath_, '\\') + 1) + "KV*.tmp").c_str())) << "left behind";
}

// Types a name into the file-open dialog and confirms it: the Explorer-style dialog's name box is
// cmb13 (1148), older ones have edt1 (1152).
DialogDriver::Answer ChooseFile(const std::string& path) {
    return [path](HWND dialog) {
        SetWindowTextA(GetDlgItem(dialog, 1148) ? GetDlgItem(dialog, 1148) : GetDlgItem(dialog, 1152), path.c_str());
        DialogDriver::Press(dialog, IDOK);
    };
}

TEST_F(MainWindowTest, OpenCommandWritesTheListItLeavesAndAsksBeforeMakingAFile) {
    StartThree();
    Command(IDM_BROWSER);  // a new SeenTime for alpha, in memory only
    const std::string other = logs_.File("other.dat"), created = logs_.File("new.kvd");
    ASSERT_TRUE(WriteFileBytes(other, IndexLine(logs_.File("b.log"), "b.exe", "other")));
    DialogDriver driver;
    driver.Expect(ChooseFile(created));
    driver.ExpectPress(IDCANCEL);  // 取消 at the question changes nothing
    Command(IDM_OPENLIST);
    ASSERT_EQ(2u, driver.Shown().size());
    EXPECT_EQ(Sjis(u8"ﾘｽﾄ ﾃﾞｰﾀ指定"), driver.Shown()[0].caption);
    EXPECT_EQ(Sjis(u8"目次テーブルファイルがありません　新規作成ですか？"), driver.Shown()[1].text);
    EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION), driver.Shown()[1].messageBoxStyle);
    EXPECT_FALSE(Exists(created));
    EXPECT_STREQ(indexPath_, frame_->Settings().GetIndex());
    EXPECT_EQ(3, list_->GetEntryCount());
    driver.Expect(ChooseFile(other));
    Command(IDM_OPENLIST);
    EXPECT_EQ(other, frame_->Settings().GetIndex());
    EXPECT_EQ(std::vector<std::string>{"other"}, Names());
    EXPECT_EQ(0, list_->GetSelection());
    EXPECT_EQ(file_ + logs_.File("b.log"), Status()[0]);
    const std::string left = IndexBytes();  // written first, with the new SeenTime
    const size_t line = left.find(alpha_);
    EXPECT_NE(left.find(",0,0\r\n", line), left.find("\r\n", line) - 4) << left;
    driver.Expect(ChooseFile(created));
    driver.ExpectPress(IDOK);
    Command(IDM_OPENLIST);
    EXPECT_TRUE(Exists(created));
    EXPECT_EQ(created, frame_->Settings().GetIndex());
    EXPECT_EQ(0, list_->GetEntryCount());
    EXPECT_TRUE(Greyed(IDM_DELETELIST));
}

TEST_F(MainWindowTest, FailedLoadIsToldAndChangesWaitUntilALoadSucceeds) {
    PrepareThree();
    const std::string before = IndexBytes();
    HANDLE lock = CreateFileA(indexPath_, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DialogDriver driver;
    driver.ExpectPress(IDOK);
    StartProgram();
    EXPECT_EQ(Sjis(u8"ファイル読み込み中にエラーが発生しました") + "\r\n" + indexPath_, driver.Shown().at(0).text);
    EXPECT_GT(frame_->Settings().GetColumnStopCount(), 0);  // rows drawn later still have their stops
    // Adding is greyed too, and the command does nothing when sent: it could not be written back.
    EXPECT_TRUE(Greyed(IDM_ADDLIST));
    EXPECT_FALSE(SendMessageA(frame_->Toolbar(), TB_ISBUTTONENABLED, IDM_ADDLIST, 0));
    Command(IDM_ADDLIST);
    CloseHandle(lock);
    Key(WM_KEYDOWN, VK_F5);  // tries the load again
    EXPECT_EQ(3, list_->GetEntryCount());
    EXPECT_FALSE(Greyed(IDM_ADDLIST) || Greyed(IDM_EDITLIST));
    Stop();
    // Closing after a failed load leaves the entries that could not be read where they are.
    ASSERT_TRUE(WriteFileBytes(indexPath_, before));
    lock = CreateFileA(indexPath_, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    driver.ExpectPress(IDOK);
    StartProgram();
    CloseHandle(lock);
    Stop();
    EXPECT_EQ(before, IndexBytes());
}

}  // namespace
