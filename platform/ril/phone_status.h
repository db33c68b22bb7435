// HKLM "System\State\Phone" "Status": bit 1 (0x2) is set while the radio is
// off or in flight mode and clear while it is on. The radio layer keeps it in
// step with every power state it learns or sets.
#pragma once
#include <windows.h>

const DWORD kPhoneStatusRadioOff = 0x2;

// nCfun: the AT+CFUN value (1 on; 0, 4 and the partial states 2 and 3 not on).
void UpdatePhoneStatusForCfun(int nCfun);
