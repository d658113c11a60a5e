// The cut in real windows: the ProgressBarEx in the progress dialog, CUTPREBOX and a run from command
// 15 to 16 in a running main window, OPTIONBOX2 with its edit button, and a run ended from outside.
#include <cstdio>
#include <optional>
#include <tuple>

#include "cut/cut_commands.h"
#include "cut/log_cut_dialog.h"
#include "cut/log_cut_file.h"
#include "frame_fixture.h"
#include "lib/progress_bar.h"
#include "lib/services/common_dialogs.h"
#include "lib/services/progress_bar_ex.h"

using namespace testing_support;

namespace {

TEST(ProgressPaint, PercentOfTheRangeAndAFillThatStaysInTheBar) {
    // clang-format off
    const struct {
        unsigned minimum, maximum, position, percent;
        int fill;  // of a 202-pixel-wide bar
    } cases[] = {{0, 200, 50, 25, 202 * 25 / 100 - 2}, {0, 100, 150, 150, 200}, {0, 100, 1, 1, 0},
                 {0, 0, 5, 100, 200},                  {7, 7, 7, 0, 0},          {10, 110, 60, 60, 107}};
    // clang-format on
    for (const auto& c : cases) {
        ProgressPaint p = ComputeProgressPaint(c.minimum, c.maximum, c.position, 202);
        EXPECT_EQ(c.percent, p.percent) << c.minimum << ".." << c.maximum << " at " << c.position;
        EXPECT_EQ(c.fill, p.fill) << c.minimum << ".." << c.maximum << " at " << c.position;
    }
}

COLORREF Pixel(HWND w, int x, int y) {
    WindowDC dc(w);
    return GetPixel(dc.Get(), x, y);
}

bool Filled(HWND bar, int x) { return Pixel(bar, x, 2) == GetSysColor(COLOR_HIGHLIGHT); }

TEST(LogCutDialogTest, LaysTheBarOverItsPlaceholderPaintsItAtOnceAndStopsOnce) {
    LogCutDialog dialog;
    ASSERT_NE(nullptr, dialog.Show(GetModuleHandleA(nullptr), nullptr));
    HWND bar = dialog.Bar();
    int frame[4], place[4];
    GetDlgItemRect(dialog.Window(), IDC_CUT_BARFRAME, frame);
    GetDlgItemRect(dialog.Window(), IDC_CUT_BAR, place);
    EXPECT_EQ(bar, GetDlgItem(dialog.Window(), IDC_CUT_BAR));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(frame[i], place[i]);
    ASSERT_GT(frame[2], 20);
    dialog.SetFile("C:\\logs\\a.log", 7);
    EXPECT_EQ("   7", DialogDriver::ItemText(dialog.Window(), IDC_CUT_COUNT));
    // Painted at once, no WM_PAINT needed: the fill up to its computed edge, "25%" across it and
    // the sunken edge.
    dialog.SetRange(0, 200000, 1);
    dialog.SetPosition(50000);
    const int fill = ComputeProgressPaint(0, 200, 50, frame[2]).fill;
    EXPECT_TRUE(Filled(bar, fill));
    EXPECT_FALSE(Filled(bar, fill + 2));
    EXPECT_GT(ColoursIn(bar, {1, 1, frame[2] - 1, frame[3] - 1}).size(), 2u);  // the text besides fill and face
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), Pixel(bar, 0, frame[3] / 2));
    EXPECT_FALSE(dialog.Stopped());
    SendMessageA(dialog.Window(), WM_COMMAND, IDCANCEL, 0);
    SendMessageA(dialog.Window(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(1, *dialog.StopFlag());
    dialog.Close();
    EXPECT_EQ(nullptr, dialog.Window());
}

// What the worker's message boxes showed, with the progress dialog's fields at the time; each is
// answered OK on the worker thread, after pressing 中断 when the test asks for it.
struct WorkerBox {
    std::string text, caption;
    UINT style;
    bool mainEnabled;
    std::string file, kind, count;
};
std::vector<WorkerBox> workerBoxes;
bool pressStopAtBox = false;

int WINAPI RecordBox(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
    WorkerBox box{text, caption, style, IsWindowEnabled(owner) != 0, "", "", ""};
    auto* frame = reinterpret_cast<KelvoraFrame*>(GetWindowLongPtrA(owner, 0));
    if (LogCutFile* run = frame ? frame->Window()->Cut().Running() : nullptr) {
        HWND dialog = run->Progress().Window();
        box.file = DialogDriver::ItemText(dialog, IDC_CUT_FILENAME);
        box.kind = DialogDriver::ItemText(dialog, IDC_CUT_KIND);
        box.count = DialogDriver::ItemText(dialog, IDC_CUT_COUNT);
        if (pressStopAtBox) SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
    workerBoxes.push_back(box);
    return IDOK;
}

// Two entries, the first named with a date macro; a run over all entries without questions.
class CutWindowTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        workerBoxes.clear();
        pressStopAtBox = false;
        cutList_ = logs_.File("cut.txt");
        WriteFileBytes(cutList_, "ERROR\r\n");
        WriteProgramDword("Main", "MacroAuto", 0);
        WriteProgramText("Main", "MacroYear", "26");
        std::string index;
        for (const char* name : {"a#.log", "b.log"}) {
            WriteFileBytes(LogOf(name), Original(name));
            index += IndexLine(logs_.File(name), "notepad.exe", name);
        }
        Start(index);
        Environ& s = frame_->Settings();
        s.Cut().SetCutFile(cutList_.c_str());
        s.Cut().SetCutMode(1);
        s.Cut().SetCutCheck(0);
        s.SetBakFile(0);
    }
    // The log file of a list name, its date macro expanded.
    std::string LogOf(const std::string& name) { return logs_.File(name == "a#.log" ? "a26.log" : name); }
    static std::string Original(const std::string& name) { return "x\bkeep " + name + "\r\nERROR 1\r\nlast\n"; }
    // Starts a run through the confirmation, which answer sees first, and pumps until command 16
    // has tidied it up; StartCut only starts it.
    bool RunCut(DialogDriver& driver, std::function<void(HWND)> answer) {
        StartCut(driver, std::move(answer));
        for (int i = 0; i < 500 && Main().Cut().Running(); ++i) PumpMessages(10);
        PumpMessages(20);
        return Main().Cut().Running() == nullptr;
    }
    void StartCut(DialogDriver& driver, std::function<void(HWND)> answer) {
        driver.Expect(std::move(answer));
        driver.Expect([](HWND) {});  // the modeless progress dialog
        Command(IDM_CUT);
    }
    Environ& Settings() { return frame_->Settings(); }

    Seam<CutMessageBoxFunction>::Override boxes_{cutMessageBoxSeam, RecordBox};
    std::string cutList_;
};

