// Radio-link test set-up: card, port, faults and waits back to normal after each test.
#include "tests/settings/radio_fixture.h"
#include "tests/support/radio_seams.h"

const char kTestCard[] =
    "# test card\r\n"
    "radio on\r\n"
    "smsc +441234567890 145\r\n"
    "sim 2G\r\n"
    "file 6F17 reclen 28 records 6\r\n"
    "record 1 FF FF FF FF FF FF FF FF FF FF FF FF FF FF 06 91 21 43 65 F7 FF FF FF FF FF FF FF FF\r\n"
    "file 6FC7 reclen 30 records 2\r\n";

ShapedLink::ShapedLink() : hForwarded(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

ShapedLink::~ShapedLink() { CloseHandle(hForwarded); }

void ShapedLink::v_RILResultCallBack(DWORD dwCode, HRESULT hrCmdID, const void* lpData,
                                     DWORD cbData) {
    if (!shape) {
        RadioLink::v_RILResultCallBack(dwCode, hrCmdID + hrIdShift, lpData, cbData);
        SetEvent(hForwarded);
        return;
    }
    const BYTE* pb = static_cast<const BYTE*>(lpData);
    std::vector<BYTE> data(pb, pb + (pb ? cbData : 0));
    shape(data);
    RadioLink::v_RILResultCallBack(dwCode, hrCmdID + hrIdShift, data.empty() ? nullptr : data.data(),
                                   static_cast<DWORD>(data.size()));
    SetEvent(hForwarded);
}

void RadioTest::SetUp() {
    WriteCard(kTestCard);
    UseSimModem(0, 3000);
}

void RadioTest::TearDown() { ResetRadioSeams(); }

void RadioTest::WriteCard(const std::string& text) const {
    ASSERT_TRUE(WriteFileBytes(CardPath(), text));
}

std::vector<BYTE> ResultBytes(const RadioLink& link) {
    if (!link.m_pbResult) return {};
    return std::vector<BYTE>(link.m_pbResult, link.m_pbResult + link.m_cbResult);
}
