// Build, then read: for any text of dial characters and separators that
// BuildRecord takes, ParsePhoneNo of the built record gives the normalised
// number (a "+" anywhere becomes one "+" in front, W, w and P read as p)
// without the blanks and "-" that are stored as the undefined digit.
// Input: record length (14 + byte % 242), then the text, one byte a character
// (a byte outside the alphabet picks one of it).
#include <cstring>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "settings/record_codec.h"

namespace {

const char kAlphabet[] = "0123456789*#pPwW+ -";

Char16 DialChar(uint8_t b) {
    if (b && strchr(kAlphabet, b)) return b;
    return kAlphabet[b % (sizeof kAlphabet - 1)];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzBytes in(data, size);
    uint32_t dwTotalRecLen = kRecordFixedPart + in.Byte() % (kRecordMaxLen - kRecordFixedPart + 1);
    Text16 text;
    while (!in.Empty() && text.size() < 64) text += DialChar(in.Byte());
    if (NumberDigitCount(text.c_str()) > kNumberMaxDigits) return 0;  // refused: fuzz_build_record

    // The model: what the number is once stored, and what reading gives back.
    bool bPlus = text.find('+') != Text16::npos;
    Text16 stored, read;
    for (Char16 c : text) {
        if (c == '+') continue;
        stored += (c == 'W' || c == 'w') ? Char16('p') : c;
        if (c != ' ' && c != '-') read += (c == 'W' || c == 'w' || c == 'P') ? Char16('p') : c;
    }
    // A lone "+" is no number: nothing is written and nothing comes back.
    if (bPlus && !stored.empty()) {
        stored.insert(stored.begin(), '+');
        read.insert(read.begin(), '+');
    }

    // The caller erases the record first, as the program does.
    std::vector<uint8_t> answer(kSimResponseHeader + dwTotalRecLen, 0xFF);
    std::vector<Char16> no(text.begin(), text.end());
    no.push_back(0);
    QX_FUZZ_CHECK(BuildRecord(answer.data() + kSimResponseHeader, no.data(), dwTotalRecLen),
                  "twenty digits or fewer are taken");
    QX_FUZZ_CHECK(Text16(no.data()) == stored, "the text is normalised in place");

    Char16 szNo[kPhoneNoChars];
    ParsePhoneNo(answer.data(), static_cast<uint32_t>(answer.size()), szNo, dwTotalRecLen, kNumberMaxDigits);
    QX_FUZZ_CHECK(Text16(szNo) == read, "reading gives the number back");
    return 0;
}
