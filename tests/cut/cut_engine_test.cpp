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

// The kind of one line as the loop finds it: scanned, then classified.
CutKind KindOf(const CutTable& table, const std::string& line) {
    ScannedLine scanned{line.data(), 0, 0, false, false};
    ScanLine(line.data(), line.data() + line.size(), true, &scanned);
    return ClassifyLine(table, scanned);
}

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

TEST(CutLines, AreClassifiedByTheFirstRuleThatAppliesAndRewrittenByteByByte) {
    CutTable table = TableOf("ERROR\r\n" + Sjis(u8"【デバッグ】") + "\r\n");
    const struct {
        std::string line;
        CutKind kind;
    } lines[] = {{"ERROR disk full", CutKind::Cut}, {"ERROR", CutKind::Cut},         {"ERRO", CutKind::Keep},
                 {" ERROR", CutKind::Keep},         {"error: x", CutKind::Keep},     {"disk ERROR", CutKind::Keep},
                 {Sjis(u8"【デバッグ】開始"), CutKind::Cut}, {"ERROR\b", CutKind::Cut}, {"ab\bc", CutKind::Bs},
                 {"abc\b", CutKind::Keep},         {"a\x05" "bc\b", CutKind::Ctrl}, {"a\x05\bc", CutKind::Bs},
                 {"a\x05", CutKind::Ctrl},          {"a\tb\x1b[0m", CutKind::Keep}, {"", CutKind::Keep}};
    for (const auto& c : lines) EXPECT_EQ(c.kind, KindOf(table, c.line)) << c.line;
    // The bytes after a line are never looked at, even where they would complete a cut string.
    EXPECT_EQ(CutKind::Keep, ClassifyLine(table, ScannedLine{"ERROR", 4, 0, false, false}));

    const struct {
        std::string in, bs, ctrl;  // the line, after BS removal, after 0x05 removal
    } rewrites[] = {{"ab\bc", "ac", "ab\bc"},
                    {"ab\b\bc", "c", "ab\b\bc"},
                    {"\bab", "ab", "\bab"},
                    {"ab\bc\b", "a", "ab\bc\b"},
                    {"a\x05\bc\x05", "ac\x05", "a\bc"},
                    {"\t\x05\x1b", "\t\x05\x1b", "\t\x1b"},
                    {"\x83\x5C\bX", "\x83X", "\x83\x5C\bX"}};  // a BS after ソ takes its second byte only
    for (const auto& c : rewrites) {
        std::string line = c.in;  // rewritten in place, as the engine does in its own buffer
        line.resize(RewriteLine(CutKind::Bs, &line[0], line.size()));
        EXPECT_EQ(c.bs, line) << c.in;
        line = c.in;
        line.resize(RewriteLine(CutKind::Ctrl, &line[0], line.size()));
        EXPECT_EQ(c.ctrl, line) << c.in;
    }
}

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

TEST(CutHelpers, BackupNamesQuestionsAndBarSteps) {
    char out[MAX_PATH];
    const struct {
        const char* path;
        const char* backup;  // null: none
    } backups[] = {{"C:\\logs\\app.log", "C:\\logs\\app.bak"}, {"C:\\logs.d\\app", "C:\\logs.d\\app.bak"},
                   {"C:\\a.b\\app.1.log", "C:\\a.b\\app.1.bak"}, {"C:\\\x83\x5C.d\\x", "C:\\\x83\x5C.d\\x.bak"},
                   {"C:\\logs\\app.Bak", nullptr},  // it would be its own backup
                   {"C:\\logs.bak\\app", "C:\\logs.bak\\app.bak"}};
    for (const auto& c : backups) {
        EXPECT_EQ(c.backup != nullptr, BackupName(c.path, out)) << c.path;
        if (c.backup) {
            EXPECT_STREQ(c.backup, out);
        }
    }
    EXPECT_FALSE(BackupName(("C:\\" + std::string(254, 'a')).c_str(), out));

    EXPECT_EQ("Q\r\n" + Sjis(u8"　「ab」"), FormatCutQuestion("Q", "ab\0cd", 5));
    std::string wide;
    for (int i = 0; i < 700; ++i) wide += Sjis(u8"あ");
    EXPECT_EQ("Q\r\n" + Sjis(u8"　「") + wide.substr(0, 1024) + "..." + Sjis(u8"」"),
              FormatCutQuestion("Q", wide.data(), wide.size()));

    EXPECT_EQ(1000u, ProgressUnit(65535000));
    for (unsigned long long total : {65536000ULL, 5000000000ULL}) {
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

TEST_F(CutFileTest, EndsLinesAtCrLfCrAndLfAndWritesCrLf) {
    const struct {
        std::string in, out;
    } files[] = {{"a\r\nERROR x\r\nb\r\n", "a\r\nb\r\n"},
                 {"a\nERROR x\nb\n", "a\r\nb\r\n"},
                 {"a\rERROR\rb\r", "a\r\nb\r\n"},
                 {"a\r\n\nERROR\r\r\nb\n\rc", "a\r\n\r\n\r\nb\r\n\r\nc\r\n"},
                 {"ERROR 1\r\nlast", "last\r\n"},  // a last line without its end
                 {"a\r\nERROR", "a\r\n"},
                 {"ERROR\r\nx\by\x05", "y\x05\r\n"},
                 {"k1\nERROR\nk2\r\n", "k1\r\nk2\r\n"}};
    for (const auto& f : files) {
        bool ok = false;
        EXPECT_EQ(f.out, Cut(f.in, "ERROR\r\n", &ok)) << f.in;
        EXPECT_TRUE(ok);
    }
    EXPECT_TRUE(host_.messages.empty());
}

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

TEST_F(CutFileTest, AFailedReplacementPutsTheLogBackWithOrWithoutABackup) {
    CutTable table = TableOf("ERROR\r\n");
    // A log named like a backup is cut without one: moved onto itself it would be lost.
    for (const char* name : {"app.log", "app.log", "old.Bak"}) {
        options_.backup = !options_.backup;
        const std::string path = folder_.File(name);
        WriteFileBytes(path, "ERROR 1\r\nb\r\n");
        host_.failCopy = true;
        host_.messages.clear();
        CutEngine run(table, options_, host_);
        EXPECT_TRUE(run.ProcessFile(path.c_str())) << name;  // the run goes on
        EXPECT_EQ("ERROR 1\r\nb\r\n", ReadFileBytes(path)) << name;
        EXPECT_EQ(std::vector<int>{22}, host_.messages) << name;
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(folder_.File("app.bak").c_str()));
        host_.failCopy = false;
        EXPECT_TRUE(run.ProcessFile(path.c_str()));
        EXPECT_EQ("b\r\n", ReadFileBytes(path)) << name;
        DeleteFileA(path.c_str());
        DeleteFileA(folder_.File("app.bak").c_str());
        EXPECT_EQ(0, FilesInFolder()) << name;  // nothing is left beside the log
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
