// RadioLink: the synchronous request over the RIL, answer delivery on the
// callback thread, and the five requests the settings make.
//
// The RIL may answer before the request call has returned its id, and a
// request that timed out may still be answered later. So the callback
// does not simply compare against m_hrCmdID: a small lock-guarded phase
// says what the caller is doing. While the call is being made, answers are
// kept aside and matched once the id is known; while waiting, only the
// awaited id is taken; once it is in, or when no request is waiting, any
// further answer is stale and dropped, so it can neither replace the buffer
// nor leave the event set for the next wait.
#include "settings/radio_link.h"

#include <atomic>
#include <cwchar>

#include "core/trace.h"
#include "platform/base/scoped.h"
#include "platform/ril/svc_ctr_address.h"

namespace {

std::atomic<DWORD> g_dwWaitMs{kRadioWaitMs};

// No RIL answer we ask for comes near this; a larger size is a broken
// answer and is refused rather than copied.
constexpr DWORD kMaxAnswerBytes = 64 * 1024;

// GET RESPONSE of an EF (3GPP TS 51.011 9.2.1): bytes 3-4 file size, high
// byte first; byte 15 record length (0-based 2, 3 and 14).
constexpr DWORD kRspFileSizeHigh = 2;
constexpr DWORD kRspFileSizeLow = 3;
constexpr DWORD kRspRecordLength = 14;

// The RIL's own failures that leave a command's fate open: it may have
// reached the modem, which may have carried it out.
bool IsLostAnswer(DWORD dwCode, const BYTE* pbData, DWORD cbData) {
    HRESULT hr = 0;
    if (dwCode != RIL_RESULT_ERROR || !pbData || cbData != sizeof(hr)) return false;
    memcpy(&hr, pbData, sizeof(hr));
    return hr == RIL_E_TIMEDOUT || hr == RIL_E_RADIOUNAVAILABLE;
}

// An own copy of the answer data. False when it cannot be made, so that
// the request fails instead of reading what the RIL may already have freed.
bool CopyAnswer(const void* lpData, DWORD cbData, BYTE** ppCopy, DWORD* pcbCopy) {
    *ppCopy = nullptr;
    *pcbCopy = 0;
    if (!lpData || cbData == 0) return true;  // an answer without data
    if (cbData > kMaxAnswerBytes) return false;
    BYTE* p = static_cast<BYTE*>(LocalAlloc(LMEM_FIXED, cbData));
    if (!p) return false;
    memcpy(p, lpData, cbData);
    *ppCopy = p;
    *pcbCopy = cbData;
    return true;
}

}  // namespace

