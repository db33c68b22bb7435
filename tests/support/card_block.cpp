// Holders of a SIM card file that keep it from being written.
#include "tests/support/card_block.h"

#include "platform/modem/sim_card_file.h"

CardBlocker::CardBlocker(CardBlock how, const std::wstring& cardPath) : m_how(how), m_path(cardPath) {
    if (how == CardBlock::ReadOnly) {
        SetFileAttributesW(m_path.c_str(), FILE_ATTRIBUTE_READONLY);
    } else if (how == CardBlock::HeldOpen) {
        m_hFile = CreateFileW(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    } else if (how == CardBlock::LockHeld) {
        m_hRelease = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        HANDLE hHeld = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        m_holder = std::thread([this, hHeld] {
            HANDLE hLock = CreateMutexW(nullptr, FALSE, kSimCardLockName);
            WaitForSingleObject(hLock, INFINITE);
            SetEvent(hHeld);
            WaitForSingleObject(m_hRelease, INFINITE);
            ReleaseMutex(hLock);
            CloseHandle(hLock);
        });
        WaitForSingleObject(hHeld, INFINITE);
        CloseHandle(hHeld);
    }
}

CardBlocker::~CardBlocker() {
    if (m_how == CardBlock::ReadOnly) SetFileAttributesW(m_path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (m_hFile != INVALID_HANDLE_VALUE) CloseHandle(m_hFile);
    if (m_holder.joinable()) {
        SetEvent(m_hRelease);
        m_holder.join();
    }
    if (m_hRelease) CloseHandle(m_hRelease);
}

bool CardReadOnly(const std::wstring& cardPath) {
    DWORD attrs = GetFileAttributesW(cardPath.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY);
}
