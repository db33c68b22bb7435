// The message log: a CBT hook that subclasses the watched windows as they
// are made, and a procedure that logs before handing each message on.
#include "tests/support/message_log.h"

#include <algorithm>
#include <cstdio>

namespace {

MessageLog* g_pLog = nullptr;

std::string MessageName(UINT msg) {
    struct Name {
        UINT msg;
        const char* name;
    };
    static const Name kNames[] = {
        {WM_CREATE, "WM_CREATE"},           {WM_DESTROY, "WM_DESTROY"},
        {WM_MOVE, "WM_MOVE"},               {WM_SIZE, "WM_SIZE"},
        {WM_ACTIVATE, "WM_ACTIVATE"},       {WM_SETFOCUS, "WM_SETFOCUS"},
        {WM_KILLFOCUS, "WM_KILLFOCUS"},     {WM_PAINT, "WM_PAINT"},
        {WM_CLOSE, "WM_CLOSE"},             {WM_ERASEBKGND, "WM_ERASEBKGND"},
        {WM_SHOWWINDOW, "WM_SHOWWINDOW"},   {WM_SETTINGCHANGE, "WM_SETTINGCHANGE"},
        {WM_NCCREATE, "WM_NCCREATE"},       {WM_NCDESTROY, "WM_NCDESTROY"},
        {WM_INITDIALOG, "WM_INITDIALOG"},   {WM_COMMAND, "WM_COMMAND"},
        {WM_TIMER, "WM_TIMER"},             {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
        {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"}, {WM_LBUTTONUP, "WM_LBUTTONUP"},
        {WM_PRINTCLIENT, "WM_PRINTCLIENT"}, {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
    };
    for (const Name& n : kNames)
        if (n.msg == msg) return n.name;
    char hex[16];
    snprintf(hex, sizeof hex, "0x%04X", msg);
    return hex;
}

std::string Text(int window, UINT msg, bool bNested) {
    return std::to_string(window) + " " + MessageName(msg) + (bNested ? " nested" : "");
}

bool Matches(const LoggedMessage& g, const ExpectedMessage& e) {
    return g.window == e.window && g.msg == e.msg && g.bNested == ((e.flags & kNested) != 0) &&
           (!(e.flags & kWParam) || g.wParam == e.wParam) && (!(e.flags & kResult) || g.result == e.result);
}

}  // namespace

MessageLog::MessageLog(std::initializer_list<WatchedClass> classes) : m_classes(classes) {
    if (g_pLog) ADD_FAILURE() << "one message log at a time";
    g_pLog = this;
    m_hook = SetWindowsHookExW(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
    if (!m_hook) ADD_FAILURE() << "no CBT hook, error " << GetLastError();
}

MessageLog::~MessageLog() {
    if (m_hook) UnhookWindowsHookEx(m_hook);
    for (const Subclassed& w : m_windows)
        if (IsWindow(w.hwnd)) SetWindowLongPtrW(w.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(w.original));
    g_pLog = nullptr;
}

void MessageLog::Watch(HWND hwnd, int window) {
    auto original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LoggingProc)));
    m_windows.push_back(Subclassed{hwnd, window, original});
}

std::vector<LoggedMessage> MessageLog::Take() {
    std::vector<LoggedMessage> taken;
    taken.swap(m_log);
    m_nTaken += taken.size();
    return taken;
}

LRESULT CALLBACK MessageLog::CbtHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && g_pLog) {
        HWND hwnd = reinterpret_cast<HWND>(wParam);
        wchar_t name[64] = {};
        GetClassNameW(hwnd, name, 64);
        for (size_t i = 0; i < g_pLog->m_classes.size(); ++i)
            if (lstrcmpiW(name, g_pLog->m_classes[i].className) == 0) {
                g_pLog->Watch(hwnd, static_cast<int>(i));
                break;
            }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

const MessageLog::Subclassed* MessageLog::Find(HWND hwnd) const {
    for (const Subclassed& w : m_windows)
        if (w.hwnd == hwnd) return &w;
    return nullptr;
}

bool MessageLog::Wanted(int window, UINT msg) const {
    const std::vector<UINT>& wanted = m_classes[static_cast<size_t>(window)].messages;
    return wanted.empty() || std::find(wanted.begin(), wanted.end(), msg) != wanted.end();
}

LRESULT CALLBACK MessageLog::LoggingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    MessageLog* log = g_pLog;
    const Subclassed* w = log ? log->Find(hwnd) : nullptr;
    if (!w) return DefWindowProcW(hwnd, msg, wParam, lParam);  // cannot happen: restored before the log goes
    const WNDPROC original = w->original;
    const int window = w->window;
    const bool bWanted = log->Wanted(window, msg);
    const size_t entry = log->m_nTaken + log->m_log.size();
    if (bWanted) {
        log->m_log.push_back(LoggedMessage{window, msg, log->m_depth > 0, wParam, 0});
        ++log->m_depth;
    }
    LRESULT result = CallWindowProcW(original, hwnd, msg, wParam, lParam);
    if (bWanted) {
        --log->m_depth;
        // A Take meanwhile has the message already, without its result.
        if (entry >= log->m_nTaken) log->m_log[entry - log->m_nTaken].result = result;
    }
    if (msg == WM_NCDESTROY)
        log->m_windows.erase(std::remove_if(log->m_windows.begin(), log->m_windows.end(),
                                            [hwnd](const Subclassed& s) { return s.hwnd == hwnd; }),
                             log->m_windows.end());
    return result;
}

testing::AssertionResult SequenceIs(const std::vector<LoggedMessage>& got,
                                    const std::vector<ExpectedMessage>& expected) {
    size_t first = 0;
    while (first < got.size() && first < expected.size() && Matches(got[first], expected[first])) ++first;
    if (first == got.size() && first == expected.size()) return testing::AssertionSuccess();
    testing::AssertionResult failure = testing::AssertionFailure();
    failure << "first difference at message " << first << "\nexpected:";
    for (const ExpectedMessage& e : expected) {
        failure << "\n  " << Text(e.window, e.msg, e.flags & kNested);
        if (e.flags & kWParam) failure << " w=" << e.wParam;
        if (e.flags & kResult) failure << " -> " << e.result;
    }
    failure << "\ngot:";
    for (const LoggedMessage& g : got)
        failure << "\n  " << Text(g.window, g.msg, g.bNested) << " w=" << g.wParam << " -> " << g.result;
    return failure;
}
