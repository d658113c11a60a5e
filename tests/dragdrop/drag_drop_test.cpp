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

class CountedEnum : public DropEnumFormatEtc {
public:
    ~CountedEnum() override { ++destroyedObjects; }
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

bool IsFreed(HGLOBAL block) { return GlobalFlags(block) == GMEM_INVALID_HANDLE; }

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
    EXPECT_EQ((std::vector<std::string>{"C:\\a.log", so, "e"}), NamesIn(block.Get()));
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
    EXPECT_EQ(nullptr, BuildHDrop(none.Get()));
    none.Get()->count = -3;
    EXPECT_EQ(nullptr, BuildHDrop(none.Get()));
    EXPECT_EQ(nullptr, BuildHDrop(nullptr));
}

class DragDropTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        destroyedObjects = 0;
        FileList list({"C:\\Logs\\app.log"});
        block_ = BuildHDrop(list.Get());
        object_ = new CountedDragDrop(TRUE, block_);
        ASSERT_EQ(S_OK, object_->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&data_)));
    }
    void TearDown() override {
        if (data_) data_->Release();
        OleUninitialize();
    }
    ULONG ReleaseData() {
        ULONG count = data_->Release();
        data_ = nullptr;
        return count;
    }
    HGLOBAL block_ = nullptr;
    CountedDragDrop* object_ = nullptr;
    IDataObject* data_ = nullptr;
};

TEST_F(DragDropTest, EachFaceIsCountedAndTheLastReleaseDeletesTheObjectAndItsBlock) {
    IUnknown* unknown = nullptr;
    IDropSource* source = nullptr;
    ASSERT_EQ(S_OK, data_->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)));
    ASSERT_EQ(S_OK, data_->QueryInterface(IID_IDropSource, reinterpret_cast<void**>(&source)));
    EXPECT_EQ(static_cast<IDropSource*>(object_), source);
    EXPECT_EQ(static_cast<IUnknown*>(source), unknown);
    for (REFIID other : {IID_IEnumFORMATETC, IID_IDropTarget, IID_IStream}) {
        void* out = reinterpret_cast<void*>(1);
        EXPECT_EQ(E_NOINTERFACE, data_->QueryInterface(other, &out));
        EXPECT_EQ(nullptr, out);
    }
    EXPECT_EQ(2u, unknown->Release());
    EXPECT_EQ(1u, source->Release());
    EXPECT_FALSE(IsFreed(block_));
    EXPECT_EQ(0u, ReleaseData());
    EXPECT_EQ(1, destroyedObjects);
    EXPECT_TRUE(IsFreed(block_));

    // A block the object does not own outlives it.
    FileList kept({"C:\\kept.log"});
    OwnedGlobal borrowed(BuildHDrop(kept.Get()));
    (new DragDrop(FALSE, borrowed.Get()))->Release();
    EXPECT_EQ(std::vector<std::string>{"C:\\kept.log"}, NamesIn(borrowed.Get()));
}

TEST_F(DragDropTest, TheDropSourceCancelsOnEscapeDropsOnReleaseAndGoesOnWhileAButtonIsHeld) {
    IDropSource* source = object_;
    const struct {
        BOOL escape;
        DWORD keys;
        HRESULT result;
    } cases[] = {{TRUE, MK_LBUTTON, DRAGDROP_S_CANCEL}, {FALSE, 0, DRAGDROP_S_DROP},
                 {FALSE, MK_CONTROL | MK_SHIFT, DRAGDROP_S_DROP}, {FALSE, MK_LBUTTON, S_OK},
                 {FALSE, MK_RBUTTON, S_OK}};
    for (const auto& c : cases) EXPECT_EQ(c.result, source->QueryContinueDrag(c.escape, c.keys)) << c.keys;
    EXPECT_EQ(DRAGDROP_S_USEDEFAULTCURSORS, source->GiveFeedback(DROPEFFECT_COPY));
}

TEST_F(DragDropTest, OnlyHDropContentInGlobalMemoryIsOfferedAndLent) {
    DVTARGETDEVICE device = {};
    const struct {
        FORMATETC format;
        HRESULT result;
    } cases[] = {{HDropFormat(), S_OK},
                 {{CF_HDROP, nullptr, DVASPECT_CONTENT, 3, TYMED_ISTREAM | TYMED_HGLOBAL}, S_OK},
                 {{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM}, DV_E_FORMATETC},
                 {{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}, DV_E_FORMATETC},
                 {{CF_HDROP, nullptr, DVASPECT_ICON, -1, TYMED_HGLOBAL}, DV_E_FORMATETC},
                 {{CF_HDROP, &device, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}, DV_E_FORMATETC}};
    for (const auto& c : cases) {
        FORMATETC format = c.format;
        EXPECT_EQ(c.result, data_->QueryGetData(&format)) << format.cfFormat << " " << format.tymed;
    }
    // The receiver gets the block itself; ReleaseStgMedium releases the object instead of freeing it.
    FORMATETC format = HDropFormat();
    STGMEDIUM medium = {};
    ASSERT_EQ(S_OK, data_->GetData(&format, &medium));
    EXPECT_EQ(block_, medium.hGlobal);
    EXPECT_EQ(1u, ReleaseData());  // the medium keeps the object alive
    EXPECT_EQ(std::vector<std::string>{"C:\\Logs\\app.log"}, NamesIn(medium.hGlobal));
    ReleaseStgMedium(&medium);
    EXPECT_EQ(1, destroyedObjects);
    EXPECT_TRUE(IsFreed(block_));
}

