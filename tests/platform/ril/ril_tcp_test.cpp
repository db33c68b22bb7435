// The RIL over TCP on loopback against modem_server.exe, and the choice of
// transport from the "Port" value.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <cstring>

#include "platform/ril/at_transport.h"
#include "platform/ril/ril_test_seams.h"
#include "tests/platform/ril/radio_rig.h"
#include "tools/modem_server/modem_server_process.h"

namespace {

// modem_server.exe on a free port of 127.0.0.1, for one test.
ModemServerProcess Serve(const RadioRig& rig, const std::wstring& options) {
    return ModemServerProcess(ModuleFolder() + L"modem_server.exe", rig.CardPath(),
                              rig.device.Path(L"\\port.txt"), 15000, options);
}

HRESULT ReadRecord(HRIL h, DWORD rec) {
    RILSIMCMDPARAMETERS p = SimParams(0x6F17, rec, 4, 28);
    return RIL_SendRestrictedSimCmd(h, RIL_SIMCMD_READRECORD, &p, nullptr, 0);
}

// A whole session against an echoing, noisy server, and against one speaking
// dialects (numeric results, a character set it keeps, files only by path).
TEST(RilOverTcp, EchoingNoisyModemServesAWholeSession) {
    for (const wchar_t* options : {L"--echo --noise", L"--dialect numeric,echo,ucs2,keep-charset,path-only"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(options)));
        RadioRig rig;
        ModemServerProcess server = Serve(rig, options);
        ASSERT_GT(server.PortNumber(), 0);
        RilSetPortForTest(server.Port().c_str());
        RilClient c;
        ASSERT_EQ(c.InitResult(), S_OK);

        RilRecord cfg = c.Call(RIL_GetMsgConfig);
        ASSERT_EQ(cfg.dwCode, (DWORD)RIL_RESULT_OK);
        ASSERT_EQ(cfg.data.size(), 536u);
        RILMSGCONFIG config;
        memcpy(&config, cfg.data.data(), sizeof config);
        EXPECT_STREQ(config.raSvcCtrAddress.wszAddress, L"441234567890");
        EXPECT_EQ(SimBytes(c.Call([](HRIL h) { return ReadRecord(h, 1); })),
                  HexBytes("566F6963656D61696CFFFFFFFFFF0691214365F7FFFFFFFFFFFFFFFF"));
        std::vector<BYTE> rec = HexBytes("FFFFFFFFFFFFFFFFFFFFFFFFFFFF0381214365FFFFFFFFFFFFFFFFFF");
        RILSIMCMDPARAMETERS p = SimParams(0x6F17, 2, 4, 28);
        EXPECT_EQ(c.Call([&](HRIL h) {
                     return RIL_SendRestrictedSimCmd(h, RIL_SIMCMD_UPDATERECORD, &p, rec.data(), 28);
                 }).dwCode,
                  (DWORD)RIL_RESULT_OK);
        EXPECT_EQ(SimBytes(c.Call([](HRIL h) { return ReadRecord(h, 2); })), rec);
        EXPECT_NE(rig.Card().find("record 2 FF FF FF FF FF FF FF FF FF FF FF FF FF FF 03 81 21 43 65 FF"),
                  std::string::npos);
        wcscpy(config.raSvcCtrAddress.wszAddress, L"4479");
        EXPECT_EQ(c.Call([&](HRIL h) { return RIL_SetMsgConfig(h, &config); }).dwCode, (DWORD)RIL_RESULT_OK);
        EXPECT_NE(rig.Card().find("smsc +4479 145"), std::string::npos);
    }
}

TEST(RilOverTcp, HandlesShareTheServersOneConnection) {
    // The server takes one connection: a handle with a connection of its
    // own would wait in its backlog and time out.
    RadioRig rig;
    ModemServerProcess server = Serve(rig, L"");
    ASSERT_GT(server.PortNumber(), 0);
    RilSetPortForTest(server.Port().c_str());
    RilClient a, b;
    HRESULT idA = RIL_GetMsgConfig(a.Handle());
    HRESULT idB = ReadRecord(b.Handle(), 1);
    RilRecord ra, rb;
    ASSERT_TRUE(a.WaitFor(idA, 3000, &ra));
    ASSERT_TRUE(b.WaitFor(idB, 3000, &rb));
    EXPECT_EQ(ra.data.size(), 536u);
    EXPECT_EQ(SimBytes(rb).size(), 28u);
    EXPECT_EQ(a.AnswerCount(), 1u);
    EXPECT_EQ(b.AnswerCount(), 1u);
    a.Close();
    EXPECT_EQ(b.Call(RIL_GetMsgConfig).dwCode, (DWORD)RIL_RESULT_OK);
}

