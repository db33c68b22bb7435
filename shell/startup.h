// Program start: the phone-state decision, single instance, power prompt,
// and creation of the three windows.
#pragma once
#include <windows.h>

// TRUE: the windows exist and the message loop must run. FALSE: the program
// ends at once with exit code 0.
BOOL StartApplication(HINSTANCE hInstance, int nShow);

// Bit 1 (0x2) of HKLM "System\State\Phone" "Status": the radio is off.
bool IsPhoneStatusFlagSet();

// The whole program from entry to the end of the message loop; the exit code.
int RunProgram(HINSTANCE hInstance, int nShow);
