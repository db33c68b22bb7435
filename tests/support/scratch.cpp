// Test helpers over the real registry, file system and debug output.
#include "tests/support/scratch.h"


#include <atomic>

#include "platform/base/debug_out.h"
#include "platform/base/device_root.h"

TraceCapture::TraceCapture() { SetDebugOutSink(&TraceCapture::Sink, this); }

TraceCapture::~TraceCapture() { SetDebugOutSink(nullptr, nullptr); }

void TraceCapture::Sink(void* ctx, LPCWSTR text) {
    auto* self = static_cast<TraceCapture*>(ctx);
    std::lock_guard<std::mutex> lock(self->m_lock);
    self->m_texts.emplace_back(text);
}

std::vector<std::wstring> TraceCapture::Texts() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_texts;
}

std::wstring TraceCapture::All() const {
    std::lock_guard<std::mutex> lock(m_lock);
    std::wstring all;
    for (const auto& t : m_texts) all += t;
    return all;
}

int TraceCapture::Count(const std::wstring& fragment) const {
    std::lock_guard<std::mutex> lock(m_lock);
    int n = 0;
    for (const auto& t : m_texts)
        if (t.find(fragment) != std::wstring::npos) ++n;
    return n;
}

void TraceCapture::Clear() {
    std::lock_guard<std::mutex> lock(m_lock);
    m_texts.clear();
}

namespace {
std::atomic<int> g_deviceSeq{0};

void RemoveTree(const std::wstring& dir) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring full = dir + L"\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                DeleteFileW(full.c_str());
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryW(dir.c_str());
}
}  // namespace

ScratchDevice::ScratchDevice() {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    m_root = std::wstring(tmp) + L"qxdev-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(++g_deviceSeq);
    RemoveTree(m_root);
    CreateDirectoryW(m_root.c_str(), nullptr);
    CreateDirectoryW((m_root + L"\\Windows").c_str(), nullptr);
    SetDeviceRoot(m_root.c_str());
}

ScratchDevice::~ScratchDevice() {
    SetDeviceRoot(nullptr);
    RemoveTree(m_root);
}

std::wstring ScratchDevice::Path(LPCWSTR cePath) const { return DevicePath(cePath); }

bool ScratchDevice::Install(LPCWSTR builtFile, LPCWSTR cePath) const {
    return CopyFileW((ModuleFolder() + builtFile).c_str(), Path(cePath).c_str(), FALSE) != 0;
}

void DeleteRegTree(HKEY root, LPCWSTR subkey) { RegDeleteTreeW(root, subkey); RegDeleteKeyW(root, subkey); }

namespace {
void SetRegValue(HKEY root, LPCWSTR subkey, LPCWSTR name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, subkey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
}
}  // namespace

void SetRegDword(HKEY root, LPCWSTR subkey, LPCWSTR name, DWORD value) {
    SetRegValue(root, subkey, name, REG_DWORD, &value, sizeof(value));
}

void SetRegBinary(HKEY root, LPCWSTR subkey, LPCWSTR name, const void* data, DWORD size) {
    SetRegValue(root, subkey, name, REG_BINARY, data, size);
}

void SetRegString(HKEY root, LPCWSTR subkey, LPCWSTR name, LPCWSTR value) {
    SetRegValue(root, subkey, name, REG_SZ, value,
                static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
}

std::wstring GetRegString(HKEY root, LPCWSTR subkey, LPCWSTR name) {
    wchar_t buf[1024] = {};
    DWORD size = sizeof(buf) - sizeof(wchar_t);
    if (RegGetValueW(root, subkey, name, RRF_RT_REG_SZ, nullptr, buf, &size) != ERROR_SUCCESS)
        return L"<absent>";
    return buf;
}

std::wstring ModuleFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s = path;
    return s.substr(0, s.find_last_of(L"\\/") + 1);
}

std::string ReadFileBytes(const std::wstring& path) {
    // Shared for deleting too, as the modem reads a card: a card saved while
    // a test reads it is replaced, not refused.
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char buf[4096];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof(buf), &n, nullptr) && n > 0) bytes.append(buf, n);
    CloseHandle(h);
    return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD n = 0;
    bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr) &&
              n == bytes.size();
    CloseHandle(h);
    return ok;
}

void PumpMessages(DWORD ms) {
    DWORD end = GetTickCount() + ms;
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (ms) Sleep(5);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
}
