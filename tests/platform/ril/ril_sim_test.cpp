// The RIL entry points over the built-in simulated modem and a card in a
// scratch device: message configuration, SIM records, errors and faults.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <thread>

#include "platform/modem/sim_transport.h"
#include "platform/ril/at_channel.h"
#include "platform/ril/ril_commands.h"
#include "platform/ril/ril_test_seams.h"
#include "tests/platform/ril/radio_rig.h"

namespace {

const std::string kRecord1 = "566F6963656D61696CFFFFFFFFFF0691214365F7FFFFFFFFFFFFFFFF";

RILMSGCONFIG ConfigOf(const RilRecord& r) {
    RILMSGCONFIG c = {};
    if (r.data.size() == sizeof c) memcpy(&c, r.data.data(), sizeof c);
    return c;
}

HRESULT ReadRecord(HRIL h, DWORD file, DWORD rec) {
    RILSIMCMDPARAMETERS p = SimParams(file, rec, 4, 28);
    return RIL_SendRestrictedSimCmd(h, RIL_SIMCMD_READRECORD, &p, nullptr, 0);
}

HRESULT UpdateRecord(HRIL h, DWORD file, DWORD rec, const std::vector<BYTE>& bytes, DWORD p3 = 28) {
    RILSIMCMDPARAMETERS p = SimParams(file, rec, 4, p3);
    return RIL_SendRestrictedSimCmd(h, RIL_SIMCMD_UPDATERECORD, &p, bytes.data(), static_cast<DWORD>(bytes.size()));
}

HRESULT GetResponse(HRIL h, DWORD file) {
    RILSIMCMDPARAMETERS p = SimParams(file, 0, 0, 0);
    return RIL_SendRestrictedSimCmd(h, RIL_SIMCMD_GETRESPONSE, &p, nullptr, 0);
}

TEST(RilHandles, IdsArePositiveAndAnswersArriveOnTheLibraryThread) {
    RadioRig rig;
    RilClient c;
    ASSERT_EQ(c.InitResult(), S_OK);
    ASSERT_NE(c.Handle(), nullptr);
    RilRecord a = c.Call(RIL_GetMsgConfig);
    RilRecord b = c.Call(RIL_GetMsgConfig);
    EXPECT_GT(a.hrId, 0);
    EXPECT_GT(b.hrId, a.hrId);
    EXPECT_EQ(a.dwCode, (DWORD)RIL_RESULT_OK);
    EXPECT_NE(a.dwThread, GetCurrentThreadId());

    // A bad handle is refused at once and no answer follows.
    size_t before = c.AnswerCount();
    EXPECT_EQ(RIL_GetMsgConfig(nullptr), RIL_E_INVALIDHANDLE);
    EXPECT_LT(RIL_GetEquipmentState(reinterpret_cast<HRIL>(0x1234)), 0);
    EXPECT_LT(RIL_SendRestrictedSimCmd(c.Handle(), 9, nullptr, nullptr, 0), 0);
    HRIL h = c.Handle();
    c.Close();
    EXPECT_EQ(RIL_Deinitialize(h), RIL_E_INVALIDHANDLE);
    EXPECT_LT(RIL_GetMsgConfig(h), 0);
    Sleep(100);
    EXPECT_EQ(c.AnswerCount(), before);
    HRIL none = reinterpret_cast<HRIL>(1);
    EXPECT_EQ(RIL_Initialize(1, nullptr, nullptr, 0, 0, nullptr), RIL_E_INVALIDARG);
    RilSetPortForTest(L"bogus");
    EXPECT_LT(RIL_Initialize(1, nullptr, nullptr, 0, 0, &none), 0);
    EXPECT_EQ(none, nullptr);
}

TEST(RilHandles, HandlesOpenAtOnceGetOnlyTheirOwnAnswers) {
    RadioRig rig;
    RilClient a, b;
    ASSERT_EQ(a.InitResult(), S_OK);
    ASSERT_EQ(b.InitResult(), S_OK);
    EXPECT_NE(a.Handle(), b.Handle());
    std::vector<HRESULT> idsA, idsB;
    for (int i = 0; i < 4; ++i) {
        idsA.push_back(GetResponse(a.Handle(), 0x6F17));
        idsB.push_back(RIL_GetMsgConfig(b.Handle()));
    }
    for (size_t i = 0; i < idsA.size(); ++i) {
        RilRecord ra, rb;
        ASSERT_TRUE(a.WaitFor(idsA[i], 3000, &ra));
        ASSERT_TRUE(b.WaitFor(idsB[i], 3000, &rb));
        EXPECT_EQ(SimBytes(ra).size(), 15u);
        EXPECT_EQ(rb.data.size(), sizeof(RILMSGCONFIG));
    }
    EXPECT_EQ(a.AnswerCount(), idsA.size());
    EXPECT_EQ(b.AnswerCount(), idsB.size());
    // Closing one leaves the other served.
    a.Close();
    EXPECT_EQ(b.Call(RIL_GetMsgConfig).dwCode, (DWORD)RIL_RESULT_OK);
}

TEST(RilHandles, AClosedHandleGetsNoAnswerAndItsQueuedRequestsAreNotSent) {
    RadioRig rig;
    RilClient a;
    auto b = std::make_unique<RilClient>();
    RILMSGCONFIG sent = ConfigOf(b->Call(RIL_GetMsgConfig)), queued = sent;
    wcscpy(sent.raSvcCtrAddress.wszAddress, L"4479");
    wcscpy(queued.raSvcCtrAddress.wszAddress, L"4480");
    size_t before = b->AnswerCount();
    RilSetCommandTimeoutForTest(3000);
    ModemFaults slow;
    slow.dwDelayMs = 500;
    SetSimModemFaultsForTest(slow);
    TraceCapture trace;
    // The built-in modem writes the card as the command comes in and
    // answers 500 ms later: once the card shows it, the request is in flight.
    ASSERT_GT(RIL_SetMsgConfig(b->Handle(), &sent), 0);
    DWORD t0 = GetTickCount();
    while (rig.Card().find("smsc +4479 ") == std::string::npos && GetTickCount() - t0 < 3000) Sleep(5);
    ASSERT_GT(RIL_SetMsgConfig(b->Handle(), &queued), 0);
    b->Close();
    // a's request goes out after b's, so b's answer has come by then.
    EXPECT_EQ(a.Call(RIL_GetMsgConfig).dwCode, (DWORD)RIL_RESULT_OK);
    EXPECT_EQ(b->AnswerCount(), before);
    EXPECT_EQ(trace.Count(L"its handle is closed; answer dropped"), 1);
    EXPECT_NE(rig.Card().find("smsc +4479 145"), std::string::npos);  // the queued write never went out
}

TEST(RilHandles, PortThatDropsFailsItsHandlesAndALaterOpenReconnects) {
    RadioRig rig;
    RilClient a;
    ASSERT_EQ(a.Call(RIL_GetMsgConfig).dwCode, (DWORD)RIL_RESULT_OK);
    ModemFaults f;
    f.bHangUp = true;
    SetSimModemFaultsForTest(f);
    TraceCapture trace;
    EXPECT_EQ(ErrorOf(a.Call(RIL_GetMsgConfig)), RIL_E_RADIOUNAVAILABLE);
    EXPECT_TRUE(trace.Has(L"the modem port closed"));
    SetSimModemFaultsForTest(ModemFaults());
    EXPECT_EQ(ErrorOf(a.Call(RIL_GetMsgConfig)), RIL_E_RADIOUNAVAILABLE);  // its connection is gone
    RilClient b;  // opens the port again, a still open
    ASSERT_EQ(b.InitResult(), S_OK);
    EXPECT_EQ(SimBytes(b.Call([](HRIL h) { return ReadRecord(h, 0x6F17, 1); })), HexBytes(kRecord1));
    EXPECT_EQ(ErrorOf(a.Call(RIL_GetMsgConfig)), RIL_E_RADIOUNAVAILABLE);
    a.Close();
    EXPECT_EQ(b.Call(RIL_GetMsgConfig).dwCode, (DWORD)RIL_RESULT_OK);
}

TEST(RilHandles, OpeningAndClosingOnTwoThreadsAlwaysFindsAConnection) {
    // The last close of one thread meets the first open of the other.
    RadioRig rig;
    std::atomic<int> failures{0};
    auto work = [&failures] {
        for (int i = 0; i < 60; ++i) {
            RilClient c;
            if (c.InitResult() != S_OK ||
                c.Call([](HRIL h) { return GetResponse(h, 0x6F17); }).dwCode != RIL_RESULT_OK)
                ++failures;
        }
    };
    std::thread t1(work), t2(work);
    t1.join();
    t2.join();
    EXPECT_EQ(failures, 0);
}

TEST(RilMsgConfig, ServiceCentreRoundTripsWithBothTypes) {
    RadioRig rig;
    RilClient c;
    RilRecord r = c.Call(RIL_GetMsgConfig);
    ASSERT_EQ(r.dwCode, (DWORD)RIL_RESULT_OK);
    ASSERT_EQ(r.data.size(), 536u);
    RILMSGCONFIG cfg = ConfigOf(r);
    EXPECT_EQ(cfg.raSvcCtrAddress.dwType, (DWORD)RIL_ADDRTYPE_INTERNATIONAL);
    EXPECT_STREQ(cfg.raSvcCtrAddress.wszAddress, L"441234567890");

    // What the settings save does: the read record with a new type and address.
    cfg.raSvcCtrAddress.dwType = RIL_ADDRTYPE_UNKNOWN;
    wcscpy(cfg.raSvcCtrAddress.wszAddress, L"0441234567");
    EXPECT_EQ(c.Call([&](HRIL h) { return RIL_SetMsgConfig(h, &cfg); }).dwCode, (DWORD)RIL_RESULT_OK);
    EXPECT_NE(rig.Card().find("smsc 0441234567 129"), std::string::npos);
    RILMSGCONFIG back = ConfigOf(c.Call(RIL_GetMsgConfig));
    EXPECT_EQ(back.raSvcCtrAddress.dwType, (DWORD)RIL_ADDRTYPE_UNKNOWN);
    EXPECT_STREQ(back.raSvcCtrAddress.wszAddress, L"0441234567");

    cfg.raSvcCtrAddress.dwType = RIL_ADDRTYPE_INTERNATIONAL;
    wcscpy(cfg.raSvcCtrAddress.wszAddress, L"31612345678");
    EXPECT_EQ(c.Call([&](HRIL h) { return RIL_SetMsgConfig(h, &cfg); }).dwCode, (DWORD)RIL_RESULT_OK);
    EXPECT_NE(rig.Card().find("smsc +31612345678 145"), std::string::npos);
    back = ConfigOf(c.Call(RIL_GetMsgConfig));
    EXPECT_EQ(back.raSvcCtrAddress.dwType, (DWORD)RIL_ADDRTYPE_INTERNATIONAL);
    EXPECT_STREQ(back.raSvcCtrAddress.wszAddress, L"31612345678");

    // Refused before the modem sees it: an address the quotes cannot hold, and
    // a record whose read failed (all zero apart from type) without an address.
    std::string card = rig.Card();
    wcscpy(cfg.raSvcCtrAddress.wszAddress, L"44\",145;+CFUN=0");
    EXPECT_EQ(RIL_SetMsgConfig(c.Handle(), &cfg), RIL_E_INVALIDARG);
    RILMSGCONFIG zero = {};
    zero.raSvcCtrAddress.dwType = RIL_ADDRTYPE_INTERNATIONAL;
    EXPECT_EQ(RIL_SetMsgConfig(c.Handle(), &zero), RIL_E_INVALIDARG);
    EXPECT_EQ(rig.Card(), card);
    // With one, that address and its type are sent.
    wcscpy(zero.raSvcCtrAddress.wszAddress, L"4479");
    EXPECT_EQ(c.Call([&](HRIL h) { return RIL_SetMsgConfig(h, &zero); }).dwCode, (DWORD)RIL_RESULT_OK);
    EXPECT_NE(rig.Card().find("smsc +4479 145"), std::string::npos);
}

TEST(RilSimRecords, GetResponseReadAndUpdateAgainstTheCard) {
    RadioRig rig;
    RilClient c;
    RilRecord g = c.Call([](HRIL h) { return GetResponse(h, 0x6F17); });
    ASSERT_EQ(g.dwCode, (DWORD)RIL_RESULT_OK);
    ASSERT_EQ(g.data.size(), 16u + 15u);
    RILSIMRESPONSE head;
    memcpy(&head, g.data.data(), 16);
    EXPECT_EQ(head.cbSize, 31u);
    EXPECT_EQ(head.dwStatusWord1, 0x90u);
    EXPECT_EQ(head.dwStatusWord2, 0x00u);
    std::vector<BYTE> resp = SimBytes(g);
    EXPECT_EQ(resp[2] << 8 | resp[3], 112);
    EXPECT_EQ(resp[14], 28);

    RilRecord r1 = c.Call([](HRIL h) { return ReadRecord(h, 0x6F17, 1); });
    ASSERT_EQ(r1.dwCode, (DWORD)RIL_RESULT_OK);
    EXPECT_EQ(SimBytes(r1), HexBytes(kRecord1));

    std::string before = rig.Card();
    std::vector<BYTE> rec = HexBytes("FFFFFFFFFFFFFFFFFFFFFFFFFFFF0591132D16FCFFFFFFFFFFFFFFFF");
    ASSERT_EQ(c.Call([&](HRIL h) { return UpdateRecord(h, 0x6FC7, 3, rec); }).dwCode, (DWORD)RIL_RESULT_OK);
    EXPECT_EQ(SimBytes(c.Call([](HRIL h) { return ReadRecord(h, 0x6FC7, 3); })), rec);

    // The card gained exactly one line; everything else is as it was.
    std::string after = rig.Card();
    std::string line = "record 3 FF FF FF FF FF FF FF FF FF FF FF FF FF FF 05 91 13 2D 16 FC FF FF FF FF FF FF FF FF\n";
    size_t at = after.find(line);
    ASSERT_NE(at, std::string::npos) << after;
    EXPECT_EQ(after.substr(0, at) + after.substr(at + line.size()), before);
    EXPECT_EQ(SimBytes(c.Call([](HRIL h) { return ReadRecord(h, 0x6F17, 1); })), HexBytes(kRecord1));
    // Written through a temporary file that is gone afterwards.
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(rig.device.Path(L"\\Windows\\*.tmp").c_str(), &fd);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE);
    if (h != INVALID_HANDLE_VALUE) FindClose(h);
}

