// Byte-fed splitter of a modem's output into lines.
#include "platform/ril/at_line_parser.h"

void AtLineParser::Feed(const char* pb, size_t cb, std::vector<std::string>* pLines) {
    for (size_t i = 0; i < cb; ++i) {
        char c = pb[i];
        if (c == '\r' || c == '\n') {
            if (m_bOverlong) ++m_nDropped;
            else if (!m_line.empty()) pLines->push_back(m_line);
            m_line.clear();
            m_bOverlong = false;
            continue;
        }
        if (m_bOverlong) continue;
        if (m_line.size() >= kMaxLine) {
            m_bOverlong = true;
            m_line.clear();
            continue;
        }
        m_line += c;
    }
}

void AtLineParser::Reset() {
    m_line.clear();
    m_bOverlong = false;
}
