// modem_server.exe: the simulated modem on a TCP port of 127.0.0.1, for the
// radio layer's "tcp:" transport, for tests and for people with nc. It stops
// by itself after an idle limit or on AT$QUIT, so nothing is left running.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "platform/attext/at_text.h"
#include "platform/attext/hex_text.h"
#include "platform/base/debug_out.h"
#include "platform/modem/modem_dialect.h"
#include "platform/modem/sim_card_file.h"
#include "platform/modem/sim_modem.h"

namespace {

struct Options {
    std::wstring card;
    std::wstring portFile;
    int nPort = 0;                // 0: any free port
    DWORD dwIdleMs = 60000;
    int nDropAfter = -1;          // answers sent whole before one is cut off (once)
    int nConnections = 0;         // stop when this many have closed; 0: never
    ModemFaults faults;
    // --answer: the commands that begin with answerTo answered with answer
    // instead, the first answerTimes of them (0: all), as a real modem was
    // recorded answering.
    std::string answerTo;
    std::string answer;
    unsigned long answerTimes = 0;
    unsigned long answered = 0;
};

void Usage() {
    fwprintf(stderr,
             L"usage: modem_server --card FILE [--port N] [--port-file FILE] [--delay MS]\n"
             L"       [--silent] [--noise] [--echo] [--error] [--idle MS] [--drop-after N]\n"
             L"       [--once] [--connections N] [--dialect NAME[,NAME...]]\n"
             L"       [--answer COMMAND TEXT [--answer-times N]]   (TEXT: \\r and \\n as CR and LF)\n"
             L"dialects: %hs\n", DialectNames(~0u).c_str());
}

std::string Narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s += c < 0x80 ? static_cast<char>(c) : '?';
    return s;
}

// A command-line text with \r and \n written as two characters each.
std::string Unescape(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size() && (s[i + 1] == 'r' || s[i + 1] == 'n')) {
            out += s[++i] == 'r' ? '\r' : '\n';
        } else {
            out += s[i];
        }
    }
    return out;
}

bool ParseNumber(const wchar_t* s, unsigned long max, unsigned long* pValue) {
    if (!s || !*s) return false;
    wchar_t* end = nullptr;
    unsigned long v = wcstoul(s, &end, 10);
    if (*end || v > max) return false;
    *pValue = v;
    return true;
}

bool ParseOptions(int argc, wchar_t** argv, Options* o) {
    for (int i = 1; i < argc; ++i) {
        std::wstring a = argv[i];
        const wchar_t* next = i + 1 < argc ? argv[i + 1] : nullptr;
        unsigned long v = 0;
        if (a == L"--card" && next) o->card = argv[++i];
        else if (a == L"--port-file" && next) o->portFile = argv[++i];
        else if (a == L"--port" && ParseNumber(next, 65535, &v)) o->nPort = static_cast<int>(v), ++i;
        else if (a == L"--delay" && ParseNumber(next, 600000, &v)) o->faults.dwDelayMs = v, ++i;
        else if (a == L"--idle" && ParseNumber(next, 3600000, &v)) o->dwIdleMs = v, ++i;
        else if (a == L"--drop-after" && ParseNumber(next, 1000000, &v)) o->nDropAfter = static_cast<int>(v), ++i;
        else if (a == L"--silent") o->faults.bSilent = true;
        else if (a == L"--noise") o->faults.bNoise = true;
        else if (a == L"--echo") o->faults.bEcho = true;
        else if (a == L"--error") o->faults.bError = true;
        else if (a == L"--connections" && ParseNumber(next, 1000000, &v)) o->nConnections = static_cast<int>(v), ++i;
        else if (a == L"--once") o->nConnections = 1;
        else if (a == L"--dialect" && next && DialectsFromText(Narrow(argv[++i]), &o->faults.dwDialects, nullptr)) continue;
        else if (a == L"--answer" && next && i + 2 < argc) {
            o->answerTo = Narrow(argv[++i]);
            o->answer = Unescape(Narrow(argv[++i]));
        } else if (a == L"--answer-times" && ParseNumber(next, 1000000, &v)) o->answerTimes = v, ++i;
        else return false;
    }
    return true;
}