TEST(RilSimRecords, FailingStatusWordsAreErrorResults) {
    RadioRig rig;
    RilClient c;
    RilRecord r = c.Call([](HRIL h) { return ReadRecord(h, 0x6F17, 5); });
    EXPECT_EQ(r.dwCode, (DWORD)RIL_RESULT_ERROR);
    EXPECT_EQ(ErrorOf(r), RIL_E_SIMSTATUS(0x94, 0x02));
    EXPECT_EQ(ErrorOf(c.Call([](HRIL h) { return GetResponse(h, 0x4F30); })), RIL_E_SIMSTATUS(0x94, 0x04));

    // A record of the wrong length is refused by the card, which stays as it was.
    std::string before = rig.Card();
    std::vector<BYTE> shortRec(27, 0xFF);
    EXPECT_EQ(ErrorOf(c.Call([&](HRIL h) { return UpdateRecord(h, 0x6F17, 1, shortRec); })),
              RIL_E_SIMSTATUS(0x67, 0x00));
    EXPECT_EQ(ErrorOf(c.Call([&](HRIL h) { return UpdateRecord(h, 0x6F17, 1, shortRec, 27); })),
              RIL_E_SIMSTATUS(0x67, 0x00));
    EXPECT_EQ(rig.Card(), before);
}

