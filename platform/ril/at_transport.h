// The byte pipe under the AT channel: the built-in simulated modem, a serial
// port or a TCP connection, chosen by the device registry. Reads never wait:
// the channel waits on the transport's event together with its own wake-up,
// so that closing never waits for a read to time out.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

class AtTransport {
public:
    virtual ~AtTransport() = default;
    // Sends all bytes; false when the port is gone.
    virtual bool Write(const char* pb, size_t cb) = 0;
    // What has arrived, without waiting: the count read, 0 when nothing is
    // there yet, -1 when the port has closed.
    virtual int Read(char* pb, size_t cb) = 0;
    // Signalled when bytes may have arrived or the port may have closed. Null
    // when bytes only ever come from Write on the same thread (the built-in
    // modem), so there is nothing to wait for but PendingMs.
    virtual HANDLE ReadEvent() = 0;
    // Milliseconds until bytes already on their way become readable (the
    // built-in modem's answer delay); INFINITE when none are.
    virtual DWORD PendingMs() { return INFINITE; }
};

// The device's built-in modem, opened with the radio driver's key (where it
// finds its own settings). It registers itself (the emulated device's
// simulated modem: platform/modem/sim_transport.h); a null one unregisters.
using BuiltInModemOpen = std::unique_ptr<AtTransport> (*)(HKEY hRoot, LPCWSTR pszSubKey);
void SetBuiltInModem(BuiltInModemOpen pfnOpen);
// "\\.\COMn" at 115200 8N1.
std::unique_ptr<AtTransport> OpenSerialTransport(int nPort);
// A numeric IPv4 address (no name look-up) and a port.
std::unique_ptr<AtTransport> OpenTcpTransport(const std::string& address, int nPort);

// The transport a "Port" value names: "" or "sim" (the built-in modem),
// "COMn:", "tcp:A.B.C.D:PORT". Null, with a trace line, when the value names
// none or the port will not open.
std::unique_ptr<AtTransport> OpenTransport(const std::wstring& port);
// The transport of the device: the "Port" value (or the test's override).
// Null, with a trace line, when it will not open.
std::unique_ptr<AtTransport> OpenDeviceTransport(DWORD dwIndex);

// HKLM "Drivers\BuiltIn\RIL".
extern const wchar_t kRilRegistryKey[];
// The "Port" value under the key: empty when absent. False, with a trace
// line, when it is there but not a string.
bool ReadRadioPort(HKEY hRoot, LPCWSTR pszSubKey, std::wstring* pPort);
