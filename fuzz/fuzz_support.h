// What the harnesses share: a reader of the fuzzer's bytes that never runs
// out (missing bytes read as 0), the check that stops a run on a broken
// property, and feeding bytes to the line parser in chunks.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/ril/at_line_parser.h"

// A property that does not hold is a finding: libFuzzer keeps the input.
#define QX_FUZZ_CHECK(cond, what)                                                        \
    do {                                                                                 \
        if (!(cond)) {                                                                   \
            fprintf(stderr, "property violated at %s:%d: %s\n  (%s)\n", __FILE__, __LINE__, \
                    what, #cond);                                                        \
            abort();                                                                     \
        }                                                                                \
    } while (0)

class FuzzBytes {
public:
    FuzzBytes(const uint8_t* p, size_t n) : m_p(p), m_n(n) {}
    bool Empty() const { return m_i >= m_n; }
    size_t Left() const { return m_n - m_i; }
    uint8_t Byte() { return m_i < m_n ? m_p[m_i++] : 0; }
    uint16_t Word() { return static_cast<uint16_t>(Byte() | Byte() << 8); }
    uint32_t Dword() { return Word() | static_cast<uint32_t>(Word()) << 16; }
    std::string Text(size_t n) {
        std::string s;
        while (n-- && !Empty()) s += static_cast<char>(Byte());
        return s;
    }
    std::string Rest() { return Text(Left()); }

private:
    const uint8_t* m_p;
    size_t m_n;
    size_t m_i = 0;
};

// A small generator for split points, seeded from the input so that a run
// repeats exactly.
class SplitRng {
public:
    explicit SplitRng(uint32_t seed) : m_x(seed | 1u) {}
    uint32_t Next() {
        m_x ^= m_x << 13;
        m_x ^= m_x >> 17;
        m_x ^= m_x << 5;
        return m_x;
    }

private:
    uint32_t m_x;
};

// Feeds bytes in chunks of 1..maxChunk (0: whole) and collects the lines.
inline std::vector<std::string> FeedInChunks(AtLineParser* parser, const std::string& bytes, SplitRng* rng,
                                             size_t maxChunk) {
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t n = maxChunk ? 1 + rng->Next() % maxChunk : bytes.size() - pos;
        if (n > bytes.size() - pos) n = bytes.size() - pos;
        parser->Feed(bytes.data() + pos, n, &lines);
        pos += n;
    }
    return lines;
}
