// Program entry.
#include <windows.h>

#include "shell/startup.h"

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int nShow) {
    return RunProgram(hInstance, nShow);
}