RadioLink::RadioLink()
    : m_pbResult(nullptr),
      m_cbResult(0),
      m_dwRecLen(0),
      m_dwTotal(0),
      m_dwNoMaxLen(0),
      m_hRil(nullptr),
      m_hrCmdID(0),
      m_hEvent(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      m_dwCode(0),
      m_phase(Phase::Idle),
      m_bCopyFailed(false),
      m_bAnswerLost(false),
      m_early{},
      m_nEarly(0) {
    InitializeCriticalSection(&m_csAnswer);
    if (!m_hEvent) WriteTrace(L"[err]:RadioLink(), CreateEvent() failed, error=[%lu].", GetLastError());
}

RadioLink::~RadioLink() {
    // The callers close the handle on every path. Should one not, its
    // answers would still be delivered to this object after it is gone;
    // RIL_Deinitialize guarantees no callback once it has returned.
    if (m_hRil) {
        WriteTrace(L"[err]:~RadioLink(), radio handle 0x%x still open, closed.",
                   static_cast<unsigned>(reinterpret_cast<UINT_PTR>(m_hRil)));
        RIL_Deinitialize(m_hRil);
        m_hRil = nullptr;
    }
    DropEarlyAnswers();
    if (m_hEvent) CloseHandle(m_hEvent);
    if (m_pbResult) LocalFree(m_pbResult);
    DeleteCriticalSection(&m_csAnswer);
}

void RadioLink::SetWaitTimeoutForTest(DWORD dwMs) { g_dwWaitMs = dwMs ? dwMs : kRadioWaitMs; }

void CALLBACK RadioLink::RILResultCallBack(DWORD dwCode, HRESULT hrCmdID, const void* lpData,
                                           DWORD cbData, DWORD_PTR dwParam) {
    auto* self = reinterpret_cast<RadioLink*>(dwParam);
    if (self) self->v_RILResultCallBack(dwCode, hrCmdID, lpData, cbData);
}

void RadioLink::v_RILNotifyCallBack(DWORD, const void*, DWORD) {}

void RadioLink::v_RILResultCallBack(DWORD dwCode, HRESULT hrCmdID, const void* lpData,
                                    DWORD cbData) {
    scoped::CritSecLock lock(m_csAnswer);
    switch (m_phase) {
    case Phase::Idle:
        // Its request is over (timed out or never made): keep its code as
        // the last one seen, nothing else.
        m_dwCode = dwCode;
        WriteTrace(L"[msg]:v_RILResultCallBack(), hrCmdID=[0x%x] not awaited, dropped.", hrCmdID);
        break;
    case Phase::Answered:
        // The awaited answer is in and about to be judged by its own code.
        WriteTrace(L"[msg]:v_RILResultCallBack(), hrCmdID=[0x%x] after the answer, dropped.",
                   hrCmdID);
        break;
    case Phase::Issuing: {
        // The request call has not returned the id yet: this may be its answer.
        if (m_nEarly == kEarlySlots) {
            if (m_early[0].pbCopy) LocalFree(m_early[0].pbCopy);
            for (int i = 1; i < kEarlySlots; ++i) m_early[i - 1] = m_early[i];
            --m_nEarly;
        }
        EarlyAnswer& e = m_early[m_nEarly++];
        e.dwCode = dwCode;
        e.hrCmdID = hrCmdID;
        // Kept without a line of its own: a fast radio answers before its id
        // is known as a matter of course, and the trace reads the same either way.
        e.bCopied = CopyAnswer(lpData, cbData, &e.pbCopy, &e.cbCopy);
        break;
    }
    case Phase::Waiting: {
        m_dwCode = dwCode;
        if (hrCmdID != m_hrCmdID) break;
        WriteTrace(L"v_RILResultCallBack : m_hrCmdID == hrCmdID");
        BYTE* pbCopy;
        DWORD cbCopy;
        bool bCopied = CopyAnswer(lpData, cbData, &pbCopy, &cbCopy);
        if (!bCopied) WriteTrace(L"[err]:v_RILResultCallBack(), no copy of %lu bytes.", cbData);
        TakeAnswer(dwCode, pbCopy, cbCopy, bCopied);
        break;
    }
    }
}

// Under m_csAnswer.
void RadioLink::TakeAnswer(DWORD dwCode, BYTE* pbCopy, DWORD cbCopy, bool bCopied) {
    m_dwCode = dwCode;
    if (bCopied) {
        if (m_pbResult) LocalFree(m_pbResult);
        m_pbResult = pbCopy;
        m_cbResult = cbCopy;
    }
    // Without a copy the previous answer stays, and the request fails.
    m_bCopyFailed = !bCopied;
    m_phase = Phase::Answered;
    SetEvent(m_hEvent);
}

// Under m_csAnswer (or with no callback possible).
void RadioLink::DropEarlyAnswers() {
    for (int i = 0; i < m_nEarly; ++i)
        if (m_early[i].pbCopy) LocalFree(m_early[i].pbCopy);
    m_nEarly = 0;
}

void RadioLink::BeginRequest() {
    scoped::CritSecLock lock(m_csAnswer);
    DropEarlyAnswers();
    m_bCopyFailed = false;
    m_phase = Phase::Issuing;
    // A signal left by an earlier answer must not end this wait.
    ResetEvent(m_hEvent);
}

bool RadioLink::AwaitAnswer(HRESULT hrCmdID) {
    {
        scoped::CritSecLock lock(m_csAnswer);
        m_hrCmdID = hrCmdID;
        m_bAnswerLost = false;
        if (FAILED(hrCmdID)) {
            // Rejected: no answer follows; anything kept aside is stale.
            DropEarlyAnswers();
            m_phase = Phase::Idle;
            return false;
        }
        for (int i = 0; i < m_nEarly; ++i) {
            EarlyAnswer& e = m_early[i];
            if (e.hrCmdID != hrCmdID) continue;
            WriteTrace(L"v_RILResultCallBack : m_hrCmdID == hrCmdID");
            if (!e.bCopied) WriteTrace(L"[err]:v_RILResultCallBack(), no copy of the answer.");
            TakeAnswer(e.dwCode, e.pbCopy, e.cbCopy, e.bCopied);
            e.pbCopy = nullptr;  // now m_pbResult
            break;
        }
        DropEarlyAnswers();
        if (m_phase == Phase::Issuing) m_phase = Phase::Waiting;
    }

    WaitForSingleObject(m_hEvent, g_dwWaitMs);

    scoped::CritSecLock lock(m_csAnswer);
    // Judged under the lock: an answer that came just after the time-out is
    // still this request's, and no later answer can change the code first.
    bool bOk = m_phase == Phase::Answered && !m_bCopyFailed && m_dwCode == RIL_RESULT_OK;
    m_bAnswerLost = m_phase != Phase::Answered ||
                    (!m_bCopyFailed && IsLostAnswer(m_dwCode, m_pbResult, m_cbResult));
    m_phase = Phase::Idle;
    ResetEvent(m_hEvent);
    return bOk;
}

bool RadioLink::My_RIL_Initialize() {
    // A second open would orphan the first handle, whose answers still come here.
    if (m_hRil) {
        WriteTrace(L"[err]:My_RIL_Initialize(), radio handle 0x%x still open, closed first.",
                   static_cast<unsigned>(reinterpret_cast<UINT_PTR>(m_hRil)));
        My_RIL_Deinitialize();
    }
    RIL_Initialize(1, &RadioLink::RILResultCallBack, nullptr, 0, reinterpret_cast<DWORD_PTR>(this),
                   &m_hRil);
    return m_hRil != nullptr;
}

bool RadioLink::My_RIL_Deinitialize() {
    RIL_Deinitialize(m_hRil);
    m_hRil = nullptr;
    return true;
}

bool RadioLink::My_RIL_GetTextMessage_Setting(RILMSGCONFIG* pConfig) {
    if (!SyncRequest([this] { return RIL_GetMsgConfig(m_hRil); })) return false;
    if (!pConfig || !m_pbResult || m_cbResult < sizeof(RILMSGCONFIG)) return false;
    memcpy(pConfig, m_pbResult, sizeof(RILMSGCONFIG));
    return true;
}

bool RadioLink::My_RIL_SetTextMessage_Setting(const RILMSGCONFIG* pConfig) {
    return SyncRequest([this, pConfig] { return RIL_SetMsgConfig(m_hRil, pConfig); });
}

bool My_RIL_TakesServiceCentre(DWORD dwType, LPCWSTR pszAddress) {
    // The radio layer's own rule, asked before anything is sent.
    return dwType <= RIL_ADDRTYPE_ABBREV && pszAddress && RilIsSendableSvcCtrAddress(pszAddress);
}

bool RadioLink::My_RIL_GetVoiceMail_Setting(DWORD dwFileID) {
    RILSIMCMDPARAMETERS params = {sizeof(RILSIMCMDPARAMETERS), RIL_PARAM_SCP_ALL, dwFileID, 0, 0, 0};
    if (!SyncRequest([this, &params] {
            return RIL_SendRestrictedSimCmd(m_hRil, RIL_SIMCMD_GETRESPONSE, &params, nullptr, 0);
        }))
        return false;
    if (!m_pbResult || m_cbResult < 4 || m_cbResult <= RILSIMRESPONSE_HEADER_SIZE + kRspRecordLength)
        return false;
    const BYTE* pbResponse = m_pbResult + RILSIMRESPONSE_HEADER_SIZE;
    m_dwRecLen = pbResponse[kRspRecordLength];
    m_dwNoMaxLen = 20;
    if (m_dwRecLen != 0)
        m_dwTotal = (pbResponse[kRspFileSizeHigh] * 256u + pbResponse[kRspFileSizeLow]) / m_dwRecLen;
    return true;
}

bool RadioLink::My_RIL_GetVoiceMail_RecordEntries(DWORD dwRecord, DWORD dwFileID) {
    RILSIMCMDPARAMETERS params = {sizeof(RILSIMCMDPARAMETERS), RIL_PARAM_SCP_ALL, dwFileID, dwRecord,
                                  kSimP2AbsoluteRecord, m_dwRecLen};
    return SyncRequest([this, &params] {
        return RIL_SendRestrictedSimCmd(m_hRil, RIL_SIMCMD_READRECORD, &params, nullptr, 0);
    });
}

bool RadioLink::My_RIL_SetVoiceMail_RecordEntries(DWORD dwRecord, DWORD dwFileID,
                                                  const BYTE* pbData, DWORD dwLen) {
    // The radio is handed m_dwRecLen bytes: a shorter buffer would be read
    // past its end, and a P3 other than the record length is refused by the
    // card anyway, so such a call is not sent.
    if (!pbData || m_dwRecLen == 0 || dwLen != m_dwRecLen) {
        WriteTrace(L"[err]:My_RIL_SetVoiceMail_RecordEntries(), dwLen=[%lu], m_dwRecLen=[%lu], not sent.",
                   dwLen, m_dwRecLen);
        return false;
    }
    RILSIMCMDPARAMETERS params = {sizeof(RILSIMCMDPARAMETERS), RIL_PARAM_SCP_ALL, dwFileID, dwRecord,
                                  kSimP2AbsoluteRecord, dwLen};
    return SyncRequest([this, &params, pbData] {
        return RIL_SendRestrictedSimCmd(m_hRil, RIL_SIMCMD_UPDATERECORD, &params, pbData, m_dwRecLen);
    });
}
