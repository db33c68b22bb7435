// TCP transport: a Winsock client of a modem that listens on an IPv4 address.
// The socket signals an event on data and on close (WSAEventSelect), which
// makes it non-blocking: reads take what is there, writes wait only when the
// send buffer is full.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "platform/base/debug_out.h"
#include "platform/ril/at_transport.h"

namespace {

const long kWriteWaitMs = 2000;  // as the serial port's write time-out

bool StartWinsock() {
    static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
    static bool ok = false;
    InitOnceExecuteOnce(&once, [](PINIT_ONCE, PVOID, PVOID*) -> BOOL {
        WSADATA wsa;
        ok = WSAStartup(MAKEWORD(2, 2), &wsa) == 0;
        return TRUE;
    }, nullptr, nullptr);
    return ok;
}

class TcpTransport : public AtTransport {
public:
    TcpTransport(SOCKET s, WSAEVENT ev) : m_s(s), m_ev(ev) {}
    ~TcpTransport() override {
        closesocket(m_s);
        WSACloseEvent(m_ev);
    }

    bool Write(const char* pb, size_t cb) override {
        while (cb > 0) {
            int n = send(m_s, pb, static_cast<int>(cb), 0);
            if (n == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) {
                fd_set set;
                FD_ZERO(&set);
                FD_SET(m_s, &set);
                timeval tv = {kWriteWaitMs / 1000, (kWriteWaitMs % 1000) * 1000};
                if (select(0, nullptr, &set, nullptr, &tv) == 1) continue;
                NKDbgPrintfW(L"[ril]: the modem takes no more bytes.\r\n");
                return false;
            }
            if (n <= 0) {
                NKDbgPrintfW(L"[ril]: send() failed, error %d.\r\n", WSAGetLastError());
                return false;
            }
            pb += n;
            cb -= static_cast<size_t>(n);
        }
        return true;
    }

    int Read(char* pb, size_t cb) override {
        // Reset before reading: bytes that come after this recv set it again.
        WSAResetEvent(m_ev);
        int n = recv(m_s, pb, static_cast<int>(cb), 0);
        if (n > 0) return n;
        if (n == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) return 0;
        return -1;  // 0: the modem closed the connection
    }

    HANDLE ReadEvent() override { return m_ev; }

private:
    SOCKET m_s;
    WSAEVENT m_ev;
};

}  // namespace

std::unique_ptr<AtTransport> OpenTcpTransport(const std::string& address, int nPort) {
    if (!StartWinsock()) return nullptr;
    sockaddr_in sa = {};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<u_short>(nPort));
    if (nPort <= 0 || nPort > 65535 || inet_pton(AF_INET, address.c_str(), &sa.sin_addr) != 1) {
        NKDbgPrintfW(L"[ril]: bad modem address.\r\n");
        return nullptr;
    }
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return nullptr;
    if (connect(s, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
        NKDbgPrintfW(L"[ril]: connect() to the modem failed, error %d.\r\n", WSAGetLastError());
        closesocket(s);
        return nullptr;
    }
    BOOL noDelay = TRUE;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);
    WSAEVENT ev = WSACreateEvent();
    if (ev == WSA_INVALID_EVENT || WSAEventSelect(s, ev, FD_READ | FD_CLOSE) != 0) {
        NKDbgPrintfW(L"[ril]: WSAEventSelect() failed, error %d.\r\n", WSAGetLastError());
        if (ev != WSA_INVALID_EVENT) WSACloseEvent(ev);
        closesocket(s);
        return nullptr;
    }
    return std::make_unique<TcpTransport>(s, ev);
}
