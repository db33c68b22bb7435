// Test rig of the radio layer.
#include "tests/platform/ril/radio_rig.h"

#include <cstring>

#include "platform/attext/hex_text.h"
#include "tests/support/radio_seams.h"

std::string DefaultCardText() { return ReadFileBytes(ModuleFolder() + L"default-simcard.txt"); }

RadioRig::RadioRig(const std::string& card) {
    UseSimModem(kRigTimeoutMs, 0);
    if (!card.empty()) SetCard(card);
}

RadioRig::~RadioRig() { ResetRadioSeams(); }

RilClient::RilClient() {
    m_hrInit = RIL_Initialize(1, &RilClient::OnResult, nullptr, 0, reinterpret_cast<DWORD_PTR>(this), &m_hRil);
}

RilClient::~RilClient() { Close(); }

void RilClient::Close() {
    if (m_hRil) RIL_Deinitialize(m_hRil);
    m_hRil = nullptr;
}

void CALLBACK RilClient::OnResult(DWORD dwCode, HRESULT hrCmdID, const void* lpData, DWORD cbData,
                                  DWORD_PTR dwParam) {
    auto* self = reinterpret_cast<RilClient*>(dwParam);
    RilRecord r;
    r.dwCode = dwCode;
    r.hrId = hrCmdID;
    r.dwThread = GetCurrentThreadId();
    if (lpData && cbData)
        r.data.assign(static_cast<const BYTE*>(lpData), static_cast<const BYTE*>(lpData) + cbData);
    std::lock_guard<std::mutex> lock(self->m_lock);
    self->m_answers[hrCmdID] = r;
    ++self->m_nAnswers;
    self->m_cv.notify_all();
}

bool RilClient::WaitFor(HRESULT id, DWORD dwWaitMs, RilRecord* pOut) {
    std::unique_lock<std::mutex> lock(m_lock);
    bool got = m_cv.wait_for(lock, std::chrono::milliseconds(dwWaitMs), [&] { return m_answers.count(id) > 0; });
    if (got && pOut) *pOut = m_answers[id];
    return got;
}

RilRecord RilClient::Call(const std::function<HRESULT(HRIL)>& request, DWORD dwWaitMs) {
    RilRecord r;
    HRESULT id = request(m_hRil);
    if (id <= 0 || !WaitFor(id, dwWaitMs, &r)) {
        r = RilRecord();
        r.hrId = id;
    }
    return r;
}

size_t RilClient::AnswerCount() {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_nAnswers;
}

HRESULT ErrorOf(const RilRecord& r) {
    HRESULT hr = 0;
    if (r.dwCode == RIL_RESULT_ERROR && r.data.size() == sizeof hr) memcpy(&hr, r.data.data(), sizeof hr);
    return hr;
}

RILSIMCMDPARAMETERS SimParams(DWORD dwFile, DWORD p1, DWORD p2, DWORD p3) {
    return RILSIMCMDPARAMETERS{sizeof(RILSIMCMDPARAMETERS), RIL_PARAM_SCP_ALL, dwFile, p1, p2, p3};
}

std::vector<BYTE> SimBytes(const RilRecord& r) {
    if (r.data.size() < RILSIMRESPONSE_HEADER_SIZE) return {};
    return std::vector<BYTE>(r.data.begin() + RILSIMRESPONSE_HEADER_SIZE, r.data.end());
}

std::vector<BYTE> HexBytes(const std::string& hex) {
    std::vector<BYTE> b;
    HexDecode(hex, true, &b);
    return b;
}
