// The codec tests natively: the codec's sink, and heap blocks of the exact
// size, past whose end the address sanitizer stops any read.
#include "tests/settings/codec_test_support.h"

#include <cstring>

#include "settings/record_codec.h"

namespace {

CodecTrace* g_pTrace = nullptr;

void Collect(const Char16* pszLine) { g_pTrace->Add(pszLine); }

}  // namespace

CodecTrace::CodecTrace() {
    g_pTrace = this;
    g_pfnCodecTrace = Collect;
}

CodecTrace::~CodecTrace() { g_pfnCodecTrace = nullptr; }

GuardedBuffer::GuardedBuffer() = default;
GuardedBuffer::~GuardedBuffer() { delete[] m_pBase; }

uint8_t* GuardedBuffer::Place(const std::vector<uint8_t>& bytes) {
    delete[] m_pBase;
    m_cb = bytes.size();
    m_pBase = new uint8_t[m_cb];
    memcpy(m_pBase, bytes.data(), m_cb);
    return m_pBase;
}