TEST(RilSimRecords, UsimGetResponseComesInTheGsmLayout) {
    std::string card = DefaultCardText();
    card.replace(card.find("sim 2G"), 6, "sim USIM");
    RadioRig rig(card);
    RilClient c;
    RilRecord g = c.Call([](HRIL h) { return GetResponse(h, 0x6FC7); });
    ASSERT_EQ(g.dwCode, (DWORD)RIL_RESULT_OK);
    std::vector<BYTE> resp = SimBytes(g);
    ASSERT_EQ(resp.size(), 15u);
    EXPECT_EQ(resp[2] << 8 | resp[3], 112);
    EXPECT_EQ(resp[14], 28);
    EXPECT_EQ(resp[4] << 8 | resp[5], 0x6FC7);
    EXPECT_EQ(ErrorOf(c.Call([](HRIL h) { return GetResponse(h, 0x4F30); })), RIL_E_SIMSTATUS(0x6A, 0x82));
}

TEST(RilSimRecords, MissingOrMalformedCardAnswersNoSimAndIsNotWritten) {
    RadioRig rig("");
    RilClient c;
    std::vector<BYTE> rec(28, 0xFF);
    EXPECT_EQ(ErrorOf(c.Call([](HRIL h) { return GetResponse(h, 0x6F17); })), RIL_E_SIMNOTINSERTED);
    EXPECT_EQ(ErrorOf(c.Call(RIL_GetMsgConfig)), RIL_E_SIMNOTINSERTED);
    EXPECT_EQ(GetFileAttributesW(rig.CardPath().c_str()), INVALID_FILE_ATTRIBUTES);

    const std::string malformed = DefaultCardText() + "record 9 FF\n";
    rig.SetCard(malformed);
    EXPECT_EQ(ErrorOf(c.Call([&](HRIL h) { return UpdateRecord(h, 0x6F17, 1, rec); })), RIL_E_SIMNOTINSERTED);
    EXPECT_EQ(rig.Card(), malformed);
}

