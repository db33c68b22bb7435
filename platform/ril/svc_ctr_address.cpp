// The rule for service-centre addresses a modem can take.
#include "platform/ril/svc_ctr_address.h"

namespace {

const size_t kMaxDigits = 20;  // ten BCD bytes of the TS 24.011 address field

bool IsDialChar(Char16 c) {
    return (c >= '0' && c <= '9') || c == '*' || c == '#' || (c >= 'a' && c <= 'c') || (c >= 'A' && c <= 'C');
}

}  // namespace

bool RilIsSendableSvcCtrAddress(const Char16* pszAddress, size_t cchMax) {
    if (!pszAddress) return false;
    size_t i = pszAddress[0] == '+' ? 1 : 0;
    size_t digits = 0;
    for (; i < cchMax && pszAddress[i]; ++i) {
        if (!IsDialChar(pszAddress[i]) || ++digits > kMaxDigits) return false;
    }
    if (i >= cchMax) return false;
    return digits > 0 || pszAddress[0] != '+';
}
