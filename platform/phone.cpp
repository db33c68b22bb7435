// Phone state. Until the radio layer answers, the phone reports "on".
#include "platform/phone.h"

BOOL GetPhoneState(DWORD* pdwState) {
    if (!pdwState) return FALSE;
    *pdwState = 2;
    return TRUE;
}
