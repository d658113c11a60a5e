// The OLE drag source and data object for dragging entries out as files, and the clipboard copy.
#pragma once
#include <ole2.h>
#include <windows.h>

#include "dragdrop/drag_file_list.h"
#include "lib/core/owned.h"

struct HDropTraits {
    using Type = HGLOBAL;
    static HGLOBAL Invalid() { return nullptr; }
    static bool Valid(HGLOBAL h) { return h != nullptr; }
    static void Close(HGLOBAL h) { DragFinish(static_cast<HDROP>(h)); }
};
using OwnedHDrop = Owned<HDropTraits>;

template <class I>
struct ComTraits {
    using Type = I*;
    static I* Invalid() { return nullptr; }
    static bool Valid(I* p) { return p != nullptr; }
    static void Close(I* p) { p->Release(); }
};
template <class I>
using ComPtr = Owned<ComTraits<I>>;

// The one format offered: CF_HDROP, content, all of it, in global memory.
FORMATETC HDropFormat();

// Both the drop source and the data object of a drag, or the clipboard's data object. Starts with
// no references; every face that is handed out counts one, and the last Release deletes it.
class DragDrop : public IDropSource, public IDataObject {
public:
    // Takes hDrop; frees it when the object dies if ownsData is set.
    DragDrop(BOOL ownsData, HGLOBAL hDrop);
    DragDrop(const DragDrop&) = delete;
    DragDrop& operator=(const DragDrop&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
    STDMETHODIMP GiveFeedback(DWORD effect) override;
    virtual ~DragDrop();
    STDMETHODIMP QueryGetData(FORMATETC* format) override;
    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override;
    STDMETHODIMP SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
    STDMETHODIMP GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
    STDMETHODIMP EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override;
    STDMETHODIMP DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* connection) override;
    STDMETHODIMP DUnadvise(DWORD connection) override;
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA** out) override;

private:
    ULONG refCount_ = 0;
    HGLOBAL hDrop_;
    OwnedHDrop owned_;             // hDrop_ when the object owns it (ownsData)
    ComPtr<IUnknown> blockOwner_;  // releases a block handed over by SetData with its pUnkForRelease
};

// Enumerates the single format of a DragDrop.
class DropEnumFormatEtc : public IEnumFORMATETC {
public:
    explicit DropEnumFormatEtc(ULONG position = 0) : position_(position) {}
    DropEnumFormatEtc(const DropEnumFormatEtc&) = delete;
    DropEnumFormatEtc& operator=(const DropEnumFormatEtc&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP Next(ULONG count, FORMATETC* formats, ULONG* fetched) override;
    STDMETHODIMP Skip(ULONG count) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumFORMATETC** out) override;
    virtual ~DropEnumFormatEtc() = default;

private:
    ULONG refCount_ = 0;
    ULONG position_;
};

extern "C" {
// Runs a complete modal OLE drag of the listed files, offered for copying; window is not used.
void WINAPI DragDropStart(HWND window, DragFileList* list);
// Puts the listed files on the clipboard as CF_HDROP; the clipboard keeps the data object.
void WINAPI HDropClipCopy(DragFileList* list);
}
