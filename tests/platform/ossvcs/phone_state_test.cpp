// Phone state from the radio, the radio-off bit of HKLM "System\State\Phone"
// "Status", and LinkdeckDll.dll switching the card's radio on.
#include <gtest/gtest.h>

#include "platform/base/kernel.h"
#include "platform/modem/sim_transport.h"
#include "platform/ossvcs/phone.h"
#include "platform/ril/ril_test_seams.h"
#include "tests/platform/ril/radio_rig.h"

namespace {

const wchar_t kPhoneKey[] = L"System\\State\\Phone";

std::string CardWithRadio(const char* word) {
    std::string card = DefaultCardText();
    card.replace(card.find("radio on"), 8, std::string("radio ") + word);
    return card;
}

// Saves the Status value and puts it back afterwards.
class StatusValue {
public:
    StatusValue() {
        DWORD cb = sizeof m_saved;
        m_bHad = RegGetValueW(HKEY_LOCAL_MACHINE, kPhoneKey, L"Status", RRF_RT_REG_DWORD, nullptr, &m_saved,
                              &cb) == ERROR_SUCCESS;
    }
    ~StatusValue() {
        if (m_bHad) SetRegDword(HKEY_LOCAL_MACHINE, kPhoneKey, L"Status", m_saved);
        else Delete();
    }
    void Set(DWORD v) { SetRegDword(HKEY_LOCAL_MACHINE, kPhoneKey, L"Status", v); }
    void Delete() { RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kPhoneKey, L"Status"); }
    // -1 when absent or not a DWORD.
    long long Get() const {
        DWORD v = 0, cb = sizeof v;
        if (RegGetValueW(HKEY_LOCAL_MACHINE, kPhoneKey, L"Status", RRF_RT_REG_DWORD, nullptr, &v, &cb) != ERROR_SUCCESS)
            return -1;
        return v;
    }

private:
    bool m_bHad = false;
    DWORD m_saved = 0;
};

TEST(PhoneState, FollowsTheRadioAndKeepsTheStatusBitInStep) {
    StatusValue status;
    struct Case {
        const char* radio;
        DWORD state;
        DWORD statusAfter;
    } cases[] = {{"off", 0, 0x17}, {"on", 2, 0x15}, {"flight", 1, 0x17}, {"on", 2, 0x15}};
    status.Set(0x15);  // other bits are someone else's
    for (const auto& c : cases) {
        RadioRig rig(CardWithRadio(c.radio));
        DWORD state = 99;
        ASSERT_TRUE(GetPhoneState(&state)) << c.radio;
        EXPECT_EQ(state, c.state) << c.radio;
        EXPECT_EQ(status.Get(), (long long)c.statusAfter) << c.radio;
    }
    // An absent value is created; one of the wrong type is replaced.
    RadioRig rig(CardWithRadio("off"));
    status.Delete();
    DWORD state = 99;
    ASSERT_TRUE(GetPhoneState(&state));
    EXPECT_EQ(status.Get(), 0x2);
    SetRegString(HKEY_LOCAL_MACHINE, kPhoneKey, L"Status", L"on");
    TraceCapture trace;
    ASSERT_TRUE(GetPhoneState(&state));
    EXPECT_EQ(status.Get(), 0x2);
    EXPECT_TRUE(trace.Has(L"rewritten as a DWORD"));
    EXPECT_FALSE(GetPhoneState(nullptr));
}

TEST(PhoneState, SettingThePowerUpdatesTheCardAndTheBit) {
    StatusValue status;
    status.Set(0x0);
    RadioRig rig;
    RilClient c;
    ASSERT_EQ(c.Call([](HRIL h) { return RIL_SetEquipmentState(h, RIL_EQSTATE_DISABLETXANDRX); }).dwCode,
              (DWORD)RIL_RESULT_OK);
    EXPECT_NE(rig.Card().find("radio flight"), std::string::npos);
    EXPECT_EQ(status.Get(), 0x2);
    ASSERT_EQ(c.Call([](HRIL h) { return RIL_SetEquipmentState(h, RIL_EQSTATE_FULL); }).dwCode,
              (DWORD)RIL_RESULT_OK);
    EXPECT_NE(rig.Card().find("radio on"), std::string::npos);
    EXPECT_EQ(status.Get(), 0x0);
    // A power state the modem refuses changes neither.
    EXPECT_EQ(c.Call([](HRIL h) { return RIL_SetEquipmentState(h, RIL_EQSTATE_DISABLETX); }).dwCode,
              (DWORD)RIL_RESULT_ERROR);
    EXPECT_EQ(status.Get(), 0x0);
    EXPECT_LT(RIL_SetEquipmentState(c.Handle(), 42), 0);
}

TEST(PhoneState, MissingCardStillAnswersButNoModemFails) {
    StatusValue status;
    {
        RadioRig rig("");
        DWORD state = 99;
        ASSERT_TRUE(GetPhoneState(&state));
        EXPECT_EQ(state, 2u);
    }
    {
        RadioRig rig;
        ModemFaults f;
        f.bSilent = true;
        SetSimModemFaultsForTest(f);
        DWORD start = GetTickCount();
        DWORD state = 99;
        status.Set(0x10);
        TraceCapture trace;
        EXPECT_FALSE(GetPhoneState(&state));
        EXPECT_LT(GetTickCount() - start, 3500u);
        EXPECT_EQ(status.Get(), 0x10);  // nothing learnt, nothing changed
        // The library's own time-out ended the request, not a wait of the caller's.
        EXPECT_TRUE(trace.Has(L"no answer to [AT+CFUN?]"));
        EXPECT_FALSE(trace.Has(L"handle closed"));
    }
    {
        RadioRig rig;
        RilSetPortForTest(L"tcp:127.0.0.1:1");
        DWORD state = 99;
        EXPECT_FALSE(GetPhoneState(&state));
    }
}

TEST(Linkdeck, SwitchesTheCardsRadioOn) {
    StatusValue status;
    status.Set(0x2 | 0x40);
    RadioRig rig(CardWithRadio("off"));
    ASSERT_TRUE(rig.device.Install(L"LinkdeckDll.dll", L"\\Windows\\LinkdeckDll.dll"));
    // The library has its own copy of the platform: it finds the device root
    // through the environment, the port and the card through the registry.
    SetEnvironmentVariableW(L"QX_DEVICE_ROOT", rig.device.Root().c_str());
    HMODULE lib = CeLoadLibrary(L"\\Windows\\LinkdeckDll.dll");
    ASSERT_NE(lib, nullptr);
    using SetPhoneFn = int(WINAPI*)(int);
    auto setPhone = GetProcAs<SetPhoneFn>(lib, "Linkdeck_SetPhone");
    ASSERT_NE(setPhone, nullptr);

    EXPECT_EQ(setPhone(0), 0);
    EXPECT_NE(rig.Card().find("radio off"), std::string::npos);
    EXPECT_NE(setPhone(1), 0);
    EXPECT_NE(rig.Card().find("radio on"), std::string::npos);
    EXPECT_EQ(status.Get(), 0x40);
    DWORD state = 99;
    ASSERT_TRUE(GetPhoneState(&state));
    EXPECT_EQ(state, 2u);

    // With no card to keep the state on, the library still answers for its modem.
    DeleteFileW(rig.CardPath().c_str());
    EXPECT_NE(setPhone(1), 0);
    EXPECT_EQ(GetFileAttributesW(rig.CardPath().c_str()), INVALID_FILE_ATTRIBUTES);
    FreeLibrary(lib);
    SetEnvironmentVariableW(L"QX_DEVICE_ROOT", nullptr);
}

}  // namespace