TEST_F(DragDropTest, SetDataTakesOrCopiesABlockAndRefusesOtherMedia) {
    FORMATETC format = HDropFormat();
    FileList next({Sjis(u8"C:\\ログ\\次.log")});
    OwnedGlobal callers(BuildHDrop(next.Get()));
    STGMEDIUM medium = {TYMED_HGLOBAL, {}, nullptr};
    medium.hGlobal = callers.Get();
    ASSERT_EQ(S_OK, data_->SetData(&format, &medium, FALSE));  // a copy: the caller may free its block
    EXPECT_TRUE(IsFreed(block_));
    callers.Reset();
    STGMEDIUM out = {};
    ASSERT_EQ(S_OK, data_->GetData(&format, &out));
    EXPECT_EQ(std::vector<std::string>{Sjis(u8"C:\\ログ\\次.log")}, NamesIn(out.hGlobal));
    HGLOBAL copy = out.hGlobal;
    ReleaseStgMedium(&out);

    medium.hGlobal = copy;  // handing back the block it holds keeps it
    EXPECT_EQ(S_OK, data_->SetData(&format, &medium, TRUE));
    EXPECT_FALSE(IsFreed(copy));
    FORMATETC stream = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM};
    EXPECT_EQ(DV_E_FORMATETC, data_->SetData(&stream, &medium, TRUE));
    STGMEDIUM file = {TYMED_FILE, {}, nullptr};
    EXPECT_EQ(E_INVALIDARG, data_->SetData(&format, &file, TRUE));
    EXPECT_EQ(E_NOTIMPL, data_->GetDataHere(&format, &out));
    EXPECT_EQ(0u, ReleaseData());
    EXPECT_TRUE(IsFreed(copy));
}

TEST(DropEnumFormatEtc, GivesTheOneFormatOnceSkipsToTheEndAndClonesItsPosition) {
    destroyedObjects = 0;
    IEnumFORMATETC* formats = new CountedEnum;
    formats->AddRef();
    FORMATETC got[2] = {};
    ULONG fetched = 7;
    EXPECT_EQ(S_OK, formats->Next(2, got, &fetched));
    EXPECT_EQ(1u, fetched);
    EXPECT_EQ(static_cast<CLIPFORMAT>(CF_HDROP), got[0].cfFormat);
    EXPECT_EQ(static_cast<DWORD>(TYMED_HGLOBAL), got[0].tymed);
    EXPECT_EQ(S_FALSE, formats->Next(1, got, &fetched));
    EXPECT_EQ(0u, fetched);
    IEnumFORMATETC* atEnd = nullptr;
    ASSERT_EQ(S_OK, formats->Clone(&atEnd));
    EXPECT_EQ(S_FALSE, atEnd->Next(1, got, nullptr));
    EXPECT_EQ(S_OK, formats->Reset());
    EXPECT_EQ(S_FALSE, formats->Skip(0xFFFFFFFF));  // no wrap-around
    EXPECT_EQ(S_FALSE, formats->Next(1, got, nullptr));
    EXPECT_EQ(S_OK, atEnd->Reset());
    EXPECT_EQ(S_OK, atEnd->Skip(1));
    EXPECT_EQ(0u, atEnd->Release());
    EXPECT_EQ(0u, formats->Release());
    EXPECT_EQ(1, destroyedObjects);
}

TEST(HDropClipCopy, PutsTheFilesOnTheClipboardForAnyReaderAndAnEmptyListChangesNothing) {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    std::vector<std::string> paths = {Sjis(u8"C:\\ログ\\テスト.log"), "D:\\b.txt"};
    FileList list(paths);
    HDropClipCopy(list.Get());
    list.Get()->count = 0;
    HDropClipCopy(list.Get());
    for (int read = 0; read < 2; ++read) {  // reading does not use the data up
        ASSERT_TRUE(OpenClipboard(nullptr));
        HANDLE data = GetClipboardData(CF_HDROP);
        EXPECT_EQ(paths, data ? NamesIn(data) : std::vector<std::string>{});
        CloseClipboard();
    }
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
    STDMETHODIMP DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        offered = *effect;
        FORMATETC format = HDropFormat();
        STGMEDIUM medium = {};
        if (SUCCEEDED(data->GetData(&format, &medium))) {
            names = NamesIn(medium.hGlobal);
            ReleaseStgMedium(&medium);
        }
        *effect &= DROPEFFECT_COPY | DROPEFFECT_MOVE;
        return S_OK;
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
    FileList list({Sjis(u8"C:\\ログ\\app.log")});
    DWORD start = GetTickCount();
    DragDropStart(window, list.Get());  // no button is held: the drop comes at once
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), target.offered);
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), target.dropped);
    EXPECT_EQ(std::vector<std::string>{Sjis(u8"C:\\ログ\\app.log")}, target.names);
    list.Get()->count = 0;
    DragDropStart(window, list.Get());  // nothing to drag: returns without a loop
    RevokeDragDrop(window);
    DestroyWindow(window);
    OleUninitialize();
}

}  // namespace
