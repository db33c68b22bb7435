// Starting modem_server.exe and learning its port from the port file.
#include "tools/modem_server/modem_server_process.h"

#include <cstdlib>

namespace {

std::string ReadSmallFile(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    char buf[64] = {};
    DWORD n = 0;
    ReadFile(h, buf, sizeof(buf) - 1, &n, nullptr);
    CloseHandle(h);
    return std::string(buf, n);
}

}  // namespace

ModemServerProcess::ModemServerProcess(const std::wstring& exe, const std::wstring& card,
                                       const std::wstring& portFile, int idleMs, const std::wstring& options) {
    DeleteFileW(portFile.c_str());
    std::wstring cmd = L"\"" + exe + L"\" --card \"" + card + L"\" --port 0 --port-file \"" + portFile +
                       L"\" --idle " + std::to_wstring(idleMs) + L" --connections 1 " + options;
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return;
    CloseHandle(pi.hThread);
    m_hProcess = pi.hProcess;
    for (int i = 0; i < 400 && m_nPort == 0; ++i) {
        std::string text = ReadSmallFile(portFile);
        if (!text.empty()) m_nPort = atoi(text.c_str());
        else Sleep(25);
    }
}

ModemServerProcess::~ModemServerProcess() {
    if (!m_hProcess) return;
    if (WaitForSingleObject(m_hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(m_hProcess, 1);
    CloseHandle(m_hProcess);
}
