// The list follows its logs while the window is open: a log written, made, deleted or renamed away
// reaches its row and the status bar without a command, nothing else moves, is repainted or is
// written, a new day re-expands the names with date macros, and the close ends the worker cleanly.
#include "frame_fixture.h"
#include "lib/core/local_time.h"
#include "lib/services/common_dialogs.h"
#include "loglist/log_watch.h"

using namespace testing_support;

namespace {

// The time the program's clock shows.
SYSTEMTIME clockShows = {};
SYSTEMTIME TestClock() { return clockShows; }

class LiveListTest : public FrameTest {
protected:
    // Rows a, b and c in this order: a and b over logs written on 2 January 2024 and opened on
    // 1 February, c over a missing log.
    void StartThree() {
        WriteLog(logs_.File("a.log"), LocalFileTime(2024, 1, 2));
        WriteLog(logs_.File("b.log"), LocalFileTime(2024, 1, 2));
        const FILETIME seen = LocalFileTime(2024, 2, 1);
        Start(IndexLine(logs_.File("a.log"), browser_, "a", seen) +
              IndexLine(logs_.File("b.log"), browser_, "b", seen) +
              IndexLine(logs_.File("c.log"), browser_, "c", seen));
    }
    void Select(int row) {
        list_->Select(row);
        Main().RefreshStatusBar();
    }
    bool RowShows(int row, const std::string& text) const { return text == Row(row).DisplayText; }
};

// What happens to a log, and what its row and the status bar show then.
struct LogEvent {
    const char* name;
    int row;
    void (*happen)(const std::string& log);
    const char* text;                // the row's text after
    const char *size, *date, *time;  // what the status bar shows after it: size, date, time
};

void Write(const std::string& log) { WriteLog(log, LocalFileTime(2024, 5, 6), "a longer line\r\n"); }
void Delete(const std::string& log) { DeleteFileA(log.c_str()); }
void RenameAway(const std::string& log) { MoveFileA(log.c_str(), (log + ".old").c_str()); }

class LogEventTest : public LiveListTest, public testing::WithParamInterface<LogEvent> {};

TEST_P(LogEventTest, ReachesTheRowAndTheStatusBarWithoutACommand) {
    const LogEvent& event = GetParam();
    StartThree();
    SendMessageA(list_->Control(), WM_KEYDOWN, event.row == 0 ? VK_HOME : VK_END, 0);
    const std::string log = logs_.File(event.row == 0 ? "a.log" : "c.log"), file = Sjis("》 ") + log;
    ASSERT_EQ(file, Status()[0]);  // the status bar follows a row chosen with the keys
    event.happen(log);
    EXPECT_TRUE(WaitUntil([&] { return RowShows(event.row, Sjis(event.text)); }, PM_REMOVE))
        << Row(event.row).DisplayText;
    EXPECT_EQ((std::vector<std::string>{file, event.size, event.date, event.time}), Status());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Events, LogEventTest, testing::Values(
    LogEvent{"Write", 0, Write, "未\t05/06\ta", "        15", " 2024/05/06", "  12:00:00"},
    LogEvent{"NewFile", 2, Write, "未\t05/06\tc", "        15", " 2024/05/06", "  12:00:00"},
    LogEvent{"Deletion", 0, Delete, "　\t**/**\ta", "         0", " ****/**/**", "   **:**:**"},
    LogEvent{"RenameAway", 0, RenameAway, "　\t**/**\ta", "         0", " ****/**/**", "   **:**:**"}),
    [](const testing::TestParamInfo<LogEvent>& info) { return info.param.name; });
// clang-format on

TEST_F(LiveListTest, LeavesTheIndexFileAsItWas) {
    StartThree();
    const std::string bytes = IndexBytes();
    const FileStatus written = ReadFileStatus(indexPath_);
    Write(logs_.File("a.log"));
    ASSERT_TRUE(WaitUntil([&] { return Row(0).FileSize == 15; }, PM_REMOVE));
    EXPECT_EQ(bytes, IndexBytes());
    EXPECT_TRUE(SameStatus(written, ReadFileStatus(indexPath_)));
}

TEST_F(LiveListTest, RowsSelectionAndScrollPositionStay) {
    WriteProgramDword("Main", "SortList", 1);  // newest first: a row that took its place would move up
    std::string index;
    for (int i = 0; i < 40; ++i) {
        const std::string log = logs_.File(std::to_string(i) + ".log");
        WriteLog(log, LocalFileTime(2024, 1, static_cast<WORD>(28 - i / 2)));
        index += IndexLine(log, browser_, std::to_string(i));
    }
    Start(index);
    MoveWindow(Main().Window(), 0, 0, 400, 300, TRUE);  // a list that scrolls
    Select(30);
    SendMessageA(list_->Control(), LB_SETTOPINDEX, 25, 0);
    ASSERT_EQ(25, SendMessageA(list_->Control(), LB_GETTOPINDEX, 0, 0));
    WriteLog(logs_.File("30.log"), LocalFileTime(2024, 5, 6));
    ASSERT_TRUE(WaitUntil([&] { return RowShows(30, Sjis("未\t05/06\t30")); }, PM_REMOVE)) << Row(30).DisplayText;
    EXPECT_EQ(30, list_->GetSelection());
    EXPECT_EQ(25, SendMessageA(list_->Control(), LB_GETTOPINDEX, 0, 0));
}

TEST_F(LiveListTest, RepaintsOnlyTheRowWhoseLogChanged) {
    StartThree();
    Select(0);
    RedrawWindow(Main().Window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);  // nothing left to paint
    WriteLog(logs_.File("b.log"), LocalFileTime(2024, 5, 6));
    ASSERT_TRUE(WaitUntil([&] { return RowShows(1, Sjis("未\t05/06\tb")); }, PM_REMOVE | PM_QS_POSTMESSAGE));
    RECT update = {}, row = {};
    GetUpdateRect(list_->Control(), &update, FALSE);
    SendMessageA(list_->Control(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    EXPECT_TRUE(EqualRect(&row, &update)) << update.top << ".." << update.bottom;
    EXPECT_FALSE(GetUpdateRect(Main().StatusBar(), nullptr, FALSE));
}

TEST_F(LiveListTest, AListOpenedLaterIsFollowed) {
    StartThree();
    WriteLog(logs_.File("d.log"), LocalFileTime(2024, 1, 2));  // a log of the other list alone
    fileDialog.file = logs_.File("other.dat");
    ASSERT_TRUE(WriteFileBytes(fileDialog.file, IndexLine(logs_.File("d.log"), browser_, "d")));
    Seam<OpenFileFunction>::Override answer{openFileSeam, AnswerFileDialog};
    Command(IDM_OPENLIST);
    WriteLog(logs_.File("d.log"), LocalFileTime(2024, 5, 6));
    EXPECT_TRUE(WaitUntil([&] { return RowShows(0, Sjis("未\t05/06\td")); }, PM_REMOVE)) << Row(0).DisplayText;
}

TEST_F(LiveListTest, AWriteReachesItsRowAfterABrowserStartMovedTheRows) {
    WriteProgramDword("Main", "SortList", 1);  // newest first
    WriteLog(logs_.File("a.log"), LocalFileTime(2024, 1, 2));
    WriteLog(logs_.File("b.log"), LocalFileTime(2024, 1, 1));
    Start(IndexLine(logs_.File("a.log"), browser_, "a") + IndexLine(logs_.File("b.log"), browser_, "b"));
    WriteLog(logs_.File("b.log"), LocalFileTime(2024, 5, 6));
    ASSERT_TRUE(WaitUntil([&] { return RowShows(1, Sjis("未\t05/06\tb")); }, PM_REMOVE)) << Row(1).DisplayText;
    Select(1);
    Command(IDM_BROWSER);  // the row of b goes to its place by date: the top
    ASSERT_EQ((std::vector<std::string>{"b", "a"}), Names());
    WriteLog(logs_.File("a.log"), LocalFileTime(2024, 5, 7));
    EXPECT_TRUE(WaitUntil([&] { return RowShows(1, Sjis("未\t05/07\ta")); }, PM_REMOVE)) << Row(1).DisplayText;
    EXPECT_TRUE(RowShows(0, Sjis("　\t05/06\tb"))) << Row(0).DisplayText;  // opened now
}

// The clock moves from 23:59:58.5 on 5 March 2024 to the next day; the day the name of app#$%.log
// then stands for in the status bar and its row.
struct DayCase {
    const char* name;
    bool automatic;   // MacroAuto
    bool timeChange;  // the clock was set and the system says so; else the timer finds midnight
    const char *log, *text;
};

class DayChangeTest : public LiveListTest, public testing::WithParamInterface<DayCase> {
protected:
    Seam<LocalClockFunction>::Override clock_{localClockSeam, TestClock};
};

TEST_P(DayChangeTest, ReexpandsNamesWithDateMacrosOnlyWithAutomaticMacros) {
    const DayCase& c = GetParam();
    clockShows = {2024, 3, 0, 5, 23, 59, 58, 500};
    WriteMacroTexts("24", "03", "05");
    WriteProgramDword("Main", "MacroAuto", c.automatic);
    WriteLog(logs_.File("app240305.log"), LocalFileTime(2024, 3, 5));
    WriteLog(logs_.File("app240306.log"), LocalFileTime(2024, 3, 6));
    Start(IndexLine(logs_.File("app#$%.log"), browser_, "app"));
    clockShows = {2024, 3, 0, 6, 0, 0, 1, 0};
    if (c.timeChange) SendMessageA(Main().Window(), WM_TIMECHANGE, 0, 0);
    const std::string file = Sjis("》 ") + logs_.File(c.log);
    EXPECT_TRUE(WaitUntil([&] { return Status()[0] == file && RowShows(0, Sjis(c.text)); }, PM_REMOVE))
        << Status()[0] << " " << Row(0).DisplayText;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Clocks, DayChangeTest, testing::Values(
    DayCase{"MidnightPasses", true, false, "app240306.log", "未\t03/06\tapp"},
    DayCase{"ClockSetForward", true, true, "app240306.log", "未\t03/06\tapp"},
    DayCase{"WithoutAutomaticMacros", false, true, "app240305.log", "未\t03/05\tapp"}),
    [](const testing::TestParamInfo<DayCase>& info) { return info.param.name; });
// clang-format on

TEST_F(LiveListTest, ClosingWhileTheWorkerReadsEndsItAndWritesTheList) {
    std::string index;  // 400 logs in 40 folders, which the worker has yet to watch and read at the close
    for (int i = 0; i < 400; ++i) {
        const std::string folder = logs_.File(std::to_string(i % 40));
        CreateDirectoryA(folder.c_str(), nullptr);
        char name[16];
        wsprintfA(name, "\\%03d.log", i);
        WriteLog(folder + name, LocalFileTime(2024, 1, 2));
        index += IndexLine(folder + name, browser_, name + 1);
    }
    Start(index);
    Stop();  // fails the test when the window does not close within ten seconds
    EXPECT_TRUE(index == IndexBytes());
    EXPECT_TRUE(WaitUntil([] { return LogWatch::RunningWorkers() == 0; }, PM_REMOVE));
}

}  // namespace
