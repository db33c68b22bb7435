// BuildRecord over any number text and record length: it writes nothing
// outside the record or the text (each a heap block of its exact size),
// refuses more than twenty digits and lengths without room for the fixed
// part, and leaves both untouched when it refuses.
// Input: record length (4 bytes LE), flags, the text as UTF-16LE units (a
// zero unit ends it).
#include <cstring>
#include <memory>

#include "fuzz/fuzz_support.h"
#include "settings/record_codec.h"

namespace {

// Lengths above this are never written by a correct codec; a block this
// long lets the address sanitizer catch one that is.
constexpr uint32_t kBlockMax = 300;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzBytes in(data, size);
    uint32_t dwTotalRecLen = in.Dword();
    uint8_t flags = in.Byte();
    Text16 text;
    while (in.Left() >= 2) {
        Char16 c = static_cast<Char16>(in.Word());
        if (!c) break;
        text += c;
    }

    const uint32_t cbBlock = dwTotalRecLen < kBlockMax ? dwTotalRecLen : kBlockMax;
    std::unique_ptr<uint8_t[]> pRecord(new uint8_t[cbBlock ? cbBlock : 1]);
    memset(pRecord.get(), 0xA5, cbBlock);
    std::unique_ptr<Char16[]> pNo(new Char16[text.size() + 1]);
    Copy16(pNo.get(), text.c_str());

    uint8_t* pData = (flags & 1) ? nullptr : pRecord.get();
    Char16* pText = (flags & 2) ? nullptr : pNo.get();
    bool built = BuildRecord(pData, pText, dwTotalRecLen);

    uint32_t digits = 0;
    for (Char16 c : text)
        if (c != '+') ++digits;
    bool bRoom = dwTotalRecLen >= kRecordFixedPart && dwTotalRecLen <= kRecordMaxLen;
    QX_FUZZ_CHECK(built == (pData && pText && bRoom && digits <= kNumberMaxDigits),
                  "built exactly when both are given, the length has room and the digits fit");
    QX_FUZZ_CHECK(NumberDigitCount(text.c_str()) == digits, "digit count: every character but '+'");
    if (built) {
        Text16 now = pNo.get();
        QX_FUZZ_CHECK(now.size() <= text.size(), "the normalised text never grows");
        return 0;
    }
    QX_FUZZ_CHECK(Text16(pNo.get()) == text, "a refused text is left as it was");
    for (uint32_t i = 0; i < cbBlock; ++i) QX_FUZZ_CHECK(pRecord[i] == 0xA5, "a refused record is left as it was");
    return 0;
}
