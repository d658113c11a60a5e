// The drag source, data object and format enumerator through their COM interfaces, and the
// clipboard copy read back by another reader.
#include "dragdrop/drag_drop.h"

#include <shlobj.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "sjis.h"

using testing_support::Sjis;

namespace {

int destroyedObjects = 0;

// Counts its own destruction, so a test sees when the last Release deleted the object.
class CountedDragDrop : public DragDrop {
public:
    using DragDrop::DragDrop;
    ~CountedDragDrop() override { ++destroyedObjects; }
};

class CountedEnum : public DropEnumFormatEtc {
public:
    ~CountedEnum() override { ++destroyedObjects; }
};

HGLOBAL BlockOf(const std::vector<std::string>& paths) {
    std::vector<char> bytes(DragFileListSize(paths.size()), '\0');
    auto* list = reinterpret_cast<DragFileList*>(bytes.data());
    for (const std::string& p : paths) AppendDragFile(list, p.c_str());
    return BuildHDrop(list);
}

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

FORMATETC Format(CLIPFORMAT format, DWORD tymed, DWORD aspect = DVASPECT_CONTENT, LONG index = -1,
                 DVTARGETDEVICE* device = nullptr) {
    return FORMATETC{format, device, aspect, index, tymed};
}

bool SameFormat(const FORMATETC& a, const FORMATETC& b) {
    return a.cfFormat == b.cfFormat && a.ptd == b.ptd && a.dwAspect == b.dwAspect && a.lindex == b.lindex &&
           a.tymed == b.tymed;
}

class DragDropTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        destroyedObjects = 0;
        block_ = BlockOf({"C:\\Logs\\app.log"});
        ASSERT_NE(nullptr, block_);
        object_ = new CountedDragDrop(TRUE, block_);
        ASSERT_EQ(S_OK, object_->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&data_)));
    }
    void TearDown() override {
        if (data_) data_->Release();
        OleUninitialize();
    }
    // Releases the test's own reference; the object's count after it.
    ULONG ReleaseData() {
        ULONG count = data_->Release();
        data_ = nullptr;
        return count;
    }

    HGLOBAL block_ = nullptr;
    CountedDragDrop* object_ = nullptr;
    IDataObject* data_ = nullptr;
};

TEST_F(DragDropTest, QueryInterfaceHandsOutEachFaceAndCountsIt) {
    IUnknown* unknown = nullptr;
    IDropSource* source = nullptr;
    IDataObject* data = nullptr;
    ASSERT_EQ(S_OK, data_->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)));
    ASSERT_EQ(S_OK, data_->QueryInterface(IID_IDropSource, reinterpret_cast<void**>(&source)));
    ASSERT_EQ(S_OK, source->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&data)));
    EXPECT_EQ(static_cast<IUnknown*>(static_cast<IDropSource*>(object_)), unknown);
    EXPECT_EQ(static_cast<IDropSource*>(object_), source);
    EXPECT_EQ(static_cast<IDataObject*>(object_), data);
    EXPECT_EQ(data_, data);
    EXPECT_EQ(5u, data_->AddRef());
    EXPECT_EQ(4u, unknown->Release());
    EXPECT_EQ(3u, source->Release());
    EXPECT_EQ(2u, data->Release());
    EXPECT_EQ(1u, data_->Release());

    for (REFIID other : {IID_IEnumFORMATETC, IID_IDropTarget, IID_IStream, IID_IClassFactory}) {
        void* out = reinterpret_cast<void*>(1);
        EXPECT_EQ(E_NOINTERFACE, data_->QueryInterface(other, &out));
        EXPECT_EQ(nullptr, out);
    }
    EXPECT_EQ(0, destroyedObjects);
}

TEST_F(DragDropTest, TheLastReleaseDeletesTheObjectAndFreesItsBlock) {
    IDropSource* source = nullptr;
    ASSERT_EQ(S_OK, data_->QueryInterface(IID_IDropSource, reinterpret_cast<void**>(&source)));
    EXPECT_EQ(1u, source->Release());
    EXPECT_FALSE(IsFreed(block_));
    EXPECT_EQ(0, destroyedObjects);
    EXPECT_EQ(0u, ReleaseData());
    EXPECT_EQ(1, destroyedObjects);
    EXPECT_TRUE(IsFreed(block_));
}

