#include "dragdrop/drag_drop.h"

#include <shlobj.h>

#include <cstring>
#include <new>
#include <utility>

static_assert(sizeof(DROPFILES) == 20, "the names start at offset 20");

namespace {

HGLOBAL CopyGlobal(HGLOBAL source) {
    SIZE_T size = GlobalSize(source);
    if (size == 0) return nullptr;
    OwnedGlobal copy(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size));
    if (!copy) return nullptr;
    GlobalLockGuard<BYTE> from(source);
    GlobalLockGuard<BYTE> to(copy.Get());
    if (!from || !to) return nullptr;
    memcpy(to.Get(), from.Get(), size);
    return copy.Release();
}

}  // namespace

FORMATETC HDropFormat() { return FORMATETC{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

DragDrop::DragDrop(BOOL ownsData, HGLOBAL hDrop) : hDrop_(hDrop), owned_(ownsData ? hDrop : nullptr) {}

DragDrop::~DragDrop() = default;

STDMETHODIMP DragDrop::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource)) {
        *out = static_cast<IDropSource*>(this);
    } else if (IsEqualIID(iid, IID_IDataObject)) {
        *out = static_cast<IDataObject*>(this);
    } else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) DragDrop::AddRef() { return ++refCount_; }

STDMETHODIMP_(ULONG) DragDrop::Release() {
    ULONG count = --refCount_;
    if (count == 0) delete this;
    return count;
}

STDMETHODIMP DragDrop::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
    if (escapePressed) return DRAGDROP_S_CANCEL;
    if (!(keyState & (MK_LBUTTON | MK_RBUTTON))) return DRAGDROP_S_DROP;
    return S_OK;
}

STDMETHODIMP DragDrop::GiveFeedback(DWORD) { return DRAGDROP_S_USEDEFAULTCURSORS; }

STDMETHODIMP DragDrop::QueryGetData(FORMATETC* format) {
    if (!format) return E_INVALIDARG;
    // lindex is not looked at: a block holds all its names whatever part is asked for.
    if (format->cfFormat != CF_HDROP || format->ptd != nullptr || format->dwAspect != DVASPECT_CONTENT ||
        !(format->tymed & TYMED_HGLOBAL))
        return DV_E_FORMATETC;
    return S_OK;
}

STDMETHODIMP DragDrop::GetData(FORMATETC* format, STGMEDIUM* medium) {
    if (!medium) return E_INVALIDARG;
    HRESULT result = QueryGetData(format);
    if (FAILED(result)) return result;
    if (!hDrop_) return E_UNEXPECTED;
    // The receiver gets the block itself; its ReleaseStgMedium releases this object instead of
    // freeing the block, which stays ours.
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = hDrop_;
    medium->pUnkForRelease = static_cast<IDropSource*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP DragDrop::SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) {
    HRESULT result = QueryGetData(format);
    if (FAILED(result)) return result;
    if (!medium || medium->tymed != TYMED_HGLOBAL || !medium->hGlobal) return E_INVALIDARG;
    if (medium->hGlobal == hDrop_) {
        // The block we already hold (a receiver may hand back what GetData gave it): keep it.
        if (release && medium->pUnkForRelease) medium->pUnkForRelease->Release();
        return S_OK;
    }
    if (!release) {
        // The caller keeps its block and may free it after the call: hold a copy of our own.
        OwnedHDrop copy(CopyGlobal(medium->hGlobal));
        if (!copy) return E_OUTOFMEMORY;
        hDrop_ = copy.Get();
        owned_ = std::move(copy);
        blockOwner_.Reset();
    } else if (medium->pUnkForRelease) {
        // The block belongs to that object; releasing it is how the block is let go.
        hDrop_ = medium->hGlobal;
        owned_.Reset();
        blockOwner_.Reset(medium->pUnkForRelease);
    } else {
        hDrop_ = medium->hGlobal;
        owned_.Reset(hDrop_);
        blockOwner_.Reset();
    }
    return S_OK;
}

