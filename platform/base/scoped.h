// Move-only owners of Win32 handles and GDI objects, a selection guard, a
// paint session, a critical-section guard, the thread's COM apartment and
// off-screen surfaces. Copying is deleted so nothing is freed twice.
#pragma once
#include <windows.h>
#include <objbase.h>

#include <utility>

namespace scoped {

template <typename T, typename Traits>
class Handle {
public:
    Handle() = default;
    explicit Handle(T h) : m_h(h) {}
    ~Handle() { reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle(Handle&& o) noexcept : m_h(o.release()) {}
    Handle& operator=(Handle&& o) noexcept {
        if (this != &o) reset(o.release());
        return *this;
    }
    T get() const { return m_h; }
    explicit operator bool() const { return Traits::valid(m_h); }
    T release() { return std::exchange(m_h, Traits::empty()); }
    void reset(T h = Traits::empty()) {
        if (Traits::valid(m_h)) Traits::close(m_h);
        m_h = h;
    }

private:
    T m_h = Traits::empty();
};

struct KernelTraits {
    static HANDLE empty() { return nullptr; }
    static bool valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { CloseHandle(h); }
};
struct KeyTraits {
    static HKEY empty() { return nullptr; }
    static bool valid(HKEY h) { return h != nullptr; }
    static void close(HKEY h) { RegCloseKey(h); }
};
struct LibraryTraits {
    static HMODULE empty() { return nullptr; }
    static bool valid(HMODULE h) { return h != nullptr; }
    static void close(HMODULE h) { FreeLibrary(h); }
};
template <typename T>
struct GdiTraits {
    static T empty() { return nullptr; }
    static bool valid(T h) { return h != nullptr; }
    static void close(T h) { DeleteObject(h); }
};
struct MemDCTraits {
    static HDC empty() { return nullptr; }
    static bool valid(HDC h) { return h != nullptr; }
    static void close(HDC h) { DeleteDC(h); }
};

using Kernel = Handle<HANDLE, KernelTraits>;
using Key = Handle<HKEY, KeyTraits>;
using Library = Handle<HMODULE, LibraryTraits>;
using Bitmap = Handle<HBITMAP, GdiTraits<HBITMAP>>;
using Font = Handle<HFONT, GdiTraits<HFONT>>;
using Brush = Handle<HBRUSH, GdiTraits<HBRUSH>>;
using Pen = Handle<HPEN, GdiTraits<HPEN>>;
using MemDC = Handle<HDC, MemDCTraits>;

// A window's (or the screen's, with null) context from GetDC.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) : m_hwnd(hwnd), m_hdc(GetDC(hwnd)) {}
    ~WindowDC() { if (m_hdc) ReleaseDC(m_hwnd, m_hdc); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return m_hdc; }

private:
    HWND m_hwnd;
    HDC m_hdc;
};

// Selects an object into a context and puts the previous one back.
class Select {
public:
    Select(HDC hdc, HGDIOBJ obj) : m_hdc(hdc), m_old(obj ? SelectObject(hdc, obj) : nullptr) {}
    ~Select() { if (m_old) SelectObject(m_hdc, m_old); }
    Select(const Select&) = delete;
    Select& operator=(const Select&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_old;
};

// BeginPaint / EndPaint.
class Paint {
public:
    explicit Paint(HWND hwnd) : m_hwnd(hwnd) { BeginPaint(hwnd, &m_ps); }
    ~Paint() { EndPaint(m_hwnd, &m_ps); }
    Paint(const Paint&) = delete;
    Paint& operator=(const Paint&) = delete;
    HDC hdc() const { return m_ps.hdc; }
    const PAINTSTRUCT& ps() const { return m_ps; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_ps{};
};

// Holds a critical section for the life of the guard.
class CritSecLock {
public:
    explicit CritSecLock(CRITICAL_SECTION& cs) : m_cs(cs) { EnterCriticalSection(&m_cs); }
    ~CritSecLock() { LeaveCriticalSection(&m_cs); }
    CritSecLock(const CritSecLock&) = delete;
    CritSecLock& operator=(const CritSecLock&) = delete;

private:
    CRITICAL_SECTION& m_cs;
};

// The thread's COM apartment: CoInitializeEx now, CoUninitialize at the end
// when (and only when) this call made or joined one.
class ComApartment {
public:
    explicit ComApartment(DWORD dwCoInit) : m_hr(CoInitializeEx(nullptr, dwCoInit)) {}
    ~ComApartment() { if (SUCCEEDED(m_hr)) CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    HRESULT result() const { return m_hr; }
    bool ok() const { return SUCCEEDED(m_hr); }

private:
    HRESULT m_hr;
};

// An off-screen surface: a memory context, the bitmap of ours selected into
// it, and the bitmap the context came with, which goes back in before ours
// is deleted (a bitmap still selected cannot be deleted).
class Surface {
public:
    Surface() = default;
    ~Surface() { Release(); }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // A context compatible with hdcRef; one made earlier is kept.
    bool CreateDC(HDC hdcRef) {
        if (!m_hdc) m_hdc = CreateCompatibleDC(hdcRef);
        return m_hdc != nullptr;
    }
    // Our bitmap becomes hbm (owned from now on, even when this fails); the
    // previous one is deleted.
    bool Adopt(HBITMAP hbm) {
        ReleaseBitmap();
        if (!m_hdc || !hbm) {
            if (hbm) DeleteObject(hbm);
            return false;
        }
        m_hbmInitial = SelectObject(m_hdc, hbm);
        m_hbm = hbm;
        return true;
    }
    // A new bitmap of cx x cy, compatible with hdcRef.
    bool NewBitmap(HDC hdcRef, int cx, int cy) {
        ReleaseBitmap();
        return m_hdc && Adopt(CreateCompatibleBitmap(hdcRef, cx, cy));
    }
    // Context and bitmap together, or neither.
    bool Create(HDC hdcRef, int cx, int cy) {
        if (CreateDC(hdcRef) && NewBitmap(hdcRef, cx, cy)) return true;
        Release();
        return false;
    }
    // Puts the context's first bitmap back and deletes ours.
    void ReleaseBitmap() {
        if (m_hdc && m_hbmInitial) SelectObject(m_hdc, m_hbmInitial);
        if (m_hbm) DeleteObject(m_hbm);
        m_hbm = nullptr;
        m_hbmInitial = nullptr;
    }
    void Release() {
        ReleaseBitmap();
        if (m_hdc) DeleteDC(m_hdc);
        m_hdc = nullptr;
    }
    HDC hdc() const { return m_hdc; }
    HBITMAP bitmap() const { return m_hbm; }
    // A context with a bitmap of ours in it.
    explicit operator bool() const { return m_hdc && m_hbm; }

private:
    HDC m_hdc = nullptr;
    HBITMAP m_hbm = nullptr;
    HGDIOBJ m_hbmInitial = nullptr;
};

// A COM interface pointer released on destruction.
template <typename T>
class Com {
public:
    Com() = default;
    ~Com() { reset(); }
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    Com(Com&& o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}
    T* get() const { return m_p; }
    T* operator->() const { return m_p; }
    T** put() { reset(); return &m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    void reset() { if (m_p) { m_p->Release(); m_p = nullptr; } }

private:
    T* m_p = nullptr;
};

}  // namespace scoped
