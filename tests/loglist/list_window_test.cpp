// The list over a real main window: blank lines of the index file, starting with or opening a file
// that is no list, switching to another list, the delete command, and the rows on screen.
#include "frame_fixture.h"
#include "lib/services/common_dialogs.h"
#include "loglist/file_status.h"
#include "loglist/index_file.h"

using namespace testing_support;

namespace {

class ListWindowTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        a_ = IndexLine(logs_.File("a.log"), browser_, "a");
        b_ = IndexLine(logs_.File("b.log"), browser_, "b");
        fileDialog.file = logs_.File("other.dat");
    }
    // The entries a and b, whose logs exist.
    void StartTwo() {
        WriteLog(logs_.File("a.log"), LocalFileTime(2026, 3, 4));
        WriteLog(logs_.File("b.log"), LocalFileTime(2026, 1, 2));
        Start(a_ + b_);
    }

    // The open-file dialog is the test's: the program needs no system dialog.
    Seam<OpenFileFunction>::Override openFile_{openFileSeam, AnswerFileDialog};
    RECT RowRect(int row) const {
        RECT r = {};
        SendMessageA(list_->Control(), LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    std::string a_, b_;  // the index lines of a and b
};

// A full list, beyond the 65,536 handles that movable blocks for its rows would have, with blank lines.
TEST_F(ListWindowTest, BlankLinesAreNeitherRowsNorWrittenBackNorCountedAgainstTheEntryLimit) {
    const std::string entries = Repeat(",,b,0,0\r\n", kIndexEntryLimit - 1);  // no log: quick to look at
    Start("\r\n" + a_ + " \t\r\n" + Sjis("　") + " \r\n" + entries + "\r\n\r\n");
    EXPECT_EQ(kIndexEntryLimit, list_->GetEntryCount());
    EXPECT_STREQ("a", Row(0).ListName);
    Stop();
    EXPECT_TRUE(a_ + entries == IndexBytes());  // not EXPECT_EQ: a difference would print megabytes
}

TEST_F(ListWindowTest, AFileThatIsNoListFailsTheLoadAtStartWithItsNameAndIsLeftAsItIs) {
    DialogDriver driver;
    driver.ExpectPress(IDOK);
    Start("started\r\nstopped\r\n");
    EXPECT_EQ(Sjis("リストを開く|ファイル読み込み中にエラーが発生しました\r\n") + indexPath_, driver.Box());
    EXPECT_EQ(0, list_->GetEntryCount());
    Stop();
    EXPECT_EQ("started\r\nstopped\r\n", IndexBytes());
}

TEST_F(ListWindowTest, OpeningAFileThatIsNoListSaysSoAndKeepsTheListItsFileAndIndex) {
    StartTwo();
    list_->DeleteEntry(1);  // a change that a switch of lists would write first
    // Which files are no list is the index file's rule; here one of each kind: bytes and text.
    for (const std::string& bytes : {std::string("\x1f\x8b\x08\0\0\0", 6), std::string("one, two\r\n")}) {
        ASSERT_TRUE(WriteFileBytes(fileDialog.file, bytes));
        DialogDriver driver;
        driver.ExpectPress(IDOK);
        Command(IDM_OPENLIST);
        EXPECT_EQ(Sjis("リストを開く|目次テーブルファイルではないため開けません（今のリストをそのまま使います）\r\n") +
                      fileDialog.file,
                  driver.Box());
        EXPECT_EQ(std::make_pair(std::vector<std::string>{"a"}, std::string(indexPath_)),
                  std::make_pair(Names(), std::string(frame_->Settings().GetIndex())));
        EXPECT_EQ(std::make_pair(a_ + b_, bytes), std::make_pair(IndexBytes(), ReadFileBytes(fileDialog.file)));
    }
}

TEST_F(ListWindowTest, SwitchingListsWritesTheCurrentOneFirstOnlyWhenItChanged) {
    for (bool changed : {false, true}) {
        DeleteProgramSettings();
        StartTwo();
        const FileStatus written = ReadFileStatus(indexPath_);
        Sleep(20);
        if (changed) Command(IDM_BROWSER);  // a's SeenTime is new
        ASSERT_TRUE(WriteFileBytes(fileDialog.file, IndexLine(logs_.File("c.log"), browser_, "c")));
        Command(IDM_OPENLIST);
        EXPECT_EQ(std::make_pair(std::vector<std::string>{"c"}, fileDialog.file),
                  std::make_pair(Names(), std::string(frame_->Settings().GetIndex())));
        EXPECT_EQ(std::pair(changed, changed),
                  std::pair(IndexBytes() != a_ + b_, !SameStatus(ReadFileStatus(indexPath_), written)));
        Stop();
    }
}

TEST_F(ListWindowTest, DeleteAsksThenWritesWithoutReadingAgainAndKeepsTheRowNumberAndTheCommands) {
    StartTwo();
    DialogDriver driver;
    driver.ExpectPress(IDCANCEL);
    Command(IDM_DELETELIST);
    EXPECT_EQ(std::make_pair(Sjis("選択されているリストを削除しても宜しいですか？"), 2),
              std::make_pair(driver.Shown()[0].text, list_->GetEntryCount()));
    EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL | MB_ICONEXCLAMATION), driver.Shown()[0].messageBoxStyle);
    driver.ExpectPress(IDOK);
    Command(IDM_DELETELIST);  // a, in row 0
    EXPECT_EQ(std::make_pair(b_, 0), std::make_pair(IndexBytes(), list_->GetSelection()));
    driver.ExpectPress(IDOK);
    Command(IDM_DELETELIST);  // the last row: a list read again would grey the commands
    EXPECT_EQ(std::make_pair(std::string(), -1), std::make_pair(IndexBytes(), list_->GetSelection()));
    EXPECT_TRUE(Greyed().empty());
}

TEST_F(ListWindowTest, TheSelectedRowIsDrawnInHighlightColoursAndTheOthersInTheListColour) {
    const COLORREF ink = RGB(200, 0, 100);
    WriteProgramDword("ListFont", "cfColors", ink);
    StartTwo();  // a is selected
    const std::set<COLORREF> selected = ColoursIn(list_->Control(), RowRect(0));
    const std::set<COLORREF> other = ColoursIn(list_->Control(), RowRect(1));
    EXPECT_TRUE(selected.count(GetSysColor(COLOR_HIGHLIGHT)) && selected.count(GetSysColor(COLOR_HIGHLIGHTTEXT)));
    EXPECT_TRUE(other.count(GetSysColor(COLOR_WINDOW)) && other.count(ink) &&
                !other.count(GetSysColor(COLOR_HIGHLIGHT)));
}

TEST_F(ListWindowTest, EachColumnOfARowStartsAtItsStopOnScreen) {
    for (const char* name : {"DispMark", "DispDate"}) WriteProgramDword("Main", name, 0);
    WriteProgramDword("Main", "TabStop", 10);
    WriteProgramDword("Main", "SortList", 1);  // missing logs all compare equal: the file's order
    Start(IndexLine("C:\\a.log", "b.exe", "B") + IndexLine("C:\\a.log", "b.exe", "|B") +
          IndexLine("C:\\a.log", "b.exe", "||B"));
    list_->Select(-1);
    const int w = FontMetrics(list_->Control()).tmAveCharWidth;
    for (int row = 0; row < 3; ++row) {
        const int ink = FirstInkColumn(list_->Control(), RowRect(row), GetSysColor(COLOR_WINDOW));
        EXPECT_TRUE(ink >= row * 10 * w && ink < row * 10 * w + w) << row << ": " << ink << ", w " << w;
    }
}

}  // namespace
