// The list over a real main window: blank lines of the index file, files that are no list or hold
// more entries than a list, switching to another list, and deleting rows.
#include "frame_fixture.h"
#include "lib/common_dialogs.h"
#include "lib/file_reader.h"
#include "lib/owned.h"

using namespace testing_support;

namespace {

// The open-file dialog answers with this file.
std::string openAnswer;

BOOL WINAPI AnswerOpenFile(LPOPENFILENAMEA ofn) {
    lstrcpynA(ofn->lpstrFile, openAnswer.c_str(), ofn->nMaxFile);
    return TRUE;
}

ULONGLONG LastWrite(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return FileTimeValue(data.ftLastWriteTime);
}

void SetLastWrite(const std::string& path, ULONGLONG time) {
    const FILETIME t = {static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    OwnedFile file(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(file && SetFileTime(file.Get(), nullptr, nullptr, &t)) << path;
}

class ListWindowTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        previousOpenFile_ = SetOpenFileHook(AnswerOpenFile);
        a_ = IndexLine(logs_.File("a.log"), browser_, "a");
        b_ = IndexLine(logs_.File("b.log"), browser_, "b");
    }
    void TearDown() override {
        FrameTest::TearDown();
        SetOpenFileHook(previousOpenFile_);
    }
    // Two entries, a and b, whose logs exist.
    void StartTwo() {
        WriteLog(logs_.File("a.log"), LocalFileTime(2026, 3, 4));
        WriteLog(logs_.File("b.log"), LocalFileTime(2026, 1, 2));
        Start(a_ + b_);
    }
    std::string ReadFailed(const std::string& path) const {
        return Sjis("ファイル読み込み中にエラーが発生しました") + "\r\n" + path;
    }

    std::string a_, b_;  // the index lines of a and b
    // Files that are no list: binary with NUL bytes, and text without a line of the fields.
    const std::string notLists_[2] = {std::string("\x1f\x8b\x08\0\0\0\0\0\x03", 9), "12:00 start\r\n12:01 stop\r\n"};
    OpenFileFunction previousOpenFile_ = nullptr;
};

TEST_F(ListWindowTest, BlankLinesGiveNoRowsAndAreNotWrittenBack) {
    Start("\r\n" + a_ + " \t\r\n" + Sjis("　") + " \r\n" + b_ + "\r\n\r\n");
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), Names());
    Stop();
    EXPECT_EQ(a_ + b_, IndexBytes());
}

TEST_F(ListWindowTest, AFileThatIsNotAListFailsToLoadAtStartAndIsNeverWritten) {
    for (const std::string& bytes : notLists_) {
        DialogDriver driver;
        driver.ExpectPress(IDOK);
        Start(bytes);
        ASSERT_EQ(1u, driver.Shown().size());
        EXPECT_EQ(ReadFailed(indexPath_), driver.Shown()[0].text);
        EXPECT_EQ(0, list_->GetEntryCount());
        Stop();
        EXPECT_EQ(bytes, IndexBytes());
    }
}

TEST_F(ListWindowTest, OpeningAFileThatIsNotAListSaysSoAndKeepsTheListItsFileAndIndex) {
    StartTwo();
    list_->DeleteEntry(1);  // a change that a switch of lists would write first
    for (const std::string& bytes : notLists_) {
        openAnswer = logs_.File("other.dat");
        ASSERT_TRUE(WriteFileBytes(openAnswer, bytes));
        DialogDriver driver;
        driver.ExpectPress(IDOK);
        Command(IDM_OPENLIST);
        ASSERT_EQ(1u, driver.Shown().size());
        EXPECT_EQ(Sjis("目次テーブルファイルではないため開けません（今のリストをそのまま使います）") + "\r\n" + openAnswer,
                  driver.Shown()[0].text);
        EXPECT_EQ(std::make_pair(std::vector<std::string>{"a"}, std::string(indexPath_)),
                  std::make_pair(Names(), std::string(frame_->Settings().GetIndex())));
        EXPECT_EQ(std::make_pair(a_ + b_, bytes), std::make_pair(IndexBytes(), ReadFileBytes(openAnswer)));
    }
}

TEST_F(ListWindowTest, SwitchingListsWritesTheCurrentOneFirstOnlyWhenItChanged) {
    const ULONGLONG longAgo = FileTimeValue(LocalFileTime(2020, 1, 1));
    for (bool changed : {false, true}) {
        SCOPED_TRACE(changed);
        DeleteProgramSettings();
        StartTwo();
        SetLastWrite(indexPath_, longAgo);
        if (changed) Command(IDM_BROWSER);  // a's SeenTime is new
        openAnswer = logs_.File("other.dat");
        ASSERT_TRUE(WriteFileBytes(openAnswer, IndexLine(logs_.File("c.log"), browser_, "c")));
        Command(IDM_OPENLIST);
        EXPECT_EQ(std::make_pair(std::vector<std::string>{"c"}, openAnswer),
                  std::make_pair(Names(), std::string(frame_->Settings().GetIndex())));
        EXPECT_EQ(changed, IndexBytes() != a_ + b_);
        EXPECT_EQ(changed, LastWrite(indexPath_) != longAgo);
        Stop();
    }
}

TEST_F(ListWindowTest, AMillionLineIndexIsRefusedWithoutACrashAndLeftAsItIs) {
    const std::string index = Repeat("C:\\logs\\a.log,b.exe,a,0,0\r\n", 1000000);
    DialogDriver driver;
    driver.ExpectPress(IDOK);
    Start(index);
    ASSERT_EQ(1u, driver.Shown().size());
    EXPECT_EQ(ReadFailed(indexPath_), driver.Shown()[0].text);
    EXPECT_EQ(0, list_->GetEntryCount());
    Stop();
    EXPECT_TRUE(IndexBytes() == index);  // not EXPECT_EQ: a difference would print 27 MB
}

TEST_F(ListWindowTest, DeletingWritesTheListWithoutReadingItAgainAndLeavesTheCommandsAsTheyWere) {
    StartTwo();
    WriteLog(logs_.File("a.log"), LocalFileTime(2026, 5, 6));  // only a new read would show this date
    DialogDriver driver;
    driver.ExpectPress(IDOK);
    list_->Select(1);  // b, the bottom row
    Command(IDM_DELETELIST);
    EXPECT_EQ(std::make_pair(a_, -1), std::make_pair(IndexBytes(), list_->GetSelection()));
    EXPECT_NE(std::string::npos, std::string(Row(0).DisplayText).find("03/04"));
    driver.ExpectPress(IDOK);
    list_->Select(0);
    Command(IDM_DELETELIST);  // the last row
    EXPECT_EQ(std::make_pair(std::string(), 0), std::make_pair(IndexBytes(), list_->GetEntryCount()));
    EXPECT_TRUE(Greyed().empty());
}

}  // namespace
