// The characters of a number and the checks made before saving.
#include "settings/number_input.h"

#include <cwchar>

#include "settings/radio_link.h"
#include "settings/record_codec.h"

namespace {

NumberFault CheckCharacters(LPCWSTR pText) {
    if (!IsNumberText(pText)) return NF_BAD_CHARACTER;
    if (pText[0] && wcschr(pText + 1, L'+')) return NF_PLUS_NOT_FIRST;
    // A "+" with nothing behind it is no number: stored, it would read back
    // empty (the voice mail) or as a lone "+" (the service centre).
    if (wcscmp(pText, L"+") == 0) return NF_PLUS_ONLY;
    return NF_NONE;
}

}  // namespace

bool IsNumberChar(WCHAR c) {
    if (c >= L'0' && c <= L'9') return true;
    return c != L'\0' && wcschr(L"*#+pPwW -", c) != nullptr;
}

bool IsNumberText(LPCWSTR pText) {
    for (LPCWSTR p = pText; p && *p; ++p)
        if (!IsNumberChar(*p)) return false;
    return true;
}

NumberFault CheckVoiceMailText(LPCWSTR pText) {
    NumberFault fault = CheckCharacters(pText);
    if (fault != NF_NONE) return fault;
    return NumberDigitCount(pText) > kNumberMaxDigits ? NF_TOO_LONG : NF_NONE;
}

NumberFault CheckServiceCentreText(LPCWSTR pText) {
    NumberFault fault = CheckCharacters(pText);
    if (fault != NF_NONE) return fault;
    // Without a service centre no text message can be sent.
    if (!pText[0]) return NF_EMPTY;
    uint32_t dwType = 0;
    LPCWSTR pszAddress = SplitServiceCentre(pText, &dwType);
    return My_RIL_TakesServiceCentre(dwType, pszAddress) ? NF_NONE : NF_RADIO_REFUSES;
}

LPCWSTR SplitServiceCentre(LPCWSTR pText, uint32_t* pdwType) {
    if (pText[0] == L'+') {
        *pdwType = RIL_ADDRTYPE_INTERNATIONAL;
        return pText + 1;
    }
    *pdwType = RIL_ADDRTYPE_UNKNOWN;
    return pText;
}
