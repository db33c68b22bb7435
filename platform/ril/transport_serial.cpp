// Serial transport: a COM port at 115200 8N1 through the Win32 serial API,
// opened for overlapped I/O. A read of one byte is always outstanding: with
// no read time-outs it completes as soon as a byte comes, and its event is
// what the channel waits on; the bytes behind it are then read as the port
// reports them queued. Closing cancels the read instead of waiting it out.
#include <cwchar>

#include "platform/base/debug_out.h"
#include "platform/base/scoped.h"
#include "platform/ril/at_transport.h"

namespace {

const DWORD kWriteTimeoutMs = 2000;

class SerialTransport : public AtTransport {
public:
    SerialTransport(scoped::Kernel port, scoped::Kernel readEvent, scoped::Kernel writeEvent)
        : m_readEvent(std::move(readEvent)), m_writeEvent(std::move(writeEvent)), m_port(std::move(port)),
          m_h(m_port.get()) {
        m_ovRead.hEvent = m_readEvent.get();
        m_ovWrite.hEvent = m_writeEvent.get();
        m_bFailed = !StartRead();
    }
    ~SerialTransport() override {
        if (m_bPending) {
            // The buffer must outlive the read: cancel it and wait for it to end.
            DWORD got = 0;
            CancelIoEx(m_h, &m_ovRead);
            GetOverlappedResult(m_h, &m_ovRead, &got, TRUE);
        }
    }

    bool Write(const char* pb, size_t cb) override {
        while (cb > 0) {
            DWORD written = 0;
            if (!WriteFile(m_h, pb, static_cast<DWORD>(cb), nullptr, &m_ovWrite) &&
                GetLastError() != ERROR_IO_PENDING) {
                NKDbgPrintfW(L"[ril]: WriteFile(COM) failed, error %lu.\r\n", GetLastError());
                return false;
            }
            // Bounded by the port's write time-out.
            if (!GetOverlappedResult(m_h, &m_ovWrite, &written, TRUE) || written == 0) {
                NKDbgPrintfW(L"[ril]: writing to COM failed, error %lu.\r\n", GetLastError());
                return false;
            }
            pb += written;
            cb -= written;
        }
        return true;
    }

    int Read(char* pb, size_t cb) override {
        if (m_bFailed) return -1;
        if (m_iBuf == m_cbBuf) {
            DWORD got = 0;
            if (!GetOverlappedResult(m_h, &m_ovRead, &got, FALSE)) {
                if (GetLastError() == ERROR_IO_INCOMPLETE) return 0;
                NKDbgPrintfW(L"[ril]: ReadFile(COM) failed, error %lu.\r\n", GetLastError());
                m_bPending = false;
                m_bFailed = true;
                return -1;
            }
            m_bPending = false;
            m_iBuf = 0;
            m_cbBuf = got;
            if (got == 1 && !ReadQueued()) m_bFailed = true;
        }
        size_t n = m_cbBuf - m_iBuf < cb ? m_cbBuf - m_iBuf : cb;
        memcpy(pb, m_buf + m_iBuf, n);
        m_iBuf += static_cast<DWORD>(n);
        if (m_iBuf == m_cbBuf && !StartRead()) m_bFailed = true;
        return static_cast<int>(n);
    }

    HANDLE ReadEvent() override { return m_ovRead.hEvent; }

private:
    // The next read of one byte; its completion (even an immediate one) sets the event.
    bool StartRead() {
        m_iBuf = m_cbBuf = 0;
        if (!ReadFile(m_h, m_buf, 1, nullptr, &m_ovRead) && GetLastError() != ERROR_IO_PENDING) {
            NKDbgPrintfW(L"[ril]: ReadFile(COM) failed, error %lu.\r\n", GetLastError());
            return false;
        }
        m_bPending = true;
        return true;
    }

    // After the first byte: the bytes already queued behind it, which a read
    // of exactly that many returns at once.
    bool ReadQueued() {
        DWORD errors = 0;
        COMSTAT stat = {};
        if (!ClearCommError(m_h, &errors, &stat)) return true;  // the byte alone, then
        DWORD want = stat.cbInQue < sizeof m_buf - 1 ? stat.cbInQue : sizeof m_buf - 1;
        if (want == 0) return true;
        DWORD got = 0;
        if ((!ReadFile(m_h, m_buf + 1, want, nullptr, &m_ovRead) && GetLastError() != ERROR_IO_PENDING) ||
            !GetOverlappedResult(m_h, &m_ovRead, &got, TRUE)) {
            NKDbgPrintfW(L"[ril]: ReadFile(COM) failed, error %lu.\r\n", GetLastError());
            return false;
        }
        m_cbBuf += got;
        return true;
    }

    // Closed in reverse: the port before the events its I/O signalled.
    scoped::Kernel m_readEvent, m_writeEvent;
    scoped::Kernel m_port;
    HANDLE m_h;  // m_port's
    OVERLAPPED m_ovRead = {};
    OVERLAPPED m_ovWrite = {};
    char m_buf[512];
    DWORD m_iBuf = 0, m_cbBuf = 0;  // unread bytes of the last completed read
    bool m_bPending = false;
    bool m_bFailed = false;
};

}  // namespace

std::unique_ptr<AtTransport> OpenSerialTransport(int nPort) {
    wchar_t name[32];
    swprintf(name, 32, L"\\\\.\\COM%d", nPort);
    scoped::Kernel port(CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OVERLAPPED, nullptr));
    HANDLE h = port.get();
    if (!port) {
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
    COMMTIMEOUTS t = {};  // no read time-outs: a read ends when its bytes are there
    t.WriteTotalTimeoutConstant = kWriteTimeoutMs;
    if (ok) ok = SetCommTimeouts(h, &t);
    // The line outlives our connections: an answer that came after an earlier
    // connection gave up on it waits in the port and would be read first.
    if (ok) PurgeComm(h, PURGE_RXCLEAR | PURGE_TXCLEAR);
    scoped::Kernel read(ok ? CreateEventW(nullptr, TRUE, FALSE, nullptr) : nullptr);
    scoped::Kernel write(read ? CreateEventW(nullptr, TRUE, FALSE, nullptr) : nullptr);
    if (!write) {
        NKDbgPrintfW(L"[ril]: setting up %s failed, error %lu.\r\n", name, GetLastError());
        return nullptr;
    }
    return std::make_unique<SerialTransport>(std::move(port), std::move(read), std::move(write));
}
