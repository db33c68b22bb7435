// Message sequences, in the manner of Wine's user32 tests
// (dlls/user32/tests/msg.c): every window of the watched classes is
// subclassed as it is made (a CBT hook), a log keeps what each received,
// and a test compares the log with a constant table of what it expects.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

// Flags of an expected message.
enum : unsigned {
    kNested = 1,  // sent while a logged message was being handled
    kWParam = 2,  // wParam as given
    kResult = 4,  // the window's answer as given
};

struct ExpectedMessage {
    int window;  // index of the window's class in the log's watch list
    UINT msg;
    unsigned flags = 0;
    WPARAM wParam = 0;
    LRESULT result = 0;
};

struct LoggedMessage {
    int window;
    UINT msg;
    bool bNested;
    WPARAM wParam;
    LRESULT result;
};

// One class to watch and the messages of it to log (all when empty).
struct WatchedClass {
    LPCWSTR className;
    std::vector<UINT> messages;
};

// Logs, while it lives, what reaches the windows of the classes watched on
// this thread: those made meanwhile and those given to Watch. One at a time.
class MessageLog {
public:
    explicit MessageLog(std::initializer_list<WatchedClass> classes);
    ~MessageLog();
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    // Logs a window that already exists as one of the index's class.
    void Watch(HWND hwnd, int window);
    // What arrived since the last Take, and forgets it.
    std::vector<LoggedMessage> Take();

private:
    struct Subclassed {
        HWND hwnd;
        int window;
        WNDPROC original;
    };
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK LoggingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    const Subclassed* Find(HWND hwnd) const;
    bool Wanted(int window, UINT msg) const;

    std::vector<WatchedClass> m_classes;
    std::vector<Subclassed> m_windows;
    std::vector<LoggedMessage> m_log;
    size_t m_nTaken = 0;  // messages taken before the first of m_log
    HHOOK m_hook = nullptr;
    int m_depth = 0;
};

// Compares what arrived with what was expected, message by message, and
// tells the first difference with both sequences written out.
testing::AssertionResult SequenceIs(const std::vector<LoggedMessage>& got,
                                    const std::vector<ExpectedMessage>& expected);
template <size_t N>
testing::AssertionResult SequenceIs(const std::vector<LoggedMessage>& got, const ExpectedMessage (&expected)[N]) {
    return SequenceIs(got, std::vector<ExpectedMessage>(expected, expected + N));
}
