// The CF_HDROP block, the drag source and data object, the format enumerator, the clipboard copy
// and a real drag into a drop target.
#include "dragdrop/drag_drop.h"

#include <shlobj.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "sjis.h"

using testing_support::Sjis;

namespace {

int destroyedObjects = 0;

class CountedDragDrop : public DragDrop {
public:
    using DragDrop::DragDrop;
    ~CountedDragDrop() override { ++destroyedObjects; }
};

// A zero-filled list block with room for the given paths, holding them.
struct FileList {
    explicit FileList(const std::vector<std::string>& paths, size_t slots = 0)
        : bytes(DragFileListSize(slots ? slots : paths.size()), '\0') {
        for (const std::string& p : paths) AppendDragFile(Get(), p.c_str());
    }
    DragFileList* Get() { return reinterpret_cast<DragFileList*>(bytes.data()); }
    std::vector<char> bytes;
};

std::vector<std::string> NamesIn(HGLOBAL block) {
    std::vector<std::string> names;
    auto drop = static_cast<HDROP>(block);
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        char name[MAX_PATH] = "";
        DragQueryFileA(drop, i, name, sizeof name);
        names.push_back(name);
    }
    return names;
}

// The block's defined bytes: the header and the names up to the closing NUL.
std::string DefinedBytes(HGLOBAL block) {
    GlobalLockGuard<char> bytes(block);
    size_t size = GlobalSize(block), end = 20;
    while (end < size && bytes.Get()[end] != '\0') end += strlen(bytes.Get() + end) + 1;
    return std::string(bytes.Get(), end < size ? end + 1 : size);
}

TEST(BuildHDrop, HeaderThenEachNameWithItsNulThenAClosingNulCutWithinEachSlot) {
    const std::string header("\x14\0\0\0\0\0\0\0\0\0\0\0\x01\0\0\0\0\0\0\0", 20);  // names at 20, fNC, ANSI
    const std::string so = Sjis(u8"C:\\ソフト\\表示.log");
    FileList list({"C:\\a.log", so, "e"});
    OwnedGlobal block(BuildHDrop(list.Get()));
    ASSERT_TRUE(block);
    EXPECT_EQ(header + "C:\\a.log" + '\0' + so + '\0' + "e" + std::string(2, '\0'), DefinedBytes(block.Get()));
    EXPECT_TRUE(GlobalFlags(block.Get()) & GMEM_DDESHARE);

    // Slots without a NUL in their 260 bytes, or with a character astride byte 259, are cut to
    // 259 bytes at a character boundary and never read further.
    FileList raw({}, 2);
    raw.Get()->count = 2;
    memset(DragFileSlot(raw.Get(), 0), 'a', kDragFileSlot);
    memset(DragFileSlot(raw.Get(), 1), 'b', kDragFileSlot);
    memcpy(DragFileSlot(raw.Get(), 1) + 258, Sjis(u8"表").data(), 2);
    OwnedGlobal cut(BuildHDrop(raw.Get()));
    EXPECT_EQ(header + std::string(259, 'a') + '\0' + std::string(258, 'b') + std::string(2, '\0'),
              DefinedBytes(cut.Get()));
    // AppendDragFile cuts the same way.
    FileList appended({std::string(258, 'x') + Sjis(u8"ロ")});
    EXPECT_EQ(std::string(258, 'x'), DragFileSlot(appended.Get(), 0));

    FileList none({}, 1);
    none.Get()->count = -3;
    EXPECT_EQ(nullptr, BuildHDrop(none.Get()));
}

