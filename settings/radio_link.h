// RadioLink: blocking calls over the asynchronous Radio Interface Layer. One
// request at a time; the answer comes back on the RIL's callback thread and
// is handed to the waiting caller through one auto-reset event.
#pragma once
#include <windows.h>

#include "platform/ril/ril.h"

// SIM commands and record addressing used on the mailbox file.
constexpr DWORD kSimP2AbsoluteRecord = 4;  // P2 of READ/UPDATE RECORD: absolute mode
constexpr DWORD kRadioWaitMs = 15000;

// Whether the radio takes this service-centre address (type and digits, as
// the save sends them), by the rule the radio layer applies to every message
// configuration it is given; nothing is sent.
bool My_RIL_TakesServiceCentre(DWORD dwType, LPCWSTR pszAddress);

class RadioLink {
public:
    RadioLink();
    ~RadioLink();
    RadioLink(const RadioLink&) = delete;
    RadioLink& operator=(const RadioLink&) = delete;

    // Every command answer the RIL delivers for this object's handle.
    virtual void v_RILResultCallBack(DWORD dwCode, HRESULT hrCmdID, const void* lpData,
                                     DWORD cbData);
    // No notification classes are subscribed; never reached.
    virtual void v_RILNotifyCallBack(DWORD dwCode, const void* lpData, DWORD cbData);

    bool My_RIL_Initialize();
    bool My_RIL_Deinitialize();
    bool My_RIL_GetTextMessage_Setting(RILMSGCONFIG* pConfig);
    bool My_RIL_SetTextMessage_Setting(const RILMSGCONFIG* pConfig);
    // GET RESPONSE: sets m_dwRecLen, m_dwTotal and m_dwNoMaxLen.
    bool My_RIL_GetVoiceMail_Setting(DWORD dwFileID);
    // READ RECORD: the answer stays in m_pbResult / m_cbResult.
    bool My_RIL_GetVoiceMail_RecordEntries(DWORD dwRecord, DWORD dwFileID);
    // UPDATE RECORD of m_dwRecLen bytes; dwLen must be that length.
    bool My_RIL_SetVoiceMail_RecordEntries(DWORD dwRecord, DWORD dwFileID, const BYTE* pbData,
                                           DWORD dwLen);

    // TRUE when the last request went out and its answer never came: no
    // answer in time, or the port closed under it. Whether the radio carried
    // it out is then unknown.
    bool AnswerLost() const { return m_bAnswerLost; }

    // The radio wait is 15000 ms on the device; tests shorten it (0 restores).
    static void SetWaitTimeoutForTest(DWORD dwMs);

    BYTE* m_pbResult;    // copy of the last answer taken; null until the first
    DWORD m_cbResult;
    DWORD m_dwRecLen;    // from GET RESPONSE
    DWORD m_dwTotal;     // records in the file (file size / record length)
    DWORD m_dwNoMaxLen;  // digits a mailbox number holds
    HRIL m_hRil;
    HRESULT m_hrCmdID;   // the last request call's result; >= 0 is its command id
    HANDLE m_hEvent;     // auto-reset, set when the awaited answer is in
    DWORD m_dwCode;      // result code of the last answer that reached the object

protected:
    // The five steps of a synchronous request around one radio call, which
    // returns the command id (or an error). The answer is judged by its code.
    template <typename Call>
    bool SyncRequest(Call&& call) {
        BeginRequest();
        return AwaitAnswer(call());
    }

private:
    static void CALLBACK RILResultCallBack(DWORD dwCode, HRESULT hrCmdID, const void* lpData,
                                           DWORD cbData, DWORD_PTR dwParam);

    void BeginRequest();
    bool AwaitAnswer(HRESULT hrCmdID);
    // Takes an answer as the awaited one: the copy, its size and its code.
    void TakeAnswer(DWORD dwCode, BYTE* pbCopy, DWORD cbCopy, bool bCopied);
    void DropEarlyAnswers();

    // Where a request stands, as the callback thread sees it.
    enum class Phase { Idle, Issuing, Waiting, Answered };

    // An answer that came while its request call had not yet returned the id.
    struct EarlyAnswer {
        DWORD dwCode;
        HRESULT hrCmdID;
        BYTE* pbCopy;
        DWORD cbCopy;
        bool bCopied;
    };
    static constexpr int kEarlySlots = 4;

    CRITICAL_SECTION m_csAnswer;  // guards everything below and the answer fields
    Phase m_phase;
    bool m_bCopyFailed;
    bool m_bAnswerLost;  // caller's thread only
    EarlyAnswer m_early[kEarlySlots];
    int m_nEarly;
};
