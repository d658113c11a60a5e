// Calls every exported library function of the built Kelvora.exe as another program would: found
// by name with GetProcAddress and called through a pointer of its declared WINAPI type. In the
// 32-bit build each call also checks that the function took its arguments off the stack itself,
// as stdcall requires (a cdecl function would leave them to a caller that does not pop them).
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <type_traits>
#include <vector>

#include "cut/cut_dialogs.h"
#include "dialogs/entry_dialog.h"
#include "dragdrop/dd_add_list_dialog.h"
#include "dragdrop/drag_drop.h"
#include "dragdrop/list_proc.h"
#include "lib/date_time.h"
#include "lib/file_reader.h"
#include "lib/numbers.h"
#include "lib/progress_bar.h"
#include "lib/registry.h"
#include "lib/strings_paths.h"
#include "test_env.h"

using testing_support::EnvPath;
using testing_support::TempFolder;

namespace {

#ifndef _WIN64
// One call through a function pointer with its arguments pushed as 32-bit words, right to left.
// `left` is how many bytes of them were still on the stack when the function returned.
struct StackCall {
    const void* function;
    const DWORD* args;
    DWORD words;
    DWORD floatResult;  // the result comes in the x87 register st(0)
    DWORD eax;
    DWORD edx;
    double st0;
    LONG left;
};
static_assert(offsetof(StackCall, eax) == 16 && offsetof(StackCall, st0) == 24 && offsetof(StackCall, left) == 32,
              "the offsets used by CallCountingStack");
extern "C" void CallCountingStack(StackCall* call);
asm(R"(
    .text
    .globl _CallCountingStack
_CallCountingStack:
    pushl %ebp
    movl %esp, %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    movl 8(%ebp), %ebx
    movl 4(%ebx), %esi
    movl 8(%ebx), %ecx
    movl %esp, %edi
1:  testl %ecx, %ecx
    jz 2f
    decl %ecx
    pushl (%esi,%ecx,4)
    jmp 1b
2:  call *(%ebx)
    movl 8(%ebp), %ebx
    movl %eax, 16(%ebx)
    movl %edx, 20(%ebx)
    movl %edi, %ecx
    subl %esp, %ecx
    movl %ecx, 32(%ebx)
    cmpl $0, 12(%ebx)
    je 3f
    fstpl 24(%ebx)
3:  movl %edi, %esp
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    ret
)");

template <class T>
DWORD Word(T value) {
    static_assert(sizeof(T) == 4, "every exported function takes 32-bit arguments");
    if constexpr (std::is_pointer_v<T>) {
        return static_cast<DWORD>(reinterpret_cast<uintptr_t>(value));
    } else {
        return static_cast<DWORD>(value);
    }
}
#endif

template <class T>
struct Same {
    using Type = T;
};

// The copy of Kelvora.exe that this test loads: marked as a DLL without an entry point, because
// Wine binds no imports of an EXE that another program loads (the program's own start-up code
// must not run inside the test either).
class ExportsModule {
public:
    ExportsModule() {
        std::string exe = EnvPath("KELVORA_EXE");
        std::ifstream in(exe, std::ios::binary);
        std::vector<char> image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (image.size() < sizeof(IMAGE_DOS_HEADER)) return;
        auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(image.data());
        auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(image.data() + dos->e_lfanew);
        nt->FileHeader.Characteristics |= IMAGE_FILE_DLL;
        nt->OptionalHeader.AddressOfEntryPoint = 0;
        path_ = folder_.File("KelvoraExports.dll");
        std::ofstream(path_, std::ios::binary).write(image.data(), static_cast<std::streamsize>(image.size()));
        module_ = LoadLibraryA(path_.c_str());
    }
    ~ExportsModule() {
        if (module_) FreeLibrary(module_);
    }
    HMODULE Get() const { return module_; }

