// Starting modem_server.exe on a free loopback port for one connection (or
// for N, when the options say --connections N), as the tests and the radio
// benchmark do.
#pragma once
#include <windows.h>

#include <string>

class ModemServerProcess {
public:
    // exe: the server's Win32 path; card and portFile: Win32 paths; options
    // are added to the command line (e.g. L"--echo --noise"). PortNumber()
    // is 0 when the server did not come up.
    ModemServerProcess(const std::wstring& exe, const std::wstring& card, const std::wstring& portFile,
                       int idleMs, const std::wstring& options = L"");
    // The server ends by itself when its last connection closes; else it is stopped.
    ~ModemServerProcess();
    ModemServerProcess(const ModemServerProcess&) = delete;
    ModemServerProcess& operator=(const ModemServerProcess&) = delete;

    int PortNumber() const { return m_nPort; }
    // The RIL's "Port" value for it.
    std::wstring Port() const { return L"tcp:127.0.0.1:" + std::to_wstring(m_nPort); }

private:
    HANDLE m_hProcess = nullptr;
    int m_nPort = 0;
};
