// String, path and command-line helpers: Shift-JIS characters whose second byte is a separator,
// and results cut to a 260-byte path buffer at a character boundary.
#include "lib/strings_paths.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "exports.h"
#include "test_env.h"

#define SO "\x83\x5C"   // ソ: second byte is a backslash
#define HYO "\x95\x5C"  // 表: second byte is a backslash
#define PO "\x83\x7C"   // ポ: second byte is a vertical bar
#define KA "\x83\x4A"   // カ

namespace {

// A path buffer followed by guard bytes.
struct Guarded {
    char bytes[MAX_PATH + 40];
    Guarded() { memset(bytes, 0x7F, sizeof bytes); }
    bool Intact(size_t from = MAX_PATH) const {
        for (size_t i = from; i < sizeof bytes; ++i)
            if (bytes[i] != 0x7F) return false;
        return true;
    }
};

// True when text does not end in the middle of a double-byte character.
bool EndsOnCharacter(const char* text) {
    size_t i = 0, len = strlen(text);
    while (i + 1 < len) i += CALL(IsMultiByteChar, text + i) ? 2 : 1;
    return i == len || !IsDBCSLeadByte(static_cast<BYTE>(text[i]));
}

// One input, one output. Two outputs are joined with a line feed.
using Call = int (*)(const char* in, char* out);  // the length returned, or -1 when none is
#define LEN(f) #f, [](const char* in, char* out) { return CALL(f, in, out); }
#define NOLEN(f) #f, [](const char* in, char* out) { CALL(f, in, out); return -1; }
#define TWO(f) #f, [](const char* in, char* out) { char b[MAX_PATH]; CALL(f, in, out, b); strcat(strcat(out, "\n"), b); return -1; }
struct TextCase {
    const char* function;
    Call call;
    const char* in;
    const char* out;
};

TEST(TextHelpers, TakeOnlyRealSeparatorsAndWriteNothingPastTheResult) {
    const TextCase cases[] = {
        {LEN(GetPathName), "C:\\Logs\\app.log", "C:\\Logs\\"},
        {LEN(GetPathName), "C:\\" SO "ft\\a.log", "C:\\" SO "ft\\"},
        {LEN(GetPathName), "C:\\a\\" HYO HYO, "C:\\a\\"},
        {LEN(GetPathName), HYO, ""},
        {LEN(GetFileName), "C:app.log", "app.log"},
        {LEN(GetFileName), SO "\\" HYO, HYO},
        {LEN(GetFileName), "C:\\a\\b" SO, "b" SO},
        {LEN(GetFileName), "C:\\Logs\\", ""},
        {LEN(GetPathNameOnly), "C:\\Logs.old\\app", "C:\\Logs"},
        {LEN(GetPathNameOnly), "C:\\" SO "\\" HYO ".log", "C:\\" SO "\\" HYO},
        {LEN(GetPathNameOnly), ".log", ""},
        {LEN(GetFileNameOnly), "app.tar.gz", "app.tar"},
        {LEN(GetFileNameOnly), "README", "README"},
        {LEN(GetFileNameExt), "C:\\a\\b." SO, SO},
        {LEN(GetFileNameExt), "C:\\a\\b", ""},
        {NOLEN(SetSeparateSymbol), "C:\\a b", "\"C:\\a b\""},
        {NOLEN(SetSeparateSymbol), "\"x\"", "\"x\""},
        {NOLEN(SetSeparateSymbol), "", "\"\""},
        {NOLEN(DelSeparateSymbol), "\"C:\\" HYO "\"", "C:\\" HYO},
        {NOLEN(DelSeparateSymbol), "\"" SO, SO},
        {NOLEN(DelSeparateSymbol), "\"", ""},
        {NOLEN(DelSeparateSymbol), "x", "x"},
        {TWO(SeparatePath), "\"C:\\a b\\x.exe\" -f", "C:\\a b\\x.exe\n-f"},
        {TWO(SeparatePath), "\"C:\\x.exe", "C:\\x.exe\n"},
        {TWO(SeparatePath), "notepad.exe a.txt b", "notepad.exe\na.txt b"},
        {TWO(SeparatePath), "\"C:\\" SO "\\" PO ".exe\" " HYO, "C:\\" SO "\\" PO ".exe\n" HYO},
        {TWO(GetFileParam), SO " " HYO, SO "\n" HYO},
        {TWO(GetFileParam), "\"a b\" c", "\"a\nb\" c"},
        {TWO(GetFileParam), "x", "x\n"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(std::string(c.function) + "(" + c.in + ")");
        Guarded out;
        int len = c.call(c.in, out.bytes);
        EXPECT_STREQ(out.bytes, c.out);
        if (len >= 0) {
            EXPECT_EQ(len, static_cast<int>(strlen(c.out)));
        }
        EXPECT_TRUE(out.Intact(strlen(c.out) + 1));
        if (strcmp(c.function, "GetPathName") == 0) {  // its output may be its input
            char buffer[MAX_PATH];
            c.call(strcpy(buffer, c.in), buffer);
            EXPECT_STREQ(buffer, c.out);
        }
    }
}

TEST(TextHelpers, CutALongInputToAPathBufferOnACharacterBoundary) {
    // An odd start, so that a cut at 259 bytes would fall inside a character.
    std::string path = "C:\\a";
    for (int i = 0; i < 140; ++i) path += SO;
    path += "\\";
    for (int i = 0; i < 140; ++i) path += HYO;
    path += ".";
    for (int i = 0; i < 140; ++i) path += KA;
    const std::pair<const char*, Call> calls[] = {
        {LEN(GetPathName)}, {LEN(GetFileName)}, {LEN(GetPathNameOnly)}, {LEN(GetFileNameExt)},
        {NOLEN(DelSeparateSymbol)},
        {"GetArgumentFileName", [](const char* in, char* out) { CALL(GetArgumentFileName, in, 0, out); return -1; }},
        {"SetSeparateSymbol", [](const char* in, char* out) {  // checked without its quotes
             CALL(SetSeparateSymbol, in, out);
             size_t n = strlen(out);
             EXPECT_TRUE(n <= 259 && out[0] == '"' && out[n - 1] == '"');
             memmove(out, out + 1, n - 2);
             out[n - 2] = '\0';
             return -1;
         }}};
    for (const auto& [name, call] : calls) {
        SCOPED_TRACE(name);
        Guarded out;
        int len = call(path.c_str(), out.bytes);
        if (len >= 0) {
            EXPECT_EQ(len, static_cast<int>(strlen(out.bytes)));
        }
        EXPECT_LE(strlen(out.bytes), 259u);
        EXPECT_GE(strlen(out.bytes), 250u);
        EXPECT_TRUE(EndsOnCharacter(out.bytes));
        EXPECT_TRUE(out.Intact());
    }
}

TEST(TextHelpers, IsMultiByteCharNeedsALeadByteAndAUsableSecondByte) {
    EXPECT_EQ(CALL(IsMultiByteChar, SO), 1);
    EXPECT_EQ(CALL(IsMultiByteChar, "\xE0\x40"), 1);
    EXPECT_EQ(CALL(IsMultiByteChar, "\x83"), 0);
    EXPECT_EQ(CALL(IsMultiByteChar, "\x83\xFF"), 0);
    EXPECT_EQ(CALL(IsMultiByteChar, "\xB1\x5C"), 0);  // half-width katakana is single-byte
    EXPECT_EQ(CALL(IsMultiByteChar, "\\" SO), 0);
    EXPECT_EQ(CALL(IsMultiByteChar, nullptr), 0);
}

TEST(TextHelpers, BoundedCopiesStopAtTheRealDelimiterOrTheLimit) {
    using Copy = int (*)(char* dst, const char* src, int limit);
    const struct {
        Copy call;
        const char* src;
        int limit;
        const char* expected;
    } cases[] = {
        {[](char* d, const char* s, int n) { return CALL(lstrxcpy, d, s, ',', n); }, "name,C:\\x.log", 260, "name"},
        {[](char* d, const char* s, int n) { return CALL(lstrxcpy, d, s, '|', n); }, "a" PO PO "|b", 260, "a" PO PO},
        {[](char* d, const char* s, int n) { return CALL(lstrxcpy, d, s, '\\', n); }, "C:\\" SO, 260, "C:"},
        {[](char* d, const char* s, int n) { return CALL(lstrxcpy, d, s, '\\', n); }, SO "\\x", 260, SO},
        {[](char* d, const char* s, int n) { return CALL(lstrxcpy, d, s, ',', n); }, "ab" SO "c", 3, "ab"},
        {[](char* d, const char* s, int n) { return CALL(lstrxcpy, d, s, ',', n); }, "ab" SO "c", 4, "ab" SO},
        {[](char* d, const char* s, int n) { return CALL(lstrxcpy, d, s, ',', n); }, "abc", 0, ""},
        {[](char* d, const char* s, int n) { return CALL(lstrcpyspc, d, s, n); }, "a b   ", 10, "a b"},
        {[](char* d, const char* s, int n) { return CALL(lstrcpyspc, d, s, n); }, "abcdef", 2, "abc"},
        {[](char* d, const char* s, int n) { return CALL(lstrcpyspc, d, s, n); }, "a" SO "b", 1, "a"},
        {[](char* d, const char* s, int n) { return CALL(lstrcpyspc, d, s, n); }, "\x81\x40 ", 10, "\x81\x40"},
        {[](char* d, const char* s, int n) { return CALL(lstrcpyzc, d, s, n); }, "1.500", 10, "1.5"},
        {[](char* d, const char* s, int n) { return CALL(lstrcpyzc, d, s, n); }, "2.0" KA "00", 10, "2.0" KA},
        {[](char* d, const char* s, int n) { return CALL(StringArgCopy, d, s, n); }, "\"C:\\a b\\x.exe\" -f", 260,
         "\"C:\\a b\\x.exe\""},
        {[](char* d, const char* s, int n) { return CALL(StringArgCopy, d, s, n); }, "a" SO " x", 260, "a" SO},
        {[](char* d, const char* s, int n) { return CALL(StringArgCopy, d, s, n); }, "a" SO, 2, "a"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.src) + " limit " + std::to_string(c.limit));
        Guarded out;
        EXPECT_EQ(c.call(out.bytes, c.src, c.limit), static_cast<int>(strlen(c.expected)));
        EXPECT_STREQ(out.bytes, c.expected);
        EXPECT_TRUE(out.Intact(strlen(c.expected) + 1));
    }
}

TEST(TextHelpers, SplitPathGivesFourDefinedParts) {
    const std::vector<std::vector<const char*>> cases = {
        {"C:\\" SO "\\" HYO ".b.c", "C:", "\\" SO "\\", HYO ".b", "c"},
        {"C:\\Logs.old\\app", "C:", "\\Logs.old\\", "app", ""},
        {"Logs\\app.log", "", "Logs\\", "app", "log"},
        {"C:", "C:", "", "", ""},
        {SO ":x", "", "", SO ":x", ""},
    };
    for (const auto& c : cases) {
        char drive[3 + 8], dir[MAX_PATH], name[MAX_PATH], ext[MAX_PATH];
        memset(drive, 0x7F, sizeof drive);
        CALL(SplitPath, c[0], drive, dir, name, ext);
        EXPECT_EQ((std::vector<std::string>{drive, dir, name, ext}), std::vector<std::string>(c.begin() + 1, c.end()));
        EXPECT_EQ(drive[3], 0x7F);
    }
}

struct ArgCase {
    const char* line;
    std::vector<std::string> arguments;
};

TEST(CommandLine, CountsAndPicksTheSameArguments) {
    const ArgCase cases[] = {{"", {}},
                             {"a  b", {"a", "", "b"}},
                             {"a ", {"a"}},
                             {"\"C:\\a b\\x.exe\" -f", {"\"C:\\a b\\x.exe\"", "-f"}},
                             {"\"" SO " " HYO "\" " PO, {"\"" SO " " HYO "\"", PO}},
                             {"x\"a b\"y z", {"x\"a b\"y", "z"}}};
    for (const ArgCase& c : cases) {
        const int count = static_cast<int>(c.arguments.size());
        EXPECT_EQ(CALL(GetCountArgument, c.line), count) << c.line;
        for (int i = -1; i <= count; ++i) {
            Guarded out;
            EXPECT_EQ(CALL(GetArgumentFileName, c.line, i, out.bytes), 1);
            EXPECT_STREQ(out.bytes, i >= 0 && i < count ? c.arguments[i].c_str() : "") << c.line << " #" << i;
        }
    }
    std::string line = "ab";  // the first argument is cut; the next one is still found
    for (int i = 0; i < 150; ++i) line += SO;
    Guarded out;
    CALL(GetArgumentFileName, (line + " next").c_str(), 1, out.bytes);
    EXPECT_STREQ(out.bytes, "next");
}

TEST(CommandLine, NumberFieldsAndDriveNumbers) {
    POINT p = {99, 99};
    CALL(GetPointData, "12", &p);  // the text ends early: no byte past its end is read
    EXPECT_EQ(p.x, 12);
    EXPECT_EQ(p.y, 0);
    RECT r = {9, 9, 9, 9};
    CALL(GetRectData, "1 +2 -3 40x", &r);
    EXPECT_EQ(std::vector<LONG>({r.left, r.top, r.right, r.bottom}), std::vector<LONG>({1, 2, -3, 40}));
    char path[] = "c:\\x", a[] = "A:", unc[] = "\\\\srv\\x";
    EXPECT_EQ(CALL(GetDriveNumber, path), 3);
    EXPECT_STREQ(path, "C:\\X");
    EXPECT_EQ(CALL(GetDriveNumber, a), 1);
    EXPECT_EQ(CALL(GetDriveNumber, unc), -1);
}

TEST(MultiSelect, SplitsTheOpenDialogBufferWithinItsFirst260Bytes) {
    char dir[MAX_PATH], files[MAX_PATH];
    EXPECT_EQ(CALL(GetMultiSelectFileInfo, "C:\\dir\0a.txt\0" SO ".txt\0\0", dir, files), 2);
    EXPECT_STREQ(dir, "C:\\dir");
    EXPECT_EQ(std::string(files, 13), std::string("a.txt\0" SO ".txt\0\0", 13));
    EXPECT_EQ(CALL(GetMultiFileCount, files), 2);
    EXPECT_EQ(CALL(GetMultiSelectFileInfo, "C:\\" SO "\\a.txt\0\0", dir, files), 1);
    EXPECT_STREQ(dir, "C:\\" SO "\\");
    EXPECT_STREQ(files, "a.txt");
    std::string longest = "C:\\" + std::string(250, 'd') + "\\a.txt";  // 259 bytes: still one path
    EXPECT_EQ(CALL(GetMultiSelectFileInfo, longest.append(2, '\0').c_str(), dir, files), 1);
    EXPECT_EQ(CALL(GetMultiSelectFileInfo, std::string(300, 'x').c_str(), dir, files), 0);
    std::string cut = std::string("C:\\d") + '\0' + std::string(120, 'a') + '\0' + std::string(120, 'b') + '\0' +
                      std::string(40, 'c') + '\0' + '\0';
    EXPECT_EQ(CALL(GetMultiSelectFileInfo, cut.c_str(), dir, files), 2);  // the third name crosses byte 260
    EXPECT_EQ(files[242], '\0');
    EXPECT_EQ(CALL(GetMultiFileCount, ""), 0);
}

TEST(SystemNames, ProductNameAndLongPathName) {
    char out[MAX_PATH];
    std::string exe = testing_support::EnvPath("KELVORA_EXE");
    EXPECT_NE(CALL(GetProductName, exe.c_str(), out, 3), 0);
    EXPECT_STREQ(out, "Kel");
    testing_support::TempFolder folder;
    std::string dir = folder.File("Long Folder Name " SO HYO);
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
    std::string file = dir + "\\a rather long file name.text";
    ASSERT_TRUE(testing_support::WriteFileBytes(file, "x"));
    EXPECT_EQ(CALL(GetProductName, file.c_str(), out, 259), 0);  // no version resource: the base name
    EXPECT_STREQ(out, "a rather long file name");
    std::string plain = folder.File(SO "ft.txt");
    ASSERT_TRUE(testing_support::WriteFileBytes(plain, "x"));
    EXPECT_EQ(CALL(GetProductName, plain.c_str(), out, 1), 0);
    EXPECT_STREQ(out, "");  // one byte would split ソ

    char shortPath[MAX_PATH], expected[MAX_PATH];
    ASSERT_NE(GetShortPathNameA(file.c_str(), shortPath, MAX_PATH), 0u);
    ASSERT_NE(GetLongPathNameA(shortPath, expected, MAX_PATH), 0u);
    EXPECT_EQ(CALL(GetLongPathNameBn, shortPath, out, MAX_PATH), static_cast<int>(strlen(expected)));
    EXPECT_STREQ(out, expected);
    Guarded small;
    EXPECT_EQ(CALL(GetLongPathNameBn, file.c_str(), small.bytes, 4), 3);
    EXPECT_STREQ(small.bytes, file.substr(0, 3).c_str());
    EXPECT_TRUE(small.Intact(4));
}

}  // namespace
