// Answers that come at awkward times: before the request call has returned
// its id, after the request has timed out, twice, or too big to copy. The
// test plays the RIL through the request primitive and the result callback,
// each answer delivered from a thread of its own as the RIL's thread would.
#include <thread>

#include "tests/settings/radio_fixture.h"

namespace {

using Bytes = std::vector<BYTE>;

const Bytes kAnswerA = {0xA1, 0xA2, 0xA3};
const Bytes kAnswerB = {0xB1, 0xB2, 0xB3, 0xB4};

// Delivers one answer on another thread and waits until it has been handed over.
void DeliverNow(RadioLink& link, DWORD dwCode, HRESULT id, const Bytes& data) {
    std::thread([&] {
        link.v_RILResultCallBack(dwCode, id, data.data(), static_cast<DWORD>(data.size()));
    }).join();
}

// Answers meant to arrive in time get a generous wait; tests that expect a
// time-out shorten it.
using AnswerTimingTest = RadioTest;

}  // namespace

TEST_F(AnswerTimingTest, AnswerBeforeTheIdIsKeptAndTaken) {
    RadioLink::SetWaitTimeoutForTest(0);  // a lost answer would cost the full 15000 ms
    TraceCapture trace;
    ShapedLink link;
    DWORD t0 = GetTickCount();
    bool ok = link.SyncRequest([&] {
        DeliverNow(link, RIL_RESULT_OK, 42, kAnswerA);
        return HRESULT(42);
    });
    EXPECT_TRUE(ok);
    EXPECT_LT(Since(t0), 1000u);
    EXPECT_EQ(ResultBytes(link), kAnswerA);
    EXPECT_EQ(link.m_hrCmdID, 42);
    EXPECT_EQ(trace.Count(L"v_RILResultCallBack : m_hrCmdID == hrCmdID"), 1);
    // Nothing left signalled for the next wait.
    EXPECT_EQ(WaitForSingleObject(link.m_hEvent, 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST_F(AnswerTimingTest, EarlyAnswersOfOtherRequestsAreNotTaken) {
    ShapedLink link;
    // A stale answer and this request's own, both before the id is known.
    bool ok = link.SyncRequest([&] {
        DeliverNow(link, RIL_RESULT_ERROR, 41, kAnswerB);
        DeliverNow(link, RIL_RESULT_OK, 42, kAnswerA);
        return HRESULT(42);
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(ResultBytes(link), kAnswerA);
    EXPECT_EQ(link.m_dwCode, static_cast<DWORD>(RIL_RESULT_OK));

    // Only a stale one: the request waits for its own and times out.
    RadioLink::SetWaitTimeoutForTest(kShortWaitMs);
    DWORD t0 = GetTickCount();
    ok = link.SyncRequest([&] {
        DeliverNow(link, RIL_RESULT_OK, 50, kAnswerB);
        return HRESULT(51);
    });
    EXPECT_FALSE(ok);
    EXPECT_GE(Since(t0), kShortWaitMs - 20);
    EXPECT_EQ(ResultBytes(link), kAnswerA);

    // An early error answer fails the request at once.
    t0 = GetTickCount();
    ok = link.SyncRequest([&] {
        DeliverNow(link, RIL_RESULT_ERROR, 60, kAnswerB);
        return HRESULT(60);
    });
    EXPECT_FALSE(ok);
    EXPECT_LT(Since(t0), kShortWaitMs);
    EXPECT_EQ(link.m_dwCode, static_cast<DWORD>(RIL_RESULT_ERROR));
}

TEST_F(AnswerTimingTest, RejectedCallDropsWhatCameMeanwhile) {
    ShapedLink link;
    ASSERT_TRUE(link.SyncRequest([&] {
        DeliverNow(link, RIL_RESULT_OK, 7, kAnswerA);
        return HRESULT(7);
    }));
    bool ok = link.SyncRequest([&] {
        DeliverNow(link, RIL_RESULT_ERROR, 8, kAnswerB);
        return E_HANDLE;
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(link.m_dwCode, static_cast<DWORD>(RIL_RESULT_OK));
    EXPECT_EQ(ResultBytes(link), kAnswerA);
}

TEST_F(AnswerTimingTest, AnswerAfterTheTimeOutIsNotTakenForTheNextRequest) {
    ShapedLink link;
    // Request 5 times out; its answer comes afterwards, while m_hrCmdID still
    // holds 5.
    RadioLink::SetWaitTimeoutForTest(kShortWaitMs);
    EXPECT_FALSE(link.SyncRequest([] { return HRESULT(5); }));
    DeliverNow(link, RIL_RESULT_OK, 5, kAnswerA);
    EXPECT_EQ(link.m_pbResult, nullptr);
    EXPECT_EQ(WaitForSingleObject(link.m_hEvent, 0), static_cast<DWORD>(WAIT_TIMEOUT));

    // The next request (even under the same id) is not ended by it.
    DWORD t0 = GetTickCount();
    EXPECT_FALSE(link.SyncRequest([] { return HRESULT(5); }));
    EXPECT_GE(Since(t0), kShortWaitMs - 20);
    EXPECT_EQ(link.m_pbResult, nullptr);

    // A request answered in time gets its own answer, not the late one.
    RadioLink::SetWaitTimeoutForTest(3000);
    std::thread late;
    EXPECT_TRUE(link.SyncRequest([&] {
        late = std::thread([&] {
            Sleep(50);
            link.v_RILResultCallBack(RIL_RESULT_OK, 6, kAnswerB.data(), 4);
        });
        return HRESULT(6);
    }));
    late.join();
    EXPECT_EQ(ResultBytes(link), kAnswerB);
}

TEST_F(AnswerTimingTest, SecondAnswerUnderTheSameIdIsDropped) {
    ShapedLink link;
    std::thread twice;
    bool ok = link.SyncRequest([&] {
        twice = std::thread([&] {
            Sleep(30);
            link.v_RILResultCallBack(RIL_RESULT_OK, 9, kAnswerA.data(), 3);
            link.v_RILResultCallBack(RIL_RESULT_ERROR, 9, kAnswerB.data(), 4);
        });
        return HRESULT(9);
    });
    twice.join();
    // Judged by the answer taken, whatever came after it.
    EXPECT_TRUE(ok);
    EXPECT_EQ(ResultBytes(link), kAnswerA);
}

TEST_F(AnswerTimingTest, AnswerThatCannotBeCopiedFailsTheRequest) {
    TraceCapture trace;
    ShapedLink link;
    ASSERT_TRUE(link.SyncRequest([&] {
        DeliverNow(link, RIL_RESULT_OK, 1, kAnswerA);
        return HRESULT(1);
    }));
    // A size no answer has: refused before anything is read from it, both
    // while the request is being made and while it waits.
    const BYTE small[4] = {};
    DWORD t0 = GetTickCount();
    EXPECT_FALSE(link.SyncRequest([&] {
        std::thread([&] { link.v_RILResultCallBack(RIL_RESULT_OK, 2, small, 0x7FFFFFFF); }).join();
        return HRESULT(2);
    }));
    std::thread waiting;
    EXPECT_FALSE(link.SyncRequest([&] {
        waiting = std::thread([&] {
            Sleep(30);
            link.v_RILResultCallBack(RIL_RESULT_OK, 3, small, 0x7FFFFFFF);
        });
        return HRESULT(3);
    }));
    waiting.join();
    EXPECT_LT(Since(t0), 2000u);  // failed on arrival, not by the 3000 ms time-out
    EXPECT_EQ(ResultBytes(link), kAnswerA);
    EXPECT_EQ(trace.Count(L"[err]:v_RILResultCallBack(), no copy"), 2);
}

TEST_F(AnswerTimingTest, EmptyAnswerReplacesTheBuffer) {
    // UPDATE RECORD and the message-configuration write answer with no data.
    ShapedLink link;
    ASSERT_TRUE(link.SyncRequest([&] {
        DeliverNow(link, RIL_RESULT_OK, 1, kAnswerA);
        return HRESULT(1);
    }));
    ASSERT_TRUE(link.SyncRequest([&] {
        std::thread([&] { link.v_RILResultCallBack(RIL_RESULT_OK, 2, nullptr, 0); }).join();
        return HRESULT(2);
    }));
    EXPECT_EQ(link.m_pbResult, nullptr);
    EXPECT_EQ(link.m_cbResult, 0u);
}

TEST_F(AnswerTimingTest, SlowModemAnswerAfterTheTimeOutThroughTheRil) {
    // The modem answers after the link has given up; the next request on the
    // same handle must get its own answer.
    RilSetCommandTimeoutForTest(5000);
    RadioLink::SetWaitTimeoutForTest(kShortWaitMs);
    ModemFaults slow;
    slow.dwDelayMs = 2 * kShortWaitMs;
    SetSimModemFaultsForTest(slow);
    TraceCapture trace;
    RadioLink link;
    ASSERT_TRUE(link.My_RIL_Initialize());
    EXPECT_FALSE(link.My_RIL_GetVoiceMail_Setting(0x6F17));
    SetSimModemFaultsForTest(ModemFaults{});

    // The late answer comes while this one waits (the channel sends one
    // command at a time) and must not end it.
    RadioLink::SetWaitTimeoutForTest(3000);
    RILMSGCONFIG config = {};
    ASSERT_TRUE(link.My_RIL_GetTextMessage_Setting(&config));
    EXPECT_EQ(link.m_cbResult, sizeof(RILMSGCONFIG));
    EXPECT_STREQ(config.raSvcCtrAddress.wszAddress, L"441234567890");
    EXPECT_EQ(trace.Count(L"v_RILResultCallBack : m_hrCmdID == hrCmdID"), 1);

    EXPECT_TRUE(link.My_RIL_GetVoiceMail_Setting(0x6F17));
    EXPECT_EQ(link.m_dwRecLen, 28u);
    link.My_RIL_Deinitialize();
}
