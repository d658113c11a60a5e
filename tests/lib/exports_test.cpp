// The export table of the built Kelvora.exe: every name of exports.txt is called by the library's
// tests, and the exports that work with windows answer here.
#include "exports.h"

#include <commctrl.h>

#include <fstream>
#include <vector>

#include "cut/cut_dialogs.h"
#include "dialogs/entry_dialog.h"
#include "dragdrop/dd_add_list_dialog.h"
#include "dragdrop/drag_drop.h"
#include "dragdrop/list_proc.h"
#include "lib/progress_bar.h"

using testing_support::EnvPath;

ExportsModule::ExportsModule() {
    std::ifstream in(EnvPath("KELVORA_EXE"), std::ios::binary);
    std::vector<char> image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (image.size() < sizeof(IMAGE_DOS_HEADER)) return;
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(image.data());
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(image.data() + dos->e_lfanew);
    nt->FileHeader.Characteristics |= IMAGE_FILE_DLL;
    nt->OptionalHeader.AddressOfEntryPoint = 0;
    std::string path = folder_.File("KelvoraExports.dll");
    std::ofstream(path, std::ios::binary).write(image.data(), static_cast<std::streamsize>(image.size()));
    module_ = LoadLibraryA(path.c_str());
}

ExportsModule::~ExportsModule() {
    if (module_) FreeLibrary(module_);
}

ExportsModule& Exports() {
    static ExportsModule module;
    return module;
}

namespace {

// After the whole program ran: every exported name was called by some test.
class EveryExportCalled : public testing::Environment {
    void TearDown() override {
        if (testing::GTEST_FLAG(filter) != "*") return;
        std::ifstream names(EnvPath("KELVORA_SOURCE_DIR") + "\\tests\\lib\\exports.txt");
        for (std::string line; std::getline(names, line);) {
            if (line.empty() || line[0] == '#') continue;
            EXPECT_EQ(1u, Exports().called.count(line)) << line << " is never called";
        }
        EXPECT_GT(Exports().called.size(), 60u);
    }
};
testing::Environment* const everyExportCalled = testing::AddGlobalTestEnvironment(new EveryExportCalled);

TEST(Exports, AreFoundByNameAndTheWindowFunctionsAnswer) {
    ASSERT_NE(nullptr, Exports().Get()) << "error " << GetLastError();
    HWND parent = CreateWindowExA(0, "STATIC", "abc", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    HWND bar = CALL(CreateProgressBar, parent, 10, 20, 100, 16, 7);
    EXPECT_EQ(0, CALL(SetProgressBar, bar, 0, 50, 1));
    EXPECT_EQ(50, SendMessageA(bar, PBM_GETRANGE, FALSE, 0));
    int place[4] = {};
    CALL(GetDlgItemRect, parent, 7, place);
    EXPECT_EQ(std::vector<int>({10, 20, 100, 16}), std::vector<int>(place, place + 4));
    char name[32] = "";
    GetClassNameA(CALL(CreateProgressBarEx, parent, 0, 40, 100, 16, 8), name, sizeof name);
    EXPECT_STREQ("ProgressBarEx", name);
    // Outside the program's own windows the procedures answer as the defaults do.
    EXPECT_EQ(3, CALL(ListProc, parent, WM_GETTEXTLENGTH, 0, 0));
    EXPECT_EQ(FALSE, CALL(EditListDlgProc, parent, WM_NULL, 0, 0) | CALL(AddListDlgProc, parent, WM_NULL, 0, 0) |
                         CALL(DDAddListDlgProc, parent, WM_NULL, 0, 0) | CALL(CutPreDlgProc, parent, WM_NULL, 0, 0));
    DestroyWindow(parent);
    DragFileList empty{};  // nothing to drag or copy: both return at once
    CALL(DragDropStart, nullptr, &empty);
    CALL(HDropClipCopy, &empty);
}

}  // namespace
