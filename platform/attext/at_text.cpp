// AT texts: prefixes, decimal fields, +CSCS character sets, error texts.
#include "platform/attext/at_text.h"

#include "platform/attext/hex_text.h"

namespace {

char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameNoCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (UpperChar(a[i]) != UpperChar(b[i])) return false;
    return i == a.size() && !b[i];
}

struct ErrorText {
    int nCode;
    const char* text;
};

// The numbers the radio layer tells apart, and those the simulated modem gives.
const ErrorText kCmeTexts[] = {
    {0, "phone failure"},         {3, "operation not allowed"}, {4, "operation not supported"},
    {10, "SIM not inserted"},     {11, "SIM PIN required"},     {12, "SIM PUK required"},
    {13, "SIM failure"},          {14, "SIM busy"},             {15, "SIM wrong"},
    {30, "no network service"},   {50, "incorrect parameters"}, {100, "unknown"},
    // Wavecom's "busy"; the radio layer asks again after it.
    {515, "Please wait, init or command processing in progress"},
};

const ErrorText kCmsTexts[] = {
    {300, "ME failure"},        {302, "operation not allowed"}, {303, "operation not supported"},
    {304, "invalid PDU mode parameter"}, {310, "SIM not inserted"}, {313, "SIM failure"},
    {314, "SIM busy"},
    {330, "SMSC address unknown"}, {500, "unknown error"},
};

template <size_t N>
int CodeOf(const ErrorText (&table)[N], const std::string& text) {
    std::string t = TrimBlanks(text);
    // Some modems end the text with a full stop.
    if (!t.empty() && t.back() == '.') t = TrimBlanks(t.substr(0, t.size() - 1));
    for (const auto& e : table)
        if (SameNoCase(t, e.text)) return e.nCode;
    return -1;
}

}  // namespace

std::string Unquote(const std::string& s, bool* pQuoted) {
    bool q = s.size() >= 2 && s.front() == '"' && s.back() == '"';
    if (pQuoted) *pQuoted = q;
    return q ? s.substr(1, s.size() - 2) : s;
}

std::string UpperAscii(std::string s) {
    for (auto& c : s) c = UpperChar(c);
    return s;
}

std::string LowerAscii(std::string s) {
    for (auto& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool StartsWithNoCase(const std::string& s, const std::string& prefix) {
    if (s.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (UpperChar(s[i]) != UpperChar(prefix[i])) return false;
    return true;
}

bool ParseDecimal(const std::string& s, int max, int* pValue) {
    std::string t = TrimBlanks(s);
    if (t.empty() || t.size() > 6) return false;
    int v = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v > max) return false;
    *pValue = v;
    return true;
}

bool CharsetFromName(const std::string& name, TeCharset* pCharset) {
    std::string n = Unquote(TrimBlanks(name));
    static const TeCharset kAll[] = {TeCharset::Gsm, TeCharset::Ira, TeCharset::Ucs2, TeCharset::Hex};
    for (TeCharset c : kAll) {
        if (SameNoCase(n, CharsetName(c))) {
            *pCharset = c;
            return true;
        }
    }
    return false;
}

const char* CharsetName(TeCharset charset) {
    switch (charset) {
        case TeCharset::Ira: return "IRA";
        case TeCharset::Ucs2: return "UCS2";
        case TeCharset::Hex: return "HEX";
        default: return "GSM";
    }
}

std::string EncodeTeString(const std::string& text, TeCharset charset) {
    if (charset != TeCharset::Ucs2 && charset != TeCharset::Hex) return text;
    std::string out;
    for (char c : text) {
        uint8_t unit[2] = {0, static_cast<uint8_t>(c)};
        out += charset == TeCharset::Ucs2 ? HexEncode(unit, 2) : HexEncode(unit + 1, 1);
    }
    return out;
}

bool DecodeTeString(const std::string& s, TeCharset charset, std::string* pText) {
    std::string text;
    if (charset == TeCharset::Ucs2 || charset == TeCharset::Hex) {
        std::vector<uint8_t> bytes;
        size_t width = charset == TeCharset::Ucs2 ? 2 : 1;
        if (!HexDecode(s, false, &bytes) || bytes.size() % width) return false;
        for (size_t i = 0; i < bytes.size(); i += width) {
            if (width == 2 && bytes[i]) return false;  // beyond ASCII
            text += static_cast<char>(bytes[i + width - 1]);
        }
    } else {
        text = s;
    }
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    *pText = std::move(text);
    return true;
}

const char* CmeErrorText(int nCode) {
    for (const auto& e : kCmeTexts)
        if (e.nCode == nCode) return e.text;
    return nullptr;
}

int CmeErrorCode(const std::string& text) { return CodeOf(kCmeTexts, text); }

int CmsErrorCode(const std::string& text) { return CodeOf(kCmsTexts, text); }

const char* MailboxFilePath(int nFileId) {
    switch (nFileId) {
        case 0x6F17: return "3F007F20";
        case 0x6FC7: return "3F007FFF";
        default: return "";
    }
}
