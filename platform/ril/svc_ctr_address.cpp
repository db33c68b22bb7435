// The rule for service-centre addresses a modem can take.
#include "platform/ril/svc_ctr_address.h"

#include "platform/attext/at_text.h"

bool RilIsSendableSvcCtrAddress(const Char16* pszAddress, size_t cchMax) {
    if (!pszAddress) return false;
    size_t i = pszAddress[0] == '+' ? 1 : 0;
    size_t digits = 0;
    for (; i < cchMax && pszAddress[i]; ++i) {
        if (!IsAddressDigit(pszAddress[i]) || ++digits > kMaxAddressDigits) return false;
    }
    if (i >= cchMax) return false;
    return digits > 0 || pszAddress[0] != '+';
}
