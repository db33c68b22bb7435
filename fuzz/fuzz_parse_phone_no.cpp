// ParsePhoneNo over any answer and any lengths: it reads nothing outside the
// answer (the answer is a heap block of its exact size), writes a terminated
// text within kPhoneNoChars, and gives no more digits than were allowed.
// Input: record length (4 bytes LE), digit limit (4 bytes LE), flags, answer.
#include <cstring>
#include <memory>

#include "fuzz/fuzz_support.h"
#include "settings/record_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzBytes in(data, size);
    uint32_t dwTotalRecLen = in.Dword();
    uint32_t dwNoMaxLen = in.Dword();
    uint8_t flags = in.Byte();
    std::string answer = in.Rest();

    std::unique_ptr<uint8_t[]> pAnswer(new uint8_t[answer.size() ? answer.size() : 1]);
    memcpy(pAnswer.get(), answer.data(), answer.size());
    const uint8_t* pData = (flags & 2) ? nullptr : pAnswer.get();
    uint32_t cbData = static_cast<uint32_t>(answer.size());

    // The text holds a stale number beforehand, as the program's buffer does.
    std::unique_ptr<Char16[]> pNo(new Char16[kPhoneNoChars]);
    for (uint32_t i = 0; i < kPhoneNoChars; ++i) pNo[i] = '7';
    Char16* pTarget = (flags & 1) ? nullptr : pNo.get();

    QX_FUZZ_CHECK(ParsePhoneNo(pData, cbData, pTarget, dwTotalRecLen, dwNoMaxLen), "always true");
    if (!pTarget) return 0;

    uint32_t len = 0;
    while (len < kPhoneNoChars && pNo[len]) ++len;
    QX_FUZZ_CHECK(len < kPhoneNoChars, "text terminated within kPhoneNoChars");
    if (!pData || !RecordInAnswer(cbData, dwTotalRecLen))
        QX_FUZZ_CHECK(len == 0, "no whole record, no number");

    uint32_t digits = 0;
    for (uint32_t i = 0; i < len; ++i) {
        Char16 c = pNo[i];
        if (c == '+') {
            QX_FUZZ_CHECK(i == 0, "a plus only in front");
            continue;
        }
        QX_FUZZ_CHECK((c >= '0' && c <= '9') || c == '*' || c == '#' || c == 'p', "only dial characters");
        ++digits;
    }
    uint32_t allowed = dwNoMaxLen < kNumberMaxDigits ? dwNoMaxLen : kNumberMaxDigits;
    QX_FUZZ_CHECK(digits <= allowed, "no more digits than the limit and the ten BCD bytes");
    return 0;
}