    // Calls the export `name` through a pointer of the declared type of `declared`.
    template <class R, class... A>
    R Call(const char* name, R(WINAPI*)(A...), typename Same<A>::Type... args) {
        FARPROC proc = GetProcAddress(module_, name);
        if (!proc) {
            ADD_FAILURE() << name << " is not exported";
            return R();
        }
#ifdef _WIN64
        return reinterpret_cast<R(WINAPI*)(A...)>(reinterpret_cast<void*>(proc))(args...);
#else
        const DWORD words[] = {Word(args)..., 0};
        StackCall call{reinterpret_cast<const void*>(proc), words, sizeof...(A), std::is_floating_point_v<R>, 0, 0, 0, 0};
        CallCountingStack(&call);
        EXPECT_EQ(0, call.left) << name << " left " << call.left << " bytes of its arguments on the caller's stack";
        if constexpr (std::is_floating_point_v<R>) {
            return static_cast<R>(call.st0);
        } else if constexpr (std::is_pointer_v<R>) {
            return reinterpret_cast<R>(static_cast<uintptr_t>(call.eax));
        } else if constexpr (!std::is_void_v<R>) {
            return static_cast<R>(call.eax);
        }
#endif
    }

private:
    TempFolder folder_;
    std::string path_;
    HMODULE module_ = nullptr;
};

#define CALL(function, ...) m.Call(#function, &function, __VA_ARGS__)

std::vector<std::string> ExpectedExports() {
    std::ifstream in(testing_support::UnixToWindowsPath(std::string(getenv("KELVORA_SOURCE_DIR")) +
                                                        "/tests/lib/exports.txt"));
    std::vector<std::string> names;
    for (std::string line; std::getline(in, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (!line.empty() && line[0] != '#') names.push_back(line);
    }
    return names;
}

using Check = std::function<void(ExportsModule&, const TempFolder&)>;

// One check per family; each names the exports it calls.
std::map<std::string, Check> FileChecks() {
    Check reader = [](ExportsModule& m, const TempFolder& t) {
        std::string file = t.File("lines.txt");
        ASSERT_TRUE(testing_support::WriteFileBytes(file, "ab\r\ncd"));
        EXPECT_EQ(1, CALL(CheckFile, file.c_str()));
        EXPECT_EQ(0, CALL(CheckFile, t.File("none.txt").c_str()));
        EXPECT_EQ(6u, CALL(GetFileNameSize, file.c_str()));
        HTEXTFILE r = CALL(FileOpen, file.c_str(), "rt", 0);
        ASSERT_NE(nullptr, r);
        char line[8] = "";
        EXPECT_EQ(1, CALL(FileGetString, line, 7, r));
        EXPECT_STREQ("ab", line);
        EXPECT_EQ('c', CALL(FileGetChar, r));
        EXPECT_EQ(0, CALL(FileEof, r));
        EXPECT_EQ(0, CALL(FileError, r));
        EXPECT_NE(FALSE, CALL(FileClose, r));
    };
    Check folders = [](ExportsModule& m, const TempFolder& t) {
        std::string deep = t.File("a\\b");
        EXPECT_NE(FALSE, CALL(CreateClassDirectory, deep.c_str()));
        EXPECT_EQ(1, CALL(CheckDirectory, deep.c_str()));
    };
    return {{"CheckFile GetFileNameSize FileOpen FileGetString FileGetChar FileEof FileError FileClose", reader},
            {"CreateClassDirectory CheckDirectory", folders}};
}

std::map<std::string, Check> StringChecks() {
    Check copies = [](ExportsModule& m, const TempFolder&) {
        char out[MAX_PATH] = "";
        EXPECT_EQ(1, CALL(IsMultiByteChar, "\x83\x5C"));  // ソ
        EXPECT_EQ(2, CALL(lstrxcpy, out, "ab,c", ',', 259));
        EXPECT_STREQ("ab", out);
        EXPECT_EQ(2, CALL(lstrcpyspc, out, "ab  ", 259));
        EXPECT_EQ(3, CALL(lstrcpyzc, out, "1.500", 259));
        EXPECT_STREQ("1.5", out);
        EXPECT_EQ(5, CALL(StringArgCopy, out, "\"a b\" c", 259));
        char program[MAX_PATH] = "", param[MAX_PATH] = "";
        CALL(GetFileParam, "prog.exe a b", program, param);
        EXPECT_STREQ("prog.exe", program);
        EXPECT_STREQ("a b", param);
        POINT p{};
        CALL(GetPointData, "12 -3", &p);
        EXPECT_EQ(12, p.x);
        EXPECT_EQ(-3, p.y);
        RECT r{};
        CALL(GetRectData, "1 2 3 4", &r);
        EXPECT_EQ(4, r.bottom);
        char drive[] = "c:\\x";
        EXPECT_EQ(3, CALL(GetDriveNumber, drive));
    };
    Check paths = [](ExportsModule& m, const TempFolder&) {
        const char* path = "C:\\\x83\x5C\\app.log";  // C:\ソ\app.log
        char out[MAX_PATH] = "", drive[3] = "", dir[MAX_PATH] = "", name[MAX_PATH] = "", ext[MAX_PATH] = "";
        CALL(GetPathName, path, out);
        EXPECT_STREQ("C:\\\x83\x5C\\", out);
        CALL(GetFileName, path, out);
        EXPECT_STREQ("app.log", out);
        CALL(GetPathNameOnly, path, out);
        EXPECT_STREQ("C:\\\x83\x5C\\app", out);
        CALL(GetFileNameExt, path, out);
        EXPECT_STREQ("log", out);
        CALL(GetFileNameOnly, "app.log", out);
        EXPECT_STREQ("app", out);
        CALL(SplitPath, path, drive, dir, name, ext);
        EXPECT_STREQ("C:", drive);
        EXPECT_STREQ("\\\x83\x5C\\", dir);
        EXPECT_STREQ("app", name);
        EXPECT_STREQ("log", ext);
    };
    Check commandLines = [](ExportsModule& m, const TempFolder&) {
        char program[MAX_PATH] = "", params[MAX_PATH] = "", out[MAX_PATH] = "";
        CALL(SeparatePath, "\"C:\\a b\\x.exe\" -y", program, params);
        EXPECT_STREQ("C:\\a b\\x.exe", program);
        EXPECT_STREQ("-y", params);
        CALL(SetSeparateSymbol, "a b", out);
        EXPECT_STREQ("\"a b\"", out);
        CALL(DelSeparateSymbol, "\"a b\"", out);
        EXPECT_STREQ("a b", out);
        EXPECT_EQ(3, CALL(GetCountArgument, "a \"b c\" d"));
        EXPECT_EQ(1, CALL(GetArgumentFileName, "a \"b c\" d", 1, out));
        EXPECT_STREQ("\"b c\"", out);
        const char multi[] = "C:\\logs\0a.log\0b.log\0";
        char dir[MAX_PATH] = "", files[MAX_PATH] = "";
        EXPECT_EQ(2, CALL(GetMultiSelectFileInfo, multi, dir, files));
        EXPECT_EQ(2, CALL(GetMultiFileCount, files));
    };
    Check files = [](ExportsModule& m, const TempFolder& t) {
        char out[MAX_PATH] = "";
        std::string exe = EnvPath("KELVORA_EXE");
        EXPECT_NE(0, CALL(GetProductName, exe.c_str(), out, 259));
        EXPECT_STREQ("Kelvora", out);
        std::string file = t.File("long name.txt");
        ASSERT_TRUE(testing_support::WriteFileBytes(file, "x"));
        EXPECT_NE(0, CALL(GetLongPathNameBn, file.c_str(), out, MAX_PATH));
        EXPECT_EQ(0, lstrcmpiA(file.c_str(), out)) << out;
    };
    return {{"IsMultiByteChar lstrxcpy lstrcpyspc lstrcpyzc StringArgCopy GetFileParam GetPointData GetRectData "
             "GetDriveNumber",
             copies},
            {"GetPathName GetFileName GetPathNameOnly GetFileNameExt GetFileNameOnly SplitPath", paths},
            {"SeparatePath SetSeparateSymbol DelSeparateSymbol GetCountArgument GetArgumentFileName "
             "GetMultiSelectFileInfo GetMultiFileCount",
             commandLines},
            {"GetProductName GetLongPathNameBn", files}};
}

std::map<std::string, Check> DateAndNumberChecks() {
    Check dates = [](ExportsModule& m, const TempFolder&) {
        const char* text = "2026/12/07 08:09:10";
        int date[3] = {}, time[3] = {};
        EXPECT_EQ(text + 10, CALL(GetStrToDate, text, date));
        EXPECT_EQ(2026, date[0]);
        EXPECT_EQ(7, date[2]);
        EXPECT_EQ(text + 19, CALL(GetStrToTime, text + 11, time));
        EXPECT_EQ(10, time[2]);
        EXPECT_DOUBLE_EQ(86400.0, CALL(DLTime, "19700102090000"));  // 09:00 in Japan is midnight UTC
        EXPECT_EQ(1, CALL(CheckDateArea, "19700101", "20991231"));
        EXPECT_EQ(0, CALL(CheckDateArea, "19700101", "19701231"));
    };
    Check numbers = [](ExportsModule& m, const TempFolder&) {
        EXPECT_EQ(0x3412u, CALL(XChgWord, 0xABCD1234u));
        EXPECT_EQ(0x78563412u, CALL(XChgDWord, 0x12345678u));
        EXPECT_EQ(42u, CALL(AsciiToDWord, "x42y"));
        EXPECT_EQ(1, CALL(IsCharNumeric, '7'));
        char out[21] = "";
        EXPECT_EQ(9, CALL(ConvertCoinage, 1234567, out, 3));
        EXPECT_STREQ("1,234,567", out);
    };
    return {{"GetStrToDate GetStrToTime DLTime CheckDateArea", dates},
            {"XChgWord XChgDWord AsciiToDWord IsCharNumeric ConvertCoinage", numbers}};
}

std::map<std::string, Check> RegistryChecks() {
    Check machine = [](ExportsModule& m, const TempFolder&) {
        char out[MAX_PATH] = "";
        EXPECT_EQ(0, CALL(CreateAppPath, "kvexports.exe", "C:\\kv\\kvexports.exe"));
        EXPECT_EQ(0, CALL(GetRegistAppPath, "kvexports.exe", out));
        EXPECT_STREQ("C:\\kv\\", out);  // its "Path" value
        EXPECT_EQ(0, CALL(DeleteAppPath, "kvexports.exe"));
        EXPECT_EQ(0, CALL(CreateLocalMachineReg, "KvExports", "A", "B"));
        EXPECT_EQ(0, CALL(DeleteLocalMachineReg, "KvExports", "A", "B"));
        EXPECT_EQ(0, CALL(CreateUninstallReg, "KvExports", "Kv", "C:\\kv\\uninst.exe"));
        EXPECT_EQ(0, CALL(DeleteUninstallReg, "KvExports"));
        EXPECT_EQ(0, CALL(CountUpSharedDLLs, "C:\\kv\\kv.dll"));
        EXPECT_EQ(0, CALL(CountUpSharedDLLs, "C:\\kv\\kv.dll"));
        EXPECT_EQ(2u, CALL(GetCountSharedDLLs, "C:\\kv\\kv.dll"));
        EXPECT_EQ(0, CALL(CountDownSharedDLLs, "C:\\kv\\kv.dll"));
        EXPECT_EQ(0, CALL(DeleteValueSharedDLLs, "C:\\kv\\kv.dll"));
        EXPECT_EQ(0u, CALL(GetCountSharedDLLs, "C:\\kv\\kv.dll"));
    };
    Check folders = [](ExportsModule& m, const TempFolder&) {
        char out[MAX_PATH] = "";
        EXPECT_EQ(0, CALL(GetStartMenu, out));
        EXPECT_NE('\0', out[0]);
        EXPECT_EQ(0, CALL(GetProgramFiles, out));
        EXPECT_NE('\0', out[0]);
        EXPECT_EQ(0, CALL(GetSendToFolder, out));
        EXPECT_NE('\0', out[0]);
    };
    Check fileTypes = [](ExportsModule& m, const TempFolder&) {
        char out[MAX_PATH] = "";
        EXPECT_EQ(0, CALL(RegistExt, ".kvx", "KvExports.File", "C:\\kv\\kv.exe", 1));
        EXPECT_EQ(0, CALL(RegistExtAction, "KvExports.File", "open", "command", "kv.exe \"%1\""));
        CALL(GetRegistClassName, "KvExports.File\\shell\\open", out);
        EXPECT_STREQ("KvExports.File", out);
        EXPECT_EQ(0, CALL(RegistShellKey, "kvy", "Kv text", "KvExports.Text\\shell\\open\\command", "kv.exe"));
        EXPECT_EQ(0, CALL(UnregistShellKey, "kvy", "KvExports.Text"));
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, CALL(UnRegistExt, ".kvx", "KvExports.NoClass"));
    };
    return {{"CreateAppPath GetRegistAppPath DeleteAppPath CreateLocalMachineReg DeleteLocalMachineReg "
             "CreateUninstallReg DeleteUninstallReg CountUpSharedDLLs GetCountSharedDLLs CountDownSharedDLLs "
             "DeleteValueSharedDLLs",
             machine},
            {"GetStartMenu GetProgramFiles GetSendToFolder", folders},
            {"RegistExt RegistExtAction GetRegistClassName RegistShellKey UnregistShellKey UnRegistExt", fileTypes}};
}

// Exports that work with windows: the progress bars, the procedures, drag and clipboard.
std::map<std::string, Check> WindowChecks() {
    Check windows = [](ExportsModule& m, const TempFolder&) {
        HWND parent = CreateWindowExA(0, "STATIC", "abc", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, parent);
        HWND bar = CALL(CreateProgressBar, parent, 10, 20, 100, 16, 7);
        ASSERT_NE(nullptr, bar);
        EXPECT_EQ(0, CALL(SetProgressBar, bar, 0, 50, 1));
        EXPECT_EQ(50, SendMessageA(bar, PBM_GETRANGE, FALSE, 0));
        int rect[4] = {};
        CALL(GetDlgItemRect, parent, 7, rect);
        EXPECT_EQ(10, rect[0]);
        EXPECT_EQ(16, rect[3]);
        HWND barEx = CALL(CreateProgressBarEx, parent, 0, 40, 100, 16, 8);
        ASSERT_NE(nullptr, barEx);
        char cls[32] = "";
        GetClassNameA(barEx, cls, sizeof cls);
        EXPECT_STREQ("ProgressBarEx", cls);
        // Outside the program's own windows the procedures answer as the defaults do.
        EXPECT_EQ(3, CALL(ListProc, parent, WM_GETTEXTLENGTH, 0, 0));
        EXPECT_EQ(FALSE, CALL(EditListDlgProc, parent, WM_NULL, 0, 0));
        EXPECT_EQ(FALSE, CALL(AddListDlgProc, parent, WM_NULL, 0, 0));
        EXPECT_EQ(FALSE, CALL(DDAddListDlgProc, parent, WM_NULL, 0, 0));
        EXPECT_EQ(FALSE, CALL(CutPreDlgProc, parent, WM_NULL, 0, 0));
        DestroyWindow(parent);
    };
    Check dragAndClipboard = [](ExportsModule& m, const TempFolder&) {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        DragFileList empty{};
        CALL(DragDropStart, nullptr, &empty);  // nothing to drag: returns at once
        std::string block(DragFileListSize(1), '\0');
        auto* list = reinterpret_cast<DragFileList*>(block.data());
        AppendDragFile(list, "C:\\logs\\app.log");
        CALL(HDropClipCopy, list);
        ASSERT_TRUE(OpenClipboard(nullptr));
        auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP));
        char name[MAX_PATH] = "";
        if (drop) DragQueryFileA(drop, 0, name, sizeof name);
        CloseClipboard();
        EXPECT_STREQ("C:\\logs\\app.log", name);
        OleFlushClipboard();
        OleUninitialize();
    };
    return {{"CreateProgressBar SetProgressBar GetDlgItemRect CreateProgressBarEx ListProc EditListDlgProc "
             "AddListDlgProc DDAddListDlgProc CutPreDlgProc",
             windows},
            {"DragDropStart HDropClipCopy", dragAndClipboard}};
}

TEST(Exports, EveryLibraryFunctionGivesItsResultThroughGetProcAddress) {
    ExportsModule m;
    ASSERT_NE(nullptr, m.Get()) << "error " << GetLastError();
    EXPECT_EQ(nullptr, GetProcAddress(m.Get(), "NoSuchKelvoraExport"));
    std::map<std::string, Check> checks;
    for (auto family : {FileChecks(), StringChecks(), DateAndNumberChecks(), RegistryChecks(), WindowChecks()})
        checks.insert(family.begin(), family.end());

    std::string covered = " ";
    TempFolder folder;
    for (auto& [names, check] : checks) {
        SCOPED_TRACE(names);
        check(m, folder);
        covered += names + " ";
    }
    std::vector<std::string> expected = ExpectedExports();
    EXPECT_GT(expected.size(), 60u);
    for (const std::string& name : expected)
        EXPECT_NE(std::string::npos, covered.find(" " + name + " ")) << name << " is exported but never called here";
}

}  // namespace