TEST_F(DragDropTest, ABlockItDoesNotOwnOutlivesTheObject) {
    OwnedGlobal block(BlockOf({"C:\\kept.log"}));
    auto* borrowed = new CountedDragDrop(FALSE, block.Get());
    borrowed->AddRef();
    EXPECT_EQ(0u, borrowed->Release());
    EXPECT_EQ(1, destroyedObjects);
    EXPECT_EQ(std::vector<std::string>{"C:\\kept.log"}, NamesIn(block.Get()));
}

struct ContinueCase {
    BOOL escape;
    DWORD keys;
    HRESULT result;
};

class QueryContinueDragTest : public testing::TestWithParam<ContinueCase> {};

TEST_P(QueryContinueDragTest, EscapeCancelsReleasedButtonsDropOtherwiseGoOn) {
    auto* object = new DragDrop(TRUE, BlockOf({"C:\\a"}));
    object->AddRef();
    IDropSource* source = object;
    EXPECT_EQ(GetParam().result, source->QueryContinueDrag(GetParam().escape, GetParam().keys));
    EXPECT_EQ(DRAGDROP_S_USEDEFAULTCURSORS, source->GiveFeedback(DROPEFFECT_COPY));
    source->Release();
}

INSTANTIATE_TEST_SUITE_P(
    KeyStates, QueryContinueDragTest,
    testing::Values(ContinueCase{TRUE, MK_LBUTTON, DRAGDROP_S_CANCEL}, ContinueCase{TRUE, 0, DRAGDROP_S_CANCEL},
                    ContinueCase{FALSE, 0, DRAGDROP_S_DROP}, ContinueCase{FALSE, MK_CONTROL | MK_SHIFT, DRAGDROP_S_DROP},
                    ContinueCase{FALSE, MK_LBUTTON, S_OK}, ContinueCase{FALSE, MK_RBUTTON, S_OK},
                    ContinueCase{FALSE, MK_LBUTTON | MK_CONTROL, S_OK}));

struct FormatCase {
    const char* name;
    FORMATETC format;
    HRESULT result;
};

DVTARGETDEVICE someDevice = {};

class QueryGetDataTest : public DragDropTest, public testing::WithParamInterface<FormatCase> {};

