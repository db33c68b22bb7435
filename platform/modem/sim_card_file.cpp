// The SIM card file of the device: loading, the atomic save, the lock, and
// the modem's slot with its copy kept while the file is at rest.
#include "platform/modem/sim_card_file.h"

#include <cstdio>

#include "platform/base/debug_out.h"
#include "platform/base/device_root.h"
#include "platform/base/registry.h"

namespace {

const size_t kMaxCardBytes = 1 << 20;

// *pLastError: the reason traced last, so that a card that stays missing
// is traced once rather than at every command.
SimCardLoad ReadCard(const std::wstring& path, SimCard* card, std::string* pLastError) {
    if (path.empty()) return SimCardLoad::Missing;
    std::string error;
    SimCardLoad r = LoadSimCard(path, card, &error);
    if (r != SimCardLoad::Ok && error != *pLastError) {
        std::wstring why(error.begin(), error.end());
        NKDbgPrintfW(L"[modem]: no SIM: %s: %s.\r\n", path.c_str(), why.c_str());
    }
    *pLastError = r == SimCardLoad::Ok ? std::string() : error;
    return r;
}

bool SameStamp(const WIN32_FILE_ATTRIBUTE_DATA& a, const WIN32_FILE_ATTRIBUTE_DATA& b) {
    return CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) == 0 &&
           a.nFileSizeHigh == b.nFileSizeHigh && a.nFileSizeLow == b.nFileSizeLow;
}

// A card read is kept only when its file was last written well before now:
// any later write then carries a later time, even on a file system that
// keeps times to 2 s (FAT), so an unchanged time stamp means an unchanged
// card. A card written just now is read again at each command.
bool AtRest(const FILETIME& ftWrite) {
    const ULONGLONG kRest = 3ULL * 10000000;  // 3 s in 100 ns units
    FILETIME ftNow;
    GetSystemTimeAsFileTime(&ftNow);
    ULONGLONG now = ULARGE_INTEGER{{ftNow.dwLowDateTime, ftNow.dwHighDateTime}}.QuadPart;
    ULONGLONG written = ULARGE_INTEGER{{ftWrite.dwLowDateTime, ftWrite.dwHighDateTime}}.QuadPart;
    return written + kRest < now;
}

// A reader that opened the card without sharing its deletion (an editor, a
// copy) holds it for a moment only: a call refused for sharing is tried
// again for a while before it counts as failed.
template <typename Call>
bool Retried(Call call) {
    for (int attempt = 0;; ++attempt) {
        if (call()) return true;
        DWORD err = GetLastError();
        if ((err != ERROR_SHARING_VIOLATION && err != ERROR_ACCESS_DENIED) || attempt == 20) {
            SetLastError(err);
            return false;
        }
        Sleep(10);
    }
}

