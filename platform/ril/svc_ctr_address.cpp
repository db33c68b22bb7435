// The rule for service-centre addresses a modem can take.
#include "platform/ril/svc_ctr_address.h"

namespace {

const size_t kMaxDigits = 20;  // ten BCD bytes of the TS 24.011 address field

bool IsDialChar(wchar_t c) {
    return (c >= L'0' && c <= L'9') || c == L'*' || c == L'#' || (c >= L'a' && c <= L'c') ||
           (c >= L'A' && c <= L'C');
}

}  // namespace

bool RilIsSendableSvcCtrAddress(LPCWSTR pszAddress, size_t cchMax) {
    if (!pszAddress) return false;
    size_t i = pszAddress[0] == L'+' ? 1 : 0;
    size_t digits = 0;
    for (; i < cchMax && pszAddress[i]; ++i) {
        if (!IsDialChar(pszAddress[i]) || ++digits > kMaxDigits) return false;
    }
    if (i >= cchMax) return false;
    return digits > 0 || pszAddress[0] != L'+';
}
