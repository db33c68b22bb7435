// Serial transport: a COM port at 115200 8N1 through the Win32 serial API.
#include <cwchar>

#include "platform/debug_out.h"
#include "platform/ril/at_transport.h"

namespace {

const DWORD kReadSliceMs = 100;

class SerialTransport : public AtTransport {
public:
    explicit SerialTransport(HANDLE h) : m_h(h) {}
    ~SerialTransport() override { CloseHandle(m_h); }

    bool Write(const char* pb, size_t cb) override {
        while (cb > 0) {
            DWORD written = 0;
            if (!WriteFile(m_h, pb, static_cast<DWORD>(cb), &written, nullptr) || written == 0) {
                NKDbgPrintfW(L"[ril]: WriteFile(COM) failed, error %lu.\r\n", GetLastError());
                return false;
            }
            pb += written;
            cb -= written;
        }
        return true;
    }

    // The port's time-outs return a read as soon as a byte is there, or after
    // one slice; longer waits are made of slices.
    int Read(char* pb, size_t cb, DWORD dwWaitMs) override {
        DWORD start = GetTickCount();
        for (;;) {
            DWORD got = 0;
            if (!ReadFile(m_h, pb, static_cast<DWORD>(cb), &got, nullptr)) {
                NKDbgPrintfW(L"[ril]: ReadFile(COM) failed, error %lu.\r\n", GetLastError());
                return -1;
            }
            if (got > 0) return static_cast<int>(got);
            if (GetTickCount() - start >= dwWaitMs) return 0;
        }
    }

private:
    HANDLE m_h;
};

}  // namespace

std::unique_ptr<AtTransport> OpenSerialTransport(int nPort) {
    wchar_t name[32];
    swprintf(name, 32, L"\\\\.\\COM%d", nPort);
    HANDLE h = CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        NKDbgPrintfW(L"[ril]: CreateFileW(%s) failed, error %lu.\r\n", name, GetLastError());
        return nullptr;
    }
    DCB dcb = {};
    dcb.DCBlength = sizeof dcb;
    BOOL ok = GetCommState(h, &dcb);
    if (ok) {
        dcb.BaudRate = CBR_115200;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        dcb.fBinary = TRUE;
        dcb.fParity = FALSE;
        dcb.fOutxCtsFlow = FALSE;
        dcb.fOutxDsrFlow = FALSE;
        dcb.fDtrControl = DTR_CONTROL_ENABLE;
        dcb.fRtsControl = RTS_CONTROL_ENABLE;
        dcb.fOutX = FALSE;
        dcb.fInX = FALSE;
        ok = SetCommState(h, &dcb);
    }
    COMMTIMEOUTS t = {};
    t.ReadIntervalTimeout = MAXDWORD;
    t.ReadTotalTimeoutMultiplier = MAXDWORD;
    t.ReadTotalTimeoutConstant = kReadSliceMs;
    t.WriteTotalTimeoutConstant = 2000;
    if (ok) ok = SetCommTimeouts(h, &t);
    if (!ok) {
        NKDbgPrintfW(L"[ril]: setting up %s failed, error %lu.\r\n", name, GetLastError());
        CloseHandle(h);
        return nullptr;
    }
    return std::make_unique<SerialTransport>(h);
}
