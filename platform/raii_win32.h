#pragma once
// Owners of Win32 handles, GDI objects and COM pointers: one header, every
// owner movable and never copyable (a copy would close the same handle
// twice). Windows builds only.
//
//   UniqueHandle<Traits>   the general owner; the traits name the handle
//                          type, its invalid values and how it is closed.
//   FileHandle, FindHandle, RegKey, IconHandle, MenuHandle, ModuleHandle,
//   GdiObject<T> (HFONT, HBRUSH, HPEN, HBITMAP, HRGN), WindowHandle,
//   ThreadHandle, SemaphoreHandle, DcHandle (CreateCompatibleDC),
//   GlobalMemory (GlobalAlloc), CoTaskMemPtr<T> (CoTaskMemAlloc'ed: item
//   id lists, shell strings),
//   WindowDc (GetDC/ReleaseDC), SelectGuard (SelectObject restored into
//   the DC it was selected into), ComPtr<T>, TempFileGuard, WaitCursor
//   (the hourglass for one scope, the previous cursor put back).
#include <windows.h>
#include <objbase.h>

#include <string>
#include <utility>

namespace quorv::win {

// The general owner. Traits: using type = ...; static type invalid();
// static bool valid(type); static void close(type).
template <class Traits>
class UniqueHandle {
public:
    using type = typename Traits::type;

    UniqueHandle() noexcept : h_(Traits::invalid()) {}
    explicit UniqueHandle(type h) noexcept : h_(h) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : h_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    type get() const noexcept { return h_; }
    bool valid() const noexcept { return Traits::valid(h_); }
    explicit operator bool() const noexcept { return valid(); }