TEST_P(QueryGetDataTest, OnlyHDropContentInGlobalMemoryIsOffered) {
    FORMATETC format = GetParam().format;
    EXPECT_EQ(GetParam().result, data_->QueryGetData(&format));
    STGMEDIUM medium = {};
    EXPECT_EQ(GetParam().result, data_->GetData(&format, &medium));
    if (medium.tymed != TYMED_NULL) ReleaseStgMedium(&medium);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, QueryGetDataTest,
    testing::Values(FormatCase{"Offered", Format(CF_HDROP, TYMED_HGLOBAL), S_OK},
                    FormatCase{"GlobalAmongOthers", Format(CF_HDROP, TYMED_ISTREAM | TYMED_HGLOBAL | TYMED_FILE), S_OK},
                    FormatCase{"AnyIndex", Format(CF_HDROP, TYMED_HGLOBAL, DVASPECT_CONTENT, 3), S_OK},
                    FormatCase{"StreamOnly", Format(CF_HDROP, TYMED_ISTREAM), DV_E_FORMATETC},
                    FormatCase{"NoMedium", Format(CF_HDROP, TYMED_NULL), DV_E_FORMATETC},
                    FormatCase{"Text", Format(CF_TEXT, TYMED_HGLOBAL), DV_E_FORMATETC},
                    FormatCase{"Icon", Format(CF_HDROP, TYMED_HGLOBAL, DVASPECT_ICON), DV_E_FORMATETC},
                    FormatCase{"Device", Format(CF_HDROP, TYMED_HGLOBAL, DVASPECT_CONTENT, -1, &someDevice),
                               DV_E_FORMATETC}),
    [](const testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

TEST_F(DragDropTest, GetDataLendsTheBlockAndReleaseStgMediumLeavesIt) {
    FORMATETC format = HDropFormat();
    STGMEDIUM medium = {};
    ASSERT_EQ(S_OK, data_->GetData(&format, &medium));
    EXPECT_EQ(static_cast<DWORD>(TYMED_HGLOBAL), medium.tymed);
    EXPECT_EQ(block_, medium.hGlobal);
    EXPECT_EQ(static_cast<IUnknown*>(static_cast<IDropSource*>(object_)), medium.pUnkForRelease);
    EXPECT_EQ(3u, data_->AddRef());  // the test's, the medium's and this one
    data_->Release();
    ReleaseStgMedium(&medium);
    EXPECT_FALSE(IsFreed(block_));
    EXPECT_EQ(std::vector<std::string>{"C:\\Logs\\app.log"}, NamesIn(block_));

    // A receiver still holding the medium keeps object and block alive after the source let go.
    ASSERT_EQ(S_OK, data_->GetData(&format, &medium));
    EXPECT_EQ(1u, ReleaseData());
    EXPECT_EQ(0, destroyedObjects);
    EXPECT_EQ(std::vector<std::string>{"C:\\Logs\\app.log"}, NamesIn(medium.hGlobal));
    ReleaseStgMedium(&medium);
    EXPECT_EQ(1, destroyedObjects);
    EXPECT_TRUE(IsFreed(block_));
}

TEST_F(DragDropTest, SetDataWithReleaseReplacesAndLaterFreesTheBlock) {
    HGLOBAL next = BlockOf({Sjis(u8"C:\\ログ\\次.log"), "C:\\b.log"});
    FORMATETC format = HDropFormat();
    STGMEDIUM medium = {TYMED_HGLOBAL, {}, nullptr};
    medium.hGlobal = next;
    ASSERT_EQ(S_OK, data_->SetData(&format, &medium, TRUE));
    EXPECT_TRUE(IsFreed(block_));
    STGMEDIUM out = {};
    ASSERT_EQ(S_OK, data_->GetData(&format, &out));
    EXPECT_EQ(next, out.hGlobal);
    EXPECT_EQ((std::vector<std::string>{Sjis(u8"C:\\ログ\\次.log"), "C:\\b.log"}), NamesIn(out.hGlobal));
    ReleaseStgMedium(&out);
    EXPECT_EQ(0u, ReleaseData());
    EXPECT_TRUE(IsFreed(next));
}

TEST_F(DragDropTest, SetDataWithoutReleaseKeepsACopyAndLeavesTheCallersBlock) {
    OwnedGlobal callers(BlockOf({"C:\\callers.log"}));
    FORMATETC format = HDropFormat();
    STGMEDIUM medium = {TYMED_HGLOBAL, {}, nullptr};
    medium.hGlobal = callers.Get();
    ASSERT_EQ(S_OK, data_->SetData(&format, &medium, FALSE));
    EXPECT_TRUE(IsFreed(block_));
    callers.Reset();  // the caller may free its block as soon as the call returns
    STGMEDIUM out = {};
    ASSERT_EQ(S_OK, data_->GetData(&format, &out));
    EXPECT_EQ(std::vector<std::string>{"C:\\callers.log"}, NamesIn(out.hGlobal));
    HGLOBAL copy = out.hGlobal;
    ReleaseStgMedium(&out);
    EXPECT_EQ(0u, ReleaseData());
    EXPECT_TRUE(IsFreed(copy));
}

TEST_F(DragDropTest, SetDataRefusesOtherFormatsAndMediaAndKeepsTheBlock) {
    OwnedGlobal other(BlockOf({"C:\\other.log"}));
    STGMEDIUM medium = {TYMED_HGLOBAL, {}, nullptr};
    medium.hGlobal = other.Get();
    FORMATETC stream = Format(CF_HDROP, TYMED_ISTREAM);
    EXPECT_EQ(DV_E_FORMATETC, data_->SetData(&stream, &medium, TRUE));
    FORMATETC format = HDropFormat();
    STGMEDIUM file = {TYMED_FILE, {}, nullptr};
    EXPECT_EQ(E_INVALIDARG, data_->SetData(&format, &file, TRUE));
    // Handing back the very block it holds keeps it.
    STGMEDIUM same = {TYMED_HGLOBAL, {}, nullptr};
    same.hGlobal = block_;
    EXPECT_EQ(S_OK, data_->SetData(&format, &same, TRUE));
    EXPECT_FALSE(IsFreed(block_));
    EXPECT_EQ(std::vector<std::string>{"C:\\Logs\\app.log"}, NamesIn(block_));
}

TEST_F(DragDropTest, UnsupportedOperationsSayNotImplemented) {
    FORMATETC format = HDropFormat();
    FORMATETC canonical = {};
    STGMEDIUM medium = {};
    DWORD connection = 0;
    IEnumSTATDATA* advises = nullptr;
    EXPECT_EQ(E_NOTIMPL, data_->GetDataHere(&format, &medium));
    EXPECT_EQ(E_NOTIMPL, data_->GetCanonicalFormatEtc(&format, &canonical));
    EXPECT_EQ(E_NOTIMPL, data_->DAdvise(&format, 0, nullptr, &connection));
    EXPECT_EQ(E_NOTIMPL, data_->DUnadvise(0));
    EXPECT_EQ(E_NOTIMPL, data_->EnumDAdvise(&advises));
}

TEST_F(DragDropTest, EnumFormatEtcOffersTheOneFormatInEitherDirection) {
    for (DWORD direction : {DATADIR_GET, DATADIR_SET}) {
        IEnumFORMATETC* formats = nullptr;
        ASSERT_EQ(S_OK, data_->EnumFormatEtc(direction, &formats));
        FORMATETC got[2] = {};
        ULONG fetched = 9;
        EXPECT_EQ(S_OK, formats->Next(2, got, &fetched));
        EXPECT_EQ(1u, fetched);
        EXPECT_TRUE(SameFormat(HDropFormat(), got[0]));
        EXPECT_EQ(0u, formats->Release());
    }
}

class DropEnumTest : public testing::Test {
protected:
    void SetUp() override {
        destroyedObjects = 0;
        formats_ = new CountedEnum;
        formats_->AddRef();
    }
    void TearDown() override {
        if (formats_) formats_->Release();
    }
    IEnumFORMATETC* formats_ = nullptr;
};

TEST_F(DropEnumTest, QueryInterfaceAndCountsDeleteAtZero) {
    IUnknown* unknown = nullptr;
    IEnumFORMATETC* again = nullptr;
    ASSERT_EQ(S_OK, formats_->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)));
    ASSERT_EQ(S_OK, formats_->QueryInterface(IID_IEnumFORMATETC, reinterpret_cast<void**>(&again)));
    EXPECT_EQ(static_cast<IUnknown*>(formats_), unknown);
    EXPECT_EQ(formats_, again);
    for (REFIID other : {IID_IDataObject, IID_IDropSource, IID_IEnumSTATDATA}) {
        void* out = reinterpret_cast<void*>(1);
        EXPECT_EQ(E_NOINTERFACE, formats_->QueryInterface(other, &out));
        EXPECT_EQ(nullptr, out);
    }
    EXPECT_EQ(4u, formats_->AddRef());
    EXPECT_EQ(3u, formats_->Release());
    EXPECT_EQ(2u, unknown->Release());
    EXPECT_EQ(1u, again->Release());
    EXPECT_EQ(0, destroyedObjects);
    EXPECT_EQ(0u, formats_->Release());
    formats_ = nullptr;
    EXPECT_EQ(1, destroyedObjects);
}

