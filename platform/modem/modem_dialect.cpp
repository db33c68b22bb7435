// Dialect names of the simulated modem.
#include "platform/modem/modem_dialect.h"

#include "platform/attext/at_text.h"

namespace {

struct Named {
    const char* name;
    uint32_t bit;
};

const Named kDialects[] = {
    {"numeric", kDialectNumeric},         {"echo", kDialectEcho},
    {"ucs2", kDialectUcs2},               {"hex", kDialectHex},
    {"keep-charset", kDialectKeepCharset}, {"cme-text", kDialectCmeText},
    {"bare-error", kDialectBareError},    {"crsm-unquoted", kDialectCrsmUnquoted},
    {"read-9f", kDialectRead9F},          {"no-carrier", kDialectNoCarrier},
    {"cfun4", kDialectCfun4},             {"getresponse-67", kDialectGetResponse67},
    {"path-only", kDialectPathOnly},      {"mailbox-locked", kDialectMailboxLocked},
};

}  // namespace

bool DialectFromName(const std::string& name, uint32_t* pDialect) {
    for (const auto& d : kDialects) {
        std::string n(d.name);
        if (name.size() == n.size() && StartsWithNoCase(name, n)) {
            *pDialect = d.bit;
            return true;
        }
    }
    return false;
}

bool DialectsFromText(const std::string& text, uint32_t* pDialects, std::string* pBad) {
    uint32_t all = 0;
    std::string word;
    for (size_t i = 0; i <= text.size(); ++i) {
        char c = i < text.size() ? text[i] : ' ';
        if (c != ' ' && c != '\t' && c != ',') {
            word += c;
            continue;
        }
        if (word.empty()) continue;
        uint32_t bit = 0;
        if (!DialectFromName(word, &bit)) {
            if (pBad) *pBad = word;
            return false;
        }
        all |= bit;
        word.clear();
    }
    *pDialects = all;
    return true;
}

std::string DialectNames(uint32_t dwDialects) {
    std::string names;
    for (const auto& d : kDialects) {
        if (!(dwDialects & d.bit)) continue;
        if (!names.empty()) names += ' ';
        names += d.name;
    }
    return names;
}