TEST(RilFaults, EchoAndUnsolicitedNoiseChangeNoAnswer) {
    RadioRig rig;
    RilClient c;
    auto run = [&] {
        std::vector<std::vector<BYTE>> out;
        out.push_back(c.Call(RIL_GetMsgConfig).data);
        out.push_back(c.Call([](HRIL h) { return GetResponse(h, 0x6F17); }).data);
        out.push_back(c.Call([](HRIL h) { return ReadRecord(h, 0x6F17, 1); }).data);
        out.push_back(c.Call(RIL_GetEquipmentState).data);
        return out;
    };
    std::vector<std::vector<BYTE>> clean = run();
    ModemFaults f;
    f.bEcho = true;
    f.bNoise = true;
    SetSimModemFaultsForTest(f);
    TraceCapture trace;
    EXPECT_EQ(run(), clean);
    EXPECT_EQ(clean[2].size(), 16u + 28u);
    EXPECT_TRUE(trace.Has(L"unsolicited [RING]"));
    EXPECT_TRUE(trace.Has(L"unsolicited [+CREG: 1]"));

    f = ModemFaults();
    f.bError = true;
    SetSimModemFaultsForTest(f);
    EXPECT_EQ(ErrorOf(c.Call(RIL_GetMsgConfig)), RIL_E_PHONEFAILURE);
}

