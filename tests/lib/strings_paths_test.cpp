// Tests of the string and path helpers, above all with Shift-JIS characters whose second byte is a separator.
#include "lib/strings_paths.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "test_env.h"

// Shift-JIS characters whose second byte is also a separator or delimiter.
#define SO "\x83\x5C"   // ソ: second byte is a backslash
#define HYO "\x95\x5C"  // 表: second byte is a backslash
#define PO "\x83\x7C"   // ポ: second byte is a vertical bar
#define KA "\x83\x4A"   // カ: an ordinary double-byte character
#define XYA "\x82\xE1"  // ゃ

namespace {

using PathFunction = int(WINAPI*)(LPCSTR, LPSTR);

// Output buffers are 260 bytes; the test buffer has guard bytes after them.
constexpr size_t kGuard = 40;
struct Guarded {
    char bytes[MAX_PATH + kGuard];
    Guarded() { memset(bytes, 0x7F, sizeof bytes); }
    bool Intact(size_t from = MAX_PATH) const {
        for (size_t i = from; i < sizeof bytes; ++i)
            if (bytes[i] != 0x7F) return false;
        return true;
    }
};

// True when text does not end in the middle of a double-byte character.
bool EndsOnCharacter(const char* text) {
    size_t i = 0;
    size_t len = strlen(text);
    while (i < len) i += IsMultiByteChar(text + i) ? 2 : 1;
    return i == len && (len == 0 || !IsDBCSLeadByte(static_cast<BYTE>(text[len - 1])) ||
                        (len >= 2 && IsMultiByteChar(text + len - 2)));
}

struct ScanCase {
    const char* function;
    PathFunction call;
    const char* path;
    const char* expected;
};

void PrintTo(const ScanCase& c, std::ostream* os) { *os << c.function << "(" << testing::PrintToString(c.path) << ")"; }

class LastSeparatorScan : public testing::TestWithParam<ScanCase> {};

TEST_P(LastSeparatorScan, FindsTheRealSeparatorOnly) {
    const ScanCase& c = GetParam();
    Guarded out;
    int len = c.call(c.path, out.bytes);
    EXPECT_STREQ(out.bytes, c.expected);
    EXPECT_EQ(len, static_cast<int>(strlen(c.expected)));
    EXPECT_TRUE(out.Intact(strlen(c.expected) + 1));
}

TEST_P(LastSeparatorScan, WorksInPlace) {
    const ScanCase& c = GetParam();
    char buffer[MAX_PATH];
    strcpy(buffer, c.path);
    c.call(buffer, buffer);
    EXPECT_STREQ(buffer, c.expected);
}

#define CASE(f, path, expected) ScanCase{#f, f, path, expected}
INSTANTIATE_TEST_SUITE_P(
    PathParts, LastSeparatorScan,
    testing::Values(
        CASE(GetPathName, "C:\\Logs\\app.log", "C:\\Logs\\"),
        CASE(GetPathName, "C:\\" SO "ft\\a.log", "C:\\" SO "ft\\"),
        CASE(GetPathName, SO "\\a.log", SO "\\"),
        CASE(GetPathName, "C:\\a\\" SO, "C:\\a\\"),
        CASE(GetPathName, "C:\\a\\" HYO HYO, "C:\\a\\"),
        CASE(GetPathName, HYO, ""),
        CASE(GetPathName, "app.log", ""),
        CASE(GetPathName, "", ""),
        CASE(GetFileName, "C:\\Logs\\app.log", "app.log"),
        CASE(GetFileName, "C:app.log", "app.log"),
        CASE(GetFileName, "C:\\" SO "ft", SO "ft"),
        CASE(GetFileName, SO "\\" HYO, HYO),
        CASE(GetFileName, "C:\\a\\b" SO, "b" SO),
        CASE(GetFileName, "app.log", "app.log"),
        CASE(GetFileName, SO, SO),
        CASE(GetFileName, "C:\\Logs\\", ""),
        CASE(GetPathNameOnly, "C:\\Logs\\app.log", "C:\\Logs\\app"),
        CASE(GetPathNameOnly, "C:\\Logs.old\\app", "C:\\Logs"),
        CASE(GetPathNameOnly, "C:\\" SO "\\" HYO ".log", "C:\\" SO "\\" HYO),
        CASE(GetPathNameOnly, "C:\\Logs\\app", "C:\\Logs\\app"),
        CASE(GetPathNameOnly, ".log", ""),
        CASE(GetFileNameOnly, "app.tar.gz", "app.tar"),
        CASE(GetFileNameOnly, SO ".txt", SO),
        CASE(GetFileNameOnly, "README", "README"),
        CASE(GetFileNameExt, "C:\\a\\b.tar.gz", "gz"),
        CASE(GetFileNameExt, "C:\\a\\b." SO, SO),
        CASE(GetFileNameExt, "C:\\a\\b", ""),
        CASE(GetFileNameExt, "b.", "")));

class LongInput : public testing::TestWithParam<PathFunction> {};

TEST_P(LongInput, IsCutToAPathBufferOnACharacterBoundary) {
    // An odd start, so that a cut at 259 bytes would fall inside a character.
    std::string path = "C:\\a";
    for (int i = 0; i < 140; ++i) path += SO;
    path += "\\";
    for (int i = 0; i < 140; ++i) path += HYO;
    path += ".";
    for (int i = 0; i < 140; ++i) path += KA;
    Guarded out;
    int len = GetParam()(path.c_str(), out.bytes);
    EXPECT_LE(len, 259);
    EXPECT_GE(len, 0);
    EXPECT_EQ(len, static_cast<int>(strlen(out.bytes)));
    EXPECT_TRUE(EndsOnCharacter(out.bytes));
    EXPECT_TRUE(out.Intact());
    EXPECT_GE(len, 250);
    EXPECT_NE(path.find(out.bytes), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(PathParts, LongInput,
                         testing::Values(GetPathName, GetFileName, GetPathNameOnly, GetFileNameExt, GetFileNameOnly));

TEST(IsMultiByteChar, NeedsALeadByteAndAUsableSecondByte) {
    EXPECT_EQ(IsMultiByteChar(SO), 1);
    EXPECT_EQ(IsMultiByteChar("\xE0\x40"), 1);
    EXPECT_EQ(IsMultiByteChar("\x83"), 0);      // second byte is the NUL
    EXPECT_EQ(IsMultiByteChar("\x83\xFF"), 0);  // 0xFF is never a second byte here
    EXPECT_EQ(IsMultiByteChar("\xB1\x5C"), 0);  // half-width katakana is single-byte
    EXPECT_EQ(IsMultiByteChar("\\"), 0);
    EXPECT_EQ(IsMultiByteChar(""), 0);
    EXPECT_EQ(IsMultiByteChar(nullptr), 0);
}

struct SplitCase {
    const char* path;
    const char* drive;
    const char* dir;
    const char* name;
    const char* ext;
};

class SplitPathTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitPathTest, GivesFourDefinedParts) {
    const SplitCase& c = GetParam();
    char drive[3 + kGuard], dir[MAX_PATH], name[MAX_PATH], ext[MAX_PATH];
    memset(drive, 0x7F, sizeof drive);
    SplitPath(c.path, drive, dir, name, ext);
    EXPECT_STREQ(drive, c.drive);
    EXPECT_STREQ(dir, c.dir);
    EXPECT_STREQ(name, c.name);
    EXPECT_STREQ(ext, c.ext);
    for (size_t i = 3; i < sizeof drive; ++i) EXPECT_EQ(drive[i], 0x7F);
}

INSTANTIATE_TEST_SUITE_P(PathParts, SplitPathTest,
                         testing::Values(SplitCase{"C:\\Logs\\app.log", "C:", "\\Logs\\", "app", "log"},
                                         SplitCase{"C:\\" SO "\\" HYO ".b.c", "C:", "\\" SO "\\", HYO ".b", "c"},
                                         SplitCase{"C:\\Logs.old\\app", "C:", "\\Logs.old\\", "app", ""},
                                         SplitCase{"Logs\\app.log", "", "Logs\\", "app", "log"},
                                         SplitCase{"app", "", "", "app", ""},
                                         SplitCase{"C:", "C:", "", "", ""},
                                         SplitCase{"C:app.", "C:", "", "app", ""},
                                         SplitCase{"a", "", "", "a", ""},
                                         SplitCase{"", "", "", "", ""},
                                         SplitCase{SO ":x", "", "", SO ":x", ""}));

struct CopyCase {
    const char* src;
    int delimiter;
    int max;
    const char* expected;
};

class DelimitedCopy : public testing::TestWithParam<CopyCase> {};

TEST_P(DelimitedCopy, StopsAtTheRealDelimiterOrTheLimit) {
    const CopyCase& c = GetParam();
    Guarded out;
    int len = lstrxcpy(out.bytes, c.src, c.delimiter, c.max);
    EXPECT_STREQ(out.bytes, c.expected);
    EXPECT_EQ(len, static_cast<int>(strlen(c.expected)));
    EXPECT_TRUE(out.Intact(c.max + 1));
}

INSTANTIATE_TEST_SUITE_P(Lstrxcpy, DelimitedCopy,
                         testing::Values(CopyCase{"name,C:\\x.log,...", ',', 260, "name"},
                                         CopyCase{",x", ',', 260, ""},
                                         CopyCase{"", ',', 260, ""},
                                         CopyCase{PO "|b", '|', 260, PO},
                                         CopyCase{"a" PO PO "|b", '|', 260, "a" PO PO},
                                         CopyCase{"ab" PO, '|', 260, "ab" PO},
                                         CopyCase{SO "\\x", '\\', 260, SO},
                                         CopyCase{"C:\\" SO, '\\', 260, "C:"},
                                         CopyCase{"abcdef", ',', 3, "abc"},
                                         CopyCase{"ab" SO "c", ',', 3, "ab"},
                                         CopyCase{"ab" SO "c", ',', 4, "ab" SO},
                                         CopyCase{SO SO, '\\', 3, SO},
                                         CopyCase{"abc", ',', 0, ""}));

struct TrimCase {
    int (WINAPI* call)(LPSTR, LPCSTR, int);
    const char* src;
    int limit;
    const char* expected;
};

class TrimmedCopy : public testing::TestWithParam<TrimCase> {};

TEST_P(TrimmedCopy, DropsTrailingPadAndKeepsWithinLimitPlusOne) {
    const TrimCase& c = GetParam();
    Guarded out;
    int len = c.call(out.bytes, c.src, c.limit);
    EXPECT_STREQ(out.bytes, c.expected);
    EXPECT_EQ(len, static_cast<int>(strlen(c.expected)));
    EXPECT_TRUE(out.Intact(c.limit + 2));
}

INSTANTIATE_TEST_SUITE_P(Trim, TrimmedCopy,
                         testing::Values(TrimCase{lstrcpyspc, "abc   ", 10, "abc"},
                                         TrimCase{lstrcpyspc, "abcdef", 2, "abc"},
                                         TrimCase{lstrcpyspc, XYA " ", 10, XYA},
                                         TrimCase{lstrcpyspc, "   ", 10, ""},
                                         TrimCase{lstrcpyspc, "a b ", 10, "a b"},
                                         TrimCase{lstrcpyspc, "a" SO "b", 1, "a"},
                                         TrimCase{lstrcpyspc, SO " ", 0, ""},
                                         TrimCase{lstrcpyzc, "1.500", 10, "1.5"},
                                         TrimCase{lstrcpyzc, "100", 10, "1"},
                                         TrimCase{lstrcpyzc, "000", 10, ""},
                                         TrimCase{lstrcpyzc, "2.0" KA "00", 10, "2.0" KA}));

struct ArgCase {
    const char* line;
    int count;
    std::vector<std::string> arguments;
};

class CommandLine : public testing::TestWithParam<ArgCase> {};

TEST_P(CommandLine, CountsAndPicksTheSameArguments) {
    const ArgCase& c = GetParam();
    EXPECT_EQ(GetCountArgument(c.line), c.count);
    for (int i = 0; i < c.count + 2; ++i) {
        Guarded out;
        EXPECT_EQ(GetArgumentFileName(c.line, i, out.bytes), 1);
        EXPECT_STREQ(out.bytes, i < c.count ? c.arguments[i].c_str() : "") << "argument " << i;
        EXPECT_TRUE(out.Intact());
    }
}

INSTANTIATE_TEST_SUITE_P(Arguments, CommandLine,
                         testing::Values(ArgCase{"", 0, {}},
                                         ArgCase{"a b", 2, {"a", "b"}},
                                         ArgCase{"a  b", 3, {"a", "", "b"}},
                                         ArgCase{"a ", 1, {"a"}},
                                         ArgCase{"\"C:\\a b\\x.exe\" -f", 2, {"\"C:\\a b\\x.exe\"", "-f"}},
                                         ArgCase{"\"" SO " " HYO "\" " PO, 2, {"\"" SO " " HYO "\"", PO}},
                                         ArgCase{"x\"a b\"y z", 2, {"x\"a b\"y", "z"}}));

TEST(CommandLine, AnOverlongArgumentIsCutAndTheNextOneStillFound) {
    std::string line = "ab";  // 259 bytes would end inside a character
    for (int i = 0; i < 150; ++i) line += SO;
    line += " next";
    Guarded out;
    GetArgumentFileName(line.c_str(), 0, out.bytes);
    EXPECT_EQ(strlen(out.bytes), 258u);
    EXPECT_TRUE(EndsOnCharacter(out.bytes));
    EXPECT_TRUE(out.Intact());
    GetArgumentFileName(line.c_str(), 1, out.bytes);
    EXPECT_STREQ(out.bytes, "next");
    EXPECT_EQ(GetArgumentFileName(line.c_str(), -1, out.bytes), 1);
    EXPECT_STREQ(out.bytes, "");
}

TEST(CommandLine, StringArgCopyKeepsQuotesAndCharacters) {
    struct {
        const char* src;
        int max;
        const char* expected;
    } cases[] = {{"\"C:\\a b\\x.exe\" -f", 260, "\"C:\\a b\\x.exe\""},
                 {"a b", 260, "a"},
                 {"abc", 2, "ab"},
                 {"a" SO " x", 260, "a" SO},
                 {"a" SO, 2, "a"},
                 {"\"a", 260, "\"a"}};
    for (const auto& c : cases) {
        Guarded out;
        EXPECT_EQ(StringArgCopy(out.bytes, c.src, c.max), static_cast<int>(strlen(c.expected)));
        EXPECT_STREQ(out.bytes, c.expected);
        EXPECT_TRUE(out.Intact(c.max + 1));
    }
}

struct SeparateCase {
    const char* line;
    const char* program;
    const char* params;
};

class Separate : public testing::TestWithParam<SeparateCase> {};

TEST_P(Separate, SplitsProgramAndParameters) {
    const SeparateCase& c = GetParam();
    Guarded program, params;
    SeparatePath(c.line, program.bytes, params.bytes);
    EXPECT_STREQ(program.bytes, c.program);
    EXPECT_STREQ(params.bytes, c.params);
    SeparatePath(c.line, program.bytes, nullptr);
    EXPECT_STREQ(program.bytes, c.program);
}

INSTANTIATE_TEST_SUITE_P(SeparatePath, Separate,
                         testing::Values(SeparateCase{"\"C:\\a b\\x.exe\" -f", "C:\\a b\\x.exe", "-f"},
                                         SeparateCase{"\"C:\\x.exe\"", "C:\\x.exe", ""},
                                         SeparateCase{"\"C:\\x.exe\" ", "C:\\x.exe", ""},
                                         SeparateCase{"\"C:\\x.exe", "C:\\x.exe", ""},
                                         SeparateCase{"notepad.exe a.txt b", "notepad.exe", "a.txt b"},
                                         SeparateCase{"notepad.exe", "notepad.exe", ""},
                                         SeparateCase{"\"C:\\" SO "\\" PO ".exe\" " HYO, "C:\\" SO "\\" PO ".exe", HYO}));

TEST(Quotes, SetAndDeleteTheEnclosingQuotes) {
    struct {
        void(WINAPI* call)(LPCSTR, LPSTR);
        const char* src;
        const char* expected;
    } cases[] = {{SetSeparateSymbol, "C:\\a b", "\"C:\\a b\""},
                 {SetSeparateSymbol, "\"x\"", "\"x\""},
                 {SetSeparateSymbol, "", "\"\""},
                 {DelSeparateSymbol, "\"x\"", "x"},
                 {DelSeparateSymbol, "x", "x"},
                 {DelSeparateSymbol, "\"", ""},
                 {DelSeparateSymbol, "\"\"", ""},
                 {DelSeparateSymbol, "\"" SO, SO},
                 {DelSeparateSymbol, "\"C:\\" HYO "\"", "C:\\" HYO}};
    for (const auto& c : cases) {
        Guarded out;
        c.call(c.src, out.bytes);
        EXPECT_STREQ(out.bytes, c.expected) << c.src;
    }
}

TEST(Quotes, LongTextsStayWithinAPathBuffer) {
    std::string text = "a";
    for (int i = 0; i < 200; ++i) text += SO;
    Guarded quoted, plain;
    SetSeparateSymbol(text.c_str(), quoted.bytes);
    size_t len = strlen(quoted.bytes);
    EXPECT_LE(len, 259u);
    EXPECT_EQ(quoted.bytes[0], '"');
    EXPECT_EQ(quoted.bytes[len - 1], '"');
    quoted.bytes[len - 1] = '\0';
    EXPECT_TRUE(EndsOnCharacter(quoted.bytes + 1));
    EXPECT_TRUE(quoted.Intact());
    DelSeparateSymbol(("\"" + text + "\"").c_str(), plain.bytes);
    EXPECT_LE(strlen(plain.bytes), 259u);
    EXPECT_TRUE(EndsOnCharacter(plain.bytes));
    EXPECT_TRUE(plain.Intact());
}

TEST(FileParam, SplitsAtTheFirstSpace) {
    struct {
        const char* line;
        const char* program;
        const char* param;
    } cases[] = {{"notepad.exe a b", "notepad.exe", "a b"},
                 {"x", "x", ""},
                 {SO " " HYO, SO, HYO},
                 {" a", "", "a"},
                 {"\"a b\" c", "\"a", "b\" c"}};
    for (const auto& c : cases) {
        Guarded program, param;
        GetFileParam(c.line, program.bytes, param.bytes);
        EXPECT_STREQ(program.bytes, c.program);
        EXPECT_STREQ(param.bytes, c.param);
    }
    std::string longLine = std::string(300, 'p') + " " + std::string(300, 'q');
    Guarded program, param;
    GetFileParam(longLine.c_str(), program.bytes, param.bytes);
    EXPECT_EQ(strlen(program.bytes), 259u);
    EXPECT_EQ(strlen(param.bytes), 259u);
    EXPECT_TRUE(program.Intact());
    EXPECT_TRUE(param.Intact());
}

TEST(NumberFields, PointsAndRectanglesReadSignedFields) {
    POINT p = {99, 99};
    GetPointData("10 -20", &p);
    EXPECT_EQ(p.x, 10);
    EXPECT_EQ(p.y, -20);
    GetPointData("12", &p);  // the text ends early: no byte past its end is read
    EXPECT_EQ(p.x, 12);
    EXPECT_EQ(p.y, 0);
    RECT r = {9, 9, 9, 9};
    GetRectData("1 +2 -3 40x", &r);
    EXPECT_EQ(r.left, 1);
    EXPECT_EQ(r.top, 2);
    EXPECT_EQ(r.right, -3);
    EXPECT_EQ(r.bottom, 40);
    GetRectData("", &r);
    EXPECT_EQ(r.left | r.top | r.right | r.bottom, 0);
}

TEST(DriveNumber, UpperCasesInPlaceAndCountsFromA) {
    char path[] = "c:\\x";
    EXPECT_EQ(GetDriveNumber(path), 3);
    EXPECT_STREQ(path, "C:\\X");
    char a[] = "A:";
    EXPECT_EQ(GetDriveNumber(a), 1);
    char unc[] = "\\\\srv\\x";
    EXPECT_EQ(GetDriveNumber(unc), -1);
    char empty[] = "";
    EXPECT_EQ(GetDriveNumber(empty), -1);
    std::string longPath = "d:" + std::string(400, 'x');
    EXPECT_EQ(GetDriveNumber(&longPath[0]), 4);
}

TEST(MultiSelect, SplitsTheOpenDialogBuffer) {
    char dir[MAX_PATH], files[MAX_PATH];
    const char several[] = "C:\\dir\0a.txt\0" SO ".txt\0\0";
    EXPECT_EQ(GetMultiSelectFileInfo(several, dir, files), 2);
    EXPECT_STREQ(dir, "C:\\dir");
    EXPECT_EQ(std::string(files, 13), std::string("a.txt\0" SO ".txt\0\0", 13));

    const char one[] = "C:\\" SO "\\a.txt\0\0";
    EXPECT_EQ(GetMultiSelectFileInfo(one, dir, files), 1);
    EXPECT_STREQ(dir, "C:\\" SO "\\");
    EXPECT_STREQ(files, "a.txt");

    std::string longest = "C:\\" + std::string(250, 'd') + "\\a.txt";  // 259 bytes
    longest.append(2, '\0');
    EXPECT_EQ(GetMultiSelectFileInfo(longest.c_str(), dir, files), 1);
    EXPECT_EQ(std::string(dir), "C:\\" + std::string(250, 'd') + "\\");
    EXPECT_STREQ(files, "a.txt");

    std::string noNul(300, 'x');
    EXPECT_EQ(GetMultiSelectFileInfo(noNul.c_str(), dir, files), 0);

    // The third name crosses position 260 and is left out.
    std::string cut = "C:\\d";
    cut.push_back('\0');
    cut += std::string(120, 'a') + '\0' + std::string(120, 'b') + '\0' + std::string(40, 'c') + '\0' + '\0';
    EXPECT_EQ(GetMultiSelectFileInfo(cut.c_str(), dir, files), 2);
    EXPECT_EQ(strlen(files), 120u);
    EXPECT_EQ(strlen(files + 121), 120u);
    EXPECT_EQ(files[242], '\0');
}

TEST(MultiSelect, CountsNamesUpToTheEmptyName) {
    EXPECT_EQ(GetMultiFileCount("a\0b\0\0"), 2);
    EXPECT_EQ(GetMultiFileCount("a\0\0"), 1);
    EXPECT_EQ(GetMultiFileCount(""), 0);
    EXPECT_EQ(GetMultiFileCount(SO "\0" HYO "\0\0"), 2);
}

TEST(ProductName, ComesFromTheVersionResourceElseFromTheFileName) {
    std::string exe = testing_support::EnvPath("KELVORA_EXE");
    ASSERT_FALSE(exe.empty());
    char out[MAX_PATH];
    EXPECT_NE(GetProductName(exe.c_str(), out, 259), 0);
    EXPECT_STREQ(out, "Kelvora");
    EXPECT_NE(GetProductName(exe.c_str(), out, 3), 0);
    EXPECT_STREQ(out, "Kel");

    testing_support::TempFolder folder;
    std::string plain = folder.File(SO "ft.notes.txt");
    ASSERT_TRUE(testing_support::WriteFileBytes(plain, "x"));
    EXPECT_EQ(GetProductName(plain.c_str(), out, 259), 0);
    EXPECT_STREQ(out, SO "ft.notes");
    EXPECT_EQ(GetProductName(plain.c_str(), out, 1), 0);
    EXPECT_STREQ(out, "");  // one byte would split ソ
}

TEST(LongPathName, ExpandsShortComponentsAsTheSystemDoes) {
    testing_support::TempFolder folder;
    std::string dir = folder.File("Long Folder Name " SO HYO);
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
    std::string file = dir + "\\a rather long file name.text";
    ASSERT_TRUE(testing_support::WriteFileBytes(file, "x"));
    char shortPath[MAX_PATH];
    ASSERT_NE(GetShortPathNameA(file.c_str(), shortPath, MAX_PATH), 0u);
    char expected[MAX_PATH];
    ASSERT_NE(GetLongPathNameA(shortPath, expected, MAX_PATH), 0u);

    char out[MAX_PATH];
    EXPECT_EQ(GetLongPathNameBn(shortPath, out, MAX_PATH), static_cast<int>(strlen(expected)));
    EXPECT_STREQ(out, expected);
    // A long path whose ソ and 表 end in 0x5C comes back unchanged.
    EXPECT_EQ(GetLongPathNameBn(file.c_str(), out, MAX_PATH), static_cast<int>(file.size()));
    EXPECT_STRCASEEQ(out, file.c_str());

    Guarded small;
    EXPECT_EQ(GetLongPathNameBn(file.c_str(), small.bytes, 4), 3);
    EXPECT_STREQ(small.bytes, file.substr(0, 3).c_str());
    EXPECT_TRUE(small.Intact(4));
}

}  // namespace
