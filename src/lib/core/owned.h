// Small move-only owners for Win32 handles, so that every handle is released on every path.
#pragma once
#include <windows.h>

template <class Traits>
class Owned {
public:
    using T = typename Traits::Type;
    Owned() = default;
    explicit Owned(T h) : h_(h) {}
    Owned(Owned&& o) noexcept : h_(o.Release()) {}
    Owned& operator=(Owned&& o) noexcept {
        Reset(o.Release());
        return *this;
    }
    Owned(const Owned&) = delete;  // a copy would close the handle twice
    Owned& operator=(const Owned&) = delete;
    ~Owned() { Reset(); }

    T Get() const { return h_; }
    explicit operator bool() const { return Traits::Valid(h_); }
    T* Put() {  // for out-parameters: RegCreateKeyExA(..., key.Put(), ...)
        Reset();
        return &h_;
    }
    T Release() {
        T h = h_;
        h_ = Traits::Invalid();
        return h;
    }
    void Reset(T h = Traits::Invalid()) {
        if (Traits::Valid(h_)) Traits::Close(h_);
        h_ = h;
    }

private:
    T h_ = Traits::Invalid();
};

struct FileTraits {
    using Type = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Valid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};

// Handles whose invalid value is null: threads, events, mutexes, mappings.
struct KernelTraits {
    using Type = HANDLE;
    static HANDLE Invalid() { return nullptr; }
    static bool Valid(HANDLE h) { return h != nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};

struct KeyTraits {
    using Type = HKEY;
    static HKEY Invalid() { return nullptr; }
    static bool Valid(HKEY h) { return h != nullptr; }
    static void Close(HKEY h) { RegCloseKey(h); }
};

struct FindTraits {
    using Type = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Valid(HANDLE h) { return h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { FindClose(h); }
};

struct GlobalTraits {
    using Type = HGLOBAL;
    static HGLOBAL Invalid() { return nullptr; }
    static bool Valid(HGLOBAL h) { return h != nullptr; }
    static void Close(HGLOBAL h) { GlobalFree(h); }
};

struct LocalTraits {
    using Type = HLOCAL;
    static HLOCAL Invalid() { return nullptr; }
    static bool Valid(HLOCAL h) { return h != nullptr; }
    static void Close(HLOCAL h) { LocalFree(h); }
};

// A block from the process heap (HeapAlloc(GetProcessHeap(), ...)).
struct ProcessHeapTraits {
    using Type = void*;
    static void* Invalid() { return nullptr; }
    static bool Valid(void* p) { return p != nullptr; }
    static void Close(void* p) { HeapFree(GetProcessHeap(), 0, p); }
};

template <class H>
struct GdiTraits {
    using Type = H;
    static H Invalid() { return nullptr; }
    static bool Valid(H h) { return h != nullptr; }
    static void Close(H h) { DeleteObject(h); }
};

struct MenuTraits {
    using Type = HMENU;
    static HMENU Invalid() { return nullptr; }
    static bool Valid(HMENU h) { return h != nullptr; }
    static void Close(HMENU h) { DestroyMenu(h); }
};

using OwnedFile = Owned<FileTraits>;
using OwnedHandle = Owned<KernelTraits>;
using OwnedKey = Owned<KeyTraits>;
using OwnedFind = Owned<FindTraits>;
using OwnedGlobal = Owned<GlobalTraits>;
using OwnedLocal = Owned<LocalTraits>;
using OwnedHeapBlock = Owned<ProcessHeapTraits>;
using OwnedFont = Owned<GdiTraits<HFONT>>;
using OwnedBrush = Owned<GdiTraits<HBRUSH>>;
using OwnedPen = Owned<GdiTraits<HPEN>>;
using OwnedBitmap = Owned<GdiTraits<HBITMAP>>;
using OwnedMenu = Owned<MenuTraits>;

// Locks a global memory block for the life of the guard.
template <class T>
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL h) : h_(h), p_(h ? static_cast<T*>(GlobalLock(h)) : nullptr) {}
    ~GlobalLockGuard() {
        if (p_) GlobalUnlock(h_);
    }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    HGLOBAL h_;
    T* p_;
};

// Selects a GDI object into a device context and puts the previous one back.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
    ~SelectGuard() {
        if (old_) SelectObject(dc_, old_);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A window's device context from GetDC, released with ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND w) : w_(w), dc_(GetDC(w)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(w_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND w_;
    HDC dc_;
};
