// A slim reader/writer lock with its condition variable. These are the
// kernel's in-process primitives: under Wine a hand-off through them costs a
// few microseconds, through an event or the C++ library's condition variable
// (winpthreads) tens to hundreds.
#pragma once
#include <windows.h>

class SrwLock {
public:
    SrwLock() = default;
    SrwLock(const SrwLock&) = delete;
    SrwLock& operator=(const SrwLock&) = delete;

    // Lockable, for std::lock_guard, std::unique_lock and std::shared_lock.
    void lock() { AcquireSRWLockExclusive(&m_lock); }
    void unlock() { ReleaseSRWLockExclusive(&m_lock); }
    void lock_shared() { AcquireSRWLockShared(&m_lock); }
    void unlock_shared() { ReleaseSRWLockShared(&m_lock); }

    // With the lock held exclusively: sleeps until woken or dwMs have passed.
    // Callers test their condition again; a wake may also be spurious.
    void Wait(DWORD dwMs) { SleepConditionVariableSRW(&m_cv, &m_lock, dwMs, 0); }
    void WakeAll() { WakeAllConditionVariable(&m_cv); }
    // With the lock held exclusively: waits until done() holds or dwMs have
    // passed (INFINITE: no limit). Returns done().
    template <typename Done>
    bool WaitUntil(Done done, DWORD dwMs = INFINITE) {
        DWORD t0 = GetTickCount();
        for (;;) {
            if (done()) return true;
            DWORD waited = GetTickCount() - t0;
            if (dwMs != INFINITE && waited >= dwMs) return false;
            Wait(dwMs == INFINITE ? INFINITE : dwMs - waited);
        }
    }

private:
    SRWLOCK m_lock = SRWLOCK_INIT;
    CONDITION_VARIABLE m_cv = CONDITION_VARIABLE_INIT;
};