// Waits until the socket can be read or the time is up.
bool Readable(SOCKET s, DWORD dwMs) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval tv = {static_cast<long>(dwMs / 1000), static_cast<long>(dwMs % 1000) * 1000};
    return select(0, &set, nullptr, nullptr, &tv) > 0;
}

bool SendAll(SOCKET s, const std::string& text) {
    size_t sent = 0;
    while (sent < text.size()) {
        int n = send(s, text.data() + sent, static_cast<int>(text.size() - sent), 0);
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

enum class Served { Closed, Quit, Idle };

// One client: lines end with CR or LF (nc sends LF), blank lines are skipped.
Served Serve(SOCKET client, Options& o, int* pAnswered) {
    SimModem modem(std::make_unique<SimCardFileSlot>(o.card));
    modem.SetFaults(o.faults);
    std::string line;
    char buf[512];
    for (;;) {
        if (!Readable(client, o.dwIdleMs)) return Served::Idle;
        int n = recv(client, buf, sizeof buf, 0);
        if (n <= 0) return Served::Closed;
        for (int i = 0; i < n; ++i) {
            char c = buf[i];
            if (c != '\r' && c != '\n') {
                if (line.size() < 4096) line += c;
                continue;
            }
            if (line.empty()) continue;
            std::string answer;
            const bool scripted = !o.answerTo.empty() && StartsWithNoCase(TrimBlanks(line), o.answerTo) &&
                                  (o.answerTimes == 0 || o.answered < o.answerTimes);
            if (scripted) {
                answer = o.answer;
                ++o.answered;
            } else {
                answer = modem.Answer(line);
            }
            line.clear();
            if (o.faults.dwDelayMs) Sleep(o.faults.dwDelayMs);
            if (o.nDropAfter >= 0 && *pAnswered >= o.nDropAfter && !answer.empty()) {
                // A connection lost in the middle of an answer; a later
                // connection is served whole.
                SendAll(client, answer.substr(0, answer.size() / 2));
                o.nDropAfter = -1;
                return Served::Closed;
            }
            if (!answer.empty()) {
                if (!SendAll(client, answer)) return Served::Closed;
                ++*pAnswered;
            }
            if (modem.QuitRequested()) return Served::Quit;
        }
    }
}

bool WritePortFile(const std::wstring& path, int nPort) {
    std::wstring tmp = path + L".tmp";
    FILE* f = _wfopen(tmp.c_str(), L"wb");
    if (!f) return false;
    fprintf(f, "%d\n", nPort);
    fclose(f);
    return MoveFileExW(tmp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Options o;
    if (!ParseOptions(argc, argv, &o)) {
        Usage();
        return 2;
    }
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return 1;
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in sa = {};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<u_short>(o.nPort));
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);  // loopback only
    int len = sizeof sa;
    if (listener == INVALID_SOCKET || bind(listener, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 ||
        listen(listener, 4) != 0 || getsockname(listener, reinterpret_cast<sockaddr*>(&sa), &len) != 0) {
        fwprintf(stderr, L"modem_server: cannot listen on 127.0.0.1:%d (error %d)\n", o.nPort,
                 WSAGetLastError());
        return 1;
    }
    int port = ntohs(sa.sin_port);
    if (!o.portFile.empty() && !WritePortFile(o.portFile, port)) {
        fwprintf(stderr, L"modem_server: cannot write %ls\n", o.portFile.c_str());
        return 1;
    }
    wprintf(L"modem_server: listening on 127.0.0.1:%d\n", port);
    fflush(stdout);

    int answered = 0;
    for (int served = 1;; ++served) {
        if (!Readable(listener, o.dwIdleMs)) {
            wprintf(L"modem_server: idle, stopping\n");
            break;
        }
        SOCKET client = accept(listener, nullptr, nullptr);
        if (client == INVALID_SOCKET) continue;
        BOOL noDelay = TRUE;
        setsockopt(client, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);
        Served how = Serve(client, o, &answered);
        shutdown(client, SD_BOTH);
        closesocket(client);
        if (how == Served::Quit || how == Served::Idle || served == o.nConnections) break;
    }
    closesocket(listener);
    WSACleanup();
    return 0;
}
