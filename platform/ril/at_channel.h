// The AT channel: a reader thread that turns the transport's bytes into lines
// and classifies them against the command in flight, and a dispatcher thread
// that sends one queued command at a time, waits for its final result or its
// time-out and hands the outcome on. Completions run on the dispatcher thread,
// so a completion that queues a further command never sends it itself. After
// a time-out the next command waits (at most one more time-out) for the late
// answer to pass, so that answer is not taken for the next command's.
#pragma once
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/ril/at_exchange.h"
#include "platform/ril/at_line_parser.h"
#include "platform/ril/at_transport.h"
#include "platform/ril/ril_commands.h"

struct AtJob {
    HRESULT hrId = 0;
    RilRequest request;
};

class AtChannel {
public:
    // reply is null when the command failed without a final result: hrFailure
    // is then RIL_E_TIMEDOUT or RIL_E_RADIOUNAVAILABLE.
    using Completion = void (*)(void* ctx, const AtJob& job, const AtReply* reply, HRESULT hrFailure);

    AtChannel(std::unique_ptr<AtTransport> port, Completion done, void* ctx);
    ~AtChannel();  // Stop()
    AtChannel(const AtChannel&) = delete;
    AtChannel& operator=(const AtChannel&) = delete;

    void Start();
    void Submit(AtJob job);
    // Drops the queued commands and ends both threads. After it returns no
    // completion runs. Not to be called from a completion.
    void Stop();
    // Marks the channel stopping (no further completions) without waiting;
    // for a completion that closes its own handle. Stop() must follow on
    // another thread.
    void StopSoon();
    bool OnDispatcherThread() const;

private:
    void ReaderMain();
    void DispatcherMain();
    void OnUnsolicited(const std::string& line);

    std::unique_ptr<AtTransport> m_port;
    Completion m_done;
    void* m_ctx;

    std::mutex m_lock;  // guards everything below it
    std::condition_variable m_cv;
    std::deque<AtJob> m_queue;
    AtExchange m_exchange;
    bool m_bFinal = false;     // the command in flight has its final result
    bool m_bPortDead = false;
    bool m_bStop = false;
    // A command timed out: its answer may still come, and comes before the
    // next command's (a modem answers in order).
    bool m_bOwed = false;
    DWORD m_dwOwedDeadline = 0;

    std::atomic<bool> m_bReaderStop{false};
    AtLineParser m_parser;     // reader thread only
    std::thread m_reader;
    std::thread m_dispatcher;
    std::atomic<DWORD> m_dwDispatcherId{0};
};

// The per-command time-out of the library (RilSetCommandTimeoutForTest).
DWORD RilCommandTimeout();