TEST(RilFaults, SilentModemFailsWithinTheTimeOutAndTheChannelRecovers) {
    RadioRig rig;
    RilClient c;
    ModemFaults f;
    f.bSilent = true;
    SetSimModemFaultsForTest(f);
    DWORD start = GetTickCount();
    RilRecord r = c.Call(RIL_GetMsgConfig);
    DWORD took = GetTickCount() - start;
    EXPECT_EQ(r.dwCode, (DWORD)RIL_RESULT_ERROR);
    EXPECT_EQ(ErrorOf(r), RIL_E_TIMEDOUT);
    EXPECT_GE(took, kRigTimeoutMs - 50);
    EXPECT_LT(took, kRigTimeoutMs + 1000);

    SetSimModemFaultsForTest(ModemFaults());
    EXPECT_EQ(c.Call(RIL_GetMsgConfig).dwCode, (DWORD)RIL_RESULT_OK);

    // Closing with a request in flight returns at once; its answer never comes.
    SetSimModemFaultsForTest(f);
    HRESULT id = RIL_GetMsgConfig(c.Handle());
    ASSERT_GT(id, 0);
    start = GetTickCount();
    c.Close();
    EXPECT_LT(GetTickCount() - start, 500u);
    EXPECT_FALSE(c.WaitFor(id, kRigTimeoutMs + 300, nullptr));
}

