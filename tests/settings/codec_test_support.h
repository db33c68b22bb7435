// What the record codec tests need of their platform: the codec's trace
// messages, and bytes placed where reading past their end faults. Win32:
// the program's trace, a guard page; natively: the codec's sink, a heap
// block of the exact size that the address sanitizer guards.
#pragma once
#include <vector>

#include "platform/base/portable_types.h"

// The program's fixed text buffers (kTextLen of shell/app_state.h).
constexpr int kTextLen = 260;

// Collects the codec's trace messages while it lives, each without the time
// stamp and line end of the trace.
class CodecTrace {
public:
    CodecTrace();
    ~CodecTrace();
    CodecTrace(const CodecTrace&) = delete;
    CodecTrace& operator=(const CodecTrace&) = delete;

    void Add(Text16 message) { m_messages.push_back(std::move(message)); }
    const std::vector<Text16>& Messages() const { return m_messages; }
    // Number of messages that contain the fragment.
    int Count(const Text16& fragment) const {
        int n = 0;
        for (const auto& m : m_messages)
            if (m.find(fragment) != Text16::npos) ++n;
        return n;
    }
    bool Has(const Text16& fragment) const { return Count(fragment) > 0; }
    bool HasMessage(const Text16& message) const {
        for (const auto& m : m_messages)
            if (m == message) return true;
        return false;
    }

private:
    std::vector<Text16> m_messages;
};

class GuardedBuffer {
public:
    GuardedBuffer();
    ~GuardedBuffer();
    GuardedBuffer(const GuardedBuffer&) = delete;
    GuardedBuffer& operator=(const GuardedBuffer&) = delete;
    // A copy of the bytes that ends where reading faults; valid until the next Place.
    uint8_t* Place(const std::vector<uint8_t>& bytes);

private:
    uint8_t* m_pBase = nullptr;
    size_t m_cb = 0;
};
