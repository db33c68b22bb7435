// +CRSM answers: status words and the USIM FCP template.
#include "platform/ril/sim_response.h"

#include "platform/attext/at_text.h"
#include "platform/attext/hex_text.h"

bool ParseCrsmLine(const std::string& line, int* pSw1, int* pSw2, std::vector<uint8_t>* pResponse) {
    if (!StartsWithNoCase(line, "+CRSM:")) return false;
    std::string rest = line.substr(6);
    size_t c1 = rest.find(',');
    if (c1 == std::string::npos) return false;
    size_t c2 = rest.find(',', c1 + 1);
    std::string sw2 = rest.substr(c1 + 1, c2 == std::string::npos ? std::string::npos : c2 - c1 - 1);
    int a = 0, b = 0;
    if (!ParseDecimal(rest.substr(0, c1), 255, &a) || !ParseDecimal(sw2, 255, &b)) return false;
    std::vector<uint8_t> response;
    if (c2 != std::string::npos && pResponse) {
        std::string hex = Unquote(TrimBlanks(rest.substr(c2 + 1)));
        if (!HexDecode(hex, false, &response)) return false;
    }
    *pSw1 = a;
    *pSw2 = b;
    if (pResponse) *pResponse = std::move(response);
    return true;
}

bool IsSimSuccess(int sw1, int sw2) {
    // 92 0X: done after X internal retries; 92 40 is a memory problem, the update failed.
    return (sw1 == 0x90 && sw2 == 0x00) || sw1 == 0x91 || (sw1 == 0x92 && (sw2 & 0xF0) == 0) ||
           sw1 == 0x9F;
}

bool ConvertFcpToGsm(const std::vector<uint8_t>& fcp, std::vector<uint8_t>* pGsm) {
    if (fcp.size() < 2 || fcp[0] != 0x62) return false;
    size_t pos = 1;
    // BER-TLV lengths: one byte, or 0x81 and one byte.
    auto length = [&fcp](size_t* p, size_t* pLen) {
        if (*p >= fcp.size()) return false;
        size_t n = fcp[(*p)++];
        if (n == 0x81) {
            if (*p >= fcp.size()) return false;
            n = fcp[(*p)++];
        } else if (n > 0x80) {
            return false;
        }
        *pLen = n;
        return true;
    };
    size_t total = 0;
    if (!length(&pos, &total) || pos + total > fcp.size()) return false;
    size_t end = pos + total;

    bool haveDescriptor = false, haveSize = false;
    int fdb = 0, recLen = 0, records = 0, fileId = 0;
    unsigned long size = 0;
    while (pos < end) {
        uint8_t tag = fcp[pos++];
        size_t n = 0;
        if (!length(&pos, &n) || pos + n > end) return false;
        const uint8_t* v = fcp.data() + pos;
        if (tag == 0x82) {
            if (n < 2) return false;
            haveDescriptor = true;
            fdb = v[0];
            if (n >= 5) {
                recLen = v[2] << 8 | v[3];
                records = v[4];
            }
        } else if (tag == 0x83 && n == 2) {
            fileId = v[0] << 8 | v[1];
        } else if (tag == 0x80 && n >= 1 && n <= 4) {
            haveSize = true;
            size = 0;
            for (size_t k = 0; k < n; ++k) size = size << 8 | v[k];
        }
        pos += n;
    }
    if (!haveDescriptor || recLen > 255) return false;
    if (!haveSize) size = static_cast<unsigned long>(recLen) * records;
    if (size > 0xFFFF) size = 0xFFFF;

    uint8_t structure = 0x00;  // transparent
    switch (fdb & 0x07) {
        case 0x02: structure = 0x01; break;  // linear fixed
        case 0x06: structure = 0x03; break;  // cyclic
    }
    uint8_t type = (fdb & 0x38) == 0x38 ? 0x02 : 0x04;  // DF or EF
    std::vector<uint8_t> gsm = {0x00, 0x00, static_cast<uint8_t>(size >> 8), static_cast<uint8_t>(size),
                                static_cast<uint8_t>(fileId >> 8), static_cast<uint8_t>(fileId), type,
                                0x00, 0x00, 0x00, 0x00, 0x01, 0x02, structure, static_cast<uint8_t>(recLen)};
    if (pGsm) *pGsm = std::move(gsm);
    return true;
}