    // Gives up ownership without closing.
    type release() noexcept {
        type h = h_;
        h_ = Traits::invalid();
        return h;
    }
    // Closes the current handle (if any) and takes h.
    void reset(type h = Traits::invalid()) noexcept {
        if (Traits::valid(h_) && h_ != h) Traits::close(h_);
        h_ = h;
    }

private:
    type h_;
};

namespace traits {

// Kernel handles: both "no handle" values (null and INVALID_HANDLE_VALUE).
struct Kernel {
    using type = HANDLE;
    static type invalid() { return nullptr; }
    static bool valid(type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(type h) { ::CloseHandle(h); }
};
struct Find {
    using type = HANDLE;
    static type invalid() { return INVALID_HANDLE_VALUE; }
    static bool valid(type h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void close(type h) { ::FindClose(h); }
};
struct Key {
    using type = HKEY;
    static type invalid() { return nullptr; }
    static bool valid(type h) { return h != nullptr; }
    static void close(type h) { ::RegCloseKey(h); }
};
struct Icon {
    using type = HICON;
    static type invalid() { return nullptr; }
    static bool valid(type h) { return h != nullptr; }
    static void close(type h) { ::DestroyIcon(h); }
};
struct Menu {
    using type = HMENU;
    static type invalid() { return nullptr; }
    static bool valid(type h) { return h != nullptr; }
    static void close(type h) { ::DestroyMenu(h); }
};
struct Module {
    using type = HMODULE;
    static type invalid() { return nullptr; }
    static bool valid(type h) { return h != nullptr; }
    static void close(type h) { ::FreeLibrary(h); }
};
struct Window {
    using type = HWND;
    static type invalid() { return nullptr; }
    static bool valid(type h) { return h != nullptr; }
    static void close(type h) { ::DestroyWindow(h); }
};
struct MemoryDc {
    using type = HDC;
    static type invalid() { return nullptr; }
    static bool valid(type h) { return h != nullptr; }
    static void close(type h) { ::DeleteDC(h); }
};
// Memory of GlobalAlloc (clipboard data until the clipboard takes it).
struct Global {
    using type = HGLOBAL;
    static type invalid() { return nullptr; }
    static bool valid(type h) { return h != nullptr; }
    static void close(type h) { ::GlobalFree(h); }
};
// Memory the shell or COM hands out with CoTaskMemAlloc (item id lists,
// wide strings).
template <class T>
struct CoTaskMemory {
    using type = T*;
    static type invalid() { return nullptr; }
    static bool valid(type h) { return h != nullptr; }
    static void close(type h) { ::CoTaskMemFree(h); }
};
template <class T>
struct Gdi {
    using type = T;
    static type invalid() { return nullptr; }
    static bool valid(type h) { return h != nullptr; }
    static void close(type h) { ::DeleteObject(h); }
};

}  // namespace traits

using FileHandle = UniqueHandle<traits::Kernel>;
using ThreadHandle = UniqueHandle<traits::Kernel>;
using SemaphoreHandle = UniqueHandle<traits::Kernel>;
using FindHandle = UniqueHandle<traits::Find>;
using RegKey = UniqueHandle<traits::Key>;
using IconHandle = UniqueHandle<traits::Icon>;
using MenuHandle = UniqueHandle<traits::Menu>;
using ModuleHandle = UniqueHandle<traits::Module>;
using WindowHandle = UniqueHandle<traits::Window>;
using DcHandle = UniqueHandle<traits::MemoryDc>;
using GlobalMemory = UniqueHandle<traits::Global>;
template <class T>
using CoTaskMemPtr = UniqueHandle<traits::CoTaskMemory<T>>;
template <class T>
using GdiObject = UniqueHandle<traits::Gdi<T>>;
using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;
using Bitmap = GdiObject<HBITMAP>;
using Region = GdiObject<HRGN>;

// A window's DC from GetDC, released into the same window.
class WindowDc {
public:
    explicit WindowDc(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    WindowDc(WindowDc&& o) noexcept : window_(o.window_), dc_(std::exchange(o.dc_, nullptr)) {}
    WindowDc& operator=(WindowDc&&) = delete;
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint / EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND window) noexcept : window_(window) { dc_ = ::BeginPaint(window, &ps_); }
    ~PaintDc() { ::EndPaint(window_, &ps_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC get() const noexcept { return dc_; }
    const PAINTSTRUCT& paint() const noexcept { return ps_; }

private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_ = nullptr;
};

// Selects an object into a DC and puts the old one back into that same DC
// on scope exit.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(object ? ::SelectObject(dc, object) : nullptr) {}
    ~SelectGuard() {
        if (dc_ && old_ && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    SelectGuard(SelectGuard&& o) noexcept : dc_(std::exchange(o.dc_, nullptr)), old_(std::exchange(o.old_, nullptr)) {}
    SelectGuard& operator=(SelectGuard&&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A COM interface pointer: Release on scope exit, AddRef on explicit copy
// only (through Copy), never implicitly.
template <class T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    // Takes ownership of one reference.
    explicit ComPtr(T* p) noexcept : p_(p) {}
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& o) noexcept {
        if (this != &o) reset(std::exchange(o.p_, nullptr));
        return *this;
    }

    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    // For functions that hand out a new reference: releases the current one first.
    T** put() noexcept {
        reset();
        return &p_;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }
    void reset(T* p = nullptr) noexcept {
        if (p_) p_->Release();
        p_ = p;
    }
    T* release() noexcept { return std::exchange(p_, nullptr); }
    // A second owner of the same object (AddRef).
    ComPtr Copy() const noexcept {
        if (p_) p_->AddRef();
        return ComPtr(p_);
    }
    // QueryInterface into another pointer type; the HRESULT is returned.
    template <class U>
    HRESULT As(REFIID iid, ComPtr<U>& out) const noexcept {
        if (!p_) return E_POINTER;
        return p_->QueryInterface(iid, out.put_void());
    }

private:
    T* p_ = nullptr;
};

// CoInitialize / CoUninitialize in one scope (only when initialisation succeeded).
class ComApartment {
public:
    explicit ComApartment(DWORD model = COINIT_APARTMENTTHREADED) noexcept
        : hr_(::CoInitializeEx(nullptr, model)) {}
    ~ComApartment() {
        if (SUCCEEDED(hr_)) ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    HRESULT result() const noexcept { return hr_; }

private:
    HRESULT hr_;
};

// Deletes a (temporary) file on scope exit unless Commit() was called.
class TempFileGuard {
public:
    explicit TempFileGuard(std::wstring path) : path_(std::move(path)) {}
    ~TempFileGuard() {
        if (!committed_ && !path_.empty()) ::DeleteFileW(path_.c_str());
    }
    TempFileGuard(const TempFileGuard&) = delete;
    TempFileGuard& operator=(const TempFileGuard&) = delete;
    void Commit() noexcept { committed_ = true; }
    const std::wstring& path() const noexcept { return path_; }

private:
    std::wstring path_;
    bool committed_ = false;
};

// The wait cursor for the length of one operation; the cursor shown before
// comes back on scope exit.
class WaitCursor {
public:
    WaitCursor() noexcept : previous_(::SetCursor(::LoadCursor(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { ::SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous_;
};

}  // namespace quorv::win