TEST_F(DropEnumTest, NextGivesTheFormatOnceThenNothing) {
    FORMATETC got = {};
    ULONG fetched = 7;
    EXPECT_EQ(S_OK, formats_->Next(0, &got, &fetched));
    EXPECT_EQ(0u, fetched);
    EXPECT_EQ(S_OK, formats_->Next(1, &got, &fetched));
    EXPECT_EQ(1u, fetched);
    EXPECT_TRUE(SameFormat(HDropFormat(), got));
    EXPECT_EQ(static_cast<CLIPFORMAT>(15), got.cfFormat);
    fetched = 7;
    EXPECT_EQ(S_FALSE, formats_->Next(1, &got, &fetched));
    EXPECT_EQ(0u, fetched);
    EXPECT_EQ(S_FALSE, formats_->Next(1, &got, nullptr));
    EXPECT_EQ(S_OK, formats_->Reset());
    EXPECT_EQ(S_OK, formats_->Next(1, &got, nullptr));
}

struct SkipCase {
    ULONG before;  // formats fetched first
    ULONG skip;
    HRESULT result;
    HRESULT nextResult;  // Next after the skip
};

class DropEnumSkipTest : public DropEnumTest, public testing::WithParamInterface<SkipCase> {};

TEST_P(DropEnumSkipTest, SkipStopsAtTheEnd) {
    FORMATETC got = {};
    if (GetParam().before) formats_->Next(1, &got, nullptr);
    EXPECT_EQ(GetParam().result, formats_->Skip(GetParam().skip));
    EXPECT_EQ(GetParam().nextResult, formats_->Next(1, &got, nullptr));
}

