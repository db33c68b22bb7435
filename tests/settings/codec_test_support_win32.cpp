// The codec tests on Win32: the program's trace as written, and a page
// followed by an inaccessible one.
#include "tests/settings/codec_test_support.h"

#include <windows.h>

#include <cstring>

#include "platform/base/debug_out.h"

namespace {

// "\r\n[QXPhoneVMSetting] hh:mm:ss " in front of every WriteTrace message.
constexpr size_t kTraceHead = 30;

void Collect(void* ctx, LPCWSTR text) {
    Text16 t = text;
    if (t.size() >= kTraceHead + 2)
        static_cast<CodecTrace*>(ctx)->Add(t.substr(kTraceHead, t.size() - kTraceHead - 2));
}

}  // namespace

CodecTrace::CodecTrace() { SetDebugOutSink(Collect, this); }
CodecTrace::~CodecTrace() { SetDebugOutSink(nullptr, nullptr); }

GuardedBuffer::GuardedBuffer() {
    SYSTEM_INFO si;
    GetSystemInfo(&si);
    m_cb = si.dwPageSize;
    m_pBase = static_cast<uint8_t*>(VirtualAlloc(nullptr, 2 * m_cb, MEM_COMMIT, PAGE_READWRITE));
    DWORD old;
    VirtualProtect(m_pBase + m_cb, m_cb, PAGE_NOACCESS, &old);
}

GuardedBuffer::~GuardedBuffer() { VirtualFree(m_pBase, 0, MEM_RELEASE); }

uint8_t* GuardedBuffer::Place(const std::vector<uint8_t>& bytes) {
    uint8_t* p = m_pBase + m_cb - bytes.size();
    memcpy(p, bytes.data(), bytes.size());
    return p;
}
