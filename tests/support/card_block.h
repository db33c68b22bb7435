// What keeps a SIM card file from being written, while it lives: the card
// lock held by another thread with a handle of its own (as another process
// holds it), the file made read-only (what Wine reports for mode 444), or
// the file held open by a reader that shares no writing.
#pragma once
#include <windows.h>

#include <string>
#include <thread>

enum class CardBlock { None, LockHeld, ReadOnly, HeldOpen };

class CardBlocker {
public:
    CardBlocker(CardBlock how, const std::wstring& cardPath);
    ~CardBlocker();  // the card writable and its lock free again
    CardBlocker(const CardBlocker&) = delete;
    CardBlocker& operator=(const CardBlocker&) = delete;

private:
    CardBlock m_how;
    std::wstring m_path;
    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    HANDLE m_hRelease = nullptr;
    std::thread m_holder;
};

// The card file's attributes say read-only.
bool CardReadOnly(const std::wstring& cardPath);
