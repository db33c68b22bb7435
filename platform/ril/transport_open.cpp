// Which transport the device registry (or a test) names, and opening it.
#include <atomic>
#include <cwctype>
#include <mutex>

#include "platform/base/debug_out.h"
#include "platform/base/registry.h"
#include "platform/ril/at_transport.h"
#include "platform/ril/ril_test_seams.h"

const wchar_t kRilRegistryKey[] = L"Drivers\\BuiltIn\\RIL";

namespace {

std::wstring Lower(std::wstring s) {
    for (auto& c : s) c = static_cast<wchar_t>(towlower(c));
    return s;
}

std::atomic<BuiltInModemOpen> g_pfnBuiltInModem{nullptr};

std::mutex g_portLock;
bool g_bPortOverride = false;
std::wstring g_portOverride;

bool ToPortNumber(const std::wstring& s, int max, int* pValue) {
    if (s.empty() || s.size() > 5) return false;
    int v = 0;
    for (wchar_t c : s) {
        if (c < L'0' || c > L'9') return false;
        v = v * 10 + (c - L'0');
    }
    if (v < 1 || v > max) return false;
    *pValue = v;
    return true;
}

}  // namespace

bool ReadRadioPort(HKEY hRoot, LPCWSTR pszSubKey, std::wstring* pPort) {
    pPort->clear();
    registry::Key key;
    if (key.Open(hRoot, pszSubKey, registry::kRead) != ERROR_SUCCESS) return true;
    wchar_t value[128] = {};
    DWORD cch = ARRAYSIZE(value);
    LONG rc = key.QueryString(L"Port", value, &cch);
    if (registry::IsAbsent(rc)) return true;
    if (rc != ERROR_SUCCESS) {
        NKDbgPrintfW(L"[ril]: Port value unreadable (error %ld).\r\n", rc);
        return false;
    }
    *pPort = value;
    return true;
}

void SetBuiltInModem(BuiltInModemOpen pfnOpen) { g_pfnBuiltInModem = pfnOpen; }

std::unique_ptr<AtTransport> OpenTransport(const std::wstring& port) {
    std::wstring p = Lower(port);
    if (p.empty() || p == L"sim") {
        if (BuiltInModemOpen pfnOpen = g_pfnBuiltInModem) return pfnOpen(HKEY_LOCAL_MACHINE, kRilRegistryKey);
        NKDbgPrintfW(L"[ril]: Port [%s]: this device has no built-in modem.\r\n", port.c_str());
        return nullptr;
    }
    int n = 0;
    if (p.compare(0, 3, L"com") == 0) {
        std::wstring digits = p.substr(3);
        if (!digits.empty() && digits.back() == L':') digits.pop_back();
        if (ToPortNumber(digits, 255, &n)) return OpenSerialTransport(n);
    } else if (p.compare(0, 4, L"tcp:") == 0) {
        size_t colon = p.rfind(L':');
        std::wstring host = p.substr(4, colon - 4);
        if (colon > 4 && ToPortNumber(p.substr(colon + 1), 65535, &n))
            return OpenTcpTransport(std::string(host.begin(), host.end()), n);
    }
    NKDbgPrintfW(L"[ril]: Port [%s] names no modem.\r\n", port.c_str());
    return nullptr;
}

void RilSetPortForTest(LPCWSTR pszPort) {
    std::lock_guard<std::mutex> lock(g_portLock);
    g_bPortOverride = pszPort != nullptr;
    g_portOverride = pszPort ? pszPort : L"";
}

std::unique_ptr<AtTransport> OpenDeviceTransport(DWORD dwIndex) {
    std::wstring port;
    bool overridden = false;
    {
        std::lock_guard<std::mutex> lock(g_portLock);
        if (g_bPortOverride) {
            overridden = true;
            port = g_portOverride;
        }
    }
    if (!overridden && !ReadRadioPort(HKEY_LOCAL_MACHINE, kRilRegistryKey, &port)) return nullptr;
    std::unique_ptr<AtTransport> transport = OpenTransport(port);
    if (!transport)
        NKDbgPrintfW(L"[ril]: RIL_Initialize(%lu): no modem on [%s].\r\n", dwIndex, port.c_str());
    return transport;
}
