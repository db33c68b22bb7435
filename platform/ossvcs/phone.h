// Phone services (ossvcs.dll on the device): the phone state.
#pragma once
#include <windows.h>

// 0 radio off, 1 flight mode, 2 radio on. FALSE when no modem answers.
BOOL GetPhoneState(DWORD* pdwState);
