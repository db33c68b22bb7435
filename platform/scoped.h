// Move-only owners of Win32 handles and GDI objects, a selection guard and a
// paint session. Copying is deleted so nothing is freed twice.
#pragma once
#include <windows.h>
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
