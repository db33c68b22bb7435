// Program entry.
#include <windows.h>

#include "platform/modem/sim_transport.h"
#include "shell/startup.h"

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int nShow) {
    // The emulated device's modem, as the phone's radio driver has its own.
    RegisterSimModem();
    return RunProgram(hInstance, nShow);
}