TEST(RilFaults, LateAnswerIsNotTakenForTheNextCommands) {
    RadioRig rig;
    RilClient c;
    ModemFaults f;
    f.dwDelayMs = kRigTimeoutMs + 250;
    SetSimModemFaultsForTest(f);
    TraceCapture trace;
    EXPECT_EQ(ErrorOf(c.Call([](HRIL h) { return ReadRecord(h, 0x6F17, 1); })), RIL_E_TIMEDOUT);
    SetSimModemFaultsForTest(ModemFaults());
    // Record 2 is erased; record 1's late answer must not stand in for it.
    RilRecord r2 = c.Call([](HRIL h) { return ReadRecord(h, 0x6F17, 2); });
    ASSERT_EQ(r2.dwCode, (DWORD)RIL_RESULT_OK);
    EXPECT_EQ(SimBytes(r2), std::vector<BYTE>(28, 0xFF));
    EXPECT_TRUE(trace.Has(L"late answer"));
}

TEST(RilFaults, SlowModemWithinTheTimeOutStillAnswers) {
    RadioRig rig;
    RilClient c;
    ModemFaults f;
    f.dwDelayMs = kRigTimeoutMs / 2;
    SetSimModemFaultsForTest(f);
    EXPECT_EQ(SimBytes(c.Call([](HRIL h) { return ReadRecord(h, 0x6F17, 1); })), HexBytes(kRecord1));
}

TEST(RilFaults, ResultCallbackMayQueueAndCloseFromItsOwnThread) {
    RadioRig rig;
    struct Ctx {
        HRIL h = nullptr;
        HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        int answers = 0;
        HRESULT second = 0;
    } ctx;
    auto cb = [](DWORD, HRESULT, const void*, DWORD, DWORD_PTR p) {
        auto* x = reinterpret_cast<Ctx*>(p);
        if (++x->answers == 1) {
            x->second = RIL_GetEquipmentState(x->h);  // queued, not sent from here
        } else {
            RIL_Deinitialize(x->h);
            SetEvent(x->done);
        }
    };
    ASSERT_EQ(RIL_Initialize(1, cb, nullptr, 0, reinterpret_cast<DWORD_PTR>(&ctx), &ctx.h), S_OK);
    ASSERT_GT(RIL_GetMsgConfig(ctx.h), 0);
    EXPECT_EQ(WaitForSingleObject(ctx.done, 3000), WAIT_OBJECT_0);
    EXPECT_GT(ctx.second, 0);
    EXPECT_EQ(ctx.answers, 2);
    Sleep(200);  // the handle is joined on a thread of its own
    CloseHandle(ctx.done);
}

TEST(RilFaults, ResultCallbackMayCloseTheLastHandleAndOpenAnother) {
    RadioRig rig;
    struct Ctx {
        HRIL first = nullptr, second = nullptr;
        RILRESULTCALLBACK cb = nullptr;
        HRESULT id = 0;
        DWORD code = 0;
        HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    } ctx;
    auto cb = [](DWORD dwCode, HRESULT hrId, const void*, DWORD, DWORD_PTR p) {
        auto* x = reinterpret_cast<Ctx*>(p);
        if (!x->second) {
            RIL_Deinitialize(x->first);
            RIL_Initialize(1, x->cb, nullptr, 0, p, &x->second);
            x->id = RIL_GetMsgConfig(x->second);
        } else if (hrId == x->id) {
            x->code = dwCode;
            SetEvent(x->done);
        }
    };
    ctx.cb = cb;
    ASSERT_EQ(RIL_Initialize(1, cb, nullptr, 0, reinterpret_cast<DWORD_PTR>(&ctx), &ctx.first), S_OK);
    ASSERT_GT(RIL_GetMsgConfig(ctx.first), 0);
    ASSERT_EQ(WaitForSingleObject(ctx.done, 3000), WAIT_OBJECT_0);
    EXPECT_GT(ctx.id, 0);
    EXPECT_EQ(ctx.code, (DWORD)RIL_RESULT_OK);
    EXPECT_EQ(RIL_Deinitialize(ctx.first), RIL_E_INVALIDHANDLE);
    EXPECT_EQ(RIL_Deinitialize(ctx.second), S_OK);
    CloseHandle(ctx.done);
}