TEST(DragDrop, AReceiverFindsTheOneFormatBorrowsTheBlockAndTheLastReleaseFreesIt) {
    destroyedObjects = 0;
    FileList list({"C:\\Logs\\app.log"});
    HGLOBAL block = BuildHDrop(list.Get());
    auto* object = new CountedDragDrop(TRUE, block);
    IDataObject* data = nullptr;
    IDropSource* source = nullptr;
    ASSERT_EQ(S_OK, object->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&data)));
    ASSERT_EQ(S_OK, data->QueryInterface(IID_IDropSource, reinterpret_cast<void**>(&source)));
    EXPECT_EQ(static_cast<IDropSource*>(object), source);
    source->Release();
    const FORMATETC refused[] = {{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM},
                                 {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL},
                                 {CF_HDROP, nullptr, DVASPECT_ICON, -1, TYMED_HGLOBAL}};
    for (FORMATETC format : refused) EXPECT_EQ(DV_E_FORMATETC, data->QueryGetData(&format)) << format.cfFormat;
    FORMATETC format = HDropFormat(), got = {};
    IEnumFORMATETC* formats = nullptr;
    ASSERT_EQ(S_OK, data->EnumFormatEtc(DATADIR_GET, &formats));
    ASSERT_EQ(S_OK, formats->Next(1, &got, nullptr));
    EXPECT_EQ(S_OK, data->QueryGetData(&got));
    EXPECT_EQ(S_FALSE, formats->Next(1, &got, nullptr));
    EXPECT_EQ(0u, formats->Release());
    // The receiver gets the block itself; ReleaseStgMedium releases the object instead of freeing it.
    STGMEDIUM medium = {};
    ASSERT_EQ(S_OK, data->GetData(&format, &medium));
    EXPECT_EQ(block, medium.hGlobal);
    EXPECT_EQ(1u, data->Release());  // the medium keeps the object alive
    EXPECT_EQ(std::vector<std::string>{"C:\\Logs\\app.log"}, NamesIn(medium.hGlobal));
    ReleaseStgMedium(&medium);
    EXPECT_EQ(1, destroyedObjects);
    EXPECT_EQ(static_cast<UINT>(GMEM_INVALID_HANDLE), GlobalFlags(block));  // freed
}

TEST(DragDrop, TheDropSourceCancelsOnEscapeDropsOnReleaseAndGoesOnWhileAButtonIsHeld) {
    DragDrop source(FALSE, nullptr);
    const std::pair<DWORD, HRESULT> cases[] = {{MK_LBUTTON, S_OK}, {MK_RBUTTON, S_OK}, {MK_CONTROL, DRAGDROP_S_DROP}};
    for (const auto& [keys, result] : cases) EXPECT_EQ(result, source.QueryContinueDrag(FALSE, keys)) << keys;
    EXPECT_EQ(DRAGDROP_S_CANCEL, source.QueryContinueDrag(TRUE, MK_LBUTTON));
}

TEST(HDropClipCopy, PutsTheFilesOnTheClipboardAndAnEmptyListChangesNothing) {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    std::vector<std::string> paths = {Sjis(u8"C:\\ログ\\テスト.log"), "D:\\b.txt"};
    FileList list(paths);
    HDropClipCopy(list.Get());
    list.Get()->count = 0;
    HDropClipCopy(list.Get());
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_HDROP);
    EXPECT_EQ(paths, data ? NamesIn(data) : std::vector<std::string>{});
    CloseClipboard();
    OleSetClipboard(nullptr);
    OleUninitialize();
}

// A drop target that records what a drag offers it.
class RecordingTarget : public IDropTarget {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        *out = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget) ? this : nullptr;
        return *out ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP DragEnter(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) override {
        offered = *effect;
        FORMATETC format = HDropFormat();
        STGMEDIUM medium = {};
        if (SUCCEEDED(data->GetData(&format, &medium))) names = NamesIn(medium.hGlobal), ReleaseStgMedium(&medium);
        return DragOver(keys, at, effect);
    }
    STDMETHODIMP DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect &= DROPEFFECT_COPY | DROPEFFECT_MOVE;
        return S_OK;
    }
    STDMETHODIMP DragLeave() override { return S_OK; }
    STDMETHODIMP Drop(IDataObject*, DWORD, POINTL, DWORD* effect) override {
        dropped = *effect;
        return S_OK;
    }
    DWORD offered = 0, dropped = 0;
    std::vector<std::string> names;
};

TEST(DragDropStart, OffersTheFilesForCopyingOnly) {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    WNDCLASSA kind = {};
    kind.lpfnWndProc = DefWindowProcA;
    kind.hInstance = GetModuleHandleA(nullptr);
    kind.lpszClassName = "KelvoraDropTarget";
    RegisterClassA(&kind);  // a static control would let the pointer through to what lies below
    HWND window = CreateWindowExA(WS_EX_TOPMOST, kind.lpszClassName, "", WS_POPUP | WS_VISIBLE, 100, 100, 200, 200,
                                  nullptr, nullptr, kind.hInstance, nullptr);
    RecordingTarget target;
    ASSERT_EQ(S_OK, RegisterDragDrop(window, &target));
    SetCursorPos(200, 200);
    testing_support::PumpMessages(50);
    FileList list({"C:\\logs\\app.log"});
    DWORD start = GetTickCount();
    DragDropStart(window, list.Get());  // no button is held: the drop comes at once
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), target.offered);
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), target.dropped);
    EXPECT_EQ(std::vector<std::string>{"C:\\logs\\app.log"}, target.names);
    RevokeDragDrop(window);
    DestroyWindow(window);
    OleUninitialize();
}

}  // namespace