// A card that cannot be written in place is not replaced behind its back:
// moving a new file over a read-only card would write it all the same and
// lose its mode. A card not there yet may be made.
bool CardWritable(const std::wstring& path) {
    DWORD attrs = GetFileAttributesW(path.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES) return GetLastError() == ERROR_FILE_NOT_FOUND;
    if (attrs & FILE_ATTRIBUTE_READONLY) {
        NKDbgPrintfW(L"[modem]: %s is read-only; not written.\r\n", path.c_str());
        return false;
    }
    // Immutable, or held open by someone who shares no writing.
    bool opened = Retried([&] {
        scoped::Kernel file(CreateFileW(path.c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        return static_cast<bool>(file);
    });
    if (!opened)
        NKDbgPrintfW(L"[modem]: %s cannot be written, error %lu; not written.\r\n", path.c_str(),
                     GetLastError());
    return opened;
}

}  // namespace

SimCardLoad LoadSimCard(const std::wstring& path, SimCard* pCard, std::string* pError) {
    scoped::Kernel file(CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        if (pError) *pError = "cannot open the card (error " + std::to_string(GetLastError()) + ")";
        return SimCardLoad::Missing;
    }
    std::string text;
    char buf[4096];
    DWORD got = 0;
    bool ok = true;
    while (ok && ReadFile(file.get(), buf, sizeof buf, &got, nullptr) && got > 0) {
        text.append(buf, got);
        if (text.size() > kMaxCardBytes) ok = false;
    }
    file.reset();
    if (!ok) {
        if (pError) *pError = "card file larger than 1 MB";
        return SimCardLoad::Malformed;
    }
    return ParseSimCard(text, pCard, pError) ? SimCardLoad::Ok : SimCardLoad::Malformed;
}

bool SaveSimCard(const std::wstring& path, const SimCard& card) {
    SimCardLock lock;  // the caller's own, at once, when it holds it
    if (!lock.Held() || !CardWritable(path)) return false;
    wchar_t suffix[64];
    swprintf(suffix, 64, L".%lu-%lu.tmp", GetCurrentProcessId(), GetCurrentThreadId());
    std::wstring tmp = path + suffix;
    scoped::Kernel file(CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        NKDbgPrintfW(L"[modem]: CreateFileW(%s) failed, error %lu.\r\n", tmp.c_str(), GetLastError());
        return false;
    }
    std::string text = SimCardText(card);
    DWORD written = 0;
    bool ok = WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
              written == text.size() && FlushFileBuffers(file.get());
    file.reset();  // closed before it is moved over the card
    auto replace = [&] {
        return MoveFileExW(tmp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    };
    if (ok && !Retried(replace)) {
        NKDbgPrintfW(L"[modem]: MoveFileExW(%s) failed, error %lu.\r\n", path.c_str(), GetLastError());
        ok = false;
    }
    if (!ok) DeleteFileW(tmp.c_str());
    return ok;
}

SimCardLock::SimCardLock() : m_mutex(CreateMutexW(nullptr, FALSE, kSimCardLockName)) {
    if (!m_mutex) return;
    // An abandoned lock (a process died holding it) is ours now; a card left
    // whole by the atomic save needs no repair. One held elsewhere for long
    // fails the write rather than be broken.
    DWORD r = WaitForSingleObject(m_mutex.get(), kSimCardLockWaitMs);
    if (r != WAIT_OBJECT_0 && r != WAIT_ABANDONED) {
        NKDbgPrintfW(L"[modem]: card lock not obtained in %lu ms (%lu); the card is not written.\r\n",
                     kSimCardLockWaitMs, r);
        m_mutex.reset();
    }
}

SimCardLock::~SimCardLock() {
    if (m_mutex) ReleaseMutex(m_mutex.get());
}

const SimCard* SimCardFileSlot::Card() {
    WIN32_FILE_ATTRIBUTE_DATA now = {};
    bool stamped = !m_path.empty() &&
                   GetFileAttributesExW(m_path.c_str(), GetFileExInfoStandard, &now);
    if (m_bCardKept && stamped && SameStamp(now, m_stamp)) return &m_card;
    m_bCardKept = false;
    // Read without the lock: a save moves a whole new file over the card,
    // so a reader sees the old card or the new one, and a lock held
    // elsewhere for long must not hold up every command.
    SimCard fresh;
    if (ReadCard(m_path, &fresh, &m_lastError) != SimCardLoad::Ok) return nullptr;
    m_card = std::move(fresh);
    m_stamp = now;
    m_bCardKept = stamped && AtRest(now.ftLastWriteTime);
    return &m_card;
}

bool SimCardFileSlot::Save(const SimCard& card) {
    m_bCardKept = false;
    // Locked for this change and the lock not had: not waited for again.
    if (m_lock && !m_lock->Held()) return false;
    return SaveSimCard(m_path, card);
}

std::wstring SimCardPathFromRegistry(HKEY hRoot, LPCWSTR pszSubKey) {
    const wchar_t kDefault[] = L"\\Windows\\simcard.txt";
    registry::Key key;
    if (key.Open(hRoot, pszSubKey, registry::kRead) != ERROR_SUCCESS) return DevicePath(kDefault);
    wchar_t value[MAX_PATH] = {};
    DWORD cch = MAX_PATH;
    LONG rc = key.QueryString(L"SimCard", value, &cch);
    if (registry::IsAbsent(rc)) return DevicePath(kDefault);
    if (rc != ERROR_SUCCESS) {
        NKDbgPrintfW(L"[modem]: SimCard value unreadable (error %ld); no SIM.\r\n", rc);
        return std::wstring();
    }
    if (!value[0]) return DevicePath(kDefault);
    return DevicePath(value);
}