TEST(RilOverTcp, ConnectionDroppedMidAnswerFailsAtOnce) {
    RadioRig rig;
    // Five set-up commands, then AT+CFUN? are answered; the next is cut.
    ModemServerProcess server = Serve(rig, L"--drop-after 6 --connections 2");
    ASSERT_GT(server.PortNumber(), 0);
    RilSetPortForTest(server.Port().c_str());
    RilClient c;
    ASSERT_EQ(c.Call(RIL_GetEquipmentState).dwCode, (DWORD)RIL_RESULT_OK);
    DWORD start = GetTickCount();
    RilRecord cut = c.Call([](HRIL h) { return ReadRecord(h, 1); });
    EXPECT_EQ(ErrorOf(cut), RIL_E_RADIOUNAVAILABLE);
    EXPECT_LT(GetTickCount() - start, kRigTimeoutMs);  // the close, not the time-out
    start = GetTickCount();
    EXPECT_EQ(ErrorOf(c.Call(RIL_GetMsgConfig)), RIL_E_RADIOUNAVAILABLE);
    EXPECT_LT(GetTickCount() - start, 200u);
    // A handle opened now connects again; the old one stays cut off.
    RilClient again;
    ASSERT_EQ(again.InitResult(), S_OK);
    EXPECT_EQ(again.Call(RIL_GetMsgConfig).dwCode, (DWORD)RIL_RESULT_OK);
    EXPECT_EQ(ErrorOf(c.Call(RIL_GetMsgConfig)), RIL_E_RADIOUNAVAILABLE);
}

TEST(RilOverTcp, SilentModemTimesOut) {
    RadioRig rig;
    ModemServerProcess server = Serve(rig, L"--silent");
    ASSERT_GT(server.PortNumber(), 0);
    RilSetPortForTest(server.Port().c_str());
    RilClient c;
    DWORD start = GetTickCount();
    EXPECT_EQ(ErrorOf(c.Call(RIL_GetMsgConfig)), RIL_E_TIMEDOUT);
    EXPECT_LT(GetTickCount() - start, kRigTimeoutMs + 1000);
}

TEST(RilPorts, PortsThatDoNotOpenGiveNoHandle) {
    RadioRig rig;
    // A port nobody listens on: take a free one and let it go.
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in sa = {};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int len = sizeof sa;
    bind(s, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    getsockname(s, reinterpret_cast<sockaddr*>(&sa), &len);
    closesocket(s);
    std::wstring closed = L"tcp:127.0.0.1:" + std::to_wstring(ntohs(sa.sin_port));

    for (const std::wstring& port : {closed, std::wstring(L"tcp:localhost:5000"), std::wstring(L"tcp:127.0.0.1:0"),
                                     std::wstring(L"COM0:"), std::wstring(L"COM250:"), std::wstring(L"modem")}) {
        RilSetPortForTest(port.c_str());
        RilClient c;
        EXPECT_EQ(c.InitResult(), RIL_E_RADIOUNAVAILABLE) << port;
        EXPECT_EQ(c.Handle(), nullptr) << port;
        EXPECT_EQ(RIL_GetMsgConfig(c.Handle()), RIL_E_INVALIDHANDLE);
    }
}

TEST(RilPorts, PortValueIsReadFromTheRegistry) {
    const wchar_t kKey[] = L"Software\\QXRadioTest\\Port";
    DeleteRegTree(HKEY_CURRENT_USER, L"Software\\QXRadioTest");
    std::wstring port = L"x";
    EXPECT_TRUE(ReadRadioPort(HKEY_CURRENT_USER, kKey, &port));
    EXPECT_EQ(port, L"");
    SetRegString(HKEY_CURRENT_USER, kKey, L"Port", L"tcp:127.0.0.1:7000");
    EXPECT_TRUE(ReadRadioPort(HKEY_CURRENT_USER, kKey, &port));
    EXPECT_EQ(port, L"tcp:127.0.0.1:7000");
    SetRegDword(HKEY_CURRENT_USER, kKey, L"Port", 5);
    TraceCapture trace;
    EXPECT_FALSE(ReadRadioPort(HKEY_CURRENT_USER, kKey, &port));
    EXPECT_TRUE(trace.Has(L"Port value unreadable"));
    DeleteRegTree(HKEY_CURRENT_USER, L"Software\\QXRadioTest");
}

}  // namespace
