// The list follows its logs while the window is open: a log written, made, deleted or renamed away
// reaches its row and the status bar without a command, nothing else moves, is repainted or is
// written, a new day re-expands the names with date macros, and the close ends the worker cleanly.
#include "frame_fixture.h"
#include "lib/core/local_time.h"
#include "lib/services/common_dialogs.h"
#include "loglist/log_watch.h"

using namespace testing_support;

namespace {

// A change shows well within this; every wait of these tests ends after it.
constexpr DWORD kWaitMs = 3000;

// The time the program's clock shows.
SYSTEMTIME clockShows = {};
SYSTEMTIME TestClock() { return clockShows; }

// The open-file dialog answers with this file.
std::string openAnswer;

BOOL WINAPI AnswerOpenFile(LPOPENFILENAMEA ofn) {
    return lstrcpynA(ofn->lpstrFile, openAnswer.c_str(), ofn->nMaxFile) != nullptr;
}

// Dispatches this thread's messages, or with posted only its posted ones (no painting), until done
// holds; false when it did not within kWaitMs.
template <class Done>
bool PumpUntil(Done done, bool posted = false) {
    for (const DWORD start = GetTickCount(); !done(); Sleep(5)) {
        if (GetTickCount() - start > kWaitMs) return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE | (posted ? PM_QS_POSTMESSAGE : 0))) {
            DispatchMessageA(&msg);
        }
    }
    return true;
}

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
    void (*happen)(const TempFolder& logs);
    const char* text;                // the row's text after
    const char *size, *date, *time;  // the status bar's parts 1 to 3 after
};

void WriteA(const TempFolder& logs) { WriteLog(logs.File("a.log"), LocalFileTime(2024, 5, 6), "a longer line\r\n"); }
void MakeC(const TempFolder& logs) { WriteLog(logs.File("c.log"), LocalFileTime(2024, 5, 6), "a longer line\r\n"); }
void DeleteA(const TempFolder& logs) { DeleteFileA(logs.File("a.log").c_str()); }
void RenameAAway(const TempFolder& logs) { MoveFileA(logs.File("a.log").c_str(), logs.File("a.old").c_str()); }

class LogEventTest : public LiveListTest, public testing::WithParamInterface<LogEvent> {};

TEST_P(LogEventTest, ReachesTheRowAndTheStatusBarWithoutACommand) {
    const LogEvent& event = GetParam();
    StartThree();
    Select(event.row);
    event.happen(logs_);
    EXPECT_TRUE(PumpUntil([&] { return RowShows(event.row, Sjis(event.text)); })) << Row(event.row).DisplayText;
    const std::string file = Sjis("》 ") + logs_.File(event.row == 0 ? "a.log" : "c.log");
    EXPECT_EQ((std::vector<std::string>{file, event.size, event.date, event.time}), Status());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Events, LogEventTest, testing::Values(
    LogEvent{"Write", 0, WriteA, "未\t05/06\ta", "        15", " 2024/05/06", "  12:00:00"},
    LogEvent{"NewFile", 2, MakeC, "未\t05/06\tc", "        15", " 2024/05/06", "  12:00:00"},
    LogEvent{"Deletion", 0, DeleteA, "　\t**/**\ta", "         0", " ****/**/**", "   **:**:**"},
    LogEvent{"RenameAway", 0, RenameAAway, "　\t**/**\ta", "         0", " ****/**/**", "   **:**:**"}),
    [](const testing::TestParamInfo<LogEvent>& info) { return info.param.name; });
// clang-format on

TEST_F(LiveListTest, LeavesTheIndexFileAsItWas) {
    StartThree();
    const std::string bytes = IndexBytes();
    const FileStatus written = ReadFileStatus(indexPath_);
    WriteA(logs_);
    ASSERT_TRUE(PumpUntil([&] { return Row(0).FileSize == 15; }));
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
    ASSERT_TRUE(PumpUntil([&] { return RowShows(30, Sjis("未\t05/06\t30")); })) << Row(30).DisplayText;
    EXPECT_EQ(30, list_->GetSelection());
    EXPECT_EQ(25, SendMessageA(list_->Control(), LB_GETTOPINDEX, 0, 0));
}

