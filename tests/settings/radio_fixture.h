// Shared set-up of the radio-link tests: a scratch device with a SIM card
// file, the built-in simulated modem as the port, a short radio wait, and a
// RadioLink whose answers a test can reshape on their way in.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/modem/sim_transport.h"
#include "platform/ril/ril_test_seams.h"
#include "settings/radio_link.h"
#include "tests/support/scratch.h"

// The wait the tests use where a request is meant to time out.
constexpr DWORD kShortWaitMs = 300;

// A 2G card: service centre +441234567890, CPHS mailbox file of six 28-byte
// records with +1234567 in record 1, and an empty EF_MBDN.
extern const char kTestCard[];

// Hands each answer of the real RIL to RadioLink after an optional change:
// its data reshaped, or its command id moved so that it no longer matches.
// The protected request primitive is opened for tests that play the RIL.
class ShapedLink : public RadioLink {
public:
    using RadioLink::SyncRequest;

    ShapedLink();
    ~ShapedLink();

    std::function<void(std::vector<BYTE>&)> shape;
    HRESULT hrIdShift = 0;
    HANDLE hForwarded;  // set after each answer has been handed on

    void v_RILResultCallBack(DWORD dwCode, HRESULT hrCmdID, const void* lpData,
                             DWORD cbData) override;
};

class RadioTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::wstring CardPath() const { return m_device.Path(L"\\Windows\\simcard.txt"); }
    void WriteCard(const std::string& text) const;
    std::string ReadCard() const { return ReadFileBytes(CardPath()); }

    ScratchDevice m_device;
};

// Milliseconds since the tick count t0.
inline DWORD Since(DWORD t0) { return GetTickCount() - t0; }
std::vector<BYTE> ResultBytes(const RadioLink& link);
