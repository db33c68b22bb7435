// A radio-power library whose Linkdeck_SetPhone never returns, as a
// communication manager that hangs on a modem that does not answer.
#include <windows.h>

extern "C" __declspec(dllexport) int WINAPI Linkdeck_SetPhone(int) {
    Sleep(INFINITE);
    return 0;
}