TEST_F(LiveListTest, RepaintsOnlyTheRowWhoseLogChanged) {
    StartThree();
    Select(0);
    RedrawWindow(Main().Window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);  // nothing left to paint
    WriteLog(logs_.File("b.log"), LocalFileTime(2024, 5, 6));
    ASSERT_TRUE(PumpUntil([&] { return RowShows(1, Sjis("未\t05/06\tb")); }, true));
    RECT update = {}, row = {};
    GetUpdateRect(list_->Control(), &update, FALSE);
    SendMessageA(list_->Control(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    EXPECT_TRUE(EqualRect(&row, &update)) << update.top << ".." << update.bottom;
    EXPECT_FALSE(GetUpdateRect(Main().StatusBar(), nullptr, FALSE));
}

TEST_F(LiveListTest, AListOpenedLaterIsFollowed) {
    StartThree();
    WriteLog(logs_.File("d.log"), LocalFileTime(2024, 1, 2));  // a log of the other list alone
    openAnswer = logs_.File("other.dat");
    ASSERT_TRUE(WriteFileBytes(openAnswer, IndexLine(logs_.File("d.log"), browser_, "d")));
    Seam<OpenFileFunction>::Override answer{openFileSeam, AnswerOpenFile};
    Command(IDM_OPENLIST);
    WriteLog(logs_.File("d.log"), LocalFileTime(2024, 5, 6));
    EXPECT_TRUE(PumpUntil([&] { return RowShows(0, Sjis("未\t05/06\td")); })) << Row(0).DisplayText;
}

TEST_F(LiveListTest, AWriteReachesItsRowAfterABrowserStartMovedTheRows) {
    WriteProgramDword("Main", "SortList", 1);  // newest first
    WriteLog(logs_.File("a.log"), LocalFileTime(2024, 1, 2));
    WriteLog(logs_.File("b.log"), LocalFileTime(2024, 1, 1));
    Start(IndexLine(logs_.File("a.log"), browser_, "a") + IndexLine(logs_.File("b.log"), browser_, "b"));
    WriteLog(logs_.File("b.log"), LocalFileTime(2024, 5, 6));
    ASSERT_TRUE(PumpUntil([&] { return RowShows(1, Sjis("未\t05/06\tb")); })) << Row(1).DisplayText;
    Select(1);
    Command(IDM_BROWSER);  // the row of b goes to its place by date: the top
    ASSERT_EQ((std::vector<std::string>{"b", "a"}), Names());
    WriteLog(logs_.File("a.log"), LocalFileTime(2024, 5, 7));
    EXPECT_TRUE(PumpUntil([&] { return RowShows(1, Sjis("未\t05/07\ta")); })) << Row(1).DisplayText;
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
    WriteProgramDword("Main", "MacroAuto", c.automatic);
    const std::pair<const char*, const char*> macros[] = {{"MacroYear", "24"}, {"MacroMon", "03"}, {"MacroDay", "05"}};
    for (const auto& [name, text] : macros) WriteProgramText("Main", name, text);
    WriteLog(logs_.File("app240305.log"), LocalFileTime(2024, 3, 5));
    WriteLog(logs_.File("app240306.log"), LocalFileTime(2024, 3, 6));
    Start(IndexLine(logs_.File("app#$%.log"), browser_, "app"));
    clockShows = {2024, 3, 0, 6, 0, 0, 1, 0};
    if (c.timeChange) SendMessageA(Main().Window(), WM_TIMECHANGE, 0, 0);
    const std::string file = Sjis("》 ") + logs_.File(c.log);
    EXPECT_TRUE(PumpUntil([&] { return Status()[0] == file && RowShows(0, Sjis(c.text)); }))
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
    EXPECT_TRUE(PumpUntil([] { return LogWatch::RunningWorkers() == 0; }));
}

}  // namespace
