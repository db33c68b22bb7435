// Reading and saving test set-up: card, store keys, seams and edit controls.
#include "tests/settings/rw_fixture.h"

#include <cstdio>

#include "core/app_state.h"
#include "platform/base/debug_out.h"
#include "platform/ril/ril.h"
#include "settings/radio_link.h"
#include "settings/read_settings.h"
#include "tests/support/radio_seams.h"

const LPCWSTR kTestMirrorKey = L"ControlPanel\\PhoneExtendFunction\\GSM";
const LPCWSTR kTestVmailKey = L"SOFTWARE\\Microsoft\\Vmail";
const LPCWSTR kTestOemKey = L"SOFTWARE\\OEM\\RIL";
const LPCWSTR kTestRilKey = L"Drivers\\BuiltIn\\RIL";

const char kFixedPlus1234567[] = "06 91 21 43 65 F7 FF FF FF FF FF FF FF FF";
const char kFixedEmpty[] = "FF FF FF FF FF FF FF FF FF FF FF FF FF FF";

namespace {

const char kAlpha[] = "56 6F 69 63 65 6D 61 69 6C FF FF FF FF FF";

std::string FileLines(const char* id, const char* fixed) {
    if (!fixed) return "";
    return std::string("file ") + id + " reclen 28 records 4\r\nrecord 1 " + kAlpha + " " + fixed +
           "\r\n";
}

}  // namespace

std::string MakeCard(const char* smsc, int type, const char* fixed6F17, const char* fixed6FC7) {
    return std::string("radio on\r\nsmsc ") + smsc + " " + std::to_string(type) +
           "\r\nsim 2G\r\n" + FileLines("6F17", fixed6F17) + FileLines("6FC7", fixed6FC7);
}

SimCard LoadCard(const std::wstring& cardPath) {
    SimCard card;
    std::string error;
    if (!ParseSimCard(ReadFileBytes(cardPath), &card, &error)) ADD_FAILURE() << error;
    return card;
}

std::vector<BYTE> CardRecord(const std::wstring& cardPath, WORD wFileId) {
    SimCard card = LoadCard(cardPath);
    const SimCardFile* file = FindSimFile(card, wFileId);
    return file ? SimRecord(*file, 1) : std::vector<BYTE>();
}

std::string Hex(const std::vector<BYTE>& bytes) {
    std::string s;
    char b[4];
    for (BYTE x : bytes) {
        snprintf(b, sizeof b, s.empty() ? "%02X" : " %02X", x);
        s += b;
    }
    return s;
}

void DeleteRegValue(HKEY root, LPCWSTR subkey, LPCWSTR name) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(root, subkey, 0, KEY_SET_VALUE, &h) != ERROR_SUCCESS) return;
    RegDeleteValueW(h, name);
    RegCloseKey(h);
}

PhoneApp::PhoneApp(const std::wstring& logPath, int nSeconds) : m_log(logPath) {
    std::wstring cmd = L"\"" + ModuleFolder() + L"phoneapp.exe\" --seconds " + std::to_wstring(nSeconds) +
                       L" --log \"" + logPath + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    if (!CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi)) return;
    for (int i = 0; i < 200 && !m_hwnd; ++i) {
        m_hwnd = FindWindowW(L"MSCprog", nullptr);
        if (!m_hwnd) Sleep(25);
    }
}

PhoneApp::~PhoneApp() {
    if (!m_pi.hProcess) return;
    if (m_hwnd) PostMessageW(m_hwnd, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(m_pi.hProcess, 3000) != WAIT_OBJECT_0) TerminateProcess(m_pi.hProcess, 1);
    CloseHandle(m_pi.hThread);
    CloseHandle(m_pi.hProcess);
}

int PhoneApp::Told(const std::string& fragment) const {
    const std::string text = ReadFileBytes(m_log);
    int n = 0;
    for (size_t at = text.find(fragment); at != std::string::npos; at = text.find(fragment, at + 1)) ++n;
    return n;
}

TraceTrigger::TraceTrigger() { SetDebugOutSink(&TraceTrigger::Sink, this); }

TraceTrigger::~TraceTrigger() { SetDebugOutSink(nullptr, nullptr); }

void TraceTrigger::On(const std::wstring& fragment, std::function<void()> action) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_fragment = fragment;
    m_action = std::move(action);
    m_bFired = false;
}