INSTANTIATE_TEST_SUITE_P(Positions, DropEnumSkipTest,
                         testing::Values(SkipCase{0, 0, S_OK, S_OK}, SkipCase{0, 1, S_OK, S_FALSE},
                                         SkipCase{0, 2, S_FALSE, S_FALSE}, SkipCase{0, 0xFFFFFFFF, S_FALSE, S_FALSE},
                                         SkipCase{1, 0, S_OK, S_FALSE}, SkipCase{1, 1, S_FALSE, S_FALSE}));

TEST_F(DropEnumTest, CloneKeepsThePositionAndMovesOnItsOwn) {
    IEnumFORMATETC* fresh = nullptr;
    ASSERT_EQ(S_OK, formats_->Clone(&fresh));
    FORMATETC got = {};
    EXPECT_EQ(S_OK, fresh->Next(1, &got, nullptr));
    EXPECT_EQ(S_OK, formats_->Next(1, &got, nullptr));  // the original has not moved
    IEnumFORMATETC* atEnd = nullptr;
    ASSERT_EQ(S_OK, formats_->Clone(&atEnd));
    EXPECT_EQ(S_FALSE, atEnd->Next(1, &got, nullptr));
    EXPECT_EQ(S_OK, atEnd->Reset());
    EXPECT_EQ(S_OK, atEnd->Next(1, &got, nullptr));
    EXPECT_EQ(0u, fresh->Release());
    EXPECT_EQ(0u, atEnd->Release());
}

class ClipboardTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
    void TearDown() override {
        OleSetClipboard(nullptr);
        OleUninitialize();
    }
    // What a reader that knows nothing of OLE finds on the clipboard.
    static std::vector<std::string> ReadClipboardFiles() {
        std::vector<std::string> names;
        if (!OpenClipboard(nullptr)) return names;
        if (HANDLE data = GetClipboardData(CF_HDROP)) names = NamesIn(data);
        CloseClipboard();
        return names;
    }
};

TEST_F(ClipboardTest, HDropClipCopyPutsTheListedFilesOnTheClipboard) {
    std::vector<std::string> paths = {Sjis(u8"C:\\ログ\\テスト.log"), "C:\\Logs\\app.log", "D:\\b.txt"};
    std::vector<char> bytes(DragFileListSize(paths.size()), '\0');
    auto* list = reinterpret_cast<DragFileList*>(bytes.data());
    for (const std::string& p : paths) AppendDragFile(list, p.c_str());
    HDropClipCopy(list);
    EXPECT_EQ(paths, ReadClipboardFiles());
    EXPECT_EQ(paths, ReadClipboardFiles());  // reading does not use the data up

    IDataObject* current = nullptr;
    ASSERT_EQ(S_OK, OleGetClipboard(&current));
    FORMATETC format = HDropFormat();
    STGMEDIUM medium = {};
    ASSERT_EQ(S_OK, current->GetData(&format, &medium));
    EXPECT_EQ(paths, NamesIn(medium.hGlobal));
    ReleaseStgMedium(&medium);
    current->Release();
}

TEST_F(ClipboardTest, AnEmptyListLeavesTheClipboardAlone) {
    std::vector<char> bytes(DragFileListSize(1), '\0');
    auto* list = reinterpret_cast<DragFileList*>(bytes.data());
    AppendDragFile(list, "C:\\first.log");
    HDropClipCopy(list);
    list->count = 0;
    HDropClipCopy(list);
    EXPECT_EQ(std::vector<std::string>{"C:\\first.log"}, ReadClipboardFiles());
}

}  // namespace

namespace {

// With no mouse button held, the modal drag loop sees the drop at once and comes back.
TEST(DragDropStart, ADragWithTheButtonUpEndsAtOnce) {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    std::vector<char> bytes(DragFileListSize(1), '\0');
    auto* list = reinterpret_cast<DragFileList*>(bytes.data());
    AppendDragFile(list, "C:\\Logs\\app.log");
    DWORD start = GetTickCount();
    DragDropStart(nullptr, list);
    EXPECT_LT(GetTickCount() - start, 5000u);
    list->count = 0;
    DragDropStart(nullptr, list);  // nothing to drag: returns without a loop
    OleUninitialize();
}

}  // namespace
