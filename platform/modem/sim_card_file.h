// The SIM card as a file of the emulated device: loading, the atomic save,
// the lock between processes, and the slot through which the simulated
// modem reads the file, kept while the file is unchanged.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "platform/base/scoped.h"
#include "platform/modem/sim_card.h"

enum class SimCardLoad { Ok, Missing, Malformed };
// Reads and parses the card file (Win32 path).
SimCardLoad LoadSimCard(const std::wstring& path, SimCard* pCard, std::string* pError);
// Writes a temporary file beside the card and moves it over the card, so a
// reader sees the old card or the new one, never half of one. Only under the
// card's lock, and only over a card that can be written: false, traced and
// the card untouched when the lock cannot be had, or the card is read-only,
// immutable or held open without sharing.
bool SaveSimCard(const std::wstring& path, const SimCard& card);

// The named mutex every process that uses a card file shares.
constexpr wchar_t kSimCardLockName[] = L"QXSimCardLock";
// How long a writer waits for the card's lock before its write fails.
constexpr DWORD kSimCardLockWaitMs = 2000;

// Serialises read-modify-write of card files between processes (the program,
// the radio-power library, the modem server, tests). Waits for the lock
// kSimCardLockWaitMs at most; a thread that holds it already has it at once.
class SimCardLock {
public:
    SimCardLock();
    ~SimCardLock();
    SimCardLock(const SimCardLock&) = delete;
    SimCardLock& operator=(const SimCardLock&) = delete;
    // False when the lock could not be had: nothing may be written.
    bool Held() const { return static_cast<bool>(m_mutex); }

private:
    scoped::Kernel m_mutex;
};

// The card file as a modem's slot. A missing or malformed card is no card;
// its reason is traced once, not at every command.
class SimCardFileSlot : public SimCardSlot {
public:
    // path: Win32 path of the card file; empty: a slot without a card.
    explicit SimCardFileSlot(std::wstring path) : m_path(std::move(path)) {}
    const SimCard* Card() override;
    bool Save(const SimCard& card) override;
    void Lock() override { m_lock = std::make_unique<SimCardLock>(); }
    void Unlock() override { m_lock.reset(); }

private:
    std::wstring m_path;
    // The card last read, used again while its file is unchanged.
    SimCard m_card;
    WIN32_FILE_ATTRIBUTE_DATA m_stamp = {};
    bool m_bCardKept = false;
    std::string m_lastError;
    std::unique_ptr<SimCardLock> m_lock;
};

// The card of the emulated device: the device path in REG_SZ "SimCard" under
// the given key (HKLM "Drivers\BuiltIn\RIL" on the device), else
// "\Windows\simcard.txt"; as a Win32 path. Empty (no card) when the value has
// the wrong type.
std::wstring SimCardPathFromRegistry(HKEY hRoot, LPCWSTR pszSubKey);
