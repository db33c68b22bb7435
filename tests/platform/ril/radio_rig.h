// Test rig of the radio layer: a scratch device with a SIM card, the built-in
// modem with short library time-outs, and a RIL client that collects answers.
#pragma once
#include <windows.h>

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/ril/ril.h"
#include "tests/support/scratch.h"

const DWORD kRigTimeoutMs = 400;

// The card of devices/default-simcard.txt, as the build copied it.
std::string DefaultCardText();

class RadioRig {
public:
    explicit RadioRig(const std::string& card = DefaultCardText());
    ~RadioRig();
    RadioRig(const RadioRig&) = delete;
    RadioRig& operator=(const RadioRig&) = delete;

    std::wstring CardPath() const { return device.Path(L"\\Windows\\simcard.txt"); }
    std::string Card() const { return ReadFileBytes(CardPath()); }
    void SetCard(const std::string& text) const { WriteFileBytes(CardPath(), text); }

    ScratchDevice device;
};

struct RilRecord {
    DWORD dwCode = 0;       // 0: no answer (or the request was refused)
    HRESULT hrId = 0;
    std::vector<BYTE> data;
    DWORD dwThread = 0;
};

class RilClient {
public:
    RilClient();
    ~RilClient();
    RilClient(const RilClient&) = delete;
    RilClient& operator=(const RilClient&) = delete;

    HRIL Handle() const { return m_hRil; }
    HRESULT InitResult() const { return m_hrInit; }
    // Makes the request and waits for its answer; hrId holds what the call returned.
    RilRecord Call(const std::function<HRESULT(HRIL)>& request, DWORD dwWaitMs = 3000);
    bool WaitFor(HRESULT id, DWORD dwWaitMs, RilRecord* pOut);
    size_t AnswerCount();
    void Close();

private:
    static void CALLBACK OnResult(DWORD dwCode, HRESULT hrCmdID, const void* lpData, DWORD cbData,
                                  DWORD_PTR dwParam);
    HRIL m_hRil = nullptr;
    HRESULT m_hrInit = E_FAIL;
    std::mutex m_lock;
    std::condition_variable m_cv;
    std::map<HRESULT, RilRecord> m_answers;
    size_t m_nAnswers = 0;
};

HRESULT ErrorOf(const RilRecord& r);
RILSIMCMDPARAMETERS SimParams(DWORD dwFile, DWORD p1, DWORD p2, DWORD p3);
// The response bytes of a RILSIMRESPONSE answer (after its 16-byte header).
std::vector<BYTE> SimBytes(const RilRecord& r);
std::vector<BYTE> HexBytes(const std::string& hex);
