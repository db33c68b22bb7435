// Hexadecimal text of byte strings.
#include "platform/attext/hex_text.h"

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string HexEncode(const uint8_t* pb, size_t cb) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(cb * 2);
    for (size_t i = 0; i < cb; ++i) {
        text += kDigits[pb[i] >> 4];
        text += kDigits[pb[i] & 0xF];
    }
    return text;
}

bool HexDecode(const std::string& text, bool bAllowBlanks, std::vector<uint8_t>* pOut) {
    std::vector<uint8_t> bytes;
    int high = -1;
    for (char c : text) {
        if (bAllowBlanks && (c == ' ' || c == '\t')) {
            if (high >= 0) return false;  // a blank inside a pair
            continue;
        }
        int d = HexDigit(c);
        if (d < 0) return false;
        if (high < 0) {
            high = d;
        } else {
            bytes.push_back(static_cast<uint8_t>(high << 4 | d));
            high = -1;
        }
    }
    if (high >= 0) return false;
    if (pOut) *pOut = std::move(bytes);
    return true;
}

std::string TrimBlanks(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return std::string();
    size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}