void TraceTrigger::Sink(void* ctx, LPCWSTR text) {
    auto* self = static_cast<TraceTrigger*>(ctx);
    std::function<void()> action;
    {
        std::lock_guard<std::mutex> lock(self->m_lock);
        self->m_texts.emplace_back(text);
        if (!self->m_bFired && self->m_action && !self->m_fragment.empty() &&
            self->m_texts.back().find(self->m_fragment) != std::wstring::npos) {
            self->m_bFired = true;
            action = self->m_action;
        }
    }
    if (action) action();
}

bool TraceTrigger::Fired() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_bFired;
}

std::vector<std::wstring> TraceTrigger::Texts() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_texts;
}

bool TraceTrigger::Has(const std::wstring& fragment) const {
    for (const std::wstring& t : Texts())
        if (t.find(fragment) != std::wstring::npos) return true;
    return false;
}

bool TraceTrigger::HasDirect(const std::wstring& text) const {
    for (const std::wstring& t : Texts())
        if (t == text) return true;
    return false;
}

bool TraceTrigger::InOrder(const std::vector<std::wstring>& fragments, std::wstring* pMissing) const {
    std::vector<std::wstring> texts = Texts();
    size_t at = 0;
    for (const std::wstring& f : fragments) {
        while (at < texts.size() && texts[at].find(f) == std::wstring::npos) ++at;
        if (at == texts.size()) {
            if (pMissing) *pMissing = f;
            return false;
        }
        ++at;
    }
    return true;
}

void TraceTrigger::Clear() {
    std::lock_guard<std::mutex> lock(m_lock);
    m_texts.clear();
}

void SettingsTest::SetUp() {
    ResetAppState();
    AppState.hInst = GetModuleHandleW(nullptr);
    DeleteRegTree(HKEY_CURRENT_USER, kTestMirrorKey);
    DeleteRegTree(HKEY_CURRENT_USER, kTestVmailKey);
    DeleteRegTree(HKEY_LOCAL_MACHINE, kTestOemKey);
    DeleteRegValue(HKEY_LOCAL_MACHINE, kTestRilKey, L"ReadCPHS");
    SetSimFlags(1, 0);
    WriteCard(MakeCard("+441234567890", 145, kFixedPlus1234567, kFixedEmpty));
    UseSimModem(400, 2000);
}

void SettingsTest::TearDown() {
    ResetRadioSeams();
    DeleteRegTree(HKEY_CURRENT_USER, kTestMirrorKey);
    DeleteRegTree(HKEY_CURRENT_USER, kTestVmailKey);
    DeleteRegTree(HKEY_LOCAL_MACHINE, kTestOemKey);
    DeleteRegValue(HKEY_LOCAL_MACHINE, kTestRilKey, L"ReadCPHS");
}

void SettingsTest::WriteCard(const std::string& text) const {
    ASSERT_TRUE(WriteFileBytes(CardPath(), text));
}

void SettingsTest::SetSimFlags(int nSimType, int nReadCPHS) {
    DeleteRegTree(HKEY_LOCAL_MACHINE, kTestOemKey);
    DeleteRegValue(HKEY_LOCAL_MACHINE, kTestRilKey, L"ReadCPHS");
    HKEY h = nullptr;
    // The key exists even without its value: that is a case of its own.
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kTestOemKey, 0, nullptr, 0, KEY_WRITE, nullptr, &h,
                        nullptr) == ERROR_SUCCESS)
        RegCloseKey(h);
    if (nSimType >= 0) SetRegDword(HKEY_LOCAL_MACHINE, kTestOemKey, L"SIMTYPE", nSimType);
    if (nReadCPHS >= 0) SetRegDword(HKEY_LOCAL_MACHINE, kTestRilKey, L"ReadCPHS", nReadCPHS);
}

BOOL SettingsTest::Start() {
    FuncGetVMailTextMSG_Setting(&m_setting);
    return TRUE;
}

void SettingsTest::Type(LPCWSTR pszServiceCentre, LPCWSTR pszVoiceMail) {
    const LPCWSTR texts[kSettingFieldCount] = {pszServiceCentre, pszVoiceMail};
    for (int f = 0; f < kSettingFieldCount; ++f) {
        m_input.bHasText[f] = TRUE;
        lstrcpynW(m_input.szText[f], texts[f], kTextLen);
    }
}
