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
#include <set>
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
    std::set<std::string> called;  // the names of every Call

    // Calls the export `name` through a pointer of the declared type of `declared`.
    template <class R, class... A>
    R Call(const char* name, R(WINAPI*)(A...), typename Same<A>::Type... args) {
        called.insert(name);
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

// One call of each export with one check of its result: that the name leads to the right
// function. What each function does is tested beside its own code.
TEST(Exports, EveryLibraryFunctionGivesItsResultThroughGetProcAddress) {
    ExportsModule m;
    ASSERT_NE(nullptr, m.Get()) << "error " << GetLastError();
    EXPECT_EQ(nullptr, GetProcAddress(m.Get(), "NoSuchKelvoraExport"));
    TempFolder t;
    char out[MAX_PATH] = "", two[MAX_PATH] = "", dir[MAX_PATH] = "", name[MAX_PATH] = "", ext[MAX_PATH] = "";

    std::string file = t.File("long name.txt");
    ASSERT_TRUE(testing_support::WriteFileBytes(file, "ab\r\ncd"));
    EXPECT_EQ(1, CALL(CheckFile, file.c_str()));
    EXPECT_EQ(6u, CALL(GetFileNameSize, file.c_str()));
    HTEXTFILE r = CALL(FileOpen, file.c_str(), "rt", 0);
    ASSERT_NE(nullptr, r);
    EXPECT_EQ(1, CALL(FileGetString, out, 7, r));
    EXPECT_STREQ("ab", out);
    EXPECT_EQ('c', CALL(FileGetChar, r));
    EXPECT_EQ(0, CALL(FileEof, r) + CALL(FileError, r));
    EXPECT_NE(FALSE, CALL(FileClose, r));
    EXPECT_NE(FALSE, CALL(CreateClassDirectory, t.File("a\\b").c_str()));
    EXPECT_EQ(1, CALL(CheckDirectory, t.File("a\\b").c_str()));
    EXPECT_NE(0, CALL(GetLongPathNameBn, file.c_str(), out, MAX_PATH));
    EXPECT_EQ(0, lstrcmpiA(file.c_str(), out)) << out;
    EXPECT_NE(0, CALL(GetProductName, EnvPath("KELVORA_EXE").c_str(), out, 259));
    EXPECT_STREQ("Kelvora", out);

    const char* path = "C:\\\x83\x5C\\app.log";  // C:\ソ\app.log
    EXPECT_EQ(1, CALL(IsMultiByteChar, path + 3));
    EXPECT_EQ(6, CALL(GetPathName, path, out));
    EXPECT_EQ(7, CALL(GetFileName, path, out));
    EXPECT_EQ(9, CALL(GetPathNameOnly, path, out));
    EXPECT_EQ(3, CALL(GetFileNameExt, path, out));
    EXPECT_EQ(3, CALL(GetFileNameOnly, "app.log", out));
    char drive[3] = "";
    CALL(SplitPath, path, drive, dir, name, ext);
    EXPECT_EQ(std::string("C:|\\\x83\x5C\\|app|log"), std::string(drive) + "|" + dir + "|" + name + "|" + ext);
    EXPECT_EQ(2, CALL(lstrxcpy, out, "ab,c", ',', 259));
    EXPECT_EQ(2, CALL(lstrcpyspc, out, "ab  ", 259));
    EXPECT_EQ(3, CALL(lstrcpyzc, out, "1.500", 259));
    EXPECT_EQ(5, CALL(StringArgCopy, out, "\"a b\" c", 259));
    CALL(GetFileParam, "prog.exe a b", out, two);
    EXPECT_STREQ("a b", two);
    POINT p{};
    CALL(GetPointData, "12 -3", &p);
    EXPECT_EQ(-3, p.y);
    RECT rect{};
    CALL(GetRectData, "1 2 3 4", &rect);
    EXPECT_EQ(4, rect.bottom);
    char lower[] = "c:\\x";
    EXPECT_EQ(3, CALL(GetDriveNumber, lower));
    CALL(SeparatePath, "\"C:\\a b\\x.exe\" -y", out, two);
    EXPECT_STREQ("-y", two);
    CALL(SetSeparateSymbol, "a b", out);
    EXPECT_STREQ("\"a b\"", out);
    CALL(DelSeparateSymbol, "\"a b\"", out);
    EXPECT_STREQ("a b", out);
    EXPECT_EQ(3, CALL(GetCountArgument, "a \"b c\" d"));
    EXPECT_EQ(1, CALL(GetArgumentFileName, "a \"b c\" d", 1, out));
    EXPECT_STREQ("\"b c\"", out);
    EXPECT_EQ(2, CALL(GetMultiSelectFileInfo, "C:\\logs\0a.log\0b.log\0", dir, two));
    EXPECT_EQ(2, CALL(GetMultiFileCount, two));

    const char* stamp = "2026/12/07 08:09:10";
    int fields[3] = {};
    EXPECT_EQ(stamp + 10, CALL(GetStrToDate, stamp, fields));
    EXPECT_EQ(7, fields[2]);
    EXPECT_EQ(stamp + 19, CALL(GetStrToTime, stamp + 11, fields));
    EXPECT_EQ(10, fields[2]);
    EXPECT_DOUBLE_EQ(86400.0, CALL(DLTime, "19700102090000"));  // 09:00 in Japan is midnight UTC
    EXPECT_EQ(1, CALL(CheckDateArea, "19700101", "20991231"));
    EXPECT_EQ(0x3412u, CALL(XChgWord, 0xABCD1234u));
    EXPECT_EQ(0x78563412u, CALL(XChgDWord, 0x12345678u));
    EXPECT_EQ(42u, CALL(AsciiToDWord, "x42y"));
    EXPECT_EQ(1, CALL(IsCharNumeric, '7'));
    EXPECT_EQ(9, CALL(ConvertCoinage, 1234567, out, 3));

    EXPECT_EQ(0, CALL(CreateAppPath, "kvexports.exe", "C:\\kv\\kvexports.exe"));
    EXPECT_EQ(0, CALL(GetRegistAppPath, "kvexports.exe", out));
    EXPECT_STREQ("C:\\kv\\", out);
    EXPECT_EQ(0, CALL(DeleteAppPath, "kvexports.exe"));
    EXPECT_EQ(0, CALL(CreateLocalMachineReg, "KvExports", "A", "B"));
    EXPECT_EQ(0, CALL(DeleteLocalMachineReg, "KvExports", "A", "B"));
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\KvExports");
    EXPECT_EQ(0, CALL(CreateUninstallReg, "KvExports", "Kv", "C:\\kv\\uninst.exe"));
    EXPECT_EQ(0, CALL(DeleteUninstallReg, "KvExports"));
    EXPECT_EQ(0, CALL(CountUpSharedDLLs, "C:\\kv\\kv.dll") + CALL(CountUpSharedDLLs, "C:\\kv\\kv.dll"));
    EXPECT_EQ(2u, CALL(GetCountSharedDLLs, "C:\\kv\\kv.dll"));
    EXPECT_EQ(0, CALL(CountDownSharedDLLs, "C:\\kv\\kv.dll"));
    EXPECT_EQ(0, CALL(DeleteValueSharedDLLs, "C:\\kv\\kv.dll"));
    EXPECT_EQ(0, CALL(GetStartMenu, out) + CALL(GetProgramFiles, out) + CALL(GetSendToFolder, out));
    EXPECT_EQ(0, CALL(RegistExt, ".kvx", "KvExports.File", "C:\\kv\\kv.exe", 1));
    EXPECT_EQ(0, CALL(RegistExtAction, "KvExports.File", "open", "command", "kv.exe \"%1\""));
    CALL(GetRegistClassName, "KvExports.File\\shell\\open", out);
    EXPECT_STREQ("KvExports.File", out);
    EXPECT_EQ(0, CALL(RegistShellKey, "kvy", "Kv text", "KvExports.Text\\shell\\open\\command", "kv.exe"));
    EXPECT_EQ(0, CALL(UnregistShellKey, "kvy", "KvExports.Text"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, CALL(UnRegistExt, ".kvx", "KvExports.NoClass"));

    HWND parent = CreateWindowExA(0, "STATIC", "abc", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, parent);
    HWND bar = CALL(CreateProgressBar, parent, 10, 20, 100, 16, 7);
    EXPECT_EQ(0, CALL(SetProgressBar, bar, 0, 50, 1));
    EXPECT_EQ(50, SendMessageA(bar, PBM_GETRANGE, FALSE, 0));
    int place[4] = {};
    CALL(GetDlgItemRect, parent, 7, place);
    EXPECT_EQ(10 + 16, place[0] + place[3]);
    HWND barEx = CALL(CreateProgressBarEx, parent, 0, 40, 100, 16, 8);
    GetClassNameA(barEx, out, sizeof out);
    EXPECT_STREQ("ProgressBarEx", out);
    // Outside the program's own windows the procedures answer as the defaults do.
    EXPECT_EQ(3, CALL(ListProc, parent, WM_GETTEXTLENGTH, 0, 0));
    EXPECT_EQ(FALSE, CALL(EditListDlgProc, parent, WM_NULL, 0, 0) | CALL(AddListDlgProc, parent, WM_NULL, 0, 0) |
                         CALL(DDAddListDlgProc, parent, WM_NULL, 0, 0) | CALL(CutPreDlgProc, parent, WM_NULL, 0, 0));
    DestroyWindow(parent);

    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    DragFileList empty{};
    CALL(DragDropStart, nullptr, &empty);  // nothing to drag: returns at once
    std::string block(DragFileListSize(1), '\0');
    auto* list = reinterpret_cast<DragFileList*>(block.data());
    AppendDragFile(list, "C:\\logs\\app.log");
    CALL(HDropClipCopy, list);
    ASSERT_TRUE(OpenClipboard(nullptr));
    auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP));
    out[0] = '\0';
    if (drop) DragQueryFileA(drop, 0, out, sizeof out);
    CloseClipboard();
    EXPECT_STREQ("C:\\logs\\app.log", out);
    OleFlushClipboard();
    OleUninitialize();

    std::vector<std::string> expected = ExpectedExports();
    EXPECT_GT(expected.size(), 60u);
    for (const std::string& export_ : expected) EXPECT_EQ(1u, m.called.count(export_)) << export_ << " is never called here";
}

}  // namespace
