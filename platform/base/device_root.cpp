// Device root and the mapping of device paths to Win32 paths.
#include "platform/base/device_root.h"

#include <mutex>

namespace {

std::mutex g_rootLock;
std::wstring g_root;  // empty: the default, looked up at each use

std::wstring DefaultRoot() {
    wchar_t buf[MAX_PATH] = {};
    DWORD n = GetEnvironmentVariableW(L"QX_DEVICE_ROOT", buf, MAX_PATH);
    if (n > 0 && n < MAX_PATH) return buf;
    n = GetEnvironmentVariableW(L"SystemDrive", buf, MAX_PATH);
    if (n > 0 && n < MAX_PATH) return std::wstring(buf) + L"\\";
    return L"C:\\";
}

std::wstring WithSlash(std::wstring root) {
    for (auto& c : root)
        if (c == L'/') c = L'\\';
    if (root.empty() || root.back() != L'\\') root += L'\\';
    return root;
}

}  // namespace

std::wstring GetDeviceRoot() {
    std::lock_guard<std::mutex> lock(g_rootLock);
    return g_root.empty() ? WithSlash(DefaultRoot()) : g_root;
}

// The environment carries the root to the sibling libraries, which keep
// their own copy of this module, and to programs started from here.
void SetDeviceRoot(LPCWSTR root) {
    std::lock_guard<std::mutex> lock(g_rootLock);
    g_root = (root && *root) ? WithSlash(root) : std::wstring();
    SetEnvironmentVariableW(L"QX_DEVICE_ROOT", g_root.empty() ? nullptr : g_root.c_str());
}

std::wstring DevicePath(LPCWSTR cePath) {
    std::wstring path = cePath ? cePath : L"";
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    size_t skip = path.find_first_not_of(L'\\');
    path.erase(0, skip == std::wstring::npos ? path.size() : skip);
    return GetDeviceRoot() + path;
}
