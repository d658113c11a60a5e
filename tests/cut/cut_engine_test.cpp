// The line engine of the cut: line rules, classification, rewriting and whole runs over temporary files.
#include "cut/cut_engine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "sjis.h"
#include "test_env.h"

using namespace testing_support;

namespace {

CutTable TableOf(const std::string& lines) {
    CutTable table;
    table.AddLines(lines.data(), lines.size());
    return table;
}

// Records what the run showed and answers the questions from a list (OK when it runs out).
class RecordingHost : public CutHost {
public:
    void ShowFile(const char* path, int placeCount) override {
        files.push_back(path);
        fileCounts.push_back(placeCount);
        if (onFile) onFile(files.size());
    }
    void ShowChange(CutKind kind, int placeCount) override {
        kinds.push_back(kind);
        counts.push_back(placeCount);
    }
    bool AskCut(const char* line, size_t length) override {
        questions.emplace_back(line, length);
        if (answers.empty()) return true;
        bool answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    void ShowMessage(int number) override { messages.push_back(number); }
    void ShowFileMessage(UINT textId, const char* path) override {
        fileMessages.push_back(textId);
        messagePaths.push_back(path);
    }
    void SetPosition(unsigned long long bytes) override { positions.push_back(bytes); }
    bool WriteWork(HANDLE file, const void* data, DWORD size) override {
        if (writeLimit >= 0 && written + size > static_cast<unsigned long long>(writeLimit)) return false;
        written += size;
        ++writeCalls;
        return CutHost::WriteWork(file, data, size);
    }
    // failCopy: the work file lies on another volume and the copy breaks off part way.
    bool MoveWork(const char* work, const char* log) override { return !failCopy && CutHost::MoveWork(work, log); }
    bool CopyWork(const char* work, const char* log) override {
        if (failCopy) {
            WriteFileBytes(log, "half");
            return false;
        }
        return CutHost::CopyWork(work, log);
    }

    std::vector<std::string> files;
    std::vector<int> fileCounts;
    std::vector<CutKind> kinds;
    std::vector<int> counts;
    std::vector<std::string> questions;
    std::vector<bool> answers;
    std::vector<int> messages;
    std::vector<UINT> fileMessages;
    std::vector<std::string> messagePaths;
    std::vector<unsigned long long> positions;
    std::function<void(size_t)> onFile;
    long long writeLimit = -1;
    unsigned long long written = 0;
    int writeCalls = 0;
    bool failCopy = false;
};

struct ClassifyCase {
    const char* name;
    std::string line;
    CutKind kind;
};

class ClassifyTest : public testing::TestWithParam<ClassifyCase> {};

TEST_P(ClassifyTest, DecidesByTheFirstRuleThatApplies) {
    CutTable table = TableOf("ERROR\r\n" + Sjis(u8"【デバッグ】") + "\r\n");
    EXPECT_EQ(GetParam().kind, ClassifyLine(table, GetParam().line.data(), GetParam().line.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ClassifyTest,
    testing::Values(ClassifyCase{"Begins", "ERROR disk full", CutKind::Cut},
                    ClassifyCase{"Alone", "ERROR", CutKind::Cut},
                    ClassifyCase{"ShorterThanString", "ERRO", CutKind::Keep},
                    ClassifyCase{"BlankBefore", " ERROR", CutKind::Keep},
                    ClassifyCase{"LowerCase", "error: x", CutKind::Keep},
                    ClassifyCase{"FurtherOn", "disk ERROR", CutKind::Keep},
                    ClassifyCase{"DoubleByte", Sjis(u8"【デバッグ】開始"), CutKind::Cut},
                    ClassifyCase{"CutBeforeBs", "ERROR\b", CutKind::Cut},
                    ClassifyCase{"BsInside", "ab\bc", CutKind::Bs},
                    ClassifyCase{"BsOnlyLast", "abc\b", CutKind::Keep},
                    ClassifyCase{"BsLastWith05", "a\x05" "bc\b", CutKind::Ctrl},
                    ClassifyCase{"BsAnd05", "a\x05\bc", CutKind::Bs},
                    ClassifyCase{"Ctrl", "a\x05", CutKind::Ctrl},
                    ClassifyCase{"TabEsc", "a\tb\x1b[0m", CutKind::Keep},
                    ClassifyCase{"Empty", "", CutKind::Keep}),
    [](const testing::TestParamInfo<ClassifyCase>& info) { return std::string(info.param.name); });

struct RewriteCase {
    const char* name;
    std::string in;
    std::string bs;    // after ApplyBackspaces
    std::string ctrl;  // after RemoveCtrl05
};

class RewriteTest : public testing::TestWithParam<RewriteCase> {};

TEST_P(RewriteTest, AppliesBackspacesAndDropsCtrl05) {
    const RewriteCase& c = GetParam();
    std::string out(c.in.size(), '\0');
    out.resize(ApplyBackspaces(c.in.data(), c.in.size(), &out[0]));
    EXPECT_EQ(c.bs, out);
    std::string inPlace = c.in;  // the engine rewrites lines in its own buffer
    inPlace.resize(ApplyBackspaces(inPlace.data(), inPlace.size(), &inPlace[0]));
    EXPECT_EQ(c.bs, inPlace);
    out.assign(c.in.size(), '\0');
    out.resize(RemoveCtrl05(c.in.data(), c.in.size(), &out[0]));
    EXPECT_EQ(c.ctrl, out);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, RewriteTest,
    testing::Values(RewriteCase{"OneBs", "ab\bc", "ac", "ab\bc"},
                    RewriteCase{"TwoBs", "ab\b\bc", "c", "ab\b\bc"},
                    RewriteCase{"LeadingBs", "\bab", "ab", "\bab"},
                    RewriteCase{"LastBsTakesPart", "ab\bc\b", "a", "ab\bc\b"},
                    RewriteCase{"Ctrl05StaysInBsLine", "a\x05\bc\x05", "ac\x05", "a\bc"},
                    RewriteCase{"TabEscStay", "\t\x05\x1b", "\t\x05\x1b", "\t\x1b"},
                    // ソ is 0x83 0x5C: a BS after it takes its second byte only
                    RewriteCase{"DoubleByteBeforeBs", "\x83\x5C\bX", "\x83X", "\x83\x5C\bX"}),
    [](const testing::TestParamInfo<RewriteCase>& info) { return std::string(info.param.name); });

TEST(CutTableTest, TakesEveryLineWholeAndSkipsEmptyOnes) {
    std::string longString(1000, 'L');
    std::string text = "\r\nA\r\n\r\nB\nC\r" + longString + "\n\n";
    for (int i = 0; i < 600; ++i) text += "S" + std::to_string(i) + "\r\n";
    text += "LAST";  // no line end
    CutTable table = TableOf(text);
    EXPECT_EQ(4u + 600u + 1u, table.Count());
    EXPECT_EQ(longString, table.String(3));
    for (const char* line : {"A1", "B", "C", "S599 x", "LASTLINE"}) EXPECT_TRUE(table.Matches(line, strlen(line))) << line;
    std::string almost(999, 'L');
    EXPECT_FALSE(table.Matches(almost.data(), almost.size()));
    EXPECT_TRUE(table.Matches((longString + "x").data(), 1001));
    EXPECT_FALSE(table.Matches("LAS", 3));
    EXPECT_FALSE(table.Matches("", 0));
    EXPECT_FALSE(table.Matches("x", 1));  // the empty lines cut nothing
}

TEST(CutTableTest, LoadsFilesAndReportsWhatCannotBeRead) {
    TempFolder folder;
    CutTable table;
    EXPECT_EQ(CutTableLoad::NoFile, LoadCutTable("", &table));
    EXPECT_EQ(CutTableLoad::Unreadable, LoadCutTable(folder.File("none.txt").c_str(), &table));
    WriteFileBytes(folder.File("empty.txt"), "");
    EXPECT_EQ(CutTableLoad::Ready, LoadCutTable(folder.File("empty.txt").c_str(), &table));
    EXPECT_EQ(0u, table.Count());
    // The largest file taken, its last line without a line end; one byte more is refused.
    std::string big;
    size_t lines = 0;
    for (; big.size() < kMaxProcedureFileBytes - 400; ++lines) {
        big += "key" + std::to_string(lines) + std::string(lines % 300, 'x') + "\r\n";
    }
    big += "last" + std::string(kMaxProcedureFileBytes - big.size() - 4, 'y');
    WriteFileBytes(folder.File("big.txt"), big);
    EXPECT_EQ(CutTableLoad::Ready, LoadCutTable(folder.File("big.txt").c_str(), &table));
    EXPECT_EQ(lines + 1, table.Count());
    std::string last = big.substr(big.rfind('\n') + 1) + " tail";
    EXPECT_TRUE(table.Matches(last.data(), last.size()));
    WriteFileBytes(folder.File("big.txt"), big + "y");
    EXPECT_EQ(CutTableLoad::Unreadable, LoadCutTable(folder.File("big.txt").c_str(), &table));
}

TEST(CutHelpersTest, BackupNameReplacesOnlyTheFileExtension) {
    char out[MAX_PATH];
    struct {
        const char* path;
        const char* backup;
    } cases[] = {{"C:\\logs\\app.log", "C:\\logs\\app.bak"},
                 {"C:\\logs.d\\app", "C:\\logs.d\\app.bak"},
                 {"C:\\a.b\\app.1.log", "C:\\a.b\\app.1.bak"},
                 {"C:\\\x83\x5C.d\\x", "C:\\\x83\x5C.d\\x.bak"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(BackupName(c.path, out)) << c.path;
        EXPECT_STREQ(c.backup, out);
    }
    std::string tooLong = "C:\\" + std::string(254, 'a');
    EXPECT_FALSE(BackupName(tooLong.c_str(), out));
    // A log named like a backup has none: it would be its own.
    EXPECT_FALSE(BackupName("C:\\logs\\app.bak", out));
    EXPECT_FALSE(BackupName("C:\\logs\\app.Bak", out));
    EXPECT_TRUE(BackupName("C:\\logs.bak\\app", out));
}

TEST(CutHelpersTest, QuestionShowsTheLineInBracketsShortenedAtACharacter) {
    std::string q = FormatCutQuestion("Q", "ab", 2);
    EXPECT_EQ("Q\r\n" + Sjis(u8"　「ab」"), q);
    std::string nul("ab\0cd", 5);
    EXPECT_EQ("Q\r\n" + Sjis(u8"　「ab」"), FormatCutQuestion("Q", nul.data(), nul.size()));
    std::string wide;
    for (int i = 0; i < 700; ++i) wide += Sjis(u8"あ");
    std::string shown = FormatCutQuestion("Q", wide.data(), wide.size());
    EXPECT_EQ("Q\r\n" + Sjis(u8"　「") + wide.substr(0, 1024) + "..." + Sjis(u8"」"), shown);
}

TEST(CutHelpersTest, ProgressUnitKeepsTheRangeIn16Bits) {
    EXPECT_EQ(1000u, ProgressUnit(0));
    EXPECT_EQ(1000u, ProgressUnit(65535000));
    for (unsigned long long total : {65536000ULL, 100000000ULL, 5000000000ULL}) {
        EXPECT_LE(total / ProgressUnit(total), 65535u) << total;
        EXPECT_GE(total / ProgressUnit(total), 65000u) << total;
    }
}

// One log file through the engine, with the string ERROR and no question.
class CutFileTest : public testing::Test {
protected:
    int FilesInFolder() const {
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA(folder_.File("*").c_str(), &found);
        int files = 0;
        if (find == INVALID_HANDLE_VALUE) return 0;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
        } while (FindNextFileA(find, &found));
        FindClose(find);
        return files;
    }
    std::string Cut(const std::string& content, const std::string& cutList = "ERROR\r\n", bool* ok = nullptr) {
        std::string path = folder_.File("app.log");
        WriteFileBytes(path, content);
        CutTable table = TableOf(cutList);
        CutEngine engine(table, options_, host_);
        engine.Begin(content.size());
        bool result = engine.ProcessFile(path.c_str());
        if (ok) *ok = result;
        return ReadFileBytes(path);
    }
    TempFolder folder_;
    CutOptions options_;
    RecordingHost host_;
};

struct LineEndCase {
    const char* name;
    std::string in;
    std::string out;
};

class LineEndTest : public CutFileTest, public testing::WithParamInterface<LineEndCase> {};

TEST_P(LineEndTest, EndsLinesAtCrLfCrAndLfAndWritesCrLf) {
    bool ok = false;
    EXPECT_EQ(GetParam().out, Cut(GetParam().in, "ERROR\r\n", &ok));
    EXPECT_TRUE(ok);
    EXPECT_TRUE(host_.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, LineEndTest,
    testing::Values(LineEndCase{"CrLf", "a\r\nERROR x\r\nb\r\n", "a\r\nb\r\n"},
                    LineEndCase{"Lf", "a\nERROR x\nb\n", "a\r\nb\r\n"},
                    LineEndCase{"LoneCr", "a\rERROR\rb\r", "a\r\nb\r\n"},
                    LineEndCase{"Mixed", "a\r\n\nERROR\r\r\nb\n\rc", "a\r\n\r\n\r\nb\r\n\r\nc\r\n"},
                    LineEndCase{"LastLineWithoutEnd", "ERROR 1\r\nlast", "last\r\n"},
                    LineEndCase{"LastLineCut", "a\r\nERROR", "a\r\n"},
                    LineEndCase{"LastLineCleaned", "ERROR\r\nx\by\x05", "y\x05\r\n"},
                    LineEndCase{"CrLfSplitNowhere", "a\r\r\n\r\nERROR\n", "a\r\n\r\n\r\n"},
                    LineEndCase{"OnlyChangedLinesTouched", "k1\nERROR\nk2\r\n", "k1\r\nk2\r\n"}),
    [](const testing::TestParamInfo<LineEndCase>& info) { return std::string(info.param.name); });

TEST_F(CutFileTest, KeepsLinesLongerThanAnyBlockWhole) {
    // Lines around and beyond the 1 MB block, with a CR LF split over the block edge.
    std::string big(CutEngine::kBlockSize - 1, 'k');
    std::string huge(3 * CutEngine::kBlockSize + 17, 'h');
    std::string cutHuge = "ERROR" + std::string(2 * CutEngine::kBlockSize, 'e');
    std::string bsHuge = std::string(CutEngine::kBlockSize + 5, 'b') + "\bZ";
    std::string in = big + "\r\n" + huge + "\n" + cutHuge + "\r\n" + bsHuge + "\r\nend";
    std::string expected =
        big + "\r\n" + huge + "\r\n" + std::string(CutEngine::kBlockSize + 4, 'b') + "Z\r\nend\r\n";
    std::string out = Cut(in);
    EXPECT_EQ(expected.size(), out.size());
    EXPECT_TRUE(expected == out);
    EXPECT_EQ((std::vector<CutKind>{CutKind::Cut, CutKind::Bs}), host_.kinds);
}

TEST_F(CutFileTest, NothingChangedLeavesBytesAndDateAndMakesNoBackup) {
    options_.backup = true;
    std::string content = "a\nb\rc\r\nno end";
    std::string path = folder_.File("app.log");
    WriteFileBytes(path, content);
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME old = {0x12345678, 0x01D00000};
    SetFileTime(h, nullptr, nullptr, &old);
    CloseHandle(h);
    CutTable table = TableOf("ERROR\r\n");
    CutEngine engine(table, options_, host_);
    EXPECT_TRUE(engine.ProcessFile(path.c_str()));
    EXPECT_EQ(content, ReadFileBytes(path));
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(old.dwLowDateTime, data.ftLastWriteTime.dwLowDateTime);
    EXPECT_EQ(old.dwHighDateTime, data.ftLastWriteTime.dwHighDateTime);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(folder_.File("app.bak").c_str()));
    // The empty file too.
    EXPECT_EQ("", Cut(""));
    EXPECT_TRUE(host_.kinds.empty());
}

TEST_F(CutFileTest, CancelKeepsTheLineExactlyAsRead) {
    options_.ask = true;
    host_.answers = {false, true};
    EXPECT_EQ("ERROR a\bb\x05\r\nkeep\r\n", Cut("ERROR a\bb\x05\nERROR 2\nkeep\n"));
    EXPECT_EQ((std::vector<std::string>{"ERROR a\bb\x05", "ERROR 2"}), host_.questions);
    EXPECT_EQ((std::vector<CutKind>{CutKind::Cut}), host_.kinds);
}

TEST_F(CutFileTest, ChangedLogIsReplacedAndTheBackupIsMadeOnceAndKeptOnTheNextRun) {
    EXPECT_EQ("a\r\n", Cut("ERROR 0\r\na\r\n"));
    EXPECT_EQ(1, FilesInFolder());  // nothing is left beside the log
    options_.backup = true;
    EXPECT_EQ("b\r\n", Cut("ERROR 1\r\nb\r\n"));
    EXPECT_EQ("ERROR 1\r\nb\r\n", ReadFileBytes(folder_.File("app.bak")));
    EXPECT_EQ(2, FilesInFolder());  // the log and its backup
    EXPECT_EQ("c\r\n", Cut("ERROR 2\r\nc\r\n"));
    EXPECT_EQ("ERROR 1\r\nb\r\n", ReadFileBytes(folder_.File("app.bak")));
    EXPECT_TRUE(host_.messages.empty());
}

TEST_F(CutFileTest, ALogNamedLikeABackupIsCutWithoutOneAndNeverDeleted) {
    options_.backup = true;
    const std::string path = folder_.File("old.Bak");
    WriteFileBytes(path, "ERROR 1\r\nb\r\n");
    CutTable table = TableOf("ERROR\r\n");
    CutEngine engine(table, options_, host_);
    host_.failCopy = true;  // the replacement fails: the log is put back, not lost as its own backup
    EXPECT_TRUE(engine.ProcessFile(path.c_str()));
    EXPECT_EQ("ERROR 1\r\nb\r\n", ReadFileBytes(path));
    EXPECT_EQ(std::vector<int>{22}, host_.messages);
    host_.failCopy = false;
    EXPECT_TRUE(engine.ProcessFile(path.c_str()));
    EXPECT_EQ("b\r\n", ReadFileBytes(path));
    EXPECT_EQ(1, FilesInFolder());
}

TEST_F(CutFileTest, FailedCopyBackPutsTheLogBack) {
    for (bool backup : {true, false}) {
        options_.backup = backup;
        host_.failCopy = true;
        host_.messages.clear();
        bool ok = false;
        EXPECT_EQ("ERROR 1\r\nb\r\n", Cut("ERROR 1\r\nb\r\n", "ERROR\r\n", &ok)) << backup;
        EXPECT_TRUE(ok);  // the run goes on
        EXPECT_EQ(std::vector<int>{22}, host_.messages);
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(folder_.File("app.bak").c_str()));
        EXPECT_EQ(1, FilesInFolder());  // nothing is left beside the log
    }
}

TEST_F(CutFileTest, WriteFailureLeavesTheLogUntouched) {
    std::string content;
    for (int i = 0; i < 50000; ++i) content += (i % 3 ? "keep line " : "ERROR line ") + std::to_string(i) + "\n";
    host_.writeLimit = 100000;  // a disk that fills up part way
    bool ok = true;
    EXPECT_EQ(content, Cut(content, "ERROR\r\n", &ok));
    EXPECT_FALSE(ok);
    EXPECT_EQ(std::vector<int>{25}, host_.messages);
}

TEST_F(CutFileTest, WritesInBlocksAndReportsOnlyNewBarPositions) {
    std::string content;
    for (int i = 0; i < 100000; ++i) content += "line " + std::to_string(i) + (i % 7 ? "\r\n" : "\n");
    std::string out = Cut(content);
    EXPECT_LT(host_.writeCalls, 10);
    ASSERT_FALSE(host_.positions.empty());
    EXPECT_LE(host_.positions.size(), content.size() / 1000 + 1);
    for (size_t i = 1; i < host_.positions.size(); ++i)
        EXPECT_GT(host_.positions[i] / 1000, host_.positions[i - 1] / 1000);
}

// Whole runs over several files, as the worker does them.
class CutRunTest : public testing::Test {
protected:
    std::vector<std::string> MakeFiles(int n) {
        std::vector<std::string> paths;
        for (int i = 1; i <= n; ++i) {
            paths.push_back(folder_.File("log" + std::to_string(i) + ".log"));
            WriteFileBytes(paths.back(), Original(i));
        }
        return paths;
    }
    static std::string Original(int i) { return "ERROR " + std::to_string(i) + "\r\nx\by\r\nkeep\r\n"; }
    static std::string Processed() { return "y\r\nkeep\r\n"; }
    TempFolder folder_;
    RecordingHost host_;
    CutOptions options_;
    CutTable table_ = TableOf("ERROR\n");
};

TEST_F(CutRunTest, StopDuringTheThirdFileLeavesItAndTheRestUntouched) {
    std::vector<std::string> paths = MakeFiles(5);
    volatile LONG stop = 0;
    options_.stop = &stop;
    host_.onFile = [&stop](size_t n) {
        if (n == 3) stop = 1;
    };
    CutEngine engine(table_, options_, host_);
    RunCut(engine, paths);
    EXPECT_EQ(Processed(), ReadFileBytes(paths[0]));
    EXPECT_EQ(Processed(), ReadFileBytes(paths[1]));
    for (int i = 3; i <= 5; ++i) EXPECT_EQ(Original(i), ReadFileBytes(paths[i - 1]));
    EXPECT_EQ(std::vector<int>{23}, host_.messages);
    EXPECT_EQ(3u, host_.files.size());
}

TEST_F(CutRunTest, MissingSecondFileEndsTheRunAndIsNamed) {
    std::vector<std::string> paths = MakeFiles(3);
    DeleteFileA(paths[1].c_str());
    CutEngine engine(table_, options_, host_);
    RunCut(engine, paths);
    EXPECT_EQ(Processed(), ReadFileBytes(paths[0]));
    EXPECT_EQ(Original(3), ReadFileBytes(paths[2]));
    EXPECT_EQ(std::vector<UINT>{IDS_ERR_CUTLOGOPEN}, host_.fileMessages);
    EXPECT_EQ(std::vector<std::string>{paths[1]}, host_.messagePaths);
}

TEST_F(CutRunTest, PlaceCountRunsOnAcrossFilesAndTheBarEndsAtTheTotal) {
    std::vector<std::string> paths = MakeFiles(3);
    CutEngine engine(table_, options_, host_);
    RunCut(engine, paths);
    EXPECT_EQ((std::vector<int>{0, 2, 4}), host_.fileCounts);
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5, 6}), host_.counts);
    EXPECT_EQ(6, engine.PlaceCount());
    unsigned long long total = 0;
    for (int i = 1; i <= 3; ++i) total += Original(i).size();
    ASSERT_FALSE(host_.positions.empty());
    EXPECT_EQ(total, host_.positions.back());
}

}  // namespace