STDMETHODIMP DragDrop::GetDataHere(FORMATETC*, STGMEDIUM*) { return E_NOTIMPL; }
STDMETHODIMP DragDrop::GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) { return E_NOTIMPL; }

STDMETHODIMP DragDrop::EnumFormatEtc(DWORD, IEnumFORMATETC** out) {
    if (!out) return E_INVALIDARG;
    *out = new (std::nothrow) DropEnumFormatEtc(0);
    if (!*out) return E_OUTOFMEMORY;
    (*out)->AddRef();
    return S_OK;
}

STDMETHODIMP DragDrop::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) { return E_NOTIMPL; }
STDMETHODIMP DragDrop::DUnadvise(DWORD) { return E_NOTIMPL; }
STDMETHODIMP DragDrop::EnumDAdvise(IEnumSTATDATA**) { return E_NOTIMPL; }

STDMETHODIMP DropEnumFormatEtc::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IEnumFORMATETC)) {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    *out = static_cast<IEnumFORMATETC*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) DropEnumFormatEtc::AddRef() { return ++refCount_; }

STDMETHODIMP_(ULONG) DropEnumFormatEtc::Release() {
    ULONG count = --refCount_;
    if (count == 0) delete this;
    return count;
}

STDMETHODIMP DropEnumFormatEtc::Next(ULONG count, FORMATETC* formats, ULONG* fetched) {
    if (fetched) *fetched = 0;
    if (position_ >= 1) return S_FALSE;
    if (count == 0) return S_OK;
    if (!formats) return E_INVALIDARG;
    formats[0] = HDropFormat();
    position_ = 1;
    if (fetched) *fetched = 1;
    return S_OK;
}

STDMETHODIMP DropEnumFormatEtc::Skip(ULONG count) {
    // Compared without adding, so a huge count cannot wrap around.
    if (count > 1 - position_) {
        position_ = 1;
        return S_FALSE;
    }
    position_ += count;
    return S_OK;
}

STDMETHODIMP DropEnumFormatEtc::Reset() {
    position_ = 0;
    return S_OK;
}

STDMETHODIMP DropEnumFormatEtc::Clone(IEnumFORMATETC** out) {
    if (!out) return E_INVALIDARG;
    *out = new (std::nothrow) DropEnumFormatEtc(position_);
    if (!*out) return E_OUTOFMEMORY;
    (*out)->AddRef();
    return S_OK;
}

namespace {

// A data object over a fresh block for the list, holding one reference through data; null when
// the block or the object cannot be made.
ComPtr<IDataObject> MakeDataObject(const DragFileList* list) {
    OwnedHDrop block(BuildHDrop(list));
    if (!block) return ComPtr<IDataObject>();
    auto* object = new (std::nothrow) DragDrop(TRUE, block.Get());
    if (!object) return ComPtr<IDataObject>();
    block.Release();  // the object owns it now
    ComPtr<IDataObject> data;
    object->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(data.Put()));
    return data;
}

}  // namespace

extern "C" void WINAPI DragDropStart(HWND, DragFileList* list) {
    ComPtr<IDataObject> data = MakeDataObject(list);
    if (!data) return;
    ComPtr<IDropSource> source;
    if (FAILED(data.Get()->QueryInterface(IID_IDropSource, reinterpret_cast<void**>(source.Put())))) return;
    DWORD effect = DROPEFFECT_NONE;
    DoDragDrop(data.Get(), source.Get(), DROPEFFECT_COPY, &effect);
    // The source goes first, then the data object; a drop target may still hold the object.
    source.Reset();
    data.Reset();
}

extern "C" void WINAPI HDropClipCopy(DragFileList* list) {
    ComPtr<IDataObject> data = MakeDataObject(list);
    if (!data) return;
    // The clipboard takes its own reference; ours ends here.
    OleSetClipboard(data.Get());
}
