// Byte-fed splitter of a modem's output into lines. Pure: no I/O, no globals.
#pragma once
#include <string>
#include <vector>

class AtLineParser {
public:
    // Longer lines are dropped whole; no answer of ours comes near it.
    static const size_t kMaxLine = 2048;

    // Appends each line that the bytes complete to *pLines. CR and LF both end
    // a line; blank lines are dropped. Bytes may be split anywhere.
    void Feed(const char* pb, size_t cb, std::vector<std::string>* pLines);
    // Forgets a partial line (after the port has been reopened).
    void Reset();
    size_t DroppedLines() const { return m_nDropped; }

private:
    std::string m_line;
    bool m_bOverlong = false;
    size_t m_nDropped = 0;
};
