// Shared set-up of the reading and saving tests: a scratch device with a SIM
// card for the built-in simulated modem, short radio waits, the store's keys
// cleared, the record of the two numbers and the texts handed to the save,
// and a trace that can switch a modem fault on at a chosen line.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/modem/sim_card.h"
#include "settings/number_record.h"
#include "tests/support/scratch.h"

// Keys of the store as the tests write them.
extern const LPCWSTR kTestMirrorKey;  // HKCU
extern const LPCWSTR kTestVmailKey;   // HKCU
extern const LPCWSTR kTestOemKey;     // HKLM
extern const LPCWSTR kTestRilKey;     // HKLM

// The fixed part of a 28-byte record holding +1234567, and an empty one.
extern const char kFixedPlus1234567[];
extern const char kFixedEmpty[];

// A 2G card: service centre and type, 6F17 and 6FC7 of four 28-byte records
// each, record 1 of each being nine alpha bytes "Voicemail", five FF, then the
// fixed part given (omitted when null: no such file on the card).
std::string MakeCard(const char* smsc, int type, const char* fixed6F17, const char* fixed6FC7);

// Record 1 of a file of the card as it is now in the device; empty when the
// card cannot be read or has no such file.
std::vector<BYTE> CardRecord(const std::wstring& cardPath, WORD wFileId);
SimCard LoadCard(const std::wstring& cardPath);
std::string Hex(const std::vector<BYTE>& bytes);

void DeleteRegValue(HKEY root, LPCWSTR subkey, LPCWSTR name);

// The phone application's stand-in (phoneapp.exe beside the tests), logging
// each WM_CPROG_UPDATEVMAIL_NUMBER with the mirror it reads into logPath,
// for at most the seconds given.
class PhoneApp {
public:
    explicit PhoneApp(const std::wstring& logPath, int nSeconds = 20);
    ~PhoneApp();
    PhoneApp(const PhoneApp&) = delete;
    PhoneApp& operator=(const PhoneApp&) = delete;
    HWND Window() const { return m_hwnd; }
    // Its log lines that hold the fragment.
    int Told(const std::string& fragment) const;

private:
    std::wstring m_log;
    PROCESS_INFORMATION m_pi = {};
    HWND m_hwnd = nullptr;
};

// Collects every debug-output text and runs an action (on the writing thread)
// the first time a text contains the fragment. Takes the place of TraceCapture.
class TraceTrigger {
public:
    TraceTrigger();
    ~TraceTrigger();
    TraceTrigger(const TraceTrigger&) = delete;
    TraceTrigger& operator=(const TraceTrigger&) = delete;

    void On(const std::wstring& fragment, std::function<void()> action);
    bool Fired() const;
    std::vector<std::wstring> Texts() const;
    bool Has(const std::wstring& fragment) const;
    // A text written straight to the debug output, not through the trace.
    bool HasDirect(const std::wstring& text) const;
    // True when the fragments occur in this order (each in a later text).
    bool InOrder(const std::vector<std::wstring>& fragments, std::wstring* pMissing) const;
    void Clear();

private:
    static void Sink(void* ctx, LPCWSTR text);
    mutable std::mutex m_lock;
    std::vector<std::wstring> m_texts;
    std::wstring m_fragment;
    std::function<void()> m_action;
    bool m_bFired = false;
};

class SettingsTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::wstring CardPath() const { return m_device.Path(L"\\Windows\\simcard.txt"); }
    void WriteCard(const std::string& text) const;
    std::string ReadCard() const { return ReadFileBytes(CardPath()); }

    // SIM-type flags; a negative value leaves the value out.
    static void SetSimFlags(int nSimType, int nReadCPHS);

    // The start as far as the settings go: the read into the record, its
    // outcome not looked at. TRUE.
    BOOL Start();
    // The texts as the read left them to be shown.
    std::wstring ServiceCentreBox() const { return m_setting.szTextMessage; }
    std::wstring VoiceMailBox() const { return m_setting.szVoiceMail; }

    // What the two fields hold at Done; until this, the screen made no field.
    void Type(LPCWSTR pszServiceCentre, LPCWSTR pszVoiceMail);

    ScratchDevice m_device;
    VMailTextMSGSetting m_setting{};
    VMailTextMSGInput m_input{};
};