TEST_F(CutWindowTest, ARunOverAllEntriesCutsEveryLogToTheEndAndReloadsTheList) {
    DialogDriver driver;
    ASSERT_TRUE(RunCut(driver, [](HWND dialog) {
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, IDC_CUT_ALL));
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, IDC_CUT_NOCHECK));
        DialogDriver::Press(dialog, IDOK);
    }));
    EXPECT_EQ(std::make_pair(size_t{2}, size_t{0}), std::make_pair(driver.Shown().size(), workerBoxes.size()));
    EXPECT_EQ(std::make_pair(std::string("keep a#.log\r\nlast\r\n"), std::string("keep b.log\r\nlast\r\n")),
              std::make_pair(ReadFileBytes(LogOf("a#.log")), ReadFileBytes(LogOf("b.log"))));
    EXPECT_EQ(std::make_pair(true, 1),
              std::make_pair(IsWindowEnabled(Main().Window()) != 0, Settings().Cut().GetCutMode()));
    // The list was read again: the rows show the new sizes.
    EXPECT_EQ(std::make_pair(DWORD{19}, DWORD{18}), std::make_pair(Row(0).FileSize, Row(1).FileSize));
}

TEST_F(CutWindowTest, FilesLeftAloneKeepTheirBytesAndAreNamedUnderTheirReasonsInOneBoxAtTheEnd) {
    const std::string utf16 = "\xFF\xFE\x05\x30\x08\x30";  // 〈 holds a BS byte
    WriteFileBytes(LogOf("b.log"), utf16);
    SetFileAttributesA(LogOf("a#.log").c_str(), FILE_ATTRIBUTE_READONLY);
    DialogDriver driver;
    const bool ended = RunCut(driver, [](HWND dialog) { DialogDriver::Press(dialog, IDOK); });
    const DWORD attributes = GetFileAttributesA(LogOf("a#.log").c_str());
    SetFileAttributesA(LogOf("a#.log").c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(ended);
    EXPECT_EQ(std::make_tuple(utf16, Original("a#.log"), static_cast<DWORD>(FILE_ATTRIBUTE_READONLY)),
              std::make_tuple(ReadFileBytes(LogOf("b.log")), ReadFileBytes(LogOf("a#.log")),
                              attributes & ~FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_EQ(1u, workerBoxes.size());
    EXPECT_EQ(Sjis(u8"次のファイルはテキストのログではないため、カットせずにそのまま残しました：") + "\r\n" +
                  LogOf("b.log") + "\r\n\r\n" +
                  Sjis(u8"次のファイルは読み取り専用のため、カットせずにそのまま残しました：") + "\r\n" +
                  LogOf("a#.log"),
              workerBoxes[0].text);
}

TEST_F(CutWindowTest, TheSelectedEntryWithQuestionsStopsWithMessage23AndLeavesItsLog) {
    pressStopAtBox = true;
    Main().List().Select(1);  // b.log
    DialogDriver driver;
    ASSERT_TRUE(RunCut(driver, [](HWND dialog) {  // for this run only
        CheckRadioButton(dialog, IDC_CUT_SELECTED, IDC_CUT_ALL, IDC_CUT_SELECTED);
        CheckRadioButton(dialog, IDC_CUT_CHECK, IDC_CUT_NOCHECK, IDC_CUT_CHECK);
        DialogDriver::Press(dialog, IDOK);
    }));
    // The question, asked while the main window was disabled and the dialog showed the run; the
    // stop pressed meanwhile ends the run before the next line.
    ASSERT_EQ(2u, workerBoxes.size());
    const WorkerBox& q = workerBoxes[0];
    EXPECT_EQ(Sjis(u8"以下の文字列を含む行をカットします。よろしいですか？") + "\r\n" + Sjis(u8"　「ERROR 1」"),
              q.text);
    EXPECT_EQ(std::make_tuple(Sjis(u8"指定文字列カット処理"), static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION), false),
              std::make_tuple(q.caption, q.style, q.mainEnabled));
    EXPECT_EQ((std::vector<std::string>{LogOf("b.log"), Sjis(u8"BSコード除去"), "1"}),
              (std::vector<std::string>{q.file, q.kind, q.count}));
    EXPECT_EQ(Sjis(u8"カット処理を中断します"), workerBoxes[1].text);
    for (const char* name : {"a#.log", "b.log"}) EXPECT_EQ(Original(name), ReadFileBytes(LogOf(name)));
    // The stored choices are back.
    EXPECT_EQ(std::make_pair(1, 0), std::make_pair(Settings().Cut().GetCutMode(), Settings().Cut().GetCutCheck()));
    EXPECT_EQ(1, Main().List().GetSelection());
}

TEST_F(CutWindowTest, AbandonedOrUnreadableProcedureFileStartsNoRun) {
    DialogDriver driver;
    driver.ExpectPress(IDCANCEL);
    Command(IDM_CUT);
    EXPECT_EQ(nullptr, Main().Cut().Running());
    driver.Expect([](HWND dialog) {
        CheckRadioButton(dialog, IDC_CUT_CHECK, IDC_CUT_NOCHECK, IDC_CUT_CHECK);
        DialogDriver::Press(dialog, IDOK);
    });
    DeleteFileA(cutList_.c_str());
    Command(IDM_CUT);
    EXPECT_EQ(nullptr, Main().Cut().Running());
    ASSERT_EQ(1u, workerBoxes.size());
    EXPECT_EQ(Sjis(u8"カット手順ファイルが読み込めません") + "\r\n" + cutList_, workerBoxes[0].text);
    EXPECT_EQ(0, Settings().Cut().GetCutCheck());  // the choice was for the run that did not start
    EXPECT_TRUE(IsWindowEnabled(Main().Window()));
}

TEST_F(CutWindowTest, OptionBoxStoresItsFourValuesOnlyOnOk) {
    const std::string chosen = logs_.File("other list.txt");
    for (int button : {IDCANCEL, IDOK}) {
        DialogDriver driver;
        driver.Expect([&](HWND dialog) {
            EXPECT_EQ(std::make_tuple(cutList_, BST_CHECKED, BST_CHECKED, BST_UNCHECKED),
                      std::make_tuple(
                          DialogDriver::ItemText(dialog, IDC_CUTFILE), IsDlgButtonChecked(dialog, IDC_CUT_ALL),
                          IsDlgButtonChecked(dialog, IDC_CUT_NOCHECK), IsDlgButtonChecked(dialog, IDC_CUT_BAKFILE)));
            SetDlgItemTextA(dialog, IDC_CUTFILE, chosen.c_str());
            CheckRadioButton(dialog, IDC_CUT_SELECTED, IDC_CUT_ALL, IDC_CUT_SELECTED);
            CheckRadioButton(dialog, IDC_CUT_CHECK, IDC_CUT_NOCHECK, IDC_CUT_CHECK);
            CheckDlgButton(dialog, IDC_CUT_BAKFILE, BST_CHECKED);
            DialogDriver::Press(dialog, button);
        });
        Command(IDM_CUTOPTION);
    }
    EXPECT_EQ(
        std::make_tuple(chosen, 0, 1, 1, 1u),  // BakFile written at once
        std::make_tuple(std::string(Settings().Cut().GetCutFile()), Settings().Cut().GetCutMode(),
                        Settings().Cut().GetCutCheck(), Settings().GetBakFile(), ProgramDword("Main", "BakFile")));
}

TEST_F(CutWindowTest, EditButtonOpensTheFieldsFileInTheEditorOrSaysWhyNot) {
    const std::string nowhere = "C:\\no\\such\\editor.exe";
    const char* file = "C:\\a b\\cut.txt";
    // The editor, the procedure file typed into the field, and what 編集 then says ("": the editor starts).
    const std::tuple<std::string, const char*, const char*> cases[] = {
        {"", file, u8"エディタが設定されていません"},
        {nowhere, "", u8"手順ファイルが指定されていません"},
        {nowhere, file, u8"エディタの起動に失敗しました"},
        {browser_, file, ""}};
    for (const auto& [editor, typed, text] : cases) {
        Settings().SetEditor(editor.c_str());
        DialogDriver driver;
        driver.Expect([typed = typed](HWND dialog) {
            SetDlgItemTextA(dialog, IDC_CUTFILE, typed);
            SendMessageA(dialog, WM_COMMAND, IDC_CUT_EDIT, 0);  // a box it shows is answered meanwhile
            DialogDriver::Press(dialog, IDCANCEL);
        });
        if (*text) driver.ExpectPress(IDOK);
        Command(IDM_CUTOPTION);
        EXPECT_EQ(*text ? Sjis(u8"エディタの起動|") + Sjis(text) : "", driver.Box(1));
    }
    EXPECT_NE(std::string::npos, Started().find("\"" + std::string(file) + "\"\r\n"));  // as one argument
}

TEST_F(CutWindowTest, ARunWithBackupsKeepsEachOriginalAsItsBakFile) {
    Settings().SetBakFile(1);
    DialogDriver driver;
    ASSERT_TRUE(RunCut(driver, [](HWND dialog) { DialogDriver::Press(dialog, IDOK); }));
    EXPECT_EQ(Original("a#.log"), ReadFileBytes(logs_.File("a26.bak")));
    EXPECT_EQ(Original("b.log"), ReadFileBytes(logs_.File("b.bak")));
}

TEST_F(CutWindowTest, OptionBoxBrowsePutsTheChosenFileInTheFieldForOkToStore) {
    Seam<OpenFileFunction>::Override answer(openFileSeam, AnswerFileDialog);
    fileDialog.file = logs_.File("other.txt");
    Answer(IDM_CUTOPTION, IDOK, [&](HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDC_CUT_BROWSE, 0); });
    EXPECT_EQ(fileDialog.file, Settings().Cut().GetCutFile());
    EXPECT_EQ(Sjis(u8"カット手順ファイルの設定|手順ﾌｧｲﾙ (*.TXT)|*.txt|すべてのﾌｧｲﾙ (*.*)|*.*"), fileDialog.shown);
}

// ---- a run ended from outside ----

// The first question is answered OK at once; the second comes up as a real box on the worker
// thread, for the ending to close.
volatile LONG questionsAsked = 0;
int WINAPI AskSecondForReal(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
    if (InterlockedIncrement(&questionsAsked) == 1) return IDOK;
    return MessageBoxA(owner, text, caption, style);
}

// clang-format off
struct OutsideCall { HWND window; UINT message; WPARAM wParam; DWORD_PTR result; DWORD elapsedMs; };
// clang-format on

DWORD WINAPI SendCall(void* param) {
    auto* call = static_cast<OutsideCall*>(param);
    const DWORD start = GetTickCount();
    if (!SendMessageTimeoutA(call->window, call->message, call->wParam, 0, SMTO_NORMAL, 10000, &call->result)) {
        std::fprintf(stderr, "message %u was not answered within 10 s: the program hangs\n", call->message);
        ExitProcess(3);
    }
    call->elapsedMs = GetTickCount() - start;
    return 0;
}

// Sends a message as another program would, from another thread, while this thread handles it.
OutsideCall SendFromOutside(HWND window, UINT message, WPARAM wParam) {
    OutsideCall call{window, message, wParam, 0, 0};
    HANDLE thread = CreateThread(nullptr, 0, SendCall, &call, 0, nullptr);
    while (WaitForSingleObject(thread, 0) == WAIT_TIMEOUT) PumpMessages(10);
    CloseHandle(thread);
    return call;
}

// How a run is ended from outside: the user closes the window, the session ends, or command 16
// comes while the worker still runs.
// clang-format off
struct Ending { UINT message; WPARAM wParam; };
// clang-format on
const Ending kClose{WM_CLOSE, 0}, kQueryEnd{WM_QUERYENDSESSION, 0}, kEnd{WM_ENDSESSION, TRUE};

// A run over both logs that asks, for this run only, before each cut: the question for the second
// log shows as a real box on the worker thread when the run is ended.
class CutEndingTest : public CutWindowTest, public testing::WithParamInterface<Ending> {
protected:
    void StartUntilTheQuestion(DialogDriver& driver) {
        questionsAsked = 0;
        asking_.emplace(cutMessageBoxSeam, AskSecondForReal);
        StartCut(driver, [](HWND dialog) {
            CheckRadioButton(dialog, IDC_CUT_CHECK, IDC_CUT_NOCHECK, IDC_CUT_CHECK);
            DialogDriver::Press(dialog, IDOK);
        });
        for (int i = 0; i < 500 && !question_; ++i) {
            PumpMessages(10);
            question_ = FindWindowA("#32770", Sjis(u8"指定文字列カット処理").c_str());
        }
        ASSERT_NE(nullptr, question_) << "no question for b.log";
    }
    OutsideCall End(Ending e) { return SendFromOutside(Main().Window(), e.message, e.wParam); }
    // Changes that only writes put right: a row gone in memory, stale settings in the registry.
    void MakeWritesVisible() {
        list_->DeleteEntry(0);  // a#.log; the worker has its paths already
        Settings().SetTabStop(7);
        WriteProgramDword("Main", "TabStop", 1);
        WriteProgramDword("ListFont", "cfColors", 0x123456);
        WriteProgramDword("Extent", "CutCheck", 1);
    }
    // The list and every setting are written, CutCheck with the user's own choice (no question) again.
    void ExpectEverythingWritten() {
        EXPECT_EQ(std::make_pair(std::string::npos, true),
                  std::make_pair(IndexBytes().find("a#.log"), IndexBytes().find("b.log") != std::string::npos));
        EXPECT_EQ(7u, ProgramDword("Main", "TabStop"));
        EXPECT_NE(0x123456u, ProgramDword("ListFont", "cfColors"));
        EXPECT_EQ(0u, ProgramDword("Extent", "CutCheck"));
    }
    HWND question_ = nullptr;
    std::optional<Seam<CutMessageBoxFunction>::Override> asking_;
};

TEST_P(CutEndingTest, StopsAtTheQuestionLeavingTheFirstLogCutTheSecondWholeAndNoWorkFile) {
    DialogDriver driver;
    StartUntilTheQuestion(driver);
    const UINT m = GetParam().message;
    if (m != WM_QUERYENDSESSION && m != WM_ENDSESSION) driver.ExpectPress(IDOK);  // カット処理を中断します
    End(GetParam());
    EXPECT_FALSE(IsWindow(question_));
    if (m == WM_CLOSE) frame_.reset();  // its WM_QUIT went to the pump
    for (int i = 0; i < 500 && frame_ && Main().Cut().Running(); ++i) PumpMessages(10);
    EXPECT_EQ("keep a#.log\r\nlast\r\n", ReadFileBytes(LogOf("a#.log")));
    EXPECT_EQ(Original("b.log"), ReadFileBytes(LogOf("b.log")));
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(logs_.File("LG*.tmp").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, find) << "left behind: " << found.cFileName;
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
}

INSTANTIATE_TEST_SUITE_P(Endings, CutEndingTest,
                         testing::Values(kClose, kQueryEnd, kEnd, Ending{WM_COMMAND, IDM_CUTDONE}));

class WritesFirstTest : public CutEndingTest {};

// A session end is answered within a second and shows no box; only the user who closed the window
// hears that the run was stopped, and only once the list and the settings are written.
TEST_P(WritesFirstTest, TheListAndEverySettingAreWrittenBeforeAnythingWaits) {
    DialogDriver driver;  // a box that was not asked for fails the test
    StartUntilTheQuestion(driver);
    MakeWritesVisible();
    const bool close = GetParam().message == WM_CLOSE;
    if (close) {
        driver.Expect([&](HWND box) {
            ExpectEverythingWritten();
            DialogDriver::Press(box, IDOK);
        });
    }
    EXPECT_LT(End(GetParam()).elapsedMs, 1000u);
    ExpectEverythingWritten();
    EXPECT_EQ(close ? 3u : 2u, driver.Shown().size());
    if (close) frame_.reset();
}

INSTANTIATE_TEST_SUITE_P(Endings, WritesFirstTest, testing::Values(kClose, kQueryEnd, kEnd));

}  // namespace
