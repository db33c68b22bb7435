// The AT channel: one thread per modem connection that sends one queued
// command at a time, turns the port's bytes into lines, classifies them
// against the command in flight and hands each outcome to its owner. It
// sleeps on the port's event together with its own wake-up (or, for the
// built-in modem, on its condition variable), so a new command or Stop() is
// seen at once and no read is ever waited out.
//
// Outcomes are handed on from the channel's thread, so a completion that
// queues a further command never sends it itself: the thread sends it when
// the completion has returned. After a time-out the next command waits (at
// most one more time-out) for the late answer to pass, so that answer is not
// taken for the next command's.
#pragma once
#include <windows.h>

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/base/scoped.h"
#include "platform/ril/at_exchange.h"
#include "platform/ril/at_line_parser.h"
#include "platform/ril/at_transport.h"
#include "platform/ril/ril_commands.h"
#include "platform/ril/srw_lock.h"

struct AtJob {
    UINT_PTR hClient = 0;  // the radio handle that asked
    HRESULT hrId = 0;
    RilRequest request;
    DWORD dwTimeoutMs = 0;         // 0: the library's per-command time-out
    bool bNumericResults = false;  // the modem may answer "0" for OK (before ATV1)
    bool bPaused = false;          // goes out no earlier than dwNotBefore (asked again after a pause)
    DWORD dwNotBefore = 0;
};

// Called on the channel's thread, never with the channel's lock held.
class AtChannelOwner {
public:
    // A job's outcome. reply is null when the command failed without a final
    // result: hrFailure is then RIL_E_TIMEDOUT or RIL_E_RADIOUNAVAILABLE.
    // False ends the channel: nobody is left to answer.
    virtual bool OnCompleted(const AtJob& job, const AtReply* reply, HRESULT hrFailure) = 0;
    // A job's command is about to go out: the owner fits it to the modem.
    virtual void OnSending(AtJob* job) = 0;
    // The port has closed (and is released); queued and later jobs fail.
    virtual void OnPortLost() = 0;
    // The channel has ended and its port is closed.
    virtual void OnReleased() = 0;

protected:
    ~AtChannelOwner() = default;
};

class AtChannel {
public:
    AtChannel(std::unique_ptr<AtTransport> port, AtChannelOwner* owner);
    ~AtChannel();  // only once the thread has ended or was never started
    AtChannel(const AtChannel&) = delete;
    AtChannel& operator=(const AtChannel&) = delete;

    // Starts the channel's thread, which holds keepAlive (the owner) until it
    // ends. Commands submitted before are sent first, in order: the place for
    // a modem's set-up sequence. False when no thread could be had.
    bool Start(std::shared_ptr<void> keepAlive);
    void Submit(AtJob job);
    // Ahead of every queued command: a command asked again below its caller.
    // A paused one holds the queue until its time.
    void SubmitFirst(AtJob job);
    // Drops the client's queued commands and returns them; the one in flight
    // runs on (*pInFlight: a copy of it when it is the client's).
    std::vector<AtJob> DropJobsOf(UINT_PTR hClient, AtJob* pInFlight, bool* pbInFlight);
    // Ends the thread: queued commands are dropped, the port is closed, and
    // no completion starts any more. Returns once the port is closed. Not on
    // the channel's own thread (a completion there returns false instead).
    void Stop();
    bool OnChannelThread() const { return m_dwThreadId == GetCurrentThreadId(); }

private:
    static VOID CALLBACK ThreadMain(PTP_CALLBACK_INSTANCE instance, PVOID pv);
    void Run();
    void Serve();  // the loop of Run, until stopped
    // Each of these is entered and left with the lock held (it may let go of
    // it meanwhile).
    bool ReadyToSend();
    void SendNext(std::unique_lock<SrwLock>& lock);
    bool ReadPort(std::unique_lock<SrwLock>& lock);  // false when nothing was there
    void OnLines(std::unique_lock<SrwLock>& lock);
    void TimeOut(std::unique_lock<SrwLock>& lock);
    void LosePort(std::unique_lock<SrwLock>& lock);
    void Complete(std::unique_lock<SrwLock>& lock, AtJob job, const AtReply* reply, HRESULT hrFailure);
    void WaitForWork(std::unique_lock<SrwLock>& lock);
    void TraceLeftOut();
    void WakeLocked();

    // The channel's thread alone uses these.
    std::unique_ptr<AtTransport> m_port;
    AtChannelOwner* m_owner;
    AtLineParser m_parser;
    std::vector<std::string> m_lines;
    DWORD m_dwTimeoutMs = 0;  // of the command in flight
    // Lines of the modem's own traced since the last command went out, and
    // those left out of the trace: a noisy modem must not fill the disk.
    unsigned m_nLinesTraced = 0;
    unsigned m_nLinesLeftOut = 0;
    std::string m_lastCommand;

    SrwLock m_lock;  // guards everything below it
    std::deque<AtJob> m_queue;
    AtJob m_inFlight;  // written by the channel's thread only
    AtExchange m_exchange;
    HANDLE m_hPortEvent = nullptr;  // the port's, while it is open
    scoped::Kernel m_hWake;         // auto-reset; set with m_bKicked while m_hPortEvent is waited on
    bool m_bKicked = false;         // something to look at: a command, Stop()
    bool m_bInFlight = false;
    DWORD m_dwDeadline = 0;
    bool m_bStop = false;
    bool m_bReleased = true;        // no thread, or it has closed the port
    // A command timed out: its answer may still come, and comes before the
    // next command's (a modem answers in order).
    bool m_bOwed = false;
    bool m_bOwedNumeric = false;
    DWORD m_dwOwedDeadline = 0;

    std::atomic<DWORD> m_dwThreadId{0};
};

// The per-command time-out of the library (RilSetCommandTimeoutForTest).
DWORD RilCommandTimeout();
// Modem text for the trace: control bytes and non-ASCII shown as '?'.
std::wstring AtTraceText(const std::string& s);
// A line the modem sent, for the trace: as AtTraceText, a long one cut with
// a mark that gives its length.
constexpr size_t kMaxTracedLineChars = 200;
std::wstring AtTraceLine(const std::string& line);
// Lines the modem sends of its own (unsolicited, late answers) traced per
// command; the rest are counted in one line when the next command goes out
// or the connection ends.
constexpr unsigned kMaxTracedLinesPerCommand = 20;