// A modem that answers one command otherwise, the first time (or every
// time) it is asked: its own final results end the request without a
// time-out, busy answers are asked again after a pause, the caller sees one
// answer. The recorded forms and their sources: recorded_answers_test.cpp.
TEST(RilFaults, ModemsOwnAnswersEndTheRequestOrAreAskedAgain) {
    struct Case {
        const char* what;
        const char* command;
        const char* answer;
        DWORD dwTimes;  // 0: every time
        bool bSim;      // GET RESPONSE; else the message configuration
        HRESULT hrError;  // 0: the request succeeds
        int nAskedAgain;
        const wchar_t* traced;
        const wchar_t* address = L"441234567890";  // read, when it succeeds
    };
    const Case cases[] = {
        {"Huawei", "AT+CSCA?", "\r\nCOMMAND NOT SUPPORT\r\n", 1, false, RIL_E_OPNOTSUPPORTED, 0,
         L"[ril]: [AT+CSCA?] ended by the modem's own final result [COMMAND NOT SUPPORT]."},
        {"just powered on", "AT+CSCA?", "\r\nERROR\r\n", 1, false, RIL_E_PHONEFAILURE, 0,
         L"[AT+CSCA?]: result 3, error 0x81000001."},
        {"Motorola", "AT+CSCA?", "\r\nMODEM ERROR: 5\r\n", 1, false, RIL_E_PHONEFAILURE, 0,
         L"final result [MODEM ERROR: 5]."},
        {"Android emulator", "AT+CSCA?", "\r\nERROR: UNSUPPORTED\r\n", 1, false, RIL_E_OPNOTSUPPORTED, 0,
         L"final result [ERROR: UNSUPPORTED]."},
        {"busy once", "AT+CSCA?", "\r\n+CME ERROR: 515\r\n", 1, false, 0, 1,
         L"[AT+CSCA?] answered [+CME ERROR: 515]; asked again in 500 ms (try 2 of 4)."},
        {"busy for good", "AT+CSCA?", "\r\n+CME ERROR: 515\r\n", 0, false, RIL_E_UNKNOWN, 3, L"(try 4 of 4)."},
        {"a Gobi's first SIM access", "AT+CRSM=192", "\r\n+CRSM: 106,134,\"\"\r\n\r\nOK\r\n", 1, true, 0, 1,
         L"answered [+CRSM: 106,134,\"\"]; asked again in 500 ms"},
        {"a line twice", "AT+CSCA?", "\r\n+CSCA: \"+4479\",145\r\n\r\n+CSCA: \"+4479\",145\r\n\r\nOK\r\n", 1, false,
         0, 0, L"[AT+CSCA?] gave [+CSCA: \"+4479\",145] 2 times; taken once.", L"4479"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RadioRig rig;
        RilClient client;
        ModemFaults f;
        f.pszScriptedCommand = c.command;
        f.pszScriptedAnswer = c.answer;
        f.dwScriptedTimes = c.dwTimes;
        SetSimModemFaultsForTest(f);
        TraceCapture trace;
        DWORD start = GetTickCount();
        RilRecord r = c.bSim ? client.Call([](HRIL h) { return GetResponse(h, 0x6F17); }) : client.Call(RIL_GetMsgConfig);
        DWORD took = GetTickCount() - start;
        if (c.hrError) {
            EXPECT_EQ(ErrorOf(r), c.hrError);
        } else {
            ASSERT_EQ(r.dwCode, (DWORD)RIL_RESULT_OK);
            if (!c.bSim) {
                EXPECT_STREQ(ConfigOf(r).raSvcCtrAddress.wszAddress, c.address);
            }
        }
        EXPECT_EQ(client.AnswerCount(), 1u);
        EXPECT_EQ(trace.Count(L"asked again"), c.nAskedAgain);
        EXPECT_GE(took, c.nAskedAgain * kTransientPauseMs);
        EXPECT_TRUE(trace.Has(c.traced)) << testing::PrintToString(trace.All());
        EXPECT_FALSE(trace.Has(L"no answer to"));
        // Asked once more, the modem answers as usual.
        if (c.dwTimes) {
            EXPECT_EQ(client.Call(RIL_GetMsgConfig).dwCode, (DWORD)RIL_RESULT_OK);
        }
    }
}

// The seam itself: only the command named, only the first times since the
// faults were set (across connections), and not carried out.
TEST(RilFaults, ScriptedAnswerTakesItsCommandTheFirstTimesOnly) {
    RadioRig rig;
    auto c = std::make_unique<RilClient>();
    ModemFaults f;
    f.pszScriptedCommand = "at+csca?";
    f.pszScriptedAnswer = "\r\nCOMMAND NOT SUPPORT\r\n";
    f.dwScriptedTimes = 2;
    SetSimModemFaultsForTest(f);
    EXPECT_EQ(ErrorOf(c->Call(RIL_GetMsgConfig)), RIL_E_OPNOTSUPPORTED);
    EXPECT_EQ(SimBytes(c->Call([](HRIL h) { return ReadRecord(h, 0x6F17, 1); })), HexBytes(kRecord1));
    c.reset();
    c = std::make_unique<RilClient>();  // a new connection
    EXPECT_EQ(ErrorOf(c->Call(RIL_GetMsgConfig)), RIL_E_OPNOTSUPPORTED);
    EXPECT_EQ(c->Call(RIL_GetMsgConfig).dwCode, (DWORD)RIL_RESULT_OK);
    SetSimModemFaultsForTest(f);
    EXPECT_EQ(ErrorOf(c->Call(RIL_GetMsgConfig)), RIL_E_OPNOTSUPPORTED);

    std::string card = rig.Card();
    f.pszScriptedCommand = "AT+CSCA=";
    f.pszScriptedAnswer = "\r\nOK\r\n";
    f.dwScriptedTimes = 0;
    SetSimModemFaultsForTest(f);
    RILMSGCONFIG cfg = ConfigOf(c->Call(RIL_GetMsgConfig));
    wcscpy(cfg.raSvcCtrAddress.wszAddress, L"4479");
    EXPECT_EQ(c->Call([&](HRIL h) { return RIL_SetMsgConfig(h, &cfg); }).dwCode, (DWORD)RIL_RESULT_OK);
    EXPECT_EQ(rig.Card(), card);
}

// A modem that floods the line must not fill the device's storage with
// trace: each command traces the modem's own lines up to its limit, each cut
// to its length limit, then says in one line how many it left out.
TEST(RilFaults, AFloodingModemLeavesABoundedTrace) {
    struct Case {
        const char* what;
        std::string line;  // sent n times before the answer to AT+CSCA?
        int n;
        bool bAnswered;    // the answer follows the flood
        std::wstring traced;  // each traced line
        int nLeftOut;
    };
    const std::string noise(1000, '#');
    const Case cases[] = {
        {"a few RINGs", "RING", 5, true, L"[ril]: unsolicited [RING].", 0},
        {"RING after RING", "RING", 1000, true, L"[ril]: unsolicited [RING].", 980},
        {"RING without end", "RING", 3000, false, L"[ril]: unsolicited [RING].", 2980},
        {"long lines of noise", noise, 50, true,
         L"[ril]: unsolicited [" + std::wstring(200, L'#') + L"... (1000 bytes)].", 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RadioRig rig;
        RilClient client;
        std::string flood;
        for (int i = 0; i < c.n; ++i) flood += "\r\n" + c.line + "\r\n";
        if (c.bAnswered) flood += "\r\n+CSCA: \"+4479\",145\r\n\r\nOK\r\n";
        ModemFaults f;
        f.pszScriptedCommand = "AT+CSCA?";
        f.pszScriptedAnswer = flood.c_str();
        f.dwScriptedTimes = 1;
        SetSimModemFaultsForTest(f);
        TraceCapture trace;
        RilRecord r = client.Call(RIL_GetMsgConfig);
        EXPECT_EQ(r.dwCode, DWORD(c.bAnswered ? RIL_RESULT_OK : RIL_RESULT_ERROR));
        // The next command goes out with the count of those left out.
        EXPECT_EQ(client.Call(RIL_GetMsgConfig).dwCode, (DWORD)RIL_RESULT_OK);
        EXPECT_EQ(trace.Count(c.traced), std::min(c.n, int(kMaxTracedLinesPerCommand)));
        EXPECT_EQ(trace.Count(L"[ril]: " + std::to_wstring(c.nLeftOut) +
                              L" more lines of the modem's own after [AT+CSCA?] left out of the trace."),
                  c.nLeftOut ? 1 : 0);
        EXPECT_EQ(trace.Count(L"left out"), c.nLeftOut ? 1 : 0);
        EXPECT_LT(trace.All().size(), 8000u);
    }
}

}  // namespace
